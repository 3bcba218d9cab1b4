#pragma once
// The small picture dialogs of the main window's commands: "画像ｻｲｽﾞの変更" (40036),
// "画像%s名称の設定" (40088, 40089) and "階調値ﾃｷｽﾄ保存" (40037). The entry points run a dialog
// modally and then the core operation with its refresh; the dialog classes can be built and
// driven without exec().
#include <QDialog>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ports/ports.h"
#include "windows/dialogs/confirming_dialog.h"
#include "workbench/editing/picture_dialog_memory.h"
#include "workbench/workbench.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace vemla {

// 40036: with pictures loaded (and not while a picture is edited), asks for the new size and
// converts both pictures; the choice of crop/pad or scale is remembered.
void changePictureSize(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                       ProgressPort& progress);
// 40088 / 40089: the text `picture`'s pseudo-name "<text>" is to take (checked by the dialog),
// or nullopt when cancelled or without pictures.
std::optional<std::string> askPictureName(QWidget* parent, Workbench& bench, PictureSlot picture,
                                          UserPort& user);
// 40037: the text export dialog, open for several exports until "終了".
void exportGreyValues(QWidget* parent, Workbench& bench, UserPort& user);

class SizeChangeDialog;
class RenameDialog;
class TextExportDialog;

// The steps of the entry points around exec(), so that a test can build a dialog, drive it and
// finish it. make…() returns nullptr when the command does nothing now (no pictures; the size
// change while a picture is edited, after its message).
std::unique_ptr<SizeChangeDialog> makeSizeChangeDialog(QWidget* parent, Workbench& bench,
                                                       UserPort& user);
// After "OK": remembers the mode and converts the pictures.
void finishSizeChange(const SizeChangeDialog& dialog, Workbench& bench, UserPort& user,
                      BusyPort& busy, ProgressPort& progress);
std::unique_ptr<RenameDialog> makeRenameDialog(QWidget* parent, Workbench& bench,
                                               PictureSlot picture, UserPort& user);
std::unique_ptr<TextExportDialog> makeTextExportDialog(QWidget* parent, Workbench& bench,
                                                       UserPort& user);
// However the dialog was left: keeps its fields for the next time.
void finishTextExport(const TextExportDialog& dialog, Workbench& bench);

// "画像ｻｲｽﾞの変更": width and height, crop/pad or scale. "OK" refuses a size outside
// 8 x 8 .. the maximum with the range message and stays open.
class SizeChangeDialog : public ConfirmingDialog {
  Q_OBJECT
 public:
  SizeChangeDialog(UserPort& user, int width, int height, ResizeMode mode, int maxWidth,
                   int maxHeight, QWidget* parent = nullptr);
  int newWidth() const { return width_; }
  int newHeight() const { return height_; }
  ResizeMode mode() const;
  void accept() override;

 protected:
  bool edited() const override;

 private:
  int width_;
  int height_;
  ResizeMode initialMode_;
  int maxWidth_;
  int maxHeight_;
  QLineEdit* widthField_;
  QLineEdit* heightField_;
  QRadioButton* scale_;
};

// "画像１名称の設定" / "画像２名称の設定": the name without its brackets. "OK" refuses text the
// name field cannot hold and stays open.
class RenameDialog : public ConfirmingDialog {
  Q_OBJECT
 public:
  RenameDialog(UserPort& user, PictureSlot picture, const std::string& currentName,
               QWidget* parent = nullptr);
  // The entered text (UTF-8), without brackets.
  std::string text() const;
  void accept() override;

 protected:
  bool edited() const override;

 private:
  QString initial_;
  QLineEdit* field_;
};

// "階調値ﾃｷｽﾄ保存": source, rectangle, half size with "≪", separator; "実行" writes a file,
// "終了" (or Esc, or the close button) leaves, keeping the fields.
class TextExportDialog : public QDialog {
  Q_OBJECT
 public:
  // Asks for the file to write: (title, starting path) -> chosen path, empty for cancel.
  using FileChooser = std::function<QString(const QString& title, const QString& start)>;

  TextExportDialog(Workbench& bench, UserPort& user, const TextExportSettings& initial,
                   QWidget* parent = nullptr);
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  // The fields as they stand (the rectangle and half size read as integers).
  TextExportSettings settings() const;
  // "≪" and "実行".
  void takeCursorRectangle();
  void execute();

 private:
  void showSettings(const TextExportSettings& settings);
  Workbench& bench_;
  UserPort& user_;
  FileChooser chooseFile_;
  QButtonGroup* sources_;
  QLineEdit* left_;
  QLineEdit* top_;
  QLineEdit* right_;
  QLineEdit* bottom_;
  QLineEdit* halfSize_;
  QLineEdit* separator_;
};

}  // namespace vemla
