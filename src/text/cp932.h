#pragma once
// Text in memory is UTF-8; fixed fields in files and on the wire hold CP932 (Microsoft's
// Shift-JIS, where 0x5C is the backslash). Field limits count CP932 bytes. A text that CP932
// cannot hold is refused, never stored lossily.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vemla::text {

// nullopt when the text is not valid UTF-8 or holds a character CP932 has no code for.
std::optional<std::string> utf8ToCp932(std::string_view utf8);
// nullopt when the bytes are not valid CP932.
std::optional<std::string> cp932ToUtf8(std::string_view cp932);

enum class FieldStatus { Ok, TooLong, NotRepresentable };

// Whether `utf8` fits a fixed field of `fieldBytes` bytes: at most fieldBytes - 1 CP932 bytes
// plus the terminating zero.
FieldStatus checkFixedField(std::string_view utf8, std::size_t fieldBytes);

// Stores `utf8` as CP932 followed by zeros up to the end of the field; refuses (field untouched)
// when it does not fit or cannot be represented.
FieldStatus writeFixedField(std::span<std::uint8_t> field, std::string_view utf8);

// The text up to the first zero byte (or the whole field when there is none), as UTF-8;
// nullopt when the bytes are not valid CP932.
std::optional<std::string> readFixedField(std::span<const std::uint8_t> field);

}  // namespace vemla::text
