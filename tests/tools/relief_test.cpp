// The relief: the limits of its fields, the projection, what each mode draws on flat blocks,
// and that no setting writes outside the raster.
#include "tools/relief.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "text/translate.h"

namespace vemla::tools {
namespace {

std::vector<std::uint8_t> flatBlock(int size, std::uint8_t grey) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(size * size), grey);
}

// A raster with guard bytes before and after it, to see writes outside it.
struct GuardedRaster {
  static constexpr std::size_t kGuard = 4096;
  static constexpr std::uint8_t kMark = 0xA5;
  GuardedRaster(int width, int height)
      : width(width), height(height),
        memory(static_cast<std::size_t>(width * height) + 2 * kGuard, kMark) {}
  ReliefRaster raster() { return {memory.data() + kGuard, width, height}; }
  std::uint8_t at(int x, int y) const {
    return memory[kGuard + static_cast<std::size_t>(y * width + x)];
  }
  bool guardsIntact() const {
    const auto end = memory.end() - static_cast<std::ptrdiff_t>(kGuard);
    return std::all_of(memory.begin(), memory.begin() + kGuard, [](auto b) { return b == kMark; }) &&
           std::all_of(end, memory.end(), [](auto b) { return b == kMark; });
  }
  // The rows holding any non-black pixel.
  std::vector<int> litRows() const {
    std::vector<int> rows;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (at(x, y) != 0) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  }
  int width, height;
  std::vector<std::uint8_t> memory;
};

ReliefSettings settingsOf(ReliefMode mode, int angleX, int angleZ) {
  ReliefSettings settings;
  settings.mode = mode;
  settings.angleX = angleX;
  settings.angleZ = angleZ;
  settings.wireWidth = settings.polygonWidth = 3;
  return settings;
}

TEST(Relief, FieldsAreBroughtIntoTheirRanges) {
  ReliefSettings wild;
  wild.angleX = 400;
  wild.angleZ = 120;
  wild.depth = 9999;
  wild.wireWidth = 1;
  ReliefSettings limited = limitedReliefSettings(wild);
  EXPECT_EQ(limited.angleX, 359);
  EXPECT_EQ(limited.angleZ, 90);
  EXPECT_EQ(limited.depth, 512);
  EXPECT_EQ(limited.wireWidth, 3);
  wild.angleX = -5;
  wild.angleZ = -5;
  limited = limitedReliefSettings(wild);
  EXPECT_EQ(limited.angleX, 0);
  EXPECT_EQ(limited.angleZ, 0);
}

TEST(Relief, BlockIsCentredOnTheCursorAndKeptInTheView) {
  EXPECT_EQ(blockOrigin({256, 256}, 256), (ViewPoint{128, 128}));
  EXPECT_EQ(blockOrigin({10, 500}, 256), (ViewPoint{0, 256}));
  EXPECT_EQ(blockOrigin({511, 0}, 168), (ViewPoint{344, 0}));
}

TEST(Relief, LuminanceShiftsEveryComponent) {
  ColourTable table{};
  table[0] = {0, 100, 200};
  table[1] = {255, 128, 1};
  EXPECT_EQ(brightenedTable(table, 128), table);
  const ColourTable bright = brightenedTable(table, 255);
  EXPECT_EQ(bright[0], (Rgb{127, 227, 255}));
  EXPECT_EQ(bright[1], (Rgb{255, 255, 128}));
  EXPECT_EQ(brightenedTable(table, 0)[1], (Rgb{127, 0, 0}));
}

TEST(Relief, QuarterTurnFromAboveRotatesExactly) {
  // X 90, Z 0, depth 256, ratio 0: s = 256, c = 0, hs = 0, hc = 256, so (u, v) -> (-v, u)
  // about the centre whatever the grey value.
  const Projection p = makeProjection(90, 0, 256, 0, 80, kReliefWidth, kReliefHeight);
  const int points[][3] = {{0, 0, 0}, {5, -3, 255}, {-128, 127, 17}, {127, -128, 200}};
  for (const auto& [u, v, g] : points) {
    const ViewPoint at = project(p, u, v, g);
    EXPECT_EQ(at.x - kReliefWidth / 2, -v) << u << "," << v;
    EXPECT_EQ(at.y - kReliefHeight / 2, u) << u << "," << v;
  }
}

TEST(Relief, FlatBlockFromAboveIsItsSquare) {
  // Z 0 at X 0: x' = 168 + u, y' = 143 + v, so the block covers columns 40..295, rows 15..270;
  // the cells' fill leaves out the bottom row of the lowest cells, as the scanline rule does.
  const auto block = flatBlock(kReliefBlockSize, 100);
  for (const ReliefMode mode : {ReliefMode::Surface, ReliefMode::Polygon}) {
    const int bottom = mode == ReliefMode::Surface ? 270 : 269;
    GuardedRaster out(kReliefWidth, kReliefHeight);
    ReliefWork work;
    drawRelief(block.data(), kReliefBlockSize, settingsOf(mode, 0, 0), out.raster(), work);
    for (int y = 0; y < kReliefHeight; ++y) {
      for (int x = 0; x < kReliefWidth; ++x) {
        const bool inside = x >= 40 && x <= 295 && y >= 15 && y <= bottom;
        ASSERT_EQ(out.at(x, y), inside ? 100 : 0) << static_cast<int>(mode) << " " << x << "," << y;
      }
    }
  }
}

TEST(Relief, FlatBlockEdgeOnIsOneLine) {
  // Z 90: hc = 0, hs = 256, so y' depends on the grey only: 143 for grey 128 at ratio 16.
  const auto block = flatBlock(kReliefBlockSize, 128);
  for (const ReliefMode mode : {ReliefMode::Wire, ReliefMode::Polygon}) {
    GuardedRaster out(kReliefWidth, kReliefHeight);
    ReliefWork work;
    drawRelief(block.data(), kReliefBlockSize, settingsOf(mode, 30, 90), out.raster(), work);
    EXPECT_EQ(out.litRows(), std::vector<int>{143}) << static_cast<int>(mode);
  }
  // The surface shows the same top line with its wall below it, shaded from black at the
  // base row 143 + 128 up to the top.
  GuardedRaster out(kReliefWidth, kReliefHeight);
  ReliefWork work;
  drawRelief(block.data(), kReliefBlockSize, settingsOf(ReliefMode::Surface, 0, 90), out.raster(),
             work);
  EXPECT_EQ(out.litRows().front(), 143);
  EXPECT_EQ(out.at(168, 143), 128);
  EXPECT_EQ(out.at(168, 271), 0);                      // the base row
  EXPECT_EQ(out.at(168, 200), (271 - 200) * 255 / 255);  // wall scale k = 255
}

TEST(Relief, HighestPeakAtTheBackIsNotCut) {
  // The standard view (X 20, Z 20, depth 256, ratio 16): a peak of 255 in the far corner of a
  // black block projects about 50 rows above the tool area's raster at the formula's own
  // size. The projection is made smaller instead: the topmost lit row shows the peak itself.
  std::vector<std::uint8_t> block(static_cast<std::size_t>(kReliefBlockSize * kReliefBlockSize));
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) block[row * kReliefBlockSize + column] = 255;
  }
  for (const ReliefMode mode : {ReliefMode::Surface, ReliefMode::Wire, ReliefMode::Polygon}) {
    GuardedRaster out(kReliefWidth, kReliefHeight);
    ReliefWork work;
    drawRelief(block.data(), kReliefBlockSize, settingsOf(mode, 20, 20), out.raster(), work);
    ASSERT_TRUE(out.guardsIntact());
    const int top = out.litRows().front();
    bool peak = false;
    for (int x = 0; x < kReliefWidth; ++x) peak = peak || out.at(x, top) == 255;
    EXPECT_TRUE(peak) << static_cast<int>(mode) << " top row " << top;
  }
}

TEST(Relief, InvertReadsTheComplement) {
  const auto dark = flatBlock(kReliefBlockSize, 55);
  ReliefSettings settings = settingsOf(ReliefMode::Surface, 0, 0);
  settings.invert = true;
  GuardedRaster out(kReliefWidth, kReliefHeight);
  ReliefWork work;
  drawRelief(dark.data(), kReliefBlockSize, settings, out.raster(), work);
  EXPECT_EQ(out.at(168, 143), 200);
}

TEST(Relief, ExtremeSettingsStayInsideTheRaster) {
  // Heights ramping to 255, steep ratio, full depth, base at both ends and the corners at 45
  // degrees: all project far outside the 336 x 286 raster.
  std::vector<std::uint8_t> ramp(static_cast<std::size_t>(kReliefBlockSize * kReliefBlockSize));
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i * 7);
  for (const ReliefMode mode : {ReliefMode::Surface, ReliefMode::Wire, ReliefMode::Polygon}) {
    for (const int angleX : {45, 135, 200, 300}) {
      for (const int base : {0, 160}) {
        ReliefSettings settings = settingsOf(mode, angleX, 45);
        settings.heightRatio = kMaxHeightRatio;
        settings.depth = kMaxDepth;
        settings.baseHeight = base;
        GuardedRaster out(kReliefWidth, kReliefHeight);
        ReliefWork work;
        drawRelief(ramp.data(), kReliefBlockSize, settings, out.raster(), work);
        ASSERT_TRUE(out.guardsIntact()) << static_cast<int>(mode) << " " << angleX << " " << base;
        ASSERT_FALSE(out.litRows().empty());
      }
    }
  }
}

TEST(Relief, ViewDirectionMarkLeavesTowardsTheViewer) {
  // X 0: the viewer is below the block (larger rows come nearer), X 90 to its right.
  const auto below = viewDirectionMark({100, 100}, 256, 0);
  ASSERT_EQ(below.size(), 10u);
  EXPECT_EQ(below[0], (ViewPoint{228, 356}));
  EXPECT_EQ(below[5], below[0]);
  EXPECT_EQ(below[6], (ViewPoint{228, 396}));
  EXPECT_EQ(below[1], (ViewPoint{100, 355}));  // round the block from the bottom-left corner
  const auto right = viewDirectionMark({100, 100}, 256, 90);
  EXPECT_EQ(right[0], (ViewPoint{356, 228}));
  EXPECT_EQ(right[6], (ViewPoint{396, 228}));
}

TEST(Relief, WholeDisplayTitle) {
  ReliefSettings settings;
  EXPECT_EQ(reliefTitle(settings, 256, 256, "1"),
            "(ｲﾒｰｼﾞ)  (X,Y)=(256,256) 1倍 Ｘ角度:20 Ｚ角度:20 輝度:128");
  settings.mode = ReliefMode::Wire;
  settings.angleX = 30;
  settings.angleZ = 45;
  EXPECT_EQ(reliefTitle(settings, 256, 256, "1/2.0"),
            "(ﾜｲﾔ)  (X,Y)=(256,256) 1/2.0倍 Ｘ角度:30 Ｚ角度:45 幅:8");
}

// In English the window's title reads in English while vemla-cli's line keeps its own words.
TEST(Relief, WholeDisplayTitleInEnglishOnlyWhereShown) {
  ASSERT_TRUE(text::useLanguage(text::Language::English, VEMLA_CATALOGUE));
  ReliefSettings settings;
  settings.mode = ReliefMode::Polygon;
  const std::string cli = reliefTitle(settings, 3, 4, "1/2.0");
  const std::string shown = reliefTitle(settings, 3, 4, "1/2.0", true);
  text::useLanguage(text::Language::Japanese, {});
  EXPECT_EQ(cli, "(ﾎﾟﾘｺﾞﾝ)  (X,Y)=(3,4) 1/2.0倍 Ｘ角度:20 Ｚ角度:20 幅:8");
  EXPECT_EQ(shown, "(Filled)  (X,Y)=(3,4) 1/2.0x  X angle:20  Z angle:20  Width:8");
}

}  // namespace
}  // namespace vemla::tools
