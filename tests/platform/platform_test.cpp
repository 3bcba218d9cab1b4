#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/program_folder.h"
#include "platform/running_copy.h"

namespace vemla::platform {
namespace {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vemla-platform-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(ProgramFolder, VemlaHomeWinsAndIsCreated) {
  TempFolder temp;
  const std::string home = temp.path() + "/home/vemla";
  EXPECT_EQ(chooseProgramFolder(home.c_str(), temp.path(), "/nonexistent"), home);
  EXPECT_TRUE(std::filesystem::is_directory(home));
}

TEST(ProgramFolder, WritableExecutableFolderComesNext) {
  TempFolder temp;
  EXPECT_EQ(chooseProgramFolder("", temp.path(), "/nonexistent"), temp.path());
  EXPECT_EQ(chooseProgramFolder(nullptr, temp.path(), "/nonexistent"), temp.path());
}

TEST(ProgramFolder, OtherwiseTheUsersDataFolder) {
  TempFolder temp;
  const std::string missingExecutableFolder = temp.path() + "/no/such/folder";
  EXPECT_EQ(chooseProgramFolder(nullptr, missingExecutableFolder, temp.path().c_str()),
            temp.path() + "/.local/share/Vemla");
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() + "/.local/share/Vemla"));
  EXPECT_EQ(chooseProgramFolder(nullptr, "", temp.path().c_str()),
            temp.path() + "/.local/share/Vemla");
}

TEST(ProgramFolder, ThisProcessHonoursVemlaHome) {
  TempFolder temp;
  const char* saved = std::getenv("VEMLA_HOME");
  const std::string previous = saved != nullptr ? saved : "";
  ::setenv("VEMLA_HOME", temp.path().c_str(), 1);
  EXPECT_EQ(programFolder(), temp.path());
  if (saved != nullptr) {
    ::setenv("VEMLA_HOME", previous.c_str(), 1);
  } else {
    ::unsetenv("VEMLA_HOME");
  }
  EXPECT_FALSE(executableFolder().empty());
}

TEST(ProgramFolder, OverviewPageBesideTheProgramOrInItsInstallation) {
  TempFolder temp;
  const std::filesystem::path bin = std::filesystem::path(temp.path()) / "bin";
  std::filesystem::create_directories(bin);
  EXPECT_EQ(overviewPage(bin.string()), "");
  EXPECT_EQ(overviewPage(""), "");
  const std::filesystem::path installed = std::filesystem::path(temp.path()) / "share/doc/vemla";
  std::filesystem::create_directories(installed);
  std::ofstream(installed / "overview.html") << "<html></html>";
  EXPECT_EQ(overviewPage(bin.string()), (installed / "overview.html").string());
  std::ofstream(bin / "vemla-overview.html") << "<html></html>";
  EXPECT_EQ(overviewPage(bin.string()), (bin / "vemla-overview.html").string());
}

TEST(RunningCopy, OnlyTheCopyThatFindsNoOtherIsTheFirst) {
  TempFolder temp;
  auto first = std::make_unique<RunningCopy>(temp.path());
  EXPECT_TRUE(first->first());
  auto second = std::make_unique<RunningCopy>(temp.path());
  EXPECT_FALSE(second->first());
  // The first copy ends while the second still runs: a new copy is still not the first.
  first.reset();
  EXPECT_FALSE(RunningCopy(temp.path()).first());
  second.reset();
  EXPECT_TRUE(RunningCopy(temp.path()).first());
}

TEST(RunningCopy, CopiesOfOtherFoldersDoNotMeet) {
  TempFolder a, b;
  const RunningCopy inA(a.path());
  const RunningCopy inB(b.path());
  EXPECT_TRUE(inA.first());
  EXPECT_TRUE(inB.first());
}

TEST(RunningCopy, FolderWithoutLockFilesCountsAsASecondCopy) {
  TempFolder temp;
  EXPECT_FALSE(RunningCopy(temp.path() + "/missing").first());
}

}  // namespace
}  // namespace vemla::platform
