#include "platform/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

std::string created(const std::string& folder) {
  std::error_code ignored;  // a folder that cannot be made shows up as write failures later
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

}  // namespace

std::string chooseProgramFolder(const char* vemlaHome, const std::string& executableFolder,
                                const char* home) {
  if (isSet(vemlaHome)) return created(vemlaHome);
  if (writableFolder(executableFolder)) return executableFolder;
  const std::string base = isSet(home) ? std::string(home) : std::string(".");
  return created(base + "/.local/share/Vemla");
}

std::string executableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

std::string overviewPage(const std::string& executableFolder) {
  if (executableFolder.empty()) return {};
  const std::filesystem::path folder(executableFolder);
  for (const std::filesystem::path& page :
       {folder / "vemla-overview.html",
        folder / ".." / "share" / "doc" / "vemla" / "overview.html"}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(page, error)) {
      return std::filesystem::weakly_canonical(page, error).string();
    }
  }
  return {};
}

std::string programFolder() {
  return chooseProgramFolder(std::getenv("VEMLA_HOME"), executableFolder(), std::getenv("HOME"));
}

}  // namespace vemla::platform
