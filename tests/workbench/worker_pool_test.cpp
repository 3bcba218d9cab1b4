#include "workbench/worker_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <random>
#include <vector>

#include "editing/picture_edit.h"
#include "extensions/user_processing.h"
#include "processing/alignment.h"
#include "processing/image_creation.h"
#include "processing/shift.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WorkerPool, RunsEveryIndexOnceWhateverTheSplit) {
  WorkerPool pool(3);
  for (const int count : {1, 2, 3, 7, 1000}) {
    for (const int parts : {1, 2, 3, 5}) {
      std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
      pool.run(count, parts, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) ++runs[static_cast<std::size_t>(i)];
      });
      for (int i = 0; i < count; ++i) {
        EXPECT_EQ(runs[static_cast<std::size_t>(i)], 1) << count << " / " << parts << " at " << i;
      }
    }
  }
}

// The kernels on three threads (uneven pieces) against the calling thread alone, on pictures
// large enough to be shared out.
struct ThreadedKernels : ::testing::Test {
  static constexpr int kWidth = 523, kHeight = 411;
  WorkerPool pool{3};
  Bytes picture1 = pattern(0), picture2 = pattern(17);

  static Bytes pattern(unsigned seed) {
    std::mt19937 random(seed);
    Bytes picture(static_cast<std::size_t>(kWidth * kHeight));
    for (std::size_t i = 0; i < picture.size(); ++i) {
      const int x = static_cast<int>(i) % kWidth, y = static_cast<int>(i) / kWidth;
      picture[i] = static_cast<std::uint8_t>((x * 3 + y * 5) % 200 + random() % 40);
    }
    return picture;
  }
};

TEST_F(ThreadedKernels, ShiftIsTheSame) {
  const ShiftAmount amounts[] = {{true, 3, 5, false, 2, 7},
                                 {false, 1, 0, true, 0, 9},
                                 {true, 4, 0, true, 2, 0},
                                 {false, 0, 0, false, 0, 0}};
  std::vector<std::int32_t> scratch(shiftScratchSize(kWidth));
  for (const int interpolation : {kShiftLinear, kShiftCubic}) {
    for (const ShiftAmount& amount : amounts) {
      Bytes alone(picture1.size()), shared(picture1.size());
      shiftPicture(picture1.data(), kWidth, kHeight, 16, interpolation, amount, alone.data(),
                   scratch.data());
      shiftPicture(picture1.data(), kWidth, kHeight, 16, interpolation, amount, shared.data(),
                   scratch.data(), pool.parallelFor());
      EXPECT_EQ(alone, shared) << interpolation << " " << amount.wholeX << "+" << amount.stepsX;
    }
  }
}

TEST_F(ThreadedKernels, EveryKindIsTheSame) {
  CreationPictures pictures{picture1.data(), picture2.data(), picture2.data(), kWidth, kHeight};
  pictures.validRectangles = {Rect{3, 5, kWidth - 9, kHeight - 2}, Rect{0, 0, 400, 300}};
  const AreaDifferenceSettings areas[] = {{3, 3, kSumOfDifferences, 9},
                                          {16, 5, kDifferenceOfSums, 7.5}};
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    for (const AreaDifferenceSettings& area : areas) {
      Bytes alone(picture1.size()), shared(picture1.size());
      const ImageStatistics expected =
          createBuiltInImage(kind, pictures, area, 2047, 2047, alone.data());
      EXPECT_EQ(createBuiltInImage(kind, pictures, area, 2047, 2047, shared.data(), imageKernels(),
                                   pool.parallelFor()),
                expected)
          << kind;
      EXPECT_EQ(alone, shared) << kind;
    }
  }
}

TEST_F(ThreadedKernels, StandardAlignmentIsTheSame) {
  // Picture 2 is an unrelated pattern: many offsets stay in the search for long.
  const Bytes moved = [&] {
    Bytes out(picture1.size());
    std::vector<std::int32_t> scratch(shiftScratchSize(kWidth));
    shiftPicture(picture1.data(), kWidth, kHeight, 8, kShiftLinear, {true, 2, 3, false, 1, 5},
                 out.data(), scratch.data());
    return out;
  }();
  for (const Bytes* target : {&moved, static_cast<const Bytes*>(&picture2)}) {
    for (const int range : {1, 6}) {
      const AlignmentOutcome alone = alignPictures(kAlignStandard, 8, picture1.data(),
                                                   target->data(), kWidth, kHeight, range, range);
      const AlignmentOutcome shared =
          alignPictures(kAlignStandard, 8, picture1.data(), target->data(), kWidth, kHeight, range,
                        range, pool.parallelFor());
      EXPECT_TRUE(alone.found);
      EXPECT_EQ(alone.steps, shared.steps) << range;
    }
  }
}

// Expressions, and filters in each of their arithmetics (integer weights, decimal weights in
// double with the extended-precision redo, the extended path for extreme weights).
TEST_F(ThreadedKernels, UserProcessingIsTheSameAndTellsItsProgressInOrder) {
  const auto filter = [](const char* weight, const char* corner, const char* divisor) {
    UserProcessingEntry entry;
    entry.inUse = 1;
    entry.form = 0;
    for (int row = 2; row < 7; ++row) {
      for (int column = 1; column < 8; ++column)
        entry.elements[static_cast<std::size_t>(row * 9 + column)] = weight;
    }
    entry.elements[0] = corner;
    entry.correction = 1;
    entry.divisor = divisor;
    return entry;
  };
  std::vector<UserProcessingEntry> entries;
  for (const char* text : {"P1(0,0)-P2(0,0)+128", "SQRT(ABS(P1(-3,-2)*P2(5,1)))+P1(0,7)/3"}) {
    UserProcessingEntry entry;
    entry.inUse = 1;
    entry.form = 1;
    entry.expression = text;
    entries.push_back(entry);
  }
  entries.push_back(filter("2", "-3", "7"));
  entries.push_back(filter("0.1", "-0.3", "3.5"));
  entries.push_back(filter("0.1", "1e300", ""));
  for (const UserProcessingEntry& entry : entries) {
    const std::string& text = entry.form == 1 ? entry.expression : entry.elements[0];
    Bytes alone(picture1.size(), 1), shared(picture1.size(), 2);
    ASSERT_TRUE(applyUserProcessing(entry, picture1.data(), picture2.data(), kWidth, kHeight,
                                    alone.data()));
    std::vector<int> told;
    ASSERT_TRUE(applyUserProcessing(
        entry, picture1.data(), picture2.data(), kWidth, kHeight, shared.data(),
        [&](int done, int total) {
          EXPECT_LE(done, total);
          told.push_back(done);
        },
        pool.parallelFor()));
    EXPECT_EQ(alone, shared) << text;
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_LT(told.front(), told.back());  // more than one report on the way
  }
}

// The editor's quarter turns and shift on a rectangle tall enough for several bands of rows,
// shared out and on the calling thread alone.
TEST_F(ThreadedKernels, PictureEditTurnsAndShiftAreTheSame) {
  constexpr int kSide = 1200;
  Bytes picture(static_cast<std::size_t>(kSide) * kSide);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = picture1[i % picture1.size()];
  const CoordinateRange range{true, false, Rect{5, 3, 1150, 1190}};
  const std::function<const char*(EditPlane, EditWork&, const ParallelFor&)> actions[] = {
      [&](EditPlane plane, EditWork& work, const ParallelFor& parallel) {
        return rotateRectangle(plane, range, 90, work, parallel);
      },
      [&](EditPlane plane, EditWork& work, const ParallelFor& parallel) {
        return rotateRectangle(plane, range, 270, work, parallel);
      },
      [&](EditPlane plane, EditWork& work, const ParallelFor& parallel) {
        return shiftRectangle(plane, range, 16, kShiftCubic, {true, 3, 5, false, 2, 9}, work,
                              parallel);
      }};
  for (std::size_t a = 0; a < std::size(actions); ++a) {
    Bytes alone = picture, shared = picture;
    EditWork work;
    ASSERT_EQ(actions[a]({alone.data(), kSide, kSide}, work, {}), nullptr);
    ASSERT_EQ(actions[a]({shared.data(), kSide, kSide}, work, pool.parallelFor()), nullptr);
    EXPECT_NE(alone, picture) << a;
    EXPECT_EQ(alone, shared) << a;
  }
}

}  // namespace
}  // namespace vemla
