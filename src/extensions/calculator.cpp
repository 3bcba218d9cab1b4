#include "extensions/calculator.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vemla {
namespace {

// The decimal integer text ("-" and digits) modulo 2^32, exactly: unsigned arithmetic wraps.
std::uint32_t lowWord(std::string_view integer) {
  const bool negative = !integer.empty() && integer[0] == '-';
  std::uint32_t value = 0;
  for (const char c : integer.substr(negative ? 1 : 0))
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  return negative ? 0u - value : value;
}

bool hasHexadecimalPart(double value, HexMode hex) {
  if (!std::isfinite(value)) return false;
  if (hex == HexMode::Signed) return value >= -2147483648.0 && value <= 2147483647.0;
  return value <= 4294967295.0;
}

}  // namespace

std::string formatCalculatorResult(double value, HexMode hex) {
  // "%.8f" of the largest double has 309 digits before the point; to_chars is "%.8f" in the
  // C locale whatever the process locale is.
  char buffer[400];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
  std::string text(buffer, written.ec == std::errc() ? written.ptr : buffer);
  if (const std::size_t point = text.find('.'); point != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  if (text.find('.') == std::string::npos && hasHexadecimalPart(value, hex)) {
    char hexadecimal[32];
    std::snprintf(hexadecimal, sizeof hexadecimal, "   (0x%X)",
                  static_cast<unsigned>(lowWord(text)));
    text += hexadecimal;
  }
  if (text.size() > kCalculatorResultLength) text.resize(kCalculatorResultLength);
  return text;
}

std::string calculatorResultText(std::string_view expression, HexMode hex) {
  const double value = evaluateCalculatorExpression(expression, hex);
  if (value == kCalculatorSyntaxError) return kCalculatorErrorText;
  return formatCalculatorResult(value, hex);
}

}  // namespace vemla
