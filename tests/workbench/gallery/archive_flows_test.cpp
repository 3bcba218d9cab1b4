#include "workbench/gallery/archive_flows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

#include "gallery/archive_bytes.h"
#include "gallery/file_size_limit.h"
#include "gallery/gallery_fixture.h"
#include "picture/quantize.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/state_memory.h"

namespace vemla {
namespace {

using testing::ArchiveBuilder;
using ::testing::ElementsAre;
using testing::FileSizeLimit;
using ::testing::HasSubstr;
using testing::RawRecord;
using testing::readBytes;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

std::vector<int> kinds(const std::vector<ArchiveItemInfo>& items) {
  std::vector<int> out;
  for (const ArchiveItemInfo& item : items) out.push_back(item.kind);
  return out;
}

class ArchiveFlows : public testing::GalleryFixture {
 protected:
  int save(SaveSlotsRequest request) {
    return saveSlotsToArchive(bench, user, progress, progress, request);
  }
  int expand(ExpandRequest request) {
    return expandArchiveItems(bench, user, progress, progress, request);
  }
  // Appends items to `path` (created first) with the archive functions.
  void makeArchive(const std::string& path,
                   const std::vector<std::pair<ArchiveItemInfo, Bytes>>& items) {
    ASSERT_EQ(createArchive(path), 0);
    for (const auto& [item, content] : items) {
      Bytes work(content.size() + 1024);
      ASSERT_GT(appendArchiveItem(path, item, content, work), 0);
    }
  }
  static ArchiveItemInfo pictureItem(int width, int height, const std::string& title,
                                     int bytesPerPixel = 1) {
    ArchiveItemInfo item;
    item.kind = kSlotPicture;
    item.width = width;
    item.height = height;
    item.bytesPerPixel = bytesPerPixel;
    item.title = title;
    return item;
  }
  static ArchiveItemInfo dataItem(int bytes, const std::string& title) {
    ArchiveItemInfo item;
    item.kind = kSlotData;
    item.width = bytes;
    item.height = 1;
    item.title = title;
    return item;
  }
  std::vector<ArchiveItemInfo> directory(const std::string& path) {
    std::vector<ArchiveItemInfo> items;
    EXPECT_GE(readArchiveDirectory(path, items), 0);
    return items;
  }
  Bytes itemContent(const std::string& path, int number) {
    ArchiveItemRead read;
    Bytes content(1 << 20), work(1 << 20);
    EXPECT_EQ(readArchiveItem(path, number, read, content, work), 0);
    content.resize(static_cast<std::size_t>(read.info.contentBytes()));
    return content;
  }
  std::string archive = dir.file("saved.vla");
};

TEST_F(ArchiveFlows, SavesEveryKindOfSlotAndSkipsOverWithAWarning) {
  ASSERT_EQ(storeGrey(0, 16, 8, "first", 3), 0);
  ASSERT_EQ(storeData(2, {1, 2, 3, 4}, "four.bin"), 0);
  ASSERT_EQ(storeGrey(3, 8, 8, "too big"), 0);
  slot(3).kind = kSlotOver;
  const Bytes rgb = pixels(8 * 8 * 3, 11);
  ASSERT_EQ(storePictureInSlot(bench, user, 4, SlotPicture{rgb, 8, 8, 3, nullptr, "colour"}), 0);

  SaveSlotsRequest request;
  request.path = archive;
  request.chosenSlots = {4, 3, 2, 1,
                         0};  // saved in ascending slot order whatever the selection order
  ASSERT_EQ(save(request), 4);
  const auto items = directory(archive);
  EXPECT_THAT(kinds(items), ElementsAre(kSlotPicture, kSlotEmpty, kSlotData, kSlotPicture));
  EXPECT_EQ(items[0].title, "first");
  EXPECT_EQ(items[3].bytesPerPixel, 3);
  EXPECT_EQ(itemContent(archive, 1), pixels(128, 3));
  EXPECT_EQ(itemContent(archive, 3), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(itemContent(archive, 4), rgb);
  EXPECT_EQ(user.onlyMessage(), "（警告）ｻｲｽﾞが許容範囲外の情報は保存されていません");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_THAT(progress.events,
              ElementsAre("busy", "text:ｷﾞｬﾗﾘｰの保存中・・・", "start:5", "report:1", "report:2",
                          "report:3", "report:4", "report:5", "finish", "idle"));
  // Only the archive is left in its folder besides the gallery's own files.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().rfind("$V", 0), std::string::npos);
  }
}

TEST_F(ArchiveFlows, NoSelectionSavesEverySlotAndEmptySlotsCanBeLeftOut) {
  ASSERT_EQ(storeGrey(5, 8, 8, "five"), 0);
  SaveSlotsRequest request;
  request.path = archive;
  ASSERT_EQ(save(request), 16);
  request.skipEmpty = true;
  ASSERT_EQ(save(request), 1);
  EXPECT_EQ(directory(archive)[0].title, "five");
}

TEST_F(ArchiveFlows, ParallelCompressionWritesTheSameBytesAsOneThread) {
  for (int n = 0; n < 12; ++n) {
    if (n % 5 == 4) {
      ASSERT_EQ(storeData(n, pixels(3000 + n, n, 7), "data" + std::to_string(n)), 0);
    } else {
      ASSERT_EQ(storeGrey(n, 64 + 8 * n, 40, "p" + std::to_string(n), n), 0);
    }
  }
  SaveSlotsRequest request;
  request.path = dir.file("one.vla");
  request.threads = 1;
  ASSERT_EQ(save(request), 16);
  request.path = dir.file("two.vla");
  request.threads = 2;
  ASSERT_EQ(save(request), 16);
  request.path = dir.file("four.vla");
  request.threads = 4;
  ASSERT_EQ(save(request), 16);
  const Bytes one = readBytes(dir.file("one.vla"));
  EXPECT_EQ(readBytes(dir.file("two.vla")), one);
  EXPECT_EQ(readBytes(dir.file("four.vla")), one);
}

TEST_F(ArchiveFlows, AppendsAfterTheItemsAlreadyThere) {
  makeArchive(archive, {{dataItem(2, "old"), {7, 7}}});
  ASSERT_EQ(storeGrey(0, 8, 8, "new"), 0);
  SaveSlotsRequest request;
  request.path = archive;
  request.chosenSlots = {0};
  request.append = true;
  ASSERT_EQ(save(request), 2);
  const auto items = directory(archive);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].title, "old");
  EXPECT_EQ(items[1].title, "new");
}

TEST_F(ArchiveFlows, AnExistingFileWhoseDirectoryCannotBeReadIsLeftAlone) {
  const Bytes junk{'n', 'o', 't', ' ', 'v', 'l', 'a'};
  writeBytes(archive, junk);
  ASSERT_EQ(storeGrey(0, 8, 8, "x"), 0);
  SaveSlotsRequest request;
  request.path = archive;
  request.append = true;
  EXPECT_EQ(save(request), kArchiveNotArchive);  // as a long file without the magic
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰの退避に失敗しました(-3)");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(readBytes(archive), junk);
}

TEST_F(ArchiveFlows, ANewArchiveReplacesTheOldFileOnlyWhenComplete) {
  makeArchive(archive, {{dataItem(2, "old"), {7, 7}}});
  const Bytes before = readBytes(archive);
  ASSERT_EQ(storeGrey(0, 8, 8, "ok"), 0);
  ASSERT_EQ(storeGrey(1, 8, 8, "file gone"), 0);
  std::filesystem::remove(slotFile(1));
  SaveSlotsRequest request;
  request.path = archive;
  EXPECT_EQ(save(request), kSlotFailed);
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰの退避に失敗しました(-1)");
  EXPECT_EQ(readBytes(archive), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().rfind("$V", 0), std::string::npos);
  }
}

TEST_F(ArchiveFlows, AFullArchiveKeepsWhatFitAndWarnsWith256) {
  ASSERT_EQ(createArchive(archive), 0);
  for (int i = 0; i < 255; ++i) ASSERT_GT(appendArchiveItem(archive, ArchiveItemInfo{}, {}, {}), 0);
  ASSERT_EQ(storeGrey(0, 8, 8, "fits"), 0);
  ASSERT_EQ(storeGrey(1, 8, 8, "does not"), 0);
  SaveSlotsRequest request;
  request.path = archive;
  request.chosenSlots = {0, 1};
  request.append = true;
  EXPECT_EQ(save(request), kArchiveFull);
  EXPECT_EQ(user.onlyMessage(),
            "（警告）VLAﾌｧｲﾙの管理情報上限数(256)を超えたので全てが保存されていません\n");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  const auto items = directory(archive);
  ASSERT_EQ(items.size(), 256u);
  EXPECT_EQ(items[255].title, "fits");
}

TEST_F(ArchiveFlows, ExpandingTenItemsFromSlot13FillsTheLastFourAndWarns) {
  std::vector<std::pair<ArchiveItemInfo, Bytes>> items;
  for (int i = 1; i <= 10; ++i)
    items.push_back(
        {dataItem(i, "item" + std::to_string(i)), Bytes(i, static_cast<std::uint8_t>(i))});
  makeArchive(archive, items);
  ASSERT_EQ(storeGrey(11, 8, 8, "untouched"), 0);
  ExpandRequest request;
  request.path = archive;
  request.startSlot = 12;
  ASSERT_EQ(expand(request), 0);
  EXPECT_EQ(slot(11).title, "untouched");
  for (int n = 12; n < 16; ++n) {
    EXPECT_EQ(slot(n).kind, kSlotData);
    EXPECT_EQ(slot(n).title, "item" + std::to_string(n - 11));
    EXPECT_EQ(readBytes(slotFile(n)), Bytes(n - 11, static_cast<std::uint8_t>(n - 11)));
  }
  EXPECT_EQ(user.onlyMessage(), "（警告）ｷﾞｬﾗﾘｰの最大数に達したため全ては展開されていません\n");
  EXPECT_EQ(bench.settings.gallery->info.header.firstShownSlot, 12);
  // Progress counted the five items looked at (the fifth found no slot).
  EXPECT_THAT(progress.events,
              ElementsAre("busy", "text:ｷﾞｬﾗﾘｰへの展開中・・・", "start:10", "report:1", "report:2",
                          "report:3", "report:4", "finish", "idle"));
}

TEST_F(ArchiveFlows, ExpandSkipsOversizedItemsAndEmptiesSlotsForEmptyItems) {
  const Bytes bigPicture = pixels(16 * 16, 9);
  makeArchive(archive, {{pictureItem(4, 4, "tiny"), pixels(16)},
                        {ArchiveItemInfo{}, {}},
                        {dataItem(1, "x"), {42}},
                        {pictureItem(16, 16, "big"), bigPicture}});
  ASSERT_EQ(storeGrey(0, 8, 8, "emptied"), 0);
  ExpandRequest request;
  request.path = archive;
  request.skipEmpty = false;
  ASSERT_EQ(expand(request), 0);
  EXPECT_EQ(slot(0).kind, kSlotEmpty);  // the empty item, not the 4 x 4 picture
  EXPECT_EQ(slot(1).kind, kSlotData);
  EXPECT_EQ(slot(2).kind, kSlotPicture);
  EXPECT_EQ(slot(2).title, "big");
  EXPECT_EQ(readBytes(slotFile(2)), bigPicture);
  EXPECT_EQ(thumbnail(2)[0], bigPicture[0]);
  EXPECT_EQ(user.onlyMessage(), "（警告）ｻｲｽﾞが許容範囲外の情報は展開されていません");

  user.messages.clear();
  request.skipEmpty = true;
  request.numbers = {3, 2};
  request.startSlot = 6;
  ASSERT_EQ(expand(request), 0);
  EXPECT_EQ(slot(6).title, "x");
  EXPECT_EQ(slot(7).kind, kSlotEmpty);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.settings.gallery->info.header.firstShownSlot, 4);
}

TEST_F(ArchiveFlows, ListLinesOpenForViewingOrAsDataAndRefuseWhatCannotBeShown) {
  bench.options.MaxPictureWidth = 16;
  const Bytes colour = pixels(4 * 2 * 3, 7);
  makeArchive(archive, {{pictureItem(4, 2, "tiny", 3), colour},
                        {dataItem(3, "dir/notes.txt"), {1, 2, 3}},
                        {dataItem(1, "bad|name.txt"), {1}},
                        {pictureItem(32, 8, "wide"), pixels(32 * 8, 1)},
                        {ArchiveItemInfo{}, {}}});
  std::optional<ArchiveItemOpening> opened = openArchiveItem(bench, user, archive, 1);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->info.bytesPerPixel, 3);
  EXPECT_EQ(Bytes(opened->content.span().begin(), opened->content.span().end()), colour);
  opened = openArchiveItem(bench, user, archive, 2);
  ASSERT_TRUE(opened && opened->data);
  EXPECT_EQ(std::filesystem::path(opened->data->path).filename(), "notes.txt");
  EXPECT_EQ(readBytes(opened->data->path), (Bytes{1, 2, 3}));
  EXPECT_TRUE(user.messages.empty());

  EXPECT_FALSE(openArchiveItem(bench, user, archive, 5));  // empty: nothing, silently
  EXPECT_TRUE(user.messages.empty());
  EXPECT_FALSE(openArchiveItem(bench, user, archive, 3));
  EXPECT_EQ(user.onlyMessage(), "拡張子またはﾌｧｲﾙ名に矛盾があるため開けません");
  user.messages.clear();
  EXPECT_FALSE(openArchiveItem(bench, user, archive, 4));
  EXPECT_THAT(user.onlyMessage(), HasSubstr("表示可能な上限を超えています"));
  user.messages.clear();
  EXPECT_FALSE(openArchiveItem(bench, user, archive, 9));
  EXPECT_EQ(user.onlyMessage(), "VemLAﾌｧｲﾙから画像情報の読み込みに失敗しました");
}

TEST_F(ArchiveFlows, ExpandChangesNothingWhenTheListIsStale) {
  makeArchive(archive, {{dataItem(1, "x"), {1}}});
  ExpandRequest request;
  request.path = archive;
  request.expectedCount = 2;
  EXPECT_EQ(expand(request), kSlotAbandoned);
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(ArchiveFlows, HostileArchivesAreRefusedWithoutChangingTheGallery) {
  ASSERT_EQ(storeGrey(0, 8, 8, "keep0"), 0);
  ASSERT_EQ(storeGrey(1, 8, 8, "keep1"), 0);
  ExpandRequest request;
  request.path = archive;

  writeBytes(archive, ArchiveBuilder().count(257).bytes());
  EXPECT_EQ(expand(request), kArchiveNotArchive);
  EXPECT_EQ(user.onlyMessage(), "VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);

  // Item 1 is whole, item 2 is a stream cut in half: slot 0 takes item 1, slot 1 stays.
  user.messages.clear();
  const Bytes stream = testing::bzip2(Bytes(500, 'z'));
  RawRecord cut{2, 500, 1, 1};
  cut.compressedFlag = 1;
  cut.storedLength = static_cast<std::int32_t>(stream.size() / 2);
  Bytes item = cut.bytes();
  item.insert(item.end(), stream.begin(), stream.begin() + static_cast<long>(stream.size() / 2));
  writeBytes(archive,
             ArchiveBuilder().plain(RawRecord{2, 2, 1, 1, "whole"}, {5, 6}).item(item).bytes());
  EXPECT_EQ(expand(request), kArchiveDecompressFailed);
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰの展開に失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(slot(0).title, "whole");
  EXPECT_EQ(slot(1).title, "keep1");
  EXPECT_EQ(slot(1).kind, kSlotPicture);
}

TEST_F(ArchiveFlows, ASlotThatCannotBeWrittenKeepsItsContentAndEndsTheExpansion) {
  makeArchive(archive, {{dataItem(5000, "large"), Bytes(5000, 3)}, {dataItem(1, "next"), {1}}});
  ASSERT_EQ(storeGrey(0, 8, 8, "kept"), 0);
  const Bytes before = readBytes(slotFile(0));
  ExpandRequest request;
  request.path = archive;
  {
    const FileSizeLimit limit(4000);
    EXPECT_EQ(expand(request), kSlotFailed);
  }
  EXPECT_EQ(slot(0).title, "kept");
  EXPECT_EQ(readBytes(slotFile(0)), before);
  EXPECT_EQ(slot(1).kind, kSlotEmpty);
  EXPECT_EQ(user.messages.front().text, "ｷﾞｬﾗﾘｰの展開に失敗しました");
}

TEST(ArchiveListLines, FollowTheLimits) {
  const SlotLimits limits{1024, 1024};
  ArchiveItemInfo item;
  EXPECT_EQ(archiveListLine(1, item, limits), "#1  (空き)");
  item.kind = kSlotPicture;
  item.width = 640;
  item.height = 480;
  item.bytesPerPixel = 4;
  item.title = "shot";
  EXPECT_EQ(archiveListLine(2, item, limits), "#2  (画像) shot (T 640x480)");
  item.width = 4;
  item.height = 4;
  item.bytesPerPixel = 1;
  EXPECT_EQ(archiveListLine(3, item, limits), "#3  (Over) shot (4x4)");
  item.kind = kSlotData;
  item.width = 4 * 1024 * 1024;
  item.title = "";
  EXPECT_EQ(archiveListLine(10, item, limits), "#10 (ﾃﾞｰﾀ) 名無しさん (4194304ﾊﾞｲﾄ)");
  item.width += 1;
  EXPECT_EQ(archiveListLine(100, item, limits), "#100 (Over) 名無しさん (4194305ﾊﾞｲﾄ)");
}

// The selection dialog of the tests: answers from a script and records what it was shown.
class ScriptedDialog : public ArchiveOpenDialog {
 public:
  std::deque<std::optional<ArchiveOpenChoice>> answers;
  std::vector<ArchiveOpenChoice> shown;
  std::optional<ArchiveOpenChoice> chooseArchiveItems(const ArchiveOpenChoice& initial) override {
    shown.push_back(initial);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class OpenArchive : public ArchiveFlows {
 protected:
  void SetUp() override {
    ArchiveFlows::SetUp();
    ASSERT_TRUE(bench.store.allocate(1024, 1024));
    bench.options.ArchiveSelectOnDrop = false;
  }
  int open(bool pathKnown = true) {
    return openArchiveAsPictures(bench, user, progress, progress, dialog, archive, pathKnown);
  }
  Bytes picture(int plane, std::size_t bytes) const {
    return Bytes(bench.store.plane(plane), bench.store.plane(plane) + bytes);
  }
  ScriptedDialog dialog;
};

TEST_F(OpenArchive, OpensTheOptionsNumbersAsPicturesAndExpandsEverything) {
  ArchiveItemInfo left = pictureItem(16, 8, "left");
  left.hasPalette = true;
  left.palette[5] = 77;
  makeArchive(archive, {{left, pixels(128, 1)},
                        {pictureItem(16, 8, ""), pixels(128, 2)},
                        {dataItem(3, "d"), {1, 2, 3}}});
  ASSERT_EQ(open(), 0);
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_EQ(bench.pictures.width, 16);
  EXPECT_EQ(bench.pictures.pictures[0].name, "<left>");
  EXPECT_EQ(bench.pictures.pictures[1].name, "<名無しさん>");
  EXPECT_EQ(bench.pictures.pictures[0].palette[5], 77);
  EXPECT_EQ(picture(kPicture1, 128), pixels(128, 1));
  EXPECT_EQ(picture(kPicture2, 128), pixels(128, 2));
  EXPECT_EQ(slot(0).title, "left");
  EXPECT_EQ(slot(2).kind, kSlotData);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(OpenArchive, InconsistentOptionNumbersAskWhetherToChooseAgain) {
  makeArchive(archive, {{pictureItem(16, 8, "only"), pixels(128)}});
  const std::string question =
      "指定されている画像番号に矛盾があるため画像は展開されません\n  "
      "※指定された番号の情報が存在しない\n"
      "「ｵﾌﾟｼｮﾝ情報-ﾌｧｲﾙ関連-VemLAﾌｧｲﾙ情報」を確認して下さい\n\n"
      "　　　　　　開く画像を選択し直しますか？";
  // Cancel: nothing at all.
  user.yesNoCancelAnswers = {Answer::Cancel};
  EXPECT_EQ(open(), kSlotAbandoned);
  EXPECT_THAT(user.questions, ElementsAre(question));
  EXPECT_FALSE(bench.pictures.picturesPresent);
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
  // No: no pictures, but the expansion goes on.
  user.yesNoCancelAnswers = {Answer::No};
  EXPECT_EQ(open(), 0);
  EXPECT_FALSE(bench.pictures.picturesPresent);
  EXPECT_EQ(slot(0).title, "only");
  // Yes: the dialog chooses; it starts from the options' choice.
  ArchiveOpenChoice chosen;
  chosen.path = archive;
  takePictureSelection({1}, chosen);
  chosen.itemCount = 1;
  dialog.answers = {chosen};
  user.yesNoCancelAnswers = {Answer::Yes};
  EXPECT_EQ(open(), 0);
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].picture1, 1);
  EXPECT_EQ(dialog.shown[0].picture2, 2);
  EXPECT_TRUE(bench.pictures.picturesPresent);
  EXPECT_EQ(bench.pictures.pictures[0].name, "<only>");
}

TEST_F(OpenArchive, NamesTheFirstInconsistencyInTheOrderOfTheChecks) {
  makeArchive(archive, {{dataItem(2, "data"), {1, 2}},
                        {pictureItem(16, 8, "a"), pixels(128)},
                        {pictureItem(8, 16, "b"), pixels(128)},
                        {pictureItem(4, 4, "c"), pixels(16)}});
  auto reason = [&](int first, int second) {
    bench.options.ArchivePicture1Number = first - 1;
    bench.options.ArchivePicture2Number = second - 1;
    bench.options.ArchiveExpandToGallery = false;
    user.questions.clear();
    user.yesNoCancelAnswers = {Answer::Cancel};
    open();
    return user.questions.empty() ? std::string() : user.questions[0];
  };
  EXPECT_THAT(reason(1, 2), HasSubstr("※番号１の情報が画像でない\n"));
  EXPECT_THAT(reason(4, 2), HasSubstr("※番号１のｻｲｽﾞが許容範囲を超えた\n"));
  EXPECT_THAT(reason(2, 1), HasSubstr("※番号２の情報が画像でない\n"));
  EXPECT_THAT(reason(2, 4), HasSubstr("※番号２のｻｲｽﾞが許容範囲を超えた\n"));
  EXPECT_THAT(reason(2, 3), HasSubstr("※番号１と番号２のｻｲｽﾞが異なる\n"));
  EXPECT_EQ(reason(2, 2), "");  // the same picture twice is consistent
}

TEST_F(OpenArchive, TheDialogIsAskedAgainAfterABadChoice) {
  makeArchive(archive, {{pictureItem(16, 8, "a"), pixels(128)},
                        {pictureItem(8, 16, "b"), pixels(128)},
                        {dataItem(1, "d"), {1}}});
  ArchiveOpenChoice differ;
  differ.path = archive;
  takePictureSelection({2, 1, 3}, differ);  // 1 and 2; the third is ignored
  EXPECT_EQ(differ.picture1, 1);
  EXPECT_EQ(differ.picture2, 2);
  ArchiveOpenChoice data = differ;
  takePictureSelection({3}, data);
  dialog.answers = {differ, data};
  EXPECT_EQ(open(false), kSlotAbandoned);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "指定された２つの画像情報のサイズが異なります");
  EXPECT_EQ(user.messages[1].text, "指定された情報が画像情報ではありません");
  EXPECT_EQ(dialog.shown.size(), 3u);
  EXPECT_FALSE(bench.pictures.picturesPresent);
  EXPECT_EQ(bench.gallery.lastOpenChoice, data);
}

TEST_F(OpenArchive, ATrueColourItemIsQuantizedAsATrueColourFileWouldBe) {
  Bytes colour;
  for (int i = 0; i < 64; ++i) colour.insert(colour.end(), {0, 0, 255, 0});
  makeArchive(archive, {{pictureItem(8, 8, "red", 4), colour}});
  bench.options.ArchiveOpenPicture2 = false;
  ASSERT_EQ(open(), 0);
  EXPECT_EQ(bench.pictures.pictures[0].palette, quantizePalette());
  EXPECT_EQ(picture(kPicture1, 64), Bytes(64, 5));  // pure red is index 5 at every threshold
}

// One item of another size: the kept Picture 2 would be read at the wrong row length, so it
// is cleared; the valid rectangle follows the new size as after a file open.
TEST_F(OpenArchive, OneItemOfAnotherSizeClearsTheKeptPictureAndResetsTheValidRectangle) {
  makeArchive(archive, {{pictureItem(16, 8, "a"), pixels(128, 1)},
                        {pictureItem(16, 8, "b"), pixels(128, 2)}});
  bench.options.ArchiveExpandToGallery = false;
  ASSERT_EQ(open(), 0);
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 15, 7}));

  makeArchive(archive, {{pictureItem(8, 8, "small"), pixels(64, 3)}});
  bench.options.ArchiveOpenPicture2 = false;
  ASSERT_EQ(open(), 0);
  EXPECT_EQ(bench.pictures.width, 8);
  EXPECT_EQ(picture(kPicture1, 64), pixels(64, 3));
  EXPECT_EQ(picture(kPicture2, 64), Bytes(64, 0));
  EXPECT_EQ(bench.pictures.pictures[1].name, "");
  EXPECT_EQ(bench.pictures.pictures[1].palette, greyRamp());
  EXPECT_EQ(bench.titles.pane[1], "画像２");
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 7, 7}));
}

TEST_F(OpenArchive, ANonArchiveIsRefusedBeforeAnythingChanges) {
  Bytes bitmapLike(2000, 0);
  bitmapLike[0] = 'B';
  bitmapLike[1] = 'M';
  writeBytes(archive, bitmapLike);
  EXPECT_EQ(open(), kArchiveNotArchive);
  EXPECT_EQ(user.onlyMessage(), "VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません");
  EXPECT_FALSE(bench.pictures.picturesPresent);
}

// In English the untitled word is shown translated, in list lines and messages alike, but a
// picture opened from an untitled item keeps the word as it stands in its name, and so does the
// slot title made from that name.
TEST_F(OpenArchive, InEnglishTheUntitledWordIsShownTranslatedButStoredAsItStands) {
  ASSERT_TRUE(text::useLanguage(text::Language::English, VEMLA_CATALOGUE));
  struct Japanese {
    ~Japanese() { text::useLanguage(text::Language::Japanese, {}); }
  } restore;
  makeArchive(archive, {{pictureItem(16, 8, "left"), pixels(128, 1)},
                        {pictureItem(16, 8, ""), pixels(128, 2)}});
  EXPECT_EQ(archiveListLine(2, directory(archive)[1], slotLimits(bench.options)),
            "#2  (Picture) (untitled) (16x8)");
  ASSERT_EQ(open(), 0);
  EXPECT_EQ(bench.pictures.pictures[1].name, "<名無しさん>");
  ASSERT_EQ(storeWorkbenchPictureInSlot(bench, user, 5, PictureSlot::Second), 0);
  EXPECT_EQ(slot(5).title, "名無しさん");
  EXPECT_EQ(slotListLine(1, slot(1), true), "#2  (Picture) (untitled) (16x8)");
  EXPECT_EQ(slotListLine(1, slot(1)), "#2  (画像) 名無しさん (16x8)");  // vemla-cli's fixed form

  writeBytes(archive, Bytes(2000, 0));
  EXPECT_EQ(open(), kArchiveNotArchive);
  EXPECT_EQ(user.onlyMessage(), "Not a VLA file");
}

// While the picture edit dialog is open nothing may replace the picture it edits (its
// "ｷｬﾝｾﾙ" would write the snapshot back at the wrong row length): every path that sets the
// pictures is refused with its message and changes neither the pictures nor the gallery.
TEST_F(OpenArchive, NothingReplacesThePicturesWhileOneIsEdited) {
  makeArchive(archive, {{pictureItem(16, 8, "a"), pixels(128, 1)},
                        {pictureItem(16, 8, "b"), pixels(128, 2)}});
  const Bytes mine = pixels(64, 9);
  MemoryPictures current;
  current.width = current.height = 8;
  current.pixels = {mine.data(), mine.data()};
  ASSERT_EQ(setPicturesFromMemory(bench, user, current), 0);
  const std::string vic = dir.file("other.vic");
  ASSERT_TRUE(saveState(bench, vic));
  bench.pictures.editing = true;

  MemoryPictures other = current;
  other.width = 16;
  const Bytes wide = pixels(128, 3);
  other.pixels = {wide.data(), nullptr};
  struct Case {
    const char* path;
    std::function<bool()> refused;
    const char* message;
  };
  const Case cases[] = {
      {"archive dropped or pasted", [&] { return open(true) == kSlotFailed; }, "画像の編集中です"},
      {"archive from the menu", [&] { return open(false) == kSlotFailed; }, "画像の編集中です"},
      {"gallery, archive or network pictures",
       [&] { return setPicturesFromMemory(bench, user, other) == -1; }, "画像の編集中です"},
      {"state restore", [&] { return !restoreStateNamed(bench, user, vic); },
       "画像の編集中はこの機能が使用できません"},
  };
  for (const Case& c : cases) {
    user.messages.clear();
    EXPECT_TRUE(c.refused()) << c.path;
    EXPECT_EQ(user.onlyMessage(), c.message) << c.path;
    EXPECT_EQ(bench.pictures.width, 8) << c.path;
    EXPECT_EQ(picture(kPicture1, 64), mine) << c.path;
    EXPECT_EQ(slot(0).kind, kSlotEmpty) << c.path;
  }
  EXPECT_TRUE(dialog.shown.empty());
}

}  // namespace
}  // namespace vemla
