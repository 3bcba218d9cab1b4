#pragma once
// The quick-help window's text lines and where it stands. The window shows at most 32 lines
// of at most 2048 bytes of text; beside a control it starts at the control's left edge and
// vertical middle and is pushed up and left so that it stays 32 pixels inside the owner.
#include <string>
#include <string_view>
#include <vector>

namespace vemla {

inline constexpr std::size_t kHelpTextBytes = 2048;
inline constexpr int kHelpMaxLines = 32;
inline constexpr int kHelpOwnerMargin = 32;

// The lines of `text` split at "\n", from at most its first 2048 bytes (cut back to a whole
// UTF-8 character), at most 32. A text ending in "\n" has no empty last line.
std::vector<std::string> helpLines(std::string_view text);

struct HelpBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// Top-left of a help window of `width` x `height` anchored at `anchor`, all in screen
// coordinates: x = anchor left, y = anchor middle, each moved back when the window would pass
// the owner's right or bottom edge less the margin; then moved up by `verticalOffset`.
struct HelpPoint {
  int x = 0, y = 0;
  bool operator==(const HelpPoint&) const = default;
};
HelpPoint placeHelpBeside(const HelpBox& anchor, const HelpBox& owner, int width, int height,
                          int verticalOffset);

}  // namespace vemla
