// vemla-cli gallery on a program folder made by the workbench: the list lines, the extracted
// slots, and a folder left exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "gallery/gallery_fixture.h"
#include "picture/bitmap.h"
#include "support/cli_run.h"

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

}  // namespace
}  // namespace vemla::cli
