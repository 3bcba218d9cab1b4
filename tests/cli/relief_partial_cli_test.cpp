// vemla-cli relief and partial against hand-worked values on small flat pictures. A 16 x 16
// picture at x1 sits at view pixels 248..263 of the 512 x 512 view, the fill around it.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class ToolVerbs : public ::testing::Test {
 protected:
  std::string flat(const std::string& name, int grey) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(16, -16, 8, [grey](int, int) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(grey)};
               }));
    return path;
  }
  TempDir dir;
};

TEST_F(ToolVerbs, ReliefFromAboveShowsThePictureAtTheCentre) {
  const std::string in = flat("in.bmp", 100), out = dir.file("out.raw");
  // The 256 block around view point (256, 256) starts at 128: the picture lies at u = -8..7,
  // and X 0, Z 0 maps (u, v) to (168 + u, 143 + v).
  const CliRun result = run({"relief", in, out, "--angles", "0,0"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "(ｲﾒｰｼﾞ)  (X,Y)=(8,8) 1倍 Ｘ角度:0 Ｚ角度:0 輝度:128\n");
  const std::vector<std::uint8_t> raster = readBytes(out);
  ASSERT_EQ(raster.size(), 336u * 286u);
  const auto at = [&](int x, int y) { return raster[static_cast<std::size_t>(y * 336 + x)]; };
  EXPECT_EQ(at(160, 135), 100);
  EXPECT_EQ(at(175, 150), 100);
  EXPECT_EQ(at(159, 135), 0);
  EXPECT_EQ(at(176, 150), 0);

  // The luminance goes into the grey ramp of the bitmap (entry 0 at byte 54).
  const std::string bitmap = dir.file("out.bmp");
  ASSERT_EQ(run({"relief", in, bitmap, "--luminance", "255", "--whole", "--mode", "surface"}).status, 0);
  const std::vector<std::uint8_t> bytes = readBytes(bitmap);
  EXPECT_EQ(bytes.at(54), 127);
  EXPECT_EQ(run({"relief", in, out, "--mode", "wire", "--width", "5"}).out,
            "(ﾜｲﾔ)  (X,Y)=(8,8) 1倍 Ｘ角度:20 Ｚ角度:20 幅:5\n");
  EXPECT_EQ(readBytes(out).size(), 336u * 286u);

  EXPECT_EQ(run({"relief", in, out, "--angles", "10,91"}).status, 2);
  EXPECT_EQ(run({"relief", in, out, "--width", "2"}).status, 2);
}

TEST_F(ToolVerbs, PartialComparesTheTwoParts) {
  const std::string ref = flat("ref.bmp", 200), comp = flat("comp.bmp", 100);
  const std::string shown = dir.file("shown.raw"), diff = dir.file("diff.raw");
  // The part around view point 256 starts at 172: the pictures lie at part pixels 76..91.
  CliRun result = run({"partial", ref, comp, "--mode", "offset", "--strength", "24", "--diff",
                       diff, "--shown", shown});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "shift=(x) 0+0 (y) 0+0\nmargin=0,0,0,0\nmax=100 min=0\n");
  EXPECT_EQ(readBytes(diff).at(80 * 168 + 80), 228);
  EXPECT_EQ(readBytes(shown).at(80 * 168 + 80), 255);
  EXPECT_EQ(readBytes(shown).at(0), 128);

  result = run({"partial", ref, comp, "--division", "4", "--shift", "-1.25,0.5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "shift=←1+1/4 ↓0+2/4\nmargin=3,3,4,3\nmax=200 min=0\n");

  result = run({"partial", ref, comp, "--division", "2", "--shift", "165,0"});
  EXPECT_EQ(result.out, "shift=→165+0/2 (y) 0+0\nmargin=168,3,3,3\nmax=none min=none\n");

  EXPECT_EQ(run({"partial", ref, comp, "--shift", "169,0"}).status, 2);
  EXPECT_EQ(run({"partial", ref, comp, "--division", "4", "--shift", "0.3,0"}).status, 2);
}

}  // namespace
}  // namespace vemla::cli
