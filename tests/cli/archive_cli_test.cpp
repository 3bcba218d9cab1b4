#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

class ArchiveCli : public ::testing::Test {
 protected:
  // A bottom-up bitmap whose width is a multiple of 4 (no row padding), pixel bytes x + 3y + k.
  std::string bitmap(const std::string& name, int width, int height, int bits) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, height, bits, [bits](int x, int y) {
                 Bytes pixel;
                 for (int k = 0; k < bits / 8; ++k)
                   pixel.push_back(static_cast<std::uint8_t>(x + 3 * y + 40 * k));
                 return pixel;
               }));
    return path;
  }
  // The pixel rows of a bitmap written by the workbench (headers 54 bytes, palette 1024 for
  // 8-bit, rows without padding when width * bytes is a multiple of 4).
  static Bytes tail(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.end() - static_cast<long>(size), bytes.end());
  }

  TempDir dir;
  std::string archive = dir.file("set.vla");
};

TEST_F(ArchiveCli, RoundTripsEveryKindOfItemBitForBit) {
  const std::string grey = bitmap("grey.bmp", 12, 8, 8);
  const std::string rgb = bitmap("rgb.bmp", 8, 8, 24);
  const std::string rgba = bitmap("rgba.bmp", 8, 9, 32);
  const std::string notes = dir.file("notes.txt");
  Bytes text;
  for (int i = 0; i < 3000; ++i)
    text.push_back(static_cast<std::uint8_t>("hello, archive\n"[i % 15]));
  writeBytes(notes, text);

  ASSERT_EQ(run({"archive", "create", archive}).status, 0);
  EXPECT_EQ(run({"archive", "add", archive, grey}).out, "1\n");
  EXPECT_EQ(run({"archive", "add", archive, rgb, "--title", "カラー"}).out, "2\n");
  EXPECT_EQ(run({"archive", "add", archive, rgba}).out, "3\n");
  EXPECT_EQ(run({"archive", "add", archive, notes}).out, "4\n");
  EXPECT_EQ(run({"archive", "add", archive, "--empty"}).out, "5\n");

  const CliRun list = run({"archive", "list", archive});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out,
            "items=5\n"
            "#1  (画像) grey (12x8)\n"
            "#2  (画像) カラー (T 8x8)\n"
            "#3  (画像) rgba (T 8x9)\n"
            "#4  (ﾃﾞｰﾀ) notes.txt (3000ﾊﾞｲﾄ)\n"
            "#5  (空き)\n");
  EXPECT_EQ(run({"info", archive}).out, list.out);

  // Grey: the same pixels and the file's palette (entry i = (i, 255 - i, i / 2, 0)).
  ASSERT_EQ(run({"archive", "extract", archive, "1", dir.file("grey-out.bmp")}).status, 0);
  const Bytes greyOut = readBytes(dir.file("grey-out.bmp"));
  ASSERT_EQ(greyOut.size(), 1078u + 96);
  EXPECT_EQ(greyOut[54 + 4 * 9 + 1], 246);
  EXPECT_EQ(tail(greyOut, 96), tail(readBytes(grey), 96));
  // True colour stays 24 and 32 bits.
  ASSERT_EQ(run({"archive", "extract", archive, "2", dir.file("rgb-out.bmp")}).status, 0);
  EXPECT_EQ(run({"info", dir.file("rgb-out.bmp")}).out, "bmp 8 8 24 bottom-up\n");
  EXPECT_EQ(tail(readBytes(dir.file("rgb-out.bmp")), 192), tail(readBytes(rgb), 192));
  ASSERT_EQ(run({"archive", "extract", archive, "3", dir.file("rgba-out.bmp")}).status, 0);
  EXPECT_EQ(run({"info", dir.file("rgba-out.bmp")}).out, "bmp 8 9 32 bottom-up\n");
  EXPECT_EQ(tail(readBytes(dir.file("rgba-out.bmp")), 80), tail(readBytes(rgba), 80));
  ASSERT_EQ(run({"archive", "extract", archive, "4", dir.file("notes-out.txt")}).status, 0);
  EXPECT_EQ(readBytes(dir.file("notes-out.txt")), text);

  // Through a second archive and out again: every extracted file is reproduced byte for byte.
  const std::string again = dir.file("again.vla");
  ASSERT_EQ(run({"archive", "create", again}).status, 0);
  const std::vector<std::string> extracted{"grey-out.bmp", "rgb-out.bmp", "rgba-out.bmp",
                                           "notes-out.txt"};
  for (std::size_t i = 0; i < extracted.size(); ++i) {
    ASSERT_EQ(run({"archive", "add", again, dir.file(extracted[i])}).status, 0);
    const std::string second = dir.file("second-" + extracted[i]);
    ASSERT_EQ(run({"archive", "extract", again, std::to_string(i + 1), second}).status, 0);
    EXPECT_EQ(readBytes(second), readBytes(dir.file(extracted[i]))) << extracted[i];
  }
}

TEST_F(ArchiveCli, RefusesWhatCannotBeDone) {
  ASSERT_EQ(run({"archive", "create", archive}).status, 0);
  ASSERT_EQ(run({"archive", "add", archive, "--empty"}).status, 0);
  const CliRun empty = run({"archive", "extract", archive, "1", dir.file("x.bin")});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "指定された番号の情報が存在しない\n" + archive + "\n");
  EXPECT_EQ(run({"archive", "extract", archive, "2", dir.file("x.bin")}).status, 1);

  const std::string junk = dir.file("junk.vla");
  writeBytes(junk, Bytes(2000, 'x'));
  const CliRun notArchive = run({"archive", "list", junk});
  EXPECT_EQ(notArchive.status, 1);
  EXPECT_EQ(notArchive.err, "VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません\n" + junk + "\n");
  EXPECT_EQ(run({"archive", "add", junk, "--empty"}).status, 1);
  EXPECT_EQ(readBytes(junk), Bytes(2000, 'x'));
  // Adding needs an archive: the message names the file, with no code.
  for (const std::string& target : {dir.file("none.vla"), dir.path(), std::string("/dev/null")}) {
    const CliRun refused = run({"archive", "add", target, "--empty"});
    EXPECT_EQ(refused.status, 1) << target;
    EXPECT_EQ(refused.err, "ｷﾞｬﾗﾘｰの退避に失敗しました\n" + target + "\n");
  }

  // The 8 x 8 minimum of every picture applies to items too.
  const std::string narrow = bitmap("narrow.bmp", 7, 8, 8);
  const CliRun small = run({"archive", "add", archive, narrow});
  EXPECT_EQ(small.status, 1);
  EXPECT_EQ(small.err, "画像ｻｲｽﾞが小さすぎます (8x8以上が必要)\n" + narrow + " \n");
  const std::string grey = bitmap("grey.bmp", 8, 8, 8);
  ASSERT_EQ(run({"archive", "add", archive, grey}).status, 0);
  EXPECT_EQ(run({"archive", "extract", archive, "2", dir.file("out.jpg")}).status, 1);
}

TEST_F(ArchiveCli, UsageErrorsExitWithTwo) {
  std::string tooLong(128, 'a');
  EXPECT_EQ(run({"archive"}).status, 2);
  EXPECT_EQ(run({"archive", "shred", archive}).status, 2);
  EXPECT_EQ(run({"archive", "create"}).status, 2);
  EXPECT_EQ(run({"archive", "add", archive}).status, 2);
  EXPECT_EQ(run({"archive", "add", archive, "a.bmp", "--empty"}).status, 2);
  EXPECT_EQ(run({"archive", "add", archive, "--empty", "--title", tooLong}).status, 2);
  EXPECT_EQ(run({"archive", "extract", archive, "0", "o.bmp"}).status, 2);
  EXPECT_EQ(run({"archive", "extract", archive, "257", "o.bmp"}).status, 2);
  EXPECT_EQ(run({"archive", "list", archive, "--title", "x"}).status, 2);
  EXPECT_EQ(run({"archive", "--help"}).status, 0);
}

TEST_F(ArchiveCli, MaxDecidesWhatIsListedAsOverAndWhatFits) {
  const std::string wide = bitmap("wide.bmp", 1100, 8, 8);
  ASSERT_EQ(run({"archive", "create", archive}).status, 0);
  EXPECT_EQ(run({"archive", "add", archive, wide}).status, 1);
  EXPECT_EQ(run({"archive", "add", archive, wide, "--max", "2048x1024"}).out, "1\n");
  EXPECT_EQ(run({"archive", "list", archive}).out, "items=1\n#1  (Over) wide (1100x8)\n");
  EXPECT_EQ(run({"archive", "list", archive, "--max", "2048x1024"}).out,
            "items=1\n#1  (画像) wide (1100x8)\n");
  // The item is listed as Over but its 8800 bytes fit the buffers of the default limits.
  EXPECT_EQ(run({"archive", "extract", archive, "1", dir.file("w.raw")}).status, 0);
  EXPECT_EQ(readBytes(dir.file("w.raw")).size(), 1100u * 8);
}

}  // namespace
}  // namespace vemla::cli
