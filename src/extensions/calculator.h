#pragma once
// The calculator's evaluation ("計算"): the expression text in, the result field's text out.
#include <array>
#include <string>
#include <string_view>

#include "extensions/expression.h"
#include "text/translate.h"

namespace vemla {

// Compared by the callers as it stands; translated where it is shown.
inline constexpr const char* kCalculatorErrorText = text::N_("式に誤りがあります");
inline constexpr std::size_t kCalculatorExpressionLength = 1022;  // the expression field
inline constexpr std::size_t kCalculatorResultLength = 254;       // the result field

// A result as the result field shows it: "%.8f" with the trailing zeros after the point cut
// (and the point when nothing follows it); an integer in range gets "   (0x%X)" with its 32-bit
// two's-complement pattern. In range: unsigned mode any value up to 4294967295 (negative
// values too), signed mode -2147483648 .. 2147483647; infinities and not-a-number never. A
// text longer than the field's 254 characters (2"1000 has 302 digits) gives the error text
// "式に誤りがあります" instead: cut, the number would be wrong.
std::string formatCalculatorResult(double value, HexMode hex);

// evaluateCalculatorExpression, then the result text or "式に誤りがあります".
std::string calculatorResultText(std::string_view expression, HexMode hex);

// A button that inserts text into the expression field, and its quick-help text (label and
// help marked for translation, the inserted text not).
struct CalculatorKey {
  const char* label;
  const char* text;
  const char* help;
};
// "０"-"９", "．", "（", "）", "＋", "－", "＊", "／", "％", "”" (the power operator, an ASCII
// double quote), "Ａ"-"Ｆ" and "HEX" ("0x").
const std::array<CalculatorKey, 26>& calculatorKeys();

inline constexpr const char* kCalculatorModeHelp = text::N_(
    "式中のHEX入力値で符号なし／ありを切り替えます\n"
    "符号なし  0xf=15、0x0f=15、0xff=255、0xf0:240\n"
    "符号あり  0xf=-1、0x0f=15、0xff=-1 、0xf0:-16\n"
    "※最大 0xffffffff まで指定が可能");

// The expression field: its text and the caret, a byte offset into the text.
struct CalculatorField {
  std::string text;
  std::size_t caret = 0;
};
// Inserts `insertion` at the caret, replacing nothing, and moves the caret behind it. Refused
// (false, nothing changed) when the field would hold more than 1022 characters. A caret
// beyond the text or inside a character counts as the next character boundary.
bool insertIntoField(CalculatorField& field, std::string_view insertion);
// "BS": removes the character before the caret; false when there is none.
bool deleteBeforeCaret(CalculatorField& field);
// The number of characters (not bytes) of a UTF-8 text.
std::size_t characterCount(std::string_view text);

}  // namespace vemla
