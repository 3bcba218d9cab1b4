#pragma once
// The viewer's model: the opening zoom and window for a screen, the zoom steps, click-to-centre,
// the first visible picture column and row, the painting of a client area, the title and the
// 21 x 21 grey-value table. Zoom z is 1..64 for magnification and -2, -4, -8 for reduction 1/|z|.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vemla {

inline constexpr int kViewerMaxZoom = 64;
inline constexpr int kViewerMinZoom = -8;
inline constexpr int kGradationCells = 21;

struct ViewerSize {
  int width = 0, height = 0;
  bool operator==(const ViewerSize&) const = default;
};

struct ViewerOpening {
  int zoom = 1;
  ViewerSize window;             // client size
  int windowX = 0, windowY = 0;  // centred on the screen
  int centreX = 0, centreY = 0;
  bool operator==(const ViewerOpening&) const = default;
};

// The opening state of a width x height picture on a screen, with the usable area
// A x B = (screen - 64) each way and the window never above the maximum picture size (the
// options' largest picture, never below one pixel). Empty when a side is below 1 or above
// 2^31 - 1, or the screen leaves no usable area.
std::optional<ViewerOpening> viewerOpening(std::int64_t width, std::int64_t height,
                                           ViewerSize screen, ViewerSize maxPicture);

// Whether z is one of the viewer's zooms.
bool isViewerZoom(int zoom);
// One step in (1..63 -> z+1; -8 -> -4 -> -2 -> 1; 64 stays) and out (z >= 2 -> z-1;
// 1 -> -2 -> -4 -> -8; -8 stays).
int zoomIn(int zoom);
int zoomOut(int zoom);
// "4", or "1/4" for a reduction.
std::string zoomText(int zoom);

// The first picture column (or row) shown in a client area `client` pixels across: for z >= 1
// centre - (client div 2) div z; for a reduction the centre is first rounded down to a multiple
// of |z| and the first column is centre - (client div 2) |z|. May be negative.
std::int64_t firstVisible(int centre, int client, int zoom);
// The picture column (or row) painted at client position `position`; may lie outside.
std::int64_t pictureAt(int position, int centre, int client, int zoom);
// The clicked pixel as the new centre, clamped into a picture `size` pixels across.
int clickedCentre(int position, int centre, int client, int zoom, int size);

// A picture as the viewer holds it: rows top-down, width * bytesPerPixel bytes each; grey
// pictures (1 byte) are shown through their palette (0x00RRGGBB), colour ones (3 or 4 bytes,
// blue first) with their own pixels.
struct ViewerPicture {
  const std::uint8_t* pixels = nullptr;
  int width = 0, height = 0;
  int bytesPerPixel = 1;
  std::array<std::uint32_t, 256> palette{};
};

// Paints the client area (cw x ch, 0xFFRRGGBB, `stride` pixels per row) around the centre at
// zoom z: nearest samples, black outside the picture.
void paintViewer(const ViewerPicture& picture, int zoom, int centreX, int centreY, int clientWidth,
                 int clientHeight, std::uint32_t* client, int stride);

// "Ｖｉｅｗ（%s倍） %s  " with the zoom and the hint for the way zooming works and the mode.
std::string viewerTitle(int zoom, bool wheelZoomOnly, bool standAlone);

// The grey-value table around the centre: headers (mod 1000) and values, nullopt outside the
// picture.
struct GradationTable {
  std::string title;  // "Ｖｉｅｗ（階調値） (x,y)=(%3d,%3d)"
  std::array<int, kGradationCells> columnHeaders{}, rowHeaders{};
  std::array<std::array<std::optional<std::uint8_t>, kGradationCells>, kGradationCells> values{};
};
GradationTable gradationTable(const ViewerPicture& picture, int centreX, int centreY);
// The text of one table cell: "%3d", or the placeholder for a position outside the picture.
std::string gradationCellText(const std::optional<std::uint8_t>& value);

}  // namespace vemla
