#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class ImageAlignCli : public ::testing::Test {
 protected:
  // An 8-bit top-down bitmap whose pixel (x, y) is value(x, y).
  std::string picture(const std::string& name, int width, int height,
                      std::function<int(int, int)> value) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, -height, 8, [&](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value(x, y))};
               }));
    return path;
  }
  static int smooth(double x, double y) {
    return static_cast<int>(
        std::lround(128 + 60 * std::sin(x * 0.3 + 0.2 * y) + 40 * std::cos(y * 0.23)));
  }
  TempDir dir;
};

TEST_F(ImageAlignCli, ImageOfAManuallyShiftedPicture1) {
  const std::string p1 = picture("a.bmp", 10, 8, [](int x, int y) { return 10 * x + y; });
  const std::string p2 = picture("b.bmp", 10, 8, [](int, int) { return 7; });
  const std::string out = dir.file("out.raw");
  const CliRun result =
      run({"image", p1, p2, out, "--kind", "0", "--shift-interp", "linear", "--shift", "1:3,0"});
  ASSERT_EQ(result.status, 0) << result.err;
  // Columns 0-2 and the last row are 0; pixel (x, y) holds 10(x - 3) + y. Over the whole
  // picture: max 66 at (9, 6); each row y < 7 sums to 10 * (0 + ... + 6) + 7y = 210 + 7y, in
  // all 1617 over 80 pixels.
  EXPECT_EQ(result.out, "max=66 min=0 mean=20 sum=1617 rect=0,0,9,7\n");
  const auto bytes = readBytes(out);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes[2 * 10 + 2], 0);
  EXPECT_EQ(bytes[2 * 10 + 5], 22);
  EXPECT_EQ(bytes[7 * 10 + 5], 0);
}

TEST_F(ImageAlignCli, HalfStepsAndTheValidRectangleWithBlanking) {
  const std::string p1 = picture("a.bmp", 10, 8, [](int, int) { return 1; });
  const std::string p2 = picture("b.bmp", 10, 8, [](int x, int y) { return 20 * x + y; });
  const std::string out = dir.file("out.raw");
  const std::string s1 = dir.file("s1.raw"), s2 = dir.file("s2.bmp");
  // Picture 2 half a pixel left (n = 2): (x, y) = (20x + y + 20(x + 1) + y) / 2 = 20x + 10 + y.
  const CliRun result = run({"image", p1, p2, out, "--kind", "1", "--division", "2",
                             "--shift-interp", "linear", "--shift", "2:-0.5,0", "--valid",
                             "rect:2,1,8,6", "--blank", "--write-shifted", s1 + "," + s2});
  ASSERT_EQ(result.status, 0) << result.err;
  // Inside columns 2..8, rows 1..6: max 20*8+10+6 = 176, min 20*2+10+1 = 51,
  // sum = 6 * (20 * 35 + 70) + 7 * 21 = 4620 + 147 = 4767 over 42 pixels: mean 113.
  EXPECT_EQ(result.out, "max=176 min=51 mean=113 sum=4767 rect=2,1,8,6\n");
  const auto bytes = readBytes(out);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes[1 * 10 + 2], 51);
  EXPECT_EQ(bytes[1 * 10 + 1], 0);  // blanked
  EXPECT_EQ(bytes[7 * 10 + 4], 0);
  const auto shifted1 = readBytes(s1);
  ASSERT_EQ(shifted1.size(), 80u);
  EXPECT_EQ(shifted1[0], 1);  // picture 1 is not shifted
  const auto shifted2 = readBytes(s2);
  ASSERT_EQ(shifted2.size(), 1078u + 8u * 12u);
  // Bottom-up rows of 12 bytes: the first stored row is picture row 7, the last row 0.
  EXPECT_EQ(shifted2[1078 + 7 * 12 + 9], 0);   // (9, 0): the band of one column
  EXPECT_EQ(shifted2[1078 + 7 * 12 + 3], 70);  // (3, 0)
  EXPECT_EQ(shifted2[1078 + 12 + 3], 76);      // (3, 6)
  EXPECT_EQ(shifted2[1078 + 3], 0);            // (3, 7): the last row
}

TEST_F(ImageAlignCli, AlignPrintsTheResultTextAndTheValues) {
  const std::string p1 = picture("a.bmp", 48, 40, [](int x, int y) { return smooth(x, y); });
  const std::string p2 =
      picture("b.bmp", 48, 40, [](int x, int y) { return smooth(x - 3, y + 1); });
  const CliRun standard = run({"align", p1, p2, "--align", "standard"});
  ASSERT_EQ(standard.status, 0) << standard.err;
  EXPECT_EQ(standard.out,
            "左：3+0/16 下：1+0/16\nxflag=0 xwhole=3 xsub=0 yflag=1 ywhole=1 ysub=0 n=16\n");
  // Picture 1 as the target moves the other way; precision and division change the units.
  const CliRun reverse = run({"align", p1, p2, "--align", "standard", "--align-target", "1",
                              "--division", "64", "--precision", "8", "--range", "4"});
  ASSERT_EQ(reverse.status, 0) << reverse.err;
  EXPECT_EQ(reverse.out,
            "右：3+0/8 上：1+0/8\nxflag=1 xwhole=3 xsub=0 yflag=0 ywhole=1 ysub=0 n=64\n");
  // Around the cursor.
  const CliRun cursor =
      run({"align", p1, p2, "--align", "standard", "--align-at", "24,20", "--cursor-range", "12"});
  ASSERT_EQ(cursor.status, 0) << cursor.err;
  EXPECT_EQ(cursor.out, standard.out);
}

TEST_F(ImageAlignCli, AlignFailureIsTheWorkbenchMessage) {
  const std::string p1 = picture("a.bmp", 48, 40, [](int x, int y) { return smooth(x, y); });
  const CliRun result = run({"align", p1, p1, "--valid", "rect:0,0,11,39"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:12 "
            "y:40)\n対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい\n");
  // The image is still made, with the message.
  const CliRun image = run({"image", p1, p1, dir.file("o.raw"), "--kind", "0", "--align", "fast",
                            "--valid", "rect:0,0,11,39"});
  EXPECT_EQ(image.status, 0);
  EXPECT_NE(image.err.find("範囲が小さすぎます"), std::string::npos);
}

TEST_F(ImageAlignCli, RefusesMalformedAndOutOfRangeValues) {
  const std::string p1 = picture("a.bmp", 16, 16, [](int x, int) { return x; });
  const std::string out = dir.file("o.raw");
  const auto status = [&](std::vector<std::string> extra) {
    std::vector<std::string> words{"image", p1, p1, out, "--kind", "0"};
    words.insert(words.end(), extra.begin(), extra.end());
    return run(words).status;
  };
  EXPECT_EQ(status({"--division", "2", "--shift", "1:0.25,0"}), 2);  // not a multiple of 1/2
  EXPECT_EQ(status({"--shift", "1:0.0625,-0.125"}), 0);              // 1/16 and 2/16
  EXPECT_EQ(status({"--shift", "3:1,0"}), 2);
  EXPECT_EQ(status({"--shift", "1:1x,0"}), 2);
  EXPECT_EQ(status({"--shift", "1:17,0"}), 2);  // beyond the 16-pixel picture
  EXPECT_EQ(status({"--shift", "1:1,0", "--align", "fast"}), 2);
  EXPECT_EQ(status({"--division", "12"}), 2);
  EXPECT_EQ(status({"--align", "fast", "--precision", "32"}), 2);  // above n = 16
  EXPECT_EQ(status({"--align", "fast", "--range", "33"}), 2);
  EXPECT_EQ(status({"--range", "3"}), 2);  // needs --align
  EXPECT_EQ(status({"--valid", "rect:0,0,16,3"}), 2);
  EXPECT_EQ(status({"--valid", "rect:5,0,4,3"}), 2);
  EXPECT_EQ(status({"--valid", "margin:-1"}), 2);
  EXPECT_EQ(status({"--shift-interp", "nearest"}), 2);
  EXPECT_EQ(status({"--align", "fast", "--align-at", "16,0"}), 2);
  EXPECT_EQ(run({"image", p1, p1, out, "--kind", "10"}).status, 2);
  EXPECT_EQ(run({"image", p1, p1, out, "--kind", "0", "--expr", "P1"}).status, 2);
  EXPECT_EQ(run({"align", p1, p1, "--shift", "1:1,0"}).status, 2);
  EXPECT_EQ(run({"image", p1, p1, dir.file("o.jpg"), "--kind", "0"}).status, 1);
}

}  // namespace
}  // namespace vemla::cli
