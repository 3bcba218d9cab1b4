#include "text/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vemla::text {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(ReadLeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
  EXPECT_EQ(readLeadingNumber(" \t2.5x"), 2.5);
  EXPECT_EQ(readLeadingNumber("+7"), 7);
  EXPECT_EQ(readLeadingNumber("-.25"), -0.25);
  EXPECT_EQ(readLeadingNumber("5."), 5);
  EXPECT_EQ(readLeadingNumber("1,5"), 1);  // a comma is never a decimal point
  EXPECT_EQ(readLeadingNumber("12e2"), 1200);
  for (const char* text : {"", "abc", ".", "+", "-", "+-1", "--1", "e5"}) {
    EXPECT_EQ(readLeadingNumber(text), 0) << text;
  }
}

TEST(ReadLeadingNumber, OutOfRangeGivesInfinityOrZero) {
  EXPECT_EQ(readLeadingNumber("1e999"), kInfinity);
  EXPECT_EQ(readLeadingNumber("-1e999"), -kInfinity);
  EXPECT_EQ(readLeadingNumber("0.001e310"), 1e307);
  EXPECT_EQ(readLeadingNumber("1e-999"), 0);
  EXPECT_EQ(readLeadingNumber("1000e-324"), 1e-321);  // a subnormal is still a value
  EXPECT_EQ(readLeadingNumber("123456789e-999999999999"), 0);
  EXPECT_EQ(readLeadingNumber("0.00000000001e-320"), 0);
}

}  // namespace
}  // namespace vemla::text
