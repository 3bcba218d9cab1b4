#include "extensions/expression_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "extensions/expression.h"

namespace vemla {
namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ExpressionRules, BothTextsListEveryFunctionWithItsMeaningAligned) {
  for (const std::string& rules : {imageExpressionRules(), calculatorExpressionRules()}) {
    EXPECT_TRUE(contains(rules, "ABS(ｎ)　　　ｎの絶対値"));
    EXPECT_TRUE(contains(rules, "SQRT(ｎ)　　ｎの平方根"));
    EXPECT_TRUE(contains(rules, "LOG10(ｎ)　ｎの常用対数"));
    for (const char* name : {"CEIL", "FLOOR", "SIN", "COS", "TAN", "ASIN", "ACOS", "ATAN", "SINH",
                             "COSH", "TANH", "EXP", "LOG"}) {
      EXPECT_TRUE(contains(rules, std::string("\n  ") + name + "(ｎ)")) << name;
    }
    EXPECT_TRUE(contains(rules, "大文字と小文字の混在は不可"));
    EXPECT_TRUE(contains(rules, "0による除算は0として計算を続行します"));
    EXPECT_TRUE(contains(rules, "2の48乗(281474976710656)"));
    EXPECT_TRUE(contains(rules, "0xffffffff"));
  }
}

TEST(ExpressionRules, ImageRulesNamePixelValuesAndTheFinalLimit) {
  const std::string rules = imageExpressionRules();
  EXPECT_TRUE(contains(rules, "P1(x,y) P2(x,y)"));
  EXPECT_TRUE(contains(rules, "P1、P2は必ず大文字"));
  EXPECT_TRUE(contains(rules, "0未満の場合は0、256以上の場合は255"));
  EXPECT_TRUE(contains(rules, kImageExpressionExample));
  EXPECT_TRUE(contains(rules, "/ 5 + 0.5\n  ※+0.5は四捨五入のため"));
  // Pixel values rank between the parentheses and the functions.
  EXPECT_LT(rules.find("( )"), rules.find("P1(x,y) P2(x,y)"));
  EXPECT_LT(rules.find("P1(x,y) P2(x,y)"), rules.find("3. 関数"));
}

TEST(ExpressionRules, CalculatorRulesExplainSignedHexadecimal) {
  const std::string rules = calculatorExpressionRules();
  EXPECT_TRUE(contains(rules, "0xff = -1、0x0ff = 255"));
  EXPECT_FALSE(contains(rules, "P1(x,y)"));
  EXPECT_TRUE(contains(rules, "2. 関数"));
}

// The example: at the current pixel and its four neighbours the two pictures differ by 3, 0,
// 5, 10 and 0; (3 + 0 + 5 + 10 + 0) / 5 = 3.6, plus 0.5 is 4.1, which truncates to 4.
TEST(ExpressionRules, TheExampleComputesTheRoundedMeanDifference) {
  const std::optional<PixelReferences> extracted = extractPixelReferences(kImageExpressionExample);
  ASSERT_TRUE(extracted.has_value());
  ASSERT_EQ(extracted->references.size(), 10u);
  EXPECT_EQ(extracted->marginX, 1);
  EXPECT_EQ(extracted->marginY, 1);
  const auto compiled = compileExpression(extracted->text, ExpressionVariant::Image, 10);
  ASSERT_TRUE(compiled.has_value());
  // In the order of the references: P1, P2 at (0,0), (0,-1), (0,1), (-1,0), (1,0).
  const std::array<int, 10> values{10, 13, 20, 20, 30, 25, 40, 50, 50, 50};
  EXPECT_EQ(toGreyValue(evaluateExpression(*compiled, values)), 4);
}

}  // namespace
}  // namespace vemla
