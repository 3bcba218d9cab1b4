#include "picture/quantize.h"

#include <array>
#include <cstring>

namespace vemla {
namespace {

// Dither thresholds: the 8 x 8 Bayer matrix scaled by 51 / 64 and rounded down. Rows are
// counted on bottom-up bitmap rows (row 0 is the bottom row of the picture).
// clang-format off
constexpr std::uint8_t kThreshold[8][8] = {
    { 0, 25,  6, 31,  1, 27,  7, 33},
    {38, 12, 44, 19, 39, 14, 46, 20},
    { 9, 35,  3, 28, 11, 36,  4, 30},
    {47, 22, 41, 15, 49, 23, 43, 17},
    { 2, 27,  8, 34,  0, 26,  7, 32},
    {40, 15, 47, 21, 39, 13, 45, 19},
    {11, 37,  5, 31, 10, 35,  3, 29},
    {50, 24, 43, 18, 48, 23, 42, 16},
};
// clang-format on

constexpr int kCubeLevels = 6;
constexpr int kLevelStep = 51;

// level(v, t) = v / 51 + (v % 51 > t) equals (v + 50 - t) / 51 for every v in 0..255 and
// t in 0..50, so one table indexed by v + (50 - t) (0..305) gives the level without a
// division; it is stored already weighted by 36, 6 and 1 for blue, green and red.
constexpr int kShiftedRange = 255 + 50 + 1;

constexpr std::array<std::uint8_t, kShiftedRange> weightedLevels(int weight) {
  std::array<std::uint8_t, kShiftedRange> table{};
  for (int shifted = 0; shifted < kShiftedRange; ++shifted) {
    table[shifted] = static_cast<std::uint8_t>(weight * (shifted / kLevelStep));
  }
  return table;
}

constexpr auto kBlueLevel = weightedLevels(kCubeLevels * kCubeLevels);
constexpr auto kGreenLevel = weightedLevels(kCubeLevels);
constexpr auto kRedLevel = weightedLevels(1);

// Pixels handled per step; a multiple of 8 so that every step starts on matrix column 0.
constexpr int kChunk = 2048;

// One row: `thresholdRow` is the matrix row, output goes through a local buffer so that
// quantizing in place never overwrites input bytes not yet read.
template <int kBytesPerPixel>
void quantizeRow(const std::uint8_t* source, int width, const std::uint8_t* thresholdRow,
                 std::uint8_t* destination) {
  std::uint8_t shift[8];
  for (int k = 0; k < 8; ++k) shift[k] = static_cast<std::uint8_t>(50 - thresholdRow[k]);
  alignas(64) std::uint8_t indices[kChunk];
  for (int start = 0; start < width; start += kChunk) {
    const int count = width - start < kChunk ? width - start : kChunk;
    const std::uint8_t* pixel = source + static_cast<std::size_t>(start) * kBytesPerPixel;
    int x = 0;
    for (; x + 8 <= count; x += 8) {
      for (int k = 0; k < 8; ++k) {
        const std::uint8_t* p = pixel + (x + k) * kBytesPerPixel;
        indices[x + k] =
            static_cast<std::uint8_t>(kBlueLevel[p[0] + shift[k]] + kGreenLevel[p[1] + shift[k]] +
                                      kRedLevel[p[2] + shift[k]]);
      }
    }
    for (; x < count; ++x) {
      const std::uint8_t* p = pixel + x * kBytesPerPixel;
      const int s = shift[x & 7];
      indices[x] = static_cast<std::uint8_t>(kBlueLevel[p[0] + s] + kGreenLevel[p[1] + s] +
                                             kRedLevel[p[2] + s]);
    }
    std::memcpy(destination + start, indices, static_cast<std::size_t>(count));
  }
}

}  // namespace

Palette quantizePalette() {
  Palette palette{};
  for (int blue = 0; blue < kCubeLevels; ++blue) {
    for (int green = 0; green < kCubeLevels; ++green) {
      for (int red = 0; red < kCubeLevels; ++red) {
        const int entry = 4 * (36 * blue + 6 * green + red);
        palette[entry] = static_cast<std::uint8_t>(kLevelStep * blue);
        palette[entry + 1] = static_cast<std::uint8_t>(kLevelStep * green);
        palette[entry + 2] = static_cast<std::uint8_t>(kLevelStep * red);
      }
    }
  }
  for (int i = 216; i < 256; ++i) {
    palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<std::uint8_t>(i);
  }
  return palette;
}

void quantizeTrueColour(int bytesPerPixel, const std::uint8_t* source, std::size_t sourceStride,
                        int width, int height, std::uint8_t* destination,
                        std::size_t destinationStride, Palette* palette) {
  if (palette != nullptr) *palette = quantizePalette();
  if (width < 1 || height < 1 || (bytesPerPixel != 3 && bytesPerPixel != 4)) return;
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* thresholdRow = kThreshold[(height - 1 - row) & 7];
    const std::uint8_t* in = source + static_cast<std::size_t>(row) * sourceStride;
    std::uint8_t* out = destination + static_cast<std::size_t>(row) * destinationStride;
    if (bytesPerPixel == 3) {
      quantizeRow<3>(in, width, thresholdRow, out);
    } else {
      quantizeRow<4>(in, width, thresholdRow, out);
    }
  }
}

void quantizeTrueColourReference(int bytesPerPixel, const std::uint8_t* source,
                                 std::size_t sourceStride, int width, int height,
                                 std::uint8_t* destination, std::size_t destinationStride) {
  if (width < 1 || height < 1 || (bytesPerPixel != 3 && bytesPerPixel != 4)) return;
  for (int row = 0; row < height; ++row) {
    const int bitmapRow = height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* pixel = source + static_cast<std::size_t>(row) * sourceStride +
                                  static_cast<std::size_t>(x) * bytesPerPixel;
      const int threshold = kThreshold[bitmapRow % 8][x % 8];
      int level[3];
      for (int channel = 0; channel < 3; ++channel) {
        const int value = pixel[channel];
        level[channel] = value / kLevelStep + (value % kLevelStep > threshold ? 1 : 0);
      }
      destination[static_cast<std::size_t>(row) * destinationStride + x] =
          static_cast<std::uint8_t>(36 * level[0] + 6 * level[1] + level[2]);
    }
  }
}

}  // namespace vemla
