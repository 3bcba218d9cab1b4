#pragma once

#include <QPlainTextEdit>

namespace vemla {

// A plain-text field that takes only text from the clipboard and the primary selection, and
// only when some program offers it. Qt's own text control reads every format offered and fails
// on an X display with no owner of the clipboard or the selection; here a paste (keyboard,
// pop-up menu, drop) and the middle-button paste of the selection go through `insertOffered`.
class PlainTextField : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The text `source` offers, at `at`; nothing when it offers none.
  void insertOffered(const QMimeData* source, QTextCursor at);
};

}  // namespace vemla
