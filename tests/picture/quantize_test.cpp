#include "picture/quantize.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::Each;
using ::testing::ElementsAre;

// The dither thresholds as the design gives them, row y = bitmap row (0 = bottom row).
// clang-format off
constexpr int kMatrix[8][8] = {
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

// A picture of `width` x `height` 24-bit pixels all (blue, green, red).
Bytes uniform(int width, int height, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  Bytes pixels;
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {blue, green, red});
  return pixels;
}

Bytes quantize(const Bytes& pixels, int width, int height, int bytesPerPixel = 3) {
  Bytes indices(static_cast<std::size_t>(width) * height, 0xEE);
  quantizeTrueColour(bytesPerPixel, pixels.data(), static_cast<std::size_t>(width) * bytesPerPixel,
                     width, height, indices.data(), static_cast<std::size_t>(width), nullptr);
  return indices;
}

TEST(QuantizePalette, HoldsTheColourCubeThenGrey) {
  const Palette palette = quantizePalette();
  const auto entry = [&palette](int i) {
    return std::vector<int>(palette.begin() + 4 * i, palette.begin() + 4 * i + 4);
  };
  EXPECT_THAT(entry(0), ElementsAre(0, 0, 0, 0));
  EXPECT_THAT(entry(1), ElementsAre(0, 0, 51, 0));   // red level 1
  EXPECT_THAT(entry(6), ElementsAre(0, 51, 0, 0));   // green level 1
  EXPECT_THAT(entry(36), ElementsAre(51, 0, 0, 0));  // blue level 1
  EXPECT_THAT(entry(36 * 2 + 6 * 3 + 4), ElementsAre(102, 153, 204, 0));
  EXPECT_THAT(entry(215), ElementsAre(255, 255, 255, 0));
  EXPECT_THAT(entry(216), ElementsAre(216, 216, 216, 0));
  EXPECT_THAT(entry(255), ElementsAre(255, 255, 255, 0));
}

TEST(QuantizeThresholds, AreTheBayerMatrixScaledByFiftyOneSixtyFourths) {
  // Bayer matrices grow as [[4B, 4B + 2], [4B + 3, 4B + 1]] from the 1 x 1 matrix 0.
  int bayer[8][8] = {{0}};
  for (int size = 1; size < 8; size *= 2) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int base = 4 * bayer[y][x];
        bayer[y][x] = base;
        bayer[y][x + size] = base + 2;
        bayer[y + size][x] = base + 3;
        bayer[y + size][x + size] = base + 1;
      }
    }
  }
  EXPECT_THAT(bayer[0], ElementsAre(0, 32, 8, 40, 2, 34, 10, 42));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(kMatrix[y][x], bayer[y][x] * 51 / 64) << y << "," << x;
  }
}

TEST(QuantizeTrueColour, RaisesALevelOnlyAboveTheThresholdOfItsBitmapRow) {
  // 8 x 8, picture row i lies on bitmap row 7 - i. A remainder equal to the threshold stays,
  // one above it is raised: red T + 1 -> index 1, green 51 + T + 1 -> level 2 -> index 12.
  Bytes atThreshold, aboveThreshold;
  for (int row = 0; row < 8; ++row) {
    for (int x = 0; x < 8; ++x) {
      const auto t = static_cast<std::uint8_t>(kMatrix[7 - row][x]);
      atThreshold.insert(atThreshold.end(), {0, static_cast<std::uint8_t>(51 + t), t});
      aboveThreshold.insert(aboveThreshold.end(), {0, static_cast<std::uint8_t>(51 + t + 1),
                                                   static_cast<std::uint8_t>(t + 1)});
    }
  }
  EXPECT_THAT(quantize(atThreshold, 8, 8), Each(6));
  EXPECT_THAT(quantize(aboveThreshold, 8, 8), Each(12 + 1));
}

TEST(QuantizeTrueColour, WhiteIsTheLastCubeEntryAndBlackTheFirstEverywhere) {
  EXPECT_THAT(quantize(uniform(13, 11, 255, 255, 255), 13, 11), Each(215));
  EXPECT_THAT(quantize(uniform(13, 11, 0, 0, 0), 13, 11), Each(0));
}

TEST(QuantizeTrueColour, MultiplesOfFiftyOneAreNeverRaised) {
  for (int level = 0; level <= 5; ++level) {
    const auto v = static_cast<std::uint8_t>(51 * level);
    EXPECT_THAT(quantize(uniform(8, 8, v, v, v), 8, 8), Each(43 * level)) << level;
  }
  // Blue 102, green 51, red 255: levels 2, 1, 5.
  EXPECT_THAT(quantize(uniform(8, 8, 102, 51, 255), 8, 8), Each(72 + 6 + 5));
}

TEST(QuantizeTrueColour, PictureOfOneRowUsesMatrixRowZero) {
  // 25 at t = 0 is raised in every channel (index 43), at t = 25 it is not.
  EXPECT_THAT(quantize(uniform(2, 1, 25, 25, 25), 2, 1), ElementsAre(43, 0));
  // 26 exceeds the row-0 thresholds 0, 25, 6, 1, 7 (columns 0, 1, 2, 4, 6).
  EXPECT_THAT(quantize(uniform(8, 1, 26, 26, 26), 8, 1), ElementsAre(43, 43, 43, 0, 43, 0, 43, 0));
  // With two rows the bottom row keeps matrix row 0, the top row takes row 1
  // (38, 12, 44, 19, 39, 14, 46, 20: exceeded in columns 1, 3, 5, 7).
  EXPECT_THAT(quantize(uniform(8, 2, 26, 26, 26), 8, 2),
              ElementsAre(0, 43, 0, 43, 0, 43, 0, 43, 43, 43, 43, 0, 43, 0, 43, 0));
}

// The table-driven kernel against the per-pixel division form on random pictures, with widths
// around the kernel's 8-pixel groups and 2048-pixel chunks and with padded strides.
TEST(QuantizeTrueColour, MatchesTheReferenceOnRandomPictures) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  const int widths[] = {1, 2, 7, 8, 9, 15, 17, 64, 2047, 2048, 2049, 4100};
  for (const int bytesPerPixel : {3, 4}) {
    for (const int width : widths) {
      for (const int height : {1, 2, 7, 9, 17}) {
        SCOPED_TRACE(::testing::Message() << bytesPerPixel << " " << width << "x" << height);
        const std::size_t sourceStride = static_cast<std::size_t>(width) * bytesPerPixel + 5;
        const std::size_t destinationStride = static_cast<std::size_t>(width) + 3;
        Bytes pixels(sourceStride * height);
        for (auto& value : pixels) value = static_cast<std::uint8_t>(byte(random));
        Bytes fast(destinationStride * height, 0xEE);
        Bytes reference(destinationStride * height, 0xEE);
        quantizeTrueColour(bytesPerPixel, pixels.data(), sourceStride, width, height, fast.data(),
                           destinationStride, nullptr);
        quantizeTrueColourReference(bytesPerPixel, pixels.data(), sourceStride, width, height,
                                    reference.data(), destinationStride);
        ASSERT_TRUE(fast == reference);
        for (int row = 0; row < height; ++row) {
          const auto begin = fast.begin() + static_cast<std::ptrdiff_t>(row * destinationStride);
          ASSERT_TRUE(std::all_of(begin, begin + width, [](std::uint8_t i) { return i < 216; }));
          // Bytes beyond the width are not written.
          ASSERT_TRUE(std::all_of(begin + width,
                                  begin + static_cast<std::ptrdiff_t>(destinationStride),
                                  [](std::uint8_t i) { return i == 0xEE; }));
        }
      }
    }
  }
}

TEST(QuantizeTrueColour, MatchesTheReferenceForEveryValueAtEveryThreshold) {
  // Picture row block k (8 rows) holds channel values derived from k in all 64 matrix cells.
  const int width = 8;
  const int height = 8 * 256;
  Bytes pixels;
  for (int row = 0; row < height; ++row) {
    const int k = row / 8;
    for (int x = 0; x < width; ++x) {
      pixels.insert(pixels.end(), {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k),
                                   static_cast<std::uint8_t>((k * 37 + x) & 255)});
    }
  }
  Bytes reference(static_cast<std::size_t>(width) * height);
  quantizeTrueColourReference(3, pixels.data(), width * 3, width, height, reference.data(), width);
  EXPECT_TRUE(quantize(pixels, width, height) == reference);
}

TEST(QuantizeTrueColour, WorksInPlace) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> byte(0, 255);
  for (const int bytesPerPixel : {3, 4}) {
    const int width = 2100;
    const int height = 5;
    const std::size_t stride = static_cast<std::size_t>(width) * bytesPerPixel;
    Bytes pixels(stride * height);
    for (auto& value : pixels) value = static_cast<std::uint8_t>(byte(random));
    Bytes expected(static_cast<std::size_t>(width) * height);
    quantizeTrueColourReference(bytesPerPixel, pixels.data(), stride, width, height,
                                expected.data(), width);
    quantizeTrueColour(bytesPerPixel, pixels.data(), stride, width, height, pixels.data(), width,
                       nullptr);
    EXPECT_TRUE(Bytes(pixels.begin(), pixels.begin() + width * height) == expected)
        << bytesPerPixel;
  }
}

}  // namespace
}  // namespace vemla
