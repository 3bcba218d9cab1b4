#include "extensions/user_colours.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vemla {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return {text.begin(), text.end()};
}

ColourFileRead readText(const std::string& text) {
  const std::vector<std::uint8_t> bytes = bytesOf(text);
  MemorySource in(bytes);
  return readColourTableText(in);
}

// `count` lines "g,g/2,255-g" for g = 0.. with the given line end.
std::string rampLines(int count, const std::string& end = "\n") {
  std::string out;
  for (int g = 0; g < count; ++g) {
    out += std::to_string(g) + "," + std::to_string(g / 2) + "," + std::to_string(255 - g) + end;
  }
  return out;
}

UserColourTable rampTable() {
  UserColourTable table{};
  for (int g = 0; g < 256; ++g) {
    table[static_cast<std::size_t>(g) * 3] = static_cast<std::uint8_t>(g);
    table[static_cast<std::size_t>(g) * 3 + 1] = static_cast<std::uint8_t>(g / 2);
    table[static_cast<std::size_t>(g) * 3 + 2] = static_cast<std::uint8_t>(255 - g);
  }
  return table;
}

TEST(ColourText, FullFilesReadInAnyLineEnding) {
  for (const std::string& text :
       {rampLines(256), rampLines(256, "\r\n"), rampLines(256).substr(0, rampLines(256).size() - 1),
        rampLines(256) + "garbage after the table\n"}) {
    const ColourFileRead read = readText(text);
    ASSERT_EQ(read.status, ColourFileStatus::Read);
    EXPECT_EQ(read.table, rampTable());
  }
}

// The first line is replaced by `line`; the whole file either reads it as (r, g, b) or fails
// at line 1.
TEST(ColourText, FirstLineRules) {
  struct Case {
    const char* line;
    bool good;
    int red, green, blue;
  };
  const Case cases[] = {
      {"10 20 30 40", true, 10, 20, 30},  {"1.5,2,3", true, 1, 5, 2},
      {"-5,6,7", true, 5, 6, 7},          {"a255;b0;c255 99999", true, 255, 0, 255},
      {"10,20", false, 0, 0, 0},          {"300,0,0", false, 0, 0, 0},
      {"0,0,256", false, 0, 0, 0},        {"18446744073709551617,0,0", false, 0, 0, 0},
      {"", false, 0, 0, 0},
  };
  const std::string rest = rampLines(256).substr(rampLines(1).size());
  for (const Case& c : cases) {
    const ColourFileRead read = readText(std::string(c.line) + "\n" + rest);
    if (!c.good) {
      EXPECT_EQ(read.status, ColourFileStatus::FormatError) << c.line;
      EXPECT_EQ(read.failingLine, 1) << c.line;
      continue;
    }
    ASSERT_EQ(read.status, ColourFileStatus::Read) << c.line;
    EXPECT_EQ(read.table[0], c.red);
    EXPECT_EQ(read.table[1], c.green);
    EXPECT_EQ(read.table[2], c.blue);
  }
}

TEST(ColourText, ShortOrBrokenFilesNameTheirFirstBadLine) {
  EXPECT_EQ(readText(rampLines(255)).failingLine, 256);
  EXPECT_EQ(readText(rampLines(100) + "1,2\n" + rampLines(156)).failingLine, 101);
  EXPECT_EQ(readText("").failingLine, 1);
}

// One very long line is one line: a huge run of separators before three numbers is read, and a
// huge run of digits is a single number that is too large.
TEST(ColourText, LongLinesAreOneLine) {
  const std::string rest = rampLines(256).substr(rampLines(1).size());
  const ColourFileRead spaced = readText(std::string(100000, ' ') + "0,0,255\n" + rest);
  EXPECT_EQ(spaced.status, ColourFileStatus::Read);
  const ColourFileRead digits = readText("1" + std::string(100000, '0') + ",0,0\n" + rest);
  EXPECT_EQ(digits.failingLine, 1);
}

TEST(ColourFile, BitmapPaletteBecomesRedGreenBlue) {
  TempDir dir;
  const auto pixel = [](int, int) { return std::vector<std::uint8_t>{0}; };
  testing::writeBytes(dir.file("p.BMP"), testing::makeBitmap(2, 2, 8, pixel));
  const ColourFileRead read = readColourTableFile(dir.file("p.BMP"));
  ASSERT_EQ(read.status, ColourFileStatus::Read);
  // makeBitmap's palette entry i is blue i, green 255 - i, red i / 2.
  for (std::size_t g : {0u, 7u, 255u}) {
    EXPECT_EQ(read.table[g * 3], g / 2);
    EXPECT_EQ(read.table[g * 3 + 1], 255 - g);
    EXPECT_EQ(read.table[g * 3 + 2], g);
  }
}

TEST(ColourFile, FailuresGiveTheirMessages) {
  TempDir dir;
  const auto pixel = [](int, int) { return std::vector<std::uint8_t>{0, 0, 0}; };
  std::vector<std::uint8_t> paletted =
      testing::makeBitmap(2, 2, 8, [](int, int) { return std::vector<std::uint8_t>{0}; });
  std::vector<std::uint8_t> foreign = paletted;
  foreign[0] = 'X';
  paletted.resize(54 + 100);
  testing::writeBytes(dir.file("24.bmp"), testing::makeBitmap(2, 2, 24, pixel));
  testing::writeBytes(dir.file("foreign.bmp"), foreign);
  testing::writeBytes(dir.file("short.bmp"), paletted);
  testing::writeBytes(dir.file("short.txt"), bytesOf(rampLines(3)));
  const struct {
    std::string name;
    const char* message;
  } cases[] = {
      {"24.bmp", "256色のﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません\n"},
      {"foreign.bmp", "ｻﾎﾟｰﾄされていないﾌｧｲﾙです\n"},
      {"short.bmp", "ﾌｧｲﾙの読み込みに失敗しました\n"},
      {"short.txt", "ﾌｧｲﾙのﾌｫｰﾏｯﾄに誤りがあります(ﾗｲﾝ番号：4)\n"},
      {"absent.txt", "ﾌｧｲﾙのｵｰﾌﾟﾝｴﾗｰです\n"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.file(c.name);
    const ColourFileRead read = readColourTableFile(path);
    EXPECT_NE(read.status, ColourFileStatus::Read) << c.name;
    EXPECT_EQ(colourFileMessage(read, path), c.message + path);
  }
}

TEST(ColourFile, SavedTableReadsBackAndFailedWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("t.txt");
  UserColourTable table = rampTable();
  table[300] = 7;
  ASSERT_TRUE(writeColourTableFile(path, table));
  const std::vector<std::uint8_t> written = testing::readBytes(path);
  EXPECT_EQ(std::string(written.begin(), written.begin() + 28), "   0,   0, 255   # 0\n   1,  ");
  const ColourFileRead read = readColourTableFile(path);
  ASSERT_EQ(read.status, ColourFileStatus::Read);
  EXPECT_EQ(read.table, table);
  // A folder in the way of the target: the write fails and nothing is replaced.
  std::filesystem::create_directory(dir.file("folder.txt"));
  EXPECT_FALSE(writeColourTableFile(dir.file("folder.txt"), table));
  EXPECT_FALSE(writeColourTableFile(dir.file("no/such/folder.txt"), table));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.txt")));
}

TEST(ColourInterpolation, RangesAndChannels) {
  UserColourTable table{};
  table[255 * 3] = 255;       // red 255 at grey 255
  table[255 * 3 + 1] = 200;   // green, not ticked
  table[100 * 3 + 1] = 50;
  interpolateColourTable(table, 300, -4, {true, false, false});  // limited, then swapped
  for (std::size_t g = 0; g < 256; ++g) EXPECT_EQ(table[g * 3], g);
  EXPECT_EQ(table[100 * 3 + 1], 50);

  UserColourTable before = table;
  interpolateColourTable(table, 40, 40, {true, true, true});
  EXPECT_EQ(table, before);

  // 0 -> 3 on green from 0 to 10: 0, 3.83 -> 3, 7.17 -> 7 ... floor(s + i d / n + 0.5).
  table.fill(0);
  table[3 * 3 + 1] = 10;
  interpolateColourTable(table, 3, 0, {false, true, false});
  EXPECT_EQ(table[0 * 3 + 1], 0);
  EXPECT_EQ(table[1 * 3 + 1], 3);
  EXPECT_EQ(table[2 * 3 + 1], 7);
  EXPECT_EQ(table[3 * 3 + 1], 10);
}

TEST(ColourEntryChecks, InTheirOrder) {
  std::array<UserColourEntry, kUserEntryCount> table{};
  table[0] = {1, "heat", {}};
  table[1] = {1, "cold", {}};
  const auto check = [&table](const std::string& name, int changing) {
    return checkColourEntry({0, name, {}}, table, changing).value_or("");
  };
  EXPECT_EQ(check("", -1), "ｶﾗｰｲﾒｰｼﾞ名の指定がありません");
  EXPECT_EQ(check("heat", -1), "ｶﾗｰｲﾒｰｼﾞ名が重複しています");
  EXPECT_EQ(check("heat", 0), "");  // the entry itself is not compared
  EXPECT_EQ(check("heat", 1), "ｶﾗｰｲﾒｰｼﾞ名が重複しています");
  EXPECT_EQ(check(std::string(31, 'a'), -1), "");
  EXPECT_EQ(check(std::string(32, 'a'), -1), "ｶﾗｰｲﾒｰｼﾞ名が長すぎます");
  // 16 kanji are 32 bytes in the file.
  std::string kanji;
  for (int i = 0; i < 16; ++i) kanji += "色";
  EXPECT_EQ(check(kanji, -1), "ｶﾗｰｲﾒｰｼﾞ名が長すぎます");
  EXPECT_EQ(check("😀", -1), "ｶﾗｰｲﾒｰｼﾞ名に使用できない文字が含まれています");
  for (auto& entry : table) entry.inUse = 1;
  EXPECT_EQ(check("", -1), "これ以上追加できません");  // before the name checks
  EXPECT_EQ(check("new", 3), "");
}

}  // namespace
}  // namespace vemla
