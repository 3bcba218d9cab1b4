#include "workbench/net/picture_exchange.h"

#include <gtest/gtest.h>

#include "net/transfer_messages.h"
#include "support/workbench_fixture.h"

namespace vemla::net {
namespace {

class PictureExchange : public testing::WorkbenchFixture {
 protected:
  // Opens a W x H pair whose pixels are x + 10 y (picture 1) and 255 - that (picture 2).
  void openPair(int width, int height) {
    palette1 = greyRamp();
    palette1[4 * 3] = 77;
    MemoryPictures pictures;
    pictures.palettes = {&palette1, nullptr};
    pictures.names = {"a.bmp", "b.bmp"};
    openPictures(
        width, height, [](int x, int y) { return x + 10 * y; },
        [](int x, int y) { return 255 - x - 10 * y; }, pictures);
  }

  Palette palette1{};
};

TEST_F(PictureExchange, ExportSendsTheUnshiftedPairAndTheView) {
  openPair(10, 9);
  bench.view.centreX = 7;
  bench.view.centreY = 2;
  bench.view.magnification = 12;
  const std::vector<std::uint8_t> payload = exportPayload(bench);
  const DecodedPayload decoded = decodePayload(payload, 1024, 1024);
  ASSERT_EQ(decoded.check, PayloadCheck::Ok);
  EXPECT_EQ(decoded.header.width, 10);
  EXPECT_EQ(decoded.header.height, 9);
  EXPECT_EQ(decoded.header.positionX, 7);
  EXPECT_EQ(decoded.header.positionY, 2);
  EXPECT_EQ(decoded.header.magnification, 12);
  EXPECT_EQ(decoded.header.reducedDisplay, 0);
  EXPECT_EQ(decoded.header.palettes[0][12], 77);
  EXPECT_EQ(decoded.header.palettes[1], greyRamp());
  EXPECT_EQ(decoded.picture1[3 * 10 + 4], 34);        // x 4, y 3
  EXPECT_EQ(decoded.picture2[8 * 10 + 9], 255 - 89);  // the last pixel
}

TEST_F(PictureExchange, ImportOpensThePairWithTheReceivedViewAndPalettes) {
  PairHeader header;
  header.width = 8;
  header.height = 8;
  header.positionX = 6;
  header.positionY = 1;
  header.magnification = 5;
  header.palettes[0] = greyRamp();
  header.palettes[0][0] = 99;
  header.palettes[1] = greyRamp();
  std::vector<std::uint8_t> pixels(128);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i);

  ASSERT_EQ(setPicturesFromMemory(bench, user, importedPictures(header, pixels.data(), Options{})),
            0);
  EXPECT_EQ(bench.pictures.pictures[0].name, "<Import1>");
  EXPECT_EQ(bench.pictures.pictures[1].name, "<Import2>");
  EXPECT_EQ(bench.pictures.pictures[0].palette[0], 99);
  EXPECT_EQ(bench.store.plane(kPicture1)[63], 63);
  EXPECT_EQ(bench.store.plane(kPicture2)[0], 64);  // the second block
  EXPECT_EQ(bench.view.centreX, 6);
  EXPECT_EQ(bench.view.centreY, 1);
  EXPECT_EQ(bench.view.magnification, 5);
}

TEST_F(PictureExchange, ImportCentresAPositionOutsideAndKeepsAnInvalidMagnification) {
  openPair(8, 8);
  bench.view.magnification = 3;
  PairHeader header;
  header.width = 16;
  header.height = 12;
  header.positionX = -1;
  header.positionY = 4;
  header.magnification = 65;
  std::vector<std::uint8_t> pixels(2 * 16 * 12, 1);
  ASSERT_EQ(setPicturesFromMemory(bench, user, importedPictures(header, pixels.data(), Options{})),
            0);
  EXPECT_EQ(bench.view.centreX, 8);  // the centre, W / 2 and H / 2
  EXPECT_EQ(bench.view.centreY, 6);
  EXPECT_EQ(bench.view.magnification, 3);
}

TEST_F(PictureExchange, ImportOptionsDropPalettesPositionAndMagnification) {
  PairHeader header;
  header.width = 8;
  header.height = 8;
  header.positionX = 2;
  header.positionY = 3;
  header.magnification = 1;
  header.reducedDisplay = 1;
  const std::vector<std::uint8_t> pixels(128, 0);

  const MemoryPictures taken = importedPictures(header, pixels.data(), Options{});
  EXPECT_EQ(taken.palettes[0], &header.palettes[0]);
  EXPECT_EQ(taken.palettes[1], &header.palettes[1]);
  EXPECT_EQ(taken.pixels[1], pixels.data() + 64);
  EXPECT_EQ(taken.magnification, 1);
  EXPECT_TRUE(taken.reducedDisplay);

  Options options;
  options.ImportAsGrey = true;
  options.ImportTakePosition = false;
  options.ImportTakeMagnification = false;
  const MemoryPictures plain = importedPictures(header, pixels.data(), options);
  EXPECT_EQ(plain.palettes[0], nullptr);  // grey ramp
  EXPECT_EQ(plain.palettes[1], nullptr);
  EXPECT_EQ(plain.centreX, -1);       // no position: the centre
  EXPECT_EQ(plain.magnification, 0);  // keeps the view's

  // A flag other than 0 or 1 counts as 0.
  header.reducedDisplay = 2;
  EXPECT_FALSE(importedPictures(header, pixels.data(), Options{}).reducedDisplay);
}

TEST(TransferMessages, GiveEachSideItsOwnText) {
  const Notice exported = exportNotice(0, "tanaka", "192.168.0.7");
  EXPECT_EQ(exported.icon, Icon::Info);
  EXPECT_EQ(exported.text, "正常にExportされました　　　\n →tanaka\n   [192.168.0.7]");

  EXPECT_EQ(exportNotice(kPasswordMismatch, "", "").text,
            "Import要求がありましたがﾊﾟｽﾜｰﾄﾞが一致していません");
  EXPECT_EQ(importNotice(kPasswordMismatch).text, "Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります");
  EXPECT_EQ(exportNotice(kTimedOut, "", "").text, "タイムアウトが発生しました");
  EXPECT_EQ(importNotice(kTimedOut).text, "タイムアウトが発生しました");
  EXPECT_EQ(exportNotice(kBindFailed, "", "").text, "通信に失敗しました(ｴﾗｰｺｰﾄﾞ:-4)");
  EXPECT_EQ(importNotice(kPeerClosed).text, "通信に失敗しました(ｴﾗｰｺｰﾄﾞ:-10)");
  EXPECT_EQ(importNotice(kPeerClosed).icon, Icon::Warning);

  EXPECT_EQ(payloadNotice(PayloadCheck::TooLarge).text, "受信した画像が画像最大ｻｲｽﾞを超えています");
  EXPECT_EQ(payloadNotice(PayloadCheck::BadData).text, "受信したﾃﾞｰﾀに誤りがあります");
}

}  // namespace
}  // namespace vemla::net
