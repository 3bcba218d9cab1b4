#pragma once
// The standard Qt dialogs (files, colours, the buttons of message boxes) speak Japanese like the
// rest of the program, whatever the desktop's language: Qt's own Japanese texts are loaded once
// at start-up from the Qt installation. Qt's file dialog needs more than those texts: its type
// column names folders and unknown files in English whatever the translation, and its size
// column and sidebar are narrower than their texts; FileDialogDress mends every file dialog
// when it is shown.
#include <QObject>

class QCoreApplication;
class QFileDialog;

namespace vemla {

// False when Qt's Japanese texts are not installed (the dialogs then stay in English).
bool installDialogTranslation(QCoreApplication& app);

// Installed on the application: every Qt file dialog shown gets the Japanese type texts
// ("フォルダ", "BMP ファイル", "ファイル") and a size column and sidebar as wide as their texts
// in the dialog's font.
class FileDialogDress final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
  static void dress(QFileDialog* dialog);
};

}  // namespace vemla
