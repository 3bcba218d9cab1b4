#pragma once
#include <string>
#include <string_view>

namespace vemla::text {

// Shortens a decimal number written with a point: leading zeros go except one before the
// point, trailing zeros after the point go except one ("0001.500000" -> "1.5", "1.000000" ->
// "1.0", "0.299000" -> "0.299"). A sign is kept. Text without a point is returned unchanged.
std::string shortenDecimal(std::string_view text);

// A number as printf's "%.Nf" (N = `decimals`) and "%g" write it in the C locale, whatever the
// process locale is: the point is always a point (under a German locale printf writes a
// comma, which no reader of these texts and files takes).
std::string fixedDecimal(double value, int decimals);
std::string generalDecimal(double value);

}  // namespace vemla::text
