// vemla-cli gallery on a program folder made by the workbench: the list lines, the extracted
// slots, and a folder left exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "gallery/gallery_fixture.h"
#include "picture/bitmap.h"
#include "support/cli_run.h"
#include "text/format.h"

namespace vemla::cli {
namespace {

using vemla::testing::readBytes;

class GalleryCli : public vemla::testing::GalleryFixture {
 protected:
  std::map<std::string, std::vector<std::uint8_t>> folderContent() const {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      files[entry.path().filename().string()] = readBytes(entry.path().string());
    }
    return files;
  }
};

TEST_F(GalleryCli, ListsAndExtractsWithoutWritingIntoTheFolder) {
  ASSERT_EQ(storeGrey(0, 8, 8, "grey", 3), 0);
  ASSERT_EQ(storeData(2, {1, 2, 3}, "n.txt"), 0);
  ASSERT_TRUE(saveGalleryNow(bench, user));
  // A slot file gone behind the records' back: repaired in memory only.
  std::filesystem::remove(slotFile(2));
  const auto before = folderContent();
  const vemla::testing::TempDir elsewhere;
  const std::string out = elsewhere.file("out.bmp");

  const CliRun list = run({"gallery", "list", dir.path()});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find("#4")),
            "slots=16\n#1  (画像) grey (8x8)\n#2  (空き)\n#3  (空き)\n");
  EXPECT_EQ(list.err, "ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました\n");

  EXPECT_EQ(run({"gallery", "extract", dir.path(), "1", out}).status, 0);
  std::vector<std::uint8_t> expected(64);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint8_t>(i + 3);
  std::vector<std::uint8_t> pixels(64);
  BitmapRead read;
  ASSERT_EQ(readBitmapIntoMemory(out, pixels, 64, 64, read), 1);
  EXPECT_EQ(pixels, expected);

  EXPECT_EQ(run({"gallery", "extract", dir.path(), "3", out}).status, 1);
  EXPECT_EQ(run({"gallery", "extract", dir.path(), "17", out}).status, 2);
  EXPECT_EQ(folderContent(), before);
}

// A folder without VemlaGinf.dat holds an empty gallery of the default count and stays empty;
// a stored slot of a kind that does not exist is emptied with the repair message.
TEST_F(GalleryCli, ListsAnEmptyGalleryAndRepairsUnknownKinds) {
  const vemla::testing::TempDir fresh;
  const CliRun empty = run({"gallery", "list", fresh.path()});
  EXPECT_EQ(empty.status, 0);
  std::string expected = "slots=16\n";
  for (int slot = 1; slot <= 16; ++slot) expected += text::format("#%-2d (空き)\n", slot);
  EXPECT_EQ(empty.out, expected);
  EXPECT_EQ(empty.err, "");
  EXPECT_TRUE(std::filesystem::is_empty(fresh.path()));

  ASSERT_EQ(storeGrey(0, 8, 8, "grey", 3), 0);
  slot(0).kind = 7;
  ASSERT_TRUE(saveGalleryNow(bench, user));
  const CliRun list = run({"gallery", "list", dir.path()});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find("#2")), "slots=16\n#1  (空き)\n");
  EXPECT_EQ(list.err, "ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました\n");
}

}  // namespace
}  // namespace vemla::cli
