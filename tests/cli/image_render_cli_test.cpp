// vemla-cli image for every kind and vemla-cli render with the view options.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "picture/bitmap.h"
#include "processing/colour_tables.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class ImageKindsCli : public ::testing::Test {
 protected:
  std::string picture(const std::string& name, int width, int height,
                      std::function<int(int, int)> value) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, -height, 8, [&](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value(x, y))};
               }));
    return path;
  }
  // 8 x 8: picture 1 is 200 everywhere, picture 2 is 60 except 250 at (3, 3).
  void SetUp() override {
    p1 = picture("p1.bmp", 8, 8, [](int, int) { return 200; });
    p2 = picture("p2.bmp", 8, 8, [](int x, int y) { return x == 3 && y == 3 ? 250 : 60; });
    out = dir.file("out.raw");
  }
  CliRun image(std::vector<std::string> flags) {
    std::vector<std::string> words{"image", p1, p2, out};
    words.insert(words.end(), flags.begin(), flags.end());
    return run(words);
  }
  int pixel(int x, int y) { return readBytes(out).at(static_cast<std::size_t>(y * 8 + x)); }

  TempDir dir;
  std::string p1, p2, out;
};

TEST_F(ImageKindsCli, ElementWiseKindsAndTheirStatistics) {
  const std::pair<const char*, const char*> expected[] = {
      {"0", "max=200 min=200 mean=200 sum=12800 rect=0,0,7,7\n"},
      {"1", "max=250 min=60 mean=62 sum=4030 rect=0,0,7,7\n"},
      // (200 + 60) / 2 = 130 and (200 + 250) / 2 = 225: 63 * 130 + 225 = 8415.
      {"2", "max=225 min=130 mean=131 sum=8415 rect=0,0,7,7\n"},
      {"3", "max=140 min=50 mean=138 sum=8870 rect=0,0,7,7\n"},
      // d = 140 gives 255, d = -50 gives 78.
      {"4", "max=255 min=78 mean=252 sum=16143 rect=0,0,7,7\n"},
      // 200 = 1100 1000, 60 = 0011 1100, 250 = 1111 1010.
      {"7", "max=200 min=8 mean=11 sum=704 rect=0,0,7,7\n"},
      {"8", "max=252 min=250 mean=251 sum=16126 rect=0,0,7,7\n"},
      {"9", "max=244 min=50 mean=240 sum=15422 rect=0,0,7,7\n"},
  };
  for (const auto& [kind, line] : expected) {
    const CliRun result = image({"--kind", kind});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, line) << "kind " << kind;
  }
  EXPECT_EQ(image({}).out, "max=140 min=50 mean=138 sum=8870 rect=0,0,7,7\n");  // default 3
  EXPECT_EQ(pixel(3, 3), 50);
}

TEST_F(ImageKindsCli, AreaDifferenceWithDefaultsAndFlags) {
  // 3 x 3, method 0, D = 9: windows holding (3, 3) sum 8 * 140 + 50 = 1170 -> 130.5 -> 130,
  // the others 1260 -> 140. Columns and rows 1..6 are computed; 9 of their 36 pixels hold 130.
  CliRun result = image({"--kind", "5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=140 min=130 mean=137 sum=4950 rect=1,1,6,6\n");
  EXPECT_EQ(pixel(0, 4), 0);
  EXPECT_EQ(pixel(2, 4), 130);
  EXPECT_EQ(pixel(5, 4), 140);
  // 1 x 1, difference of sums, D = 2: 140 / 2 + 0.5 -> 70, 50 / 2 + 0.5 -> 25.
  result = image({"--kind", "5", "--area", "1,1", "--area-method", "1", "--area-divisor", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=70 min=25 mean=69 sum=4435 rect=0,0,7,7\n");
}

TEST_F(ImageKindsCli, UserProgramResultIsTakenFromAFile) {
  const std::string result17 = picture("r.bmp", 8, 8, [](int, int) { return 17; });
  CliRun result = image({"--kind", "6", "--user-result", result17});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=17 min=17 mean=17 sum=1088 rect=0,0,7,7\n");
  EXPECT_EQ(image({"--kind", "6"}).out, "max=0 min=0 mean=0 sum=0 rect=0,0,7,7\n");
  const std::string wrong = picture("w.bmp", 9, 8, [](int, int) { return 17; });
  result = image({"--kind", "6", "--user-result", wrong});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "画像ｻｲｽﾞが異なります\n");
}

TEST_F(ImageKindsCli, BlankingUsesTheFillOfTheKind) {
  const CliRun result = image({"--kind", "4", "--valid", "margin:2", "--blank"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=255 min=78 mean=243 sum=3903 rect=2,2,5,5\n");  // 15 * 255 + 78
  EXPECT_EQ(pixel(1, 1), 128);
  EXPECT_EQ(pixel(2, 2), 255);
  EXPECT_EQ(pixel(7, 3), 128);
}

TEST_F(ImageKindsCli, UserExpressionAndFilterEntries) {
  // 200 - 60 = 140; 200 - 250 is negative: 0.
  CliRun result = image({"--expr", "P1(0,0)-P2(0,0)"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=140 min=0 mean=137 sum=8820 rect=0,0,7,7\n");
  // A 3 x 3 box over picture 2, divided by 9: 540 / 9 = 60 and 730 / 9 = 81.1 for the nine
  // windows holding (3, 3); picture 2's rectangle shrunk by the one-pixel margins.
  result =
      image({"--filter", "1,1,1;1,1,1;1,1,1", "--filter-source", "2", "--filter-divisor", "9"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=81 min=60 mean=65 sum=2349 rect=1,1,6,6\n");
  // Empty cells weigh nothing and make no margin: 2 * 200 limited to 255 everywhere.
  result = image({"--filter", ",2,", "--filter-source", "1"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "max=255 min=255 mean=255 sum=16320 rect=0,0,7,7\n");
  result = image({"--expr", "P1(0,0)+"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ｲﾒｰｼﾞ1の作成に失敗しました\n");
}

TEST_F(ImageKindsCli, RefusesFlagsThatDoNotFitTheKind) {
  EXPECT_EQ(image({"--kind", "3", "--area", "3,3"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area", "0,3"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area", "2047,2047"}).status, 0);  // 2 * 1024 - 1
  EXPECT_EQ(image({"--kind", "5", "--area", "2048,3"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area-divisor", "0"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area-divisor", "-1"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area-divisor", "x"}).status, 2);
  EXPECT_EQ(image({"--kind", "5", "--area-method", "2"}).status, 2);
  EXPECT_EQ(image({"--kind", "3", "--user-result", p1}).status, 2);
  EXPECT_EQ(image({"--expr", "P1(0,0)", "--filter", "1"}).status, 2);
  EXPECT_EQ(image({"--filter", "1"}).status, 2);                            // no --filter-source
  EXPECT_EQ(image({"--filter", "1,1", "--filter-source", "1"}).status, 2);  // even columns
  EXPECT_EQ(image({"--filter", "1;1,1;1", "--filter-source", "1"}).status, 2);
  EXPECT_EQ(image({"--filter-source", "1"}).status, 2);
  EXPECT_EQ(image({"--filter", "1", "--filter-source", "3"}).status, 2);
}

// ---- render

class RenderCli : public ImageKindsCli {
 protected:
  struct Raster {
    std::vector<std::uint8_t> pixels;  // top-down
    Palette palette{};
    int at(int u, int v) const { return pixels.at(static_cast<std::size_t>(v) * 512 + u); }
    Rgb colour(int index) const {
      return {palette[4 * index + 2], palette[4 * index + 1], palette[4 * index]};
    }
  };
  Raster raster(const std::string& path) {
    Raster result;
    result.pixels.resize(512 * 512);
    BitmapRead read;
    EXPECT_EQ(readBitmapIntoMemory(path, result.pixels, 512, 512, read), 1);
    EXPECT_EQ(read.width, 512);
    EXPECT_EQ(read.height, 512);
    result.palette = read.palette;
    return result;
  }
  CliRun render(const std::string& in, std::vector<std::string> flags) {
    std::vector<std::string> words{"render", in, view};
    words.insert(words.end(), flags.begin(), flags.end());
    return run(words);
  }
  std::string view = dir.file("view.bmp");
};

TEST_F(RenderCli, SmallPictureIsCentredAndShownThroughTheGreyCurve) {
  const std::string in = picture("s.bmp", 300, 200, [](int x, int y) { return (x + y) % 200; });
  CliRun result = render(in, {"--fill", "77"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "origin=-106,-156 window=0,0 mag=x1\n");
  const Raster shown = raster(view);
  EXPECT_EQ(shown.at(106, 156), 0);  // picture (0, 0)
  EXPECT_EQ(shown.at(110, 160), 8);  // picture (4, 4)
  EXPECT_EQ(shown.at(0, 0), 77);
  EXPECT_EQ(shown.colour(64), (Rgb{58, 58, 58}));  // intensity 1
  // x3 around (150, 100): extraction (256, 256), window 256 - 85 = 171.
  result = render(in, {"--mag", "3", "--cursor", "150,100"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "origin=-106,-156 window=171,171 mag=x3\n");
  EXPECT_EQ(raster(view).at(0, 0), (65 + 15) % 200);  // extraction 171 is picture 65, row 15
}

TEST_F(RenderCli, ReducedDisplayOfALargePicture) {
  // 1024 x 600 is shown 512 x 300 from row 106; the cursor (512, 300) sets the origin.
  const std::string in = picture("l.bmp", 1024, 600, [](int x, int) { return x / 8; });
  CliRun result = render(in, {"--reduced"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "origin=256,44 window=0,0 mag=1/2.0\n");
  const Raster shown = raster(view);
  EXPECT_EQ(shown.at(100, 105), 0);   // above the band
  EXPECT_EQ(shown.at(100, 200), 25);  // picture column 200
  EXPECT_EQ(render(in, {"--reduced", "--mag", "2"}).status, 2);
  const std::string small = picture("s.bmp", 300, 200, [](int, int) { return 1; });
  EXPECT_EQ(render(small, {"--reduced"}).status, 2);
}

TEST_F(RenderCli, ColourRangeExtractionAndGridGoIntoThePalette) {
  const std::string in = picture("c.bmp", 64, 64, [](int, int) { return 110; });
  const CliRun result =
      render(in, {"--mag", "2", "--colour", "standard", "--range", "100,120", "--range-colour",
                  "9,8,7", "--grid", "4", "--grid-colour", "1,2,3"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Raster shown = raster(view);
  // The grid reserves the upper bound 120, whose image pixels would move to 119.
  EXPECT_EQ(shown.colour(120), (Rgb{1, 2, 3}));
  EXPECT_EQ(shown.colour(119), (Rgb{9, 8, 7}));
  EXPECT_EQ(shown.colour(100), (Rgb{9, 8, 7}));
  EXPECT_EQ(shown.at(8, 3), 120);      // lines every L m = 8 view pixels
  EXPECT_EQ(shown.at(7, 3), 0);        // the fill around the 64 x 64 picture
  EXPECT_EQ(shown.at(257, 257), 110);  // between the lines
  // "差分ｶﾗｰ" starts at intensity 8: grey 64 shows base entry 37, 255 * 21 / 48 = 111.6 green.
  ASSERT_EQ(render(in, {"--colour", "difference"}).status, 0);
  EXPECT_EQ(raster(view).colour(64), (Rgb{0, 112, 255}));
  ASSERT_EQ(render(in, {"--brightness", "200"}).status, 0);
  EXPECT_EQ(raster(view).colour(128), (Rgb{200, 200, 200}));
}

TEST_F(RenderCli, InterpolatedMagnificationUsesTheZoomMode) {
  // Columns alternate 10 and 30: linear x2 puts their mean between two samples.
  const std::string in = picture("z.bmp", 64, 64, [](int x, int) { return x % 2 ? 30 : 10; });
  ASSERT_EQ(render(in, {"--mag", "2", "--zoom-interp", "linear"}).status, 0);
  const Raster linear = raster(view);
  ASSERT_EQ(render(in, {"--mag", "2"}).status, 0);
  const Raster nearest = raster(view);
  // Window c = 128. Interpolated, view column (j - 128) 2 + 1 is extraction column j: 257 is
  // extraction 256 (picture 32, value 10) and 258 lies halfway to picture 33. Nearest, view
  // columns 256 and 257 show extraction 256 and 258 shows 257.
  EXPECT_EQ(linear.at(257, 256), 10);
  EXPECT_EQ(linear.at(258, 256), 20);
  EXPECT_EQ(nearest.at(256, 256), 10);
  EXPECT_EQ(nearest.at(257, 256), 10);
  EXPECT_EQ(nearest.at(258, 256), 30);
}

TEST_F(RenderCli, SwipeShowsImageBeforeTheDividerAndImage2FromIt) {
  // Two 300 x 200 images, centred at (106, 156) as above; the same grid goes over both.
  const std::string first = picture("a.bmp", 300, 200, [](int, int) { return 10; });
  const std::string second = picture("b.bmp", 300, 200, [](int, int) { return 90; });
  CliRun result = render(first, {"--swipe", "200:" + second, "--grid", "20"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "origin=-106,-156 window=0,0 mag=x1\n");
  const Raster shown = raster(view);
  EXPECT_EQ(shown.at(199, 201), 10);
  EXPECT_EQ(shown.at(201, 201), 90);
  EXPECT_EQ(shown.at(100, 160), 255);  // grid rows every 20 view pixels on both sides
  EXPECT_EQ(shown.at(300, 160), 255);
  // Sizes differ: the two-picture open refuses; X outside 0..512 or no file is a usage error.
  const std::string small = picture("c.bmp", 30, 20, [](int, int) { return 1; });
  EXPECT_EQ(render(first, {"--swipe", "10:" + small}).status, 1);
  EXPECT_EQ(render(first, {"--swipe", "513:" + second}).status, 2);
  EXPECT_EQ(render(first, {"--swipe", "10:"}).status, 2);
  EXPECT_EQ(render(first, {"--swipe", second}).status, 2);
}

TEST_F(RenderCli, RefusesOutOfRangeViewValues) {
  const std::string in = picture("r.bmp", 64, 64, [](int, int) { return 5; });
  EXPECT_EQ(render(in, {"--mag", "65"}).status, 2);
  EXPECT_EQ(render(in, {"--cursor", "64,0"}).status, 2);
  EXPECT_EQ(render(in, {"--mag", "4", "--fine", "4,0"}).status, 2);
  EXPECT_EQ(render(in, {"--mag", "4", "--fine", "3,3"}).status, 0);
  EXPECT_EQ(render(in, {"--range", "5,4"}).status, 2);
  EXPECT_EQ(render(in, {"--range-colour", "1,2,3"}).status, 2);  // needs --range
  EXPECT_EQ(render(in, {"--grid", "21"}).status, 2);
  EXPECT_EQ(render(in, {"--grid", "4", "--mag", "2", "--grid-offset", "8,0"}).status, 2);
  EXPECT_EQ(render(in, {"--grid", "4", "--mag", "2", "--grid-offset", "7,0"}).status, 0);
  EXPECT_EQ(render(in, {"--colour", "blue"}).status, 2);
  EXPECT_EQ(render(in, {"--intensity", "0"}).status, 2);
  EXPECT_EQ(render(in, {"--brightness", "257"}).status, 2);
  EXPECT_EQ(render(in, {"--zoom-interp", "nearest"}).status, 2);
  EXPECT_EQ(render(in, {"--fill", "256"}).status, 2);
  const std::string colour = dir.file("t.bmp");
  writeBytes(colour, makeBitmap(16, 16, 24, [](int, int) {
               return std::vector<std::uint8_t>{1, 2, 3};
             }));
  // An input the open refuses is a refusal (1), not a usage error.
  EXPECT_EQ(render(colour, {}).status, 1);
  EXPECT_EQ(render(dir.file("missing.bmp"), {}).status, 1);
  const std::string png = dir.file("p.png");
  writeBytes(png, std::vector<std::uint8_t>(64, 0));
  const CliRun other = render(png, {});
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n" + png + "\n");
}

}  // namespace
}  // namespace vemla::cli
