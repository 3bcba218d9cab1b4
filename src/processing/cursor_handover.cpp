#include "processing/cursor_handover.h"

#include "picture/file_helpers.h"

namespace vemla {
namespace {

void putInt32(std::uint8_t* out, int value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int byte = 0; byte < 4; ++byte) out[byte] = static_cast<std::uint8_t>(bits >> (8 * byte));
}

int getInt32(const std::uint8_t* in) {
  std::uint32_t bits = 0;
  for (int byte = 0; byte < 4; ++byte) bits |= static_cast<std::uint32_t>(in[byte]) << (8 * byte);
  return static_cast<int>(bits);  // two's complement, as the file stores it
}

}  // namespace

std::array<std::uint8_t, kCursorHandOverBytes> encodeCursorHandOver(HandedPosition position) {
  std::array<std::uint8_t, kCursorHandOverBytes> bytes{};
  putInt32(bytes.data(), position.x);
  putInt32(bytes.data() + 4, position.y);
  return bytes;
}

std::optional<HandedPosition> decodeCursorHandOver(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kCursorHandOverBytes) return std::nullopt;
  return HandedPosition{getInt32(bytes.data()), getInt32(bytes.data() + 4)};
}

bool saveCursorPosition(const std::string& folder, HandedPosition position, UserPort& user) {
  const std::array<std::uint8_t, kCursorHandOverBytes> bytes = encodeCursorHandOver(position);
  if (folder.empty() || !writeFileAtomically(inFolder(folder, kCursorHandOverFile), bytes)) {
    user.tell(Icon::Error, msg::kCursorSaveFailed);
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
