#include "persist/own_options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gallery/file_size_limit.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

using Conversion = SixteenBitConversion;
constexpr Conversion kDefault{};
constexpr Conversion kTop{SixteenBitRule::TopByte};
constexpr Conversion kWindow{SixteenBitRule::Window, 100, 4095};

TEST(OwnOptions, EveryRuleWritesOneLineThatReadsBack) {
  const struct {
    Conversion conversion;
    const char* line;
  } cases[] = {
      {kDefault, "SixteenBit=auto"},
      {kTop, "SixteenBit=top"},
      {kWindow, "SixteenBit=window:100,4095"},
      {{SixteenBitRule::Window, 0, 65535}, "SixteenBit=window:0,65535"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Options options;
    options.SixteenBit = c.conversion;
    const std::string text = encodeOwnOptions(options);
    EXPECT_EQ(text, "# Vemla: options beyond the settings files (UTF-8, Name=value)\n"
                    "DisplayLanguage=0\n" +
                        std::string(c.line) + "\n");
    Options read;
    read.SixteenBit = kTop;
    ASSERT_TRUE(decodeOwnOptions(text, read));
    EXPECT_EQ(read, options);
  }
}

TEST(OwnOptions, HostileLinesLeaveTheDefaultAndMarkTheFile) {
  const struct {
    std::string text;
    Conversion expected;
    bool understood;
  } cases[] = {
      {"", kDefault, true},
      {"# only a comment\r\n\r\n", kDefault, true},
      {"  SixteenBit =\twindow:100,4095 \r\n", kWindow, true},
      {"SixteenBit=top\nSixteenBit=window:100,4095\n", kWindow, true},  // the last one counts
      {"SixteenBit=window:100,4095\nSixteenBit=bad\n", kDefault, false},
      {"SixteenBit=window:5,5\n", kDefault, false},
      {"SixteenBit=window:5,4\n", kDefault, false},
      {"SixteenBit=window:0,65536\n", kDefault, false},
      {"SixteenBit=window:-1,10\n", kDefault, false},
      {"SixteenBit=window:1,2,3\n", kDefault, false},
      {"SixteenBit=window:+1,2\n", kDefault, false},
      {"SixteenBit=TOP\n", kDefault, false},
      {"SixteenBit\n", kDefault, false},
      {"=top\n", kDefault, false},
      {"Unknown=1\nSixteenBit=top\n", kTop, false},
      {"ShiftUnit=2\nSixteenBit=top\n", kTop, false},  // a settings file's option stays there
      {std::string("SixteenBit=top\0\n", 16), kDefault, false},
      {"SixteenBit=" + std::string(2000, '1') + "\nSixteenBit=top", kTop, false},
      {"\xFF\xFE=\x80\nSixteenBit=top\n", kTop, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    Options options;
    options.SixteenBit = kWindow;  // what a failed line falls back to is the default, not this
    options.ShiftUnit = 64;
    EXPECT_EQ(decodeOwnOptions(c.text, options), c.understood);
    EXPECT_EQ(options.SixteenBit, c.expected);
    EXPECT_EQ(options.ShiftUnit, 64);  // no other option is touched
  }
}

// The language is read quietly before anything is shown; what does not read is Automatic.
TEST(OwnOptions, StoredLanguageIsReadBeforeTheRest) {
  using C = text::LanguageChoice;
  const struct {
    const char* file;  // nullptr: no file
    C expected;
  } cases[] = {
      {nullptr, C::Automatic},          {"DisplayLanguage=2\n", C::English},
      {"DisplayLanguage=1\r\n", C::Japanese}, {"DisplayLanguage=3\n", C::Automatic},
      {"DisplayLanguage=-1\n", C::Automatic},  {"DisplayLanguage=x\nSixteenBit=top\n", C::Automatic},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file == nullptr ? "absent" : c.file);
    TempDir folder;
    if (c.file != nullptr) {
      const std::string_view text(c.file);
      writeBytes(folder.path() + "/" + kOwnOptionsFile,
                 std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    EXPECT_EQ(storedLanguageChoice(folder.path()), c.expected);
  }
}

TEST(OwnOptions, FileIsReplacedAtomicallyAndADamagedOneKeptOnce) {
  TempDir dir;
  FakeUserPort user;
  const std::string path = dir.file(kOwnOptionsFile);
  Options options;
  EXPECT_EQ(loadOwnOptions(dir.path(), options, user), LoadStatus::Absent);

  options.SixteenBit = kWindow;
  bool keepBad = false;
  ASSERT_TRUE(saveOwnOptions(dir.path(), options, keepBad, user));
  const std::vector<std::uint8_t> saved = readBytes(path);
  options.SixteenBit = kTop;
  {
    const testing::FileSizeLimit limit(8);
    EXPECT_FALSE(saveOwnOptions(dir.path(), options, keepBad, user));
  }
  EXPECT_EQ(readBytes(path), saved);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙの書き込みができません\n" + path);

  Options read;
  EXPECT_EQ(loadOwnOptions(dir.path(), read, user), LoadStatus::Loaded);
  EXPECT_EQ(read.SixteenBit, kWindow);

  // Lines it does not understand: what reads is taken, and the file is kept once as ".bad".
  writeBytes(path, {'S', 'i', 'x', 't', 'e', 'e', 'n', 'B', 'i', 't', '=', '?', '\n'});
  EXPECT_TRUE(keepsBadFile(loadOwnOptions(dir.path(), read, user)));
  EXPECT_EQ(read.SixteenBit, kDefault);
  keepBad = true;
  ASSERT_TRUE(saveOwnOptions(dir.path(), options, keepBad, user));
  EXPECT_FALSE(keepBad);
  EXPECT_EQ(readBytes(path + ".bad").size(), 13u);

  // Longer than the limit, or not a regular file: the defaults, with the read message.
  writeBytes(path, std::vector<std::uint8_t>(kOwnOptionsLimit + 1, '#'));
  user.messages.clear();
  read.SixteenBit = kTop;
  EXPECT_EQ(loadOwnOptions(dir.path(), read, user), LoadStatus::ReadFailed);
  EXPECT_EQ(read.SixteenBit, kDefault);
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙの読み込みができません\n" + path);
}

}  // namespace
}  // namespace vemla::persist
