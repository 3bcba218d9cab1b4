#include "cli/args.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "cli/option_flags.h"
#include "editing/small_dialogs.h"
#include "options/option_table.h"
#include "text/decimal_text.h"

namespace vemla::cli {

std::optional<std::string> Arguments::value(const std::string& flag) const {
  const auto found = values.find(flag);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

Arguments parseArguments(const std::vector<std::string>& words, const std::set<std::string>& valueFlags,
                         const std::set<std::string>& switchFlags) {
  Arguments parsed;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(word);
      continue;
    }
    if (parsed.has(word) && kRepeatableFlags.count(word) == 0) {
      throw UsageError(word + " is given twice");
    }
    if (switchFlags.count(word)) {
      parsed.switches.insert(word);
    } else if (valueFlags.count(word)) {
      if (i + 1 >= words.size()) throw UsageError(word + " needs a value");
      parsed.values[word] = words[++i];
      if (kRepeatableFlags.count(word) != 0) parsed.repeated[word].push_back(words[i]);
    } else {
      throw UsageError("unknown option " + word);
    }
  }
  return parsed;
}

namespace {

bool parseLong(const std::string& text, long long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && end != text.c_str() && *end == '\0';
}

}  // namespace

int parseInt(const std::string& text, int low, int high, const std::string& what) {
  long long value = 0;
  if (!parseLong(text, value)) throw UsageError(what + ": not a whole number: " + text);
  if (value < low || value > high) {
    throw UsageError(what + " must be " + std::to_string(low) + ".." + std::to_string(high));
  }
  return static_cast<int>(value);
}

std::pair<int, int> parseSize(const std::string& text, const std::string& what) {
  const auto x = text.find('x');
  if (x == std::string::npos) throw UsageError(what + ": expected WxH, got " + text);
  return {parseInt(text.substr(0, x), 1, 1 << 30, what), parseInt(text.substr(x + 1), 1, 1 << 30, what)};
}

RawSize parseRawSize(const std::string& text, int maxWidth, int maxHeight) {
  const auto plus = text.find('+');
  const auto [width, height] = parseSize(text.substr(0, plus), "--raw");
  RawSize size{width, height, 0};
  if (plus != std::string::npos) {
    long long offset = 0;
    if (!parseLong(text.substr(plus + 1), offset)) throw UsageError("--raw: bad offset in " + text);
    size.offset = offset;
  }
  if (const auto problem = checkRawSize(size, maxWidth, maxHeight)) throw UsageError("--raw: " + *problem);
  return size;
}

RgbRatio parseRatios(const std::string& text) {
  double parts[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const auto comma = text.find(',', start);
    if ((i < 2) != (comma != std::string::npos)) throw UsageError("--ratios: expected R,G,B");
    const std::string field = text.substr(start, i < 2 ? comma - start : std::string::npos);
    const std::optional<double> part = text::readWholeNumber(field);
    if (!part || !std::isfinite(*part)) throw UsageError("--ratios: not a number: " + field);
    parts[i] = *part;
    start = comma + 1;
  }
  return {parts[0], parts[1], parts[2]};
}

std::pair<int, int> parseMaxSize(const std::string& text) {
  const auto [width, height] = parseSize(text, "--max");
  // Accepted as given only: the maximum size's correction must leave both values unchanged.
  if (correctMaxPictureSize(width) != width || correctMaxPictureSize(height) != height) {
    throw UsageError(withOptionValues(
        "--max: each of W and H must be {MaxPictureWidth:range} and a multiple of 4"));
  }
  return {width, height};
}

}  // namespace vemla::cli
