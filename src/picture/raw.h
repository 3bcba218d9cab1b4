#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace vemla {

// Clears `destination` and reads up to destination.size() bytes from `offset`. The file is
// opened read-only: a missing or unreadable file gives 0 and nothing is created. A file that
// ends early (or an offset past its end) leaves the rest zero and still gives 1.
int readRawPicture(const std::string& path, std::int64_t offset, std::span<std::uint8_t> destination);

}  // namespace vemla
