#include "cli/option_flags.h"

#include <gtest/gtest.h>

#include "options/option_table.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

// A flag that stands for an option accepts exactly the option's range: one past either end is
// a usage error that names the range, and both ends pass the range check.
struct OptionFlag {
  std::vector<std::string> words;  // the command up to the flag
  const char* flag;
  const char* option;
};

TEST(OptionFlags, EachFlagTakesTheRangeOfItsOption) {
  testing::TempDir dir;
  const std::string picture = dir.file("a.bmp");
  testing::writeBytes(
      picture, testing::makeBitmap(8, 8, 8, [](int, int) { return std::vector<std::uint8_t>{1}; }));
  const std::string out = dir.file("out.bmp");
  const OptionFlag flags[] = {
      {{"export", picture, picture, "--password", "pw"}, "--port", "NetworkPort"},
      {{"export", picture, picture, "--password", "pw"}, "--timeout", "ExportTimeout"},
      {{"import", "127.0.0.1", out, out, "--password", "pw"}, "--port", "NetworkPort"},
      {{"import", "127.0.0.1", out, out, "--password", "pw"}, "--timeout", "ImportTimeout"},
      {{"image", picture, picture, out}, "--division", "ShiftUnit"},
      {{"image", picture, picture, out, "--kind", "5"}, "--area-method", "AreaDiffKind"},
  };
  for (const OptionFlag& flag : flags) {
    const OptionDescriptor& option = optionNamed(flag.option);
    const std::string range = std::to_string(option.low) + ".." + std::to_string(option.high);
    for (const std::int64_t outside : {option.low - 1, option.high + 1}) {
      std::vector<std::string> words = flag.words;
      words.insert(words.end(), {flag.flag, std::to_string(outside)});
      const CliRun result = run(words);
      EXPECT_EQ(result.status, 2) << flag.flag << ' ' << outside;
      EXPECT_NE(result.err.find(std::string(flag.flag) + " must be " + range), std::string::npos)
          << result.err;
    }
    for (const std::int64_t inside : {option.low, option.high}) {
      EXPECT_EQ(parseOptionInt(std::to_string(inside), flag.option, flag.flag), inside);
    }
  }
}

TEST(OptionFlags, MaximumSizeAndPasswordFollowTheirOptions) {
  const OptionDescriptor& size = optionNamed("MaxPictureWidth");
  const std::string outside = std::to_string(size.high + 4);
  const CliRun tooLarge = run({"convert", "a.bmp", "b.bmp", "--max", outside + "x1024"});
  EXPECT_EQ(tooLarge.status, 2);
  EXPECT_NE(tooLarge.err.find(std::to_string(size.low) + ".." + std::to_string(size.high)),
            std::string::npos);

  const OptionDescriptor& password = optionNamed("ImportPassword");
  const CliRun tooLong = run({"export", "a.bmp", "b.bmp", "--password",
                              std::string(static_cast<std::size_t>(password.high) + 1, 'p')});
  EXPECT_EQ(tooLong.status, 2);
  EXPECT_NE(tooLong.err.find("at most " + std::to_string(password.high) + " CP932 bytes"),
            std::string::npos);
}

TEST(OptionFlags, HelpTextsShowTheTablesRangesAndDefaults) {
  EXPECT_EQ(withOptionValues("{NetworkPort:range} (default {NetworkPort}), {AreaDiffDivisor}, "
                             "{GreyRatioR}, {GridColour1}, at most {ImportPassword:high}"),
            "1..65535 (default 24100), 9, 0.299, 0,255,0, at most 62");
  EXPECT_EQ(withOptionValues("no reference"), "no reference");
}

}  // namespace
}  // namespace vemla::cli
