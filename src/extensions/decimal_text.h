#pragma once
// Decimal text to double, as the C library's text-to-double conversion reads it but independent
// of the process locale (the window program runs under the user's locale, where the decimal
// point may be a comma).
#include <string_view>

namespace vemla {

// The number at the start of `text`: leading white space skipped, an optional sign, then
// digits with an optional point and exponent (or inf / nan). Whatever follows is ignored; no
// number at all gives 0. Too large gives an infinity, too small 0.
double readLeadingNumber(std::string_view text);

}  // namespace vemla
