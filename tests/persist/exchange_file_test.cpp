#include "persist/exchange_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "persist/settings_io.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

ExchangeItem picture(int width, int height, int colourCode) {
  ExchangeItem item;
  item.kind = kExchangePicture;
  item.colourCode = colourCode;
  item.title = "画像１";
  item.width = width;
  item.height = height;
  const int bytesPerPixel = colourCode == 0 ? 1 : colourCode == 1 ? 3 : 4;
  item.payload.resize(static_cast<std::size_t>(width) * height * bytesPerPixel);
  for (std::size_t i = 0; i < item.payload.size(); ++i) {
    item.payload[i] = static_cast<std::uint8_t>(i * 7);
  }
  return item;
}

class ExchangeFile : public ::testing::Test {
 protected:
  std::string path() const { return dir.file(kExchangeFile); }
  TempDir dir;
  FakeUserPort user;
  ExchangeRequest request;
};

TEST_F(ExchangeFile, HeaderLayout) {
  ExchangeItem item = picture(9, 8, 1);
  item.palette[4 * 255] = 0x11;
  ASSERT_EQ(writeExchangeItem(dir.path(), item, user), 0);
  const std::vector<std::uint8_t> file = readBytes(path());
  ASSERT_EQ(file.size(), 1600u + 9 * 8 * 3);
  EXPECT_EQ(file[0], 0);     // kind picture
  EXPECT_EQ(file[4], 1);     // three bytes per pixel
  EXPECT_EQ(file[8], 0x89);  // title "画像１" in CP932
  EXPECT_EQ(file[520], 9);
  EXPECT_EQ(file[524], 8);
  EXPECT_EQ(file[528], 0);
  EXPECT_EQ(file[576 + 4 * 255], 0x11);
  EXPECT_EQ(file[1600 + 1], 7);
  EXPECT_TRUE(exchangeItemPresent(dir.path()));
}

TEST_F(ExchangeFile, PictureAndDataRoundTrip) {
  ASSERT_EQ(writeExchangeItem(dir.path(), picture(8, 10, 2), user), 0);
  ExchangeItem read;
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangePicture);
  EXPECT_EQ(read.title, "画像１");
  EXPECT_EQ(read.colourCode, 2);
  EXPECT_EQ(read.payload, picture(8, 10, 2).payload);

  ExchangeItem data;
  data.kind = kExchangeData;
  data.title = "notes.txt";
  data.width = 5;
  data.height = 1;
  data.payload = {'h', 'e', 'l', 'l', 'o'};
  ASSERT_EQ(writeExchangeItem(dir.path(), data, user), 0);
  request.pictureOnly = false;
  request.dataLimit = 5;
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeData);
  EXPECT_EQ(read.payload, data.payload);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(ExchangeFile, RefusalsNameTheHeaderSize) {
  ASSERT_EQ(writeExchangeItem(dir.path(), picture(4, 4, 0), user), 0);
  ExchangeItem read;
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeTooSmall);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "画像ｻｲｽﾞが小さすぎます(4x4)");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);

  ASSERT_EQ(writeExchangeItem(dir.path(), picture(1025, 8, 0), user), 0);
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeTooLarge);
  EXPECT_EQ(user.messages.back().text, "画像ｻｲｽﾞが大きすぎます(1025x8)");
  EXPECT_TRUE(exchangeItemPresent(dir.path()));  // a refusal keeps the item
}

TEST_F(ExchangeFile, DataItemIsRefusedWherePicturesAreWantedAndAboveItsLimit) {
  ExchangeItem data;
  data.kind = kExchangeData;
  data.width = 10;
  data.payload.assign(10, 1);
  ASSERT_EQ(writeExchangeItem(dir.path(), data, user), 0);
  ExchangeItem read;
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeNotPicture);
  EXPECT_EQ(user.messages.back().text, "画像情報ではありません");
  request.pictureOnly = false;
  request.dataLimit = 9;
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeDataTooLarge);
  EXPECT_EQ(user.messages.back().text, "ﾃﾞｰﾀのｻｲｽﾞが大きすぎます(10x0)");
}

TEST_F(ExchangeFile, ShortPayloadFailsAndTheDamagedFileIsMovedAside) {
  ASSERT_EQ(writeExchangeItem(dir.path(), picture(8, 8, 0), user), 0);
  std::vector<std::uint8_t> file = readBytes(path());
  file.pop_back();
  writeBytes(path(), file);
  ExchangeItem read;
  read.title = "untouched";
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeFailed);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(user.messages[0].text, "VemLA間のｺﾋﾟｰ&ﾍﾟｰｽﾄ情報の取り込みに失敗しました");
  EXPECT_EQ(read.title, "untouched");
  EXPECT_FALSE(exchangeItemPresent(dir.path()));
  EXPECT_EQ(readBytes(path() + ".bad"), file);
}

TEST_F(ExchangeFile, UnknownKindOrColourCodeIsAReadFailure) {
  ExchangeItem read;
  using Damage = std::pair<std::size_t, std::uint8_t>;
  for (const Damage& damage : {Damage{0, 2}, Damage{4, 3}, Damage{7, 0x80}}) {
    std::vector<std::uint8_t> file;
    ASSERT_EQ(writeExchangeItem(dir.path(), picture(8, 8, 0), user), 0);
    file = readBytes(path());
    file[damage.first] = damage.second;
    EXPECT_EQ(decodeExchangeItem(file, request, read), kExchangeFailed) << damage.first;
  }
}

TEST_F(ExchangeFile, TitleIsBoundedToItsField) {
  ExchangeItem item = picture(8, 8, 0);
  item.title = std::string(600, 'n');
  ASSERT_EQ(writeExchangeItem(dir.path(), item, user), 0);
  ExchangeItem read;
  ASSERT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangePicture);
  EXPECT_EQ(read.title, std::string(511, 'n'));
}

TEST_F(ExchangeFile, InconsistentItemIsNotWrittenAndThePreviousOneStays) {
  ASSERT_EQ(writeExchangeItem(dir.path(), picture(8, 8, 0), user), 0);
  const std::vector<std::uint8_t> before = readBytes(path());
  ExchangeItem wrong = picture(8, 8, 0);
  wrong.payload.pop_back();
  EXPECT_EQ(writeExchangeItem(dir.path(), wrong, user), -1);
  EXPECT_EQ(user.messages.back().text, "VemLA間のｺﾋﾟｰ&ﾍﾟｰｽﾄ情報の退避に失敗しました");
  EXPECT_EQ(readBytes(path()), before);
}

TEST_F(ExchangeFile, TrueColourIsConvertedByTheRatiosOrCancelled) {
  ExchangeItem item = picture(8, 8, 1);
  // Pixel 0: blue 10, green 20, red 30.
  item.payload[0] = 10;
  item.payload[1] = 20;
  item.payload[2] = 30;
  ASSERT_EQ(writeExchangeItem(dir.path(), item, user), 0);
  request.convertTo8Bit = true;
  request.trueColourMode = 1;
  request.askRatio = true;
  user.ratioAnswers.push_back(RgbRatio{0.5, 0.5, 0.0});
  ExchangeItem read;
  ASSERT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangePicture);
  EXPECT_EQ(read.colourCode, 0);
  ASSERT_EQ(read.payload.size(), 64u);
  EXPECT_EQ(read.payload[0], 25);  // 30 * 0.5 + 20 * 0.5
  EXPECT_EQ(read.palette, greyRamp());

  user.ratioAnswers.push_back(std::nullopt);
  EXPECT_EQ(readExchangeItem(dir.path(), request, user, read), kExchangeCancelled);
}

}  // namespace
}  // namespace vemla::persist
