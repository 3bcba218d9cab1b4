#include "processing/entry_value.h"

#include <gtest/gtest.h>

#include <climits>

namespace vemla {
namespace {

TEST(EntryValue, ReadsSignedDecimalNumbersWithBlanksAround) {
  EXPECT_EQ(entryValue("12", -1), 12);
  EXPECT_EQ(entryValue("  -3 ", -1), -3);
  EXPECT_EQ(entryValue("+7", -1), 7);
  EXPECT_EQ(entryValue("007", -1), 7);
  EXPECT_EQ(entryValue("0", -1), 0);
}

TEST(EntryValue, KeepsThePreviousValueForTextThatIsNoNumber) {
  EXPECT_EQ(entryValue("", 5), 5);
  EXPECT_EQ(entryValue("   ", 5), 5);
  EXPECT_EQ(entryValue("abc", 5), 5);
  EXPECT_EQ(entryValue("1x", 5), 5);
  EXPECT_EQ(entryValue("1 2", 5), 5);
  EXPECT_EQ(entryValue("-", 5), 5);
  EXPECT_EQ(entryValue("--1", 5), 5);
  EXPECT_EQ(entryValue("1.5", 5), 5);
}

TEST(EntryValue, HugeNumbersStopAtTheIntegerLimitsWithoutOverflow) {
  EXPECT_EQ(entryValue("2147483647", 0), INT_MAX);
  EXPECT_EQ(entryValue("2147483648", 0), INT_MAX);
  EXPECT_EQ(entryValue("-2147483648", 0), INT_MIN);
  EXPECT_EQ(entryValue("-2147483649", 0), INT_MIN);
  EXPECT_EQ(entryValue("99999999999999999999999999999999", 0), INT_MAX);
  EXPECT_EQ(entryValue("-99999999999999999999999999999999", 0), INT_MIN);
}

}  // namespace
}  // namespace vemla
