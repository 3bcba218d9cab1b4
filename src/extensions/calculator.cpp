#include "extensions/calculator.h"

#include <algorithm>
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

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

// The caret moved onto the text and off any continuation byte.
std::size_t boundaryCaret(const CalculatorField& field) {
  std::size_t caret = std::min(field.caret, field.text.size());
  while (caret < field.text.size() && isContinuationByte(field.text[caret])) ++caret;
  return caret;
}

constexpr std::array<CalculatorKey, 26> kKeys{{
    {text::N_("０"), "0", text::N_("数字の0を式に入力します")},
    {text::N_("１"), "1", text::N_("数字の1を式に入力します")},
    {text::N_("２"), "2", text::N_("数字の2を式に入力します")},
    {text::N_("３"), "3", text::N_("数字の3を式に入力します")},
    {text::N_("４"), "4", text::N_("数字の4を式に入力します")},
    {text::N_("５"), "5", text::N_("数字の5を式に入力します")},
    {text::N_("６"), "6", text::N_("数字の6を式に入力します")},
    {text::N_("７"), "7", text::N_("数字の7を式に入力します")},
    {text::N_("８"), "8", text::N_("数字の8を式に入力します")},
    {text::N_("９"), "9", text::N_("数字の9を式に入力します")},
    {text::N_("．"), ".", text::N_("小数点の . を式に入力します")},
    {text::N_("（"), "(", text::N_("左括弧の ( を式に入力します")},
    {text::N_("）"), ")", text::N_("右括弧の ) を式に入力します")},
    {text::N_("＋"), "+", text::N_("加算(符号)の + を式に入力します")},
    {text::N_("－"), "-", text::N_("減算(符号)の - を式に入力します")},
    {text::N_("＊"), "*", text::N_("乗算の * を式に入力します")},
    {text::N_("／"), "/", text::N_("除算の / を式に入力します")},
    {text::N_("％"), "%", text::N_("剰余の % を式に入力します")},
    {text::N_("”"), "\"", text::N_("べき乗の \" を式に入力します")},
    {text::N_("Ａ"), "A", text::N_("16進数のAを式に入力します")},
    {text::N_("Ｂ"), "B", text::N_("16進数のBを式に入力します")},
    {text::N_("Ｃ"), "C", text::N_("16進数のCを式に入力します")},
    {text::N_("Ｄ"), "D", text::N_("16進数のDを式に入力します")},
    {text::N_("Ｅ"), "E", text::N_("16進数のEを式に入力します")},
    {text::N_("Ｆ"), "F", text::N_("16進数のFを式に入力します")},
    {"HEX", "0x", text::N_("16進数を表す 0x を式に入力します")},
}};

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
  // A cut number would be a wrong one: a result the field cannot hold is an error.
  if (text.size() > kCalculatorResultLength) return kCalculatorErrorText;
  return text;
}

std::string calculatorResultText(std::string_view expression, HexMode hex) {
  const double value = evaluateCalculatorExpression(expression, hex);
  if (value == kCalculatorSyntaxError) return kCalculatorErrorText;
  return formatCalculatorResult(value, hex);
}

const std::array<CalculatorKey, 26>& calculatorKeys() {
  return kKeys;
}

std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

bool insertIntoField(CalculatorField& field, std::string_view insertion) {
  if (characterCount(field.text) + characterCount(insertion) > kCalculatorExpressionLength) {
    return false;
  }
  const std::size_t caret = boundaryCaret(field);
  field.text.insert(caret, insertion);
  field.caret = caret + insertion.size();
  return true;
}

bool deleteBeforeCaret(CalculatorField& field) {
  const std::size_t caret = boundaryCaret(field);
  if (caret == 0) {
    field.caret = 0;
    return false;
  }
  std::size_t start = caret - 1;
  while (start > 0 && isContinuationByte(field.text[start])) --start;
  field.text.erase(start, caret - start);
  field.caret = start;
  return true;
}

}  // namespace vemla
