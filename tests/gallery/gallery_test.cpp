#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gallery/file_size_limit.h"
#include "gallery/gallery_fixture.h"
#include "gallery/messages.h"
#include "persist/gallery_info.h"
#include "picture/quantize.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {
namespace {

using testing::FileSizeLimit;
using testing::makeBitmap;
using testing::readBytes;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

class Gallery : public testing::GalleryFixture {};

TEST(GallerySlotFiles, AreNamedWithThreeDigitsInTheProgramFolder) {
  EXPECT_EQ(slotFileName(0), "~~VemlaG000.dat");
  EXPECT_EQ(slotFileName(31), "~~VemlaG031.dat");
  EXPECT_EQ(slotFilePath("/p", 7), "/p/~~VemlaG007.dat");
  EXPECT_EQ(slotBackupPath("/p", 3), "/p/~~VemlaG003.bak");
}

TEST(GalleryTitles, FollowTheNameRulesAndFitTheirField) {
  EXPECT_EQ(titleFromPictureName("<Import1>"), "Import1");
  EXPECT_EQ(titleFromPictureName("/data/scans/Left.BMP"), "Left");
  EXPECT_EQ(titleFromFileName("/data/report.txt", false), "report.txt");
  EXPECT_EQ(titleFromFileName("/data/right.raw", true), "right");
  EXPECT_EQ(shownTitle(""), "名無しさん");
  // 70 characters of two CP932 bytes: 64 of them fill the 128 bytes the field keeps.
  std::string long70, cut64;
  for (int i = 0; i < 70; ++i) long70 += "表";
  for (int i = 0; i < 64; ++i) cut64 += "表";
  EXPECT_EQ(fitSlotTitle(long70), cut64);
  EXPECT_EQ(fitSlotTitle("a" + long70), "a" + cut64.substr(0, 63 * 3));
  EXPECT_EQ(titleFromPictureName("<" + long70 + ">"), cut64);
}

TEST(GalleryLists, DescribeEachKindOfSlot) {
  persist::GallerySlot slot;
  EXPECT_EQ(slotListLine(0, slot), "#1  (空き)");
  slot.kind = kSlotPicture;
  slot.width = 640;
  slot.height = 480;
  slot.trueColourCode = 1;
  EXPECT_EQ(slotListLine(2, slot), "#3  (画像) 名無しさん (T 640x480)");
  slot.kind = kSlotOver;
  slot.trueColourCode = 0;
  slot.title = "big";
  EXPECT_EQ(slotListLine(2, slot), "#3  (Over) big (640x480)");
  slot.height = 1;
  EXPECT_EQ(slotListLine(11, slot), "#12 (Over) big (640ﾊﾞｲﾄ)");
  slot.kind = kSlotData;
  slot.width = 10;
  EXPECT_EQ(slotListLine(11, slot), "#12 (ﾃﾞｰﾀ) big (10ﾊﾞｲﾄ)");
}

TEST_F(Gallery, StoresAGreyPictureWithFileRecordThumbnailAndInformationFile) {
  Palette palette{};
  palette[4 * 7 + 2] = 99;
  const Bytes content{0, 1, 2, 3, 4, 5, 6, 7};  // 4 x 2
  SlotPicture picture{content, 4, 2, 1, &palette, "pair"};
  ASSERT_EQ(storePictureInSlot(bench, user, 3, picture), 0);
  EXPECT_EQ(readBytes(slotFile(3)), content);
  EXPECT_EQ(slot(3).kind, kSlotPicture);
  EXPECT_EQ(slot(3).width, 4);
  EXPECT_EQ(slot(3).height, 2);
  EXPECT_EQ(slot(3).trueColourCode, 0);
  EXPECT_EQ(slot(3).palette, palette);
  EXPECT_EQ(slot(3).title, "pair");
  // Wider than high: 256 columns by 2 * 256 / 4 = 128 rows, 64 rows of margin above and below.
  // Area row i shows source row i * 2 / 128, column j source column j * 4 / 256.
  const auto t = thumbnail(3);
  EXPECT_EQ(t[63 * 256 + 10], 0);
  EXPECT_EQ(t[64 * 256 + 0], 0);
  EXPECT_EQ(t[64 * 256 + 64], 1);
  EXPECT_EQ(t[(64 + 63) * 256 + 255], 3);
  EXPECT_EQ(t[(64 + 64) * 256 + 0], 4);
  EXPECT_EQ(t[(64 + 127) * 256 + 255], 7);
  EXPECT_EQ(t[192 * 256 + 255], 0);
  EXPECT_TRUE(user.messages.empty());

  // VemlaGinf.dat already holds the change: record and thumbnail.
  const Bytes file = readBytes(dir.file("VemlaGinf.dat"));
  persist::GalleryInformation saved;
  ASSERT_EQ(persist::decodeGalleryFile(file, saved), persist::LoadStatus::Loaded);
  EXPECT_EQ(saved.slotRecords[3].kind, kSlotPicture);
  EXPECT_EQ(saved.slotRecords[3].title, "pair");
  ASSERT_EQ(file.size(), 38052u + 16 * 65536);
  EXPECT_EQ(file[38052 + 3 * 65536 + (64 + 127) * 256 + 255], 7);
}

TEST_F(Gallery, ThumbnailsOfTallPicturesAreCentredHorizontally) {
  ASSERT_EQ(storeGrey(0, 1, 2, "tall", 50), 0);  // pixels 50, 51
  // 1 * 256 / 2 = 128 columns, 64 columns of margin on each side.
  const auto t = thumbnail(0);
  EXPECT_EQ(t[0 * 256 + 63], 0);
  EXPECT_EQ(t[0 * 256 + 64], 50);
  EXPECT_EQ(t[127 * 256 + 191], 50);
  EXPECT_EQ(t[128 * 256 + 64], 51);
  EXPECT_EQ(t[255 * 256 + 192], 0);
}

TEST_F(Gallery, TrueColourThumbnailMatchesQuantizingTheWholePicture) {
  // 37 x 29 pixels of 4 bytes with every dither threshold in play.
  const int width = 37, height = 29;
  Bytes content(static_cast<std::size_t>(width) * height * 4);
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<std::uint8_t>(i * 37 / 5);
  SlotPicture picture{content, width, height, 4, nullptr, ""};
  ASSERT_EQ(storePictureInSlot(bench, user, 1, picture), 0);
  EXPECT_EQ(slot(1).trueColourCode, 2);
  EXPECT_EQ(slot(1).palette, quantizePalette());
  EXPECT_EQ(readBytes(slotFile(1)), content);
  Bytes whole(static_cast<std::size_t>(width) * height);
  quantizeTrueColour(4, content.data(), width * 4, width, height, whole.data(), width, nullptr);
  // 256 columns, 29 * 256 / 37 = 200 rows, top margin 28.
  const auto t = thumbnail(1);
  for (int i = 0; i < 200; ++i) {
    for (int j = 0; j < 256; ++j) {
      ASSERT_EQ(t[(28 + i) * 256 + j], whole[(i * height / 200) * width + j * width / 256])
          << i << "," << j;
    }
  }
}

TEST_F(Gallery, DataItemsKeepTheirBytesAndClearTheThumbnail) {
  ASSERT_EQ(storeGrey(0, 8, 8, "before", 1), 0);
  const Bytes bytes{'a', 'b', 'c'};
  ASSERT_EQ(storeData(0, bytes, "abc.txt"), 0);
  EXPECT_EQ(slot(0).kind, kSlotData);
  EXPECT_EQ(slot(0).width, 3);
  EXPECT_EQ(slot(0).height, 1);
  EXPECT_EQ(slot(0).title, "abc.txt");
  EXPECT_EQ(readBytes(slotFile(0)), bytes);
  const auto t = thumbnail(0);
  EXPECT_TRUE(std::all_of(t.begin(), t.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(Gallery, KeepsPreviousSlotContentWhenTheSlotFileCannotBeWritten) {
  ASSERT_EQ(storeGrey(2, 8, 8, "kept", 3), 0);
  const Bytes before = readBytes(slotFile(2));
  const persist::GallerySlot record = slot(2);
  bench.gallery.associations[2].handedOver = true;
  {
    const FileSizeLimit limit(1000);
    EXPECT_EQ(storeGrey(2, 100, 100, "lost"), kSlotFailed);
  }
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰの退避に失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(slot(2), record);
  EXPECT_EQ(readBytes(slotFile(2)), before);
  EXPECT_TRUE(bench.gallery.associations[2].handedOver);
}

TEST_F(Gallery, RefusesSlotsOutsideTheGalleryAndDataBeyondTheLimit) {
  EXPECT_EQ(storeGrey(16, 8, 8, "x"), kSlotNotUsable);
  EXPECT_EQ(storeGrey(-1, 8, 8, "x"), kSlotNotUsable);
  const Bytes tooMuch(4 * 1024 * 1024 + 1, 0);
  EXPECT_EQ(storeData(0, tooMuch, "big"), kSlotTooLarge);
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
}

TEST_F(Gallery, StoresFilesByTheirExtension) {
  const std::string scan = dir.file("scan.bmp");
  writeBytes(scan, makeBitmap(8, 9, 8, [](int x, int y) {
               return Bytes{static_cast<std::uint8_t>(x + 10 * y)};
             }));
  ASSERT_EQ(storeFileInSlot(bench, user, 0, scan), 0);
  EXPECT_EQ(slot(0).kind, kSlotPicture);
  EXPECT_EQ(slot(0).title, "scan");
  EXPECT_EQ(slot(0).width, 8);
  EXPECT_EQ(slot(0).height, 9);
  // The bitmap's palette: entry 3 is (3, 252, 1, 0).
  EXPECT_EQ(slot(0).palette[12], 3);
  EXPECT_EQ(slot(0).palette[13], 252);
  EXPECT_EQ(slot(0).palette[14], 1);
  const Bytes stored = readBytes(slotFile(0));
  ASSERT_EQ(stored.size(), 72u);
  EXPECT_EQ(stored[2 * 8 + 5], 25);  // rows top-down

  const std::string colour = dir.file("colour.bmp");
  writeBytes(colour, makeBitmap(8, 8, 24, [](int x, int y) {
               return Bytes{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200};
             }));
  ASSERT_EQ(storeFileInSlot(bench, user, 1, colour), 0);
  EXPECT_EQ(slot(1).trueColourCode, 1);
  const Bytes colourBytes = readBytes(slotFile(1));
  ASSERT_EQ(colourBytes.size(), 8u * 8 * 3);
  EXPECT_THAT(Bytes(colourBytes.begin() + (3 * 8 + 2) * 3, colourBytes.begin() + (3 * 8 + 3) * 3),
              ::testing::ElementsAre(2, 3, 200));

  const std::string notes = dir.file("notes.txt");
  writeBytes(notes, {'h', 'e', 'l', 'l', 'o'});
  ASSERT_EQ(storeFileInSlot(bench, user, 2, notes), 0);
  EXPECT_EQ(slot(2).kind, kSlotData);
  EXPECT_EQ(slot(2).title, "notes.txt");
  EXPECT_EQ(readBytes(slotFile(2)), readBytes(notes));

  const std::string small = dir.file("small.bmp");
  writeBytes(small, makeBitmap(4, 4, 8, [](int, int) { return Bytes{1}; }));
  EXPECT_LT(storeFileInSlot(bench, user, 3, small), 0);
  EXPECT_EQ(slot(3).kind, kSlotEmpty);
  EXPECT_EQ(user.messages.size(), 1u);
}

TEST_F(Gallery, NamesOutsideCp932KeepEveryOtherCharacterAndTheExtensionInTitles) {
  const struct {
    const char* stem;
    const char* title;
  } cases[] = {
      {"café", "caf?"},       {"naïve", "na?ve"},   {"검사_01", "??_01"},
      {"Prüfung", "Pr?fung"}, {"😀 検査", "? 検査"},
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stem);
    const std::string picture = dir.file(std::string(c.stem) + ".bmp");
    writeBytes(picture, makeBitmap(8, 8, 8, [](int, int) { return Bytes{7}; }));
    ASSERT_EQ(storeFileInSlot(bench, user, number, picture), 0);
    EXPECT_EQ(slot(number).title, c.title);
    const std::string data = dir.file(std::string(c.stem) + ".txt");
    writeBytes(data, {'x'});
    ASSERT_EQ(storeFileInSlot(bench, user, number + 1, data), 0);
    EXPECT_EQ(slot(number + 1).title, std::string(c.title) + ".txt");
    number += 2;
  }
  EXPECT_TRUE(user.messages.empty());

  // A typed title follows the same rule and says so.
  ASSERT_EQ(renameSlot(bench, user, 0, "Äpfel 1"), 0);
  EXPECT_EQ(slot(0).title, "?pfel 1");
  EXPECT_EQ(user.onlyMessage(), "保存できない文字を ? に置き換えました");
  user.messages.clear();
  ASSERT_EQ(renameSlot(bench, user, 0, "検査 1"), 0);
  EXPECT_EQ(slot(0).title, "検査 1");
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(Gallery, ClearsOneSlotOrAllAfterAsking) {
  ASSERT_EQ(storeGrey(3, 8, 8, "three"), 0);
  ASSERT_EQ(storeData(4, {1}, "four"), 0);
  user.yesNoAnswers = {false, true};
  EXPECT_FALSE(clearSlot(bench, user, 3));
  EXPECT_EQ(slot(3).kind, kSlotPicture);
  EXPECT_TRUE(clearSlot(bench, user, 3));
  EXPECT_EQ(slot(3).kind, kSlotEmpty);
  EXPECT_EQ(slot(3).title, "three");  // kept, not shown
  EXPECT_THAT(user.questions,
              ::testing::ElementsAre("ｸﾘｱしてもよいですか(#4)", "ｸﾘｱしてもよいですか(#4)"));

  user.yesNoAnswers = {true};
  EXPECT_TRUE(clearAllSlots(bench, user));
  EXPECT_EQ(user.questions.back(), "全てのｷﾞｬﾗﾘｰ情報がｸﾘｱされますがよいですか");
  for (int n = 0; n < 16; ++n) {
    EXPECT_EQ(slot(n).kind, kSlotEmpty);
    EXPECT_EQ(slot(n).title, "");
  }
  persist::GalleryInformation saved;
  ASSERT_EQ(persist::decodeGalleryFile(readBytes(dir.file("VemlaGinf.dat")), saved),
            persist::LoadStatus::Loaded);
  EXPECT_EQ(saved.slotRecords[4].kind, kSlotEmpty);
}

class GalleryToPicture : public testing::GalleryFixture {
 protected:
  void SetUp() override {
    GalleryFixture::SetUp();
    ASSERT_TRUE(bench.store.allocate(1024, 1024));
  }
};

TEST_F(GalleryToPicture, CopiesAPictureSlotWithItsPaletteAndName) {
  ASSERT_EQ(storeGrey(0, 16, 8, "left", 5), 0);
  ASSERT_EQ(copySlotToPicture(bench, user, 0, PictureSlot::Second), 0);
  EXPECT_EQ(bench.pictures.width, 16);
  EXPECT_EQ(bench.pictures.height, 8);
  EXPECT_EQ(bench.pictures.pictures[1].name, "<left>");
  const Bytes expected = pixels(16 * 8, 5);
  EXPECT_EQ(Bytes(bench.store.plane(kPicture2), bench.store.plane(kPicture2) + 128), expected);
}

TEST_F(GalleryToPicture, ConvertsATrueColourSlotAsATrueColourFileIsOpened) {
  // Grey by the ratios without asking: (G * 0.5 + B * 0.25) + R * 0.25 of (40, 80, 120) is 80.
  bench.options.TrueColourOpenMode = kTrueColourGrey;
  bench.options.AskRatioPerFile = false;
  bench.options.GreyRatio = RgbRatio{0.25, 0.5, 0.25};
  Bytes content;
  for (int i = 0; i < 64; ++i) content.insert(content.end(), {40, 80, 120});
  SlotPicture picture{content, 8, 8, 3, nullptr, "rgb"};
  ASSERT_EQ(storePictureInSlot(bench, user, 2, picture), 0);
  ASSERT_EQ(copySlotToPicture(bench, user, 2, PictureSlot::First), 0);
  EXPECT_EQ(bench.store.plane(kPicture1)[63], 80);
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
}

TEST_F(GalleryToPicture, AFailedReadKeepsTheSlot) {
  ASSERT_EQ(storeGrey(0, 8, 8, "gone"), 0);
  std::filesystem::remove(slotFile(0));
  EXPECT_EQ(copySlotToPicture(bench, user, 0, PictureSlot::First), kSlotFailed);
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰの読み込みに失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(slot(0).kind, kSlotPicture);
  EXPECT_FALSE(bench.pictures.picturesPresent);
}

TEST_F(GalleryToPicture, RefusesSizesOutsideTheLimitsAndWhileEditing) {
  ASSERT_EQ(storeGrey(0, 4, 100, "narrow"), 0);
  EXPECT_EQ(copySlotToPicture(bench, user, 0, PictureSlot::First), kSlotAbandoned);
  EXPECT_EQ(user.onlyMessage(), "画像のｻｲｽﾞが 8x8 以上でないとｺﾋﾟｰできません");
  user.messages.clear();
  slot(0).width = 1028;  // as after the maximum was lowered
  EXPECT_EQ(copySlotToPicture(bench, user, 0, PictureSlot::First), kSlotAbandoned);
  EXPECT_EQ(user.onlyMessage(), "画像のｻｲｽﾞが最大ｻｲｽﾞ(1024x1024)を超えています");
  user.messages.clear();
  ASSERT_EQ(storeData(1, {1, 2}, "data"), 0);
  EXPECT_EQ(copySlotToPicture(bench, user, 1, PictureSlot::First), kSlotAbandoned);
  EXPECT_TRUE(user.messages.empty());
  bench.pictures.editing = true;
  EXPECT_EQ(copySlotToPicture(bench, user, 0, PictureSlot::First), kSlotAbandoned);
  EXPECT_EQ(user.onlyMessage(), "画像の編集中はこの機能が使用できません");
}

}  // namespace
}  // namespace vemla
