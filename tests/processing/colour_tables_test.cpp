#include "processing/colour_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "processing/pane_painting.h"
#include "processing/view_rendering.h"

namespace vemla {
namespace {

TEST(BaseColourTables, KnotsAndRoundedEntriesBetweenThem) {
  const ColourTable& standard = baseColourTable(kColourStandard);
  EXPECT_EQ(standard[0], (Rgb{0, 0, 128}));
  EXPECT_EQ(standard[16], (Rgb{0, 0, 192}));  // 128 + 127 * 16 / 32 = 191.5, halves up
  EXPECT_EQ(standard[128], (Rgb{0, 255, 0}));
  // Falling green from 255 at 224 to 128 at 255: 255 - 127 * 16 / 31 = 189.45.
  EXPECT_EQ(standard[240], (Rgb{255, 189, 0}));
  EXPECT_EQ(standard[255], (Rgb{255, 128, 0}));
  const ColourTable& offset = baseColourTable(kColourOffset);
  EXPECT_EQ(offset[112], (Rgb{0, 0, 64}));
  // Falling from 255 at 0 to 0 at 96: entry 48 is exactly 127.5, which rounds up.
  EXPECT_EQ(offset[48], (Rgb{128, 128, 0}));
  const ColourTable& difference = baseColourTable(kColourDifference);
  EXPECT_EQ(difference[8], (Rgb{0, 0, 128}));  // 255 * 8 / 16 = 127.5
  EXPECT_EQ(difference[192], (Rgb{255, 255, 0}));
  EXPECT_EQ(baseColourTable(kColourGrey)[77], (Rgb{77, 77, 77}));
}

TEST(ContrastCurve, IntensityOneMapsAsDocumented) {
  const auto curve = contrastCurve(kColourGrey, 1);
  EXPECT_EQ(curve[0], 0);
  EXPECT_EQ(curve[1], 1);
  EXPECT_EQ(curve[64], 58);
  EXPECT_EQ(curve[128], 128);
  EXPECT_EQ(curve[192], 197);
  EXPECT_EQ(curve[254], 253);
  EXPECT_EQ(curve[255], 254);
  // The difference kinds start from the same steepness at intensity 1.
  EXPECT_EQ(contrastCurve(kColourDifference, 1), curve);
}

TEST(ContrastCurve, HighIntensityIsNearlyAStepAndDifferenceKindsRiseSlower) {
  // s = 0.16: 255 (sigma(0.16 (g - 128)) - lo) / (hi - lo) + 0.5 with lo, hi ~ 0, 1.
  const auto steep = contrastCurve(kColourStandard, 16);
  EXPECT_EQ(steep[100], 3);
  EXPECT_EQ(steep[120], 55);
  EXPECT_EQ(steep[136], 200);
  EXPECT_EQ(steep[160], 253);
  // "差分ｶﾗｰ" at intensity 8: s = 0.01 + 0.002 * 7 = 0.024; g = 64 gives 37.16 + 0.5.
  EXPECT_EQ(contrastCurve(kColourDifference, 8)[64], 37);
  EXPECT_EQ(contrastCurve(kColourOffset, 8)[200], 225);
  // Out-of-range intensities are brought into 1..16.
  EXPECT_EQ(contrastCurve(kColourGrey, 99), steep);
  EXPECT_EQ(contrastCurve(kColourGrey, 0), contrastCurve(kColourGrey, 1));
}

TEST(PaneColourTable, BrightnessShiftsEveryComponentWithinRange) {
  PaneColours colours;
  colours.brightness = 200;  // +72
  const ColourTable table = paneColourTable(colours);
  EXPECT_EQ(table[128], (Rgb{200, 200, 200}));
  EXPECT_EQ(table[255], (Rgb{255, 255, 255}));                  // base entry 254 + 72, limited
  colours.brightness = 0;                                       // -128
  EXPECT_EQ(paneColourTable(colours)[64], (Rgb{0, 0, 0}));      // base 58 - 128
  EXPECT_EQ(paneColourTable(colours)[192], (Rgb{69, 69, 69}));  // 197 - 128
}

TEST(PaneColourTable, RangeExtractionReplacesItsEntriesOnly) {
  PaneColours colours;
  colours.rangeOn = true;
  colours.lower = 10;
  colours.upper = 12;
  colours.rangeColour = {255, 255, 0};
  const ColourTable table = paneColourTable(colours);
  // At intensity 1, n(9) = 7 and n(12) = n(13) = 10 (255 (sigma(-1.19) - lo) / (hi - lo) = 7.09).
  EXPECT_EQ(table[9], (Rgb{7, 7, 7}));
  EXPECT_EQ(table[10], (Rgb{255, 255, 0}));
  EXPECT_EQ(table[12], (Rgb{255, 255, 0}));
  EXPECT_EQ(table[13], (Rgb{10, 10, 10}));
  colours.lower = 20;  // above the upper bound: no extraction
  EXPECT_EQ(paneColourTable(colours)[12], (Rgb{10, 10, 10}));
}

TEST(GridReservation, KeepsClearOfTheExtractionColour) {
  EXPECT_EQ(gridReservation(false, 100, 100), (GridReservation{255, 254}));
  EXPECT_EQ(gridReservation(true, 10, 20), (GridReservation{20, 19}));
  EXPECT_EQ(gridReservation(true, 100, 100), (GridReservation{255, 254}));
  EXPECT_EQ(gridReservation(true, 128, 128), (GridReservation{255, 254}));
  EXPECT_EQ(gridReservation(true, 129, 129), (GridReservation{0, 1}));
  EXPECT_EQ(gridReservation(true, 255, 255), (GridReservation{0, 1}));
}

TEST(ColourConversions, PaletteIsBlueGreenRedAndColourOptionsAreRedFirst) {
  ColourTable table{};
  table[3] = {10, 20, 30};
  const Palette palette = paletteOf(table);
  EXPECT_EQ(palette[12], 30);
  EXPECT_EQ(palette[13], 20);
  EXPECT_EQ(palette[14], 10);
  EXPECT_EQ(palette[15], 0);
  EXPECT_EQ(rgbOfColourRef(0x00FF8001u), (Rgb{1, 128, 255}));
  EXPECT_EQ(argbOf(Rgb{1, 128, 255}), 0xFF0180FFu);
}

// ---- Painting with the grid.

using Raster = std::vector<std::uint8_t>;
constexpr std::size_t kPixels = static_cast<std::size_t>(kViewSize) * kViewSize;

std::vector<int> lineColumns(const Raster& shown, int row, std::uint8_t reserved) {
  std::vector<int> columns;
  for (int u = 0; u < 40; ++u) {
    if (shown[static_cast<std::size_t>(row) * kViewSize + static_cast<std::size_t>(u)] == reserved)
      columns.push_back(u);
  }
  return columns;
}

TEST(PaintPane, GridLinesFollowThePeriodAndMoveWithTheOffset) {
  const Raster view(kPixels, 40);
  Raster shown(kPixels);
  ColourTable table{};
  GridSettings grid{true, 4, 0, 0, {0, 255, 0}};
  const int period = gridPeriod(4, 2, false, 1.0);  // L m = 8
  ASSERT_EQ(period, 8);
  paintPane(view.data(), PaneColours{}, grid, period, shown.data(), table);
  EXPECT_EQ(lineColumns(shown, 3, 255), (std::vector<int>{8, 16, 24, 32}));
  EXPECT_EQ(shown[8 * kViewSize + 5], 255);  // row 8 is a line too
  EXPECT_EQ(shown[0], 40);                   // column 0 and row 0 never are
  EXPECT_EQ(table[255], (Rgb{0, 255, 0}));
  grid.offsetX = 1;  // one press on "left"
  paintPane(view.data(), PaneColours{}, grid, period, shown.data(), table);
  EXPECT_EQ(lineColumns(shown, 3, 255), (std::vector<int>{7, 15, 23, 31, 39}));
  EXPECT_EQ(view, Raster(kPixels, 40));  // drawn on the copy only
}

TEST(PaintPane, PixelsOfTheReservedIndexShowTheMeanOfTheTwoEntries) {
  // Range extraction 100..100: the grid takes 255, image pixels of 255 move to 254.
  Raster view(kPixels, 255);
  view[1] = 100;
  Raster shown(kPixels);
  ColourTable table{};
  PaneColours colours;
  colours.rangeOn = true;
  colours.lower = colours.upper = 100;
  colours.rangeColour = {255, 0, 255};
  paintPane(view.data(), colours, GridSettings{true, 20, 0, 0, {0, 255, 0}}, 20, shown.data(),
            table);
  EXPECT_EQ(shown[0], 254);
  EXPECT_EQ(shown[1], 100);
  // Entry 254 shows base entry 253, entry 255 base entry 254: the mean is 253.
  EXPECT_EQ(table[254], (Rgb{253, 253, 253}));
  EXPECT_EQ(table[255], (Rgb{0, 255, 0}));
  EXPECT_EQ(table[100], (Rgb{255, 0, 255}));
  EXPECT_EQ(shown[20 * kViewSize + 3], 255);
}

TEST(PaintPane, WithoutTheGridTheViewIsShownAsItIs) {
  Raster view(kPixels, 7);
  view[5] = 255;
  Raster shown(kPixels, 0);
  ColourTable table{};
  paintPane(view.data(), PaneColours{}, GridSettings{}, 8, shown.data(), table);
  EXPECT_EQ(shown, view);
}

TEST(GridPeriod, ReducedDisplayDividesByTheRatioAndNeverGoesBelowTwo) {
  EXPECT_EQ(gridPeriod(20, 4, false, 1.0), 80);
  EXPECT_EQ(gridPeriod(10, 1, true, 4.0), 2);    // 2.5 truncated
  EXPECT_EQ(gridPeriod(3, 1, true, 7.8125), 2);  // 0.38, at least 2
  EXPECT_EQ(gridPeriod(1, 1, false, 1.0), 2);
}

TEST(ColourBar, TwoRowsPerValueFromTheTopAndTheCursorMark) {
  const std::vector<std::uint8_t> ramp = colourBarRamp();
  ASSERT_EQ(ramp.size(), 12u * 512u);
  EXPECT_EQ(ramp[0], 255);
  EXPECT_EQ(ramp[12 + 11], 255);  // row 1
  EXPECT_EQ(ramp[2 * 12], 254);
  EXPECT_EQ(ramp[511 * 12 + 5], 0);
  EXPECT_EQ(colourBarCursorRow(0), 510);
  EXPECT_EQ(colourBarCursorRow(200), 110);
  EXPECT_EQ(colourBarCursorRow(255), 1);  // at least 1
}

}  // namespace
}  // namespace vemla
