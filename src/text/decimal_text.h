#pragma once
// Decimal text to double, as the C library's text-to-double conversion reads it but independent
// of the process locale (the window program runs under the user's locale, where the decimal
// point may be a comma).
#include <cstddef>
#include <optional>
#include <string_view>

namespace vemla::text {

// The number at the start of `text`: leading white space skipped, an optional sign, then
// digits with an optional point and exponent (or inf / nan). Whatever follows is ignored; no
// number at all gives 0. Too large gives an infinity, too small 0.
double readLeadingNumber(std::string_view text);
// The same, and in `used` how many characters of `text` it took (0 when there is no number).
double readLeadingNumber(std::string_view text, std::size_t& used);

// All of `text` as one number (an optional sign, digits with an optional point and exponent);
// nullopt when anything else is there, white space included. Out of range as above.
std::optional<double> readWholeNumber(std::string_view text);

}  // namespace vemla::text
