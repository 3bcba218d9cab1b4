#pragma once
// The cursor hand-over file VemlaDpos.dat ("＞" saves, "＜" loads): the cursor position as two
// signed 32-bit little-endian integers, X then Y, in the program folder, so that another
// running copy can take it over. The file is replaced as a whole on every save.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ports/ports.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kCursorHandOverFile = "VemlaDpos.dat";
inline constexpr std::size_t kCursorHandOverBytes = 8;

namespace msg {
inline constexpr const char* kCursorSaveFailed = text::N_("表示位置の退避に失敗しました");
}  // namespace msg

struct HandedPosition {
  int x = 0, y = 0;
  bool operator==(const HandedPosition&) const = default;
};

std::array<std::uint8_t, kCursorHandOverBytes> encodeCursorHandOver(HandedPosition position);
// Exactly eight bytes; anything else (a short, empty or longer file) is not a position.
std::optional<HandedPosition> decodeCursorHandOver(std::span<const std::uint8_t> bytes);

// Writes the file in `folder`; on failure (no folder, a write error) tells (error icon)
// "表示位置の退避に失敗しました" and returns false, leaving an earlier file as it was.
bool saveCursorPosition(const std::string& folder, HandedPosition position, UserPort& user);
// nullopt when there is no folder or file, or the file does not hold a position. The values
// are returned as stored; the caller clamps them into its picture.
std::optional<HandedPosition> loadCursorPosition(const std::string& folder);

}  // namespace vemla
