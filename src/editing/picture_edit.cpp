#include "editing/picture_edit.h"

#include <algorithm>
#include <cstring>

#include "tools/relief.h"

namespace vemla {
namespace {

std::size_t bytesOf(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

std::uint8_t* rowOf(EditPlane plane, int y) {
  return plane.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(plane.width);
}

bool emptyPlane(const EditPlane& plane) {
  return plane.pixels == nullptr || plane.width <= 0 || plane.height <= 0;
}

// Eight pixels per load and store: the lookups then limit the pass, not the byte stores.
void mapSpan(std::uint8_t* pixels, int count, const GreyTable& table) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    std::uint64_t values = 0;
    std::memcpy(&values, pixels + i, 8);
    std::uint64_t mapped = 0;
    for (int k = 0; k < 8; ++k)
      mapped |= static_cast<std::uint64_t>(table[(values >> (8 * k)) & 0xFF]) << (8 * k);
    std::memcpy(pixels + i, &mapped, 8);
  }
  for (; i < count; ++i) pixels[i] = table[pixels[i]];
}

// Reverses `count` bytes eight at a time from both ends (byte-swapped words), the middle
// byte by byte.
void reverseBytes(std::uint8_t* bytes, int count) {
  std::uint8_t* low = bytes;
  std::uint8_t* high = bytes + count;
  while (high - low >= 16) {
    std::uint64_t left = 0, right = 0;
    std::memcpy(&left, low, 8);
    std::memcpy(&right, high - 8, 8);
    left = __builtin_bswap64(left);
    right = __builtin_bswap64(right);
    std::memcpy(low, &right, 8);
    std::memcpy(high - 8, &left, 8);
    low += 8;
    high -= 8;
  }
  std::reverse(low, high);
}

// Copies the rectangle into `into` (w x h) or back from it.
void copyOut(EditPlane plane, const Rect& r, std::vector<std::uint8_t>& into) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  into.resize(bytesOf(w, h));
  for (int y = 0; y < h; ++y)
    std::memcpy(into.data() + bytesOf(w, y), rowOf(plane, r.top + y) + r.left,
                static_cast<std::size_t>(w));
}
void copyBack(EditPlane plane, const Rect& r, const std::vector<std::uint8_t>& from) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  for (int y = 0; y < h; ++y)
    std::memcpy(rowOf(plane, r.top + y) + r.left, from.data() + bytesOf(w, y),
                static_cast<std::size_t>(w));
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

void mapIndices(const std::uint8_t* source, std::ptrdiff_t stride, int w, int h, const IndexMap& m,
                std::uint8_t* out) {
  constexpr int kBand = 16;
  const std::ptrdiff_t stepI = m.ai + m.bi * stride;
  // A turn that reads along source rows needs no bands across.
  const int across = m.bi == 0 ? w : kBand;
  for (int j0 = 0; j0 < h; j0 += kBand) {
    const int j1 = std::min(h, j0 + kBand);
    for (int i0 = 0; i0 < w; i0 += across) {
      const int i1 = std::min(w, i0 + across);
      for (int j = j0; j < j1; ++j) {
        std::uint8_t* row = out + bytesOf(w, j);
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

// The rotated middle of the square for a quarter turn: with the rectangle at (ox, oy) in the
// square, out(x, y) = in(y, S-1-x) at 90, in(S-1-x, S-1-y) at 180, in(S-1-y, x) at 270, in
// square coordinates.
IndexMap quarterTurn(int angle, int size, int ox, int oy) {
  const int last = size - 1, far = last - ox - oy;
  switch (angle) {
    case 90:
      return {oy - ox, 0, 1, far, -1, 0};
    case 180:
      return {last - 2 * ox, -1, 0, last - 2 * oy, 0, -1};
    default:
      return {far, 0, -1, ox - oy, 1, 0};
  }
}

// Any other angle: each square point (x, y), row by row, goes through the flat projection
// (X angle = angle, Z 0, depth 256, height ratio 0, base 80) about the square's centre; the
// points landing in the middle w x h are kept, later ones overwriting earlier ones.
void projectSquare(const std::uint8_t* source, std::ptrdiff_t stride, int w, int h, int angle,
                   std::uint8_t* out) {
  const int size = std::max(w, h);
  const int ox = (size - w) / 2, oy = (size - h) / 2;
  const tools::Projection projection = tools::makeProjection(angle, 0, tools::kNeutralDepth, 0,
                                                             tools::kNeutralBaseHeight, size, size);
  std::memset(out, 0, bytesOf(w, h));
  const int half = size / 2;
  for (int y = 0; y < size; ++y) {
    const int sy = y - oy;
    const bool rowInside = sy >= 0 && sy < h;
    const std::uint8_t* sourceRow = rowInside ? source + sy * stride : nullptr;
    for (int x = 0; x < size; ++x) {
      const ViewPoint to = tools::project(projection, x - half, y - half, 0);
      const int tx = to.x - ox, ty = to.y - oy;
      if (tx < 0 || tx >= w || ty < 0 || ty >= h) continue;
      const int sx = x - ox;
      out[bytesOf(w, ty) + static_cast<std::size_t>(tx)] =
          rowInside && sx >= 0 && sx < w ? sourceRow[sx] : 0;
    }
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

void applyTable(EditPlane plane, const CoordinateRange& range, const GreyTable& table) {
  if (emptyPlane(plane)) return;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1;
  const bool outside = range.on && range.outside;  // "範囲外" counts only while the range is on
  for (int y = 0; y < plane.height; ++y) {
    std::uint8_t* row = rowOf(plane, y);
    const bool rowInside = y >= r.top && y <= r.bottom;
    if (!outside) {
      if (rowInside) mapSpan(row + r.left, w, table);
    } else if (!rowInside) {
      mapSpan(row, plane.width, table);
    } else {
      mapSpan(row, r.left, table);
      mapSpan(row + r.right + 1, plane.width - r.right - 1, table);
    }
  }
}

const char* flipHorizontal(EditPlane plane, const CoordinateRange& range) {
  if (range.on && range.outside) return kOutsideRefused;
  if (emptyPlane(plane)) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  for (int y = r.top; y <= r.bottom; ++y)
    reverseBytes(rowOf(plane, y) + r.left, r.right - r.left + 1);
  return nullptr;
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

const char* rotateRectangle(EditPlane plane, const CoordinateRange& range, int angle,
                            EditWork& work) {
  if (range.on && range.outside) return kOutsideRefused;
  angle = std::clamp(angle, 0, kMaxRotationAngle);
  if (emptyPlane(plane) || angle == 0) return nullptr;
  const Rect r = actionRectangle(range, plane.width, plane.height);
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
  const int size = std::max(w, h);
  // The result is built apart while the picture is read in place, then copied back.
  const std::uint8_t* source = rowOf(plane, r.top) + r.left;
  work.result.resize(bytesOf(w, h));
  if (angle % 90 == 0)
    mapIndices(source, plane.width, w, h, quarterTurn(angle, size, (size - w) / 2, (size - h) / 2),
               work.result.data());
  else
    projectSquare(source, plane.width, w, h, angle, work.result.data());
  copyBack(plane, r, work.result);
  return nullptr;
}

const char* shiftRectangle(EditPlane plane, const CoordinateRange& range, int division,
                           int interpolation, const ShiftAmount& amount, EditWork& work) {
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
  shiftPicture(source, w, h, division, interpolation, amount, work.result.data(),
               work.scratch.data());
  copyBack(plane, r, work.result);
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
