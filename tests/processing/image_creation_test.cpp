#include "processing/image_creation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "processing/image_statistics.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Two 4 x 2 pictures whose pairs cover the edge cases of every kind.
const Bytes kPicture1{0, 100, 100, 227, 255, 1, 10, 200};
const Bytes kPicture2{255, 228, 100, 100, 0, 2, 3, 100};

CreationPictures pair(const Bytes& p1, const Bytes& p2, int width, int height,
                      const Bytes* userResult = nullptr) {
  CreationPictures pictures;
  pictures.shifted1 = p1.data();
  pictures.shifted2 = p2.data();
  pictures.userResult = userResult != nullptr ? userResult->data() : nullptr;
  pictures.width = width;
  pictures.height = height;
  pictures.validRectangles = {Rect{0, 0, width - 1, height - 1}, Rect{0, 0, width - 1, height - 1}};
  return pictures;
}

Bytes create(int kind, const CreationPictures& pictures, ImageStatistics* statistics = nullptr,
             const ImageKernels& kernels = imageKernels()) {
  Bytes image(static_cast<std::size_t>(pictures.width * pictures.height), 77);
  const ImageStatistics made = createBuiltInImage(kind, pictures, AreaDifferenceSettings{}, 8191,
                                                  8191, image.data(), kernels);
  if (statistics != nullptr) *statistics = made;
  return image;
}

TEST(CreateImage, EveryElementWiseKindOnHandPickedPairs) {
  const CreationPictures pictures = pair(kPicture1, kPicture2, 4, 2);
  EXPECT_EQ(create(kKindPicture1, pictures), kPicture1);
  EXPECT_EQ(create(kKindPicture2, pictures), kPicture2);
  // Truncating: (0 + 255) / 2 = 127, (1 + 2) / 2 = 1.
  EXPECT_EQ(create(kKindAverage, pictures), (Bytes{127, 164, 100, 163, 127, 1, 6, 150}));
  EXPECT_EQ(create(kKindDifference, pictures), (Bytes{255, 128, 0, 127, 255, 1, 7, 100}));
  // d = -255 and d = -128 give 0, d = 0 gives 128, d = 127 and 255 give 255, d = -1 gives 127.
  EXPECT_EQ(create(kKindOffsetDifference, pictures), (Bytes{0, 0, 128, 255, 255, 127, 135, 228}));
  // 100 = 0110 0100, 228 = 1110 0100, 227 = 1110 0011, 200 = 1100 1000.
  EXPECT_EQ(create(kKindAnd, pictures), (Bytes{0, 100, 100, 96, 0, 0, 2, 64}));
  EXPECT_EQ(create(kKindOr, pictures), (Bytes{255, 228, 100, 231, 255, 3, 11, 236}));
  EXPECT_EQ(create(kKindXor, pictures), (Bytes{255, 128, 0, 135, 255, 3, 9, 172}));
}

TEST(CreateImage, UserProgramKindCopiesTheResultBuffer) {
  const Bytes result{9, 8, 7, 6, 5, 4, 3, 2};
  EXPECT_EQ(create(kKindUserProgram, pair(kPicture1, kPicture2, 4, 2, &result)), result);
}

TEST(CreateImage, StatisticsRectangleFollowsTheKind) {
  const std::array<Rect, 2> valid{Rect{1, 2, 30, 40}, Rect{5, 0, 20, 45}};
  EXPECT_EQ(statisticsRectangle(statisticsSourceOf(kKindPicture1), valid, 0, 0), valid[0]);
  EXPECT_EQ(statisticsRectangle(statisticsSourceOf(kKindPicture2), valid, 0, 0), valid[1]);
  EXPECT_EQ(statisticsRectangle(statisticsSourceOf(kKindXor), valid, 0, 0), (Rect{5, 2, 20, 40}));
  EXPECT_EQ(statisticsRectangle(statisticsSourceOf(kKindAverage), valid, 2, 3),
            (Rect{7, 5, 18, 37}));
}

TEST(CreateImage, StatisticsCountOnlyTheRectangle) {
  // Picture 2's valid rectangle is column 1..2, row 1: values 2 and 3 of kind 1.
  const Bytes p1(8, 0);
  const Bytes p2{200, 200, 200, 200, 200, 2, 3, 200};
  CreationPictures pictures = pair(p1, p2, 4, 2);
  pictures.validRectangles[1] = {1, 1, 2, 1};
  ImageStatistics statistics;
  create(kKindPicture2, pictures, &statistics);
  EXPECT_EQ(statistics, (ImageStatistics{3, 2, 2, 5, Rect{1, 1, 2, 1}}));  // mean 5 / 2 = 2
}

TEST(CreateImage, StatisticsOfAnAllZeroImageAreZero) {
  const Bytes zero(8, 0);
  ImageStatistics statistics;
  create(kKindDifference, pair(zero, zero, 4, 2), &statistics);
  EXPECT_EQ(statistics, (ImageStatistics{0, 0, 0, 0, Rect{0, 0, 3, 1}}));
}

TEST(CreateImage, EmptyStatisticsRectangleGivesZeros) {
  CreationPictures pictures = pair(kPicture1, kPicture2, 4, 2);
  pictures.validRectangles = {Rect{0, 0, 1, 1}, Rect{2, 0, 3, 1}};  // no common column
  ImageStatistics statistics;
  create(kKindAverage, pictures, &statistics);
  EXPECT_EQ(statistics, (ImageStatistics{0, 0, 0, 0, Rect{2, 0, 1, 1}}));
}

// 3000 x 3000 pixels of 255 sum to 2 295 000 000, beyond a signed 32-bit sum.
TEST(CreateImage, StatisticsSumDoesNotOverflowOnBrightPictures) {
  constexpr int kSide = 3000;
  const Bytes bright(static_cast<std::size_t>(kSide) * kSide, 255);
  ImageStatistics statistics;
  create(kKindPicture1, pair(bright, bright, kSide, kSide), &statistics);
  EXPECT_EQ(statistics.sum, 2295000000LL);
  EXPECT_EQ(statistics.mean, 255);
  EXPECT_EQ(statistics.maximum, 255);
  EXPECT_EQ(statistics.minimum, 255);
}

TEST(BlankOutside, SetsEverythingOutsideTheRectangleToTheFill) {
  Bytes image(5 * 4, 9);
  blankOutside(image.data(), 5, 4, Rect{1, 1, 3, 2}, 128);
  const Bytes expected{128, 128, 128, 128, 128,  //
                       128, 9,   9,   9,   128,  //
                       128, 9,   9,   9,   128,  //
                       128, 128, 128, 128, 128};
  EXPECT_EQ(image, expected);
  Bytes empty(4, 9);
  blankOutside(empty.data(), 2, 2, Rect{1, 0, 0, 1}, 0);  // left > right
  EXPECT_EQ(empty, Bytes(4, 0));
}

// 3 x 3 image; the maximum 9 at (2, 0), (0, 1) and (1, 2).
const Bytes kSearch{1, 2, 9,  //
                    9, 5, 4,  //
                    3, 9, 0};

TEST(FindValue, VisitsEveryPositionInTurnAndTheCursorLast) {
  const Rect all{0, 0, 2, 2};
  auto found = findValue(kSearch.data(), 3, 3, all, 2, 0, 9);  // the cursor holds 9 itself
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, (PixelPosition{0, 1}));
  found = findValue(kSearch.data(), 3, 3, all, found->x, found->y, 9);
  EXPECT_EQ(*found, (PixelPosition{1, 2}));
  found = findValue(kSearch.data(), 3, 3, all, found->x, found->y, 9);  // wraps to row 0
  EXPECT_EQ(*found, (PixelPosition{2, 0}));
}

TEST(FindValue, MaximumOnlyAtTheCursorKeepsTheCursor) {
  EXPECT_EQ(findValue(kSearch.data(), 3, 3, Rect{0, 0, 2, 2}, 1, 1, 5), (PixelPosition{1, 1}));
}

TEST(FindValue, TestsOnlyTheRectangleAndFailsWithoutAMatch) {
  // (2, 0) and (1, 2) lie outside columns 0..1, rows 0..1.
  const Rect rectangle{0, 0, 1, 1};
  EXPECT_EQ(findValue(kSearch.data(), 3, 3, rectangle, 0, 1, 9), (PixelPosition{0, 1}));
  EXPECT_FALSE(findValue(kSearch.data(), 3, 3, rectangle, 0, 0, 0));
  // A cursor outside the picture is clamped first: from (2, 2) the scan goes on at row 0.
  EXPECT_EQ(findValue(kSearch.data(), 3, 3, Rect{0, 0, 2, 2}, 50, 50, 1), (PixelPosition{0, 0}));
}

// ---- Optimised kernels against the rules written per pixel.

// The pixel of each kind made row by row from pictures a and b and the user program result u;
// -1 for a kind without a rule here.
int referencePixel(int kind, int a, int b, int u) {
  switch (kind) {
    case kKindPicture1:
      return a;
    case kKindPicture2:
      return b;
    case kKindAverage:
      return (a + b) / 2;
    case kKindDifference:
      return a > b ? a - b : b - a;
    case kKindOffsetDifference: {
      const int d = a - b;
      return d < -128 ? 0 : d >= 128 ? 255 : d + 128;
    }
    case kKindUserProgram:
      return u;
    case kKindAnd:
      return a & b;
    case kKindOr:
      return a | b;
    case kKindXor:
      return a ^ b;
    default:
      return -1;
  }
}

// Every kind of the table that has a row kernel, so that a new kind cannot go untested.
std::vector<int> kindsMadeByRows() {
  std::vector<int> kinds;
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    if (imageKindTable()[static_cast<std::size_t>(kind)].row != nullptr) kinds.push_back(kind);
  }
  return kinds;
}

TEST(ImageKernels, EveryVariantMatchesThePerPixelRulesOnRandomPictures) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  // An odd width exercises the vector tails; 150 > 128 covers whole vectors too.
  constexpr int kWidth = 150, kHeight = 7;
  Bytes p1(kWidth * kHeight), p2(kWidth * kHeight), user(kWidth * kHeight);
  for (auto& v : p1) v = static_cast<std::uint8_t>(byte(random));
  for (auto& v : p2) v = static_cast<std::uint8_t>(byte(random));
  for (auto& v : user) v = static_cast<std::uint8_t>(byte(random));
  CreationPictures pictures = pair(p1, p2, kWidth, kHeight, &user);
  // Three different rectangles: Picture 1's, Picture 2's and their intersection.
  pictures.validRectangles = {Rect{5, 0, 149, 4}, Rect{3, 1, 140, 5}};
  const Rect both{5, 1, 140, 4};
  for (const ImageKernels* kernels : supportedImageKernels()) {
    for (const int kind : kindsMadeByRows()) {
      ASSERT_NE(referencePixel(kind, 0, 0, 0), -1) << "kind " << kind << " has no reference";
      const Rect inside = kind == kKindPicture1   ? pictures.validRectangles[0]
                          : kind == kKindPicture2 ? pictures.validRectangles[1]
                                                  : both;
      ImageStatistics statistics;
      const Bytes image = create(kind, pictures, &statistics, *kernels);
      int maximum = 0, minimum = 255;
      std::int64_t sum = 0;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const std::size_t i = static_cast<std::size_t>(y * kWidth + x);
          const int expected = referencePixel(kind, p1[i], p2[i], user[i]);
          ASSERT_EQ(image[i], expected) << "kind " << kind << " at " << x << "," << y;
          if (x >= inside.left && x <= inside.right && y >= inside.top && y <= inside.bottom) {
            maximum = std::max(maximum, expected);
            minimum = std::min(minimum, expected);
            sum += expected;
          }
        }
      }
      const int count = (inside.right - inside.left + 1) * (inside.bottom - inside.top + 1);
      EXPECT_EQ(statistics,
                (ImageStatistics{maximum, minimum, static_cast<int>(sum / count), sum, inside}))
          << "kind " << kind;
    }
  }
}

// compare judges a kind by its distance from the fill, so two equal pictures must give the
// fill everywhere; and its --kind range takes the judged kinds as one run.
TEST(ImageKinds, JudgedKindsShowEqualPicturesAsTheirFillAndFollowEachOther) {
  const KindRange judged = judgedKinds();
  ASSERT_LE(judged.first, judged.last);
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    const ImageKindInfo& info = imageKindTable()[static_cast<std::size_t>(kind)];
    EXPECT_EQ(info.judged, kind >= judged.first && kind <= judged.last) << "kind " << kind;
    if (!info.judged) continue;
    EXPECT_EQ(create(kind, pair(kPicture1, kPicture1, 4, 2)), Bytes(8, info.fill))
        << "kind " << kind;
  }
  EXPECT_EQ(fillValueOf(kUserProcessingKind), 0);
}

}  // namespace
}  // namespace vemla
