#include "workbench/editing/grey_value_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "gallery/file_size_limit.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TextExportRectangle, CursorPlusMinusNIsLimitedToThePicture) {
  EXPECT_EQ(cursorRectangle(5, 4, 2, 10, 8), (Rect{3, 2, 7, 6}));
  EXPECT_EQ(cursorRectangle(1, 1, 3, 10, 8), (Rect{0, 0, 4, 4}));
  EXPECT_EQ(cursorRectangle(9, 7, 3, 10, 8), (Rect{6, 4, 9, 7}));
  // A negative half size counts as 0: the cursor pixel alone.
  EXPECT_EQ(cursorRectangle(1, 1, -2, 10, 8), (Rect{1, 1, 1, 1}));
  // A huge n must not overflow the corner arithmetic.
  EXPECT_EQ(cursorRectangle(9, 7, INT_MAX, 10, 8), (Rect{0, 0, 9, 7}));
}

TEST(TextExportRectangle, MustLieInsideThePictureWithOrderedCorners) {
  EXPECT_FALSE(checkExportRectangle({0, 0, 9, 7}, 10, 8));
  EXPECT_FALSE(checkExportRectangle({3, 3, 3, 3}, 10, 8));
  const std::string refused = "指定の範囲に誤りがあります";
  EXPECT_EQ(checkExportRectangle({0, 0, 10, 7}, 10, 8), refused);
  EXPECT_EQ(checkExportRectangle({0, 0, 9, 8}, 10, 8), refused);
  EXPECT_EQ(checkExportRectangle({-1, 0, 9, 7}, 10, 8), refused);
  EXPECT_EQ(checkExportRectangle({0, -1, 9, 7}, 10, 8), refused);
  EXPECT_EQ(checkExportRectangle({5, 0, 4, 7}, 10, 8), refused);
  EXPECT_EQ(checkExportRectangle({0, 5, 9, 4}, 10, 8), refused);
}

TEST(TextExportTexts, SourceNamesAndFileDialogTitle) {
  EXPECT_STREQ(textExportSourceName(0), "画像1");
  EXPECT_STREQ(textExportSourceName(3), "ｲﾒｰｼﾞ2");
  EXPECT_EQ(textExportPlane(0), kShifted1);
  EXPECT_EQ(textExportPlane(1), kShifted2);
  EXPECT_EQ(textExportPlane(2), kImage1);
  EXPECT_EQ(textExportPlane(3), kImage2);
  EXPECT_EQ(exportFileDialogTitle(2, {0, 0, 9, 4}), "階調値ﾃｷｽﾄ保存ﾌｧｲﾙの選択(ｲﾒｰｼﾞ1:10 x 5)");
}

class GreyValueText : public ::testing::Test {
 protected:
  // A 4 x 3 plane: row 0 = 0 7 10 255, row 1 = 1 2 3 4, row 2 = 100 99 98 97.
  const std::uint8_t plane[12] = {0, 7, 10, 255, 1, 2, 3, 4, 100, 99, 98, 97};
  testing::TempDir folder;
};

TEST_F(GreyValueText, OnePixelWritesOneLineWithOneValue) {
  const std::string path = folder.file("one.txt");
  EXPECT_EQ(writeGreyValueText(path, plane, 4, {1, 0, 1, 0}, ","), ExportStatus::Written);
  EXPECT_EQ(readText(path), "  7\n");
}

TEST_F(GreyValueText, RowsTopToBottomWithTheSeparatorBetweenValues) {
  const std::string path = folder.file("rows.txt");
  EXPECT_EQ(writeGreyValueText(path, plane, 4, {1, 0, 3, 2}, ", "), ExportStatus::Written);
  EXPECT_EQ(readText(path), "  7,  10, 255\n  2,   3,   4\n 99,  98,  97\n");
  EXPECT_EQ(writeGreyValueText(path, plane, 4, {0, 1, 1, 1}, ""), ExportStatus::Written);
  EXPECT_EQ(readText(path), "  1  2\n");
}

TEST_F(GreyValueText, StopsAtTheFirstRefusedWrite) {
  int calls = 0;
  const ByteSink refusing = [&calls](const void*, std::size_t) {
    ++calls;
    return false;
  };
  EXPECT_FALSE(produceGreyValueText(plane, 4, {0, 0, 3, 2}, ",", refusing));
  EXPECT_EQ(calls, 1);
}

TEST_F(GreyValueText, FullDiskIsAFailureAndKeepsThePreviousFile) {
  const std::string path = folder.file("kept.txt");
  testing::writeBytes(path, {'o', 'l', 'd'});
  std::vector<std::uint8_t> large(64 * 64, 200);
  {
    // 4096 values of "200," need far more than 100 bytes.
    testing::FileSizeLimit limit(100);
    EXPECT_EQ(writeGreyValueText(path, large.data(), 64, {0, 0, 63, 63}, ","),
              ExportStatus::WriteFailed);
  }
  EXPECT_EQ(readText(path), "old");
  EXPECT_EQ(testing::readBytes(folder.file("kept.txt")).size(), 3u);
}

TEST_F(GreyValueText, MissingFolderIsAnOpenFailure) {
  EXPECT_EQ(writeGreyValueText(folder.file("no/such.txt"), plane, 4, {0, 0, 0, 0}, ","),
            ExportStatus::OpenFailed);
}

class WriteGreyValueFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bench.store.allocate(64, 64));
    bench.pictures.width = 10;
    bench.pictures.height = 8;
    bench.pictures.picturesPresent = true;
    bench.store.plane(kImage2)[2 * 10 + 3] = 42;  // (3, 2) of Image 2
    bench.store.plane(kShifted1)[2 * 10 + 3] = 5;
  }
  Workbench bench;
  testing::FakeUserPort user;
  testing::TempDir folder;
};

TEST_F(WriteGreyValueFile, ReadsThePlaneOfTheChosenSource) {
  TextExportSettings settings;
  settings.source = 3;
  settings.rectangle = {3, 2, 3, 2};
  const std::string path = folder.file("image2.txt");
  EXPECT_TRUE(writeGreyValueFile(bench, settings, path, user));
  EXPECT_EQ(readText(path), " 42\n");
  settings.source = 0;
  EXPECT_TRUE(writeGreyValueFile(bench, settings, path, user));
  EXPECT_EQ(readText(path), "  5\n");
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(WriteGreyValueFile, TellsEachFailure) {
  TextExportSettings settings;
  settings.rectangle = {0, 0, 10, 0};  // one column beyond the 10-pixel width
  EXPECT_FALSE(writeGreyValueFile(bench, settings, folder.file("a.txt"), user));
  EXPECT_FALSE(fileExists(folder.file("a.txt")));
  settings.rectangle = {0, 0, 9, 7};
  EXPECT_FALSE(writeGreyValueFile(bench, settings, folder.file("none/a.txt"), user));
  const std::string path = folder.file("b.txt");
  {
    testing::FileSizeLimit limit(10);
    EXPECT_FALSE(writeGreyValueFile(bench, settings, path, user));
  }
  ASSERT_EQ(user.messages.size(), 3u);
  EXPECT_EQ(user.messages[0].text, "指定の範囲に誤りがあります");
  EXPECT_EQ(user.messages[1].text, "ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました");
  EXPECT_EQ(user.messages[2].text, "ﾌｧｲﾙの書き込みができません\n" + path);
  EXPECT_EQ(user.messages[2].icon, Icon::Error);
  EXPECT_FALSE(fileExists(path));
}

}  // namespace
}  // namespace vemla
