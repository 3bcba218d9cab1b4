#pragma once
// The calculator's evaluation ("計算"): the expression text in, the result field's text out.
#include <string>
#include <string_view>

#include "extensions/expression.h"

namespace vemla {

inline constexpr const char* kCalculatorErrorText = "式に誤りがあります";
inline constexpr std::size_t kCalculatorExpressionLength = 1022;  // the expression field
inline constexpr std::size_t kCalculatorResultLength = 254;       // the result field

// A result as the result field shows it: "%.8f" with the trailing zeros after the point cut
// (and the point when nothing follows it); an integer in range gets "   (0x%X)" with its 32-bit
// two's-complement pattern. In range: unsigned mode any value up to 4294967295 (negative
// values too), signed mode -2147483648 .. 2147483647; infinities and not-a-number never. The
// text is cut to 254 characters.
std::string formatCalculatorResult(double value, HexMode hex);

// evaluateCalculatorExpression, then the result text or "式に誤りがあります".
std::string calculatorResultText(std::string_view expression, HexMode hex);

}  // namespace vemla
