// A slot and the files around it: program clipboard, pasted files, own associations, data
// handed to applications and taken back.
#include "workbench/gallery/slot_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "gallery/gallery_fixture.h"
#include "gallery/messages.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::readBytes;
using testing::writeBytes;

class SlotFiles : public testing::GalleryFixture {
 protected:
  void TearDown() override {
    if (!bench.gallery.privateFolder.empty())
      std::filesystem::remove_all(bench.gallery.privateFolder);
  }
};

TEST_F(SlotFiles, ProgramClipboardCarriesPicturesAndData) {
  ASSERT_EQ(storeGrey(0, 8, 8, "pic", 5), 0);
  ASSERT_EQ(storeData(1, {7, 8, 9}, "d.bin"), 0);
  ASSERT_EQ(copySlotToExchange(bench, user, 0, false), 0);
  ASSERT_EQ(pasteExchangeToSlot(bench, user, 4), 0);
  EXPECT_EQ(slot(4).title, "pic");
  EXPECT_EQ(readBytes(slotFile(4)), readBytes(slotFile(0)));
  ASSERT_EQ(copySlotToExchange(bench, user, 1, true), 0);
  EXPECT_EQ(slot(1).kind, kSlotEmpty);
  ASSERT_EQ(pasteExchangeToSlot(bench, user, 5), 0);
  EXPECT_EQ(slot(5).kind, kSlotData);
  EXPECT_EQ(readBytes(slotFile(5)), (std::vector<std::uint8_t>{7, 8, 9}));
}

TEST_F(SlotFiles, PastedFilesFillFollowingSlotsUntilTheFirstFailure) {
  const std::vector<std::uint8_t> grey(64, 1);
  std::vector<std::string> files;
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
    files.push_back(dir.file(name));
    ASSERT_EQ(writeBitmap(files.back(), 8, 8, 1, grey.data(), nullptr), 0);
  }
  EXPECT_EQ(storeFilesInSlots(bench, user, 2, files, false), 1);
  EXPECT_EQ(storeFilesInSlots(bench, user, 2, files, true), 3);
  EXPECT_EQ(slot(4).title, "c");
  // Slot 4 (1-based) is a multiple of 4: the page moved to it.
  EXPECT_EQ(bench.settings.gallery->info.header.firstShownSlot, 0);
  EXPECT_EQ(storeFilesInSlots(bench, user, 14, files, true), 2);  // the last slot is 16
  files.insert(files.begin() + 1, dir.file("missing.bmp"));
  EXPECT_EQ(storeFilesInSlots(bench, user, 8, files, true), 1);
  EXPECT_EQ(slot(9).kind, kSlotEmpty);
}

TEST_F(SlotFiles, OwnAssociationsAreStoredAndRemoved) {
  ASSERT_EQ(storeData(0, {1}, "report"), 0);
  EXPECT_FALSE(associationChoice(bench, user, 0));
  EXPECT_EQ(user.onlyMessage(), msg::kAssociationBadExtension);
  ASSERT_EQ(storeData(1, {1}, "table.CSV"), 0);
  auto choice = associationChoice(bench, user, 1);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->extension, "CSV");
  EXPECT_EQ(choice->entry, 0);
  ASSERT_TRUE(storeAssociation(bench, user, choice->entry, choice->extension, "/usr/bin/calc"));
  persist::AssociationTable saved{};
  ASSERT_EQ(persist::decodeAssociations(readBytes(dir.file("VemlaAinf.dat")), saved),
            persist::LoadStatus::Loaded);
  EXPECT_EQ(saved[0].application, "/usr/bin/calc");
  choice = associationChoice(bench, user, 1);
  EXPECT_EQ(choice->application, "/usr/bin/calc");
  user.yesNoAnswers.push_back(true);
  EXPECT_TRUE(removeAssociation(bench, user, 1));
  EXPECT_EQ(user.questions.back(),
            "拡張子(CSV)は以下の実行ﾌｧｲﾙへ関連付けされていますが解除しますか？\n[/usr/bin/calc]");
  EXPECT_TRUE(bench.settings.associations[0].extension.empty());
}

TEST_F(SlotFiles, DataTitlesNeverNameAFileOutsideItsFolder) {
  for (const char* refused : {"../../x", "/etc/passwd", "a\\b.txt", "..", "report", "a.tx/t",
                              "bad\x01.txt", "x.toolongext", "q?.txt"}) {
    EXPECT_FALSE(dataFileName(refused)) << refused;
  }
  EXPECT_EQ(dataFileName("memo.txt"), "memo.txt");
  EXPECT_EQ(dataFileName("/tmp/x/../memo.txt"), "memo.txt");
}

TEST_F(SlotFiles, HandedOverDataIsWrittenPrivatelyAndTakenBack) {
  ASSERT_EQ(storeData(0, {1, 2, 3}, "../memo.txt"), 0);
  const auto opening = openSlotData(bench, user, 0);
  ASSERT_TRUE(opening);
  EXPECT_EQ(opening->path, bench.gallery.privateFolder + "/memo.txt");
  EXPECT_EQ(readBytes(opening->path), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_FALSE(opening->program);

  // The application saved a longer file: taken back after a change of its time.
  writeBytes(opening->path, {4, 5, 6, 7});
  bench.gallery.associations[0].lastWrite.reset();
  ASSERT_EQ(applyDataUpdate(bench, user, 0), 0);
  EXPECT_EQ(readBytes(slotFile(0)), (std::vector<std::uint8_t>{4, 5, 6, 7}));
  EXPECT_EQ(slot(0).width, 4);
  // Beyond the data limit: refused before reading, the slot unchanged.
  bench.options.MaxPictureWidth = bench.options.MaxPictureHeight = 1024;
  std::filesystem::resize_file(opening->path, 4 * 1024 * 1024 + 1);
  EXPECT_EQ(applyDataUpdate(bench, user, 0), kSlotFailed);
  EXPECT_EQ(user.messages.back().text, msg::kDataLimitExceeded);
  EXPECT_EQ(slot(0).width, 4);
  std::filesystem::remove(opening->path);
  EXPECT_EQ(applyDataUpdate(bench, user, 0), kSlotAbandoned);
  EXPECT_FALSE(bench.gallery.associations[0].handedOver);

  ASSERT_EQ(storeData(1, {0x7f, 'E', 'L', 'F'}, "tool.EXE"), 0);
  const auto program = openSlotData(bench, user, 1);
  ASSERT_TRUE(program);
  EXPECT_TRUE(program->program);
  EXPECT_EQ(program->path, dir.file("ExecProgram/tool.EXE"));
  struct stat status {};
  ASSERT_EQ(::stat(program->path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0755u);
}

}  // namespace
}  // namespace vemla
