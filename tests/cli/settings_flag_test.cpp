#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "persist/program_settings.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult runWords(const std::vector<std::string>& words) {
  std::ostringstream out, err;
  const int status = runCli(words, out, err);
  return {status, out.str(), err.str()};
}

class SettingsFlag : public ::testing::Test {
 protected:
  void SetUp() override {
    // A 24-bit picture whose every pixel is blue 200, green 0, red 0.
    writeBytes(dir.file("blue.bmp"), makeBitmap(8, 8, 24, [](int, int) {
                 return std::vector<std::uint8_t>{200, 0, 0};
               }));
    std::filesystem::create_directory(dir.file("settings"));
    persist::ProgramSettings settings;
    settings.options.TrueColourOpenMode = kTrueColourGrey;
    settings.options.GreyRatio = {0.0, 0.0, 1.0};
    writeBytes(dir.file("settings/VemlaPinf.dat"), persist::encodeProgramSettings(settings));
  }
  std::vector<std::uint8_t> converted(std::vector<std::string> extra) {
    std::vector<std::string> words{"convert", dir.file("blue.bmp"), dir.file("out.raw")};
    words.insert(words.end(), extra.begin(), extra.end());
    const CliResult result = runWords(words);
    EXPECT_EQ(result.status, 0) << result.err;
    return readBytes(dir.file("out.raw"));
  }
  TempDir dir;
};

TEST_F(SettingsFlag, OptionsComeFromTheFoldersSettingsFile) {
  EXPECT_EQ(converted({"--settings", dir.file("settings")}), std::vector<std::uint8_t>(64, 200));
}

TEST_F(SettingsFlag, CommandLineFlagsStillWin) {
  EXPECT_EQ(converted({"--settings", dir.file("settings"), "--ratios", "0,0,0.5"}),
            std::vector<std::uint8_t>(64, 100));
  const std::vector<std::uint8_t> factory = converted({});
  EXPECT_NE(factory, std::vector<std::uint8_t>(64, 200));  // quantized, not grey
  EXPECT_EQ(converted({"--settings", dir.file("settings"), "--true-colour", "quantize"}), factory);
}

TEST_F(SettingsFlag, FolderWithoutSettingsGivesTheFactoryOptions) {
  std::filesystem::create_directory(dir.file("empty"));
  EXPECT_EQ(converted({"--settings", dir.file("empty")}), converted({}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("empty/VemlaPinf.dat")));  // never created
}

TEST_F(SettingsFlag, EveryCommandAcceptsItAndRefusesABadOne) {
  EXPECT_EQ(runWords({"info", dir.file("blue.bmp"), "--settings", dir.file("settings")}).status, 0);
  const CliResult missing =
      runWords({"info", dir.file("blue.bmp"), "--settings", dir.file("nowhere")});
  EXPECT_EQ(missing.status, 2);

  writeBytes(dir.file("settings/VemlaPinf.dat"), {'V', 'I', 'P', '7'});
  const CliResult newer =
      runWords({"info", dir.file("blue.bmp"), "--settings", dir.file("settings")});
  EXPECT_EQ(newer.status, 1);
  EXPECT_EQ(newer.err, "ﾌﾟﾛｸﾞﾗﾑ情報ﾌｧｲﾙのﾊﾞｰｼﾞｮﾝに矛盾があります\n" +
                           dir.file("settings/VemlaPinf.dat") + "\n");
}

// A file cut short is read as far as it goes and the rest takes the factory settings, which
// vemla-cli says once on stderr.
TEST_F(SettingsFlag, ADamagedFileIsToldAndTheFactorySettingsFillIt) {
  const std::string file = dir.file("settings/VemlaPinf.dat");
  std::vector<std::uint8_t> bytes = readBytes(file);
  bytes.resize(bytes.size() / 2);
  writeBytes(file, bytes);
  const CliResult damaged =
      runWords({"info", dir.file("blue.bmp"), "--settings", dir.file("settings")});
  EXPECT_EQ(damaged.status, 0);
  EXPECT_EQ(damaged.err, "vemla-cli: " + file +
                             " is damaged (shorter than its version needs): the factory settings "
                             "are used for what is missing\n");
  EXPECT_EQ(runWords({"info", dir.file("blue.bmp")}).err, "");
}

}  // namespace
}  // namespace vemla::cli
