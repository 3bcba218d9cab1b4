#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

class StateCli : public ::testing::Test {
 protected:
  std::string bitmap(const std::string& name, int salt) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(16, 12, 8, [salt](int x, int y) {
                 return Bytes{static_cast<std::uint8_t>(x * salt + y)};
               }));
    return path;
  }
  TempDir dir;
};

TEST_F(StateCli, SaveInfoExtractRoundTripBitForBit) {
  const std::string p1 = bitmap("p1.bmp", 3), p2 = bitmap("p2.bmp", 5), r = bitmap("r.bmp", 7);
  const std::string vic = dir.file("s.vic");
  const CliRun saved = run({"state", "save", p1, p2, vic, "--kinds", "2,4", "--colours", "1,3",
                            "--mag", "8", "--centre", "3,4", "--result", r});
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.out, "size=16x12 bytes=" + std::to_string(3872 + 3 * 16 * 12) + "\n");

  const CliRun info = run({"info", vic});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out.substr(0, info.out.find('\n')),
            "format=2 size=16x12 division=16 reduced=0 centre=3,4 mag=8 kinds=2,4 colours=1,3");
  EXPECT_NE(info.out.find("name1=" + p1 + "\nname2=" + p2 + "\n"), std::string::npos);
  EXPECT_NE(info.out.find("colour1=標準ｶﾗｰ\n"), std::string::npos);
  EXPECT_EQ(run({"state", "info", vic}).out, info.out);

  const CliRun extracted = run({"state", "extract", vic, dir.file("o1.bmp"), dir.file("o2.bmp"),
                                "--result", dir.file("o3.bmp")});
  ASSERT_EQ(extracted.status, 0) << extracted.err;
  EXPECT_EQ(extracted.out, "size=16x12 warnings=0\n");
  // Palette and pixel rows (16 bytes wide, no padding) as in the pictures saved.
  const auto body = [](const std::string& path) {
    const Bytes bytes = readBytes(path);
    return Bytes(bytes.begin() + 54, bytes.end());
  };
  EXPECT_EQ(body(dir.file("o1.bmp")), body(p1));
  EXPECT_EQ(body(dir.file("o2.bmp")), body(p2));
  const Bytes result = body(dir.file("o3.bmp")), source = body(r);
  EXPECT_TRUE(std::equal(result.end() - 16 * 12, result.end(), source.end() - 16 * 12));

  // The extracted pictures saved again give the same state file.
  const std::string again = dir.file("again.vic");
  ASSERT_EQ(
      run({"state", "save", dir.file("o1.bmp"), dir.file("o2.bmp"), again, "--kinds", "2,4",
           "--colours", "1,3", "--mag", "8", "--centre", "3,4", "--result", dir.file("o3.bmp")})
          .status,
      0);
  Bytes first = readBytes(vic), second = readBytes(again);
  // Only the names differ: blank both name fields.
  for (Bytes* bytes : {&first, &second}) std::fill(bytes->begin() + 16, bytes->begin() + 1040, 0);
  EXPECT_EQ(first, second);
}

// Every refusal names the state file; a file cut short is refused by 'state info' as by
// 'state extract', which needs its pictures.
TEST_F(StateCli, RefusalsAndUsage) {
  const std::string bad = dir.file("bad.vic"), cut = dir.file("cut.vic");
  writeBytes(bad, Bytes(100, 1));
  ASSERT_EQ(run({"state", "save", bitmap("p1.bmp", 3), bitmap("p2.bmp", 5), cut}).status, 0);
  Bytes whole = readBytes(cut);
  whole.resize(whole.size() / 2);
  writeBytes(cut, whole);
  struct Case {
    std::vector<std::string> words;
    std::string err;
  };
  const Case cases[] = {
      {{"state", "info", bad}, "記憶情報ﾌｧｲﾙに異常があります\n" + bad + "\n"},
      {{"state", "extract", bad, dir.file("a.bmp"), dir.file("b.bmp")},
       "状態記憶ﾌｧｲﾙではありません\n" + bad + "\n"},
      {{"state", "info", cut}, "記憶情報ﾌｧｲﾙに異常があります\n" + cut + "\n"},
      {{"info", cut}, "記憶情報ﾌｧｲﾙに異常があります\n" + cut + "\n"},
      {{"state", "extract", cut, dir.file("a.bmp"), dir.file("b.bmp")},
       "状態の回復に失敗しました\n" + cut + "\n"},
      {{"state", "save", bitmap("p1.bmp", 3), bitmap("p2.bmp", 5), dir.file("none/s.vic")},
       "状態の記憶に失敗しました\n" + dir.file("none/s.vic") + "\n"},
  };
  for (const Case& c : cases) {
    const CliRun refused = run(c.words);
    EXPECT_EQ(refused.status, 1) << c.words[1] << " " << c.words[2];
    EXPECT_EQ(refused.out, "") << c.words[1] << " " << c.words[2];
    EXPECT_EQ(refused.err, c.err) << c.words[1] << " " << c.words[2];
  }
  EXPECT_EQ(run({"state", "save", "a.bmp", "b.bmp", "c.vic", "--kinds", "10,0"}).status, 2);
  EXPECT_EQ(run({"state", "info", dir.file("bad.vic"), "--mag", "2"}).status, 2);
  EXPECT_EQ(run({"state", "frobnicate"}).status, 2);
}

}  // namespace
}  // namespace vemla::cli
