#pragma once
// The picture editor's arithmetic: the operand text of "演算実行", the nine operations as one
// 256-entry table, and the grey value conversion table of "階調値の変換".
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/translate.h"

namespace vemla {

// "代入" (=), "加算" (+=), "減算" (-=), "乗算" (*=), "除算" (/=), "剰余" (%=), "AND" (&=),
// "OR" (|=), "XOR" (^=), in the order of the dialog's buttons.
enum class EditOperation : int { Set, Add, Subtract, Multiply, Divide, Remainder, And, Or, Xor };
inline constexpr int kEditOperationCount = 9;
inline constexpr std::size_t kMaxOperandText = 30;

inline constexpr const char* kFractionRefused = text::N_("浮動小数のﾃﾞｰﾀは使用できません");
inline constexpr const char* kDivisionByZero = text::N_("０で除算はできません");
inline constexpr const char* kBadOperand = text::N_("演算に用いる値に誤りがあります");

// An operand: an integer (real holds the same value) or a decimal fraction.
struct Operand {
  bool fraction = false;
  std::int32_t integer = 0;
  double real = 0.0;
};

// Reads the value field, blanks around the text allowed: "0x" and 1 to 8 hexadecimal digits up
// to 0x7FFFFFFF, a signed decimal integer within 32 bits, or a signed decimal fraction with one
// point and no exponent ("1.5", ".5", "2."). Anything else, texts longer than kMaxOperandText
// included, is nullopt.
std::optional<Operand> parseOperand(std::string_view text);

// The refusal of `operand` with `operation`, or nullptr when it may run: a fraction for the
// integer operations, then a zero for "除算" and "剰余" (tested on the converted value, so
// "0.0" and "0x0" are zero too).
const char* operandRefusal(EditOperation operation, const Operand& operand);

// A grey range "階調範囲": lower..upper inclusive (read swapped when reversed), or its
// complement with `outside`.
struct GreyRange {
  bool on = false;
  bool outside = false;
  int lower = 0, upper = 255;
};

using GreyTable = std::array<std::uint8_t, 256>;

// The operation as a table over v = 0..255, for an operand operandRefusal accepts. The first
// five operations compute in double, add 0.5, clamp to 0..255 and truncate; the others use the
// integer operand with C's remainder and bitwise operators, then limit to 0..255. Values the
// grey range does not select map to themselves.
GreyTable operationTable(EditOperation operation, const Operand& operand, const GreyRange& range);

// A grey value from a double result: clamped to 0..255 in double, then truncated toward zero.
std::uint8_t greyFromDouble(double value);

GreyTable identityTable();
GreyTable inversionTable();  // v -> 255 - v

// "補間": entries from + i (i = 0..n-1, n = to - from; from and to limited to 0..255 and
// swapped when reversed) become trunc(t[from] + (t[to] - t[from]) * i / n + 0.5); t[to] stays.
void interpolateTable(GreyTable& table, int from, int to);

}  // namespace vemla
