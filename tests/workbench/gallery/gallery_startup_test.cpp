#include "workbench/gallery/gallery_startup.h"

#include <gtest/gtest.h>

#include "gallery/messages.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

class GalleryStart : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.settings.folder = dir.path();
    bench.settings.gallery.emplace();
  }
  persist::GalleryHeader& header() { return bench.settings.gallery->info.header; }
  persist::GallerySlot& slot(int number) {
    return bench.settings.gallery->info.slotRecords[static_cast<std::size_t>(number)];
  }
  // A record of the given kind and size whose slot file holds `fileBytes` bytes (none: no file).
  void prepare(int number, int kind, int width, int height, std::int64_t fileBytes,
               int trueColourCode = 0) {
    slot(number) = persist::GallerySlot{};
    slot(number).kind = kind;
    slot(number).width = width;
    slot(number).height = height;
    slot(number).trueColourCode = trueColourCode;
    if (fileBytes >= 0)
      writeBytes(slotFilePath(dir.path(), number), Bytes(static_cast<std::size_t>(fileBytes), 1));
  }
  bool start() { return startGallery(bench, user); }

  TempDir dir;
  Workbench bench;
  FakeUserPort user;
};

TEST_F(GalleryStart, ClampsTheCountToEightThroughThirtyTwoInStepsOfFour) {
  const std::vector<std::pair<int, int>> cases{{30, 16}, {4, 8}, {40, 32},
                                               {12, 12}, {0, 8}, {-5, 8}};
  for (const auto& [stored, used] : cases) {
    Workbench fresh;
    fresh.settings.folder = dir.path();
    fresh.settings.gallery.emplace();
    fresh.settings.gallery->info.header.galleryCount = stored;
    ASSERT_TRUE(startGallery(fresh, user)) << stored;
    EXPECT_EQ(galleryCount(fresh), used) << stored;
    EXPECT_EQ(fresh.settings.gallery->info.header.thumbnailCount, used);
    EXPECT_EQ(fresh.settings.gallery->thumbnails.size(), static_cast<std::size_t>(used) * 65536);
  }
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(GalleryStart, FallsBackToEightSlotsAndThenToNoGallery) {
  header().galleryCount = 32;
  auto onlySmall = [](std::vector<std::uint8_t>& block, std::size_t bytes) {
    if (bytes > 8 * 65536) return false;
    block.assign(bytes, 0);
    return true;
  };
  ASSERT_TRUE(startGallery(bench, user, onlySmall));
  EXPECT_EQ(galleryCount(bench), 8);
  EXPECT_EQ(bench.options.GalleryCount, 8);
  EXPECT_EQ(user.onlyMessage(), "資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰ\nの最大数を 8 へ変更しました");

  Workbench other;
  other.settings.folder = dir.path();
  other.settings.gallery.emplace();
  FakeUserPort otherUser;
  auto nothing = [](std::vector<std::uint8_t>&, std::size_t) { return false; };
  EXPECT_FALSE(startGallery(other, otherUser, nothing));
  EXPECT_EQ(otherUser.onlyMessage(), "資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰの機能は使用できません");
  EXPECT_EQ(galleryCount(other), 0);
  EXPECT_EQ(liveGallery(other), nullptr);
  EXPECT_FALSE(other.settings.gallery.has_value());  // nothing to write back at shutdown
}

TEST_F(GalleryStart, APictureWhoseFileIsGoneIsEmptiedWithoutAMessage) {
  prepare(0, kSlotPicture, 10, 10, -1);
  prepare(1, kSlotPicture, 10, 10, 100);
  ASSERT_TRUE(start());
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
  EXPECT_EQ(slot(1).kind, kSlotPicture);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(GalleryStart, SlotsThatDisagreeWithTheirFilesAreEmptiedWithOneMessage) {
  prepare(0, kSlotData, 50, 1, 49);       // data file changed in size
  prepare(1, kSlotData, 50, 1, -1);       // data file deleted
  prepare(2, kSlotPicture, 4, 4, 48);     // 4 x 4 x 1 wanted
  prepare(3, kSlotPicture, 4, 4, 48, 1);  // 4 x 4 x 3: matches
  prepare(4, kSlotPicture, 4, 4, 64, 2);  // 4 x 4 x 4: matches
  prepare(5, 7, 4, 4, 16);                // a kind that does not exist
  prepare(6, kSlotData, -20, 1, 0);       // data of negative size
  ASSERT_TRUE(start());
  EXPECT_EQ(slot(0).kind, kSlotEmpty);
  EXPECT_EQ(slot(1).kind, kSlotEmpty);
  EXPECT_EQ(slot(2).kind, kSlotEmpty);
  EXPECT_EQ(slot(3).kind, kSlotPicture);
  EXPECT_EQ(slot(4).kind, kSlotPicture);
  EXPECT_EQ(slot(5).kind, kSlotEmpty);
  EXPECT_EQ(slot(6).kind, kSlotEmpty);
  EXPECT_EQ(user.onlyMessage(), "ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  // The repaired records are on disk at once.
  persist::GalleryInformation saved;
  ASSERT_EQ(persist::decodeGalleryFile(readBytes(dir.file("VemlaGinf.dat")), saved),
            persist::LoadStatus::Loaded);
  EXPECT_EQ(saved.slotRecords[0].kind, kSlotEmpty);
  EXPECT_EQ(saved.slotRecords[3].kind, kSlotPicture);
}

TEST_F(GalleryStart, PicturesBeyondTheMaximumAreOverUntilTheLimitIsRaised) {
  prepare(0, kSlotPicture, 2048, 2048, 2048 * 2048);
  prepare(1, kSlotPicture, 1, 1000, 1000);  // the repair accepts width 1
  prepare(2, kSlotPicture, 0, 10, 0);
  ASSERT_TRUE(start());
  EXPECT_EQ(slot(0).kind, kSlotOver);
  EXPECT_EQ(slot(1).kind, kSlotPicture);
  EXPECT_EQ(slot(2).kind, kSlotOver);
  EXPECT_TRUE(user.messages.empty());

  bench.options.MaxPictureWidth = bench.options.MaxPictureHeight = 4096;
  ASSERT_TRUE(start());
  EXPECT_EQ(slot(0).kind, kSlotPicture);
  EXPECT_EQ(slot(2).kind, kSlotOver);
}

TEST_F(GalleryStart, DataUpToFourTimesTheMaximumSizeStaysData) {
  const int limit = 4 * 1024 * 1024;
  prepare(0, kSlotData, limit, 1, limit);
  prepare(1, kSlotData, limit + 1, 1, limit + 1);
  prepare(2, kSlotOver, 10, 1, 10);  // over data back within the limit
  ASSERT_TRUE(start());
  EXPECT_EQ(slot(0).kind, kSlotData);
  EXPECT_EQ(slot(1).kind, kSlotOver);
  EXPECT_EQ(slot(1).height, 1);
  EXPECT_EQ(slot(2).kind, kSlotData);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(GalleryStart, KeepsAsManyStoredThumbnailsAsBothCountsHave) {
  // Eight thumbnails were stored; the count is now 16: the other eight are zero.
  header().galleryCount = 16;
  bench.settings.gallery->thumbnails.assign(8 * 65536, 9);
  ASSERT_TRUE(start());
  const auto& thumbnails = bench.settings.gallery->thumbnails;
  ASSERT_EQ(thumbnails.size(), 16u * 65536);
  EXPECT_EQ(thumbnails[8 * 65536 - 1], 9);
  EXPECT_EQ(thumbnails[8 * 65536], 0);

  Workbench smaller;
  smaller.settings.folder = dir.path();
  smaller.settings.gallery.emplace();
  smaller.settings.gallery->info.header.galleryCount = 8;
  smaller.settings.gallery->thumbnails.assign(32 * 65536, 5);
  ASSERT_TRUE(startGallery(smaller, user));
  EXPECT_EQ(smaller.settings.gallery->thumbnails, Bytes(8 * 65536, 5));
}

TEST_F(GalleryStart, ASecondCopyHasNoGallery) {
  bench.secondCopy = true;
  EXPECT_FALSE(start());
  EXPECT_EQ(galleryCount(bench), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.file("VemlaGinf.dat")));
}

}  // namespace
}  // namespace vemla
