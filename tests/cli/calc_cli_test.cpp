#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"

namespace vemla::cli {
namespace {

struct CalcRun {
  int status;
  std::string out;
  std::string err;
};

CalcRun calc(std::vector<std::string> words) {
  words.insert(words.begin(), "calc");
  std::ostringstream out, err;
  const int status = runCli(words, out, err);
  return {status, out.str(), err.str()};
}

TEST(CalcCli, PrintsTheResultFieldText) {
  const CalcRun power = calc({"2\"10"});
  EXPECT_EQ(power.status, 0);
  EXPECT_EQ(power.out, "1024   (0x400)\n");
  EXPECT_EQ(power.err, "");
  EXPECT_EQ(calc({"1/3"}).out, "0.33333333\n");
  EXPECT_EQ(calc({"-1"}).out, "-1   (0xFFFFFFFF)\n");  // a single dash is no option
  EXPECT_EQ(calc({" 1 000 * ( 2 + 3 ) "}).out, "5000   (0x1388)\n");
}

TEST(CalcCli, SignedHexSwitchesHowHexadecimalIsRead) {
  EXPECT_EQ(calc({"0xffffffff"}).out, "4294967295   (0xFFFFFFFF)\n");
  EXPECT_EQ(calc({"0xffffffff", "--signed-hex"}).out, "-1   (0xFFFFFFFF)\n");
  EXPECT_EQ(calc({"--signed-hex", "4294967295"}).out, "4294967295\n");
}

TEST(CalcCli, SyntaxErrorsFailWithTheCalculatorsText) {
  const CalcRun error = calc({"1e3"});
  EXPECT_EQ(error.status, 1);
  EXPECT_EQ(error.out, "");
  EXPECT_EQ(error.err, "式に誤りがあります\n");
  EXPECT_EQ(calc({std::string(511, '1')}).status, 1);
  const CalcRun tooLong = calc({"2\"1000"});  // 302 digits: never printed cut
  EXPECT_EQ(tooLong.status, 1);
  EXPECT_EQ(tooLong.out, "");
  EXPECT_EQ(tooLong.err, "式に誤りがあります\n");
}

TEST(CalcCli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(calc({}).status, 2);
  EXPECT_EQ(calc({"1", "2"}).status, 2);
  EXPECT_EQ(calc({"1", "--signed"}).status, 2);
  EXPECT_EQ(calc({"1", "--signed-hex", "--signed-hex"}).status, 2);
  const CalcRun help = calc({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--signed-hex"), std::string::npos);
}

}  // namespace
}  // namespace vemla::cli
