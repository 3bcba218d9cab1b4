#pragma once
// The profile tool's mathematics: where the samples of a profile lie in the 512 x 512 pane
// views, where a value is plotted in the 492 x 160 graph, the automatic grey range, the grid
// lines and the read-out texts.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/line_entry.h"

namespace vemla::tools {

inline constexpr int kProfileViewSize = 512;
inline constexpr int kPlotLeft = 6, kPlotTop = 24;
inline constexpr int kPlotWidth = 492, kPlotHeight = 160;
inline constexpr int kProfileFirstViewPixel = 10;  // X and Y read view pixels 10..501

enum class ProfileDirection : int { X = 0, Y = 1, Arbitrary = 2 };

// The view points of a profile. X: the cursor's view row, columns 10..501; Y: the cursor's
// view column, rows 10..501; none when the cursor's row or column is outside the view. Arbitrary:
// from `from` towards `to`, n = min(492, max(|dx|, |dy|)) points, the end excluded; point k lies k
// pixels along the longer axis and (k x d) / |D| across (integer division, d the shorter
// difference, D the longer). A segment of zero length has no points.
std::vector<ViewPoint> profilePoints(ProfileDirection direction, ViewPoint cursor,
                                     ViewPoint from = {}, ViewPoint to = {});

struct Profile {
  std::vector<std::uint8_t> values;
  std::optional<int> max, min;  // none for a profile without samples
};
// The values of `view` (512 x 512, rows top-down) at `points`, which lie inside it.
Profile sampleProfile(const std::uint8_t* view, const std::vector<ViewPoint>& points);

// The graph row of value v for the range lower..upper (lower < upper): values above the range
// sit on the top edge, values below it on the bottom edge.
int plotRow(int value, int lower, int upper);

struct GreyRange {
  int lower = 0, upper = 255, step = 1;
  bool operator==(const GreyRange&) const = default;
};
// "自動": upper = max + 5 raised to the next multiple of 5 above it (a multiple of 5 gains 5),
// lower = min - 5 rounded down to a multiple of 5, then limited to 0 <= lower < upper <= 255;
// the grey grid step is (upper - lower) / 20 + 1, made 5 when 3..5 and 10 when above 5. With a
// profile missing (`max`/`min` none) the range is 0..255.
GreyRange automaticRange(std::optional<int> max, std::optional<int> min);

struct GridLine {
  int at = 0;  // graph row (horizontal lines) or column offset from kPlotLeft (vertical)
  bool heavy = false;
  bool operator==(const GridLine&) const = default;
};
// Horizontal lines every 160 / q pixels up from the bottom, q = (upper - lower) / step; none
// when q < 1 or the spacing would be below one pixel. Every fifth line is heavy.
std::vector<GridLine> horizontalGridLines(int lower, int upper, int step);
// The same for a plot of `height` rows whose top row is `top`.
std::vector<GridLine> horizontalGridLines(int lower, int upper, int step, int top, int height);
// Vertical lines every `spacing` graph pixels (a picture pixel step as the pane shows it),
// starting at offset mod spacing, or a whole spacing when that is 0; none when the spacing is
// below one pixel. Every fifth line is heavy.
std::vector<GridLine> verticalGridLines(double spacing, int offset);

// The length of one profile step in length units, before the pane's magnification: the pixel
// size along X or Y, or along an arbitrary segment its length divided by max(|dx|, |dy|) (one
// step per pixel along the longer axis). Zero for a segment of zero length.
double profileStepLength(ProfileDirection direction, double pixelSizeX, double pixelSizeY,
                         ViewPoint from = {}, ViewPoint to = {});

// Read-out texts: "1：%3d  2：%3d  差：%3d" with both values, else "階調値:%3d"; "距離: %.4f".
// `translated`: in the language in use, as a window shows them; else the system's own words,
// as vemla-cli prints them.
std::string valueReadout(std::optional<int> first, std::optional<int> second,
                         bool translated = false);
std::string distanceReadout(double distance, bool translated = false);

}  // namespace vemla::tools
