#include "processing/colour_tables.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "processing/shift.h"

namespace vemla {
namespace {

struct Knot {
  int index;
  Rgb colour;
};

// The knots of the colour tables; entries between two knots are interpolated linearly.
constexpr Knot kStandardKnots[] = {
    {0, {0, 0, 128}},       {32, {0, 0, 255}},    {96, {0, 255, 255}},  {128, {0, 255, 0}},
    {160, {255, 255, 255}}, {224, {255, 255, 0}}, {255, {255, 128, 0}},
};
constexpr Knot kDifferenceKnots[] = {
    {0, {0, 0, 0}},         {16, {0, 0, 255}},    {64, {0, 255, 255}},
    {128, {255, 255, 255}}, {192, {255, 255, 0}}, {255, {255, 0, 0}},
};
constexpr Knot kOffsetKnots[] = {
    {0, {255, 255, 0}},     {96, {0, 0, 0}},      {128, {0, 0, 128}},
    {160, {255, 255, 255}}, {255, {255, 255, 0}},
};

// a + (b - a) * step / span rounded to the nearest integer, halves up: floor((2 num + span) /
// (2 span)) with a floor division, since num is negative on falling segments.
std::uint8_t between(int a, int b, int step, int span) {
  return static_cast<std::uint8_t>(a + floorDiv(2 * (b - a) * step + span, 2 * span));
}

ColourTable fromKnots(std::span<const Knot> knots) {
  ColourTable table{};
  for (std::size_t k = 0; k + 1 < knots.size(); ++k) {
    const Knot& from = knots[k];
    const Knot& to = knots[k + 1];
    const int span = to.index - from.index;
    for (int i = from.index; i <= to.index; ++i) {
      const int step = i - from.index;
      table[static_cast<std::size_t>(i)] = {between(from.colour.red, to.colour.red, step, span),
                                            between(from.colour.green, to.colour.green, step, span),
                                            between(from.colour.blue, to.colour.blue, step, span)};
    }
  }
  return table;
}

ColourTable greyTable() {
  ColourTable table{};
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    table[static_cast<std::size_t>(i)] = {v, v, v};
  }
  return table;
}

std::uint8_t brightened(std::uint8_t component, int change) {
  return static_cast<std::uint8_t>(std::clamp(component + change, 0, 255));
}

}  // namespace

int defaultIntensity(int colourKind) {
  return colourKind == kColourDifference ? 8 : 1;
}

const ColourTable& baseColourTable(int builtInKind) {
  static const std::array<ColourTable, 4> tables{
      greyTable(), fromKnots(kStandardKnots), fromKnots(kDifferenceKnots), fromKnots(kOffsetKnots)};
  if (builtInKind < 0 || builtInKind > kColourOffset) return tables[0];
  return tables[static_cast<std::size_t>(builtInKind)];
}

std::array<std::uint8_t, 256> contrastCurve(int colourKind, int intensity) {
  const int steps = std::clamp(intensity, kMinIntensity, kMaxIntensity);
  const bool differenceKind = colourKind == kColourDifference || colourKind == kColourOffset;
  const double s = differenceKind ? 0.01 + 0.002 * (steps - 1) : 0.01 * steps;
  const auto sigmoid = [](double t) { return 1.0 / (1.0 + std::exp(-t)); };
  const double low = sigmoid(-128 * s);
  const double high = sigmoid(128 * s);
  std::array<std::uint8_t, 256> curve{};
  for (int g = 0; g < 256; ++g) {
    const double n = 255 * (sigmoid(s * (g - 128)) - low) / (high - low) + 0.5;
    curve[static_cast<std::size_t>(g)] = static_cast<std::uint8_t>(std::clamp(n, 0.0, 255.0));
  }
  return curve;
}

ColourTable paneColourTable(const PaneColours& colours) {
  const ColourTable& base = colours.base;
  const std::array<std::uint8_t, 256> curve = contrastCurve(colours.colourKind, colours.intensity);
  const int change =
      std::clamp(colours.brightness, kMinBrightness, kMaxBrightness) - kNeutralBrightness;
  ColourTable table{};
  for (std::size_t g = 0; g < 256; ++g) {
    const Rgb entry = base[curve[g]];
    table[g] = {brightened(entry.red, change), brightened(entry.green, change),
                brightened(entry.blue, change)};
  }
  if (colours.rangeOn && colours.upper >= colours.lower) {
    const int lower = std::clamp(colours.lower, 0, 255), upper = std::clamp(colours.upper, 0, 255);
    for (int g = lower; g <= upper; ++g) table[static_cast<std::size_t>(g)] = colours.rangeColour;
  }
  return table;
}

GridReservation gridReservation(bool rangeOn, int lower, int upper) {
  if (!rangeOn) return {255, 254};
  if (lower < upper) {
    const int reserved = std::clamp(upper, 1, 255);
    return {reserved, reserved - 1};
  }
  return upper >= 129 ? GridReservation{0, 1} : GridReservation{255, 254};
}

Palette paletteOf(const ColourTable& table) {
  Palette palette{};
  for (std::size_t i = 0; i < 256; ++i) {
    palette[4 * i] = table[i].blue;
    palette[4 * i + 1] = table[i].green;
    palette[4 * i + 2] = table[i].red;
    palette[4 * i + 3] = 0;
  }
  return palette;
}

ColourTable colourTableOf(const std::array<std::uint8_t, 768>& redGreenBlue) {
  ColourTable table{};
  for (std::size_t i = 0; i < 256; ++i) {
    table[i] = {redGreenBlue[3 * i], redGreenBlue[3 * i + 1], redGreenBlue[3 * i + 2]};
  }
  return table;
}

}  // namespace vemla
