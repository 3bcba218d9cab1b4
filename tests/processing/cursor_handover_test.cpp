#include "processing/cursor_handover.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CursorHandOver, StoresXThenYAsLittleEndianSigned32Bit) {
  // 258 = 0x00000102; -2 = 0xFFFFFFFE.
  const auto bytes = encodeCursorHandOver({258, -2});
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), (Bytes{0x02, 0x01, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  const Bytes stored{0x40, 0x01, 0, 0, 0xF0, 0, 0, 0x80};  // 320, 0x800000F0
  EXPECT_EQ(decodeCursorHandOver(stored), (HandedPosition{320, -2147483408}));
}

TEST(CursorHandOver, RefusesAnythingButEightBytes) {
  EXPECT_FALSE(decodeCursorHandOver(Bytes{}));
  EXPECT_FALSE(decodeCursorHandOver(Bytes(7, 1)));
  EXPECT_FALSE(decodeCursorHandOver(Bytes(9, 1)));
}

TEST(CursorHandOver, SaveReplacesTheFileThatLoadReadsBack) {
  testing::TempDir folder;
  testing::FakeUserPort user;
  ASSERT_TRUE(saveCursorPosition(folder.path(), {1, 2}, user));
  ASSERT_TRUE(saveCursorPosition(folder.path(), {300, 40}, user));
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(readBytes(folder.file("VemlaDpos.dat")), (Bytes{44, 1, 0, 0, 40, 0, 0, 0}));
  EXPECT_EQ(loadCursorPosition(folder.path()), (HandedPosition{300, 40}));
  // Nothing else is left behind in the folder (no temporary file).
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(CursorHandOver, FailedSaveTellsAndKeepsTheEarlierFile) {
  testing::TempDir folder;
  testing::FakeUserPort user;
  EXPECT_FALSE(saveCursorPosition(folder.file("missing"), {1, 2}, user));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "表示位置の退避に失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(user.messages[0].title, "Vemla");

  // No program folder at all.
  EXPECT_FALSE(saveCursorPosition("", {1, 2}, user));
  EXPECT_EQ(user.messages.size(), 2u);

  // A folder in place of the file is not replaced.
  std::filesystem::create_directory(folder.file("VemlaDpos.dat"));
  EXPECT_FALSE(saveCursorPosition(folder.path(), {1, 2}, user));
  EXPECT_EQ(user.messages.size(), 3u);
  EXPECT_TRUE(std::filesystem::is_directory(folder.file("VemlaDpos.dat")));
  EXPECT_FALSE(loadCursorPosition(folder.path()));
}

TEST(CursorHandOver, LoadRefusesMissingShortAndLongFiles) {
  testing::TempDir folder;
  EXPECT_FALSE(loadCursorPosition(folder.path()));
  EXPECT_FALSE(loadCursorPosition(""));
  writeBytes(folder.file("VemlaDpos.dat"), Bytes(7, 0));
  EXPECT_FALSE(loadCursorPosition(folder.path()));
  writeBytes(folder.file("VemlaDpos.dat"), Bytes(4096, 0));
  EXPECT_FALSE(loadCursorPosition(folder.path()));
  writeBytes(folder.file("VemlaDpos.dat"), Bytes{5, 0, 0, 0, 6, 0, 0, 0});
  EXPECT_EQ(loadCursorPosition(folder.path()), (HandedPosition{5, 6}));
}

}  // namespace
}  // namespace vemla
