#pragma once
// The partial comparison tool's mathematics: taking a 168 x 168 part of a pane view with its
// colour table, the sub-pixel shift of the comparison part (bounded, rescaled when the unit
// changes), the margins, the stored and shown differences with their extremes, the colour
// table of the difference image, the shift texts and the read-out.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "processing/colour_tables.h"
#include "processing/shift.h"
#include "processing/view_rendering.h"
#include "tools/profile.h"

namespace vemla::tools {

inline constexpr int kPartSize = 168;
inline constexpr int kPartPixels = kPartSize * kPartSize;
inline constexpr int kMaxPartShift = 168;  // pixels, either way
inline constexpr int kDifferenceMargin = 3;
inline constexpr int kNeutralStrength = 8, kMaxStrength = 120;
inline constexpr int kNeutralDifferenceBrightness = 128, kMaxDifferenceBrightness = 256;

// A part never taken is black with the grey table.
struct Part {
  std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kPartPixels, 0);
  ColourTable colours = baseColourTable(kColourGrey);
  bool taken = false;
};
// Copies the 168 x 168 block of a 512 x 512 view around `centre` (kept inside the view) and
// the view's colour table into `part`.
void takePart(Part& part, const std::uint8_t* view, ViewPoint centre, const ColourTable& colours);

// The comparison part's shift in 1/n pixel: x positive to the right, y positive downwards.
struct PartShift {
  int x = 0, y = 0;
  bool operator==(const PartShift&) const = default;
};
// Adds (dx, dy) units; does nothing (false) when the result would pass 168 pixels either way.
bool stepShift(PartShift& shift, int dx, int dy, int division);
// The shift counted in a new unit: the whole pixels kept, the sub-steps rescaled as the
// manual shift's are (truncated when the unit grows coarser).
PartShift rescaledShift(PartShift shift, int oldDivision, int newDivision);
// "%s%d+%d/%d" with "←"/"→" (x) or "↑"/"↓" (y); "(x) 0+0" or "(y) 0+0" for no shift.
std::string shiftText(int steps, int division, bool vertical);
// The shift as shiftPicture takes it.
ShiftAmount shiftAmountOf(PartShift shift, int division);

// Widths outside which no difference is computed: 3 pixels plus the whole shift on the side
// the part moved from, 3 on the other side; none when both shifts are 0. Each at most 168.
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Margins&) const = default;
};
Margins differenceMargins(PartShift shift, int division);

enum class DifferenceMode : int { Grey = 0, Offset = 1 };  // "階調差", "ｵﾌｾｯﾄ差"

struct PartialDifference {
  std::vector<std::uint8_t> stored = std::vector<std::uint8_t>(kPartPixels, 0);
  std::vector<std::uint8_t> shown = std::vector<std::uint8_t>(kPartPixels, 0);
  Margins margins;
  std::optional<int> max, min;  // "Max", "Min": none with no pixel inside
};

struct PartialRequest {
  PartShift shift;
  int division = 16;
  int interpolation = kShiftCubic;
  DifferenceMode mode = DifferenceMode::Grey;
  int strength = kNeutralStrength;  // "差の強度", 0..120
};

// Work memory of compareParts, kept between refreshes.
struct PartialWork {
  std::vector<std::uint8_t> shifted;
  std::vector<std::int32_t> scratch;
};

// The shifted comparison part (the part itself when both shifts are 0; shifting a part never
// taken is skipped) and the differences against the reference part inside the margins:
// stored d = |ref - comp| (grey) or ref - comp + 128 limited (offset); shown e = d (S + 8) / 16,
// 128 -/+ e in offset mode, limited to 0..255; 0 or 128 outside the margins, and everywhere
// while neither part has been taken.
void compareParts(const Part& reference, const Part& comparison, const PartialRequest& request,
                  PartialDifference& result, PartialWork& work);
// The shifted comparison part that compareParts compared (valid after a call).
inline const std::uint8_t* shiftedComparison(const PartialWork& work) {
  return work.shifted.data();
}

// The difference image's table: the grey table, or with "ｶﾗｰ表示" `kindTable` (the colour the
// image control keeps for "階調差" or "ｵﾌｾｯﾄ差"), then brightness - 128 on each component.
ColourTable differenceTable(bool colourDisplay, const ColourTable& kindTable, int brightness);

// The 7 x 7 values around `position` of a part, one text per row: " %3d", " ---" outside.
inline constexpr int kReadoutSpan = 7;
std::array<std::string, kReadoutSpan> readoutRows(const std::uint8_t* part, ViewPoint position);

// The read-out profile's plot area and its vertical mapping.
inline constexpr int kPartialPlotLeft = 169, kPartialPlotTop = 192;
inline constexpr int kPartialPlotWidth = 168, kPartialPlotHeight = 90;
// The bounds kept at 0 <= lower < upper <= 255 (a lower bound of 255 drops to 254; an upper
// bound at or below the lower one becomes lower + 1).
struct GreyBounds {
  int lower = 0, upper = 255;
  bool operator==(const GreyBounds&) const = default;
};
GreyBounds limitedBounds(int lower, int upper);
// The plot row of v: values above the bounds on the top edge, below them on the bottom edge.
int partialPlotRow(int value, GreyBounds bounds);
// The grid: horizontal lines every `PartialCompareGridY` grey levels, vertical lines every
// `PartialCompareGridX` pixels, by the profile's guarded rules (no line at a spacing below one
// pixel). Rows are plot rows; columns are offsets from kPartialPlotLeft.
std::vector<GridLine> partialHorizontalLines(GreyBounds bounds, int greyStep);
std::vector<GridLine> partialVerticalLines(int pixelStep);
// The 168 values of the row (`column` false) or column through `position` of a part.
std::vector<std::uint8_t> partLine(const std::uint8_t* part, ViewPoint position, bool column);

// What the tool keeps between refreshes.
struct PartialState {
  Part reference, comparison;
  bool takingReference = false, takingComparison = false;  // the two "取り込み" boxes
  PartShift shift;
  PartialRequest request;  // its shift is set from `shift` on every refresh
  bool colourDisplay = false;
  int brightness = kNeutralDifferenceBrightness;  // "表示輝度"
  PartialDifference difference;
  PartialWork work;
};
// Takes the ticked parts from a view; taking the comparison part clears the shift.
void takeTickedParts(PartialState& state, const std::uint8_t* view, ViewPoint centre,
                     const ColourTable& colours);
enum class ShiftButton { Left, Right, Up, Down, Clear };
// One sub-pixel unit in the button's direction, or back to no shift; nothing (false) before
// the comparison part has been taken, while it is being taken, or beyond the bound.
bool pressShiftButton(PartialState& state, ShiftButton button, int division);
// The refresh after a take, a shift or a setting: compareParts with the state's shift.
void refreshDifference(PartialState& state, int division, int interpolation);

}  // namespace vemla::tools
