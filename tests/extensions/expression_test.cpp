#include "extensions/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vemla {
namespace {

constexpr double kPi = 3.14159265358979323846;

double calc(std::string_view text, HexMode hex = HexMode::Unsigned) {
  return evaluateCalculatorExpression(text, hex);
}

bool rejected(std::string_view text, HexMode hex = HexMode::Unsigned) {
  return calc(text, hex) == kCalculatorSyntaxError;
}

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Extracts, compiles and evaluates an image expression with the given grey values.
std::optional<double> image(std::string_view text, std::vector<int> values = {}) {
  const std::optional<PixelReferences> extracted = extractPixelReferences(text);
  if (!extracted) return std::nullopt;
  const std::optional<CompiledExpression> compiled = compileExpression(
      extracted->text, ExpressionVariant::Image, static_cast<int>(extracted->references.size()));
  if (!compiled) return std::nullopt;
  return evaluateExpression(*compiled, values);
}

// ---- Priorities and grouping ------------------------------------------------------------

TEST(ExpressionPriority, WorkedValues) {
  EXPECT_EQ(calc("-2\"2"), -4);    // the sign takes 2 to the power 2
  EXPECT_EQ(calc("2\"-2"), -1);    // 2 to the power of the sign's 0, then minus 2
  EXPECT_EQ(calc("2\"3\"2"), 64);  // (2^3)^2
  EXPECT_EQ(calc("1-2-3"), -4);
  EXPECT_EQ(calc("2*-3"), -6);
  EXPECT_EQ(calc("7%3"), 1);
  EXPECT_EQ(calc("(1+2)*3"), 9);
  EXPECT_EQ(calc("1/0+5"), 5);
  EXPECT_EQ(calc("ABS(-3)*2"), 6);
  EXPECT_EQ(calc("sqrt(abs(-4))"), 2);
}

TEST(ExpressionPriority, LevelsFromParenthesesDownToAddition) {
  EXPECT_EQ(calc("1+2*3"), 7);
  EXPECT_EQ(calc("10-2*3"), 4);
  EXPECT_EQ(calc("2*(3+4)"), 14);
  EXPECT_EQ(calc("2*3\"2"), 18);  // power before multiplication
  EXPECT_EQ(calc("2\"3*2"), 16);
  EXPECT_EQ(calc("2*7%4"), 6);  // remainder before multiplication: 2 * 3
  EXPECT_EQ(calc("-2+3"), 1);
  EXPECT_EQ(calc("6/-2*3"), -9);    // the sign before the division
  EXPECT_EQ(calc("2*-3\"2"), -18);  // the power before the sign: 2 * (0 - 9)
}

TEST(ExpressionPriority, EqualLevelsGroupFromTheLeft) {
  EXPECT_EQ(calc("8/4/2"), 1);
  EXPECT_EQ(calc("100/10*2"), 20);
  EXPECT_EQ(calc("7%4%2"), 1);  // (7 % 4) % 2
  EXPECT_EQ(calc("2\"2\"3"), 64);
  EXPECT_EQ(calc("10-4+3"), 9);
}

TEST(ExpressionPriority, AnOperatorBeforeASignTakesTheSignsZero) {
  // The remainder binds tighter than the sign, so 7 % 0 is formed first; the standard
  // remainder of a division by 0 is not-a-number and stays so.
  EXPECT_TRUE(std::isnan(calc("7%-3")));
  EXPECT_EQ(calc("2\"-3\"2"), -8);  // (2^0) - (3^2)
}

TEST(ExpressionSyntax, ASignIsAcceptedOnceAfterAnOperatorOrParenthesis) {
  EXPECT_TRUE(rejected("--3"));
  EXPECT_TRUE(rejected("-+3"));
  EXPECT_TRUE(rejected("2*--3"));
  EXPECT_EQ(calc("2--3"), 5);
  EXPECT_EQ(calc("2+-3"), -1);
  EXPECT_EQ(calc("2*+3"), 6);
  EXPECT_EQ(calc("+3"), 3);
  EXPECT_EQ(calc("-(-3)"), 3);
  EXPECT_EQ(calc("-ABS(-3)"), -3);
}

TEST(ExpressionSyntax, ParenthesesMustBalance) {
  EXPECT_EQ(calc("((3))"), 3);
  for (const char* text : {"1+", "(1+2", "1+2)", "()", "(", ")", "2(3)", "(2)(3)", "3)(", "*2",
                           "2**3", "1+2=", "1,2"}) {
    EXPECT_TRUE(rejected(text)) << text;
  }
  // 250 levels of parentheses are just 250 raised levels: no recursion to run out of.
  EXPECT_EQ(calc(repeat("(", 250) + "1" + repeat(")", 250)), 1);
  EXPECT_EQ(calc(repeat("(", 120) + "2+3" + repeat(")", 120) + "*2"), 10);
}

TEST(ExpressionSyntax, WhiteSpaceIsRemovedEverywhereFirst) {
  EXPECT_EQ(calc("1 000"), 1000);
  EXPECT_EQ(calc("s q r t (4)"), 2);
  EXPECT_EQ(calc("\t1\r\n+\n2 "), 3);
  EXPECT_EQ(calc("0 x 1 F"), 31);
  EXPECT_TRUE(rejected(""));
  EXPECT_TRUE(rejected(" \t\r\n"));
  EXPECT_TRUE(rejected("1\v"));  // only space, tab, CR and LF are white space
  EXPECT_EQ(removeWhiteSpace(" a\tb\rc\nd "), "abcd");
}

TEST(ExpressionSyntax, TextsLongerThan510CharactersAreRefused) {
  const std::string longest = "1" + std::string(509, ' ');
  EXPECT_EQ(calc(longest), 1);
  EXPECT_TRUE(rejected(longest + " "));
  EXPECT_FALSE(compileExpression(longest + " ", ExpressionVariant::Image).has_value());
}

// ---- Functions --------------------------------------------------------------------------

struct FunctionCase {
  const char* upper;
  const char* lower;
  const char* argument;
  double expected;
};

TEST(ExpressionFunctions, EveryFunctionUnderItsUpperAndLowerCaseName) {
  const double e = 2.718281828459045;
  const FunctionCase cases[] = {
      {"ABS", "abs", "-2.5", 2.5},
      {"CEIL", "ceil", "-1.5", -1},
      {"FLOOR", "floor", "-1.5", -2},
      {"SIN", "sin", "0", 0},
      {"COS", "cos", "0", 1},
      {"TAN", "tan", "0", 0},
      {"ASIN", "asin", "1", kPi / 2},
      {"ACOS", "acos", "0", kPi / 2},
      {"ATAN", "atan", "1", kPi / 4},
      {"SINH", "sinh", "1", (e - 1 / e) / 2},
      {"COSH", "cosh", "1", (e + 1 / e) / 2},
      {"TANH", "tanh", "1", (e * e - 1) / (e * e + 1)},
      {"EXP", "exp", "1", e},
      {"LOG", "log", "1", 0},
      {"LOG10", "log10", "1000", 3},
      {"SQRT", "sqrt", "2.25", 1.5},
  };
  for (const FunctionCase& c : cases) {
    EXPECT_NEAR(calc(std::string(c.upper) + "(" + c.argument + ")"), c.expected, 1e-15) << c.upper;
    EXPECT_NEAR(calc(std::string(c.lower) + "(" + c.argument + ")"), c.expected, 1e-15) << c.lower;
  }
  EXPECT_EQ(calc("CEIL(1.2)"), 2);
  EXPECT_EQ(calc("FLOOR(1.8)"), 1);
}

TEST(ExpressionFunctions, MixedCaseOrAMissingParenthesisIsNoFunction) {
  for (const char* text :
       {"Abs(1)", "aBS(1)", "Sqrt(4)", "LOg(1)", "ABS1)", "ABS", "SQRT 4", "PI", "abs[1]"}) {
    EXPECT_TRUE(rejected(text)) << text;
  }
  EXPECT_EQ(calc("ABS(1)"), 1);
  EXPECT_EQ(calc("abs(1)"), 1);
}

TEST(ExpressionFunctions, TheLongerLogarithmNameIsFoundAfterTheShorterOne) {
  EXPECT_EQ(calc("LOG10(100)"), 2);
  EXPECT_EQ(calc("log10(100)"), 2);
  EXPECT_EQ(calc("LOG(1)"), 0);
}

TEST(ExpressionFunctions, BindTighterThanPowerAndApplyToTheirParenthesis) {
  EXPECT_EQ(calc("ABS(2)\"3"), 8);
  EXPECT_EQ(calc("SQRT(16)/2"), 2);
  EXPECT_EQ(calc("2*SQRT(4)+1"), 5);
  EXPECT_EQ(calc("SQRT(9+16)"), 5);
  EXPECT_EQ(calc("ABS(SQRT(4)-3)"), 1);
}

TEST(ExpressionFunctions, DomainErrorsGiveWhatTheStandardFunctionsGive) {
  EXPECT_TRUE(std::isnan(calc("SQRT(-1)")));
  EXPECT_TRUE(std::isnan(calc("ASIN(2)")));
  EXPECT_TRUE(std::isnan(calc("LOG(-1)")));
  EXPECT_EQ(calc("LOG(0)"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(calc("EXP(1000)"), std::numeric_limits<double>::infinity());
}

// ---- Numbers ----------------------------------------------------------------------------

TEST(ExpressionNumbers, DecimalFormsWithoutExponent) {
  EXPECT_EQ(calc("5."), 5);
  EXPECT_EQ(calc(".5"), 0.5);
  EXPECT_EQ(calc("."), 0);
  EXPECT_EQ(calc("0012.50"), 12.5);
  EXPECT_EQ(calc("1" + std::string(300, '0')), 1e300);
  EXPECT_EQ(calc("1" + std::string(400, '0')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(calc("0." + std::string(400, '0') + "1"), 0);
  for (const char* text :
       {"1e3", "1E3", "1.2.3", "12abc", "1x2", "00x1", "0x1x", "0x1.5", ".x1", "1.."}) {
    EXPECT_TRUE(rejected(text)) << text;
  }
}

TEST(ExpressionNumbers, HexadecimalUnsignedAndSigned) {
  struct Case {
    const char* text;
    double asUnsigned;
    double asSigned;
  };
  const Case cases[] = {
      {"0x", 0, 0},
      {"0xf", 15, -1},
      {"0x0f", 15, 15},
      {"0xff", 255, -1},
      {"0x0ff", 255, 255},
      {"0xf0", 240, -16},
      {"0x7f", 127, 127},
      {"0x80000000", 2147483648.0, -2147483648.0},
      {"0xffffffff", 4294967295.0, -1},
      {"0x00000001", 1, 1},
      {"0X1F", 31, 31},
      {"0xAbC", 2748, -1348},  // 2748 - 4096
  };
  for (const Case& c : cases) {
    EXPECT_EQ(calc(c.text, HexMode::Unsigned), c.asUnsigned) << c.text;
    EXPECT_EQ(calc(c.text, HexMode::Signed), c.asSigned) << c.text;
  }
  EXPECT_EQ(calc("0xff+1"), 256);
  for (const char* text : {"0x123456789", "0x000000001", "0xfffffffff", "0xg"}) {
    EXPECT_TRUE(rejected(text)) << text;
    EXPECT_TRUE(rejected(text, HexMode::Signed)) << text;
  }
}

TEST(ExpressionNumbers, ImageExpressionsReadHexadecimalUnsigned) {
  const std::optional<CompiledExpression> compiled =
      compileExpression("0xff", ExpressionVariant::Image, 0, HexMode::Signed);
  ASSERT_TRUE(compiled.has_value());
  EXPECT_EQ(evaluateExpression(*compiled), 255);
}

// ---- Term list --------------------------------------------------------------------------

// "1--" adds two terms (the infix minus and the sign), the final "1" one more.
TEST(ExpressionTermList, RefusesExpressionsNeedingMoreTermsThanTheListHolds) {
  const std::string image257 = repeat("1--", 128) + "1";
  const std::string image258 = repeat("1--", 128) + "1-1";
  const auto imageCompiled = compileExpression(image257, ExpressionVariant::Image);
  ASSERT_TRUE(imageCompiled.has_value());
  EXPECT_EQ(imageCompiled->termCount(), 257);
  EXPECT_EQ(evaluateExpression(*imageCompiled), 129);
  EXPECT_FALSE(compileExpression(image258, ExpressionVariant::Image).has_value());
  EXPECT_EQ(calc(image258), 128);  // the calculator's list holds 267

  const std::string calculator267 = repeat("1--", 133) + "1";
  const auto calculatorCompiled = compileExpression(calculator267, ExpressionVariant::Calculator);
  ASSERT_TRUE(calculatorCompiled.has_value());
  EXPECT_EQ(calculatorCompiled->termCount(), 267);
  EXPECT_EQ(calc(calculator267), 134);
  EXPECT_TRUE(rejected(repeat("1--", 133) + "1-1"));

  // 510 characters of "1--" need 341 terms.
  const std::string longest = repeat("1--", 170);
  ASSERT_EQ(longest.size(), 510u);
  EXPECT_TRUE(rejected(longest + "1"));  // 511 characters
  EXPECT_TRUE(rejected(longest.substr(0, 509) + "1"));
  EXPECT_FALSE(
      compileExpression(longest.substr(0, 509) + "1", ExpressionVariant::Image).has_value());
}

// ---- Pixel references -------------------------------------------------------------------

TEST(PixelReferences, EachOccurrenceIsNumberedAndReplaced) {
  const auto extracted = extractPixelReferences("P1( 1 , -2 ) + P2(-3,0)*P1(1,-2)");
  ASSERT_TRUE(extracted.has_value());
  EXPECT_EQ(extracted->text, "#1+#2*#3");
  ASSERT_EQ(extracted->references.size(), 3u);
  EXPECT_EQ(extracted->references[0], (PixelReference{1, 1, -2}));
  EXPECT_EQ(extracted->references[1], (PixelReference{2, -3, 0}));
  EXPECT_EQ(extracted->references[2], (PixelReference{1, 1, -2}));
  EXPECT_EQ(extracted->marginX, 3);
  EXPECT_EQ(extracted->marginY, 2);

  const auto none = extractPixelReferences("128");
  ASSERT_TRUE(none.has_value());
  EXPECT_TRUE(none->references.empty());
  EXPECT_EQ(none->marginX, 0);
  EXPECT_EQ(none->marginY, 0);
}

TEST(PixelReferences, MalformedReferencesMakeTheExpressionInvalid) {
  for (const char* text : {"P1(1,0x2)", "P1(1)", "P1(1,2", "P1(,2)", "P1(1,)", "P1(+-1,0)",
                           "P1(1+1,0)", "P1[1,2]", "P1", "P2+1", "P1(1.5,0)"}) {
    EXPECT_FALSE(extractPixelReferences(text).has_value()) << text;
  }
  EXPECT_TRUE(extractPixelReferences("P1 (+1,-0)").has_value());
}

TEST(PixelReferences, OtherLettersAreLeftForTheParserToRefuse) {
  for (const char* text : {"p1(0,0)", "P3(0,0)", "P(0,0)"}) {
    const auto extracted = extractPixelReferences(text);
    ASSERT_TRUE(extracted.has_value()) << text;
    EXPECT_EQ(extracted->text, text);
    EXPECT_FALSE(image(text).has_value()) << text;
  }
}

TEST(PixelReferences, OffsetsAreBoundedWithoutOverflow) {
  const auto largest = extractPixelReferences("P1(-999999,0000999999)");
  ASSERT_TRUE(largest.has_value());
  EXPECT_EQ(largest->marginX, 999999);
  EXPECT_EQ(largest->marginY, 999999);
  EXPECT_FALSE(extractPixelReferences("P1(1000000,0)").has_value());
  EXPECT_FALSE(extractPixelReferences("P2(0,-1000000)").has_value());
  EXPECT_FALSE(extractPixelReferences("P1(99999999999999999999,0)").has_value());
  EXPECT_FALSE(extractPixelReferences("P1(0,-2147483648)").has_value());
}

TEST(PixelReferences, TheEightyFirstReferenceIsRefused) {
  const std::string eighty = repeat("P1(0,0)+", 79) + "P2(0,0)";
  const auto extracted = extractPixelReferences(eighty);
  ASSERT_TRUE(extracted.has_value());
  EXPECT_EQ(extracted->references.size(), 80u);
  const auto compiled = compileExpression(extracted->text, ExpressionVariant::Image, 80);
  ASSERT_TRUE(compiled.has_value());
  std::vector<int> values(80, 1);
  values[79] = 100;
  EXPECT_EQ(evaluateExpression(*compiled, values), 179);
  EXPECT_FALSE(extractPixelReferences(eighty + "+P1(0,0)").has_value());
}

TEST(PixelReferences, AHashNumberMustNameOneOfTheExpressionsReferences) {
  EXPECT_EQ(image("P1(0,0)+#1", {21}), 42);
  EXPECT_FALSE(image("#1").has_value());
  EXPECT_FALSE(image("P1(0,0)+#2").has_value());
  for (const char* text : {"P1(0,0)+#0", "P1(0,0)+#", "P1(0,0)+#81", "P1(0,0)+#99999999999"}) {
    EXPECT_FALSE(image(text).has_value()) << text;
  }
  // No pixel references and no # in the calculator.
  EXPECT_TRUE(rejected("#1"));
  EXPECT_TRUE(rejected("P1(0,0)"));
}

// ---- Image evaluation -------------------------------------------------------------------

TEST(ImageExpression, EvaluatesWithTheGreyValueOfEachReference) {
  EXPECT_EQ(image("P1(0,0)-P2(0,0)+128", {10, 20}), 118);
  EXPECT_EQ(image("P1(0,0)-P2(0,0)+128", {200, 10}), 318);
  EXPECT_EQ(image("P2(0,0)*2+P1(1,1)", {3, 5}), 11);  // numbered in order of occurrence
  EXPECT_EQ(image("P1(0,0)+P2(0,0)", {7}), 7);        // a missing value counts as 0
  EXPECT_EQ(image("128"), 128);                       // no reference: every pixel the same
}

TEST(ImageExpression, DivisionByZeroGivesZeroAndTheCalculationGoesOn) {
  EXPECT_EQ(image("P1(0,0)/P2(0,0)+7", {9, 0}), 7);
  EXPECT_EQ(image("P1(0,0)/P2(0,0)+7", {9, 3}), 10);
  EXPECT_EQ(calc("0/0"), 0);
  EXPECT_EQ(calc("5/(2-2)*3"), 0);
  EXPECT_EQ(calc("5/-0"), 0);
  EXPECT_TRUE(std::isnan(calc("5%0")));  // only the division is guarded
}

TEST(ImageExpression, ResultsBecomeGreyValuesByTruncationAndLimits) {
  EXPECT_EQ(toGreyValue(*image("255.9")), 255);
  EXPECT_EQ(toGreyValue(*image("-0.5")), 0);
  EXPECT_EQ(toGreyValue(*image("300")), 255);
  EXPECT_EQ(toGreyValue(*image("127.5+0.5")), 128);
  EXPECT_EQ(toGreyValue(254.999), 254);
  EXPECT_EQ(toGreyValue(0.999), 0);
  EXPECT_EQ(toGreyValue(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(toGreyValue(std::numeric_limits<double>::infinity()), 255);
  EXPECT_EQ(toGreyValue(-std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(toGreyValue(1e300), 255);
}

// The row evaluator runs a different code path (lanes, steps done at compile time); it must
// give what the pixel-by-pixel evaluation gives, over more than one chunk of pixels.
TEST(ExpressionRowEvaluator, GivesThePixelByPixelValues) {
  const char* expressions[] = {
      "P1(0,0)",
      "300-P1(0,0)",
      "SQRT(16)*P1(0,0)/3",
      "P1(0,0)/(3-3)+P2(0,0)",
      "ABS(-2)*40",
      "100/P1(0,0)*P2(0,0)",
      "P1(0,0)\"2/255",
      "P1(0,0)%7*30",
      "SQRT(P1(0,0)*P2(0,0))",
      "-P1(0,0)+255",
      "(P1(0,0)+P2(0,0))/2+0.5",
      "CEIL(P1(0,0)/3)+floor(P2(0,0)/7)",
      "exp(P1(0,0)/50)-log(P2(0,0)+1)*10",
      "2-(3-P2(0,0))*(1+1)",
      "P1(0,0)+P2(0,0)+#1-#2",
      "SIN(P1(0,0))*100+100",
  };
  std::mt19937 random(11);
  constexpr int kCount = 300;
  std::vector<std::uint8_t> first(kCount), second(kCount);
  for (int i = 0; i < kCount; ++i) {
    first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(random() % 256);
    second[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(i % 7 == 0 ? 0 : random() % 256);
  }
  for (const char* text : expressions) {
    const auto extracted = extractPixelReferences(text);
    ASSERT_TRUE(extracted.has_value()) << text;
    std::vector<const std::uint8_t*> pixels;
    for (const PixelReference& reference : extracted->references) {
      pixels.push_back(reference.picture == 1 ? first.data() : second.data());
    }
    const auto compiled = compileExpression(extracted->text, ExpressionVariant::Image,
                                            static_cast<int>(pixels.size()));
    ASSERT_TRUE(compiled.has_value()) << text;
    ExpressionRowEvaluator evaluator(*compiled);
    std::vector<std::uint8_t> out(kCount, 77);
    evaluator.evaluate(pixels, kCount, out.data());
    for (int i = 0; i < kCount; ++i) {
      std::vector<int> values;
      for (const std::uint8_t* p : pixels) values.push_back(p[i]);
      ASSERT_EQ(out[static_cast<std::size_t>(i)],
                toGreyValue(evaluateExpression(*compiled, values)))
          << text << " at " << i;
    }
  }
}

TEST(ExpressionRowEvaluator, HandWorkedRow) {
  const auto extracted = extractPixelReferences("(P1(0,0)+P2(0,0))/2+0.5");
  ASSERT_TRUE(extracted.has_value());
  const auto compiled = compileExpression(extracted->text, ExpressionVariant::Image, 2);
  ASSERT_TRUE(compiled.has_value());
  const std::uint8_t first[] = {3, 0, 255, 10};
  const std::uint8_t second[] = {4, 0, 255, 11};
  const std::uint8_t* pixels[] = {first, second};
  std::uint8_t out[4] = {};
  ExpressionRowEvaluator(*compiled).evaluate(pixels, 4, out);
  EXPECT_EQ(out[0], 4);    // 3.5 + 0.5
  EXPECT_EQ(out[1], 0);    // 0.5 truncated
  EXPECT_EQ(out[2], 255);  // 255.5 limited
  EXPECT_EQ(out[3], 11);   // 10.5 + 0.5
}

}  // namespace
}  // namespace vemla
