#include "processing/alignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "picture/bitmap.h"
#include "processing/shift.h"

namespace vemla {
namespace {

using Picture = std::vector<std::uint8_t>;

// A smooth picture sampled at (x - dx, y - dy): the content moved right by dx, down by dy.
Picture smooth(int width, int height, double dx = 0, double dy = 0) {
  Picture picture(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x - dx, v = y - dy;
      const double value =
          128 + 60 * std::sin(u * 0.21 + v * 0.07) + 50 * std::cos(v * 0.17 - u * 0.05);
      picture[static_cast<std::size_t>(y * width + x)] =
          static_cast<std::uint8_t>(std::lround(value));
    }
  }
  return picture;
}

// A picture periodic in x (period 20) and y (period 25), sampled at (x - dx, y - dy): on a
// 60 x 50 region a whole shift along one axis keeps the sums along that axis, so "高速" sees the
// other axis unchanged.
Picture periodic(int width, int height, double dx = 0, double dy = 0) {
  constexpr double kTwoPi = 6.283185307179586;
  Picture picture(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = (x - dx) / 20 * kTwoPi, v = (y - dy) / 25 * kTwoPi;
      const double value =
          128 + 50 * std::sin(u + 0.3) + 40 * std::cos(v) + 20 * std::sin(u + 2 * v);
      picture[static_cast<std::size_t>(y * width + x)] =
          static_cast<std::uint8_t>(std::lround(value));
    }
  }
  return picture;
}

// Separable: a horizontal error cannot be traded for a vertical one.
Picture separable(int width, int height, double dx) {
  Picture picture(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double value = 128 + 60 * std::sin((x - dx) * 0.21) + 50 * std::cos(y * 0.17);
      picture[static_cast<std::size_t>(y * width + x)] =
          static_cast<std::uint8_t>(std::lround(value));
    }
  }
  return picture;
}

AlignmentSteps align(int criterion, int p, const Picture& reference, const Picture& target,
                     int width, int height, int range) {
  const AlignmentOutcome outcome =
      alignPictures(criterion, p, reference.data(), target.data(), width, height, range, range);
  EXPECT_TRUE(outcome.found) << outcome.message;
  return outcome.steps;
}

TEST(Alignment, IdenticalPicturesGiveTheZeroShiftWithBothCriteria) {
  const Picture picture = smooth(48, 40);
  for (const int criterion : {kAlignFast, kAlignStandard}) {
    EXPECT_EQ(align(criterion, 16, picture, picture, 48, 40, 5), AlignmentSteps{});
  }
  // A flat picture ties every candidate: the zero shift still wins.
  const Picture flat(48 * 40, 90);
  for (const int criterion : {kAlignFast, kAlignStandard}) {
    EXPECT_EQ(align(criterion, 4, flat, flat, 48, 40, 5), AlignmentSteps{});
  }
}

TEST(Alignment, TargetMovedThreeRightMustMoveThreeLeft) {
  const Picture reference = periodic(60, 50);
  const Picture target = periodic(60, 50, 3, 0);
  for (const int criterion : {kAlignFast, kAlignStandard}) {
    EXPECT_EQ(align(criterion, 16, reference, target, 60, 50, 5),
              (AlignmentSteps{0, 0, 3, 0, 0, 0}))
        << criterion;
  }
  const Picture up = periodic(60, 50, 0, -2);  // moved up by 2: must move down
  for (const int criterion : {kAlignFast, kAlignStandard}) {
    EXPECT_EQ(align(criterion, 16, reference, up, 60, 50, 5), (AlignmentSteps{0, 1, 0, 2, 0, 0}))
        << criterion;
  }
}

TEST(Alignment, StandardFindsSubPixelShifts) {
  const Picture reference = smooth(80, 70);
  // Moved left by 1.5 and down by 0.25: must move right 1 + 8/16 and up 0 + 4/16.
  const Picture target = smooth(80, 70, -1.5, 0.25);
  EXPECT_EQ(align(kAlignStandard, 16, reference, target, 80, 70, 4),
            (AlignmentSteps{1, 0, 1, 0, 8, 4}));
  // The same at p = 4: 1 + 2/4 right, 0 + 1/4 up.
  EXPECT_EQ(align(kAlignStandard, 4, reference, target, 80, 70, 4),
            (AlignmentSteps{1, 0, 1, 0, 2, 1}));
}

// Every row 10x (12 x 5, R = 1, p = 2), the target 10x + 5: its column sums 50x + 25 read
// between columns give 50x + 50, which matches the reference column x + 1 exactly, so (i, j) =
// (1, 1): the content moves right by 1 - 1/2. The row sums are all equal: (0, 0) wins the tie.
TEST(Alignment, FastComparesInterpolatedColumnSums) {
  Picture reference(12 * 5), target(12 * 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 12; ++x) {
      reference[static_cast<std::size_t>(y * 12 + x)] = static_cast<std::uint8_t>(10 * x);
      target[static_cast<std::size_t>(y * 12 + x)] = static_cast<std::uint8_t>(10 * x + 5);
    }
  }
  EXPECT_EQ(align(kAlignFast, 2, reference, target, 12, 5, 1), (AlignmentSteps{1, 0, 0, 0, 1, 0}));
}

TEST(Alignment, FastFindsHalfPixelShifts) {
  const Picture reference = periodic(60, 50);
  const Picture target = periodic(60, 50, 2.5, 0);  // right 2.5: must move left 2 + 1/2
  EXPECT_EQ(align(kAlignFast, 2, reference, target, 60, 50, 5), (AlignmentSteps{0, 0, 2, 0, 1, 0}));
}

// With p = 2 and R = 1 the horizontal candidates are -1, -1/2, 0, 1/2, 1 pixel: a content that
// sits 1.5 pixels off is never matched with 1 + 1/2.
TEST(Alignment, RefinementNeverLeavesTheSearchRange) {
  const Picture reference = separable(60, 50, 0);
  const Picture target = separable(60, 50, 1.5);
  const AlignmentSteps steps = align(kAlignStandard, 2, reference, target, 60, 50, 1);
  EXPECT_EQ(steps, (AlignmentSteps{0, 0, 1, 0, 0, 0}));
}

// A pattern of period 4 across the columns: offsets -3, 1 and 5 match equally well, and the
// earliest one stays because (0, 0) is not among them.
TEST(Alignment, StandardKeepsTheEarliestOfEqualCosts) {
  const int width = 40, height = 30;
  Picture reference(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      reference[static_cast<std::size_t>(y * width + x)] =
          static_cast<std::uint8_t>((x % 4 < 2 ? 0 : 200) + (y * 37) % 50);
    }
  }
  Picture target(reference.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      target[static_cast<std::size_t>(y * width + x)] =
          reference[static_cast<std::size_t>(y * width + (x + 3) % width)];
    }
  }
  // dx = -3 (first in order): the content moves right by 3.
  EXPECT_EQ(align(kAlignStandard, 2, reference, target, width, height, 5),
            (AlignmentSteps{1, 0, 3, 0, 0, 0}));
}

TEST(Alignment, RefusesRegionsTooSmallForTheRange) {
  const Picture picture(12 * 100, 5);
  const AlignmentOutcome outcome =
      alignPictures(kAlignStandard, 16, picture.data(), picture.data(), 12, 100, 5, 5);
  EXPECT_FALSE(outcome.found);
  EXPECT_EQ(outcome.message,
            "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:12 "
            "y:100)\n対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい");
  // 13 wide leaves one inner column: accepted.
  const Picture wider(13 * 100, 5);
  EXPECT_TRUE(alignPictures(kAlignFast, 16, wider.data(), wider.data(), 13, 100, 5, 5).found);
  // Ranges outside 1..32 are refused with the same message.
  const Picture big(100 * 100, 5);
  EXPECT_FALSE(alignPictures(kAlignFast, 16, big.data(), big.data(), 100, 100, 0, 0).found);
  EXPECT_FALSE(alignPictures(kAlignFast, 16, big.data(), big.data(), 100, 100, 33, 33).found);
  // An empty region (nothing read).
  EXPECT_EQ(alignPictures(kAlignFast, 16, nullptr, nullptr, 0, 0, 5, 5).message,
            "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:0 "
            "y:0)\n対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい");
}

TEST(Alignment, RefusesRegionsWiderThan4096) {
  const Picture picture(4097 * 20, 5);
  const AlignmentOutcome outcome =
      alignPictures(kAlignFast, 16, picture.data(), picture.data(), 4097, 20, 5, 5);
  EXPECT_FALSE(outcome.found);
  EXPECT_EQ(outcome.message, "ｱﾗｲﾒﾝﾄのﾃﾞｰﾀｻｲｽﾞは最大 4096 です");
}

// ---- "標準" written out literally: every whole offset, then each level's nine candidates
// shifted with the linear mode of shiftPicture over the whole region.

std::uint32_t saturated(std::uint64_t sum) {
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(sum, std::numeric_limits<std::uint32_t>::max()));
}

AlignmentSteps literalStandard(const Picture& ref, const Picture& tgt, int w, int h, int R, int p) {
  const auto at = [&](const Picture& picture, int x, int y) {
    return static_cast<int>(picture[static_cast<std::size_t>(y * w + x)]);
  };
  std::uint32_t best = 0;
  int bestDx = 0, bestDy = 0;
  bool any = false;
  for (int dy = -R; dy <= R; ++dy) {
    for (int dx = -R; dx <= R; ++dx) {
      std::uint64_t sum = 0;
      for (int y = R; y < h - R; ++y) {
        for (int x = R; x < w - R; ++x) sum += std::abs(at(ref, x, y) - at(tgt, x + dx, y + dy));
      }
      const std::uint32_t cost = saturated(sum);
      if (!any || cost < best || (cost == best && dx == 0 && dy == 0)) {
        best = cost, bestDx = dx, bestDy = dy, any = true;
      }
    }
  }
  int u = -bestDy, v = -bestDx;
  Picture shifted(tgt.size());
  std::vector<std::int32_t> scratch(shiftScratchSize(w));
  for (int q = 2; q <= p; q *= 2) {
    any = false;
    int bestA = 0, bestD = 0;
    for (int l = -1; l <= 1; ++l) {
      for (int k = -1; k <= 1; ++k) {
        const int A = 2 * u + l, D = 2 * v + k;
        if (std::abs(D) / q > R || (std::abs(D) / q == R && std::abs(D) % q != 0)) continue;
        if (std::abs(A) / q > R || (std::abs(A) / q == R && std::abs(A) % q != 0)) continue;
        const ShiftAmount amount{D > 0, std::abs(D) / q, std::abs(D) % q,
                                 A > 0, std::abs(A) / q, std::abs(A) % q};
        shiftPicture(tgt.data(), w, h, q, kShiftLinear, amount, shifted.data(), scratch.data());
        std::uint64_t sum = 0;
        for (int y = R; y < h - R; ++y) {
          for (int x = R; x < w - R; ++x) sum += std::abs(at(ref, x, y) - at(shifted, x, y));
        }
        const std::uint32_t cost = saturated(sum);
        if (!any || cost < best || (cost == best && l == 0 && k == 0)) {
          best = cost, bestA = A, bestD = D, any = true;
        }
      }
    }
    u = bestA, v = bestD;
  }
  return {v > 0, u > 0, std::abs(v) / p, std::abs(u) / p, std::abs(v) % p, std::abs(u) % p};
}

TEST(Alignment, StandardMatchesTheLiteralSearchForEveryKernelVariant) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 6; ++trial) {
    const int w = 30 + static_cast<int>(random() % 40), h = 24 + static_cast<int>(random() % 30);
    const int R = 1 + static_cast<int>(random() % 4);
    const int p = kDivisions[random() % 5];
    const Picture reference = smooth(w, h);
    Picture target = smooth(w, h, (random() % 70) / 10.0 - 3.5, (random() % 50) / 10.0 - 2.5);
    for (auto& value : target)
      value = static_cast<std::uint8_t>(
          std::clamp<int>(value + static_cast<int>(random() % 21) - 10, 0, 255));
    const AlignmentSteps expected = literalStandard(reference, target, w, h, R, p);
    for (const RowKernels* kernels : supportedRowKernels()) {
      const AlignmentOutcome outcome =
          alignPictures(*kernels, kAlignStandard, p, reference.data(), target.data(), w, h, R, R);
      ASSERT_TRUE(outcome.found);
      EXPECT_EQ(outcome.steps, expected)
          << "trial " << trial << " level " << static_cast<int>(kernels->level);
    }
  }
}

// ---- The search drops offsets and sub-pixel candidates as soon as their partial sums show they
// cannot win; these pictures probe that bound and its tie handling against the literal search.

Picture noise(int width, int height, std::mt19937& random) {
  Picture picture(static_cast<std::size_t>(width * height));
  for (auto& value : picture) value = static_cast<std::uint8_t>(random() % 256);
  return picture;
}

// The picture moved by whole pixels (content right by dx, down by dy; borders repeat the
// edge), plus noise of +/- amplitude.
Picture moved(const Picture& picture, int width, int height, int dx, int dy, int amplitude,
              std::mt19937& random) {
  Picture out(picture.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int sx = std::clamp(x - dx, 0, width - 1), sy = std::clamp(y - dy, 0, height - 1);
      const int value = picture[static_cast<std::size_t>(sy * width + sx)] +
                        static_cast<int>(random() % (2 * amplitude + 1)) - amplitude;
      out[static_cast<std::size_t>(y * width + x)] =
          static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
  }
  return out;
}

Picture samplePicture(const char* name) {
  Picture picture(320 * 240);
  BitmapRead read;
  EXPECT_EQ(readBitmapIntoMemory(std::string(VEMLA_SAMPLES) + "/" + name, picture, 320, 240, read),
            1);
  return picture;
}

TEST(AlignmentSearch, EqualsTheLiteralSearch) {
  struct Case {
    const char* name;
    int width, height, range, precision;
    Picture reference, target;
  };
  std::mt19937 random(27);
  const Picture noise160 = noise(160, 120, random);
  const Picture smooth67 = smooth(67, 67);
  const Picture scene1 = samplePicture("scene1.bmp");
  const Picture tall = noise(70, 330, random);
  Picture stripes(40 * 30);
  for (int i = 0; i < 40 * 30; ++i)
    stripes[static_cast<std::size_t>(i)] = (i % 40) % 4 < 2 ? 0 : 200;
  const Case cases[] = {
      {"noise against noise", 60, 50, 4, 8, noise(60, 50, random), noise(60, 50, random)},
      {"noise moved", 160, 120, 6, 16, noise160, moved(noise160, 160, 120, 4, -5, 20, random)},
      {"flat, equal", 48, 40, 5, 16, Picture(48 * 40, 90), Picture(48 * 40, 90)},
      {"flat, unequal", 48, 40, 5, 16, Picture(48 * 40, 90), Picture(48 * 40, 97)},
      {"stripes tie away from zero", 40, 30, 5, 4, stripes,
       moved(stripes, 40, 30, 1, 0, 0, random)},
      {"R = 1, smallest region", 5, 5, 1, 16, noise(5, 5, random), noise(5, 5, random)},
      {"R = 32, smallest region", 67, 67, 32, 16, smooth67, noise(67, 67, random)},
      {"R = 32, best at the edge", 67, 67, 32, 2, smooth67, smooth(67, 67, 32, -32)},
      {"R = 32, best at the edge, 1/16", 67, 67, 32, 16, smooth67, smooth(67, 67, -32, 31.5)},
      {"samples", 320, 240, 5, 16, scene1, samplePicture("scene2.bmp")},
      {"samples moved", 320, 240, 3, 8, scene1, moved(scene1, 320, 240, -2, 3, 6, random)},
      // Taller than the row sampling period several times over, best at the range's corner.
      {"tall, R = 32, best at the corner", 70, 330, 32, 4, tall,
       moved(tall, 70, 330, -32, 32, 3, random)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(align(kAlignStandard, c.precision, c.reference, c.target, c.width, c.height, c.range),
              literalStandard(c.reference, c.target, c.width, c.height, c.range, c.precision))
        << c.name;
  }
}

TEST(AlignmentText, ShowsEachAxisInUnitsOfThePrecision) {
  AlignmentKeys keys;
  keys.division = 16;
  keys.precision = 4;
  // Sub-steps are stored in 1/16: 8/16 shows as 2/4.
  EXPECT_EQ(alignmentResultText({1, 0, 3, 0, 8, 0, true}, keys), "右：3+2/4 上下：なし");
  EXPECT_EQ(alignmentResultText({0, 1, 0, 2, 0, 4, true}, keys), "左右：なし 下：2+1/4");
  EXPECT_EQ(alignmentResultText({0, 0, 1, 0, 0, 12, true}, keys), "左：1+0/4 上：0+3/4");
  EXPECT_EQ(alignmentResultText({0, 0, 0, 0, 0, 0, true}, keys), "左右：なし 上下：なし");
  EXPECT_EQ(alignmentResultText({1, 0, 3, 0, 8, 0, false}, keys), "");
}

}  // namespace
}  // namespace vemla
