#include "extensions/user_colours.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

namespace m = msg::user_colours;

constexpr int kSaturated = 256;  // any digit run above 255
constexpr std::size_t kReadBlockBytes = 64 * 1024;
// The most a colour table text is read: 256 lines of three numbers leave room for long comments
// in far less; a longer file that has not given its 256 lines by then is not one.
constexpr std::size_t kLongestColourText = 1024 * 1024;

bool isDigit(std::uint8_t c) {
  return c >= '0' && c <= '9';
}

}  // namespace

// ---- Text reading

void ColourTextReader::endNumber() {
  inNumber_ = false;
  if (numbers_ >= 3) return;
  if (value_ > 255) badLine_ = true;
  line_[static_cast<std::size_t>(numbers_++)] = value_;
  value_ = 0;
}

void ColourTextReader::endLine() {
  if (inNumber_) endNumber();
  if (badLine_ || numbers_ < 3) {
    stopped_ = true;
  } else {
    const auto at = static_cast<std::size_t>(goodLines_) * 3;
    for (std::size_t channel = 0; channel < 3; ++channel) {
      table_[at + channel] = static_cast<std::uint8_t>(line_[channel]);
    }
    if (++goodLines_ == kColourTableLines) stopped_ = true;
  }
  numbers_ = 0;
  value_ = 0;
  badLine_ = false;
  lineStarted_ = false;
}

bool ColourTextReader::feed(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t c : bytes) {
    if (stopped_) return false;
    if (c == '\n') {
      endLine();
      continue;
    }
    lineStarted_ = true;
    if (numbers_ >= 3) continue;  // the rest of the line is ignored
    if (isDigit(c)) {
      inNumber_ = true;
      value_ = std::min(value_ * 10 + (c - '0'), kSaturated);
      // A number above 255 among the first three fails the line whatever follows it.
      if (value_ == kSaturated) {
        stopped_ = true;
        return false;
      }
    } else if (inNumber_) {
      endNumber();
    }
  }
  return !stopped_;
}

void ColourTextReader::finish() {
  if (!stopped_ && lineStarted_) endLine();
  stopped_ = true;
}

ColourFileRead readColourTableText(ByteSource& in) {
  ColourTextReader reader;
  std::vector<std::uint8_t> block(kReadBlockBytes);
  std::size_t total = 0;
  for (;;) {
    const std::size_t got = in.read(block.data(), block.size());
    if (got == 0) break;
    if (!reader.feed(std::span<const std::uint8_t>(block.data(), got))) break;
    total += got;
    if (total >= kLongestColourText) return {ColourFileStatus::ReadFailed, {}, 0};
  }
  reader.finish();
  ColourFileRead result;
  if (reader.complete()) {
    result.table = reader.table();
  } else {
    result.status = ColourFileStatus::FormatError;
    result.failingLine = reader.failingLine();
  }
  return result;
}

ColourFileRead readColourTableBitmap(ByteSource& in) {
  Palette palette{};
  ColourFileRead result;
  switch (readBitmapPalette(in, palette)) {
    case 0:
      for (std::size_t grey = 0; grey < 256; ++grey) {
        result.table[grey * 3] = palette[grey * 4 + 2];
        result.table[grey * 3 + 1] = palette[grey * 4 + 1];
        result.table[grey * 3 + 2] = palette[grey * 4];
      }
      break;
    case kUnsupported:
      result.status = ColourFileStatus::Unsupported;
      break;
    case kTooLarge:  // not an 8-bit file
      result.status = ColourFileStatus::NotPaletteBitmap;
      break;
    default:
      result.status = ColourFileStatus::ReadFailed;
      break;
  }
  return result;
}

ColourFileRead readColourTableFile(const std::string& path) {
  FileSource in(path);
  if (!in.isOpen()) return {ColourFileStatus::OpenFailed, {}, 0};
  return isBitmapName(path) ? readColourTableBitmap(in) : readColourTableText(in);
}

std::string colourFileMessage(const ColourFileRead& read, const std::string& path) {
  switch (read.status) {
    case ColourFileStatus::Read:
      return {};
    case ColourFileStatus::OpenFailed:
      return text::format(text::tr(m::kOpenError), path.c_str());
    case ColourFileStatus::FormatError:
      return text::format(text::tr(m::kFormatError), read.failingLine, path.c_str());
    case ColourFileStatus::NotPaletteBitmap:
      return text::format(text::tr(m::kNotPaletteBitmap), path.c_str());
    case ColourFileStatus::Unsupported:
      return text::format(text::tr(m::kUnsupportedFile), path.c_str());
    case ColourFileStatus::ReadFailed:
      return text::format(text::tr(m::kReadFailed), path.c_str());
  }
  return {};
}

// ---- Text writing

std::string colourTableText(const UserColourTable& table) {
  std::string out;
  out.reserve(kColourTableLines * 28);
  for (int grey = 0; grey < kColourTableLines; ++grey) {
    const auto at = static_cast<std::size_t>(grey) * 3;
    out += text::format(" %3d, %3d, %3d   # %d\n", table[at], table[at + 1], table[at + 2], grey);
  }
  return out;
}

bool writeColourTableFile(const std::string& path, const UserColourTable& table) {
  const std::string content = colourTableText(table);
  return writeFileAtomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(content.data()),
                                          content.size()));
}

// ---- Interpolation

void interpolateColourTable(UserColourTable& table, int from, int to,
                            const std::array<bool, 3>& channels) {
  from = std::clamp(from, 0, 255);
  to = std::clamp(to, 0, 255);
  if (to < from) std::swap(from, to);
  const int n = to - from;
  if (n < 1) return;
  for (std::size_t channel = 0; channel < 3; ++channel) {
    if (!channels[channel]) continue;
    const double s = table[static_cast<std::size_t>(from) * 3 + channel];
    const double d = table[static_cast<std::size_t>(to) * 3 + channel] - s;
    for (int i = 0; i < n; ++i) {
      const double value = std::floor(s + i * d / n + 0.5);
      table[static_cast<std::size_t>(from + i) * 3 + channel] =
          static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
    }
  }
}

// ---- Entry checks

bool isStorableColourName(std::string_view name) {
  if (name.empty()) return false;
  const std::optional<std::string> stored = text::utf8ToCp932(name);
  return stored && stored->size() <= kMaxColourNameLength;
}

std::optional<std::string> checkColourEntry(
    const UserColourEntry& edit, const std::array<UserColourEntry, kUserEntryCount>& table,
    int changing) {
  const auto inUse = [](const UserColourEntry& entry) { return entry.inUse == 1; };
  if (changing < 0 && std::all_of(table.begin(), table.end(), inUse))
    return text::tr(m::kNoMoreEntries);
  if (edit.name.empty()) return text::tr(m::kNoColourName);
  const std::optional<std::string> stored = text::utf8ToCp932(edit.name);
  if (!stored) return text::tr(m::kColourNameUnstorable);
  if (stored->size() > kMaxColourNameLength) return text::tr(m::kColourNameTooLong);
  for (int slot = 0; slot < kUserEntryCount; ++slot) {
    const UserColourEntry& other = table[static_cast<std::size_t>(slot)];
    if (slot != changing && inUse(other) && other.name == edit.name) {
      return text::tr(m::kDuplicateColourName);
    }
  }
  return std::nullopt;
}

}  // namespace vemla
