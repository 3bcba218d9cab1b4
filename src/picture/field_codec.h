#pragma once
// Little-endian fields of the program's own files (settings, launch files, archives): 32-bit
// integers, doubles, raw bytes and fixed CP932 text fields. The writer never writes past its span; the reader never reads past its
// span and yields zero bytes beyond its end (a short file gives zero fields).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vemla {

class FieldWriter {
 public:
  explicit FieldWriter(std::span<std::uint8_t> out) : out_(out) {}
  void int32(std::int32_t value) { uint32(static_cast<std::uint32_t>(value)); }
  void uint32(std::uint32_t value);
  void flag(bool value) { int32(value ? 1 : 0); }
  void real(double value);
  void bytes(std::span<const std::uint8_t> bytes);
  void zeros(std::size_t count);
  // A fixed field of `fieldBytes` bytes: the text in CP932, cut at a character boundary so
  // that its terminating zero fits, then zeros. A character CP932 cannot hold is written as
  // "?" (fitCp932); a field that must hold a name exactly is checked before it is written.
  void text(std::string_view utf8, std::size_t fieldBytes);
  std::size_t written() const { return position_; }
  // Set when a put did not fit; nothing beyond the span was written.
  bool overflowed() const { return overflowed_; }

 private:
  std::uint8_t* take(std::size_t count);
  std::span<std::uint8_t> out_;
  std::size_t position_ = 0;
  bool overflowed_ = false;
};

class FieldReader {
 public:
  explicit FieldReader(std::span<const std::uint8_t> in) : in_(in) {}
  std::int32_t int32() { return static_cast<std::int32_t>(uint32()); }
  std::uint32_t uint32();
  double real();
  void bytes(std::span<std::uint8_t> out);
  void skip(std::size_t count) { position_ += count; }
  // A fixed field of `fieldBytes` bytes, forced to end inside the field: the text runs to the
  // first zero byte, or to the last whole character before the field's final byte when there
  // is none. `valid` (when given) is cleared when the bytes are not CP932; the text is then
  // empty.
  std::string text(std::size_t fieldBytes, bool* valid = nullptr);
  std::size_t position() const { return position_; }

 private:
  void copyOut(std::uint8_t* out, std::size_t count);
  std::span<const std::uint8_t> in_;
  std::size_t position_ = 0;
};

// `utf8` converted to CP932 (a character CP932 cannot hold becomes "?") and cut at a
// character boundary to at most `maxBytes` bytes.
std::string fitCp932(std::string_view utf8, std::size_t maxBytes);

}  // namespace vemla
