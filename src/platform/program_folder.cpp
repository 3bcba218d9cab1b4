#include "platform/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/user_account.h"

namespace vemla::platform {
namespace {

bool isSet(const char* value) {
  return value != nullptr && value[0] != '\0';
}

bool writableFolder(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(folder, error) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool absolute(const char* path) {
  return isSet(path) && path[0] == '/';
}

// Whether `folder` is where programs are installed: this build's installation folder or one of
// the system's (all writable by root).
bool programsFolder(const std::string& folder, const FolderInputs& in) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, error);
  for (const std::string& programs :
       {in.installedBinFolder, std::string("/bin"), std::string("/sbin"), std::string("/usr/bin"),
        std::string("/usr/sbin"), std::string("/usr/local/bin"), std::string("/usr/local/sbin")}) {
    if (programs.empty()) continue;
    std::error_code ignored;
    if (canonical == std::filesystem::weakly_canonical(programs, ignored)) return true;
  }
  return false;
}

std::string created(const std::string& folder) {
  std::error_code ignored;  // a folder that cannot be made shows up as write failures later
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

}  // namespace

std::string chooseProgramFolder(const FolderInputs& in) {
  if (isSet(in.vemlaHome)) return created(in.vemlaHome);
  if (writableFolder(in.executableFolder) && !programsFolder(in.executableFolder, in)) {
    return in.executableFolder;
  }
  if (absolute(in.xdgDataHome)) return created(std::string(in.xdgDataHome) + "/Vemla");
  const std::string home = absolute(in.home) ? std::string(in.home) : in.passwordHome;
  if (absolute(home.c_str())) return created(home + "/.local/share/Vemla");
  return created(in.temporaryFolder + "/Vemla-" + std::to_string(::getuid()));
}

std::string executableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

std::string overviewPage(const std::string& executableFolder, text::Language language) {
  if (executableFolder.empty()) return {};
  const std::filesystem::path folder(executableFolder);
  const std::filesystem::path installed = folder / ".." / "share" / "doc" / "vemla";
  std::vector<std::filesystem::path> pages;
  if (language == text::Language::English) {
    pages = {folder / "vemla-overview.en.html", installed / "overview.en.html"};
  }
  pages.push_back(folder / "vemla-overview.html");
  pages.push_back(installed / "overview.html");
  for (const std::filesystem::path& page : pages) {
    std::error_code error;
    if (std::filesystem::is_regular_file(page, error)) {
      return std::filesystem::weakly_canonical(page, error).string();
    }
  }
  return {};
}

std::string programFolder() {
  std::error_code error;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
  const std::optional<UserAccount> account = userAccount();
  return chooseProgramFolder({.vemlaHome = std::getenv("VEMLA_HOME"),
                              .executableFolder = executableFolder(),
                              .installedBinFolder = VEMLA_INSTALL_BINDIR,
                              .xdgDataHome = std::getenv("XDG_DATA_HOME"),
                              .home = std::getenv("HOME"),
                              .passwordHome = account ? account->home : std::string(),
                              .temporaryFolder = error ? std::string("/tmp") : temporary.string()});
}

}  // namespace vemla::platform
