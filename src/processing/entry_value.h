#pragma once
// Reading a number typed into an edit of the control windows. The windows correct a wrong entry
// silently, so a text that is not a whole decimal number keeps the previous value.
#include <string_view>

namespace vemla {

// Optional blanks, an optional sign and decimal digits, optional blanks; a value beyond the
// 32-bit range becomes its nearest limit. Anything else (empty text, letters, a second number)
// gives `fallback`.
int entryValue(std::string_view text, int fallback);

}  // namespace vemla
