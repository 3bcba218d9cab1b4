// vemla-cli colour-table, render --colour-table and colour-image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class ColourCli : public ::testing::Test {
 protected:
  // Grey g is (g, 0, 255 - g).
  void SetUp() override {
    std::string text;
    for (int g = 0; g < 256; ++g) text += std::to_string(g) + " 0 " + std::to_string(255 - g) + "\n";
    writeBytes(table, {text.begin(), text.end()});
  }
  std::string lineOf(const std::string& file, int grey) {
    const std::vector<std::uint8_t> bytes = readBytes(file);
    std::string text(bytes.begin(), bytes.end());
    std::size_t at = 0;
    for (int i = 0; i < grey; ++i) at = text.find('\n', at) + 1;
    return text.substr(at, text.find('\n', at) - at);
  }
  TempDir dir;
  std::string table = dir.file("t.txt");
  std::string out = dir.file("out.txt");
};

TEST_F(ColourCli, ColourTableRewritesAndInterpolates) {
  CliRun result = run({"colour-table", table, out, "--interpolate", "200,100,g"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(lineOf(out, 0), "   0,   0, 255   # 0");
  EXPECT_EQ(lineOf(out, 150), " 150,   0, 105   # 150");  // green stays 0: both ends are 0

  EXPECT_EQ(run({"colour-table", table, out, "--interpolate", "1,2,x"}).status, 2);
  EXPECT_EQ(run({"colour-table", table, out, "--interpolate", "1,256"}).status, 2);
  writeBytes(dir.file("bad.txt"), {'1', ',', '2', '\n'});
  result = run({"colour-table", dir.file("bad.txt"), out});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ﾌｧｲﾙのﾌｫｰﾏｯﾄに誤りがあります(ﾗｲﾝ番号：1)\n" + dir.file("bad.txt") + "\n");
  result = run({"colour-table", table, dir.file("none/out.txt")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ﾌｧｲﾙの書き込みができません\n" + dir.file("none/out.txt") + "\n");
}

TEST_F(ColourCli, RenderAndColourImageShowTheTable) {
  const std::string image = dir.file("i.bmp");
  writeBytes(image, testing::makeBitmap(8, -8, 8, [](int x, int y) {
               return std::vector<std::uint8_t>{static_cast<std::uint8_t>((x * 60 + y) % 256)};
             }));
  const std::string view = dir.file("view.bmp");
  CliRun result = run({"render", image, view, "--colour-table", table});
  ASSERT_EQ(result.status, 0) << result.err;
  BitmapRead read;
  std::vector<std::uint8_t> pane(512 * 512);
  ASSERT_EQ(readBitmapIntoMemory(view, pane, 512, 512, read), 1);
  // Every entry is an entry of the table (red + blue = 255, green 0), not a grey.
  for (std::size_t v : {0u, 128u, 255u}) {
    EXPECT_EQ(read.palette[4 * v + 2] + read.palette[4 * v], 255) << v;
    EXPECT_EQ(read.palette[4 * v + 1], 0) << v;
  }
  EXPECT_EQ(run({"render", image, view, "--colour-table", table, "--colour", "grey"}).status, 2);

  const std::string colour = dir.file("c.bmp");
  result = run({"colour-image", image, table, colour, "--brightness", "138"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "size=8x8\n");
  std::vector<std::uint8_t> pixels(8 * 8 * 3);
  ASSERT_EQ(readBitmapIntoMemory(colour, pixels, 8, 8, read), 3);
  // Pixel (2, 0) is 120, shown through the contrast curve; green is 0 everywhere in the table,
  // so it shows the brightness alone, and red + blue of one entry stay 255 + 2 * 10.
  const std::size_t at = 2 * 3;
  EXPECT_EQ(pixels[at + 1], 10);
  EXPECT_EQ(pixels[at] + pixels[at + 2], 255 + 20);
  EXPECT_EQ(run({"colour-image", image, table, dir.file("c.raw")}).status, 2);
  EXPECT_EQ(run({"colour-image", image, dir.file("absent.txt"), colour}).status, 1);
}

}  // namespace
}  // namespace vemla::cli
