#include "processing/cursor_handover.h"

#include "picture/file_helpers.h"
#include "picture/little_endian.h"

namespace vemla {
std::array<std::uint8_t, kCursorHandOverBytes> encodeCursorHandOver(HandedPosition position) {
  std::array<std::uint8_t, kCursorHandOverBytes> bytes{};
  little_endian::putI32(bytes.data(), position.x);
  little_endian::putI32(bytes.data() + 4, position.y);
  return bytes;
}

std::optional<HandedPosition> decodeCursorHandOver(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kCursorHandOverBytes) return std::nullopt;
  return HandedPosition{little_endian::getI32(bytes.data()),
                        little_endian::getI32(bytes.data() + 4)};
}

bool saveCursorPosition(const std::string& folder, HandedPosition position, UserPort& user) {
  const std::array<std::uint8_t, kCursorHandOverBytes> bytes = encodeCursorHandOver(position);
  if (folder.empty() || !writeFileAtomically(inFolder(folder, kCursorHandOverFile), bytes)) {
    user.tell(Icon::Error, text::tr(msg::kCursorSaveFailed));
    return false;
  }
  return true;
}

std::optional<HandedPosition> loadCursorPosition(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const std::optional<std::vector<std::uint8_t>> bytes =
      readWholeFile(inFolder(folder, kCursorHandOverFile), kCursorHandOverBytes);
  if (!bytes) return std::nullopt;
  return decodeCursorHandOver(*bytes);
}

}  // namespace vemla
