#pragma once
// The built-in text window: files the operator edits ("メモ", a user colour table file) open
// here when they may not go to the desktop's application or the desktop has none. The file is read
// as UTF-8 (CP932 when it is not), written back as UTF-8 and replaced atomically, so a failed
// save never loses the memo.
#include <QDialog>
#include <QString>

#include "windows/main/ui_text.h"

class QPlainTextEdit;
class QPushButton;

namespace vemla {

class UserPort;

class MemoEditor final : public QDialog {
  Q_OBJECT
 public:
  // A file that does not exist yet starts empty and is created by the first save. A file that
  // cannot be read as text is told and the window stays empty and read-only.
  // `title` heads the window ("<title> - <path>").
  MemoEditor(const QString& path, UserPort& user, QWidget* parent = nullptr,
             const QString& title = ui(text::N_("メモ")));

  QPlainTextEdit* text() const { return text_; }
  QPushButton* saveButton() const { return save_; }
  // Writes the text back; false (and told) when the file cannot be replaced.
  bool save();
  // Closing with unsaved changes asks whether to save them: yes saves, then closes; no closes;
  // cancel stays.
  void reject() override;

 private:
  QString path_;
  UserPort& user_;
  QPlainTextEdit* text_;
  QPushButton* save_;
};

}  // namespace vemla
