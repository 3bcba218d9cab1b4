#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/verbs.h"
#include "processing/image_kinds.h"
#include "support/cli_run.h"
#include "support/test_files.h"
#include "text/translate.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class Cli : public ::testing::Test {
 protected:
  std::string bitmap(const std::string& name, int width, int height, int bits) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, height, bits, [bits](int x, int y) {
                 const auto v = static_cast<std::uint8_t>(10 * x + y);
                 return std::vector<std::uint8_t>(bits / 8, v);
               }));
    return path;
  }
  TempDir dir;
};

TEST_F(Cli, InfoDescribesBitmapsOfEveryDepthAndOrientation) {
  EXPECT_EQ(run({"info", bitmap("a.bmp", 9, 7, 8)}).out, "bmp 9 7 8 bottom-up\n");
  EXPECT_EQ(run({"info", bitmap("b.bmp", 9, -7, 24)}).out, "bmp 9 7 24 top-down\n");
  EXPECT_EQ(run({"info", bitmap("c.bmp", 3, 2, 32)}).out, "bmp 3 2 32 bottom-up\n");
}

TEST_F(Cli, InfoRefusesWhatIsNotABitmapWithTheWorkbenchMessage) {
  const std::string missing = dir.file("missing.bmp");
  const CliRun result = run({"info", missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ﾌｧｲﾙの読み込みに失敗しました\n" + missing + "\n");
  const std::string text = dir.file("notes.txt");
  writeBytes(text, {'h', 'i'});
  EXPECT_EQ(run({"info", text}).status, 1);
}

// In English the messages on stderr are the catalogue's: vemla-cli's own refusals and what the
// workbench tells while it opens a picture.
TEST_F(Cli, MessagesOnStderrFollowTheLanguageInUse) {
  struct English {
    English() { EXPECT_TRUE(text::useLanguage(text::Language::English, VEMLA_CATALOGUE)); }
    ~English() { text::useLanguage(text::Language::Japanese, {}); }
  } english;
  const std::string missing = dir.file("missing.bmp");
  EXPECT_EQ(run({"info", missing}).err, "Could not read the file\n" + missing + "\n");
  const CliRun opened = run({"convert", missing, dir.file("out.bmp")});
  EXPECT_EQ(opened.status, 1);
  EXPECT_EQ(opened.err, "Could not read the file\n" + missing + "\n");
  EXPECT_EQ(run({"info", dir.file("notes.txt")}).err,
            "Unsupported file format\n" + dir.file("notes.txt") + "\n");
}

TEST_F(Cli, ConvertRoundTripsThroughRaw) {
  const std::string in = bitmap("in.bmp", 12, -9, 8);
  const std::string raw = dir.file("out.raw");
  ASSERT_EQ(run({"convert", in, raw}).status, 0);
  const auto bytes = readBytes(raw);
  ASSERT_EQ(bytes.size(), 12u * 9u);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[2 * 12 + 3], 32);  // (x 3, y 2) top-down

  const std::string back = dir.file("back.bmp");
  const CliRun result = run({"convert", raw, back, "--raw", "12x9", "--grey-save"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(run({"info", back}).out, "bmp 12 9 8 bottom-up\n");
  const auto written = readBytes(back);
  ASSERT_EQ(written.size(), 1078u + 12u * 9u);
  EXPECT_EQ(written[54 + 4 * 200], 200);  // grey ramp palette
  // Bottom-up: the first stored row is picture row 8.
  EXPECT_EQ(written[1078 + 3], 38);
}

TEST_F(Cli, ConvertKeepsThePaletteUnlessGreySaveIsAsked) {
  const std::string in = bitmap("in.bmp", 8, 8, 8);
  const std::string out = dir.file("out.bmp");
  ASSERT_EQ(run({"convert", in, out}).status, 0);
  const auto written = readBytes(out);
  ASSERT_GE(written.size(), 1078u);
  // The test bitmaps' palette entry i is (i, 255 - i, i / 2, 0).
  EXPECT_EQ(written[54 + 4 * 10 + 1], 245);
}

TEST_F(Cli, ConvertTrueColourToGreyWithRatios) {
  const std::string in = bitmap("in.bmp", 8, 8, 24);
  const std::string out = dir.file("out.raw");
  ASSERT_EQ(run({"convert", in, out, "--true-colour", "grey", "--ratios", "0.5,0.5,0"}).status, 0);
  const auto bytes = readBytes(out);
  ASSERT_EQ(bytes.size(), 64u);
  EXPECT_EQ(bytes[1 * 8 + 2], 21);  // every channel 21: 0.5 * 21 + 0.5 * 21
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
  const std::string in = bitmap("in.bmp", 8, 8, 8);
  EXPECT_EQ(run({}).status, 2);
  EXPECT_EQ(run({"frobnicate"}).status, 2);
  EXPECT_EQ(run({"convert", in}).status, 2);
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--bogus"}).status, 2);
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--max", "1000x1024"}).status, 2);
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--max", "2050x2048"}).status, 2);
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--true-colour", "sepia"}).status, 2);
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--ratios", "1,2"}).status, 2);
  for (const char* rule : {"window:5,4", "window:0,65536", "bottom"}) {
    EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--sixteen", rule}).status, 2) << rule;
  }
  EXPECT_EQ(run({"convert", in, dir.file("o.bmp"), "--sixteen", "window:0,4095"}).status, 0);
  // Out-of-range raw sizes are refused, never corrected.
  const std::string raw = dir.file("r.raw");
  writeBytes(raw, std::vector<std::uint8_t>(64));
  EXPECT_EQ(run({"convert", raw, dir.file("o.bmp"), "--raw", "7x8"}).status, 2);
  EXPECT_EQ(run({"convert", raw, dir.file("o.bmp"), "--raw", "8x8+-1"}).status, 2);
  EXPECT_EQ(run({"convert", raw, dir.file("o.bmp")}).status, 2);
  EXPECT_EQ(run({"convert", raw, dir.file("o.bmp"), "--raw", "8x8+0"}).status, 0);
}

TEST_F(Cli, RefusedOperationsExitWithOne) {
  const std::string in = bitmap("in.bmp", 8, 8, 8);
  const CliRun wrongOut = run({"convert", in, dir.file("out.jpg")});
  EXPECT_EQ(wrongOut.status, 1);
  EXPECT_EQ(wrongOut.err, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n" + dir.file("out.jpg") + "\n");
  const CliRun tooSmall = run({"convert", bitmap("small.bmp", 7, 8, 8), dir.file("o.bmp")});
  EXPECT_EQ(tooSmall.status, 1);
  EXPECT_EQ(tooSmall.err, "画像ｻｲｽﾞが小さすぎます(最小 8ｘ8)\n");
  const CliRun unwritable = run({"convert", in, dir.file("missing-folder/o.bmp")});
  EXPECT_EQ(unwritable.status, 1);
}

TEST_F(Cli, MaxRaisesTheSizeLimit) {
  const std::string wide = bitmap("wide.bmp", 1100, 8, 8);
  EXPECT_EQ(run({"convert", wide, dir.file("o.raw")}).status, 1);
  EXPECT_EQ(run({"convert", wide, dir.file("o.raw"), "--max", "2048x1024"}).status, 0);
}

TEST_F(Cli, HelpIsAvailableForEveryCommand) {
  EXPECT_EQ(run({"--help"}).status, 0);
  const CliRun convertHelp = run({"convert", "--help"});
  EXPECT_EQ(convertHelp.status, 0);
  EXPECT_NE(convertHelp.out.find("--grey-save"), std::string::npos);
  EXPECT_EQ(run({"info", "--help"}).status, 0);
  // Every verb of the table: its help, and its line in the general usage.
  const std::string usage = run({"--help"}).out;
  for (const Command& verb : verbTable()) {
    const std::string name = verb.name;
    const CliRun help = run({name, "--help"});
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_TRUE(help.out.starts_with("usage: vemla-cli " + name + ' ')) << name;
    EXPECT_NE(usage.find("\n  " + name + ' '), std::string::npos) << name;
  }
}

// compare's --kind takes the kinds the kind table marks as judged, and its help names them.
TEST_F(Cli, CompareHelpNamesEveryJudgedKind) {
  const KindRange judged = judgedKinds();
  std::string kinds = "--kind " + std::to_string(judged.first);
  for (int kind = judged.first + 1; kind <= judged.last; ++kind)
    kinds += '|' + std::to_string(kind);
  EXPECT_NE(run({"compare", "--help"}).out.find(kinds + ' '), std::string::npos) << kinds;
}

}  // namespace
}  // namespace vemla::cli
