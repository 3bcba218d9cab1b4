#include "picture/field_codec.h"

#include <algorithm>
#include <cstring>

#include "picture/little_endian.h"
#include "text/cp932.h"

namespace vemla {
namespace {

bool isLeadByte(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The longest prefix of `bytes` (at most `limit` bytes) that ends on a CP932 character
// boundary.
std::size_t characterBoundary(std::string_view bytes, std::size_t limit) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t step = isLeadByte(static_cast<std::uint8_t>(bytes[end])) ? 2 : 1;
    if (end + step > limit || end + step > bytes.size()) break;
    end += step;
  }
  return end;
}

}  // namespace

std::uint8_t* FieldWriter::take(std::size_t count) {
  if (overflowed_ || count > out_.size() - position_) {
    overflowed_ = true;
    return nullptr;
  }
  std::uint8_t* at = out_.data() + position_;
  position_ += count;
  return at;
}

void FieldWriter::uint32(std::uint32_t value) {
  if (std::uint8_t* at = take(4)) little_endian::putU32(at, value);
}

void FieldWriter::real(double value) {
  if (std::uint8_t* at = take(8)) little_endian::putF64(at, value);
}

void FieldWriter::bytes(std::span<const std::uint8_t> bytes) {
  if (std::uint8_t* at = take(bytes.size())) {
    if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
  }
}

void FieldWriter::zeros(std::size_t count) {
  if (std::uint8_t* at = take(count)) std::fill_n(at, count, std::uint8_t{0});
}

void FieldWriter::text(std::string_view utf8, std::size_t fieldBytes) {
  std::uint8_t* at = take(fieldBytes);
  if (at == nullptr || fieldBytes == 0) return;
  std::fill_n(at, fieldBytes, std::uint8_t{0});
  const std::string cp932 = fitCp932(utf8, fieldBytes - 1);
  std::memcpy(at, cp932.data(), cp932.size());
}

void FieldReader::copyOut(std::uint8_t* out, std::size_t count) {
  std::fill_n(out, count, std::uint8_t{0});
  if (position_ < in_.size()) {
    const std::size_t available = std::min(count, in_.size() - position_);
    std::memcpy(out, in_.data() + position_, available);
  }
  position_ += count;
}

std::uint32_t FieldReader::uint32() {
  std::uint8_t bytes[4];
  copyOut(bytes, 4);
  return little_endian::getU32(bytes);
}

double FieldReader::real() {
  std::uint8_t bytes[8];
  copyOut(bytes, 8);
  return little_endian::getF64(bytes);
}

void FieldReader::bytes(std::span<std::uint8_t> out) {
  copyOut(out.data(), out.size());
}

std::string FieldReader::text(std::size_t fieldBytes, bool* valid) {
  std::string field(fieldBytes, '\0');
  copyOut(reinterpret_cast<std::uint8_t*>(field.data()), fieldBytes);
  if (fieldBytes == 0) return {};
  std::size_t end = field.find('\0');
  if (end == std::string::npos) end = characterBoundary(field, fieldBytes - 1);
  std::optional<std::string> utf8 = text::cp932ToUtf8(std::string_view(field).substr(0, end));
  if (!utf8) {
    if (valid != nullptr) *valid = false;
    return {};
  }
  return std::move(*utf8);
}

std::string fitCp932(std::string_view utf8, std::size_t maxBytes) {
  std::string cp932 = text::utf8ToCp932Replacing(utf8);
  cp932.resize(characterBoundary(cp932, maxBytes));
  return cp932;
}

}  // namespace vemla
