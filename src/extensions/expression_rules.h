#pragma once
// The rule texts the "説明" buttons show: the expression language as the user image processing
// editor and as the calculator explain it to the operator.
#include <string>

namespace vemla {

// An example the image rules end with: the mean of the absolute differences between the two
// pictures at the current pixel and its four neighbours, rounded.
inline constexpr const char* kImageExpressionExample =
    "(ABS(P1(0,0)-P2(0,0))+ABS(P1(0,-1)-P2(0,-1))+ABS(P1(0,1)-P2(0,1))"
    "+ABS(P1(-1,0)-P2(-1,0))+ABS(P1(1,0)-P2(1,0))) / 5 + 0.5";

// Priorities (pixel values included), the sixteen functions, the notes on hexadecimal
// numbers, case, division by 0, precision and the final 0..255 limit, and the example.
std::string imageExpressionRules();
// Priorities, the sixteen functions, and the notes on hexadecimal numbers (signed mode
// included), division by 0 and precision.
std::string calculatorExpressionRules();

}  // namespace vemla
