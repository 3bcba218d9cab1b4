#include "processing/image_scope.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "processing/shift.h"
#include "processing/view_rendering.h"

namespace vemla {
namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 9, kAdvance = 6;

// The scope font, one string of nine rows of five columns per glyph ('#' set).
struct Glyph {
  char32_t character;
  const char* rows[kGlyphHeight];
};
constexpr Glyph kFont[] = {
    {U'0', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {U'1', {"..#..", "###..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {U'2', {".###.", "#...#", "#...#", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {U'3', {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."}},
    {U'4', {"...#.", "..##.", "..##.", ".#.#.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {U'5', {"#####", "#....", "#....", "####.", "#...#", "....#", "....#", "#...#", ".###."}},
    {U'6', {"..##.", ".#..#", "#....", "####.", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {U'7', {"#####", "....#", "....#", "...#.", "...#.", "...#.", "..#..", "..#..", "..#.."}},
    {U'8', {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {U'9', {".###.", "#...#", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}},
    {U'(', {"...#.", "..#..", ".#...", ".#...", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {U')', {".#...", "..#..", "...#.", "...#.", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {U',', {".....", ".....", ".....", ".....", ".....", ".....", ".....", "...#.", "..##."}},
    {U'x', {".....", ".....", ".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
};
constexpr Glyph kOtherGlyph = {
    0, {".....", ".....", ".....", ".....", ".....", ".....", ".....", "..##.", "..##."}};

const Glyph& glyphOf(char32_t character) {
  for (const Glyph& glyph : kFont) {
    if (glyph.character == character) return glyph;
  }
  return kOtherGlyph;
}

// The next code point of `text` from `at`; a malformed byte counts as one character.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  char32_t value = extra == 3   ? lead & 0x07u
                   : extra == 2 ? lead & 0x0Fu
                   : extra == 1 ? lead & 0x1Fu
                                : lead;
  while (extra-- > 0 && at < text.size() &&
         (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u) {
    value = (value << 6) | (static_cast<unsigned char>(text[at++]) & 0x3Fu);
  }
  return value;
}

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

ColourTable makeScopePalette() {
  ColourTable palette{};
  for (int g = 0; g < 256; ++g) {
    const auto grey = static_cast<std::uint8_t>(g * 192 / 256);
    palette[static_cast<std::size_t>(g)] = {grey, grey, grey};
  }
  palette[kScopeOrange] = {255, 128, 0};
  palette[kScopeWhite] = {255, 255, 255};
  return palette;
}

// The 256 x 256 neighbourhood of (x, y): columns x-128 .. x+127, rows y-128 .. y+127, 0
// outside the picture.
void copyNeighbourhood(const ScopeRequest& request, std::uint8_t* out) {
  std::memset(out, 0, static_cast<std::size_t>(kScopeSize) * kScopeSize);
  const int left = request.x - kScopeSize / 2, top = request.y - kScopeSize / 2;
  const int first = std::max(0, -left), last = std::min(kScopeSize, request.width - left);
  if (first >= last) return;
  for (int v = std::max(0, -top); v < kScopeSize && top + v < request.height; ++v) {
    std::memcpy(out + at(v, kScopeSize) + first,
                request.pixels + at(top + v, request.width) + (left + first),
                static_cast<std::size_t>(last - first));
  }
}

// The first neighbourhood column (or row) shown: the one that puts column 128 in the middle of
// the visible cells, limited so that the cells stay inside the neighbourhood.
int scopeWindowStart(int s) {
  const int visible = kScopeSize / s + (kScopeSize % s > 0 ? 1 : 0);
  return std::clamp(kScopeSize / 2 - visible / 2, 0, kScopeSize - visible);
}

void magnifyNearest(const std::uint8_t* source, int s, std::uint8_t* raster) {
  const int c = scopeWindowStart(s);
  std::array<int, kScopeSize> cells{};
  for (int u = 0; u < kScopeSize; ++u) cells[static_cast<std::size_t>(u)] = c + u / s;
  for (int v = 0; v < kScopeSize; ++v) {
    const std::uint8_t* row = source + at(c + v / s, kScopeSize);
    std::uint8_t* out = raster + at(v, kScopeSize);
    if (v % s != 0) {
      std::memcpy(out, out - kScopeSize, kScopeSize);
      continue;
    }
    for (int u = 0; u < kScopeSize; ++u) out[u] = row[cells[static_cast<std::size_t>(u)]];
  }
}

using Weights = std::array<std::int32_t, 4>;
const std::array<Weights, 256>& linearTable() {
  static const std::array<Weights, 256> table = [] {
    std::array<Weights, 256> rows{};
    for (int r = 0; r < 256; ++r) rows[static_cast<std::size_t>(r)] = {0, 1024 - 4 * r, 4 * r, 0};
    return rows;
  }();
  return table;
}

struct Tap {
  int first;  // neighbourhood index of the first of the four taps
  const Weights* weights;
};
Tap tapOf(int viewIndex, int start, int s, const std::array<Weights, 256>& table) {
  const int t = viewIndex - s / 2;
  return {start + floorDiv(t, s) - 1, &table[static_cast<std::size_t>(floorMod(t, s) * 256 / s)]};
}

// Four-tap interpolation: neighbourhood pixel j sits at raster column (j - c) s + s/2; taps
// beyond column or row 0 and 255 repeat the first or last one.
void magnifyInterpolated(const std::uint8_t* source, int s, int zoomMode, std::uint8_t* raster,
                         ScopeWork& work) {
  const std::array<Weights, 256>& table =
      zoomMode == kZoomLinear ? linearTable() : cubicWeightTable();
  constexpr int kLast = kScopeSize - 1;
  const int c = scopeWindowStart(s);
  std::array<Tap, kScopeSize> columns{};
  for (int u = 0; u < kScopeSize; ++u) columns[static_cast<std::size_t>(u)] = tapOf(u, c, s, table);
  const int rowFirst = std::clamp(tapOf(0, c, s, table).first, 0, kLast);
  const int rowLast = std::clamp(tapOf(kLast, c, s, table).first + 3, 0, kLast);
  work.rows.resize(at(rowLast - rowFirst + 1, kScopeSize));
  for (int row = rowFirst; row <= rowLast; ++row) {
    const std::uint8_t* line = source + at(row, kScopeSize);
    std::int32_t* sums = work.rows.data() + at(row - rowFirst, kScopeSize);
    for (int u = 0; u < kScopeSize; ++u) {
      const Tap& tap = columns[static_cast<std::size_t>(u)];
      std::int32_t sum = 0;
      for (int k = 0; k < 4; ++k)
        sum +=
            (*tap.weights)[static_cast<std::size_t>(k)] * line[std::clamp(tap.first + k, 0, kLast)];
      sums[u] = sum;
    }
  }
  for (int v = 0; v < kScopeSize; ++v) {
    const Tap tap = tapOf(v, c, s, table);
    const std::int32_t* taps[4];
    for (int k = 0; k < 4; ++k)
      taps[k] = work.rows.data() + at(std::clamp(tap.first + k, 0, kLast) - rowFirst, kScopeSize);
    std::uint8_t* out = raster + at(v, kScopeSize);
    const Weights& w = *tap.weights;
    for (int u = 0; u < kScopeSize; ++u) {
      const std::int64_t sum = static_cast<std::int64_t>(w[0]) * taps[0][u] +
                               static_cast<std::int64_t>(w[1]) * taps[1][u] +
                               static_cast<std::int64_t>(w[2]) * taps[2][u] +
                               static_cast<std::int64_t>(w[3]) * taps[3][u];
      out[u] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(sum >> 20, 0, 255));
    }
  }
}

// A square of dashes, four pixels white then four pixels black along each side.
void drawFrame(std::uint8_t* raster, int s) {
  const int low = std::clamp(kScopeSize / 2 - 3 * s, 0, kScopeSize - 1);
  const int high = std::clamp(kScopeSize / 2 + 3 * s, 0, kScopeSize - 1);
  const auto dash = [](int i) {
    return static_cast<std::uint8_t>((i / 4) % 2 == 0 ? kScopeWhite : 0);
  };
  for (int i = low; i <= high; ++i) {
    raster[at(low, kScopeSize) + static_cast<std::size_t>(i)] = dash(i - low);
    raster[at(high, kScopeSize) + static_cast<std::size_t>(i)] = dash(i - low);
    raster[at(i, kScopeSize) + static_cast<std::size_t>(low)] = dash(i - low);
    raster[at(i, kScopeSize) + static_cast<std::size_t>(high)] = dash(i - low);
  }
}

void drawTexts(const ScopeRequest& request, std::uint8_t* raster) {
  char text[32];
  std::snprintf(text, sizeof text, "(%3d,%3d)", request.x, request.y);
  drawScopeText(raster, 104, 32, text, kScopeWhite);
  for (int i = -3; i <= 3; ++i) {
    for (int j = -3; j <= 3; ++j) {
      const int px = request.x + j, py = request.y + i;
      const bool inside = px >= 0 && px < request.width && py >= 0 && py < request.height;
      if (inside) {
        std::snprintf(text, sizeof text, " %3d",
                      request.pixels[at(py, request.width) + static_cast<std::size_t>(px)]);
      } else {
        std::snprintf(text, sizeof text, "  ‥");
      }
      const std::uint8_t colour = (i == 0 || j == 0) ? kScopeOrange : kScopeWhite;
      drawScopeText(raster, 40 + 24 * (j + 3), 56 + 24 * (i + 3), text, colour);
    }
  }
  std::snprintf(text, sizeof text, "x%2d", request.magnification);
  drawScopeText(raster, 118, 228, text, kScopeWhite);
}

}  // namespace

const ColourTable& scopePalette() {
  static const ColourTable palette = makeScopePalette();
  return palette;
}

void drawScopeText(std::uint8_t* raster, int left, int top, std::string_view text,
                   std::uint8_t colour) {
  std::size_t index = 0;
  for (int x = left; index < text.size(); x += kAdvance) {
    const char32_t character = nextCharacter(text, index);
    if (character == U' ') continue;
    const Glyph& glyph = glyphOf(character);
    for (int row = 0; row < kGlyphHeight; ++row) {
      const int y = top + row;
      if (y < 0 || y >= kScopeSize) continue;
      for (int column = 0; column < kGlyphWidth; ++column) {
        const int px = x + column;
        if (glyph.rows[row][column] == '#' && px >= 0 && px < kScopeSize)
          raster[at(y, kScopeSize) + static_cast<std::size_t>(px)] = colour;
      }
    }
  }
}

void paintScope(const ScopeRequest& request, std::uint8_t* raster, ScopeWork& work) {
  constexpr std::size_t kPixels = static_cast<std::size_t>(kScopeSize) * kScopeSize;
  if (request.pixels == nullptr || request.width < 1 || request.height < 1 || request.x < 0 ||
      request.y < 0 || request.x >= request.width || request.y >= request.height) {
    std::memset(raster, 0, kPixels);
    return;
  }
  const int s = std::clamp(request.magnification, 1, kScopeMaxMagnification);
  work.neighbourhood.resize(kPixels);
  copyNeighbourhood(request, work.neighbourhood.data());
  if (s > 1 && request.interpolate) {
    magnifyInterpolated(work.neighbourhood.data(), s, request.zoomMode, raster, work);
  } else {
    magnifyNearest(work.neighbourhood.data(), s, raster);
  }
  for (std::size_t i = 0; i < kPixels; ++i) raster[i] = std::min(raster[i], kScopeBrightestGrey);
  drawFrame(raster, s);
  ScopeRequest shown = request;
  shown.magnification = s;
  drawTexts(shown, raster);
}

ScopePoint scopePlacement(ScopeSource source, int scopePosition, ScopePoint mouse,
                          ScopePoint imagePane1, ScopePoint imagePane2) {
  if (scopePosition == 1) {
    return source == ScopeSource::Image2 ? ScopePoint{mouse.x - kScopeSize, mouse.y} : mouse;
  }
  switch (source) {
    case ScopeSource::Picture1:
      return imagePane1;
    case ScopeSource::Picture2:
      return {imagePane1.x, imagePane1.y + kScopeSize};
    case ScopeSource::Image1:
      return {imagePane2.x, imagePane2.y + kScopeSize / 2};
    case ScopeSource::Image2:
      return {imagePane1.x + kScopeSize, imagePane1.y + kScopeSize / 2};
  }
  return imagePane1;
}

}  // namespace vemla
