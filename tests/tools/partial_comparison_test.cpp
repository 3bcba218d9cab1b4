// The partial comparison: differences and their extremes, the shift (texts, bound, unit
// change, buttons), the margins and the read-out bounds.
#include <gtest/gtest.h>

#include <vector>

#include "tools/partial_comparison.h"

namespace vemla::tools {
namespace {

Part flatPart(std::uint8_t grey) {
  Part part;
  part.pixels.assign(kPartPixels, grey);
  part.taken = true;
  return part;
}

struct Compared {
  PartialDifference result;
  PartialWork work;
};

Compared compare(const Part& reference, const Part& comparison, PartialRequest request) {
  Compared compared;
  compareParts(reference, comparison, request, compared.result, compared.work);
  return compared;
}

TEST(PartialComparison, DifferencesOfFlatParts) {
  struct Case {
    std::uint8_t reference, comparison;
    DifferenceMode mode;
    int strength;
    int stored, shown, max;
  };
  const Case cases[] = {
      {90, 90, DifferenceMode::Grey, 8, 0, 0, 0},
      {90, 90, DifferenceMode::Offset, 8, 128, 128, 0},
      {200, 100, DifferenceMode::Grey, 8, 100, 100, 100},
      {200, 100, DifferenceMode::Offset, 8, 228, 228, 100},
      {200, 100, DifferenceMode::Grey, 24, 100, 200, 100},     // 100 x 32 / 16
      {200, 100, DifferenceMode::Offset, 24, 228, 255, 100},   // 128 + 200, limited
      {100, 200, DifferenceMode::Offset, 24, 28, 0, 100},      // 128 - 200, limited
      {0, 255, DifferenceMode::Offset, 0, 0, 1, 255},          // -255 + 128 limited; 128 - 127
  };
  for (const Case& c : cases) {
    PartialRequest request;
    request.mode = c.mode;
    request.strength = c.strength;
    const Compared compared = compare(flatPart(c.reference), flatPart(c.comparison), request);
    const auto& result = compared.result;
    EXPECT_EQ(result.margins, Margins{});
    EXPECT_EQ(result.stored[0], c.stored) << int(c.reference) << " " << int(c.comparison);
    EXPECT_EQ(result.stored[kPartPixels - 1], c.stored);
    EXPECT_EQ(result.shown[kPartPixels / 2], c.shown);
    EXPECT_EQ(result.max, c.max);
    EXPECT_EQ(result.min, c.max);
  }
}

TEST(PartialComparison, ShiftTexts) {
  EXPECT_EQ(shiftText(-5, 4, false), "←1+1/4");
  EXPECT_EQ(shiftText(6, 4, true), "↓1+2/4");
  EXPECT_EQ(shiftText(-8, 16, true), "↑0+8/16");
  EXPECT_EQ(shiftText(0, 4, false), "(x) 0+0");
  EXPECT_EQ(shiftText(0, 4, true), "(y) 0+0");
}

TEST(PartialComparison, MarginsFollowTheShift) {
  // (+1.5, -0.25) at 1/4: moved right by one whole pixel (from the left), up by none.
  EXPECT_EQ(differenceMargins({6, -1}, 4), (Margins{4, 3, 3, 3}));
  EXPECT_EQ(differenceMargins({-9, 12}, 4), (Margins{3, 6, 5, 3}));
  EXPECT_EQ(differenceMargins({0, 0}, 4), Margins{});
  EXPECT_EQ(differenceMargins({168 * 4, 0}, 4), (Margins{168, 3, 3, 3}));
}

TEST(PartialComparison, ShiftedPartCancelsAMovedReference) {
  // The reference is the comparison moved right by one pixel; shifting the comparison right
  // by one pixel leaves no difference inside the margins, and the margins hold 0.
  Part comparison = flatPart(0), reference = flatPart(0);
  for (int y = 0; y < kPartSize; ++y) {
    for (int x = 0; x < kPartSize; ++x) {
      const auto value = static_cast<std::uint8_t>((x * 13 + y * 7) % 251);
      comparison.pixels[static_cast<std::size_t>(y * kPartSize + x)] = value;
      if (x + 1 < kPartSize) reference.pixels[static_cast<std::size_t>(y * kPartSize + x + 1)] = value;
    }
  }
  for (const int interpolation : {kShiftLinear, kShiftCubic}) {
    PartialRequest request;
    request.division = 4;
    request.interpolation = interpolation;
    request.shift = {4, 0};
    const Compared compared = compare(reference, comparison, request);
    EXPECT_EQ(compared.result.margins, (Margins{4, 3, 3, 3}));
    EXPECT_EQ(compared.result.max, 0) << interpolation;
    EXPECT_EQ(compared.result.min, 0);
  }
}

TEST(PartialComparison, NothingInsideLeavesTheExtremesEmpty) {
  PartialRequest request;
  request.division = 2;
  request.shift = {2 * 165, 0};  // 3 + 165 on the left, 3 on the right: no column inside
  request.mode = DifferenceMode::Offset;
  const Compared compared = compare(flatPart(10), flatPart(20), request);
  EXPECT_FALSE(compared.result.max.has_value());
  EXPECT_FALSE(compared.result.min.has_value());
  EXPECT_EQ(compared.result.shown[kPartPixels / 2], 128);
  // Neither part taken: nothing is compared.
  const Compared untaken = compare(Part{}, Part{}, PartialRequest{});
  EXPECT_FALSE(untaken.result.max.has_value());
}

TEST(PartialComparison, ShiftButtonsBoundsAndUnitChange) {
  PartialState state;
  EXPECT_FALSE(pressShiftButton(state, ShiftButton::Left, 4));  // nothing taken yet
  const std::vector<std::uint8_t> view(kViewSize * kViewSize, 7);
  state.takingComparison = true;
  takeTickedParts(state, view.data(), {256, 256}, baseColourTable(kColourGrey));
  EXPECT_FALSE(pressShiftButton(state, ShiftButton::Left, 4));  // still taking
  state.takingComparison = false;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(pressShiftButton(state, ShiftButton::Left, 4));
  EXPECT_TRUE(pressShiftButton(state, ShiftButton::Down, 4));
  EXPECT_EQ(state.shift, (PartShift{-5, 1}));
  // A unit four times finer keeps the amount; back to 1/4 it is the same again, and a coarser
  // unit truncates the sub-steps as the manual shift does.
  EXPECT_EQ(rescaledShift(state.shift, 4, 16), (PartShift{-20, 4}));
  EXPECT_EQ(rescaledShift({-20, 4}, 16, 4), (PartShift{-5, 1}));
  EXPECT_EQ(rescaledShift({-23, 7}, 16, 2), (PartShift{-2, 0}));
  // The bound: 168 pixels either way, further presses do nothing.
  state.shift = {-168 * 4, 0};
  EXPECT_FALSE(pressShiftButton(state, ShiftButton::Left, 4));
  EXPECT_EQ(state.shift, (PartShift{-168 * 4, 0}));
  // A new take clears the shift; the reference take does not.
  state.takingReference = true;
  takeTickedParts(state, view.data(), {256, 256}, baseColourTable(kColourGrey));
  EXPECT_EQ(state.shift.x, -168 * 4);
  state.takingComparison = true;
  takeTickedParts(state, view.data(), {0, 0}, baseColourTable(kColourGrey));
  EXPECT_EQ(state.shift, PartShift{});
}

TEST(PartialComparison, ReadoutValuesAndBounds) {
  Part part = flatPart(0);
  part.pixels[0] = 9;
  const auto rows = readoutRows(part.pixels.data(), {1, 1});
  EXPECT_EQ(rows[0], " --- --- --- --- --- --- ---");
  EXPECT_EQ(rows[2], " --- ---   9   0   0   0   0");
  // Bounds stay 0 <= lower < upper <= 255 so that the mapping never divides by zero.
  EXPECT_EQ(limitedBounds(255, 255), (GreyBounds{254, 255}));
  EXPECT_EQ(limitedBounds(40, 40), (GreyBounds{40, 41}));
  EXPECT_EQ(partialPlotRow(41, {40, 40}), kPartialPlotTop);
  EXPECT_EQ(partialPlotRow(0, {40, 41}), kPartialPlotTop + kPartialPlotHeight);
  EXPECT_TRUE(partialHorizontalLines({0, 255}, 0).empty());
  EXPECT_TRUE(partialHorizontalLines({0, 255}, 1).empty());  // spacing 90 / 255 below a pixel
  EXPECT_EQ(partialHorizontalLines({0, 200}, 20).size(), 9u);  // every 9 rows
  EXPECT_TRUE(partialVerticalLines(0).empty());
}

}  // namespace
}  // namespace vemla::tools
