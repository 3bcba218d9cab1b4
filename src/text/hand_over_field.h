#pragma once
// The name field of a viewer hand-over: 512 bytes holding an absolute path in CP932, at most
// 511 bytes, followed by zeros only. Both ends check it: the sender never sends what the viewer
// would refuse, and the viewer takes nothing else from its socket.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vemla::text {

inline constexpr std::size_t kHandOverFieldBytes = 512;

// The field for the absolute UTF-8 path `path`; nullopt when it is empty, not absolute, holds a
// NUL or a character CP932 has no code for, or takes more than 511 CP932 bytes.
std::optional<std::string> handOverField(std::string_view path);
// The UTF-8 path a received field names; nullopt unless the field is exactly 512 bytes with a
// non-empty absolute path in valid CP932 and zeros after it.
std::optional<std::string> handOverFieldPath(std::span<const std::uint8_t> field);

}  // namespace vemla::text
