#pragma once
// The 3D tool's mathematics: the block of a pane view around the cursor, the projection of a
// grey value as a height, and the three renderings of a block (filled surface, wire grid,
// filled cells) into an 8-bit raster. Every drawn row, segment and cell is clipped to the
// raster, so no setting of the sliders can write outside it.
#include <cstdint>
#include <string>
#include <vector>

#include "processing/colour_tables.h"
#include "processing/view_rendering.h"
#include "tools/scanline_fill.h"

namespace vemla::tools {

inline constexpr int kReliefBlockSize = 256;
inline constexpr int kReliefWidth = 336, kReliefHeight = 286;
inline constexpr int kReliefWholeSize = 756;

// The ranges of the tool's fields and sliders, and the values "ﾘｾｯﾄ" sets.
inline constexpr int kMaxAngleX = 359, kMaxAngleZ = 90;
inline constexpr int kMaxDepth = 512, kNeutralDepth = 256;
inline constexpr int kMaxHeightRatio = 64, kNeutralHeightRatio = 16;  // sixteenths
inline constexpr int kMaxBaseHeight = 160, kNeutralBaseHeight = 80;
inline constexpr int kMinReliefWidth = 3, kMaxReliefWidth = 20;
inline constexpr int kMaxLuminance = 256, kNeutralLuminance = 128;

// The top-left view point of a size x size block centred on `centre` and kept inside the
// 512 x 512 view.
ViewPoint blockOrigin(ViewPoint centre, int size);
// Copies the size x size block at `origin` of a 512 x 512 view into `block`.
void copyBlock(const std::uint8_t* view, ViewPoint origin, int size, std::uint8_t* block);

enum class ReliefMode : int { Surface = 0, Wire = 1, Polygon = 2 };  // "ｲﾒｰｼﾞ", "ﾜｲﾔ", "ﾎﾟﾘｺﾞﾝ"

struct ReliefSettings {
  int angleX = 20, angleZ = 20;
  int depth = kNeutralDepth;
  int heightRatio = kNeutralHeightRatio;
  int baseHeight = kNeutralBaseHeight;
  ReliefMode mode = ReliefMode::Surface;
  int luminance = kNeutralLuminance;  // "輝度", surface mode
  int wireWidth = 8, polygonWidth = 8;
  bool invert = false;  // "反転": g read as 255 - g
  bool operator==(const ReliefSettings&) const = default;
};
// Every field brought into its range (angles 400 -> 359, -5 -> 0, Z 120 -> 90).
ReliefSettings limitedReliefSettings(ReliefSettings settings);

// The projection of one view direction: s = 256 sin X, c = 256 cos X, hs = D sin Z and
// hc = D cos Z, each truncated toward zero; the raster's centre lowered by base - 80.
struct Projection {
  int s = 0, c = 256, hs = 0, hc = 0;
  int heightRatio = kNeutralHeightRatio;
  int centreX = 0, centreY = 0;
  // Every offset from the centre is multiplied by scale / 256; 256 draws at the formula's size,
  // drawRelief lowers it only as far as needed to keep the relief inside the raster.
  int scale = 256;
};
Projection makeProjection(int angleX, int angleZ, int depth, int heightRatio, int baseHeight,
                          int width, int height);
// The raster point of the source pixel at (u, v) from the block's centre with grey g:
//   x' = W/2 + ((u c - v s + 128) >> 8)
//   y' = H/2 - (base - 80) + ((((u s + v c + 128) >> 8) hc - (((g R) >> 4) - 128) hs + 128) >> 8)
// with arithmetic shifts (and both offsets scaled by scale / 256 when the scale is lowered).
ViewPoint project(const Projection& projection, int u, int v, int grey);
// The scale (in 1/256, at most 256) at which the size x size `source` projected by `projection`
// lies wholly inside a width x height raster: the highest peak below the top row, the lowest
// base (the surface mode's walls reach down to grey 0's row) above the bottom row, both sides
// inside. Each side is fitted on its own, so the centre stays where the sliders put it; a side
// whose centre is already outside the raster is not fitted.
int fittingScale(const std::uint8_t* source, int size, const Projection& projection, int width,
                 int height);

// An 8-bit raster, rows top-down.
struct ReliefRaster {
  std::uint8_t* pixels = nullptr;
  int width = 0, height = 0;
};

// Work memory of drawRelief, kept between calls.
struct ReliefWork {
  std::vector<int> tops;
  std::vector<std::uint8_t> inverted;
  PolygonFillWork fill;
  std::vector<ViewPoint> corners;  // the cells' projected corners, row by row
  std::vector<int> cornerGreys;
};

// Draws the size x size `source` (the 256 x 256 block, or the whole 512 x 512 view; u and v
// count from its centre) as a relief into `raster`, which starts black; the projection is made
// smaller when the relief would not fit (fittingScale), so no peak is cut.
void drawRelief(const std::uint8_t* source, int size, const ReliefSettings& settings,
                ReliefRaster raster, ReliefWork& work);

// "視点表示" in a pane: one polyline round the size x size block at `origin`, starting and
// ending where the direction towards the viewer, (sin X, cos X) in view columns and rows,
// leaves the block, then out along that direction to an arrow head.
std::vector<ViewPoint> viewDirectionMark(ViewPoint origin, int size, int angleX);

// Each colour of `table` with luminance - 128 added to red, green and blue, limited to 0..255.
ColourTable brightenedTable(const ColourTable& table, int luminance);

// The whole display's title "%s  (X,Y)=(%d,%d) %s倍 Ｘ角度:%d Ｚ角度:%d %s:%d": the mode,
// the cursor, the magnification text, the angles, and "輝度" with the luminance in surface
// mode, else "幅" with the mode's width. `translated`: in the language in use, as the window
// shows it; else the system's own words, as vemla-cli prints it.
std::string reliefTitle(const ReliefSettings& settings, int cursorX, int cursorY,
                        const std::string& magnification, bool translated = false);

}  // namespace vemla::tools
