#include "persist/own_options.h"

#include <charconv>
#include <cmath>

#include "options/option_table.h"
#include "text/cp932.h"
#include "text/format.h"

namespace vemla::persist {
namespace {

constexpr std::string_view kHeading =
    "# Vemla: options beyond the settings files (UTF-8, Name=value)";

bool ownRow(const OptionDescriptor& option) {
  return option.store == OptionStore::OwnOptions;
}

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A whole decimal number of type T, nothing before or after it.
template <typename T>
std::optional<T> wholeNumber(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

// Whether `text` is valid UTF-8 without control characters, as every text in memory is.
bool plainUtf8(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return text::validUtf8(text);
}

// Formats the value of one row.
struct ValueWriter {
  std::string operator()(bool value) const { return value ? "1" : "0"; }
  std::string operator()(int value) const { return std::to_string(value); }
  std::string operator()(double value) const {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);  // the shortest
    return std::string(buffer, written.ptr);
  }
  std::string operator()(std::uint32_t value) const { return std::to_string(value); }
  std::string operator()(const std::string& value) const { return value; }
  std::string operator()(const SixteenBitConversion& value) const { return sixteenBitText(value); }
  std::string operator()(const std::array<bool, kArchiveItemLimit>&) const { return {}; }
};

// Reads the value of one row; false when the text is not a value of its type.
struct ValueReader {
  std::string_view text;
  bool operator()(bool& value) const {
    if (text != "0" && text != "1") return false;
    value = text == "1";
    return true;
  }
  bool operator()(int& value) const { return take(wholeNumber<int>(text), value); }
  bool operator()(std::uint32_t& value) const {
    return take(wholeNumber<std::uint32_t>(text), value);
  }
  bool operator()(double& value) const {
    const std::optional<double> read = wholeNumber<double>(text);
    return read && std::isfinite(*read) && take(read, value);
  }
  bool operator()(std::string& value) const {
    if (!plainUtf8(text)) return false;
    value = std::string(text);
    return true;
  }
  bool operator()(SixteenBitConversion& value) const {
    return take(parseSixteenBitText(text), value);
  }
  bool operator()(std::array<bool, kArchiveItemLimit>&) const { return false; }

  template <typename T>
  static bool take(const std::optional<T>& read, T& value) {
    if (read) value = *read;
    return read.has_value();
  }
};

}  // namespace

std::string sixteenBitText(const SixteenBitConversion& conversion) {
  switch (conversion.rule) {
    case SixteenBitRule::Significant:
      return "auto";
    case SixteenBitRule::TopByte:
      return "top";
    case SixteenBitRule::Window:
      break;
  }
  return text::format("window:%d,%d", conversion.lower, conversion.upper);
}

std::optional<SixteenBitConversion> parseSixteenBitText(std::string_view text) {
  if (text == "auto") return SixteenBitConversion{};
  if (text == "top") return SixteenBitConversion{SixteenBitRule::TopByte};
  constexpr std::string_view kWindow = "window:";
  if (!text.starts_with(kWindow)) return std::nullopt;
  text.remove_prefix(kWindow.size());
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<std::uint16_t> lower = wholeNumber<std::uint16_t>(text.substr(0, comma));
  const std::optional<std::uint16_t> upper = wholeNumber<std::uint16_t>(text.substr(comma + 1));
  if (!lower || !upper || *lower >= *upper) return std::nullopt;
  return SixteenBitConversion{SixteenBitRule::Window, *lower, *upper};
}

std::string encodeOwnOptions(const Options& options) {
  std::string text(kHeading);
  text += '\n';
  for (const OptionDescriptor& option : optionTable()) {
    if (!ownRow(option)) continue;
    text += option.name;
    text += '=';
    text += visitOption(option, options, ValueWriter{});
    text += '\n';
  }
  return text;
}

bool decodeOwnOptions(std::string_view text, Options& options) {
  static const Options defaults;
  Options read = options;
  for (const OptionDescriptor& option : optionTable()) {
    if (ownRow(option)) copyOptionValue(option, defaults, read);
  }
  bool understood = text.size() <= kOwnOptionsLimit;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.size() > kOwnOptionsLine) {
      understood = false;
      continue;
    }
    line = trimmed(line);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    const OptionDescriptor* option =
        equals == std::string_view::npos ? nullptr : findOption(trimmed(line.substr(0, equals)));
    if (option == nullptr || !ownRow(*option) ||
        !visitOption(*option, read, ValueReader{trimmed(line.substr(equals + 1))})) {
      understood = false;
      if (option != nullptr && ownRow(*option)) copyOptionValue(*option, defaults, read);
    }
  }
  // The table's own rules have the last word; what they refuse becomes the default.
  Options corrected = read;
  correctOptions(corrected, defaults, CorrectionMode::Load);
  for (const OptionDescriptor& option : optionTable()) {
    if (!ownRow(option)) continue;
    if (!sameOptionValue(option, corrected, read)) understood = false;
    copyOptionValue(option, corrected, options);
  }
  return understood;
}

LoadStatus loadOwnOptions(const std::string& folder, Options& options, UserPort& user) {
  const std::string path = inFolder(folder, kOwnOptionsFile);
  const FileBytes file = readFileStart(path, kOwnOptionsLimit + 1);
  if (file.state == FileBytes::State::Absent) {
    decodeOwnOptions({}, options);
    return LoadStatus::Absent;
  }
  if (file.state == FileBytes::State::Failed || file.bytes.size() > kOwnOptionsLimit) {
    decodeOwnOptions({}, options);
    reportSettingsFile(user, msg::kSettingsReadFailed, path);
    return LoadStatus::ReadFailed;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  return decodeOwnOptions(text, options) ? LoadStatus::Loaded : LoadStatus::Truncated;
}

text::LanguageChoice storedLanguageChoice(const std::string& folder) {
  const FileBytes file = readFileStart(inFolder(folder, kOwnOptionsFile), kOwnOptionsLimit + 1);
  Options options;
  if (file.state == FileBytes::State::Read && file.bytes.size() <= kOwnOptionsLimit) {
    decodeOwnOptions({reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()},
                     options);
  }
  return static_cast<text::LanguageChoice>(options.DisplayLanguage);
}

bool saveOwnOptions(const std::string& folder, const Options& options, bool& keepBad,
                    UserPort& user) {
  const std::string text = encodeOwnOptions(options);
  return replaceSettingsFile(
      inFolder(folder, kOwnOptionsFile),
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), keepBad, user);
}

}  // namespace vemla::persist
