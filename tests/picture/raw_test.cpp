#include "picture/raw.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "support/test_files.h"

namespace vemla {
namespace {

using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;
using TemporaryFolder = testing::TempDir;
using ::testing::Each;
using ::testing::ElementsAre;

// A raw file of 100 bytes whose byte i is i.
std::string countingFile(const TemporaryFolder& folder) {
  Bytes bytes(100);
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  const std::string path = folder.file("count.raw");
  writeBytes(path, bytes);
  return path;
}

TEST(ReadRawPicture, ReadsFromTheOffset) {
  TemporaryFolder folder;
  Bytes picture(6, 0xEE);
  EXPECT_EQ(readRawPicture(countingFile(folder), 10, picture), 1);
  EXPECT_THAT(picture, ElementsAre(10, 11, 12, 13, 14, 15));
}

TEST(ReadRawPicture, FileEndingEarlyLeavesTheRestZero) {
  TemporaryFolder folder;
  const std::string path = countingFile(folder);
  Bytes picture(8, 0xEE);
  EXPECT_EQ(readRawPicture(path, 96, picture), 1);
  EXPECT_THAT(picture, ElementsAre(96, 97, 98, 99, 0, 0, 0, 0));

  // An offset at or past the end gives an all-zero picture.
  EXPECT_EQ(readRawPicture(path, 100, picture), 1);
  EXPECT_THAT(picture, Each(0));
  std::fill(picture.begin(), picture.end(), 0xEE);
  EXPECT_EQ(readRawPicture(path, std::numeric_limits<std::int64_t>::max(), picture), 1);
  EXPECT_THAT(picture, Each(0));
}

TEST(ReadRawPicture, MissingFileFailsAndIsNotCreated) {
  TemporaryFolder folder;
  const std::string path = folder.file("missing.raw");
  Bytes picture(8, 0xEE);
  EXPECT_EQ(readRawPicture(path, 0, picture), 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_THAT(picture, Each(0));
}

TEST(ReadRawPicture, RefusesANegativeOffsetAndAFolder) {
  TemporaryFolder folder;
  Bytes picture(8, 0xEE);
  EXPECT_EQ(readRawPicture(countingFile(folder), -1, picture), 0);
  EXPECT_THAT(picture, Each(0));
  EXPECT_EQ(readRawPicture(folder.path(), 0, picture), 0);
}

}  // namespace
}  // namespace vemla
