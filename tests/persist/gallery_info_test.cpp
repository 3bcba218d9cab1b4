#include "persist/gallery_info.h"

#include <gtest/gtest.h>

#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

GalleryInformation sampleGallery() {
  GalleryInformation info;
  info.header = {24, 4, 0, 100, 200, 1, 2, 1};
  info.slotRecords[1] = {1, "写真", 640, 480, 1, {}, greyRamp()};
  info.slotRecords[1].reserved[15] = 3;
  info.slotRecords[31] = {2, "data.bin", 1234, 1, 0, {}, {}};
  return info;
}

TEST(GalleryInformation, BlockLayout) {
  const std::vector<std::uint8_t> block = encodeGalleryBlock(sampleGallery());
  ASSERT_EQ(block.size(), 38048u);
  EXPECT_EQ(block[0], 24);     // GalleryCount
  EXPECT_EQ(block[4 * 6], 2);  // thumbnailCount
  const std::size_t slot1 = 32 + 1188;
  EXPECT_EQ(block[slot1], 1);                    // kind Picture
  EXPECT_EQ(block[slot1 + 4], 0x8E);             // title "写真" in CP932 begins 0x8E
  EXPECT_EQ(block[slot1 + 136], 0x80);           // width 640
  EXPECT_EQ(block[slot1 + 144], 1);              // true-colour code
  EXPECT_EQ(block[slot1 + 148 + 15], 3);         // reserved bytes are kept
  EXPECT_EQ(block[slot1 + 164 + 4 * 255], 255);  // last palette entry (blue of the ramp)
  EXPECT_EQ(block[32 + 1188 * 31], 2);           // slot 31 kind Data
}

TEST(GalleryInformation, RoundTrip) {
  GalleryInformation read;
  ASSERT_EQ(decodeGalleryBlock(encodeGalleryBlock(sampleGallery()), read), LoadStatus::Loaded);
  EXPECT_EQ(read, sampleGallery());
}

// Unknown slot kinds stay as read: the start-up repair empties them and tells the user.
TEST(GalleryInformation, HostileHeaderIsBroughtIntoRangeAndUnknownKindsAreKept) {
  GalleryInformation info;
  info.header = {30, 13, 5, 0, 0, 9, 99, 0};
  info.slotRecords[0].kind = 4;
  info.slotRecords[3].kind = -1;
  info.slotRecords[4].trueColourCode = 3;
  GalleryInformation read;
  ASSERT_EQ(decodeGalleryBlock(encodeGalleryBlock(info), read), LoadStatus::Loaded);
  EXPECT_EQ(read.header.galleryCount, 16);  // 30 is no multiple of 4
  EXPECT_EQ(read.header.firstShownSlot, 0);
  EXPECT_EQ(read.header.displayForm, 1);
  EXPECT_EQ(read.header.hideGalleryAtStart, 0);
  EXPECT_EQ(read.header.thumbnailCount, 32);
  EXPECT_EQ(read.slotRecords[0].kind, 4);
  EXPECT_EQ(read.slotRecords[3].kind, -1);
  EXPECT_EQ(read.slotRecords[4].trueColourCode, 0);
}

TEST(GalleryInformation, VersionAndMagic) {
  std::vector<std::uint8_t> file{'V', 'I', 'G', '1'};
  const std::vector<std::uint8_t> block = encodeGalleryBlock(sampleGallery());
  file.insert(file.end(), block.begin(), block.end());
  GalleryInformation read;
  EXPECT_EQ(decodeGalleryFile(file, read), LoadStatus::VersionMismatch);
  file[3] = '0';
  file[1] = 'X';
  EXPECT_EQ(decodeGalleryFile(file, read), LoadStatus::ReadFailed);
  file[1] = 'I';
  EXPECT_EQ(decodeGalleryFile(std::span(file).first(1000), read), LoadStatus::ReadFailed);
  EXPECT_EQ(read, GalleryInformation{});
  EXPECT_EQ(decodeGalleryFile(file, read), LoadStatus::Loaded);
}

TEST(GalleryInformation, NewFileHoldsAZeroBlockAnd32Thumbnails) {
  TempDir dir;
  FakeUserPort user;
  bool keepBad = false;
  GalleryInformation info;
  EXPECT_EQ(loadGalleryInformation(dir.path(), info, user, false, keepBad), LoadStatus::Absent);
  EXPECT_EQ(loadGalleryInformation(dir.path(), info, user, true, keepBad), LoadStatus::Created);
  const std::vector<std::uint8_t> file = readBytes(dir.file(kGalleryInformationFile));
  ASSERT_EQ(file.size(), 4u + 38048u + 32u * 65536u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "VIG0");
  EXPECT_EQ(file[4], 0);                  // gallery count 0
  EXPECT_EQ(info, GalleryInformation{});  // the defaults in memory stay
}

TEST(GalleryInformation, ThumbnailsBeyondTheFileStayZero) {
  TempDir dir;
  FakeUserPort user;
  bool keepBad = false;
  std::vector<std::uint8_t> thumbnails(2 * kThumbnailBytes);
  thumbnails[0] = 1;
  thumbnails[kThumbnailBytes + 65535] = 2;
  ASSERT_TRUE(saveGalleryInformation(dir.path(), sampleGallery(), thumbnails, user, keepBad));
  const std::vector<std::uint8_t> file = readBytes(dir.file(kGalleryInformationFile));
  ASSERT_EQ(file.size(), 38052u + 2 * 65536u);
  EXPECT_EQ(file[4 + 24], 2);  // the stored count names the thumbnails written

  std::vector<std::uint8_t> read(3 * kThumbnailBytes, 0xEE);
  EXPECT_EQ(loadGalleryThumbnails(dir.path(), 3, read), 2);
  EXPECT_EQ(read[0], 1);
  EXPECT_EQ(read[2 * kThumbnailBytes - 1], 2);
  EXPECT_EQ(read[2 * kThumbnailBytes], 0);
  EXPECT_EQ(read.back(), 0);
}

}  // namespace
}  // namespace vemla::persist
