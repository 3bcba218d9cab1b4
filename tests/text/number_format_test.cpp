#include "text/number_format.h"

#include <gtest/gtest.h>

namespace vemla::text {
namespace {

TEST(ShortenDecimal, DropsTrailingZerosButKeepsOneAfterThePoint) {
  EXPECT_EQ(shortenDecimal("1.000000"), "1.0");
  EXPECT_EQ(shortenDecimal("0.299000"), "0.299");
  EXPECT_EQ(shortenDecimal("7.813000"), "7.813");
  EXPECT_EQ(shortenDecimal("2.000"), "2.0");
  EXPECT_EQ(shortenDecimal("0.000000"), "0.0");
  EXPECT_EQ(shortenDecimal("5."), "5.0");
}

TEST(ShortenDecimal, DropsLeadingZerosButKeepsOneBeforeThePoint) {
  EXPECT_EQ(shortenDecimal("0001.500"), "1.5");
  EXPECT_EQ(shortenDecimal(".5"), "0.5");
  EXPECT_EQ(shortenDecimal("000.125"), "0.125");
}

// Only zeros at the outer ends go: zeros inside either part are digits of the value.
TEST(ShortenDecimal, KeepsZerosInsideTheNumber) {
  EXPECT_EQ(shortenDecimal("100.0100"), "100.01");
  EXPECT_EQ(shortenDecimal("10.000"), "10.0");
  EXPECT_EQ(shortenDecimal("0102.030"), "102.03");
}

TEST(ShortenDecimal, KeepsTheSign) {
  EXPECT_EQ(shortenDecimal("-0.250000"), "-0.25");
  EXPECT_EQ(shortenDecimal("-.5"), "-0.5");
  EXPECT_EQ(shortenDecimal("+1.50"), "+1.5");
}

TEST(ShortenDecimal, LeavesOtherTextUnchanged) {
  EXPECT_EQ(shortenDecimal("42"), "42");
  EXPECT_EQ(shortenDecimal("-007"), "-007");
  EXPECT_EQ(shortenDecimal(""), "");
  EXPECT_EQ(shortenDecimal("a.b0"), "a.b0");
  EXPECT_EQ(shortenDecimal("1.5.0"), "1.5.0");
  EXPECT_EQ(shortenDecimal("1e+05.0"), "1e+05.0");
}

}  // namespace
}  // namespace vemla::text
