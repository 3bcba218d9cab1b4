// vemla-cli edit: one run per kind of action and the refusals, on a small hand-made picture.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(EditVerb, AppliesOneActionAndCountsTheChangedPixels) {
  TempDir dir;
  const std::string in = dir.file("in.raw"), out = dir.file("out.raw"), table = dir.file("t.txt");
  std::vector<std::uint8_t> pixels(8 * 8);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i);
  writeBytes(in, pixels);
  const auto edit = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {"edit", in, out, "--raw", "8x8"});
    return run(words);
  };
  CliRun result = edit({"--op", "add", "--value", " 0x10 ", "--rect", "1,1,2,2", "--grey", "17,9"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "changed=3\n");  // 9, 10 and 17; 18 is above the grey range
  std::vector<std::uint8_t> expected = pixels;
  for (const int i : {9, 10, 17}) expected[i] += 16;
  EXPECT_EQ(readBytes(out), expected);

  EXPECT_EQ(edit({"--flip", "horizontal"}).out, "changed=64\n");
  EXPECT_EQ(edit({"--invert", "--rect", "0,0,6,7", "--outside"}).out, "changed=8\n");
  EXPECT_EQ(edit({"--rotate", "180"}).out, "changed=64\n");
  EXPECT_EQ(edit({"--shift", "1,0", "--division", "4", "--shift-interp", "linear"}).status, 0);
  EXPECT_EQ(readBytes(out)[8 + 1], 8);
  std::string identity;
  for (int v = 0; v < 256; ++v) identity += std::to_string(v) + (v % 16 == 15 ? "\n" : " ");
  writeBytes(table, std::vector<std::uint8_t>(identity.begin(), identity.end()));
  EXPECT_EQ(edit({"--table", table}).out, "changed=0\n");
  result = edit({"--table", table, "--interpolate", "0,255", "--interpolate", "10,0"});
  EXPECT_EQ(result.out, "changed=0\n") << result.err;

  result = edit({"--op", "mod", "--value", "0.5"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "浮動小数のﾃﾞｰﾀは使用できません\n");
  EXPECT_EQ(edit({"--op", "div", "--value", "0x0"}).err, "０で除算はできません\n");
  EXPECT_EQ(edit({"--op", "set", "--value", "2147483648"}).err, "演算に用いる値に誤りがあります\n");
  EXPECT_EQ(edit({"--rotate", "90", "--rect", "0,0,1,1", "--outside"}).err,
            "座標範囲外の指定はできません\n");
  // A table that cannot be read is a refusal, not a usage error.
  const std::string missing = dir.file("none.txt");
  result = edit({"--table", missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ﾌｧｲﾙの読み込みに失敗しました\n" + missing + "\n");
  for (const std::vector<std::string>& usage : std::initializer_list<std::vector<std::string>>{
           {},
           {"--invert", "--rotate", "90"},
           {"--rotate", "360"},
           {"--op", "add"},
           {"--invert", "--grey", "1,2"},
           {"--invert", "--rect", "0,0,8,1"},
           {"--op", "set", "--value", std::string(31, '1')},
           {"--shift", "0.3,0"}})
    EXPECT_EQ(edit(usage).status, 2);
}

}  // namespace
}  // namespace vemla::cli
