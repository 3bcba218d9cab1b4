// File names with characters outside CP932: every verb opens and writes them, and the titles
// stored in an archive keep every other character and the extension.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

struct NameCase {
  const char* stem;
  const char* title;  // as an archive or gallery title stores it
};

constexpr NameCase kNames[] = {
    {"café", "caf?"},       {"naïve", "na?ve"},   {"검사_01", "??_01"},
    {"Prüfung", "Pr?fung"}, {"😀 検査", "? 検査"},
};

TEST(AnyFileName, ConvertsIntoEveryWrittenFormat) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("in"));
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(c.stem);
    const std::string in = dir.file("in/" + std::string(c.stem) + ".bmp");
    writeBytes(in, makeBitmap(9, 8, 8, [](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x + y)};
               }));
    for (const char* extension : {".bmp", ".png", ".tif", ".raw"}) {
      const std::string out = dir.file(std::string(c.stem) + extension);
      const CliRun result = run({"convert", in, out});
      EXPECT_EQ(result.status, 0) << result.err;
      EXPECT_TRUE(std::filesystem::is_regular_file(out)) << extension;
    }
    EXPECT_EQ(run({"info", dir.file(std::string(c.stem) + ".bmp")}).out, "bmp 9 8 8 bottom-up\n");
  }
}

TEST(AnyFileName, ArchiveTitlesKeepEveryOtherCharacterAndTheExtension) {
  TempDir dir;
  const std::string archive = dir.file("set.vla");
  ASSERT_EQ(run({"archive", "create", archive}).status, 0);
  std::string expected = "items=" + std::to_string(2 * std::size(kNames) + 1) + "\n";
  // "#1  (", "#10 (": the number in a column of two.
  const auto number = [](int item) {
    std::string text = "#" + std::to_string(item);
    text.resize(3, ' ');
    return text + " (";
  };
  int item = 0;
  for (const NameCase& c : kNames) {
    const std::string picture = dir.file(std::string(c.stem) + ".bmp");
    writeBytes(picture, makeBitmap(8, 8, 8, [](int, int) { return std::vector<std::uint8_t>{1}; }));
    const std::string data = dir.file(std::string(c.stem) + ".txt");
    writeBytes(data, {'x'});
    EXPECT_EQ(run({"archive", "add", archive, picture}).out, std::to_string(++item) + "\n");
    EXPECT_EQ(run({"archive", "add", archive, data}).out, std::to_string(++item) + "\n");
    expected += number(item - 1) + "画像) " + c.title + " (8x8)\n";
    expected += number(item) + "ﾃﾞｰﾀ) " + c.title + ".txt (1ﾊﾞｲﾄ)\n";
  }
  // A typed title follows the same rule.
  EXPECT_EQ(run({"archive", "add", archive, dir.file("café.bmp"), "--title", "Äpfel 1"}).status, 0);
  expected += number(++item) + "画像) ?pfel 1 (8x8)\n";
  EXPECT_EQ(run({"archive", "list", archive}).out, expected);
}

}  // namespace
}  // namespace vemla::cli
