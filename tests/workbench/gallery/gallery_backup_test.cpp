#include "workbench/gallery/gallery_backup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gallery/gallery_fixture.h"

namespace vemla {
namespace {

using testing::readBytes;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

class GalleryBackup : public testing::GalleryFixture {
 protected:
  void SetUp() override {
    GalleryFixture::SetUp();
    ASSERT_EQ(storeGrey(0, 8, 8, "picture", 7), 0);
    ASSERT_EQ(storeData(1, {1, 2, 3}, "data"), 0);
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(GalleryBackup, CopiesUsedSlotsAndTheBlockAndPutsThemBack) {
  const persist::GalleryInformation before = bench.settings.gallery->info;
  const Bytes thumbnailsBefore = bench.settings.gallery->thumbnails;
  const Bytes picture = readBytes(slotFile(0));
  ASSERT_TRUE(backupGalleryForEditing(bench, user));
  EXPECT_EQ(readBytes(dir.file("~~VemlaG000.bak")), picture);
  EXPECT_EQ(readBytes(dir.file("~~VemlaG001.bak")), (Bytes{1, 2, 3}));
  EXPECT_FALSE(exists("~~VemlaG002.bak"));
  EXPECT_EQ(readBytes(dir.file("VemlaGinf.bak")).size(), 38048u);

  // The edit: slot 0 is overwritten, slot 1 cleared, slot 5 filled.
  ASSERT_EQ(storeGrey(0, 16, 16, "changed", 1), 0);
  slot(1).kind = kSlotEmpty;
  ASSERT_EQ(storeData(5, {9}, "new"), 0);

  ASSERT_TRUE(restoreGalleryFromBackup(bench, user));
  EXPECT_EQ(bench.settings.gallery->info, before);
  EXPECT_EQ(bench.settings.gallery->thumbnails, thumbnailsBefore);
  EXPECT_EQ(readBytes(slotFile(0)), picture);
  EXPECT_EQ(readBytes(slotFile(1)), (Bytes{1, 2, 3}));
  EXPECT_FALSE(exists("~~VemlaG000.bak"));
  EXPECT_FALSE(exists("~~VemlaG001.bak"));
  EXPECT_FALSE(exists("VemlaGinf.bak"));
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(GalleryBackup, AFailedCopyRefusesTheEditAndChangesNoSlot) {
  std::filesystem::remove(slotFile(1));
  const persist::GalleryInformation before = bench.settings.gallery->info;
  EXPECT_FALSE(backupGalleryForEditing(bench, user));
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰ情報の退避に失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(bench.settings.gallery->info, before);
  EXPECT_FALSE(exists("~~VemlaG000.bak"));
  EXPECT_FALSE(exists("VemlaGinf.bak"));
}

TEST_F(GalleryBackup, AFailedRestoreGoesOnAndKeepsEveryBackup) {
  ASSERT_TRUE(backupGalleryForEditing(bench, user));
  ASSERT_EQ(storeData(0, {5, 5}, "edited"), 0);
  ASSERT_EQ(storeData(1, {6, 6}, "edited"), 0);
  std::filesystem::remove(dir.file("~~VemlaG000.bak"));
  EXPECT_FALSE(restoreGalleryFromBackup(bench, user));
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰ情報の回復に失敗しました");
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
  EXPECT_EQ(slot(1).kind, kSlotData);
  EXPECT_EQ(slot(1).title, "data");
  EXPECT_EQ(readBytes(slotFile(1)), (Bytes{1, 2, 3}));
  EXPECT_TRUE(exists("~~VemlaG001.bak"));
  EXPECT_TRUE(exists("VemlaGinf.bak"));
}

TEST_F(GalleryBackup, AnUnreadableBlockBackupChangesNothing) {
  ASSERT_TRUE(backupGalleryForEditing(bench, user));
  ASSERT_EQ(storeData(0, {5, 5}, "edited"), 0);
  writeBytes(dir.file("VemlaGinf.bak"), Bytes(100, 0));
  const persist::GalleryInformation edited = bench.settings.gallery->info;
  EXPECT_FALSE(restoreGalleryFromBackup(bench, user));
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰ情報の回復に失敗しました");
  EXPECT_EQ(bench.settings.gallery->info, edited);
  EXPECT_TRUE(exists("~~VemlaG000.bak"));
}

}  // namespace
}  // namespace vemla
