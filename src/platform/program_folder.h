#pragma once
// The program folder that holds every settings, state, exchange and temporary file, decided once
// at start-up: $VEMLA_HOME, else the executable's folder when it is writable, else
// ~/.local/share/Vemla.
#include <string>

namespace vemla::platform {

// The rule on its inputs (null or empty values count as unset); the chosen folder is created
// when it does not exist yet.
std::string chooseProgramFolder(const char* vemlaHome, const std::string& executableFolder,
                                const char* home);

// The rule applied to this process's environment and executable.
std::string programFolder();

// The folder of the running executable, or empty when it cannot be found.
std::string executableFolder();

// The overview page shipped with the program: vemla-overview.html beside the executable (a
// build tree) or share/doc/vemla/overview.html of its installation; empty when neither exists.
std::string overviewPage(const std::string& executableFolder);

}  // namespace vemla::platform
