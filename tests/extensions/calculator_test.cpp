#include "extensions/calculator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vemla {
namespace {

std::string result(std::string_view expression, HexMode hex = HexMode::Unsigned) {
  return calculatorResultText(expression, hex);
}

TEST(CalculatorResult, TrailingZerosAndAnEmptyPointAreCut) {
  EXPECT_EQ(result("1/3"), "0.33333333");
  EXPECT_EQ(result("1/7"), "0.14285714");
  EXPECT_EQ(result("2.5"), "2.5");
  EXPECT_EQ(result("-2.5"), "-2.5");
  EXPECT_EQ(result("100.10"), "100.1");
  EXPECT_EQ(result("1/8"), "0.125");
  EXPECT_EQ(result("3.0"), "3   (0x3)");
}

TEST(CalculatorResult, IntegersGetTheirHexadecimalPattern) {
  EXPECT_EQ(result("2\"10"), "1024   (0x400)");
  EXPECT_EQ(result("0"), "0   (0x0)");
  EXPECT_EQ(result("255"), "255   (0xFF)");
  // "%.8f" rounds: a value this close to an integer shows as that integer.
  EXPECT_EQ(result("0.999999999"), "1   (0x1)");
  EXPECT_EQ(result("0.000000001"), "0   (0x0)");
  EXPECT_EQ(result("0*-1"), "-0   (0x0)");  // negative zero keeps its sign
}

TEST(CalculatorResult, UnsignedModeRange) {
  EXPECT_EQ(result("0xffffffff"), "4294967295   (0xFFFFFFFF)");
  EXPECT_EQ(result("-1"), "-1   (0xFFFFFFFF)");
  EXPECT_EQ(result("2147483648"), "2147483648   (0x80000000)");
  EXPECT_EQ(result("-2147483649"), "-2147483649   (0x7FFFFFFF)");  // 2^32 - 2147483649
  // 10^10 = 2 * 2^32 + 1410065408 (0x540BE400); negated modulo 2^32: 0xABF41C00.
  EXPECT_EQ(result("-10000000000"), "-10000000000   (0xABF41C00)");
  EXPECT_EQ(result("4294967296"), "4294967296");
  EXPECT_EQ(result("10000000000"), "10000000000");
}

TEST(CalculatorResult, SignedModeRange) {
  const HexMode s = HexMode::Signed;
  EXPECT_EQ(result("0xffffffff", s), "-1   (0xFFFFFFFF)");
  EXPECT_EQ(result("0xff", s), "-1   (0xFFFFFFFF)");
  EXPECT_EQ(result("0x0ff", s), "255   (0xFF)");
  EXPECT_EQ(result("4294967295", s), "4294967295");
  EXPECT_EQ(result("2147483647", s), "2147483647   (0x7FFFFFFF)");
  EXPECT_EQ(result("2147483648", s), "2147483648");
  EXPECT_EQ(result("-2147483648", s), "-2147483648   (0x80000000)");
  EXPECT_EQ(result("-2147483649", s), "-2147483649");
  EXPECT_EQ(result("10000000000", s), "10000000000");
}

TEST(CalculatorResult, NonFiniteValuesHaveNoHexadecimalPart) {
  EXPECT_EQ(result("EXP(1000)"), "inf");
  EXPECT_EQ(result("-EXP(1000)"), "-inf");
  EXPECT_EQ(result("LOG(0)", HexMode::Signed), "-inf");
  EXPECT_THAT(result("SQRT(-1)"), ::testing::AnyOf("nan", "-nan"));
}

// A number the 254-character field cannot hold is never shown cut (it would be a wrong
// number): 2^1000 has 302 digits, the largest double 309.
TEST(CalculatorResult, ResultsLongerThanTheFieldShowTheErrorText) {
  EXPECT_EQ(result("2\"1000"), "式に誤りがあります");
  EXPECT_EQ(formatCalculatorResult(-1.7976931348623157e308, HexMode::Unsigned),
            "式に誤りがあります");
  // 2^843 has 254 digits: it fits and is shown whole; 2^844 has 255.
  const std::string fits = result("2\"843");
  EXPECT_EQ(fits.size(), 254u);
  EXPECT_EQ(fits.substr(0, 20), "58652475225036720546");
  EXPECT_TRUE(std::all_of(fits.begin(), fits.end(), [](char c) { return c >= '0' && c <= '9'; }));
  EXPECT_EQ(result("2\"844"), "式に誤りがあります");
}

TEST(CalculatorResult, SyntaxErrorsAndOverlongTextsShowTheErrorText) {
  EXPECT_EQ(result("1e3"), "式に誤りがあります");
  EXPECT_EQ(result(""), "式に誤りがあります");
  EXPECT_EQ(result("P1(0,0)"), "式に誤りがあります");
  // The field holds 1022 characters; only 510 are evaluated.
  EXPECT_EQ(result("1" + std::string(509, ' ')), "1   (0x1)");
  EXPECT_EQ(result("1" + std::string(510, ' ')), "式に誤りがあります");
  EXPECT_EQ(result(std::string(kCalculatorExpressionLength, '1')), "式に誤りがあります");
}

}  // namespace
}  // namespace vemla
