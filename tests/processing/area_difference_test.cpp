#include "processing/area_difference.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "processing/image_creation.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(static_cast<std::size_t>(count));
  for (auto& v : bytes) v = static_cast<std::uint8_t>(byte(random));
  return bytes;
}

Bytes filled(int width, int height, std::uint8_t value) {
  return Bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), value);
}

TEST(AreaWindow, OddSizesExtendEquallyAndEvenSizesOneMoreRightAndDown) {
  EXPECT_EQ(areaWindow(3, 3, 99, 99), (AreaWindow{1, 1, 1, 1}));
  EXPECT_EQ(areaWindow(4, 4, 99, 99), (AreaWindow{1, 2, 1, 2}));
  EXPECT_EQ(areaWindow(1, 2, 99, 99), (AreaWindow{0, 0, 0, 1}));
  EXPECT_EQ(areaWindow(0, -5, 99, 99), (AreaWindow{0, 0, 0, 0}));  // below 1 counts as 1
  // A setting of INT_MAX is limited to the largest window (2 MaxPicture - 1).
  EXPECT_EQ(areaWindow(INT_MAX, INT_MAX, 2047, 2047), (AreaWindow{1023, 1023, 1023, 1023}));
}

TEST(AreaValue, DivisorRoundsHalfUpThenLimits) {
  EXPECT_EQ(areaValue(5, 2.0), 3);  // 2.5 + 0.5
  EXPECT_EQ(areaValue(4, 2.0), 2);  // 2 + 0.5 truncated
  EXPECT_EQ(areaValue(4, 9.0), 0);  // 0.94
  EXPECT_EQ(areaValue(5, 9.0), 1);  // 1.06
  EXPECT_EQ(areaValue(2299, 9.0), 255);
  EXPECT_EQ(areaValue(700, 1.0), 255);  // D = 1 and D = 0: v itself, limited
  EXPECT_EQ(areaValue(17, 0.0), 17);
  EXPECT_EQ(areaValue(17, -3.0), 0);
  EXPECT_EQ(areaValue(17, std::nan("")), 0);
  EXPECT_EQ(areaValue(3, 0.25), 12);
}

TEST(AreaValueMap, AgreesWithTheExtendedPrecisionRuleEverywhere) {
  std::mt19937_64 random(11);
  for (const double divisor :
       {9.0, 2.0, 1.0, 0.0, 1.0 / 3, 0.7, 7.77, 1e-9, 4000.5, 123456.0, 3e9, -2.0, 1e300}) {
    const AreaValueMap map(divisor);
    for (std::uint64_t v = 0; v < 20000; ++v)
      ASSERT_EQ(map(v), areaValue(v, divisor)) << divisor << " " << v;
    for (int k = 1; k < 256; ++k) {  // around every step of the result
      const auto edge = static_cast<std::uint64_t>(std::clamp((k - 0.5) * divisor, 0.0, 1e18));
      for (std::uint64_t v = edge > 3 ? edge - 3 : 0; v < edge + 3; ++v)
        ASSERT_EQ(map(v), areaValue(v, divisor)) << divisor << " " << v;
    }
    for (int i = 0; i < 20000; ++i) {
      const std::uint64_t v = random() >> (random() % 64);
      ASSERT_EQ(map(v), areaValue(v, divisor)) << divisor << " " << v;
    }
  }
}

// 8 x 8, picture 1 all 5 and picture 2 all 0, window 4 x 4: x - 1 .. x + 2, y - 1 .. y + 2.
TEST(AreaDifference, EvenWindowLeavesTwoPixelsOnEverySideZero) {
  const Bytes p1 = filled(8, 8, 5), p2 = filled(8, 8, 0);
  CreationPictures pictures{p1.data(), p2.data(), nullptr,
                            8,         8,         {Rect{0, 0, 7, 7}, Rect{0, 0, 7, 7}}};
  Bytes image = filled(8, 8, 99);
  const ImageStatistics statistics = createBuiltInImage(
      kKindAreaDifference, pictures, AreaDifferenceSettings{4, 4, kSumOfDifferences, 1.0}, 15, 15,
      image.data());
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x <= 5 && y >= 2 && y <= 5;
      EXPECT_EQ(image[static_cast<std::size_t>(y * 8 + x)], inside ? 80 : 0) << x << "," << y;
    }
  }
  // 16 pixels of 16 * 5 = 80; the outer two pixels are not counted.
  EXPECT_EQ(statistics, (ImageStatistics{80, 80, 80, 1280, Rect{2, 2, 5, 5}}));
}

TEST(AreaDifference, OddWindowLeavesOnePixelZeroAndDividesWithRounding) {
  // Picture 1 is 1 at (2, 2) only; every 3 x 3 window around it sums to 1, others to 0.
  Bytes p1 = filled(5, 5, 0);
  p1[2 * 5 + 2] = 1;
  const Bytes p2 = filled(5, 5, 0);
  Bytes image = filled(5, 5, 99);
  const Rect range = areaDifference(p1.data(), p2.data(), 5, 5, areaWindow(3, 3, 9, 9),
                                    kSumOfDifferences, 2.0, image.data());
  EXPECT_EQ(range, (Rect{1, 1, 3, 3}));
  // v = 1: 1 / 2 + 0.5 = 1.
  const Bytes expected{0, 0, 0, 0, 0,  //
                       0, 1, 1, 1, 0,  //
                       0, 1, 1, 1, 0,  //
                       0, 1, 1, 1, 0,  //
                       0, 0, 0, 0, 0};
  EXPECT_EQ(image, expected);
}

TEST(AreaDifference, DifferenceOfSumsComparesTheTwoWindowTotals) {
  // 3 x 1 windows over one row: picture 1 = 10 20 30 40, picture 2 = 40 10 10 0.
  const Bytes p1{10, 20, 30, 40}, p2{40, 10, 10, 0};
  Bytes sumsImage(4, 99), differencesImage(4, 99);
  const AreaWindow window = areaWindow(3, 1, 9, 9);
  areaDifference(p1.data(), p2.data(), 4, 1, window, kDifferenceOfSums, 1.0, sumsImage.data());
  areaDifference(p1.data(), p2.data(), 4, 1, window, kSumOfDifferences, 1.0,
                 differencesImage.data());
  // x = 1: |60 - 60| = 0, x = 2: |90 - 20| = 70. Sums of differences: 30 + 10 + 20 = 60 and
  // 10 + 20 + 40 = 70.
  EXPECT_EQ(sumsImage, (Bytes{0, 0, 70, 0}));
  EXPECT_EQ(differencesImage, (Bytes{0, 60, 70, 0}));
}

// A 2903 x 2903 window of 255 against 0 sums to 2 149 005 795 > 2^31 - 1; divided by 10^7
// that is 214.9 + 0.5, so 215. A 2900 x 2900 window sums to 2 144 550 000, just inside 31 bits
// (214.455 + 0.5, so 214). Both methods, as the second sums the signed differences.
TEST(AreaDifference, WindowSumsNearAndBeyondThirtyOneBitsAreDividedCorrectly) {
  constexpr int kSide = 2905;
  const Bytes p1 = filled(kSide, kSide, 255), p2 = filled(kSide, kSide, 0);
  const struct {
    int window;
    Rect range;
    int value;
  } kCases[] = {{2903, Rect{1451, 1451, 1453, 1453}, 215},
                {2900, Rect{1450, 1450, 1454, 1454}, 214}};
  for (const auto& c : kCases) {
    for (const int method : {kSumOfDifferences, kDifferenceOfSums}) {
      Bytes image = filled(kSide, kSide, 99);
      const Rect range =
          areaDifference(p1.data(), p2.data(), kSide, kSide,
                         areaWindow(c.window, c.window, 8191, 8191), method, 1e7, image.data());
      EXPECT_EQ(range, c.range);
      EXPECT_EQ(image[static_cast<std::size_t>(kSide / 2) * kSide + kSide / 2], c.value);
      EXPECT_EQ(image[static_cast<std::size_t>(c.range.top) * kSide + c.range.right], c.value);
      EXPECT_EQ(image[static_cast<std::size_t>(c.range.top - 1) * kSide + kSide / 2], 0);
    }
  }
}

TEST(AreaDifference, WindowLargerThanThePictureGivesAnAllZeroImage) {
  const Bytes p1 = filled(6, 6, 200), p2 = filled(6, 6, 0);
  Bytes image = filled(6, 6, 99);
  CreationPictures pictures{p1.data(), p2.data(), nullptr,
                            6,         6,         {Rect{0, 0, 5, 5}, Rect{0, 0, 5, 5}}};
  const ImageStatistics statistics =
      createBuiltInImage(kKindAreaDifference, pictures, AreaDifferenceSettings{INT_MAX, 7, 0, 9.0},
                         8191, 8191, image.data());
  EXPECT_EQ(image, filled(6, 6, 0));
  EXPECT_EQ(statistics.maximum, 0);
  EXPECT_EQ(statistics.sum, 0);
}

// The rule written per pixel: the window summed directly, then the extended precision rule.
Bytes referenceAreaDifference(const Bytes& p1, const Bytes& p2, int width, int height, int sizeX,
                              int sizeY, int method, double divisor) {
  const int left = (sizeX - 1) / 2, right = left + (sizeX % 2 == 0);
  const int up = (sizeY - 1) / 2, down = up + (sizeY % 2 == 0);
  Bytes image = filled(width, height, 0);
  for (int y = down; y <= height - 1 - down; ++y) {
    for (int x = right; x <= width - 1 - right; ++x) {
      long long sum1 = 0, sum2 = 0, differences = 0;
      for (int j = y - up; j <= y + down; ++j) {
        for (int i = x - left; i <= x + right; ++i) {
          const std::size_t at = static_cast<std::size_t>(j * width + i);
          sum1 += p1[at];
          sum2 += p2[at];
          differences += std::abs(p1[at] - p2[at]);
        }
      }
      const long long v = method == 0 ? differences : std::llabs(sum1 - sum2);
      image[static_cast<std::size_t>(y * width + x)] =
          areaValue(static_cast<std::uint64_t>(v), divisor);
    }
  }
  return image;
}

TEST(AreaDifference, MatchesTheDirectWindowSumsOnRandomPictures) {
  constexpr int kWidth = 41, kHeight = 23;
  const Bytes p1 = randomBytes(kWidth * kHeight, 3), noise = randomBytes(kWidth * kHeight, 4);
  Bytes p2(p1.size());
  for (std::size_t i = 0; i < p2.size(); ++i)
    p2[i] = static_cast<std::uint8_t>(std::clamp(p1[i] + noise[i] / 16 - 8, 0, 255));
  const std::pair<int, int> kSizes[] = {{1, 1}, {3, 3}, {4, 4}, {2, 5}, {15, 6}, {40, 3}};
  for (const ImageKernels* kernels : supportedImageKernels()) {
    for (const auto& [sizeX, sizeY] : kSizes) {
      for (const int method : {0, 1}) {
        // 2.0000001 is mapped by the table: single precision misplaces some of its steps.
        for (const double divisor : {9.0, 1.0, 2.5, 1.0 / 3, 2.0000001, -2.0}) {
          Bytes image = filled(kWidth, kHeight, 99);
          areaDifference(p1.data(), p2.data(), kWidth, kHeight, areaWindow(sizeX, sizeY, 81, 45),
                         method, divisor, image.data(), *kernels);
          ASSERT_EQ(image,
                    referenceAreaDifference(p1, p2, kWidth, kHeight, sizeX, sizeY, method, divisor))
              << sizeX << "x" << sizeY << " method " << method << " D " << divisor;
        }
      }
    }
  }
}

// The statistics taken while the rows are written equal a separate pass over the image, for
// rectangles inside the computing range, reaching past it (zero rows and columns), beyond the
// picture and holding no pixel.
TEST(AreaDifference, StatisticsTakenWithTheRowsEqualASeparatePass) {
  constexpr int kWidth = 37, kHeight = 19;
  const Bytes p1 = randomBytes(kWidth * kHeight, 7), p2 = randomBytes(kWidth * kHeight, 8);
  const Rect kRectangles[] = {{2, 2, 34, 16}, {5, 3, 9, 3},   {0, 0, 36, 18},
                              {-4, 1, 50, 40}, {10, 10, 9, 10}, {1, 1, 35, 17}};
  for (const AreaWindow& window : {areaWindow(5, 5, 81, 45), areaWindow(40, 3, 81, 45)}) {
    for (const Rect& rectangle : kRectangles) {
      Bytes image(p1.size());
      ImageStatistics statistics;
      areaDifference(p1.data(), p2.data(), kWidth, kHeight, window, kSumOfDifferences, 9.0,
                     image.data(), imageKernels(), {}, rectangle, &statistics);
      EXPECT_EQ(statistics, imageStatistics(image.data(), kWidth, kHeight, rectangle))
          << rectangle.left << "," << rectangle.top << " " << rectangle.right << ","
          << rectangle.bottom << " window " << window.right;
    }
  }
}

// The running row sums wrap modulo 2^32 and the mapping rounds in single precision; every
// variant must give the baseline's results, for counts around the vector widths.
TEST(AreaDifferenceKernels, EveryVariantSumsAndMapsAsTheBaseline) {
  std::mt19937 random(5);
  std::uniform_int_distribution<std::int32_t> columnSum(-2'000'000'000, 2'000'000'000);
  std::uniform_int_distribution<std::int32_t> windowSum(-2'147'483'647, 2'147'483'647);
  const ImageKernels& baseline = *supportedImageKernels().front();
  for (const int count : {0, 1, 7, 15, 16, 17, 31, 33, 100}) {
    std::vector<std::int32_t> sums(static_cast<std::size_t>(count));
    for (auto& sum : sums) sum = columnSum(random);
    std::vector<std::uint32_t> high(static_cast<std::size_t>(count)), low(high.size());
    for (std::size_t i = 0; i < high.size(); ++i) {
      low[i] = static_cast<std::uint32_t>(columnSum(random));
      high[i] = low[i] + static_cast<std::uint32_t>(i % 3 == 0 ? windowSum(random) % 3000
                                                               : windowSum(random));
    }
    std::vector<std::uint32_t> expectedPrefix(high.size() + 1), prefix(high.size() + 1);
    baseline.prefixSums(sums.data(), count, expectedPrefix.data());
    std::uint32_t total = 0;
    for (int i = 0; i < count; ++i) total += static_cast<std::uint32_t>(sums[i]);
    EXPECT_EQ(expectedPrefix.back(), total);
    for (const ImageKernels* kernels : supportedImageKernels()) {
      kernels->prefixSums(sums.data(), count, prefix.data());
      EXPECT_EQ(prefix, expectedPrefix) << count;
      for (const float scale : {1.0f / 9, 1.0f, 0.37f, 3e-7f, -2.0f}) {
        Bytes expected(high.size()), mapped(high.size());
        baseline.mapWindowSums(high.data(), low.data(), count, scale, expected.data());
        kernels->mapWindowSums(high.data(), low.data(), count, scale, mapped.data());
        EXPECT_EQ(mapped, expected) << count << " " << scale;
      }
    }
  }
}

}  // namespace
}  // namespace vemla
