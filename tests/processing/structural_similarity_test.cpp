#include "processing/structural_similarity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "processing/compared_pixels.h"
#include "processing/difference_summary.h"
#include "support/test_files.h"

namespace vemla {
namespace {

struct Pair {
  const char* name;
  int width, height;
  std::function<int(int x, int y)> first, second;
};

std::vector<std::uint8_t> plane(int width, int height, const std::function<int(int, int)>& f) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(f(x, y));
  }
  return pixels;
}

int ramp(int x, int y) {
  return (x * 20 + y * 7) % 256;
}
int quadratic(int x, int y) {
  return (x * x * 13 + y * 31 + x * y * 7) % 256;
}
int rings(int x, int y) {
  return ((x * x + y * y) * 3) % 256;
}

int disturbed(int x, int y) {
  return std::clamp(quadratic(x, y) + (x * 5 + y * 3) % 41 - 20, 0, 255);
}

// Three small pairs: a ramp and its negative, a texture with a bounded disturbance, and rings
// against themselves moved one column; then the disturbed texture over more than two strips
// of centres.
const std::vector<Pair>& checkedPairs() {
  static const std::vector<Pair> pairs{
      {"negative", 12, 10, ramp, [](int x, int y) { return 255 - ramp(x, y); }},
      {"disturbed", 16, 13, quadratic, disturbed},
      {"moved", 20, 9, rings, [](int x, int y) { return rings(x + 1, y); }},
      {"wide", 1100, 8, quadratic, disturbed}};
  return pairs;
}

double similarityOf(const Pair& pair) {
  const auto a = plane(pair.width, pair.height, pair.first);
  const auto b = plane(pair.width, pair.height, pair.second);
  return structuralSimilarity(a.data(), b.data(), pair.width, pair.height,
                              {0, 0, pair.width - 1, pair.height - 1}, nullptr)
      .mean;
}

TEST(StructuralSimilarity, AgreesWithScikitImageOnFourPairs) {
  // Worked out once on these pairs with scikit-image 0.19.3:
  // skimage.metrics.structural_similarity(a, b) on uint8 arrays built by the same formulas,
  // every parameter at its default, printed with "%.12f".
  const double expected[] = {-0.858708347325, 0.987746890517, 0.035256268943, 0.987305746412};
  for (std::size_t i = 0; i < checkedPairs().size(); ++i) {
    EXPECT_NEAR(similarityOf(checkedPairs()[i]), expected[i], 1e-9) << checkedPairs()[i].name;
  }
}

// A Python list literal of a plane, row by row.
std::string pythonRows(const std::vector<std::uint8_t>& pixels, int width) {
  std::string rows = "[";
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (i % static_cast<std::size_t>(width) == 0) rows += i == 0 ? "[" : "],[";
    rows += std::to_string(pixels[i]) + ",";
  }
  return rows + "]]";
}

// The first Python that has scikit-image (the one on the path, else the system's), or empty.
std::string pythonWithScikitImage() {
  for (const std::string python : {"python3", "/usr/bin/python3"}) {
    if (std::system((python + " -c 'import skimage' >/dev/null 2>&1").c_str()) == 0) return python;
  }
  return {};
}

TEST(StructuralSimilarity, AgreesWithScikitImageRunHere) {
  const std::string python = pythonWithScikitImage();
  if (python.empty()) GTEST_SKIP() << "scikit-image is not installed";
  std::vector<Pair> pairs = checkedPairs();
  // And a larger pair of unrelated noise, where the similarity is near 0.
  pairs.push_back({"noise", 61, 47, [](int x, int y) { return (x * 7919 + y * 104729) % 251; },
                   [](int x, int y) { return (x * x * 31 + y * 17 + (x ^ y) * 3) % 256; }});
  testing::TempDir dir;
  const std::string script = dir.file("check.py");
  std::string text =
      "import numpy as np\n"
      "from skimage.metrics import structural_similarity\n";
  for (const Pair& pair : pairs) {
    text += "print('%.12f' % structural_similarity(np.array(" +
            pythonRows(plane(pair.width, pair.height, pair.first), pair.width) +
            ", dtype=np.uint8), np.array(" +
            pythonRows(plane(pair.width, pair.height, pair.second), pair.width) +
            ", dtype=np.uint8)))\n";
  }
  testing::writeBytes(script, std::vector<std::uint8_t>(text.begin(), text.end()));
  FILE* output = popen((python + " " + script).c_str(), "r");
  ASSERT_NE(output, nullptr);
  for (const Pair& pair : pairs) {
    double theirs = 0;
    ASSERT_EQ(std::fscanf(output, "%lf", &theirs), 1) << pair.name;
    EXPECT_NEAR(similarityOf(pair), theirs, 1e-9) << pair.name;
  }
  EXPECT_EQ(pclose(output), 0);
}

TEST(StructuralSimilarity, ItselfIsOneAndLeftOutPixelsTouchNoWindow) {
  const Pair& pair = checkedPairs()[1];
  const int w = pair.width, h = pair.height;
  auto a = plane(w, h, pair.first);
  auto b = plane(w, h, pair.second);
  const Rect whole{0, 0, w - 1, h - 1};
  const Similarity itself = structuralSimilarity(a.data(), a.data(), w, h, whole, nullptr);
  EXPECT_EQ(itself.mean, 1.0);
  EXPECT_EQ(itself.windows, (w - 6) * (h - 6));

  // Column 8 left out: the centres 5..11 lose their windows, and what the column holds no
  // longer matters.
  const Rect column{8, -5, 8, 100};
  const auto compared = comparedPixels(w, h, std::span(&column, 1), nullptr);
  const Similarity masked = structuralSimilarity(a.data(), b.data(), w, h, whole, compared.data());
  EXPECT_EQ(masked.windows, (w - 6 - 7) * (h - 6));
  for (int y = 0; y < h; ++y) b[static_cast<std::size_t>(y) * w + 8] ^= 0x5a;
  EXPECT_EQ(structuralSimilarity(a.data(), b.data(), w, h, whole, compared.data()).mean,
            masked.mean);
  EXPECT_NE(structuralSimilarity(a.data(), b.data(), w, h, whole, nullptr).mean, masked.mean);

  // Everything left out: no window counts, and nothing tells the pictures apart.
  const std::vector<std::uint8_t> none(static_cast<std::size_t>(w) * h, 0);
  const Similarity empty = structuralSimilarity(a.data(), b.data(), w, h, whole, none.data());
  EXPECT_EQ(empty.windows, 0);
  EXPECT_EQ(empty.mean, 1.0);
  // A rectangle narrower than a window holds no centre.
  EXPECT_EQ(structuralSimilarity(a.data(), b.data(), w, h, {2, 2, 7, 12}, nullptr).windows, 0);
}

TEST(StructuralSimilarity, ValidRectangleIsThePictureAndSharingRowsChangesNothing) {
  const Pair& pair = checkedPairs()[2];
  const int w = pair.width, h = pair.height;
  const auto a = plane(w, h, pair.first), b = plane(w, h, pair.second);
  // The rectangle 3..17 x 1..8 gives what the cropped pictures give on their own.
  const Rect inner{3, 1, 17, 8};
  const auto crop = [&](const std::vector<std::uint8_t>& p) {
    std::vector<std::uint8_t> out;
    for (int y = inner.top; y <= inner.bottom; ++y) {
      for (int x = inner.left; x <= inner.right; ++x)
        out.push_back(p[static_cast<std::size_t>(y) * w + x]);
    }
    return out;
  };
  const int cw = inner.right - inner.left + 1, ch = inner.bottom - inner.top + 1;
  const Similarity whole =
      structuralSimilarity(crop(a).data(), crop(b).data(), cw, ch, {0, 0, cw - 1, ch - 1}, nullptr);
  const Similarity part = structuralSimilarity(a.data(), b.data(), w, h, inner, nullptr);
  EXPECT_EQ(part.windows, (cw - 6) * (ch - 6));
  EXPECT_EQ(part.mean, whole.mean);

  // Rows dealt out in pieces (run here one after another, last first) give the same number.
  const ParallelFor pieces(3, [](int count, int parts, const LoopBody& body) {
    for (int p = parts - 1; p >= 0; --p) body(count * p / parts, count * (p + 1) / parts);
  });
  // Pieces are handed out only above the hand-over threshold: a tall picture.
  const int tall = 2048;
  const auto ta = plane(w, tall, pair.first), tb = plane(w, tall, pair.second);
  const Rect all{0, 0, w - 1, tall - 1};
  EXPECT_EQ(structuralSimilarity(ta.data(), tb.data(), w, tall, all, nullptr, pieces).mean,
            structuralSimilarity(ta.data(), tb.data(), w, tall, all, nullptr).mean);
}

TEST(ComparedPixels, RectanglesAndMaskCombine) {
  // 5 x 3; the mask is 0 in column 4; the rectangles reach past the picture and are clipped.
  const auto mask = plane(5, 3, [](int x, int) { return x == 4 ? 0 : 7; });
  const struct {
    std::vector<Rect> ignored;
    bool masked;
    const char* expected;  // row after row, '.' left out, empty: nothing left out
  } cases[] = {
      {{}, false, ""},
      {{{-3, -3, -1, 9}}, false, ""},  // wholly outside: nothing left out
      {{{1, 1, 2, 9}},
       false,
       "#####"
       "#..##"
       "#..##"},
      {{{0, 0, 0, 0}, {3, 2, 8, 8}},
       true,
       ".###."
       "####."
       "###.."},
      {{},
       true,
       "####."
       "####."
       "####."},
  };
  for (const auto& c : cases) {
    const auto compared = comparedPixels(5, 3, c.ignored, c.masked ? mask.data() : nullptr);
    std::string shown;
    for (const std::uint8_t flag : compared) shown += flag ? '#' : '.';
    EXPECT_EQ(shown, c.expected);
  }
  Rect clipped;
  EXPECT_FALSE(clipToPicture({5, 0, 9, 2}, 5, 3, clipped));
  EXPECT_FALSE(clipToPicture({2, 2, 1, 2}, 5, 3, clipped));
  ASSERT_TRUE(clipToPicture({-1, 2, 9, 2}, 5, 3, clipped));
  EXPECT_EQ(clipped, (Rect{0, 2, 4, 2}));
}

TEST(ComparedPixels, LeftOutPixelsCountNowhereInTheSummary) {
  // Deviations 9 at (1,0), 4 at (3,1), 2 at (0,2); the 9 is left out.
  std::vector<std::uint8_t> image(15, 0);
  image[1] = 9;
  image[5 + 3] = 4;
  image[10] = 2;
  const Rect ignored{0, 0, 1, 0};
  const auto compared = comparedPixels(5, 3, std::span(&ignored, 1), nullptr);
  const DifferenceSummary s =
      summariseDifference(image.data(), 5, 3, {0, 0, 4, 2}, 0, 1, compared.data());
  EXPECT_EQ(s.maximum, 4);
  EXPECT_EQ(s.largest, (PixelPosition{3, 1}));
  EXPECT_EQ(s.pixels, 13);
  EXPECT_EQ(s.over, 2);
  EXPECT_DOUBLE_EQ(s.mean, 6.0 / 13);
  EXPECT_DOUBLE_EQ(s.area, 2.0 / 13);
  std::size_t total = 0;
  EXPECT_EQ(
      differenceRegions(image.data(), 5, 3, {0, 0, 4, 2}, 0, 1, 8, total, compared.data()).size(),
      2u);
  // Nothing compared: an empty summary at the rectangle's corner.
  const std::vector<std::uint8_t> none(15, 0);
  const DifferenceSummary nothing =
      summariseDifference(image.data(), 5, 3, {1, 1, 4, 2}, 0, 1, none.data());
  EXPECT_EQ(nothing.pixels, 0);
  EXPECT_EQ(nothing.maximum, 0);
  EXPECT_EQ(nothing.area, 0);
  EXPECT_EQ(nothing.largest, (PixelPosition{1, 1}));
}

}  // namespace
}  // namespace vemla
