// vemla-cli scope and view, one smoke run each plus their refusals.
#include <gtest/gtest.h>

#include "picture/bitmap.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

// Reads a written bitmap back as it is (top-down, no padding).
std::vector<std::uint8_t> pixelsOf(const std::string& path, BitmapRead& read) {
  std::vector<std::uint8_t> pixels(1 << 22);
  EXPECT_GT(readBitmapIntoMemory(path, pixels, 16384, 16384, read), 0);
  return pixels;
}

TEST(ScopeViewCli, ScopeWritesTheRasterWithItsPalette) {
  TempDir dir;
  const std::string in = dir.file("p.bmp"), out = dir.file("scope.bmp");
  writeBytes(
      in, makeBitmap(8, -8, 8, [](int x, int y) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x == 0 && y == 0 ? 255 : 10)};
      }));
  const CliRun result = run({"scope", in, out, "--at", "0,0", "--mag", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "at=0,0 mag=2\n");
  BitmapRead read;
  const auto pixels = pixelsOf(out, read);
  ASSERT_EQ(read.width, 256);
  // s = 2: window start 64, so pixel (0, 0) fills raster 128..129; 255 is shown as 253,
  // entry 253 is grey 189 and entry 254 orange.
  EXPECT_EQ(pixels[128 * 256 + 129], 253);
  EXPECT_EQ(pixels[20 * 256 + 20], 0);
  EXPECT_EQ(read.palette[4 * 253], 189);
  EXPECT_EQ(read.palette[4 * 254 + 2], 255);
  EXPECT_EQ(read.palette[4 * 254 + 1], 128);
  EXPECT_EQ(run({"scope", in, out, "--at", "8,0"}).status, 2);
  EXPECT_EQ(run({"scope", in, out}).status, 2);
}

TEST(ScopeViewCli, ViewPaintsTheOpeningStateAndTheGivenOne) {
  TempDir dir;
  const std::string grey = dir.file("g.bmp"), colour = dir.file("c.bmp"), out = dir.file("v.bmp");
  writeBytes(grey, makeBitmap(100, 80, 8, [](int x, int y) {
               return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x + y)};
             }));
  CliRun result = run({"view", grey, out, "--screen", "1280,1024"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "zoom=4 window=810x640 centre=50,40\n");
  BitmapRead read;
  auto pixels = pixelsOf(out, read);
  ASSERT_EQ(read.width, 810);
  // Client (405, 320) shows picture (50, 40) = 90 through the file's palette (90, 165, 45).
  const std::size_t at = (320 * 810 + 405) * 3;
  EXPECT_EQ((std::vector<int>{pixels[at], pixels[at + 1], pixels[at + 2]}),
            (std::vector<int>{90, 165, 45}));
  EXPECT_EQ(pixels[0] + pixels[1] + pixels[2], 0);

  writeBytes(colour, makeBitmap(3, 1, 24, [](int x, int) {
               return std::vector<std::uint8_t>{static_cast<std::uint8_t>(10 * x), 1, 2};
             }));
  result = run({"view", colour, out, "--screen", "1280,1024", "--zoom", "1/2", "--centre", "0,0",
                "--client", "4,1"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "zoom=1/2 window=810x640 centre=0,0\n");
  pixels = pixelsOf(out, read);
  EXPECT_EQ((std::vector<int>(pixels.begin(), pixels.begin() + 12)),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 2, 20, 1, 2}));

  EXPECT_EQ(run({"view", grey, out, "--screen", "100,1024"}).status, 2);
  EXPECT_EQ(run({"view", grey, out, "--screen", "1280,1024", "--zoom", "3/4"}).status, 2);
  const CliRun other = run({"view", dir.file("x.txt"), out, "--screen", "1280,1024"});
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n["), std::string::npos);
}

}  // namespace
}  // namespace vemla::cli
