#include "editing/edit_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vemla {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<Operand> parseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc{} || end != digits.data() + digits.size() || value > 0x7FFFFFFFu)
    return std::nullopt;
  return Operand{false, static_cast<std::int32_t>(value), static_cast<double>(value)};
}

// A sign, then digits with at most one point; at least one digit.
bool isDecimal(std::string_view text, bool& hasPoint) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  int digits = 0, points = 0;
  for (const char c : text) {
    if (isDigit(c))
      ++digits;
    else if (c == '.')
      ++points;
    else
      return false;
  }
  hasPoint = points == 1;
  return digits > 0 && points <= 1;
}

}  // namespace

std::optional<Operand> parseOperand(std::string_view text) {
  if (text.size() > kMaxOperandText) return std::nullopt;
  text = trimmed(text);
  if (text.starts_with("0x")) return parseHex(text.substr(2));
  bool hasPoint = false;
  if (!isDecimal(text, hasPoint)) return std::nullopt;
  // from_chars takes no '+'.
  std::string_view number = text.front() == '+' ? text.substr(1) : text;
  const char* first = number.data();
  const char* last = first + number.size();
  if (hasPoint) {
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc{} || end != last || !std::isfinite(value)) return std::nullopt;
    return Operand{true, 0, value};
  }
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc{} || end != last) return std::nullopt;
  return Operand{false, value, static_cast<double>(value)};
}

const char* operandRefusal(EditOperation operation, const Operand& operand) {
  const bool integerOnly = operation == EditOperation::Remainder ||
                           operation == EditOperation::And || operation == EditOperation::Or ||
                           operation == EditOperation::Xor;
  if (integerOnly && operand.fraction) return kFractionRefused;
  if ((operation == EditOperation::Divide || operation == EditOperation::Remainder) &&
      operand.real == 0.0)
    return kDivisionByZero;
  return nullptr;
}

std::uint8_t greyFromDouble(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<std::uint8_t>(value);
}

namespace {

std::uint8_t limitedGrey(std::int64_t value) {
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

std::uint8_t operated(EditOperation operation, const Operand& operand, int v) {
  const double x = operand.real;
  const std::int64_t n = operand.integer;
  switch (operation) {
    case EditOperation::Set:
      return greyFromDouble(x + 0.5);
    case EditOperation::Add:
      return greyFromDouble(v + x + 0.5);
    case EditOperation::Subtract:
      return greyFromDouble(v - x + 0.5);
    case EditOperation::Multiply:
      return greyFromDouble(v * x + 0.5);
    case EditOperation::Divide:
      return greyFromDouble(v / x + 0.5);
    case EditOperation::Remainder:
      return n == 0 ? static_cast<std::uint8_t>(v) : limitedGrey(v % n);
    case EditOperation::And:
      return limitedGrey(v & n);
    case EditOperation::Or:
      return limitedGrey(v | n);
    case EditOperation::Xor:
      return limitedGrey(v ^ n);
  }
  return static_cast<std::uint8_t>(v);
}

bool selectedGrey(const GreyRange& range, int v) {
  if (!range.on) return true;
  const int lower = std::min(range.lower, range.upper), upper = std::max(range.lower, range.upper);
  return (lower <= v && v <= upper) != range.outside;
}

}  // namespace

GreyTable operationTable(EditOperation operation, const Operand& operand, const GreyRange& range) {
  GreyTable table{};
  for (int v = 0; v < 256; ++v)
    table[v] =
        selectedGrey(range, v) ? operated(operation, operand, v) : static_cast<std::uint8_t>(v);
  return table;
}

GreyTable identityTable() {
  GreyTable table{};
  for (int v = 0; v < 256; ++v) table[v] = static_cast<std::uint8_t>(v);
  return table;
}

GreyTable inversionTable() {
  GreyTable table{};
  for (int v = 0; v < 256; ++v) table[v] = static_cast<std::uint8_t>(255 - v);
  return table;
}

void interpolateTable(GreyTable& table, int from, int to) {
  from = std::clamp(from, 0, 255);
  to = std::clamp(to, 0, 255);
  if (from > to) std::swap(from, to);
  const int n = to - from;
  const double start = table[from], span = static_cast<double>(table[to]) - table[from];
  for (int i = 0; i < n; ++i)
    table[from + i] = greyFromDouble(std::trunc(start + span * i / n + 0.5));
}

}  // namespace vemla
