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

// Each branch of the folder rule, in its order of preference.
TEST(ProgramFolder, RuleTakesTheFirstUsableFolderAndNeverTheCurrentOne) {
  TempFolder temp;
  const std::string root = temp.path();
  const std::string bin = root + "/bin";
  std::filesystem::create_directories(bin);
  const std::string home = root + "/home";
  const std::string xdg = root + "/data";
  const std::string vemlaHome = root + "/vemla";
  const FolderInputs all{.vemlaHome = vemlaHome.c_str(),
                         .executableFolder = bin,
                         .installedBinFolder = root + "/installed/bin",
                         .xdgDataHome = xdg.c_str(),
                         .home = home.c_str(),
                         .passwordHome = root + "/pw",
                         .temporaryFolder = root + "/tmp"};
  EXPECT_EQ(chooseProgramFolder(all), vemlaHome);
  EXPECT_TRUE(std::filesystem::is_directory(vemlaHome));

  FolderInputs in = all;
  in.vemlaHome = "";
  EXPECT_EQ(chooseProgramFolder(in), bin);  // a build tree or a portable copy
  in.installedBinFolder = bin;              // an installation's programs folder
  EXPECT_EQ(chooseProgramFolder(in), xdg + "/Vemla");
  in.executableFolder = "/usr/bin";  // writable for root, never chosen
  EXPECT_EQ(chooseProgramFolder(in), xdg + "/Vemla");
  in.xdgDataHome = "relative/data";  // only absolute values count
  EXPECT_EQ(chooseProgramFolder(in), home + "/.local/share/Vemla");
  in.home = nullptr;  // HOME unset: the password database's home
  EXPECT_EQ(chooseProgramFolder(in), root + "/pw/.local/share/Vemla");
  in.passwordHome.clear();  // no home at all: a folder of the user's own in the temporary folder
  const std::string last = chooseProgramFolder(in);
  EXPECT_EQ(last.rfind(root + "/tmp/Vemla-", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(last));
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
  // English takes the English page where there is one, in the installation too, else the
  // Japanese page; Japanese never takes the English page.
  constexpr auto kEnglish = text::Language::English;
  EXPECT_EQ(overviewPage(bin.string(), kEnglish), (bin / "vemla-overview.html").string());
  std::ofstream(installed / "overview.en.html") << "<html></html>";
  EXPECT_EQ(overviewPage(bin.string(), kEnglish), (installed / "overview.en.html").string());
  std::ofstream(bin / "vemla-overview.en.html") << "<html></html>";
  EXPECT_EQ(overviewPage(bin.string(), kEnglish), (bin / "vemla-overview.en.html").string());
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
