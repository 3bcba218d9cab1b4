#include "editing/picture_edit.h"

#include <algorithm>
#include <cstring>

#include "picture/picture_store.h"
#include "tools/relief.h"

namespace vemla {
namespace {

// From this size on, a quarter turn's result is streamed past the caches (on a 32 MB cache a
// 3072 x 3072 turn gains a quarter that way, a 2048 x 2048 one loses a tenth).
constexpr std::size_t kStreamedResultBytes = std::size_t{8} << 20;

std::size_t bytesOf(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

std::uint8_t* rowOf(EditPlane plane, int y) {
  return plane.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(plane.width);
}

bool emptyPlane(const EditPlane& plane) {
  return plane.pixels == nullptr || plane.width <= 0 || plane.height <= 0;
}

// Copies the rectangle into `into` (w x h) or back from it.
void copyOut(EditPlane plane, const Rect& r, std::vector<std::uint8_t>& into) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  into.resize(bytesOf(w, h));
  for (int y = 0; y < h; ++y)
    std::memcpy(into.data() + bytesOf(w, y), rowOf(plane, r.top + y) + r.left,
                static_cast<std::size_t>(w));
}
// The block of a quarter turn's result written by EditKernels::turnTileGrouped: rows [j0, j1)
// in bands of 16 * lanes rows, columns [i0, i1) in spans of 16 * lanes bytes, each span of a
// band `lanes` grouped tiles. At 270 degrees the tiles were written bottom up, so the rows of
// each group go back in reverse order.
struct GroupedTiles {
  int i0 = 0, i1 = 0, j0 = 0, j1 = 0;
  int lanes = 0;
  bool reversed = false;
  void (*ungroup)(const std::uint8_t*, std::ptrdiff_t, std::uint8_t*, std::ptrdiff_t,
                  int) = nullptr;
  bool holdsRow(int y) const { return i0 < i1 && y >= j0 && y < j1; }
};

// `from` holds rows of `stride` bytes, the rows of `grouped` grouped. Rows may be shared out
// by `parallel`; a band of grouped rows goes with the piece that holds its first row.
void copyBack(EditPlane plane, const Rect& r, const std::uint8_t* from, int stride,
              const ParallelFor& parallel, const GroupedTiles& grouped = {}) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  const auto copyRow = [&](int y, int x0, int x1) {
    if (x0 < x1)
      std::memcpy(rowOf(plane, r.top + y) + r.left + x0, from + bytesOf(stride, y) + x0,
                  static_cast<std::size_t>(x1 - x0));
  };
  parallel(h, bytesOf(w, h), [&](int begin, int end) {
    const bool anyGrouped = grouped.i0 < grouped.i1 && grouped.j0 < end && grouped.j1 > begin;
    if (w == plane.width && stride == w && !anyGrouped) {  // whole rows: one block
      std::memcpy(rowOf(plane, r.top + begin), from + bytesOf(w, begin), bytesOf(w, end - begin));
      return;
    }
    for (int y = begin; y < end; ++y) {
      if (!grouped.holdsRow(y)) {
        copyRow(y, 0, w);
        continue;
      }
      const int band = kTurnTileColumns * grouped.lanes;  // rows, and bytes of a span
      if ((y - grouped.j0) % band != 0) continue;
      for (int k = y; k < y + band; ++k) {
        copyRow(k, 0, grouped.i0);
        copyRow(k, grouped.i1, w);
      }
      const int spans = (grouped.i1 - grouped.i0) / band;
      const int last = grouped.reversed ? band - kTurnTileColumns : 0;
      const std::ptrdiff_t toStep = grouped.reversed ? -plane.width : plane.width;
      for (int c = y; c < y + kTurnTileColumns; ++c)
        grouped.ungroup(from + bytesOf(stride, c) + grouped.i0, stride,
                        rowOf(plane, r.top + c + last) + r.left + grouped.i0, toStep, spans);
    }
  });
}

// The w x h result of a rotation, built apart in the work memory: rows of `stride` bytes.
struct ResultRows {
  std::uint8_t* rows = nullptr;
  int stride = 0;
};

// The result rows in `buffer`, with column `lead` on a cache line in every row, so that the
// whole-line stores of the turns from there on neither straddle two lines nor need reading
// first. Rows of a tall result are a cache line longer than needed: the turns write down
// columns, and many rows a power of two apart would all fall into the same cache sets.
ResultRows resultRows(std::vector<std::uint8_t>& buffer, int w, int h, int lead) {
  constexpr int kLine = static_cast<int>(kCacheLine);
  const int before = (kLine - lead % kLine) % kLine;
  const int stride = (before + w + kLine - 1) / kLine * kLine + (h > kLine ? kLine : 0);
  buffer.resize(bytesOf(stride, h) + kCacheLine - 1);
  return {onCacheLine(buffer.data()) + before, stride};
}

// out(i, j) of the w x h result reads the rectangle at (a0 + ai i + aj j, b0 + bi i + bj j)
// (each coefficient -1, 0 or 1), or 0 where that falls outside it. Worked in bands of rows
// and columns so that the column-wise reads of the quarter turns stay in the cache.
struct IndexMap {
  int a0, ai, aj, b0, bi, bj;
};

// The i for which start + step * i lies in 0..limit-1, intersected with first..last-1.
void validSpan(int start, int step, int limit, int& first, int& last) {
  if (step == 0) {
    if (start < 0 || start >= limit) last = first;
    return;
  }
  // step = 1: start + i >= 0 and < limit; step = -1: start - i >= 0 and > -1 ... < limit.
  const int low = step > 0 ? -start : start - limit + 1;
  const int high = step > 0 ? limit - start : start + 1;
  first = std::max(first, low);
  last = std::min(last, high);
}

// Output columns [i0, i1) of rows [j0, j1).
struct Block {
  int i0, i1, j0, j1;
};

void mapIndices(const std::uint8_t* source, std::ptrdiff_t stride, int w, int h, const IndexMap& m,
                const Block& block, std::uint8_t* out, int outStride) {
  if (block.i0 >= block.i1 || block.j0 >= block.j1) return;
  constexpr int kBand = 16;
  const std::ptrdiff_t stepI = m.ai + m.bi * stride;
  // A turn that reads along source rows needs no bands across.
  const int across = m.bi == 0 ? block.i1 - block.i0 : kBand;
  for (int j0 = block.j0; j0 < block.j1; j0 += kBand) {
    const int j1 = std::min(block.j1, j0 + kBand);
    for (int i0 = block.i0; i0 < block.i1; i0 += across) {
      const int i1 = std::min(block.i1, i0 + across);
      for (int j = j0; j < j1; ++j) {
        std::uint8_t* row = out + bytesOf(outStride, j);
        const int a = m.a0 + m.aj * j, b = m.b0 + m.bj * j;
        int first = i0, last = i1;
        validSpan(a, m.ai, w, first, last);
        validSpan(b, m.bi, h, first, last);
        if (first >= last) {
          std::memset(row + i0, 0, static_cast<std::size_t>(i1 - i0));
          continue;
        }
        std::memset(row + i0, 0, static_cast<std::size_t>(first - i0));
        std::memset(row + last, 0, static_cast<std::size_t>(i1 - last));
        const std::uint8_t* p =
            source + (static_cast<std::ptrdiff_t>(b + m.bi * first) * stride + a + m.ai * first);
        if (stepI == -1)
          std::reverse_copy(p - (last - first - 1), p + 1, row + first);
        else
          for (int i = first; i < last; ++i, p += stepI) row[i] = *p;
      }
    }
  }
}

// The rotated middle of the square for 90 or 270 degrees: with the rectangle at (ox, oy) in
// the square, out(x, y) = in(y, S-1-x) at 90, in(S-1-y, x) at 270, in square coordinates.
IndexMap quarterTurn(int angle, int size, int ox, int oy) {
  const int last = size - 1, far = last - ox - oy;
  switch (angle) {
    case 90:
      return {oy - ox, 0, 1, far, -1, 0};
    default:
      return {far, 0, -1, ox - oy, 1, 0};
  }
}

// 90 or 270 degrees: output column i reads source row b0 + bi i and output row j source
// column a0 + aj j, so the points read from inside the rectangle form one block. Its whole
// tiles are transposed by the kernels, the frame around them (and the black points) walked
// index by index. Whole spans of tiles are written grouped (returned, for copyBack to put in
// order), the tiles left over at the right in place.
struct TurnedRows {
  ResultRows result;
  GroupedTiles grouped;
};

TurnedRows turnQuarter(const EditKernels& kernels, const std::uint8_t* source,
                       std::ptrdiff_t stride, int w, int h, const IndexMap& m,
                       std::vector<std::uint8_t>& buffer, const ParallelFor& parallel) {
  int i0 = 0, i1 = w, j0 = 0, j1 = h;
  validSpan(m.b0, m.bi, h, i0, i1);
  validSpan(m.a0, m.aj, w, j0, j1);
  const int tileRows = kTurnTileColumns * kernels.turnLanes;
  Block tiles{i0, i0, j0, j0};
  if (kernels.turnTile != nullptr && i0 < i1 && j0 < j1) {
    tiles.i1 = i0 + (i1 - i0) / kTurnTileColumns * kTurnTileColumns;
    tiles.j1 = j0 + (j1 - j0) / tileRows * tileRows;
  }
  if (tiles.i0 == tiles.i1 || tiles.j0 == tiles.j1) {
    const ResultRows result = resultRows(buffer, w, h, 0);
    mapIndices(source, stride, w, h, m, {0, w, 0, h}, result.rows, result.stride);
    return {result, {}};
  }
  const ResultRows result = resultRows(buffer, w, h, tiles.i0);
  std::uint8_t* const out = result.rows;
  const int outStride = result.stride;
  const bool quarter = m.aj > 0;  // 90 degrees, else 270
  const int span = kTurnTileColumns * kernels.turnLanes;
  const GroupedTiles grouped{tiles.i0,
                             tiles.i0 + (tiles.i1 - tiles.i0) / span * span,
                             tiles.j0,
                             tiles.j1,
                             kernels.turnLanes,
                             !quarter,
                             kernels.ungroupTurned};
  // A result larger than the caches is streamed past them: stored through the cache, each of
  // its lines would first be read from memory and push out lines of the picture being read.
  const bool stream = bytesOf(outStride, h) >= kStreamedResultBytes;
  // The tile of output columns i.., rows j..: at 90 it reads source columns a0 + j.. up the
  // rows b0 - i, b0 - i - 1, ...; at 270 output row j + tileRows - 1 - k reads source column
  // a0 - j - (tileRows - 1) + k down the rows b0 + i, b0 + i + 1, ...
  const auto turnTile = [&](int i, int j) {
    const std::uint8_t* from =
        quarter
            ? source + static_cast<std::ptrdiff_t>(m.b0 - i) * stride + m.a0 + j
            : source + static_cast<std::ptrdiff_t>(m.b0 + i) * stride + (m.a0 - j - (tileRows - 1));
    const std::ptrdiff_t fromStep = quarter ? -stride : stride;
    if (i >= grouped.i1) {
      if (quarter)
        kernels.turnTile(from, fromStep, out + bytesOf(outStride, j) + i, outStride);
      else
        kernels.turnTile(from, fromStep, out + bytesOf(outStride, j + tileRows - 1) + i,
                         -outStride);
      return;
    }
    // Tile `lane` of its span writes the rows of its groups 16 * lane rows further down.
    const int lane = (i - grouped.i0) / kTurnTileColumns % kernels.turnLanes;
    const int at = i - lane * kTurnTileColumns;
    if (quarter)
      kernels.turnTileGrouped(from, fromStep, out + bytesOf(outStride, j + 16 * lane) + at,
                              outStride, stream);
    else
      kernels.turnTileGrouped(from, fromStep, out + bytesOf(outStride, j + 15 + 16 * lane) + at,
                              -outStride, stream);
  };
  // In blocks of kBlockColumns x kBlockRows output pixels, so that the pages and cache lines
  // of the block's source and output rows stay at hand; down the output columns within a
  // block, each tile reading on along the same source rows. Bands of kBlockRows output rows
  // write apart from each other and may be shared out by `parallel`.
  constexpr int kBlockColumns = 256, kBlockRows = 512;
  static_assert(kBlockColumns % (kTurnTileColumns * 4) == 0, "blocks hold whole four-lane spans");
  const int bands = (tiles.j1 - tiles.j0 + kBlockRows - 1) / kBlockRows;
  parallel(bands, bytesOf(w, h), [&](int firstBand, int endBand) {
    for (int jb = tiles.j0 + firstBand * kBlockRows;
         jb < std::min(tiles.j1, tiles.j0 + endBand * kBlockRows); jb += kBlockRows) {
      for (int ib = tiles.i0; ib < tiles.i1; ib += kBlockColumns) {
        const int jEnd = std::min(tiles.j1, jb + kBlockRows);
        for (int i = ib; i < std::min(tiles.i1, ib + kBlockColumns); i += kTurnTileColumns) {
          // The source lines of the next strip of tiles are fetched while this one is turned.
          const int next = i + kTurnTileColumns;
          if (next < tiles.i1) {
            for (int q = 0; q < kTurnTileColumns; ++q) {
              const std::uint8_t* line =
                  source +
                  static_cast<std::ptrdiff_t>(quarter ? m.b0 - next - q : m.b0 + next + q) *
                      stride +
                  (quarter ? m.a0 + jb : m.a0 - jEnd + 1);
              for (int k = 0; k < jEnd - jb; k += 64) __builtin_prefetch(line + k);
            }
          }
          for (int j = jb; j < jEnd; j += tileRows) turnTile(i, j);
        }
      }
    }
    if (stream) kernels.fenceStreams();
  });
  mapIndices(source, stride, w, h, m, {0, w, 0, tiles.j0}, out, outStride);
  mapIndices(source, stride, w, h, m, {0, w, tiles.j1, h}, out, outStride);
  mapIndices(source, stride, w, h, m, {0, tiles.i0, tiles.j0, tiles.j1}, out, outStride);
  mapIndices(source, stride, w, h, m, {tiles.i1, w, tiles.j0, tiles.j1}, out, outStride);
  return {result, grouped};
}

// 180 degrees in place: with the rectangle at (ox, oy) in the square, out(i, j) reads
// (w - 1 + dx - i, h - 1 + dy - j), dx = S - w - 2 ox and dy likewise (0 or 1). So the part
// right of column dx and below row dy turns about its own centre, and column 0 (dx = 1) or
// row 0 (dy = 1) reads from outside the rectangle and turns black.
void turnHalf(const EditKernels& kernels, EditPlane plane, const Rect& r) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  const int size = std::max(w, h);
  const int dx = (size - w) % 2, dy = (size - h) % 2;
  const int left = r.left + dx, count = w - dx;
  for (int top = r.top + dy, bottom = r.bottom; top <= bottom; ++top, --bottom) {
    if (top == bottom)
      kernels.reverseBytes(rowOf(plane, top) + left, count);
    else
      kernels.swapReversed(rowOf(plane, top) + left, rowOf(plane, bottom) + left, count);
  }
  if (dx != 0)
    for (int y = r.top; y <= r.bottom; ++y) rowOf(plane, y)[r.left] = 0;
  if (dy != 0) std::memset(rowOf(plane, r.top) + r.left, 0, static_cast<std::size_t>(w));
}

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
  return a / b - static_cast<std::int64_t>((a % b != 0) && ((a < 0) != (b < 0)));
}
std::int64_t ceilDivide(std::int64_t a, std::int64_t b) {
  return -floorDivide(-a, b);
}

// Narrows [first, last) to the x for which lo <= (start + step x) >> 8 <= hi, that is
// 256 lo <= start + step x <= 256 hi + 255.
void landingSpan(std::int64_t start, std::int64_t step, std::int64_t lo, std::int64_t hi,
                 int& first, int& last) {
  const std::int64_t low = lo * 256 - start, high = hi * 256 + 255 - start;
  if (step == 0) {
    if (low > 0 || high < 0) last = first;
    return;
  }
  const std::int64_t from = step > 0 ? ceilDivide(low, step) : ceilDivide(high, step);
  const std::int64_t to = step > 0 ? floorDivide(high, step) : floorDivide(low, step);
  const int from0 = first, last0 = last;  // both results stay within these
  first = static_cast<int>(std::clamp<std::int64_t>(from, from0, last0));
  last = static_cast<int>(std::clamp<std::int64_t>(to + 1, from0, last0));
}

// Any other angle: each square point (x, y), row by row, goes through the flat projection
// (X angle = angle, Z 0, depth 256, height ratio 0, base 80) about the square's centre; the
// points landing in the middle w x h are kept, later ones overwriting earlier ones. With
// depth 256 and Z 0 (hc = 256, hs = 0) a point lands on
//   (cx + ((u c - v s + 128) >> 8), cy + ((u s + v c + 128) >> 8)),
// and both sums move by a constant step along a row, so the points of a row landing in the
// middle form one run, found by division; within it no point needs a bounds test. Outside the
// rectangle the square is black.
void projectSquare(const std::uint8_t* source, std::ptrdiff_t stride, int w, int h, int angle,
                   std::uint8_t* out, int outStride) {
  const int size = std::max(w, h);
  const int ox = (size - w) / 2, oy = (size - h) / 2;
  const tools::Projection p = tools::makeProjection(angle, 0, tools::kNeutralDepth, 0,
                                                    tools::kNeutralBaseHeight, size, size);
  std::memset(out, 0, bytesOf(outStride, h));
  const int half = size / 2;
  // The landing point in the middle: (baseX + (U >> 8), baseY + (V >> 8)).
  const int baseX = p.centreX - ox, baseY = p.centreY - oy;
  for (int y = 0; y < size; ++y) {
    const int v = y - half;
    const int startU = -half * p.c - v * p.s + 128, startV = -half * p.s + v * p.c + 128;
    int first = 0, last = size;
    landingSpan(startU, p.c, -baseX, w - 1 - baseX, first, last);
    landingSpan(startV, p.s, -baseY, h - 1 - baseY, first, last);
    if (first >= last) continue;
    const int sy = y - oy;
    const std::uint8_t* row = sy >= 0 && sy < h ? source + sy * stride : nullptr;
    // Square columns ox .. ox + w - 1 of the rectangle's rows carry its pixels.
    const int valuesFirst = row != nullptr ? std::clamp(ox, first, last) : last;
    const int valuesLast = row != nullptr ? std::clamp(ox + w, first, last) : last;
    int u = startU + first * p.c, vv = startV + first * p.s;
    const auto at = [&] {
      return static_cast<std::ptrdiff_t>(baseY + (vv >> 8)) * outStride + baseX + (u >> 8);
    };
    int x = first;
    for (; x < valuesFirst; ++x, u += p.c, vv += p.s) out[at()] = 0;
    for (; x < valuesLast; ++x, u += p.c, vv += p.s) out[at()] = row[x - ox];
    for (; x < last; ++x, u += p.c, vv += p.s) out[at()] = 0;
  }
}

}  // namespace

Rect actionRectangle(const CoordinateRange& range, int width, int height) {
  if (!range.on) return {0, 0, width - 1, height - 1};
  const Rect& r = range.rectangle;
  const int left = std::clamp(std::min(r.left, r.right), 0, width - 1);
  const int right = std::clamp(std::max(r.left, r.right), 0, width - 1);
  const int top = std::clamp(std::min(r.top, r.bottom), 0, height - 1);
  const int bottom = std::clamp(std::max(r.top, r.bottom), 0, height - 1);
  return {left, top, right, bottom};
}

void applyTable(const EditKernels& kernels, EditPlane plane, const CoordinateRange& range,
                const GreyTable& table) {
  if (emptyPlane(plane)) return;
  const auto mapSpan = [&](std::uint8_t* pixels, int count) {
    kernels.mapSpan(pixels, count, table.data());
  };
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1;
  const bool outside = range.on && range.outside;  // "範囲外" counts only while the range is on
  for (int y = 0; y < plane.height; ++y) {
    std::uint8_t* row = rowOf(plane, y);
    const bool rowInside = y >= r.top && y <= r.bottom;
    if (!outside) {
      if (rowInside) mapSpan(row + r.left, w);
    } else if (!rowInside) {
      mapSpan(row, plane.width);
    } else {
      mapSpan(row, r.left);
      mapSpan(row + r.right + 1, plane.width - r.right - 1);
    }
  }
}

void applyTable(EditPlane plane, const CoordinateRange& range, const GreyTable& table) {
  applyTable(editKernels(), plane, range, table);
}

const char* flipHorizontal(const EditKernels& kernels, EditPlane plane,
                           const CoordinateRange& range) {
  if (range.on && range.outside) return kOutsideRefused;
  if (emptyPlane(plane)) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  for (int y = r.top; y <= r.bottom; ++y)
    kernels.reverseBytes(rowOf(plane, y) + r.left, r.right - r.left + 1);
  return nullptr;
}

const char* flipHorizontal(EditPlane plane, const CoordinateRange& range) {
  return flipHorizontal(editKernels(), plane, range);
}

const char* flipVertical(EditPlane plane, const CoordinateRange& range) {
  if (range.on && range.outside) return kOutsideRefused;
  if (emptyPlane(plane)) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1;
  for (int top = r.top, bottom = r.bottom; top < bottom; ++top, --bottom)
    std::swap_ranges(rowOf(plane, top) + r.left, rowOf(plane, top) + r.left + w,
                     rowOf(plane, bottom) + r.left);
  return nullptr;
}

const char* rotateRectangle(const EditKernels& kernels, EditPlane plane,
                            const CoordinateRange& range, int angle, EditWork& work,
                            const ParallelFor& parallel) {
  if (range.on && range.outside) return kOutsideRefused;
  angle = std::clamp(angle, 0, kMaxRotationAngle);
  if (emptyPlane(plane) || angle == 0) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  const int size = std::max(w, h);
  if (angle == 180) {
    turnHalf(kernels, plane, r);
    return nullptr;
  }
  // The result is built apart while the picture is read in place, then copied back.
  const std::uint8_t* source = rowOf(plane, r.top) + r.left;
  if (angle % 90 == 0) {
    const TurnedRows turned = turnQuarter(kernels, source, plane.width, w, h,
                                          quarterTurn(angle, size, (size - w) / 2, (size - h) / 2),
                                          work.result, parallel);
    copyBack(plane, r, turned.result.rows, turned.result.stride, parallel, turned.grouped);
    return nullptr;
  }
  const ResultRows result = resultRows(work.result, w, h, 0);
  projectSquare(source, plane.width, w, h, angle, result.rows, result.stride);
  copyBack(plane, r, result.rows, result.stride, parallel);
  return nullptr;
}

const char* rotateRectangle(EditPlane plane, const CoordinateRange& range, int angle,
                            EditWork& work, const ParallelFor& parallel) {
  return rotateRectangle(editKernels(), plane, range, angle, work, parallel);
}

const char* shiftRectangle(EditPlane plane, const CoordinateRange& range, int division,
                           int interpolation, const ShiftAmount& amount, EditWork& work,
                           const ParallelFor& parallel) {
  if (range.on && range.outside) return kOutsideRefused;
  if (emptyPlane(plane)) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  // Whole rows are already a w x h picture in the plane; a narrower rectangle is cut out first.
  const std::uint8_t* source = rowOf(plane, r.top);
  if (w != plane.width) {
    copyOut(plane, r, work.rectangle);
    source = work.rectangle.data();
  }
  work.result.resize(bytesOf(w, h));
  work.scratch.resize(shiftScratchSize(w));
  if (parallel.threads() > 1) {
    // Shared out, the whole shift goes to the threads at once and is then copied back: handing
    // out each band of the single-thread way apart costs more than its cache saves.
    shiftPicture(source, w, h, division, interpolation, amount, work.result.data(),
                 work.scratch.data(), parallel);
    copyBack(plane, r, work.result.data(), w, parallel);
    return nullptr;
  }
  // Shifted a band of rows at a time, each row copied back while still in the cache, as soon as
  // no later band reads it. An output row reads source rows from one above it on (the content
  // moving up or staying) or up to one below it (moving down), so the bands go down or up the
  // rectangle and the copy trails them by two rows.
  constexpr int kTrail = 2;
  constexpr std::size_t kBandBytes = 256 * 1024;
  const int bandRows = std::max(16, static_cast<int>(kBandBytes / static_cast<std::size_t>(w)));
  const bool upwards = amount.yNegative;
  const auto copyRows = [&](int y0, int y1) {
    if (y0 < y1)
      copyBack(plane, {r.left, r.top + y0, r.right, r.top + y1 - 1},
               work.result.data() + bytesOf(w, y0), w, {});
  };
  int copied = 0;  // rows copied back, from the side the bands start on
  for (int done = 0; done < h;) {
    const int next = std::min(h, done + bandRows);
    shiftRows(source, w, h, division, interpolation, amount, work.result.data(),
              work.scratch.data(), upwards ? h - next : done, upwards ? h - done : next);
    done = next;
    const int safe = done == h ? h : std::max(0, done - kTrail);
    if (upwards)
      copyRows(h - safe, h - copied);
    else
      copyRows(copied, safe);
    copied = safe;
  }
  return nullptr;
}

bool setPixel(EditPlane plane, int x, int y, std::uint8_t value) {
  if (emptyPlane(plane) || x < 0 || y < 0 || x >= plane.width || y >= plane.height) return false;
  std::uint8_t& pixel = rowOf(plane, y)[x];
  if (pixel == value) return false;
  pixel = value;
  return true;
}

std::string editCellText(const EditPlane& plane, int x, int y, bool hexadecimal) {
  if (emptyPlane(plane) || x < 0 || y < 0 || x >= plane.width || y >= plane.height) return " ‥ ";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const int v = rowOf(plane, y)[x];
  std::string text;
  if (hexadecimal) {
    text = "  ";
    text += kDigits[v >> 4];
    text += kDigits[v & 15];
    return text;
  }
  text = v >= 100 ? " " : v >= 10 ? "  " : "   ";
  text += std::to_string(v);
  return text;
}

std::uint8_t clickValue(std::string_view text) {
  const std::optional<Operand> value = parseOperand(text.substr(0, kMaxClickValueText));
  if (!value || value->fraction) return 0;
  return static_cast<std::uint8_t>(std::clamp(value->integer, 0, 255));
}

}  // namespace vemla
