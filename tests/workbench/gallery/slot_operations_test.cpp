// Operations between slots and on a slot's content, in a temporary program folder: nothing a
// failure interrupts may lose a slot's content.
#include "workbench/gallery/slot_operations.h"

#include <gtest/gtest.h>

#include "gallery/gallery.h"
#include "gallery/gallery_fixture.h"
#include "gallery/messages.h"
#include "persist/gallery_info.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::readBytes;

class SlotOperations : public testing::GalleryFixture {
 protected:
  // Slot 0: grey 8 x 8 "a" (seed 1); slot 1: grey 8 x 8 "b" (seed 2); slot 2 empty.
  void fill() {
    ASSERT_EQ(storeGrey(0, 8, 8, "a", 1), 0);
    ASSERT_EQ(storeGrey(1, 8, 8, "b", 2), 0);
  }
  std::vector<std::uint8_t> content(int slot) { return readBytes(slotFile(slot)); }
};

TEST_F(SlotOperations, CopyMoveAndSwapCarryRecordsFilesAndThumbnails) {
  fill();
  const auto a = content(0), b = content(1);
  const std::vector<std::uint8_t> thumbnailA(thumbnail(0).begin(), thumbnail(0).end());

  ASSERT_EQ(transferSlot(bench, user, 0, 2, SlotTransfer::Copy), 0);
  EXPECT_EQ(slot(2).title, "a");
  EXPECT_EQ(content(2), a);
  EXPECT_TRUE(std::equal(thumbnailA.begin(), thumbnailA.end(), thumbnail(2).begin()));

  ASSERT_EQ(transferSlot(bench, user, 2, 3, SlotTransfer::Move), 0);
  EXPECT_EQ(slot(2).kind, kSlotEmpty);
  EXPECT_EQ(slot(3).title, "a");
  EXPECT_EQ(content(3), a);
  EXPECT_FALSE(fileExists(slotFile(2)));

  // Two full slots pass through the spare file 033 and leave none behind.
  ASSERT_EQ(transferSlot(bench, user, 0, 1, SlotTransfer::Swap), 0);
  EXPECT_EQ(slot(0).title, "b");
  EXPECT_EQ(slot(1).title, "a");
  EXPECT_EQ(content(0), b);
  EXPECT_EQ(content(1), a);
  EXPECT_FALSE(fileExists(slotFilePath(dir.path(), 33)));
  // With an empty slot: one rename.
  ASSERT_EQ(transferSlot(bench, user, 2, 1, SlotTransfer::Swap), 0);
  EXPECT_EQ(slot(1).kind, kSlotEmpty);
  EXPECT_EQ(content(2), a);
  EXPECT_EQ(transferSlot(bench, user, 1, 5, SlotTransfer::Copy), kSlotAbandoned);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(SlotOperations, AFailedRenameAtAnyStepKeepsBothSlots) {
  fill();
  const auto a = content(0), b = content(1);
  for (int failing = 0; failing < 3; ++failing) {
    int call = 0;
    const FileRename failAt = [&](const std::string& from, const std::string& to) {
      return call++ != failing && renameFile(from, to);
    };
    EXPECT_EQ(transferSlot(bench, user, 0, 1, SlotTransfer::Swap, failAt), kSlotFailed);
    EXPECT_EQ(slot(0).title, "a") << failing;
    EXPECT_EQ(slot(1).title, "b") << failing;
    EXPECT_EQ(content(0), a) << failing;
    EXPECT_EQ(content(1), b) << failing;
    EXPECT_FALSE(fileExists(slotFilePath(dir.path(), 33))) << failing;
  }
  const FileRename never = [](const std::string&, const std::string&) { return false; };
  EXPECT_EQ(transferSlot(bench, user, 0, 1, SlotTransfer::Move, never), kSlotFailed);
  EXPECT_EQ(slot(0).title, "a");
  EXPECT_EQ(content(1), b);
  // A copy that cannot write keeps the target's record and file.
  ASSERT_TRUE(std::filesystem::create_directory(slotFile(2)));
  EXPECT_EQ(transferSlot(bench, user, 0, 2, SlotTransfer::Copy), kSlotFailed);
  EXPECT_EQ(slot(2).kind, kSlotEmpty);
  EXPECT_EQ(user.messages.back().text, msg::kTransferFailed);
}

// A kill may come between any rename of a swap (or move) and the write of the records: at
// every such moment the records on disk must not name the slots' old content.
TEST_F(SlotOperations, RecordsOnDiskNeverNameContentWhileFilesMove) {
  fill();
  ASSERT_EQ(storeGrey(2, 8, 8, "c", 3), 0);
  const auto kindsOnDisk = [&](int first, int second) {
    persist::GalleryInformation onDisk;
    bool keepBad = false;
    EXPECT_EQ(persist::loadGalleryInformation(dir.path(), onDisk, user, false, keepBad),
              persist::LoadStatus::Loaded);
    return std::pair(onDisk.slotRecords[static_cast<std::size_t>(first)].kind,
                     onDisk.slotRecords[static_cast<std::size_t>(second)].kind);
  };
  struct Case {
    int source, target;
    SlotTransfer mode;
  };
  for (const Case& c : {Case{0, 1, SlotTransfer::Swap}, Case{2, 1, SlotTransfer::Move}}) {
    int renames = 0;
    const FileRename watch = [&](const std::string& from, const std::string& to) {
      ++renames;
      EXPECT_EQ(kindsOnDisk(c.source, c.target), std::pair(0, 0)) << c.source;
      return renameFile(from, to);
    };
    ASSERT_EQ(transferSlot(bench, user, c.source, c.target, c.mode, watch), 0);
    EXPECT_GT(renames, 0);
  }
  // Afterwards the records are back on disk, with the moved content.
  EXPECT_EQ(kindsOnDisk(0, 1), std::pair(1, 1));
  EXPECT_EQ(slot(1).title, "c");
}

// A typed title keeps its first 126 characters; the field's 128 bytes never decide alone.
TEST_F(SlotOperations, RenamingKeepsAtMost126Characters) {
  fill();
  struct Case {
    std::string typed, kept;
  };
  const std::string ascii126(126, 'x');
  for (const Case& c :
       {Case{std::string(200, 'x'), ascii126}, Case{ascii126, ascii126}, Case{"短い", "短い"}}) {
    ASSERT_EQ(renameSlot(bench, user, 0, c.typed), 0);
    EXPECT_EQ(slot(0).title, c.kept) << c.typed.size();
  }
}

TEST_F(SlotOperations, RgbCombineInterleavesBlueGreenRed) {
  // 2 x 1 grey slots: red (10, 11), green (20, 21), blue (30, 31).
  for (const auto& [number, values] :
       {std::pair{0, std::vector<std::uint8_t>{10, 11}}, {1, {20, 21}}, {2, {30, 31}}}) {
    SlotPicture picture;
    picture.pixels = values;
    picture.width = 2;
    picture.height = 1;
    ASSERT_EQ(storePictureInSlot(bench, user, number, picture), 0);
  }
  ASSERT_EQ(combineSlotsRgb(bench, user, 5, 0, 1, 2), 0);
  EXPECT_EQ(content(5), (std::vector<std::uint8_t>{30, 20, 10, 31, 21, 11}));
  EXPECT_EQ(slot(5).trueColourCode, 1);
  EXPECT_EQ(slot(5).title, "RGB結合の結果(R:1-G:2-B:3)");
  // 640 x 480, 640 x 480, 640 x 481.
  ASSERT_EQ(storeGrey(0, 640, 480, "r"), 0);
  ASSERT_EQ(storeGrey(1, 640, 480, "g"), 0);
  ASSERT_EQ(storeGrey(2, 640, 481, "b"), 0);
  const auto before = slot(5);
  EXPECT_EQ(combineSlotsRgb(bench, user, 5, 0, 1, 2), kSlotAbandoned);
  EXPECT_EQ(user.messages.back().text, msg::kRgbSizesDiffer);
  EXPECT_EQ(slot(5), before);
}

TEST_F(SlotOperations, ConversionsBetweenDataAndPicture) {
  ASSERT_EQ(storeData(3, pixels(100, 0), "blob.bin"), 0);
  // "画像情報化" of 8 x 8 from offset 4: bytes 4 .. 67.
  user.rawAnswers.push_back(RawSize{8, 8, 4});
  ASSERT_EQ(slotDataToPicture(bench, user, 3), 0);
  EXPECT_EQ(slot(3).kind, kSlotPicture);
  EXPECT_EQ(content(3), pixels(64, 4));
  // Back to data: the bytes stay, the size is the file's.
  ASSERT_EQ(slotPictureToData(bench, user, 3), 0);
  EXPECT_EQ(slot(3).kind, kSlotData);
  EXPECT_EQ(slot(3).width, 64);
  EXPECT_EQ(slot(3).height, 1);
  // Grey scale asks, then changes only the palette.
  ASSERT_EQ(storeGrey(4, 8, 8, "g"), 0);
  slot(4).palette[4] = 99;
  user.yesNoAnswers.push_back(true);
  const auto pixelsBefore = content(4);
  ASSERT_EQ(greyScaleSlot(bench, user, 4), 0);
  EXPECT_EQ(user.questions.back(), "ｸﾞﾚｰｽｹｰﾙ化してもよいですか(#5)");
  EXPECT_EQ(slot(4).palette, greyRamp());
  EXPECT_EQ(content(4), pixelsBefore);
}

TEST_F(SlotOperations, SaveAsWritesByExtensionAndRenamesTheSlot) {
  fill();
  ASSERT_EQ(saveSlotAs(bench, user, 0, dir.file("out.raw")), 0);
  EXPECT_EQ(readBytes(dir.file("out.raw")), content(0));
  EXPECT_EQ(slot(0).title, "out");
  ASSERT_EQ(storeData(2, {1, 2, 3}, "x.txt"), 0);
  ASSERT_EQ(saveSlotAs(bench, user, 2, dir.file("copy.txt")), 0);
  EXPECT_EQ(readBytes(dir.file("copy.txt")), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(slot(2).title, "copy.txt");
  // A true-colour picture has no raw form.
  ASSERT_EQ(combineSlotsRgb(bench, user, 3, 0, 1, 0), 0);
  EXPECT_EQ(saveSlotAs(bench, user, 3, dir.file("rgb.raw")), kSlotFailed);
  EXPECT_EQ(user.messages.back().text, msg::kSaveFailed);
  EXPECT_FALSE(fileExists(dir.file("rgb.raw")));
}

TEST_F(SlotOperations, MenuEnablingFollowsTheSlotKind) {
  fill();
  ASSERT_EQ(storeData(2, {1}, "report.csv"), 0);
  ASSERT_EQ(combineSlotsRgb(bench, user, 3, 0, 1, 0), 0);
  bench.settings.associations[0].extension = "CSV";
  using I = SlotMenuItem;
  const auto enabled = [&](int number, I item) { return slotMenuItemEnabled(bench, number, item); };
  // Slots: 0 grey picture, 2 data with an own association, 3 true colour, 4 empty.
  for (const auto& [item, grey, data, colour, empty] :
       std::vector<std::tuple<I, bool, bool, bool, bool>>{
           {I::View, true, true, true, false},
           {I::GreyScale, true, false, false, false},
           {I::ToPicture, false, true, false, false},
           {I::ToData, true, false, true, false},
           {I::Dissociate, false, true, false, false},
           {I::CopyToPicture, true, false, true, false},
           {I::Clear, true, true, true, false},
           {I::RgbCombine, true, true, true, true},
       }) {
    EXPECT_EQ(enabled(0, item), grey) << static_cast<int>(item);
    EXPECT_EQ(enabled(2, item), data) << static_cast<int>(item);
    EXPECT_EQ(enabled(3, item), colour) << static_cast<int>(item);
    EXPECT_EQ(enabled(4, item), empty) << static_cast<int>(item);
  }
  EXPECT_EQ(slotMenuLine(0, slot(0)), "＃1  (画像) a (8x8)");
  EXPECT_EQ(slotMenuLine(4, slot(4)), "＃5  (空き)");
}

}  // namespace
}  // namespace vemla
