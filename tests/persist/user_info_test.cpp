#include "persist/user_info.h"

#include <gtest/gtest.h>

#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// What the file holds: the extensions' entries and the rest of the user information.
struct UserFile {
  UserEntries entries;
  UserInfo info;
  bool operator==(const UserFile&) const = default;
};

std::vector<std::uint8_t> encode(const UserFile& file) {
  return encodeUserInfo(file.entries, file.info);
}
LoadStatus decode(std::span<const std::uint8_t> bytes, UserFile& file) {
  return decodeUserInfo(bytes, file.entries, file.info);
}

UserFile sampleInfo() {
  UserFile file;
  UserEntries& entries = file.entries;
  entries.processing[0].inUse = 1;
  entries.processing[0].name = "差分強調";
  entries.processing[0].form = 1;
  entries.processing[0].elements[80] = "-1";
  entries.processing[0].divisor = "9";
  entries.processing[0].expression = "(P1-P2)*2+128";
  entries.processing[15].filterPicture = 1;
  entries.colours[1].inUse = 1;
  entries.colours[1].name = "赤";
  entries.colours[1].table[767] = 255;
  UserInfo& info = file.info;
  info.colourAssociation[539] = 4;
  info.history[0] = {1, {"/p/一.bmp", "/p/二.bmp"}};
  info.history[15] = {1, {"", "/p/only2.raw"}};
  info.recent[0] = {1, 640, 480, 16, "/p/raw.raw"};
  return file;
}

TEST(UserInfo, RecordsSitAtTheirOffsets) {
  const std::vector<std::uint8_t> bytes = encode(sampleInfo());
  ASSERT_EQ(bytes.size(), 68448u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "VIU1");
  EXPECT_EQ(bytes[4], 1);                          // entry 0 in use
  EXPECT_EQ(bytes[4 + 40], 1);                     // its form, after the 36-byte name
  EXPECT_EQ(bytes[4 + 1880 * 15 + 44], 1);         // entry 15's filter picture
  EXPECT_EQ(bytes[30084 + 808], 1);                // colour entry 1 in use
  EXPECT_EQ(bytes[43012 + 539], 4);                // association state, last byte
  EXPECT_EQ(bytes[43552], 1);                      // history entry 0 used
  EXPECT_EQ(bytes[43552 + 4], '/');                // its Picture 1 name
  EXPECT_EQ(bytes[43552 + 1028 * 15 + 516], '/');  // entry 15's Picture 2 name
  EXPECT_EQ(bytes[60000], 1);                      // recent picture 0 used
  EXPECT_EQ(bytes[60004], 0x80);                   // width 640 = 0x280
  EXPECT_EQ(bytes[60004 + 1], 0x02);
  EXPECT_EQ(bytes[60012], 16);  // raw offset
}

TEST(UserInfo, RoundTrip) {
  UserFile read;
  ASSERT_EQ(decode(encode(sampleInfo()), read), LoadStatus::Loaded);
  EXPECT_EQ(read, sampleInfo());
}

TEST(UserInfo, EntriesWhoseNamesCannotBeStoredExactlyAreLeftOut) {
  UserFile file = sampleInfo();
  const char* names[] = {"/p/café.bmp", "/p/naïve.bmp", "/p/검사_01.png", "/p/Prüfung.tif",
                         "/p/\xF0\x9F\x98\x80.bmp"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(names[i]);
    UserFile withName = file;
    withName.info.history[1] = {1, {"/p/一.bmp", names[i]}};
    withName.info.recent[1] = {1, 8, 8, 0, names[i]};
    UserFile read;
    ASSERT_EQ(decode(encode(withName), read), LoadStatus::Loaded);
    // The other entries stay where they are; the inexact ones read back unused.
    EXPECT_EQ(read, file);
  }
}

TEST(UserInfo, Version0FileLeavesTheRecentPicturesEmpty) {
  std::vector<std::uint8_t> bytes = encode(sampleInfo());
  bytes[3] = '0';
  bytes.resize(4 + 59996);
  UserFile read;
  ASSERT_EQ(decode(bytes, read), LoadStatus::Loaded);
  EXPECT_EQ(read.info.history, sampleInfo().info.history);
  EXPECT_EQ(read.info.recent, UserInfo{}.recent);
}

TEST(UserInfo, ShortOrForeignFileChangesNothing) {
  std::vector<std::uint8_t> bytes = encode(sampleInfo());
  UserFile read;
  EXPECT_EQ(decode(std::span(bytes).first(60000 + 100), read), LoadStatus::ReadFailed);
  bytes[2] = 'X';
  EXPECT_EQ(decode(bytes, read), LoadStatus::ReadFailed);
  EXPECT_EQ(read, UserFile{});
}

TEST(UserInfo, IndicesOutsideTheirRangeAreCleared) {
  UserFile file;
  file.entries.processing[2].form = 7;
  file.entries.processing[2].filterPicture = -1;
  UserFile read;
  ASSERT_EQ(decode(encode(file), read), LoadStatus::Loaded);
  EXPECT_EQ(read.entries.processing[2].form, 0);
  EXPECT_EQ(read.entries.processing[2].filterPicture, 0);
}

// Colour entries the editor could not have written are freed in place: a later entry keeps its
// slot, and so its colour kind.
TEST(UserInfo, DamagedColourEntriesAreFreedWhereTheyStand) {
  UserFile file;
  for (std::size_t i = 0; i < 6; ++i) {
    file.entries.colours[i].inUse = 1;
    file.entries.colours[i].name = "c" + std::to_string(i);
    file.entries.colours[i].table[0] = static_cast<std::uint8_t>(i + 1);
  }
  std::vector<std::uint8_t> bytes = encode(file);
  const auto entry = [](std::size_t i) { return 30084 + 808 * i; };
  bytes[entry(0)] = 7;                                          // flag neither 0 nor 1
  std::fill_n(bytes.begin() + entry(1) + 4, 36, 'x');           // name without its zero
  bytes[entry(2) + 4] = 0;                                      // empty name
  std::fill_n(bytes.begin() + entry(3) + 4, 32, 'y');           // 32 bytes, then zero
  std::fill_n(bytes.begin() + entry(4) + 4, 31, 'z');           // 31 bytes: kept
  UserFile read;
  ASSERT_EQ(decode(bytes, read), LoadStatus::Loaded);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(read.entries.colours[i], UserColourEntry{}) << i;
  EXPECT_EQ(read.entries.colours[4].name, std::string(31, 'z'));
  EXPECT_EQ(read.entries.colours[5], file.entries.colours[5]);
}

TEST(UserInfo, FileIsCreatedFromMemoryAndReportedWhenUnreadable) {
  TempDir dir;
  FakeUserPort user;
  bool keepBad = false;
  UserFile file = sampleInfo();
  EXPECT_EQ(loadUserInfo(dir.path(), file.entries, file.info, user, true, keepBad),
            LoadStatus::Created);
  EXPECT_EQ(readBytes(dir.file(kUserInformationFile)), encode(sampleInfo()));

  writeBytes(dir.file(kUserInformationFile), {'V', 'I', 'U', '1', 0});
  UserFile other;
  EXPECT_EQ(loadUserInfo(dir.path(), other.entries, other.info, user, true, keepBad),
            LoadStatus::ReadFailed);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙの読み込みができません\n" + dir.file(kUserInformationFile));
  EXPECT_TRUE(keepBad);
}

}  // namespace
}  // namespace vemla::persist
