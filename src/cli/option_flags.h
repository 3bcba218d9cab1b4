#pragma once
// vemla-cli flags that stand for options take their ranges and defaults from the option table,
// both when they are parsed and in the help texts.
#include <string>
#include <string_view>

namespace vemla::cli {

// A whole decimal number in the range of option `name` (usage error otherwise, as parseInt).
int parseOptionInt(const std::string& text, std::string_view name, const std::string& what);

// `text` with each "{Name}" replaced by the default of option Name, "{Name:range}" by its range
// "low..high", "{Name:high}" by its upper end.
std::string withOptionValues(std::string_view text);

}  // namespace vemla::cli
