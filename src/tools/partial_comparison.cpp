#include "tools/partial_comparison.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "processing/picture_control.h"
#include "text/format.h"
#include "tools/relief.h"

namespace vemla::tools {
namespace {

std::size_t index(int x, int y) {
  return static_cast<std::size_t>(y) * kPartSize + static_cast<std::size_t>(x);
}

int rescaleSteps(int steps, int oldDivision, int newDivision) {
  return newDivision < oldDivision ? steps / (oldDivision / newDivision)
                                   : steps * (newDivision / oldDivision);
}

int rescaleSigned(int units, int oldDivision, int newDivision) {
  const int magnitude = std::abs(units);
  const int whole = magnitude / oldDivision;
  const int steps = rescaleSteps(magnitude % oldDivision, oldDivision, newDivision);
  const int result = whole * newDivision + steps;
  return units < 0 ? -result : result;
}

// The differences inside the margins, row by row without a branch per pixel and in 8- and
// 16-bit lanes so that the compiler can vectorise them: d = |ref - comp| <= 255 and
// e = d (S + 8) / 16 <= 255 x 128 / 16 fit, and the division is a shift as d >= 0.
template <bool kOffset>
void compareRows(const std::uint8_t* reference, const std::uint8_t* comparison, const Margins& m,
                 int factor, PartialDifference& result, int& largest, int& smallest) {
  std::uint8_t* stored = result.stored.data();
  std::uint8_t* shown = result.shown.data();
  const auto scale = static_cast<std::uint16_t>(factor);
  std::uint8_t most = 0, least = 255;
  for (int y = m.top; y < kPartSize - m.bottom; ++y) {
    const std::size_t row = index(0, y);
    for (std::size_t i = row + static_cast<std::size_t>(m.left),
                     end = row + static_cast<std::size_t>(kPartSize - m.right);
         i < end; ++i) {
      const std::uint8_t a = reference[i], b = comparison[i];
      const bool negative = a < b;
      const auto d = static_cast<std::uint8_t>(negative ? b - a : a - b);
      most = std::max(most, d);
      least = std::min(least, d);
      const auto e = static_cast<std::uint16_t>(static_cast<std::uint16_t>(d * scale) >> 4);
      if constexpr (kOffset) {
        // ref - comp + 128 and 128 -/+ e, limited to 0..255.
        stored[i] = static_cast<std::uint8_t>(
            negative ? (d > 128 ? 0 : 128 - d) : std::min<std::uint16_t>(128 + d, 255));
        shown[i] = static_cast<std::uint8_t>(
            negative ? (e > 128 ? 0 : 128 - e) : std::min<std::uint16_t>(128 + e, 255));
      } else {
        stored[i] = d;
        shown[i] = static_cast<std::uint8_t>(std::min<std::uint16_t>(e, 255));
      }
    }
  }
  largest = most;
  smallest = least;
}

}  // namespace

void takePart(Part& part, const std::uint8_t* view, ViewPoint centre, const ColourTable& colours) {
  copyBlock(view, blockOrigin(centre, kPartSize), kPartSize, part.pixels.data());
  part.colours = colours;
  part.taken = true;
}

bool stepShift(PartShift& shift, int dx, int dy, int division) {
  if (division < 1) return false;
  const long long bound = static_cast<long long>(kMaxPartShift) * division;
  const long long x = static_cast<long long>(shift.x) + dx, y = static_cast<long long>(shift.y) + dy;
  if (x < -bound || x > bound || y < -bound || y > bound) return false;
  shift = {static_cast<int>(x), static_cast<int>(y)};
  return true;
}

PartShift rescaledShift(PartShift shift, int oldDivision, int newDivision) {
  if (!isAllowedDivision(oldDivision) || !isAllowedDivision(newDivision)) return shift;
  return {rescaleSigned(shift.x, oldDivision, newDivision),
          rescaleSigned(shift.y, oldDivision, newDivision)};
}

std::string shiftText(int steps, int division, bool vertical) {
  if (steps == 0 || division < 1) return vertical ? "(y) 0+0" : "(x) 0+0";
  const char* arrow = vertical ? (steps < 0 ? "↑" : "↓") : (steps < 0 ? "←" : "→");
  const int magnitude = std::abs(steps);
  return text::format("%s%d+%d/%d", arrow, magnitude / division, magnitude % division, division);
}

ShiftAmount shiftAmountOf(PartShift shift, int division) {
  ShiftAmount amount;
  const int x = std::abs(shift.x), y = std::abs(shift.y);
  amount.xNegative = shift.x > 0;  // shiftPicture moves the content right for a negative shift
  amount.wholeX = x / division;
  amount.stepsX = x % division;
  amount.yNegative = shift.y > 0;
  amount.wholeY = y / division;
  amount.stepsY = y % division;
  return amount;
}

Margins differenceMargins(PartShift shift, int division) {
  if ((shift.x == 0 && shift.y == 0) || division < 1) return {};
  const auto limit = [](int width) { return std::min(width, kPartSize); };
  const int wholeX = std::abs(shift.x) / division, wholeY = std::abs(shift.y) / division;
  Margins margins{kDifferenceMargin, kDifferenceMargin, kDifferenceMargin, kDifferenceMargin};
  // Moved right: the left edge is where it came from; moved left: the right edge.
  (shift.x > 0 ? margins.left : margins.right) += wholeX;
  (shift.y > 0 ? margins.top : margins.bottom) += wholeY;
  return {limit(margins.left), limit(margins.top), limit(margins.right), limit(margins.bottom)};
}

void compareParts(const Part& reference, const Part& comparison, const PartialRequest& request,
                  PartialDifference& result, PartialWork& work) {
  const int division = isAllowedDivision(request.division) ? request.division : 16;
  work.shifted.resize(kPartPixels);
  const bool shifted = request.shift.x != 0 || request.shift.y != 0;
  if (shifted && comparison.taken) {
    work.scratch.resize(shiftScratchSize(kPartSize));
    shiftPicture(comparison.pixels.data(), kPartSize, kPartSize, division, request.interpolation,
                 shiftAmountOf(request.shift, division), work.shifted.data(),
                 work.scratch.data());
  } else {
    std::memcpy(work.shifted.data(), comparison.pixels.data(), kPartPixels);
  }

  const bool offset = request.mode == DifferenceMode::Offset;
  const auto outsideValue = static_cast<std::uint8_t>(offset ? 128 : 0);
  std::fill(result.stored.begin(), result.stored.end(), outsideValue);
  std::fill(result.shown.begin(), result.shown.end(), outsideValue);
  result.margins = differenceMargins(request.shift, division);
  result.max.reset();
  result.min.reset();
  if (!reference.taken && !comparison.taken) return;

  const Margins& m = result.margins;
  const int factor = std::clamp(request.strength, 0, kMaxStrength) + 8;
  int largest = -1, smallest = 256;
  const bool any = m.left + m.right < kPartSize && m.top + m.bottom < kPartSize;
  if (any) {
    if (offset) {
      compareRows<true>(reference.pixels.data(), work.shifted.data(), m, factor, result, largest,
                        smallest);
    } else {
      compareRows<false>(reference.pixels.data(), work.shifted.data(), m, factor, result, largest,
                         smallest);
    }
    result.max = largest;
    result.min = smallest;
  }
}

ColourTable differenceTable(bool colourDisplay, const ColourTable& kindTable, int brightness) {
  return brightenedTable(colourDisplay ? kindTable : baseColourTable(kColourGrey), brightness);
}

std::array<std::string, kReadoutSpan> readoutRows(const std::uint8_t* part, ViewPoint position) {
  std::array<std::string, kReadoutSpan> rows;
  const int half = kReadoutSpan / 2;
  for (int r = 0; r < kReadoutSpan; ++r) {
    const int y = position.y - half + r;
    for (int c = 0; c < kReadoutSpan; ++c) {
      const int x = position.x - half + c;
      if (x < 0 || y < 0 || x >= kPartSize || y >= kPartSize) {
        rows[static_cast<std::size_t>(r)] += " ---";
      } else {
        rows[static_cast<std::size_t>(r)] += text::format(" %3d", part[index(x, y)]);
      }
    }
  }
  return rows;
}

GreyBounds limitedBounds(int lower, int upper) {
  lower = std::clamp(lower, 0, 254);
  upper = std::clamp(upper, lower + 1, 255);
  return {lower, upper};
}

int partialPlotRow(int value, GreyBounds bounds) {
  bounds = limitedBounds(bounds.lower, bounds.upper);
  const int range = bounds.upper - bounds.lower;
  const int above = std::min(range, std::max(0, value - bounds.lower));
  return kPartialPlotTop + (range - above) * kPartialPlotHeight / range;
}

std::vector<GridLine> partialHorizontalLines(GreyBounds bounds, int greyStep) {
  bounds = limitedBounds(bounds.lower, bounds.upper);
  return horizontalGridLines(bounds.lower, bounds.upper, greyStep, kPartialPlotTop,
                             kPartialPlotHeight);
}

std::vector<GridLine> partialVerticalLines(int pixelStep) {
  std::vector<GridLine> lines;
  if (pixelStep < 1) return lines;
  int k = 1;
  for (int at = pixelStep; at < kPartialPlotWidth; at += pixelStep, ++k)
    lines.push_back({at, k % 5 == 0});
  return lines;
}

std::vector<std::uint8_t> partLine(const std::uint8_t* part, ViewPoint position, bool column) {
  std::vector<std::uint8_t> line(kPartSize);
  const int x = std::clamp(position.x, 0, kPartSize - 1), y = std::clamp(position.y, 0, kPartSize - 1);
  for (int i = 0; i < kPartSize; ++i) line[static_cast<std::size_t>(i)] = column ? part[index(x, i)] : part[index(i, y)];
  return line;
}

void takeTickedParts(PartialState& state, const std::uint8_t* view, ViewPoint centre,
                     const ColourTable& colours) {
  if (state.takingReference) takePart(state.reference, view, centre, colours);
  if (state.takingComparison) {
    takePart(state.comparison, view, centre, colours);
    state.shift = {};
  }
}

bool pressShiftButton(PartialState& state, ShiftButton button, int division) {
  if (!state.comparison.taken || state.takingComparison) return false;
  switch (button) {
    case ShiftButton::Left:
      return stepShift(state.shift, -1, 0, division);
    case ShiftButton::Right:
      return stepShift(state.shift, 1, 0, division);
    case ShiftButton::Up:
      return stepShift(state.shift, 0, -1, division);
    case ShiftButton::Down:
      return stepShift(state.shift, 0, 1, division);
    case ShiftButton::Clear:
      state.shift = {};
      return true;
  }
  return false;
}

void refreshDifference(PartialState& state, int division, int interpolation) {
  state.request.shift = state.shift;
  state.request.division = division;
  state.request.interpolation = interpolation;
  compareParts(state.reference, state.comparison, state.request, state.difference, state.work);
}

}  // namespace vemla::tools
