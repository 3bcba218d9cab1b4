#pragma once
// The program folder that holds every settings, state, exchange and temporary file, decided once
// at start-up: $VEMLA_HOME; else the executable's folder when it is writable and not where an
// installation keeps its programs (a build tree, a portable copy); else $XDG_DATA_HOME/Vemla;
// else ~/.local/share/Vemla. Never the current directory, and never a system's bin folder, even
// for root.
#include <string>

#include "text/translate.h"

namespace vemla::platform {

struct FolderInputs {
  const char* vemlaHome = nullptr;  // $VEMLA_HOME
  std::string executableFolder;
  std::string installedBinFolder;     // where this build installs its programs
  const char* xdgDataHome = nullptr;  // $XDG_DATA_HOME; used only when absolute
  const char* home = nullptr;         // $HOME; used only when absolute
  std::string passwordHome;           // the user's home in the password database
  std::string temporaryFolder;        // the last resort when there is no home at all
};

// The rule on its inputs (null or empty values count as unset); the chosen folder is created
// when it does not exist yet.
std::string chooseProgramFolder(const FolderInputs& inputs);

// The rule applied to this process's environment and executable.
std::string programFolder();

// The folder of the running executable, or empty when it cannot be found.
std::string executableFolder();

// The overview page shipped with the program: vemla-overview.html beside the executable (a
// build tree) or share/doc/vemla/overview.html of its installation; empty when neither exists.
// In English the English page (vemla-overview.en.html, overview.en.html) comes first, the
// Japanese one only where it is missing.
std::string overviewPage(const std::string& executableFolder,
                         text::Language language = text::Language::Japanese);

}  // namespace vemla::platform
