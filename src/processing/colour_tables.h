#pragma once
// The colour tables of the image panes: the four base tables, the contrast curve that maps
// grey values into a base table, brightness, range extraction and the index the grid reserves.
// Everything here works on 256 entries and never on image pixels.
#include <array>
#include <cstdint>

#include "picture/palette.h"

namespace vemla {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};
using ColourTable = std::array<Rgb, 256>;

// Colour kinds: the four built-in tables and the user colour tables 0..15 as 16..31.
enum ColourKind : int {
  kColourGrey = 0,        // "ｸﾞﾚｰｽｹｰﾙ"
  kColourStandard = 1,    // "標準ｶﾗｰ"
  kColourDifference = 2,  // "差分ｶﾗｰ"
  kColourOffset = 3,      // "ｵﾌｾｯﾄｶﾗｰ"
  kFirstUserColour = 16,
  kColourKindCount = 32,
};
inline constexpr int kMinIntensity = 1, kMaxIntensity = 16;
inline constexpr int kMinBrightness = 0, kMaxBrightness = 256, kNeutralBrightness = 128;

inline bool isUserColourKind(int kind) {
  return kind >= kFirstUserColour && kind < kColourKindCount;
}
inline bool isColourKind(int kind) {
  return (kind >= 0 && kind <= kColourOffset) || isUserColourKind(kind);
}

// The intensity a colour kind starts with: 8 for "差分ｶﾗｰ", 1 for every other kind.
int defaultIntensity(int colourKind);

// The grey ramp and the three piecewise-linear tables (0..3); any other kind gives the grey ramp.
const ColourTable& baseColourTable(int builtInKind);

// Index n(g) of the base entry shown for grey value g: a logistic curve whose steepness grows
// with the intensity (faster for the difference and offset kinds), scaled so that 0 maps to 0.
// Intensities outside 1..16 are brought into that range.
std::array<std::uint8_t, 256> contrastCurve(int colourKind, int intensity);

// What the colour table of a pane is made from. `base` is the table of the colour kind (the
// user colour table for kinds 16..31); range extraction applies when `rangeOn` and
// upper >= lower.
struct PaneColours {
  ColourTable base = baseColourTable(kColourGrey);
  int colourKind = kColourGrey;
  int intensity = 1;
  int brightness = kNeutralBrightness;
  bool rangeOn = false;
  int lower = 0, upper = 255;
  Rgb rangeColour{};
};

// The base table through the contrast curve, brightened by brightness - 128 (each component
// limited to 0..255), with the range extraction entries replaced by the extraction colour.
ColourTable paneColourTable(const PaneColours& colours);

// The index the grid lines use and the index that the image pixels of that value move to.
struct GridReservation {
  int reserved = 255;
  int substitute = 254;
  bool operator==(const GridReservation&) const = default;
};
// 255 (moved to 254) normally; with range extraction on, the upper bound (moved one below)
// when lower < upper, else 255, or 0 (moved to 1) when the upper bound is 129 or more, so
// that the grid never takes over the extraction colour.
GridReservation gridReservation(bool rangeOn, int lower, int upper);

// A colour option (0x00BBGGRR) as red, green, blue.
constexpr Rgb rgbOfColourRef(std::uint32_t colour) {
  return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>(colour >> 8 & 0xFF),
          static_cast<std::uint8_t>(colour >> 16 & 0xFF)};
}
// 0xFFRRGGBB, the layout of a window-system colour table entry.
constexpr std::uint32_t argbOf(Rgb colour) {
  return 0xFF000000u | static_cast<std::uint32_t>(colour.red) << 16 |
         static_cast<std::uint32_t>(colour.green) << 8 | colour.blue;
}
// The table as a bitmap palette (blue, green, red, 0).
Palette paletteOf(const ColourTable& table);
// A 768-byte user colour table (red, green, blue for grey 0..255).
ColourTable colourTableOf(const std::array<std::uint8_t, 768>& redGreenBlue);

}  // namespace vemla
