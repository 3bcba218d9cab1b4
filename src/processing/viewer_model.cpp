#include "processing/viewer_model.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "processing/shift.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr int kScreenMargin = 64;
constexpr int kWindowMargin = 32;
constexpr int kGradationHalf = kGradationCells / 2;
constexpr std::uint32_t kBlack = 0xFF000000u;
static_assert(std::endian::native == std::endian::little, "colour pixels are loaded as 32 bits");

// The zooms in increasing order.
constexpr int kReductions[] = {-8, -4, -2};

std::uint32_t opaque(std::uint32_t rgb) {
  return kBlack | (rgb & 0x00FFFFFFu);
}

// Below this many client pixels per band a thread costs more than it saves.
constexpr std::int64_t kPixelsPerBand = 512 * 1024;

// Client row `out` from picture row y: black outside shownFirst..shownLast, else the sample at
// byte offset column[u] of the row.
void paintRow(const ViewerPicture& picture, std::int64_t y, std::size_t rowBytes,
              const std::int32_t* column, int shownFirst, int shownLast, int clientWidth,
              const std::array<std::uint32_t, 256>& colours, std::uint32_t* out) {
  const std::uint8_t* source = picture.pixels + static_cast<std::size_t>(y) * rowBytes;
  std::fill(out, out + shownFirst, kBlack);
  std::fill(out + shownLast + 1, out + clientWidth, kBlack);
  if (picture.bytesPerPixel == 1) {
    for (int u = shownFirst; u <= shownLast; ++u) out[u] = colours[source[column[u]]];
    return;
  }
  // Colour pixels are blue, green, red (and a fourth byte): one little-endian 32-bit load
  // gives 0x??RRGGBB. A 3-byte pixel loads its neighbour's first byte too, so the picture's
  // very last pixel is read byte by byte.
  const bool lastRow = y == picture.height - 1;
  for (int u = shownFirst; u <= shownLast; ++u) {
    const std::uint8_t* p = source + column[u];
    std::uint32_t value;
    if (picture.bytesPerPixel == 4 || !lastRow ||
        static_cast<std::size_t>(column[u]) + 3 < rowBytes) {
      std::memcpy(&value, p, sizeof value);
    } else {
      value = static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
    }
    out[u] = kBlack | (value & 0x00FFFFFFu);
  }
}

}  // namespace

std::optional<ViewerOpening> viewerOpening(std::int64_t width, std::int64_t height,
                                           ViewerSize screen, ViewerSize maxPicture) {
  const std::int64_t usableWidth = static_cast<std::int64_t>(screen.width) - kScreenMargin;
  const std::int64_t usableHeight = static_cast<std::int64_t>(screen.height) - kScreenMargin;
  constexpr std::int64_t kLargestSide = 0x7FFFFFFF;
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide || usableWidth < 1 ||
      usableHeight < 1)
    return std::nullopt;
  const std::int64_t a = usableWidth, b = usableHeight;
  ViewerOpening opening;
  std::int64_t windowWidth = a, windowHeight = b;
  if (width > a || height > b) {
    opening.zoom = (a < width / 4 || b < height / 4)   ? -8
                   : (a < width / 2 || b < height / 2) ? -4
                                                       : -2;
  } else {
    std::int64_t zoom = 1;
    if (width < a / 4 || height < b / 4)
      zoom = std::min<std::int64_t>({a / 4 / width + 1, b / 4 / height + 1, kViewerMaxZoom});
    opening.zoom = static_cast<int>(zoom);
    windowWidth = std::min(zoom * width + kWindowMargin, a);
    windowHeight = std::min(zoom * height + kWindowMargin, b);
  }
  windowWidth = std::max(windowWidth, 2 * a / 3);
  windowHeight = std::max(windowHeight, 2 * b / 3);
  windowWidth = std::min<std::int64_t>(windowWidth, std::max(1, maxPicture.width));
  windowHeight = std::min<std::int64_t>(windowHeight, std::max(1, maxPicture.height));
  opening.window = {static_cast<int>(windowWidth), static_cast<int>(windowHeight)};
  opening.windowX = static_cast<int>((screen.width - windowWidth) / 2);
  opening.windowY = static_cast<int>((screen.height - windowHeight) / 2);
  opening.centreX = static_cast<int>(width / 2);
  opening.centreY = static_cast<int>(height / 2);
  return opening;
}

bool isViewerZoom(int zoom) {
  return (zoom >= 1 && zoom <= kViewerMaxZoom) || zoom == -2 || zoom == -4 || zoom == -8;
}

int zoomIn(int zoom) {
  if (zoom >= 1) return std::min(zoom + 1, kViewerMaxZoom);
  for (std::size_t i = 0; i + 1 < std::size(kReductions); ++i) {
    if (kReductions[i] == zoom) return kReductions[i + 1];
  }
  return 1;
}

int zoomOut(int zoom) {
  if (zoom >= 2) return zoom - 1;
  if (zoom == 1) return kReductions[std::size(kReductions) - 1];
  for (std::size_t i = 1; i < std::size(kReductions); ++i) {
    if (kReductions[i] == zoom) return kReductions[i - 1];
  }
  return kViewerMinZoom;
}

std::string zoomText(int zoom) {
  if (zoom >= 1) return std::to_string(zoom);
  std::string text = "1/";
  return text.append(std::to_string(-zoom));
}

std::int64_t firstVisible(int centre, int client, int zoom) {
  if (zoom >= 1) return static_cast<std::int64_t>(centre) - (client / 2) / zoom;
  const int step = -zoom;
  const std::int64_t rounded = static_cast<std::int64_t>(floorDiv(centre, step)) * step;
  return rounded - static_cast<std::int64_t>(client / 2) * step;
}

std::int64_t pictureAt(int position, int centre, int client, int zoom) {
  const std::int64_t first = firstVisible(centre, client, zoom);
  return zoom >= 1 ? first + floorDiv(position, zoom)
                   : first + static_cast<std::int64_t>(position) * -zoom;
}

int clickedCentre(int position, int centre, int client, int zoom, int size) {
  const std::int64_t pixel = pictureAt(position, centre, client, zoom);
  return static_cast<int>(std::clamp<std::int64_t>(pixel, 0, std::max(0, size - 1)));
}

void paintViewer(const ViewerPicture& picture, int zoom, int centreX, int centreY, int clientWidth,
                 int clientHeight, std::uint32_t* client, int stride) {
  if (clientWidth < 1 || clientHeight < 1) return;
  const auto rowOf = [&](int y) {
    return client + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
  };
  const bool drawable =
      picture.pixels != nullptr && picture.width >= 1 && picture.height >= 1 && isViewerZoom(zoom);
  // The picture column of every client column, -1 outside the picture.
  std::vector<std::int32_t> columns(static_cast<std::size_t>(clientWidth), -1);
  int shownFirst = clientWidth, shownLast = -1;
  if (drawable) {
    for (int u = 0; u < clientWidth; ++u) {
      const std::int64_t x = pictureAt(u, centreX, clientWidth, zoom);
      if (x < 0 || x >= picture.width) continue;
      const int bytes = picture.bytesPerPixel;
      columns[static_cast<std::size_t>(u)] = static_cast<std::int32_t>(x * bytes);
      shownFirst = std::min(shownFirst, u);
      shownLast = std::max(shownLast, u);
    }
  }
  std::array<std::uint32_t, 256> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = opaque(picture.palette[i]);
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) *
                               static_cast<std::size_t>(std::max(1, picture.bytesPerPixel));
  // Rows first..last; a row that shows the same picture row as the one above is copied.
  const auto paintRows = [&](int first, int last) {
    std::int64_t previousRow = -1;
    for (int v = first; v < last; ++v) {
      std::uint32_t* out = rowOf(v);
      const std::int64_t y = drawable ? pictureAt(v, centreY, clientHeight, zoom) : -1;
      if (y < 0 || y >= picture.height || shownLast < 0) {
        std::fill(out, out + clientWidth, kBlack);
        previousRow = -1;
        continue;
      }
      if (y == previousRow) {
        std::memcpy(out, rowOf(v - 1),
                    static_cast<std::size_t>(clientWidth) * sizeof(std::uint32_t));
        continue;
      }
      previousRow = y;
      paintRow(picture, y, rowBytes, columns.data(), shownFirst, shownLast, clientWidth, colours,
               out);
    }
  };
  // Large client areas are split into bands painted in parallel; the result is the same.
  const std::int64_t area = static_cast<std::int64_t>(clientWidth) * clientHeight;
  const int bands = static_cast<int>(
      std::clamp<std::int64_t>(std::min<std::int64_t>(std::thread::hardware_concurrency(), 4), 1,
                               std::max<std::int64_t>(1, area / kPixelsPerBand)));
  if (bands <= 1) {
    paintRows(0, clientHeight);
    return;
  }
  std::vector<std::thread> helpers;
  const int rows = (clientHeight + bands - 1) / bands;
  for (int band = 1; band < bands; ++band) {
    const int first = std::min(clientHeight, band * rows);
    helpers.emplace_back(paintRows, first, std::min(clientHeight, first + rows));
  }
  paintRows(0, std::min(clientHeight, rows));
  for (std::thread& helper : helpers) helper.join();
}

std::string viewerTitle(int zoom, bool wheelZoomOnly, bool standAlone) {
  using text::tr;
  std::string title = tr("Ｖｉｅｗ（");
  title.append(zoomText(zoom)).append(tr("倍） "));
  title.append(wheelZoomOnly ? tr("ﾏｳｽﾎｲｰﾙ回転(拡大/縮小)") : tr("ﾏｳｽｸﾘｯｸ(左:拡大 右:縮小)"));
  if (!wheelZoomOnly) title.append("Ctrl+");
  title.append(tr("ﾏｳｽ右ｸﾘｯｸ:拡張機能  ｷｰ押下:"));
  title.append(standAlone ? tr("ESC=終了、その他=続行(VemLA立ち上げ)") : tr("消去"));
  title.append("  ");
  return title;
}

GradationTable gradationTable(const ViewerPicture& picture, int centreX, int centreY) {
  GradationTable table;
  table.title = text::format(text::tr("Ｖｉｅｗ（階調値） (x,y)=(%3d,%3d)"), centreX, centreY);
  const bool grey = picture.pixels != nullptr && picture.bytesPerPixel == 1;
  for (int i = 0; i < kGradationCells; ++i) {
    const std::int64_t x = static_cast<std::int64_t>(centreX) + i - kGradationHalf;
    const std::int64_t y = static_cast<std::int64_t>(centreY) + i - kGradationHalf;
    table.columnHeaders[static_cast<std::size_t>(i)] = static_cast<int>(x % 1000);
    table.rowHeaders[static_cast<std::size_t>(i)] = static_cast<int>(y % 1000);
  }
  if (!grey) return table;
  for (int i = 0; i < kGradationCells; ++i) {
    const std::int64_t y = static_cast<std::int64_t>(centreY) + i - kGradationHalf;
    if (y < 0 || y >= picture.height) continue;
    for (int j = 0; j < kGradationCells; ++j) {
      const std::int64_t x = static_cast<std::int64_t>(centreX) + j - kGradationHalf;
      if (x < 0 || x >= picture.width) continue;
      table.values[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
          picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                         static_cast<std::size_t>(x)];
    }
  }
  return table;
}

std::string gradationCellText(const std::optional<std::uint8_t>& value) {
  if (!value) return "  ‥";
  char text[8];
  std::snprintf(text, sizeof text, "%3d", *value);
  return text;
}

}  // namespace vemla
