#include "cli/option_flags.h"

#include "cli/args.h"
#include "options/option_table.h"
#include "text/format.h"
#include "text/number_format.h"

namespace vemla::cli {
namespace {

std::string defaultText(const OptionDescriptor& option) {
  static const Options defaults;
  return visitOption(option, defaults, [](const auto& value) -> std::string {
    using T = std::remove_cvref_t<decltype(value)>;
    if constexpr (std::is_same_v<T, int> || std::is_same_v<T, bool>) {
      return std::to_string(static_cast<int>(value));
    } else if constexpr (std::is_same_v<T, double>) {
      return text::generalDecimal(value);
    } else if constexpr (std::is_same_v<T, std::string>) {
      return value;
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
      return text::format("%d,%d,%d", value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
    } else {
      return {};  // the number set has no text of its own
    }
  });
}

std::string valueText(std::string_view reference) {
  const std::size_t colon = reference.find(':');
  const OptionDescriptor& option = optionNamed(reference.substr(0, colon));
  if (colon == std::string_view::npos) return defaultText(option);
  const std::string_view part = reference.substr(colon + 1);
  if (part == "high") return std::to_string(option.high);
  return std::to_string(option.low) + ".." + std::to_string(option.high);
}

}  // namespace

int parseOptionInt(const std::string& text, std::string_view name, const std::string& what) {
  const OptionDescriptor& option = optionNamed(name);
  return parseInt(text, static_cast<int>(option.low), static_cast<int>(option.high), what);
}

std::string withOptionValues(std::string_view text) {
  std::string result;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t open = text.find('{', at);
    const std::size_t close = open == std::string_view::npos ? open : text.find('}', open);
    if (close == std::string_view::npos) {
      result.append(text.substr(at));
      break;
    }
    result.append(text.substr(at, open - at));
    result.append(valueText(text.substr(open + 1, close - open - 1)));
    at = close + 1;
  }
  return result;
}

}  // namespace vemla::cli
