#pragma once
// Text in memory is UTF-8; fixed fields in files and on the wire hold CP932 (Microsoft's
// Shift-JIS, where 0x5C is the backslash). Field limits count CP932 bytes. Where a text must be
// stored exactly (utf8ToCp932, the field checks below) one that CP932 cannot hold is refused;
// titles and names kept only to be shown are stored with such characters replaced.
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

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or code points beyond
// U+10FFFF).
bool validUtf8(std::string_view text);

// `utf8` in CP932 with every character CP932 has no code for, every byte that is not valid
// UTF-8 and every zero byte written as "?", so that the rest of the text (an extension above
// all) survives. `replaced` (when given) tells whether anything was replaced.
std::string utf8ToCp932Replacing(std::string_view utf8, bool* replaced = nullptr);
// The same text back in UTF-8: what a field holding it shows after a save and a load.
std::string storableText(std::string_view utf8, bool* replaced = nullptr);

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
