#include "processing/shift.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

namespace vemla {
namespace {

using Picture = std::vector<std::uint8_t>;

struct Shifted {
  Picture pixels;
  int width, height;
  int at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Shifted shift(const Picture& source, int width, int height, int n, int mode, ShiftAmount amount,
              const RowKernels& kernels = rowKernels()) {
  Picture out(source.size(), 77);  // every pixel is written
  std::vector<std::int32_t> scratch(shiftScratchSize(width));
  shiftPicture(kernels, source.data(), width, height, n, mode, amount, out.data(), scratch.data());
  return {out, width, height};
}

Picture makePicture(int width, int height, int (*value)(int x, int y)) {
  Picture picture(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      picture[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(value(x, y));
  }
  return picture;
}

int ramp(int x, int y) {
  return 10 * x + y;
}

// ---- The scalar reference: the integer rules written out per pixel, independently of the
// optimised kernels (both passes of the cubic mode go through a full W x H integer buffer).

// The cubic weights of fraction r/256 times 1024, from the Lagrange polynomials in double,
// rounded half up.
std::array<int, 4> referenceWeights(int r) {
  const double t = r / 256.0;
  const double w[4] = {-t * (t - 1) * (t - 2) / 6, (t + 1) * (t - 1) * (t - 2) / 2,
                       -(t + 1) * t * (t - 2) / 2, (t + 1) * t * (t - 1) / 6};
  std::array<int, 4> out{};
  for (int i = 0; i < 4; ++i) out[i] = static_cast<int>(std::floor(w[i] * 1024 + 0.5));
  return out;
}

Picture referenceShift(const Picture& s, int W, int H, int n, int mode, const ShiftAmount& a) {
  Picture out(s.size(), 0);
  const auto src = [&](int x, int y) -> int {
    if (x < 0 || y < 0 || x >= W || y >= H) return 0;  // only ever read with weight 0
    return s[static_cast<std::size_t>(y * W + x)];
  };
  const int ix = a.wholeX, iy = a.wholeY, fx = a.stepsX, fy = a.stepsY;
  if (mode == kShiftLinear) {
    const int sx = a.xNegative ? -1 : 1, sy = a.yNegative ? -1 : 1;
    const int bx = (fx == 0 && ix > 0) ? ix : ix + 1;
    const int by = (fy == 0 && iy > 0) ? iy : iy + 1;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const bool invalidX = sx == 1 ? x >= W - bx : x < bx;
        const bool invalidY = sy == 1 ? y >= H - by : y < by;
        if (invalidX || invalidY) continue;
        const int x0 = x + sx * ix, y0 = y + sy * iy;
        const long long sum = static_cast<long long>(n - fx) * (n - fy) * src(x0, y0) +
                              static_cast<long long>(fx) * (n - fy) * src(x0 + sx, y0) +
                              static_cast<long long>(n - fx) * fy * src(x0, y0 + sy) +
                              static_cast<long long>(fx) * fy * src(x0 + sx, y0 + sy);
        out[static_cast<std::size_t>(y * W + x)] =
            static_cast<std::uint8_t>(std::min<long long>(sum / (n * n), 255));
      }
    }
    return out;
  }
  const std::array<int, 4> c = referenceWeights(fx * (256 / n));
  const std::array<int, 4> d = referenceWeights(fy * (256 / n));
  std::vector<long long> T(s.size(), 0);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      long long v = 0;
      if (!a.xNegative && x >= 2 && x < W - ix - 2) {
        v = c[0] * src(x + ix - 1, y) + c[1] * src(x + ix, y) + c[2] * src(x + ix + 1, y) +
            c[3] * src(x + ix + 2, y);
      } else if (a.xNegative && x >= ix + 2 && x < W - 2) {
        v = c[0] * src(x - ix + 1, y) + c[1] * src(x - ix, y) + c[2] * src(x - ix - 1, y) +
            c[3] * src(x - ix - 2, y);
      }
      T[static_cast<std::size_t>(y * W + x)] = v;
    }
  }
  const auto t = [&](int x, int y) { return T[static_cast<std::size_t>(y * W + x)]; };
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      long long v;
      if (!a.yNegative && y >= 2 && y < H - iy - 2) {
        v = d[0] * t(x, y + iy - 1) + d[1] * t(x, y + iy) + d[2] * t(x, y + iy + 1) +
            d[3] * t(x, y + iy + 2);
      } else if (a.yNegative && y >= iy + 2 && y < H - 2) {
        v = d[0] * t(x, y - iy + 1) + d[1] * t(x, y - iy) + d[2] * t(x, y - iy - 1) +
            d[3] * t(x, y - iy - 2);
      } else {
        continue;
      }
      const long long value =
          static_cast<long long>(std::floor(static_cast<double>(v) / 1048576.0));
      out[static_cast<std::size_t>(y * W + x)] =
          static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
    }
  }
  return out;
}

// ---- The weight table.

TEST(CubicWeights, RowsAreTheRoundedLagrangeWeightsAndAreNotRenormalised) {
  const auto& table = cubicWeightTable();
  EXPECT_EQ(table[0], (CubicWeights{0, 1024, 0, 0}));
  EXPECT_EQ(table[1], (CubicWeights{-1, 1022, 4, -1}));
  EXPECT_EQ(table[64], (CubicWeights{-56, 840, 280, -40}));
  EXPECT_EQ(table[128], (CubicWeights{-64, 576, 576, -64}));
  bool sawNot1024 = false;
  for (int r = 0; r < 256; ++r) {
    const std::array<int, 4> expected = referenceWeights(r);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(table[r][i], expected[i]) << "row " << r << " tap " << i;
    const int sum = table[r][0] + table[r][1] + table[r][2] + table[r][3];
    EXPECT_GE(sum, 1023) << r;
    EXPECT_LE(sum, 1025) << r;
    sawNot1024 |= sum != 1024;
  }
  EXPECT_TRUE(sawNot1024);  // proof that no row was renormalised
}

// ---- Linear mode, hand-worked.

TEST(ShiftLinear, ZeroShiftZeroesOnlyTheLastColumnAndRow) {
  const Picture source = makePicture(6, 5, ramp);
  const Shifted out = shift(source, 6, 5, 16, kShiftLinear, {});
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(out.at(x, y), (x == 5 || y == 4) ? 0 : ramp(x, y)) << x << "," << y;
    }
  }
}

// 3 right by whole pixels: the first three columns and the last row become 0, every other
// pixel reads the source three columns to its left.
TEST(ShiftLinear, WholePixelsRightLeaveAZeroBandOnTheLeft) {
  const Picture source = makePicture(8, 4, ramp);
  const Shifted out = shift(source, 8, 4, 16, kShiftLinear, {true, 3, 0, false, 0, 0});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(out.at(x, y), (x < 3 || y == 3) ? 0 : ramp(x - 3, y)) << x << "," << y;
    }
  }
}

// 3 + 1/2 right with n = 2: columns 0-3 are 0 and each other pixel is the truncated mean of
// the source at x - 3 and x - 4.
TEST(ShiftLinear, HalfStepRightIsTheTruncatedMeanOfTwoColumns) {
  const Picture source = makePicture(9, 3, [](int x, int y) { return x * x + y; });
  const Shifted out = shift(source, 9, 3, 2, kShiftLinear, {true, 3, 1, false, 0, 0});
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.at(x, y), 0);
  }
  // x = 5: source 2*2 + y and 1*1 + y -> (5 + 2y) / 2.
  EXPECT_EQ(out.at(5, 0), 2);   // (4 + 1) / 2
  EXPECT_EQ(out.at(5, 1), 3);   // (5 + 2) / 2
  EXPECT_EQ(out.at(8, 0), 20);  // (25 + 16) / 2
  EXPECT_EQ(out.at(8, 2), 0);   // the last row
}

TEST(ShiftLinear, WholePixelsLeftUpAndDown) {
  const Picture source = makePicture(7, 6, ramp);
  const Shifted left = shift(source, 7, 6, 16, kShiftLinear, {false, 2, 0, false, 0, 0});
  const Shifted up = shift(source, 7, 6, 16, kShiftLinear, {false, 0, 0, false, 2, 0});
  const Shifted down = shift(source, 7, 6, 16, kShiftLinear, {false, 0, 0, true, 1, 0});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(left.at(x, y), (x >= 5 || y == 5) ? 0 : ramp(x + 2, y)) << x << "," << y;
      EXPECT_EQ(up.at(x, y), (x == 6 || y >= 4) ? 0 : ramp(x, y + 2)) << x << "," << y;
      EXPECT_EQ(down.at(x, y), (x == 6 || y == 0) ? 0 : ramp(x, y - 1)) << x << "," << y;
    }
  }
}

TEST(ShiftLinear, QuarterAndHalfStepsWeighTheNeighbours) {
  // Row values 0, 40, 80, ...: a quarter step left (n = 4) reads 3/4 of x and 1/4 of x + 1.
  const Picture source = makePicture(6, 4, [](int x, int y) { return 40 * x + 4 * y; });
  const Shifted quarter = shift(source, 6, 4, 4, kShiftLinear, {false, 0, 1, false, 0, 0});
  EXPECT_EQ(quarter.at(0, 0), 10);   // (3 * 0 + 40) / 4
  EXPECT_EQ(quarter.at(1, 0), 50);   // (3 * 40 + 80) / 4
  EXPECT_EQ(quarter.at(4, 2), 178);  // (3 * 168 + 208) / 4
  EXPECT_EQ(quarter.at(5, 0), 0);    // band of whole + 1 = 1 column
  // Half a pixel down and right (n = 2): the truncated mean of four neighbours.
  const Picture odd = makePicture(4, 4, [](int x, int y) { return x + 3 * y + (x * y) % 2; });
  const Shifted both = shift(odd, 4, 4, 2, kShiftLinear, {true, 0, 1, true, 0, 1});
  // (1, 1) reads (1, 1), (0, 1), (1, 0), (0, 0): 5, 3, 1, 0 -> 9 / 4 = 2.
  EXPECT_EQ(both.at(1, 1), 2);
  EXPECT_EQ(both.at(0, 2), 0);
  EXPECT_EQ(both.at(2, 0), 0);
}

// ---- Cubic mode, hand-worked.

TEST(ShiftCubic, ZeroShiftKeepsTheInteriorAndZeroesATwoPixelFrame) {
  const Picture source = makePicture(8, 7, ramp);
  const Shifted out = shift(source, 8, 7, 16, kShiftCubic, {});
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool frame = x < 2 || x >= 6 || y < 2 || y >= 5;
      EXPECT_EQ(out.at(x, y), frame ? 0 : ramp(x, y)) << x << "," << y;
    }
  }
}

TEST(ShiftCubic, HalfStepRightUsesTheHalfWeightsOnTheRamp) {
  // Source 10x: -64*10(x-2) + 576*10(x-1) + 576*10x - 64*10(x+1) = 10(1024x - 512), so the
  // interior is 10x - 5 exactly, for columns 2 .. W-3.
  const Picture source = makePicture(10, 6, [](int x, int) { return 10 * x; });
  const Shifted out = shift(source, 10, 6, 2, kShiftCubic, {true, 0, 1, false, 0, 0});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool frame = x < 2 || x >= 8 || y < 2 || y >= 4;
      EXPECT_EQ(out.at(x, y), frame ? 0 : 10 * x - 5) << x << "," << y;
    }
  }
}

TEST(ShiftCubic, OvershootIsClampedAndNegativeSumsRoundDown) {
  // A step 0 -> 255 between columns 3 and 4, half a pixel right.
  const Picture source = makePicture(10, 6, [](int x, int) { return x >= 4 ? 255 : 0; });
  const Shifted out = shift(source, 10, 6, 2, kShiftCubic, {true, 0, 1, false, 0, 0});
  EXPECT_EQ(out.at(3, 2), 0);    // -64 * 255 / 1024 = -15.9 -> clamped
  EXPECT_EQ(out.at(4, 2), 127);  // 512 * 255 / 1024 = 127.5 -> 127
  EXPECT_EQ(out.at(5, 2), 255);  // 1088 * 255 / 1024 = 270.9 -> clamped
  EXPECT_EQ(out.at(6, 2), 255);
}

TEST(ShiftCubic, WholeShiftsWidenTheFrameOnTheSideTheContentLeaves) {
  const Picture source = makePicture(12, 10, ramp);
  const Shifted out = shift(source, 12, 10, 16, kShiftCubic, {false, 3, 0, true, 2, 0});
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      // Left by 3: columns 2 .. 12-3-3; down by 2: rows 2+2 .. 10-3.
      const bool inside = x >= 2 && x < 7 && y >= 4 && y < 8;
      EXPECT_EQ(out.at(x, y), inside ? ramp(x + 3, y - 2) : 0) << x << "," << y;
    }
  }
}

// ---- Limits.

TEST(ShiftPicture, HugeWholeAmountsGiveZerosWithoutOverflow) {
  const Picture source(16 * 16, 200);
  for (const int mode : {kShiftLinear, kShiftCubic}) {
    for (const bool negative : {false, true}) {
      const Shifted out =
          shift(source, 16, 16, 256, mode, {negative, INT_MAX, 255, !negative, 16, 0});
      for (const std::uint8_t value : out.pixels) ASSERT_EQ(value, 0);
    }
  }
  // Exactly the width is already all zero; one less leaves a column in linear mode.
  const Shifted full = shift(source, 16, 16, 16, kShiftLinear, {true, 16, 0, false, 0, 0});
  for (const std::uint8_t value : full.pixels) ASSERT_EQ(value, 0);
  const Shifted almost = shift(source, 16, 16, 16, kShiftLinear, {true, 15, 0, false, 0, 0});
  EXPECT_EQ(almost.at(15, 0), 200);
}

TEST(ShiftPicture, TinyPicturesAreAllZeroInCubicMode) {
  const Picture source(4 * 3, 9);
  const Shifted out = shift(source, 4, 3, 16, kShiftCubic, {});
  for (const std::uint8_t value : out.pixels) EXPECT_EQ(value, 0);
}

// ---- Every kernel variant against the reference on random pictures, every n, both modes.

TEST(ShiftPicture, EveryKernelVariantMatchesTheScalarReference) {
  std::mt19937 random(20240611);
  for (const RowKernels* kernels : supportedRowKernels()) {
    SCOPED_TRACE(static_cast<int>(kernels->level));
    for (const int n : kDivisions) {
      for (int trial = 0; trial < 12; ++trial) {
        const int width = 5 + static_cast<int>(random() % 70);
        const int height = 5 + static_cast<int>(random() % 40);
        Picture source(static_cast<std::size_t>(width * height));
        for (auto& value : source)
          value = static_cast<std::uint8_t>(random() % 2 ? random() % 256 : (random() % 2) * 255);
        ShiftAmount amount;
        amount.xNegative = random() % 2;
        amount.yNegative = random() % 2;
        amount.wholeX = static_cast<int>(random() % 6);
        amount.wholeY = static_cast<int>(random() % 6);
        amount.stepsX = trial % 4 == 0 ? 0 : static_cast<int>(random() % n);
        amount.stepsY = trial % 3 == 0 ? 0 : static_cast<int>(random() % n);
        for (const int mode : {kShiftLinear, kShiftCubic}) {
          const Shifted out = shift(source, width, height, n, mode, amount, *kernels);
          ASSERT_EQ(out.pixels, referenceShift(source, width, height, n, mode, amount))
              << "n " << n << " mode " << mode << " size " << width << "x" << height << " amount "
              << amount.xNegative << " " << amount.wholeX << "+" << amount.stepsX << ", "
              << amount.yNegative << " " << amount.wholeY << "+" << amount.stepsY;
        }
      }
    }
  }
}

TEST(ShiftSetting, FlagsBecomeTheShiftDirections) {
  ShiftSetting setting{0, 1, 1, 0, 3, 4, 5, 6};
  EXPECT_EQ(shiftAmountOf(setting), (ShiftAmount{true, 3, 5, false, 4, 6}));
  setting = {1, 0, 0, 1, 3, 4, 5, 6};
  EXPECT_EQ(shiftAmountOf(setting), (ShiftAmount{false, 3, 5, true, 4, 6}));
  // Without a direction the amounts do not count.
  setting = {0, 0, 0, 0, 3, 4, 5, 6};
  EXPECT_EQ(shiftAmountOf(setting), ShiftAmount{});
}

}  // namespace
}  // namespace vemla
