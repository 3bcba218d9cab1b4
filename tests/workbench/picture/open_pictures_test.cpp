#include "workbench/picture/open_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "picture/messages.h"
#include "picture/quantize.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"

namespace vemla {
namespace {

using testing::FakeUserPort;
using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

std::vector<std::uint8_t> grey(std::uint8_t value) {
  return {value};
}

class OpenPictures : public testing::WorkbenchFixture {
 protected:
  // An 8-bit bitmap whose pixel (x, y) is (x + 3 * y + seed) mod 256.
  std::string bitmap(const std::string& name, int width, int height, int seed = 0, int bits = 8) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, height, bits, [&](int x, int y) {
                 const auto v = static_cast<std::uint8_t>(x + 3 * y + seed);
                 return bits == 8 ? grey(v) : std::vector<std::uint8_t>(bits / 8, v);
               }));
    return path;
  }
  int open(const std::string& a, const std::string& b, OpenMode mode = OpenMode::Both) {
    return openPictureFiles(bench, user, a.empty() ? nullptr : &a, b.empty() ? nullptr : &b, mode);
  }

  TempDir dir;
};

TEST_F(OpenPictures, OpensBottomUpAndTopDownBitmapsUpright) {
  const std::string a = bitmap("a.bmp", 10, 9, 0);
  const std::string b = bitmap("b.bmp", 10, -9, 7);
  ASSERT_EQ(open(a, b), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.pictures.width, 10);
  EXPECT_EQ(bench.pictures.height, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(pixel(kPicture1, x, y), x + 3 * y) << x << "," << y;
      ASSERT_EQ(pixel(kPicture2, x, y), x + 3 * y + 7) << x << "," << y;
    }
  }
  // The palette of the file (entry i = (i, 255 - i, i / 2, 0)) is the picture's.
  EXPECT_EQ(bench.pictures.pictures[0].palette[4 * 10 + 1], 245);
  EXPECT_EQ(bench.pictures.pictures[1].name, b);
  EXPECT_TRUE(bench.pictures.picturesPresent);
  EXPECT_EQ(listener.pictures, 1);
  EXPECT_EQ(bench.titles.pane[0], "画像１(a.bmp)");
  EXPECT_EQ(bench.titles.pane[1], "画像２(b.bmp)");
  EXPECT_EQ(bench.titles.main, "a.bmp b.bmp - Vemla");
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 9, 8}));
  EXPECT_EQ(bench.view.centreX, 5);
  EXPECT_EQ(bench.view.centreY, 4);
}

// Rows without padding are put in order where they were read: the read buffer becomes the
// picture, and the next open reads into the buffer that held the picture before.
TEST_F(OpenPictures, UnpaddedBitmapsOfEitherRowOrderOpenUprightAgainAndAgain) {
  const struct {
    int height1, height2, seed;
  } rounds[] = {{8, -8, 0}, {-8, 8, 40}, {9, 9, 90}, {-9, -9, 130}};
  for (const auto& round : rounds) {
    SCOPED_TRACE(round.seed);
    ASSERT_EQ(open(bitmap("a.bmp", 16, round.height1, round.seed),
                   bitmap("b.bmp", 16, round.height2, round.seed + 7)),
              0);
    const int height = std::abs(round.height1);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(pixel(kPicture1, x, y), (x + 3 * y + round.seed) % 256) << x << "," << y;
        ASSERT_EQ(pixel(kPicture2, x, y), (x + 3 * y + round.seed + 7) % 256) << x << "," << y;
        ASSERT_EQ(pixel(kShifted1, x, y), pixel(kPicture1, x, y));
        ASSERT_EQ(pixel(kShifted2, x, y), pixel(kPicture2, x, y));
      }
    }
  }
  // A refused open leaves the picture read last.
  EXPECT_EQ(open(bitmap("c.bmp", 16, 9, 3), ""), 0);
  EXPECT_EQ(open(bitmap("d.bmp", 16, 9, 5), bitmap("e.bmp", 16, 10)), -1);
  EXPECT_EQ(pixel(kPicture1, 2, 1), 2 + 3 + 3);
  EXPECT_EQ(pixel(kPicture2, 2, 1), 0);
}

TEST_F(OpenPictures, OneNameWithoutKeepClearsTheOtherPicture) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8), bitmap("b.bmp", 16, 8, 1)), 0);
  ASSERT_EQ(open("", bitmap("c.bmp", 16, 8, 5)), 0);
  EXPECT_EQ(pixel(kPicture1, 3, 2), 0);
  EXPECT_EQ(pixel(kPicture2, 3, 2), 3 + 6 + 5);
  EXPECT_EQ(bench.pictures.pictures[0].name, "");
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
  EXPECT_EQ(bench.titles.pane[0], "画像１");
  EXPECT_EQ(bench.titles.main, "c.bmp - Vemla");
}

TEST_F(OpenPictures, OneNameWithKeepLeavesTheOtherPictureAndItsTitle) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8), bitmap("b.bmp", 16, 8, 1)), 0);
  ASSERT_EQ(open(bitmap("c.bmp", 16, 8, 9), "", OpenMode::FirstOnly), 0);
  EXPECT_EQ(pixel(kPicture1, 0, 0), 9);
  EXPECT_EQ(pixel(kPicture2, 0, 0), 1);
  EXPECT_EQ(bench.titles.pane[1], "画像２(b.bmp)");
  EXPECT_EQ(bench.titles.main, "c.bmp - Vemla");
}

TEST_F(OpenPictures, RefusedOpenChangesNothing) {
  ASSERT_EQ(open(bitmap("a.bmp", 200, 200), bitmap("b.bmp", 200, 200, 1)), 0);
  const std::string small = bitmap("small.bmp", 100, 100, 50);
  EXPECT_EQ(open(small, "", OpenMode::FirstOnly), -1);
  EXPECT_EQ(user.onlyMessage(), "画像ｻｲｽﾞが異なります");
  EXPECT_EQ(open(small, bitmap("c.bmp", 100, 101)), -1);
  EXPECT_EQ(bench.pictures.width, 200);
  EXPECT_EQ(pixel(kPicture1, 1, 0), 1);
  EXPECT_EQ(bench.pictures.pictures[0].name, dir.file("a.bmp"));
  EXPECT_EQ(listener.pictures, 1);
}

TEST_F(OpenPictures, KeepsTheMinimumAndMaximumSize) {
  EXPECT_EQ(open(bitmap("min.bmp", 8, 8), ""), 0);
  EXPECT_EQ(open(bitmap("narrow.bmp", 7, 8), ""), -1);
  EXPECT_EQ(open(bitmap("low.bmp", 8, 7), ""), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "画像ｻｲｽﾞが小さすぎます(最小 8ｘ8)");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  // With a picture of another size the small one is refused for its own size.
  EXPECT_EQ(open(bitmap("dot.bmp", 1, 1), bitmap("min2.bmp", 8, 8)), -1);
  EXPECT_EQ(open(bitmap("min3.bmp", 8, 8), bitmap("dot2.bmp", 1, 1)), -1);
  ASSERT_EQ(user.messages.size(), 4u);
  EXPECT_EQ(user.messages[2].text, "画像ｻｲｽﾞが小さすぎます(最小 8ｘ8)");
  EXPECT_EQ(user.messages[3].text, "画像ｻｲｽﾞが小さすぎます(最小 8ｘ8)");

  // The width limit applies to the row length rounded up to 4.
  EXPECT_EQ(open(bitmap("w1023.bmp", 1023, 8), ""), 0);
  EXPECT_EQ(open(bitmap("w1021.bmp", 1021, 8), ""), 0);
  const std::string wide = bitmap("w1025.bmp", 1025, 8);
  EXPECT_EQ(open(wide, ""), -1);
  EXPECT_EQ(user.messages.back().text, "画像ｻｲｽﾞが大きすぎます(最大 1024ｘ1024)\n" + wide);
  EXPECT_EQ(bench.pictures.width, 1021);
}

TEST_F(OpenPictures, TellsWhyAFileCannotBeOpened) {
  const std::string png = dir.file("x.png");
  writeBytes(png, {1, 2, 3});
  EXPECT_EQ(open(png, ""), -1);
  EXPECT_EQ(user.messages.back().text, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n" + png);
  EXPECT_EQ(open(".raw", ""), -1);
  EXPECT_EQ(user.messages.back().text, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n.raw");

  const std::string missing = dir.file("missing.bmp");
  EXPECT_EQ(open(missing, ""), -1);
  EXPECT_EQ(user.messages.back().text, "ﾌｧｲﾙの読み込みに失敗しました\n" + missing);

  const std::string sixteen = dir.file("sixteen.bmp");
  auto bytes = makeBitmap(8, 8, 8, [](int, int) { return grey(0); });
  bytes[28] = 16;
  writeBytes(sixteen, bytes);
  EXPECT_EQ(open(sixteen, ""), -1);
  EXPECT_EQ(user.messages.back().text,
            "256色(8ﾋﾞｯﾄ)またはTrueColor(24/32ﾋﾞｯﾄ)ではありません\n" + sixteen);

  const std::string compressed = dir.file("rle.bmp");
  bytes[28] = 8;
  bytes[30] = 1;
  writeBytes(compressed, bytes);
  EXPECT_EQ(open(compressed, ""), -1);
  EXPECT_EQ(user.messages.back().text, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n" + compressed);
  EXPECT_FALSE(bench.pictures.picturesPresent);
}

TEST_F(OpenPictures, ExtensionTestIgnoresCase) {
  EXPECT_EQ(open(bitmap("UPPER.BMP", 8, 8), ""), 0);
  EXPECT_EQ(bench.titles.pane[0], "画像１(UPPER.BMP)");
}

TEST_F(OpenPictures, RefusesOnlyANameThatDoesNotFitItsField) {
  // 511 CP932 bytes fit the 512-byte field; one more does not, and nothing is truncated.
  const std::string fits = "/" + std::string(506, 'a') + ".bmp";
  EXPECT_EQ(open(fits, ""), -1);
  EXPECT_EQ(user.messages.back().text, "ﾌｧｲﾙの読み込みに失敗しました\n" + fits);
  const std::string longName = "/" + std::string(507, 'a') + ".bmp";
  EXPECT_EQ(open(longName, ""), -1);
  EXPECT_EQ(user.messages.back().text, "ﾌｧｲﾙ名が長すぎます");
  // Characters CP932 cannot hold do not stop the open; the name is kept as it is.
  user.messages.clear();
  const std::string emoji = bitmap("\xF0\x9F\x98\x80 café.bmp", 8, 8);
  const std::string korean = bitmap("검사_01.bmp", 8, 8, 5);
  ASSERT_EQ(open(emoji, korean), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.pictures.pictures[0].name, emoji);
  EXPECT_EQ(bench.pictures.pictures[1].name, korean);
}

TEST_F(OpenPictures, RefusesWhileEditing) {
  bench.pictures.editing = true;
  EXPECT_EQ(open(bitmap("a.bmp", 8, 8), ""), -1);
  EXPECT_EQ(user.onlyMessage(), "画像の編集中です");
}

TEST_F(OpenPictures, NoNamesIsRefusedSilently) {
  EXPECT_EQ(open("", ""), -1);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(OpenPictures, TwoRawFilesAskForTheSizeOnce) {
  const std::string a = dir.file("a.raw");
  const std::string b = dir.file("b.raw");
  std::vector<std::uint8_t> bytes(4 + 16 * 10);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  writeBytes(a, bytes);
  bytes.resize(4 + 16 * 5);  // short: the rest reads as zero
  writeBytes(b, bytes);
  user.rawAnswers.push_back(RawSize{16, 10, 4});
  ASSERT_EQ(open(a, b), 0);
  ASSERT_EQ(user.rawPrompts.size(), 1u);
  EXPECT_EQ(user.rawPrompts[0].file, "a.raw");
  EXPECT_EQ(user.rawPrompts[0].bytes, 164);
  EXPECT_EQ(user.rawPrompts[0].initial, (RawSize{512, 512, 0}));
  EXPECT_EQ(bench.pictures.rawSize, (RawSize{16, 10, 4}));
  EXPECT_EQ(pixel(kPicture1, 0, 0), 4);
  EXPECT_EQ(pixel(kPicture1, 15, 9), (4 + 159) & 0xFF);
  EXPECT_EQ(pixel(kPicture2, 15, 4), 4 + 79);
  EXPECT_EQ(pixel(kPicture2, 0, 5), 0);
  EXPECT_EQ(bench.pictures.pictures[0].headers.info.width, 16);
  EXPECT_EQ(bench.pictures.pictures[0].headers.info.height, 10);
  EXPECT_EQ(bench.pictures.pictures[1].palette, greyRamp());
}

TEST_F(OpenPictures, MissingRawFileFailsAndIsNotCreated) {
  const std::string missing = dir.file("missing.raw");
  user.rawAnswers.push_back(RawSize{16, 16, 0});
  EXPECT_EQ(open(missing, ""), -1);
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙの読み込みに失敗しました\n" + missing);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(OpenPictures, CancelledDialogsAbandonWithoutMessage) {
  const std::string raw = dir.file("a.raw");
  writeBytes(raw, std::vector<std::uint8_t>(64));
  user.rawAnswers.push_back(std::nullopt);
  EXPECT_EQ(open(raw, ""), -1);

  bench.options.TrueColourOpenMode = kTrueColourGrey;
  user.ratioAnswers.push_back(std::nullopt);
  EXPECT_EQ(open(bitmap("true.bmp", 8, 8, 0, 24), ""), -1);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_FALSE(bench.pictures.picturesPresent);
}

TEST_F(OpenPictures, SkipRequestUsesTheStoredRawSizeForOneOpen) {
  const std::string raw = dir.file("a.raw");
  writeBytes(raw, std::vector<std::uint8_t>(64, 7));
  bench.pictures.rawSize = RawSize{8, 8, 0};
  bench.pictures.skipRawDialogOnce = true;
  EXPECT_EQ(open(raw, ""), 0);
  EXPECT_TRUE(user.rawPrompts.empty());
  EXPECT_FALSE(bench.pictures.skipRawDialogOnce);
  user.rawAnswers.push_back(RawSize{8, 8, 0});
  EXPECT_EQ(open(raw, ""), 0);
  EXPECT_EQ(user.rawPrompts.size(), 1u);
}

TEST_F(OpenPictures, TrueColourGreyUsesTheRatiosOfTheDialog) {
  bench.options.TrueColourOpenMode = kTrueColourGrey;
  const std::string path = dir.file("colour.bmp");
  writeBytes(path, makeBitmap(8, 8, 24, [](int x, int) {
               return std::vector<std::uint8_t>{10, 20, static_cast<std::uint8_t>(30 + x)};
             }));
  user.ratioAnswers.push_back(RgbRatio{1.0, 0.0, 0.0});
  ASSERT_EQ(open("", path), 0);
  ASSERT_EQ(user.ratioPrompts.size(), 1u);
  EXPECT_EQ(user.ratioPrompts[0].suffix, "(ﾌｧｲﾙ2)");
  EXPECT_EQ(user.ratioPrompts[0].initial, RgbRatio{});
  EXPECT_EQ(pixel(kPicture2, 5, 3), 35);
  EXPECT_EQ(bench.pictures.pictures[1].palette, greyRamp());

  // Without the per-file question the option ratios apply.
  bench.options.AskRatioPerFile = false;
  bench.options.GreyRatio = RgbRatio{0.0, 0.0, 1.0};
  ASSERT_EQ(open(path, ""), 0);
  EXPECT_EQ(pixel(kPicture1, 5, 3), 10);
}

TEST_F(OpenPictures, TrueColourIsQuantizedByDefault) {
  const std::string path = dir.file("colour.bmp");
  writeBytes(path, makeBitmap(8, 8, 32, [](int x, int) {
               const std::uint8_t v = x < 4 ? 255 : 0;
               return std::vector<std::uint8_t>{v, v, v, 99};
             }));
  ASSERT_EQ(open(path, ""), 0);
  EXPECT_EQ(pixel(kPicture1, 0, 0), 215);
  EXPECT_EQ(pixel(kPicture1, 7, 7), 0);
  EXPECT_EQ(bench.pictures.pictures[0].palette, quantizePalette());
}

TEST_F(OpenPictures, UserResultSurvivesOnlyAReopenAtTheSameSize) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 16), ""), 0);
  bench.store.plane(kUserResult)[5] = 42;
  ASSERT_EQ(open(bitmap("b.bmp", 16, 16), ""), 0);
  EXPECT_EQ(bench.store.plane(kUserResult)[5], 42);
  ASSERT_EQ(open(bitmap("c.bmp", 16, 24), ""), 0);
  EXPECT_EQ(bench.store.plane(kUserResult)[5], 0);
  bench.store.plane(kUserResult)[5] = 42;
  bench.options.carryOver.KeepUserProgramResult = false;
  ASSERT_EQ(open(bitmap("d.bmp", 16, 24), ""), 0);
  EXPECT_EQ(bench.store.plane(kUserResult)[5], 0);
}

TEST_F(OpenPictures, CarryOverOptionsResetTheirSettings) {
  ASSERT_EQ(open(bitmap("a.bmp", 600, 40), ""), 0);
  bench.view.magnification = 8;
  bench.view.grid = true;
  bench.view.colourDisplay = true;
  bench.view.zoomInterpolation = false;
  bench.images.kind = {5, 6};
  bench.view.centreX = 590;
  bench.view.displayOffsetX = 20;
  bench.control.validRange.kind = 2;

  bench.options.carryOver.KeepDisplayPosition = true;
  ASSERT_EQ(open(bitmap("b.bmp", 600, 40), ""), 0);
  EXPECT_EQ(bench.view.magnification, 1);
  EXPECT_FALSE(bench.view.grid);
  EXPECT_TRUE(bench.view.colourDisplay);       // kept by default
  EXPECT_FALSE(bench.view.zoomInterpolation);  // kept by default
  EXPECT_EQ(bench.images.kind, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(bench.view.centreX, 599);  // moved by the offset, clamped
  EXPECT_EQ(bench.control.validRange.kind, 0);

  bench.options.carryOver.KeepZoomInterpolation = false;
  bench.options.carryOver.KeepColourDisplay = false;
  ASSERT_EQ(open(bitmap("c.bmp", 600, 48), ""), 0);
  EXPECT_TRUE(bench.view.zoomInterpolation);
  EXPECT_FALSE(bench.view.colourDisplay);
  EXPECT_EQ(bench.view.centreX, 300);  // size changed: back to the centre
  EXPECT_EQ(bench.view.centreY, 24);
}

TEST_F(OpenPictures, SecondCopyMarksItsTitle) {
  bench.secondCopy = true;
  ASSERT_EQ(open(bitmap("a.bmp", 8, 8), ""), 0);
  EXPECT_EQ(bench.titles.main, "(M)a.bmp - Vemla");
}

class SetPicturesFromMemory : public OpenPictures {};

TEST_F(SetPicturesFromMemory, TakesPixelsPalettesAndView) {
  std::vector<std::uint8_t> first(600 * 20, 3);
  std::vector<std::uint8_t> second(600 * 20, 4);
  Palette palette{};
  palette[0] = 77;
  MemoryPictures given;
  given.width = 600;
  given.height = 20;
  given.pixels = {first.data(), second.data()};
  given.palettes = {&palette, nullptr};
  given.names = {"<Import1>", "<Import2>"};
  given.centreX = 700;  // outside: the centre
  given.magnification = 1;
  given.reducedDisplay = true;
  ASSERT_EQ(setPicturesFromMemory(bench, user, given), 0);
  EXPECT_EQ(pixel(kPicture1, 599, 19), 3);
  EXPECT_EQ(pixel(kPicture2, 0, 0), 4);
  EXPECT_EQ(bench.pictures.pictures[0].palette[0], 77);
  EXPECT_EQ(bench.pictures.pictures[1].palette, greyRamp());
  EXPECT_EQ(bench.view.centreX, 300);
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_EQ(bench.titles.pane[0], "画像１<Import1>");
  EXPECT_EQ(bench.titles.main, "Vemla");
  EXPECT_TRUE(bench.pictures.picturesPresent);

  given.magnification = 4;
  given.centreX = 10;
  given.centreY = 5;
  ASSERT_EQ(setPicturesFromMemory(bench, user, given), 0);
  EXPECT_EQ(bench.view.magnification, 4);
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(bench.view.centreX, 10);

  // A picture that fits the panes never keeps the reduced display.
  given.width = given.height = 16;
  given.magnification = 1;
  ASSERT_EQ(setPicturesFromMemory(bench, user, given), 0);
  EXPECT_FALSE(bench.view.reducedDisplay);
}

TEST_F(SetPicturesFromMemory, RefusesSizesOutsideTheLimits) {
  std::vector<std::uint8_t> pixels(2048 * 8);
  MemoryPictures given;
  given.pixels = {pixels.data(), pixels.data()};
  given.width = 7;
  given.height = 8;
  EXPECT_EQ(setPicturesFromMemory(bench, user, given), -1);
  given.width = 1028;
  EXPECT_EQ(setPicturesFromMemory(bench, user, given), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "画像ｻｲｽﾞが小さすぎます(最小 8ｘ8)");
  EXPECT_EQ(user.messages[1].text, "画像ｻｲｽﾞが大きすぎます(最大 1024ｘ1024)");
  EXPECT_FALSE(bench.pictures.picturesPresent);
}

TEST(PictureStoreSizing, FallsBackTo1024WhenTheConfiguredSizeCannotBeHad) {
  FakeUserPort user;
  PictureStore store;
  auto only32MiB = [](std::size_t bytes) -> std::uint8_t* {
    return bytes <= 32u * 1024 * 1024 ? PictureStore::defaultAllocate(bytes) : nullptr;
  };
  ASSERT_TRUE(allocatePictureStore(store, 4096, 4096, user, only32MiB));
  EXPECT_EQ(store.maxWidth(), 1024);
  EXPECT_EQ(user.onlyMessage(),
            "資源(ﾒﾓﾘ)が不足しているため最大画像\nｻｲｽﾞを 1024 x 1024 へ変更しました");
  EXPECT_EQ(store.plane(15) - store.plane(0), 15 * 1024 * 1024);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(store.plane(0)) % 64, 0u);
}

// Clearing hands whole pages back and writes zeros only over the parts of pages at the ends,
// so the planes beside it keep every byte.
TEST(PictureStore, ClearsExactlyItsPlanes) {
  const struct {
    int width, height, first, count;
  } cases[] = {{1024, 1024, 6, 1}, {100, 37, 6, 1}, {100, 37, 11, 4}, {64, 64, 0, 16}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " " << c.first);
    PictureStore store;
    ASSERT_TRUE(store.allocate(c.width, c.height));
    const std::span<std::uint8_t> all = store.planes(0, kPlaneCount);
    std::fill(all.begin(), all.end(), 0xAB);
    store.clear(c.first, c.count);
    const std::size_t begin = static_cast<std::size_t>(c.first) * store.planeBytes();
    const std::size_t end = begin + static_cast<std::size_t>(c.count) * store.planeBytes();
    for (std::size_t i = 0; i < all.size(); ++i)
      ASSERT_EQ(all[i], i >= begin && i < end ? 0 : 0xAB) << i;
  }
}

TEST(PictureStore, AliasedAndExchangedPlanesShowTheirPixels) {
  PictureStore store;
  ASSERT_TRUE(store.allocate(64, 64));
  for (int plane = 0; plane < kPlaneCount; ++plane)
    store.plane(plane)[0] = static_cast<std::uint8_t>(plane);
  store.alias(kShifted1, kPicture1);
  EXPECT_EQ(store.plane(kShifted1), store.plane(kPicture1));
  store.exchange(kRead1, kPicture1);
  EXPECT_EQ(store.plane(kPicture1)[0], kRead1);
  EXPECT_EQ(store.plane(kRead1)[0], kPicture1);
  EXPECT_EQ(store.plane(kShifted1)[0], kPicture1);  // still the picture it was given
  store.alias(kShifted1, kPicture1);
  EXPECT_EQ(store.plane(kShifted1)[0], kRead1);
  store.own(kShifted1);
  EXPECT_EQ(store.plane(kShifted1)[0], kShifted1);
  store.exchange(kRead1, kPicture1);
  for (int plane = 0; plane < kPlaneCount; ++plane) EXPECT_EQ(store.plane(plane)[0], plane);
}

TEST(PictureStoreSizing, EndsWhenNotEvenTheFallbackCanBeHad) {
  FakeUserPort user;
  PictureStore store;
  auto nothing = [](std::size_t) -> std::uint8_t* { return nullptr; };
  EXPECT_FALSE(allocatePictureStore(store, 1024, 1024, user, nothing));
  EXPECT_EQ(user.onlyMessage(), "資源(ﾒﾓﾘ)が不足しています");
  EXPECT_FALSE(store.allocated());
}

}  // namespace
}  // namespace vemla
