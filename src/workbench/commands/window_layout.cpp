#include "workbench/commands/window_layout.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "workbench/commands/command_ids.h"

namespace vemla {
namespace {

// The base window's scroll range leaves a small margin: 1272 x 1020 of the layout are
// scrolled through.
constexpr int kScrolledWidth = 1272;
constexpr int kScrolledHeight = 1020;
// A saved position is used only when at least this much of the window can stay on screen.
constexpr int kVisibleMargin = 64;

bool largeScreen(int screenWidth, int screenHeight) {
  return screenWidth > kLayoutWidth || screenHeight > kLayoutHeight;
}

// A saved coordinate within 0 .. screen - 64, else 0. Computed in 64 bits: the saved values
// come from a file.
std::int32_t keptCoordinate(std::int32_t saved, int screen) {
  const std::int64_t limit = static_cast<std::int64_t>(screen) - kVisibleMargin;
  return saved >= 0 && saved <= limit ? saved : 0;
}

// At least the layout's size, at most the screen's size where the screen is larger.
std::int32_t keptExtent(std::int32_t saved, int minimum, int screen) {
  return std::clamp<std::int32_t>(saved, minimum, std::max(minimum, screen));
}

}  // namespace

const LayoutElement* findLayoutElement(const char* name) {
  for (const LayoutElement& element : kLayoutElements) {
    if (std::string_view(element.name) == name) return &element;
  }
  return nullptr;
}

PlacedRect placeElement(const LayoutElement& element, bool inBaseWindow, LayoutOffset offset) {
  return {element.x - offset.dx, element.y - (inBaseWindow ? kBaseWindowLift : 0) - offset.dy,
          element.width, element.height};
}

LayoutOffset baseScrollRange(int screenWidth, int screenHeight) {
  return {std::max(0, kScrolledWidth - screenWidth), std::max(0, kScrolledHeight - screenHeight)};
}

bool usesBaseWindow(int screenWidth, int screenHeight, bool lockDisplayPosition) {
  // A screen of exactly the layout's size shows it whole: there is nothing to scroll.
  const bool designSize = screenWidth == kLayoutWidth && screenHeight == kLayoutHeight;
  return !largeScreen(screenWidth, screenHeight) && !designSize && !lockDisplayPosition;
}

persist::WindowRectangle restoredWindowRect(const persist::WindowRectangle& saved, int screenWidth,
                                            int screenHeight) {
  if (!largeScreen(screenWidth, screenHeight)) return {0, 0, kLayoutWidth, kLayoutHeight};
  return {keptCoordinate(saved.x, screenWidth), keptCoordinate(saved.y, screenHeight),
          keptExtent(saved.width, kLayoutWidth, screenWidth),
          keptExtent(saved.height, kLayoutHeight, screenHeight)};
}

std::optional<persist::WindowRectangle> savedWindowRect(const persist::WindowRectangle& current,
                                                        int screenWidth, int screenHeight) {
  if (!largeScreen(screenWidth, screenHeight)) {
    return persist::WindowRectangle{0, 0, kLayoutWidth, kLayoutHeight};
  }
  if (current.x < 0 || current.y < 0) return std::nullopt;
  return current;
}

std::optional<LayoutOffset> layoutOffsetOfCommand(int id, LayoutOffset range) {
  switch (id) {
    case kLayoutTopLeft:
      return LayoutOffset{0, 0};
    case kLayoutTopRight:
      return LayoutOffset{range.dx, 0};
    case kLayoutBottomLeft:
      return LayoutOffset{0, range.dy};
    case kLayoutBottomRight:
      return range;
    default:
      return std::nullopt;
  }
}

LayoutOffset clampLayoutOffset(LayoutOffset offset, LayoutOffset range) {
  return {std::clamp(offset.dx, 0, std::max(0, range.dx)),
          std::clamp(offset.dy, 0, std::max(0, range.dy))};
}

}  // namespace vemla
