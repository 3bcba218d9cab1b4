#include "editing/edit_value.h"

#include <gtest/gtest.h>

#include <string>

namespace vemla {
namespace {

TEST(ParseOperand, ReadsIntegersHexadecimalsAndFractionsWithBlanksAround) {
  struct Case {
    const char* text;
    bool fraction;
    double value;
  };
  for (const Case& c :
       {Case{"7", false, 7}, Case{" 7 ", false, 7}, Case{"-12", false, -12}, Case{"+3", false, 3},
        Case{"0x0F", false, 15}, Case{"0xab", false, 171}, Case{"0x7FFFFFFF", false, 2147483647.0},
        Case{"2147483647", false, 2147483647.0}, Case{"-2147483648", false, -2147483648.0},
        Case{"1.5", true, 1.5}, Case{".5", true, 0.5}, Case{"-2.", true, -2},
        Case{"0.0", true, 0}}) {
    const auto operand = parseOperand(c.text);
    ASSERT_TRUE(operand) << c.text;
    EXPECT_EQ(operand->fraction, c.fraction) << c.text;
    EXPECT_EQ(operand->real, c.value) << c.text;
    if (!c.fraction) EXPECT_EQ(operand->integer, static_cast<std::int32_t>(c.value)) << c.text;
  }
}

TEST(ParseOperand, RefusesWhatIsNoNumberOrDoesNotFit32Bits) {
  for (const char* text :
       {"", "   ", "0x", "4294967296", "0x100000000", "0x80000000", "2147483648", "-2147483649",
        "1e3", "1.2.3", ".", "-", "abc", "1 2", "-0x5", "0x1G", "12a"})
    EXPECT_FALSE(parseOperand(text)) << '"' << text << '"';
  EXPECT_FALSE(parseOperand(std::string(kMaxOperandText + 1, '1')));
}

TEST(OperandRefusal, FractionsForIntegerOperationsThenZeroDivisors) {
  const auto refusal = [](EditOperation operation, const char* text) {
    const char* message = operandRefusal(operation, *parseOperand(text));
    return std::string(message ? message : "");
  };
  EXPECT_EQ(refusal(EditOperation::Divide, "0"), kDivisionByZero);
  EXPECT_EQ(refusal(EditOperation::Divide, "0.0"), kDivisionByZero);
  EXPECT_EQ(refusal(EditOperation::Remainder, "0x0"), kDivisionByZero);
  EXPECT_EQ(refusal(EditOperation::Remainder, "0.0"), kFractionRefused);
  EXPECT_EQ(refusal(EditOperation::And, "1.5"), kFractionRefused);
  EXPECT_EQ(refusal(EditOperation::Xor, "1.0"), kFractionRefused);
  EXPECT_EQ(refusal(EditOperation::Multiply, "0"), "");
  EXPECT_EQ(refusal(EditOperation::Divide, "0.5"), "");
}

TEST(OperationTable, RoundsClampsAndUsesTheIntegerOperand) {
  struct Case {
    EditOperation operation;
    const char* operand;
    int v, expected;
  };
  using enum EditOperation;
  for (const Case& c :
       {Case{Add, "10", 250, 255}, Case{Subtract, "10", 5, 0}, Case{Multiply, "0.5", 3, 2},
        Case{Set, "1.4", 9, 1}, Case{Set, "-5", 9, 0}, Case{Set, "300", 9, 255},
        Case{Divide, "3", 10, 3}, Case{Divide, "-2", 10, 0}, Case{Divide, "0.5", 100, 200},
        Case{And, "0x0F", 0xAB, 0x0B}, Case{Or, "-1", 5, 0}, Case{Xor, "0x100", 5, 255},
        Case{Remainder, "-3", 7, 1}, Case{Remainder, "-2147483648", 200, 200},
        // A huge factor clamps in double before the conversion.
        Case{Multiply, "9999999999999999999999999999.9", 1, 255},
        Case{Multiply, "9999999999999999999999999999.9", 0, 0}, Case{Add, "-2147483648", 255, 0},
        Case{Subtract, "-2147483648", 0, 255}}) {
    const GreyTable table = operationTable(c.operation, *parseOperand(c.operand), {});
    EXPECT_EQ(table[c.v], c.expected) << static_cast<int>(c.operation) << ' ' << c.operand;
  }
}

TEST(OperationTable, GreyRangeIsReadSwappedAndLeavesOtherValues) {
  const Operand zero = *parseOperand("0");
  const GreyTable inside = operationTable(EditOperation::Set, zero, {true, false, 100, 50});
  const GreyTable outside = operationTable(EditOperation::Set, zero, {true, true, 100, 50});
  for (int v = 0; v < 256; ++v) {
    const bool selected = v >= 50 && v <= 100;
    EXPECT_EQ(inside[v], selected ? 0 : v) << v;
    EXPECT_EQ(outside[v], selected ? v : 0) << v;
  }
}

TEST(InterpolateTable, FillsFromTheEndsRoundingHalfUpAndKeepsTheLastEntry) {
  GreyTable table = identityTable();
  table[0] = 255;
  table[2] = 0;
  table[10] = 10;
  table[20] = 100;
  GreyTable reversed = table;
  interpolateTable(table, 10, 20);
  interpolateTable(reversed, 20, 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(table[10 + i], 10 + 9 * i) << i;
  EXPECT_EQ(table[20], 100);
  EXPECT_EQ(reversed, table);
  interpolateTable(table, 0, 2);  // 255 - 127.5 + 0.5
  EXPECT_EQ(table[1], 128);
  EXPECT_EQ(table[2], 0);
  const GreyTable before = table;
  interpolateTable(table, 7, 7);
  interpolateTable(table, -20, -3);  // limited to 0..0
  EXPECT_EQ(table, before);
}

}  // namespace
}  // namespace vemla
