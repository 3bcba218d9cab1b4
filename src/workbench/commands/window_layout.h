#pragma once
// The fixed 1280 x 1024 layout of the main window, the scrolling base window used on smaller
// screens, the saved main-window rectangle and the corner offsets of the toolbar buttons.
#include <array>
#include <optional>

#include "persist/program_settings.h"
#include "text/translate.h"

namespace vemla {

inline constexpr int kLayoutWidth = 1280;
inline constexpr int kLayoutHeight = 1024;
// Inside the base window every element sits this much higher.
inline constexpr int kBaseWindowLift = 30;
// The base window's own position in the main window.
inline constexpr int kBaseWindowX = 0;
inline constexpr int kBaseWindowY = 24;

struct LayoutElement {
  enum class Kind { TitleStrip, Pane, ControlWindow };
  Kind kind;
  // The strip's text (the key of its element; translated where shown), the pane's class name,
  // or the window's role.
  const char* name;
  int x, y, width, height;
};

inline constexpr std::array<LayoutElement, 17> kLayoutElements{{
    {LayoutElement::Kind::TitleStrip, text::N_("画像１"), 2, 30, 233, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("画像２"), 2, 300, 233, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("ｲﾒｰｼﾞ1"), 236, 30, 517, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("ｲﾒｰｼﾞ2"), 754, 30, 517, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("画像制御情報"), 2, 570, 313, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("イメージ制御情報"), 316, 570, 437, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("ツール情報"), 754, 570, 517, 24},
    {LayoutElement::Kind::TitleStrip, text::N_("ツール機能選択"), 754, 890, 517, 24},
    {LayoutElement::Kind::Pane, "Port1", 2, 52, 232, 246},
    {LayoutElement::Kind::Pane, "Port2", 2, 322, 232, 246},
    {LayoutElement::Kind::Pane, "Image1", 236, 52, 516, 516},
    {LayoutElement::Kind::Pane, "Image2", 754, 52, 516, 516},
    {LayoutElement::Kind::ControlWindow, "PictureControl", 2, 593, 313, 355},
    {LayoutElement::Kind::ControlWindow, "PictureControlStrip", 2, 948, 313, 33},
    {LayoutElement::Kind::ControlWindow, "ImageControl", 316, 593, 437, 388},
    {LayoutElement::Kind::ControlWindow, "ToolInformation", 754, 593, 517, 296},
    {LayoutElement::Kind::ControlWindow, "ToolSelection", 754, 913, 517, 68},
}};

// The element named `name`, or null.
const LayoutElement* findLayoutElement(const char* name);

struct LayoutOffset {
  int dx = 0, dy = 0;
  bool operator==(const LayoutOffset&) const = default;
};

struct PlacedRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PlacedRect&) const = default;
};

// Where an element goes: in the base window 30 higher, and moved by minus the layout offset.
PlacedRect placeElement(const LayoutElement& element, bool inBaseWindow, LayoutOffset offset);

// The scroll range of the base window: (max(0, 1272 - w), max(0, 1020 - h)).
LayoutOffset baseScrollRange(int screenWidth, int screenHeight);

// A screen that is neither wider than 1280 nor higher than 1024, and not exactly that size,
// carries the layout in the scrolling base window, unless LockDisplayPosition is on.
bool usesBaseWindow(int screenWidth, int screenHeight, bool lockDisplayPosition);

// The main window's rectangle at start-up. On a screen wider than 1280 or higher than 1024 the
// saved rectangle is used with a width of at least 1280 and a height of at least 1024 (and at
// most the screen's size where that is larger), and an x or y outside 0 .. screen size - 64
// becomes 0. On a smaller screen it is (0, 0, 1280, 1024).
persist::WindowRectangle restoredWindowRect(const persist::WindowRectangle& saved, int screenWidth,
                                            int screenHeight);

// The rectangle saved at shutdown: on a large screen the current one when its left and top are
// not negative (nullopt: keep what was saved before); on a smaller screen (0, 0, 1280, 1024).
std::optional<persist::WindowRectangle> savedWindowRect(const persist::WindowRectangle& current,
                                                        int screenWidth, int screenHeight);

// The offset a corner button (40107-40110) sets: (0, 0), (range x, 0), (0, range y) or
// (range x, range y); nullopt for any other identifier.
std::optional<LayoutOffset> layoutOffsetOfCommand(int id, LayoutOffset range);

// An offset brought into 0 .. range on both axes (grab scrolling of the panes).
LayoutOffset clampLayoutOffset(LayoutOffset offset, LayoutOffset range);

}  // namespace vemla
