#pragma once
// Whether a file the operator asked to edit may go to the desktop's open action. The desktop
// runs programs, scripts and desktop entries when asked to open them, so those never go there:
// they, and every file when the desktop has no application for it, open in the built-in text
// window instead.
#include <QString>

namespace vemla::platform {

// False for a file with an execute bit, and for one whose content or name makes it a program,
// a script or a desktop entry.
bool mayOpenWithDesktop(const QString& path);

}  // namespace vemla::platform
