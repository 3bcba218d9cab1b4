#include "workbench/commands/help_placement.h"

namespace vemla {

std::vector<std::string> helpLines(std::string_view text) {
  if (text.size() > kHelpTextBytes) {
    std::size_t cut = kHelpTextBytes;
    // Step back over continuation bytes so that no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text = text.substr(0, cut);
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size() && static_cast<int>(lines.size()) < kHelpMaxLines) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

HelpPoint placeHelpBeside(const HelpBox& anchor, const HelpBox& owner, int width, int height,
                          int verticalOffset) {
  HelpPoint point{anchor.left, (anchor.top + anchor.bottom) / 2};
  if (point.x + width > owner.right - kHelpOwnerMargin) {
    point.x = owner.right - kHelpOwnerMargin - width;
  }
  if (point.y + height > owner.bottom - kHelpOwnerMargin) {
    point.y = owner.bottom - kHelpOwnerMargin - height;
  }
  point.y -= verticalOffset;
  return point;
}

}  // namespace vemla
