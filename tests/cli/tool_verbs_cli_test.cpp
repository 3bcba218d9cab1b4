// vemla-cli values, profile and measure against hand-worked values.
#include <gtest/gtest.h>

#include <functional>

#include "picture/bitmap.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

class ToolVerbsCli : public ::testing::Test {
 protected:
  std::string picture(const std::string& name, int side, std::function<int(int, int)> value) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(side, -side, 8, [&](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value(x, y))};
               }));
    return path;
  }
  std::string repeat(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
  }
  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
      out.push_back(text.substr(from, end - from));
    }
    return out;
  }
  TempDir dir;
};

// 20 x 20 holding x + 10 y, cursor (1, 1): columns and rows -7..-1 lie outside.
TEST_F(ToolVerbsCli, ValuesPrintsTheBlockAsPaintedAndOperatorsIn64Bits) {
  const std::string image = picture("v.bmp", 20, [](int x, int y) { return x + 10 * y; });
  CliRun result = run({"values", image, "--cursor", "1,1"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> out = lines(result.out);
  ASSERT_EQ(out.size(), 19u);
  const std::string outside = repeat(" ‥ ", 7);
  EXPECT_EQ(out[0], "   " + outside + "   0   1   2   3   4   5   6   7   8   9");
  EXPECT_EQ(out[1], " ‥" + repeat(" ‥ ", 17));
  EXPECT_EQ(out[8], "  0" + outside + "   0   1   2   3   4   5   6   7   8   9");
  EXPECT_EQ(out[18], "max=99 min=0");

  // Operator 1 (left - right, absolute): 2 inside, " ---" on the picture's first column.
  result = run({"values", image, "--cursor", "1,1", "--operator", "1"});
  out = lines(result.out);
  EXPECT_EQ(out[9], "  1" + outside + " ---" + repeat("   2", 9));
  EXPECT_EQ(out[18], "max=2 min=2");
  // INT32_MIN x the top-left value: 0 where that is 0, else |sum| limited to 255.
  result = run({"values", image, "--cursor", "1,1", "--operator", "4", "--coefficients",
                "-2147483648,0,0,0,0,0,0,0,0"});
  EXPECT_EQ(lines(result.out)[18], "max=255 min=0");
  EXPECT_EQ(run({"values", image, "--coefficients", "1,2"}).status, 2);
}

// 512 x 512 at x1, so view pixel (u, v) shows picture pixel (u, v): image 1 holds x / 2,
// image 2 is 100. Pixel sizes 0.5 x 2: a horizontal step is 0.5.
TEST_F(ToolVerbsCli, ProfileOfASegmentWithItsRangeAndReadouts) {
  const std::string first = picture("a.bmp", 512, [](int x, int) { return x / 2; });
  const std::string second = picture("b.bmp", 512, [](int, int) { return 100; });
  const std::vector<std::string> words{"profile",     first,          second, "--line",
                                       "20,30,24,30", "--pixel-size", "0.5,2"};
  std::vector<std::string> withMark = words;
  withMark.insert(withMark.end(), {"--marks", "1"});
  const CliRun result = run(withMark);
  ASSERT_EQ(result.status, 0) << result.err;
  // 4 samples, the end excluded; max 100 + 5 is a multiple of 5 and gains 5, min 10 - 5 = 5;
  // grey step (110 - 5) / 20 + 1 = 6, above 5, becomes 10.
  EXPECT_EQ(result.out,
            "samples=4 step=0.5000\n"
            "0 20,30 0.0000 10 100\n"
            "1 21,30 0.5000 10 100\n"
            "2 22,30 1.0000 11 100\n"
            "3 23,30 1.5000 11 100\n"
            "image1 max=11 min=10\n"
            "image2 max=100 min=100\n"
            "auto lower=5 upper=110 step=10\n"
            "readout=1： 10  2：100  差： 90\n");
  std::vector<std::string> twoMarks = words;
  twoMarks.insert(twoMarks.end(), {"--marks", "0,3"});
  EXPECT_EQ(lines(run(twoMarks).out).back(), "readout=距離: 1.5000");
  std::vector<std::string> beyond = words;
  beyond.insert(beyond.end(), {"--marks", "4"});
  EXPECT_EQ(run(beyond).status, 2);
  EXPECT_EQ(run({"profile", first, "--line", "7,7,7,7"}).out, "samples=0\n");
}

// Image 1 black with a bar of 200 on columns 10..19, image 2 white, 512 x 512 at x1.
TEST_F(ToolVerbsCli, MeasureEdgesAndAreasOfBothImages) {
  const std::string bar =
      picture("bar.bmp", 512, [](int x, int) { return x >= 10 && x < 20 ? 200 : 0; });
  const std::string white = picture("white.bmp", 512, [](int, int) { return 255; });
  CliRun result =
      run({"measure", bar, white, "--edge", "x", "--cursor", "12,300", "--level", "50"});
  ASSERT_EQ(result.status, 0) << result.err;
  // (5100 - 2550 + 1) / 255 = 10.0039; the white image has no edge.
  EXPECT_EQ(result.out,
            "image1 length=10.0039 left=2550 right=5100\nimage2 length=none\ndiff length=none\n");
  // 3 x 2 pixels: black sums 0 (no centroid), white 6 x 255 centred on (31, 10.5).
  result = run({"measure", bar, white, "--rect", "30,10,32,11"});
  EXPECT_EQ(result.out,
            "image1 area=6.0000 volume=0 centroid=none count=6 sum=0\n"
            "image2 area=6.0000 volume=1530 centroid=31.0000,10.5000 count=6 sum=1530\n"
            "diff area=0.0000 volume=1530 centroid=none xy=none\n");
  // Linked to 0..254 with base 255: the white pixels drop out, the black ones weigh 255 each.
  result =
      run({"measure", bar, white, "--rect", "30,10,32,11", "--link", "0,254", "--base", "255"});
  EXPECT_EQ(lines(result.out)[0], "image1 area=6.0000 volume=1530 centroid=none count=6 sum=0");
  EXPECT_EQ(lines(result.out)[1], "image2 area=0.0000 volume=0 centroid=none count=0 sum=0");
  EXPECT_EQ(run({"measure", bar, "--rect", "1,1,2,2", "--base", "lower"}).status, 2);
}

}  // namespace
}  // namespace vemla::cli
