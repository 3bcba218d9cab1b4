#pragma once
// The standard Qt dialogs (files, colours, the buttons of message boxes) speak Japanese like the
// rest of the program, whatever the desktop's language: Qt's own Japanese texts are loaded once
// at start-up from the Qt installation.
class QCoreApplication;

namespace vemla {

// False when Qt's Japanese texts are not installed (the dialogs then stay in English).
bool installDialogTranslation(QCoreApplication& app);

}  // namespace vemla
