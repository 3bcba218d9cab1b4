#include "processing/view_rendering.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "processing/image_kernels.h"
#include "processing/shift.h"

namespace vemla {
namespace {

using Weights = std::array<std::int32_t, 4>;

// Row r of the linear magnification table: the fraction r/256 between the two middle taps.
constexpr std::array<Weights, 256> makeLinearTable() {
  std::array<Weights, 256> table{};
  for (int r = 0; r < 256; ++r) table[static_cast<std::size_t>(r)] = {0, 1024 - 4 * r, 4 * r, 0};
  return table;
}
constexpr std::array<Weights, 256> kLinearTable = makeLinearTable();

const std::array<Weights, 256>& weightTable(int zoomMode) {
  return zoomMode == kZoomLinear ? kLinearTable : cubicWeightTable();
}

// One axis of an interpolated view position: the extraction index of the first of its four
// taps and the weights.
struct Tap {
  int first;
  const Weights* weights;
};
Tap tapOf(int viewIndex, int windowStart, int m, const std::array<Weights, 256>& table) {
  const int t = viewIndex - m / 2;
  const int sub = floorMod(t, m);
  return {windowStart + floorDiv(t, m) - 1, &table[static_cast<std::size_t>(sub * 256 / m)]};
}

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

// Extraction columns first..last of the row `extractionRow` into `line` (line[0] is column
// `first`); columns outside the picture hold the fill value.
void extractRow(const std::uint8_t* image, int width, int height, std::uint8_t fill,
                const ViewPlacement& placement, int extractionRow, int first, int last,
                std::uint8_t* line) {
  const int count = last - first + 1;
  const int y = placement.originY + extractionRow;
  if (y < 0 || y >= height) {
    std::memset(line, fill, static_cast<std::size_t>(count));
    return;
  }
  // Picture columns originX + first .. originX + last, clipped to the picture.
  const int x0 = placement.originX + first;
  const int inFirst = std::clamp(-x0, 0, count);
  const int inLast = std::clamp(width - 1 - x0, -1, count - 1);
  if (inFirst > inLast) {
    std::memset(line, fill, static_cast<std::size_t>(count));
    return;
  }
  std::memset(line, fill, static_cast<std::size_t>(inFirst));
  std::memcpy(line + inFirst, image + at(y, width) + (x0 + inFirst),
              static_cast<std::size_t>(inLast - inFirst + 1));
  std::memset(line + inLast + 1, fill, static_cast<std::size_t>(count - 1 - inLast));
}

void renderReduced(const std::uint8_t* image, int width, int height, std::uint8_t fill,
                   std::uint8_t* view) {
  std::memset(view, fill, static_cast<std::size_t>(kViewSize) * kViewSize);
  const ReducedGeometry geometry = reducedGeometry(width, height);
  std::array<int, kViewSize> columns{};
  for (int j = 0; j < geometry.width; ++j) {
    columns[static_cast<std::size_t>(j)] =
        static_cast<int>(static_cast<long long>(j) * width / geometry.width);
  }
  for (int i = 0; i < geometry.height; ++i) {
    const int y = static_cast<int>(static_cast<long long>(i) * height / geometry.height);
    const std::uint8_t* source = image + at(y, width);
    std::uint8_t* out = view + at(geometry.top + i, kViewSize) + geometry.left;
    for (int j = 0; j < geometry.width; ++j) out[j] = source[columns[static_cast<std::size_t>(j)]];
  }
}

// x1 and nearest magnification: one extraction row gives m identical view rows.
void renderNearest(const std::uint8_t* image, int width, int height, std::uint8_t fill, int m,
                   const ViewPlacement& placement, std::uint8_t* view, RenderWork& work) {
  const int c = placement.windowColumn, d = placement.windowRow;
  const int visible = visibleCells(m);
  work.line.resize(static_cast<std::size_t>(visible));
  std::uint8_t* line = work.line.data();
  work.columnTaps.resize(kViewSize);
  std::int32_t* cells = work.columnTaps.data();
  for (int u = 0; u < kViewSize; ++u) cells[u] = u / m;
  for (int v = 0; v < kViewSize; v += m) {
    const int rows = std::min(m, kViewSize - v);
    std::uint8_t* out = view + at(v, kViewSize);
    const int extractionRow = d + v / m;
    extractRow(image, width, height, fill, placement, extractionRow, c, c + visible - 1,
               m == 1 ? out : line);
    if (m > 1) {
      for (int u = 0; u < kViewSize; ++u) out[u] = line[cells[u]];
    }
    for (int r = 1; r < rows; ++r) std::memcpy(out + at(r, kViewSize), out, kViewSize);
  }
}

// Interpolated magnification: a horizontal pass over the extraction rows the taps reach, then
// a vertical pass per view row. Sums stay within 32 bits: |taps| * 255 * |taps| < 2^31.
void renderInterpolated(const std::uint8_t* image, int width, int height, std::uint8_t fill, int m,
                        int zoomMode, const ViewPlacement& placement, std::uint8_t* view,
                        RenderWork& work) {
  const std::array<Weights, 256>& table = weightTable(zoomMode);
  const int c = placement.windowColumn, d = placement.windowRow;
  constexpr int kLast = kViewSize - 1;

  // Columns: the taps of view column u start at extraction column first(u); the line holds
  // extraction columns lineFirst..lineLast with the ends repeated beyond 0 and 511.
  work.columnTaps.resize(kViewSize);
  work.columnWeights.resize(4 * kViewSize);
  for (int u = 0; u < kViewSize; ++u) {
    const Tap tap = tapOf(u, c, m, table);
    work.columnTaps[static_cast<std::size_t>(u)] = tap.first;
    std::copy(tap.weights->begin(), tap.weights->end(), work.columnWeights.begin() + 4 * u);
  }
  const int lineFirst = work.columnTaps.front(), lineLast = work.columnTaps.back() + 3;
  const int lineCount = lineLast - lineFirst + 1;
  const int clampedFirst = std::clamp(lineFirst, 0, kLast);
  const int clampedLast = std::clamp(lineLast, 0, kLast);
  work.line.resize(static_cast<std::size_t>(lineCount));

  // Rows: the extraction rows any view row reaches.
  const int rowFirst = std::clamp(tapOf(0, d, m, table).first, 0, kLast);
  const int rowLast = std::clamp(tapOf(kLast, d, m, table).first + 3, 0, kLast);
  work.rows.resize(static_cast<std::size_t>(rowLast - rowFirst + 1) * kViewSize);

  for (int row = rowFirst; row <= rowLast; ++row) {
    std::uint8_t* line = work.line.data();
    const int inside = clampedFirst - lineFirst;  // line index of extraction column clampedFirst
    extractRow(image, width, height, fill, placement, row, clampedFirst, clampedLast,
               line + inside);
    std::memset(line, line[inside], static_cast<std::size_t>(inside));
    const int after = inside + clampedLast - clampedFirst + 1;
    std::memset(line + after, line[after - 1], static_cast<std::size_t>(lineCount - after));
    std::int32_t* sums = work.rows.data() + at(row - rowFirst, kViewSize);
    const std::int32_t* weights = work.columnWeights.data();
    for (int u = 0; u < kViewSize; ++u) {
      const std::uint8_t* taps = line + (work.columnTaps[static_cast<std::size_t>(u)] - lineFirst);
      const std::int32_t* w = weights + 4 * u;
      sums[u] = w[0] * taps[0] + w[1] * taps[1] + w[2] * taps[2] + w[3] * taps[3];
    }
  }

  const ImageKernels& kernels = imageKernels();
  const auto rowAt = [&](int extractionRow) {
    return work.rows.data() + at(std::clamp(extractionRow, 0, kLast) - rowFirst, kViewSize);
  };
  for (int v = 0; v < kViewSize; ++v) {
    const Tap tap = tapOf(v, d, m, table);
    kernels.weighRows(rowAt(tap.first), rowAt(tap.first + 1), rowAt(tap.first + 2),
                      rowAt(tap.first + 3), kViewSize, tap.weights->data(),
                      view + at(v, kViewSize));
  }
}

}  // namespace

int extractionOrigin(int size, int cursor) {
  if (size >= kViewSize) return std::clamp(cursor - kViewSize / 2, 0, size - kViewSize);
  return -((kViewSize - size) / 2);
}

int visibleCells(int magnification) {
  const int m = std::clamp(magnification, 1, kMaxMagnification);
  return kViewSize / m + (kViewSize % m > 0 ? 1 : 0);
}

int windowStart(int cursorInExtraction, int magnification) {
  const int visible = visibleCells(magnification);
  return std::clamp(cursorInExtraction - visible / 2, 0, kViewSize - visible);
}

ViewPlacement centredPlacement(int width, int height, int cursorX, int cursorY, int magnification) {
  ViewPlacement placement;
  placement.originX = extractionOrigin(width, cursorX);
  placement.originY = extractionOrigin(height, cursorY);
  placement.windowColumn = windowStart(cursorX - placement.originX, magnification);
  placement.windowRow = windowStart(cursorY - placement.originY, magnification);
  return placement;
}

ViewPlacement keptPlacement(const ViewPlacement& placement, int magnification) {
  const int last = kViewSize - visibleCells(magnification);
  ViewPlacement kept = placement;
  kept.windowColumn = std::clamp(placement.windowColumn, 0, last);
  kept.windowRow = std::clamp(placement.windowRow, 0, last);
  return kept;
}

bool showsReduced(const ViewSettings& settings, int width, int height) {
  return settings.reduced && settings.magnification <= 1 && !fitsPane(width, height);
}

std::string magnificationText(const ViewSettings& settings, int width, int height) {
  // Appended rather than added: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
  std::string text = showsReduced(settings, width, height) ? "1/" : "x";
  text.append(showsReduced(settings, width, height)
                  ? reductionText(width, height)
                  : std::to_string(std::clamp(settings.magnification, 1, kMaxMagnification)));
  return text;
}

void renderView(const std::uint8_t* image, int width, int height, std::uint8_t fill,
                const ViewSettings& settings, const ViewPlacement& placement, std::uint8_t* view,
                RenderWork& work) {
  if (showsReduced(settings, width, height)) {
    renderReduced(image, width, height, fill, view);
    return;
  }
  const int m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const ViewPlacement kept = keptPlacement(placement, m);
  if (m > 1 && settings.interpolate) {
    renderInterpolated(image, width, height, fill, m, settings.zoomMode, kept, view, work);
  } else {
    renderNearest(image, width, height, fill, m, kept, view, work);
  }
}

ViewPoint cursorViewPoint(int width, int height, int cursorX, int cursorY, int fineX, int fineY,
                          const ViewSettings& settings, const ViewPlacement& placement) {
  constexpr int kLast = kViewSize - 1;
  if (showsReduced(settings, width, height)) {
    const ReducedGeometry geometry = reducedGeometry(width, height);
    const long long x = geometry.left + static_cast<long long>(cursorX) * geometry.width / width;
    const long long y = geometry.top + static_cast<long long>(cursorY) * geometry.height / height;
    return {static_cast<int>(std::clamp<long long>(x, 0, kLast)),
            static_cast<int>(std::clamp<long long>(y, 0, kLast))};
  }
  const long long m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const long long x =
      fineX + (static_cast<long long>(cursorX) - placement.originX - placement.windowColumn) * m;
  const long long y =
      fineY + (static_cast<long long>(cursorY) - placement.originY - placement.windowRow) * m;
  return {static_cast<int>(std::clamp<long long>(x, 0, kLast)),
          static_cast<int>(std::clamp<long long>(y, 0, kLast))};
}

}  // namespace vemla
