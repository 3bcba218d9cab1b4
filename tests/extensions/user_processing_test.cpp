#include "extensions/user_processing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vemla {
namespace {

using Entry = UserProcessingEntry;

struct Pair {
  int width;
  int height;
  std::vector<std::uint8_t> first, second, image;

  int pixel(const std::vector<std::uint8_t>& plane, int x, int y) const {
    return plane[static_cast<std::size_t>(y * width + x)];
  }
  int out(int x, int y) const { return pixel(image, x, y); }
  std::optional<UserProcessingArea> apply(const Entry& entry, const RowProgress& progress = {},
                                          FilterArithmetic arithmetic = FilterArithmetic::Fastest) {
    return applyUserProcessing(entry, first.data(), second.data(), width, height, image.data(),
                               progress, {}, arithmetic);
  }
  bool untouched() const {
    for (const std::uint8_t value : image) {
      if (value != 99) return false;
    }
    return true;
  }
};

// Picture 1 is 10x + y, picture 2 is x + y; the image starts as 99 everywhere.
Pair makePair(
    int width, int height,
    std::function<int(int, int)> first = [](int x, int y) { return 10 * x + y; },
    std::function<int(int, int)> second = [](int x, int y) { return x + y; }) {
  Pair pair{width, height, {}, {}, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pair.first.push_back(static_cast<std::uint8_t>(first(x, y)));
      pair.second.push_back(static_cast<std::uint8_t>(second(x, y)));
    }
  }
  pair.image.assign(pair.first.size(), 99);
  return pair;
}

Entry expressionEntry(std::string text) {
  Entry entry;
  entry.inUse = 1;
  entry.name = "expression";
  entry.form = 1;
  entry.expression = std::move(text);
  return entry;
}

// Elements by their offsets (X, Y), -4 .. 4.
Entry filterEntry(std::initializer_list<std::tuple<int, int, const char*>> elements,
                  int picture = 0) {
  Entry entry;
  entry.inUse = 1;
  entry.name = "filter";
  entry.form = 0;
  entry.filterPicture = picture;
  for (const auto& [x, y, text] : elements) {
    entry.elements[static_cast<std::size_t>((y + 4) * 9 + x + 4)] = text;
  }
  return entry;
}

// Every pixel outside `computing` is 0.
void expectZeroOutside(const Pair& pair, const Rect& computing) {
  for (int y = 0; y < pair.height; ++y) {
    for (int x = 0; x < pair.width; ++x) {
      const bool inside = x >= computing.left && x <= computing.right && y >= computing.top &&
                          y <= computing.bottom;
      if (!inside) {
        EXPECT_EQ(pair.out(x, y), 0) << x << "," << y;
      }
    }
  }
}

// ---- Expression form --------------------------------------------------------------------

TEST(UserExpression, CurrentPixelOfPicture1ReproducesIt) {
  Pair pair = makePair(10, 8);
  const auto area = pair.apply(expressionEntry("P1(0,0)"));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->computing, (Rect{0, 0, 9, 7}));
  EXPECT_EQ(area->statistics, StatisticsPictures::Both);
  EXPECT_EQ(pair.image, pair.first);
}

TEST(UserExpression, OffsetsLeaveAZeroBorderOfTheirMargins) {
  Pair pair = makePair(10, 12);
  const auto area = pair.apply(expressionEntry("P1(-3,0)-P2(0,5)"));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->marginX, 3);
  EXPECT_EQ(area->marginY, 5);
  EXPECT_EQ(area->computing, (Rect{3, 5, 6, 6}));
  // 10(x - 3) + y - (x + y + 5) = 9x - 35, below 0 at x = 3.
  for (const int y : {5, 6}) {
    EXPECT_EQ(pair.out(3, y), 0);
    EXPECT_EQ(pair.out(4, y), 1);
    EXPECT_EQ(pair.out(5, y), 10);
    EXPECT_EQ(pair.out(6, y), 19);
  }
  expectZeroOutside(pair, area->computing);
}

TEST(UserExpression, ConstantExpressionFillsTheComputingRange) {
  Pair pair = makePair(6, 5);
  const auto area = pair.apply(expressionEntry("(1+2)*100"));
  ASSERT_TRUE(area.has_value());
  for (const std::uint8_t value : pair.image) EXPECT_EQ(value, 255);
}

TEST(UserExpression, MarginsWiderThanThePictureLeaveEverythingZero) {
  Pair pair = makePair(10, 8);
  int calls = 0;
  const auto area =
      pair.apply(expressionEntry("P1(5,0)+P2(0,-999999)"), [&](int, int) { ++calls; });
  ASSERT_TRUE(area.has_value());
  EXPECT_GT(area->computing.left, area->computing.right);
  EXPECT_EQ(area->marginY, 999999);
  for (const std::uint8_t value : pair.image) EXPECT_EQ(value, 0);
  EXPECT_EQ(calls, 0);
}

TEST(UserExpression, ProgressIsToldAfterEachComputedRow) {
  Pair pair = makePair(10, 8);
  std::vector<std::pair<int, int>> calls;
  ASSERT_TRUE(pair.apply(expressionEntry("P1(0,-1)"),
                         [&](int done, int total) { calls.emplace_back(done, total); }));
  ASSERT_EQ(calls.size(), 6u);  // rows 1 .. 6
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(calls[static_cast<std::size_t>(i)], std::make_pair(i + 1, 6));
  EXPECT_EQ(pair.out(4, 1), 40);  // picture 1 one row up
}

TEST(UserExpression, FailuresLeaveTheImageUntouched) {
  Pair pair = makePair(10, 8);
  for (const char* text : {"P1(0,0", "p1(0,0)", "#1", "", "P1(0,0)+#2", "P1(1000000,0)"}) {
    EXPECT_FALSE(pair.apply(expressionEntry(text)).has_value()) << text;
  }
  // A stored expression longer than 510 characters (a changed file) is refused.
  EXPECT_FALSE(pair.apply(expressionEntry("P1(0,0)" + std::string(504, ' '))).has_value());
  Entry unknownForm = expressionEntry("P1(0,0)");
  unknownForm.form = 7;
  EXPECT_FALSE(pair.apply(unknownForm).has_value());
  EXPECT_TRUE(pair.untouched());
  EXPECT_TRUE(pair.apply(expressionEntry("P1(0,0)" + std::string(503, ' '))).has_value());
}

// ---- Filter form ------------------------------------------------------------------------

TEST(UserFilter, SingleCentreElementReproducesTheFilterPicture) {
  Pair pair = makePair(10, 8);
  auto area = pair.apply(filterEntry({{0, 0, "1"}}));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->computing, (Rect{0, 0, 9, 7}));
  EXPECT_EQ(area->statistics, StatisticsPictures::Picture1);
  EXPECT_EQ(pair.image, pair.first);

  area = pair.apply(filterEntry({{0, 0, "1"}}, 1));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->statistics, StatisticsPictures::Picture2);
  EXPECT_EQ(pair.image, pair.second);
}

TEST(UserFilter, MarginsReachTheFarthestElementOnEachSide) {
  Pair pair = makePair(10, 8);
  const auto area = pair.apply(filterEntry({{-1, 0, "1"}, {2, 0, "1"}}));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->marginX, 2);
  EXPECT_EQ(area->marginY, 0);
  EXPECT_EQ(area->computing, (Rect{2, 0, 7, 7}));
  // 10(x - 1) + y + 10(x + 2) + y
  EXPECT_EQ(pair.out(2, 0), 50);
  EXPECT_EQ(pair.out(7, 7), 164);
  EXPECT_EQ(pair.out(4, 3), 96);
  expectZeroOutside(pair, area->computing);
}

TEST(UserFilter, AnElementOfZeroCountsForTheMarginsOnly) {
  Pair pair = makePair(10, 8);
  const auto area = pair.apply(filterEntry({{0, 0, "1"}, {-2, -3, "0"}}));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->computing, (Rect{2, 3, 7, 4}));
  EXPECT_EQ(pair.out(2, 3), 23);
  EXPECT_EQ(pair.out(7, 4), 74);
  expectZeroOutside(pair, area->computing);
}

TEST(UserFilter, SumIsDividedOnlyWithCorrectionAndANonZeroDivisor) {
  Pair pair = makePair(10, 8);
  Entry entry = filterEntry({{0, 0, "3"}}, 1);  // 3 (x + y)
  entry.correction = 1;
  entry.divisor = "2";
  ASSERT_TRUE(pair.apply(entry));
  EXPECT_EQ(pair.out(1, 2), 4);   // 9 / 2
  EXPECT_EQ(pair.out(9, 7), 24);  // 48 / 2
  entry.divisor = "0";            // stored 0: no division
  ASSERT_TRUE(pair.apply(entry));
  EXPECT_EQ(pair.out(1, 2), 9);
  entry.divisor = "";
  ASSERT_TRUE(pair.apply(entry));
  EXPECT_EQ(pair.out(1, 2), 9);
  entry.correction = 0;
  entry.divisor = "2";
  ASSERT_TRUE(pair.apply(entry));
  EXPECT_EQ(pair.out(9, 7), 48);
}

TEST(UserFilter, BoxFilterWithItsDivisorKeepsALinearPicture) {
  Pair pair = makePair(10, 8);
  Entry entry = filterEntry({{-1, -1, "1"},
                             {0, -1, "1"},
                             {1, -1, "1"},
                             {-1, 0, "1"},
                             {0, 0, "1"},
                             {1, 0, "1"},
                             {-1, 1, "1"},
                             {0, 1, "1"},
                             {1, 1, "1"}});
  entry.correction = 1;
  entry.divisor = "9";
  const auto area = pair.apply(entry);
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->computing, (Rect{1, 1, 8, 6}));
  // The mean of 10x + y over a 3 x 3 window is its centre value.
  for (int y = 1; y <= 6; ++y) {
    for (int x = 1; x <= 8; ++x) EXPECT_EQ(pair.out(x, y), 10 * x + y);
  }
  expectZeroOutside(pair, area->computing);
}

TEST(UserFilter, ResultsAreTruncatedTowardZeroAndLimited) {
  Pair pair = makePair(10, 8);
  ASSERT_TRUE(pair.apply(filterEntry({{0, 0, "0.5"}})));
  EXPECT_EQ(pair.out(1, 5), 7);  // 7.5
  ASSERT_TRUE(pair.apply(filterEntry({{0, 0, "-1"}})));
  EXPECT_EQ(pair.out(5, 5), 0);
  ASSERT_TRUE(pair.apply(filterEntry({{0, 0, "4"}})));
  EXPECT_EQ(pair.out(9, 7), 255);  // 388
  EXPECT_EQ(pair.out(2, 3), 92);
}

TEST(UserFilter, ElementTextsAreReadAsNumbersFromTheirStart) {
  Pair pair = makePair(10, 8);
  const auto area = pair.apply(filterEntry({{0, 0, "+2"}, {1, 0, "-"}, {-1, 0, "."}}));
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->marginX, 1);  // a lone sign and a lone point count as elements of value 0
  EXPECT_EQ(pair.out(3, 2), 64);
}

// 0.3 lies just below 3/10 in binary; the product 0.3 x 10 keeps that in extended precision
// (double would round it up to 3). Likewise 1 / 0.1 stays just below 10.
TEST(UserFilter, SumAndDivisionAreFormedInExtendedPrecision) {
  Pair tens = makePair(
      6, 6, [](int, int) { return 10; }, [](int, int) { return 1; });
  ASSERT_TRUE(tens.apply(filterEntry({{0, 0, "0.3"}})));
  EXPECT_EQ(tens.out(2, 2), 2);

  Entry divided = filterEntry({{0, 0, "1"}}, 1);
  divided.correction = 1;
  divided.divisor = "0.1";
  ASSERT_TRUE(tens.apply(divided));
  EXPECT_EQ(tens.out(2, 2), 9);

  Entry halves = filterEntry({{0, 0, "0.5"}, {1, 0, "0.5"}}, 1);
  halves.correction = 1;
  halves.divisor = "0.1";
  ASSERT_TRUE(tens.apply(halves));
  EXPECT_EQ(tens.out(2, 2), 9);
}

// The filter sum against a plain extended-precision sum in the elements' row-major order,
// for integer, binary-fraction and decimal-fraction weights, with and without a divisor.
TEST(UserFilter, MatchesAPlainExtendedPrecisionSum) {
  std::mt19937 random(5);
  std::vector<std::uint8_t> noise(20 * 16);
  for (std::uint8_t& value : noise) value = static_cast<std::uint8_t>(random() % 256);
  const auto fromNoise = [&](int x, int y) { return noise[static_cast<std::size_t>(y * 20 + x)]; };
  const std::vector<std::vector<std::tuple<int, int, const char*>>> weightSets = {
      {{-1, -1, "1"}, {0, -1, "-2"}, {1, 1, "3"}, {0, 0, "-8"}},
      {{-2, 0, "0.25"}, {0, 0, "0.5"}, {2, 0, "0.125"}, {0, 2, "-0.0625"}},
      {{-1, 0, "0.1"}, {0, 0, "0.7"}, {1, 0, "0.2"}, {0, 1, "-0.33"}, {3, 3, "1.01"}},
      {{-4, -4, "1234567890"}, {4, 4, "-123456789"}},
  };
  for (const auto& weights : weightSets) {
    for (const char* divisor : {"", "3", "0.7"}) {
      Pair pair = makePair(20, 16, fromNoise, fromNoise);
      Entry entry;
      entry.inUse = 1;
      entry.form = 0;
      for (const auto& [x, y, text] : weights) {
        entry.elements[static_cast<std::size_t>((y + 4) * 9 + x + 4)] = text;
      }
      entry.correction = *divisor != '\0' ? 1 : 0;
      entry.divisor = divisor;
      const auto area = pair.apply(entry);
      ASSERT_TRUE(area.has_value()) << std::get<2>(weights[0]) << " divisor " << divisor;
      for (int y = area->computing.top; y <= area->computing.bottom; ++y) {
        for (int x = area->computing.left; x <= area->computing.right; ++x) {
          long double sum = 0;
          for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 9; ++c) {
              const std::string& text = entry.elements[static_cast<std::size_t>(r * 9 + c)];
              if (text.empty()) continue;
              sum += static_cast<long double>(std::stod(text)) * fromNoise(x + c - 4, y + r - 4);
            }
          }
          if (*divisor != '\0') sum /= static_cast<long double>(std::stod(divisor));
          const int expected = sum <= 0 ? 0 : sum >= 255 ? 255 : static_cast<int>(sum);
          ASSERT_EQ(pair.out(x, y), expected) << x << "," << y << " divisor " << divisor;
        }
      }
    }
  }
}

// Every way of summing decimal weights this machine runs against the extended-precision image,
// byte for byte: noise in widths that end the vector loops at every remainder, a linear
// picture, and flat pictures of every third grey value, where box weights summing to 1 put the
// quotients at integers that the double sums cannot settle. Weights and divisors beyond the range
// the double sums cover take the extended path.
TEST(UserFilter, EveryArithmeticGivesTheExtendedPrecisionImage) {
  const char* const mixed[] = {"0.37", "-1.3", "0.003",   "2.5e-3",
                               "-0.7", "1.01", "-0.0123", "0.333"};
  const std::vector<std::pair<const char*, std::function<const char*(int, int)>>> weightSets = {
      {"3x3 box", [](int x, int y) { return std::abs(x) <= 1 && std::abs(y) <= 1 ? "0.111" : ""; }},
      {"9x9 box", [](int, int) { return "0.1"; }},
      {"9x9 mixed signs", [&](int x, int y) { return mixed[(7 * x + 3 * y + 40) % 8]; }},
      {"huge and tiny",
       [](int x, int y) {
         return y != 0    ? (x == 0 && y == 4 ? "1e-7" : "")
                : x == -1 ? "1234567.89"
                : x == 1  ? "-1234567.8"
                : x == 0  ? "0.3"
                          : "";
       }},
      {"at the ends of the double range",
       [](int x, int y) {
         return y != 0 ? "" : x == 0 ? "1e150" : x == 1 ? "-9.99e149" : x == -1 ? "2e-150" : "";
       }},
      {"beyond the double range",
       [](int x, int y) { return x == y ? (x == 0 ? "1e-200" : "0.5") : ""; }},
  };
  std::mt19937 random(11);
  std::vector<Pair> pictures;
  for (const int width : {9, 10, 16, 23, 41, 73}) {
    pictures.push_back(
        makePair(width, 11, [&](int, int) { return static_cast<int>(random() % 256); }));
  }
  // Box weights keep a linear picture: quotients at integers that differ from pixel to pixel.
  pictures.push_back(makePair(45, 12, [](int x, int y) { return 3 * x + 2 * y; }));
  for (int value = 0; value < 256; value += 3) {
    pictures.push_back(makePair(12, 10, [=](int, int) { return value; }));
  }
  std::vector<FilterArithmetic> arithmetics;
  for (const FilterArithmetic arithmetic :
       {FilterArithmetic::Fastest, FilterArithmetic::DoubleBaseline, FilterArithmetic::DoubleAvx2,
        FilterArithmetic::DoubleAvx512}) {
    if (runsFilterArithmetic(arithmetic)) arithmetics.push_back(arithmetic);
  }
  for (const auto& [name, element] : weightSets) {
    for (const char* divisor : {"", "3", "-0.7", "8.1", "1e30", "1e-40"}) {
      Entry entry = filterEntry({});
      for (int y = -4; y <= 4; ++y) {
        for (int x = -4; x <= 4; ++x)
          entry.elements[static_cast<std::size_t>((y + 4) * 9 + x + 4)] = element(x, y);
      }
      entry.correction = *divisor != '\0' ? 1 : 0;
      entry.divisor = divisor;
      for (Pair& pair : pictures) {
        ASSERT_TRUE(pair.apply(entry, {}, FilterArithmetic::Extended).has_value());
        const std::vector<std::uint8_t> extended = pair.image;
        for (const FilterArithmetic arithmetic : arithmetics) {
          pair.image.assign(extended.size(), 99);
          ASSERT_TRUE(pair.apply(entry, {}, arithmetic).has_value());
          ASSERT_EQ(pair.image, extended)
              << name << " divisor " << divisor << " width " << pair.width << " arithmetic "
              << static_cast<int>(arithmetic);
        }
      }
    }
  }
}

TEST(UserFilter, ProgressIsToldAfterEachComputedRowInEveryArithmetic) {
  for (const FilterArithmetic arithmetic :
       {FilterArithmetic::Fastest, FilterArithmetic::DoubleBaseline, FilterArithmetic::Extended}) {
    Pair pair = makePair(10, 8);
    std::vector<std::pair<int, int>> calls;
    ASSERT_TRUE(pair.apply(
        filterEntry({{0, -1, "0.1"}, {0, 1, "0.3"}}),
        [&](int done, int total) { calls.emplace_back(done, total); }, arithmetic));
    ASSERT_EQ(calls.size(), 6u);  // rows 1 .. 6
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(calls[static_cast<std::size_t>(i)], std::make_pair(i + 1, 6));
    EXPECT_EQ(pair.out(4, 1), 16);  // 0.1 * 40 + 0.3 * 42 = 16.6
  }
}

TEST(UserFilter, FailuresLeaveTheImageUntouched) {
  Pair pair = makePair(10, 8);
  EXPECT_FALSE(pair.apply(filterEntry({})).has_value());  // no element at all
  // Texts longer than their fields allow come only from a changed file.
  EXPECT_FALSE(pair.apply(filterEntry({{0, 0, "12345678901"}})).has_value());
  Entry longDivisor = filterEntry({{0, 0, "1"}});
  longDivisor.correction = 1;
  longDivisor.divisor = "123456789012";
  EXPECT_FALSE(pair.apply(longDivisor).has_value());
  EXPECT_FALSE(pair.apply(filterEntry({{0, 0, "1"}}, 2)).has_value());
  EXPECT_TRUE(pair.untouched());

  EXPECT_TRUE(pair.apply(filterEntry({{0, 0, "0.00000001"}})).has_value());  // 10 characters
  longDivisor.divisor = "12345678901";
  EXPECT_TRUE(pair.apply(longDivisor).has_value());
}

}  // namespace
}  // namespace vemla
