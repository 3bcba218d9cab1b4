#include "workbench/commands/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_user_port.h"

namespace vemla {
namespace {

using testing::FakeUserPort;

TEST(CommandLine, KeepsAtMostTwoNames) {
  FakeUserPort user;
  EXPECT_EQ(commandLineNames({}, user), CommandLineNames{});
  EXPECT_EQ(commandLineNames({"/p/with blank/a.bmp"}, user).names,
            (std::array<std::string, 2>{"/p/with blank/a.bmp", ""}));
  EXPECT_EQ(commandLineNames({"a.bmp", "b.raw", "c.bmp", "d.bmp"}, user).names,
            (std::array<std::string, 2>{"a.bmp", "b.raw"}));
  // An empty argument stays an empty name in its place.
  EXPECT_EQ(commandLineNames({"", "b.bmp"}, user).names, (std::array<std::string, 2>{"", "b.bmp"}));
  EXPECT_TRUE(user.messages.empty());
}

TEST(CommandLine, FirstNameEndingInVlaOpensTheArchive) {
  FakeUserPort user;
  const CommandLineNames archive = commandLineNames({"/p/set.VLA", "b.bmp"}, user);
  EXPECT_EQ(archive.archivePath, "/p/set.VLA");
  EXPECT_EQ(archive.names, (std::array<std::string, 2>{"", ""}));
  // Only the first name counts, and ".vla" alone is no archive name.
  EXPECT_EQ(commandLineNames({"a.bmp", "set.vla"}, user).archivePath, "");
  EXPECT_EQ(commandLineNames({".vla"}, user).archivePath, "");
  EXPECT_EQ(commandLineNames({"archivevla"}, user).archivePath, "");
}

TEST(CommandLine, NameTooLongForItsFieldOpensNothing) {
  FakeUserPort user;
  const std::string fits(511, 'a');
  EXPECT_EQ(commandLineNames({fits, "b.bmp"}, user).names[0], fits);
  EXPECT_TRUE(user.messages.empty());

  const std::string tooLong(512, 'a');
  EXPECT_EQ(commandLineNames({"a.bmp", tooLong}, user), CommandLineNames{});
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙ名が長すぎます");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);

  // 256 two-byte CP932 characters need 512 bytes plus the terminator.
  user.messages.clear();
  std::string kanji;
  for (int i = 0; i < 256; ++i) kanji += "画";
  EXPECT_EQ(commandLineNames({kanji + ".vla"}, user), CommandLineNames{});
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙ名が長すぎます");
}

TEST(CommandLine, NameCp932CannotHoldIsTakenAsItIs) {
  FakeUserPort user;
  EXPECT_EQ(commandLineNames({"/p/\xF0\x9F\x98\x80.bmp", "/p/café.bmp"}, user).names,
            (std::array<std::string, 2>{"/p/\xF0\x9F\x98\x80.bmp", "/p/café.bmp"}));
  EXPECT_TRUE(user.messages.empty());
}

TEST(CommandLine, ViewerHandOverNeedsExactlyOnePictureName) {
  EXPECT_TRUE(isViewerHandOver({"/p/a.bmp", ""}));
  EXPECT_TRUE(isViewerHandOver({"/p/a.RAW", ""}));
  EXPECT_FALSE(isViewerHandOver({"/p/a.bmp", "/p/b.bmp"}));
  EXPECT_FALSE(isViewerHandOver({"", "/p/b.bmp"}));
  EXPECT_FALSE(isViewerHandOver({"/p/a.vla", ""}));
  EXPECT_FALSE(isViewerHandOver({"/p/a.txt", ""}));
  EXPECT_FALSE(isViewerHandOver({"", ""}));
}

}  // namespace
}  // namespace vemla
