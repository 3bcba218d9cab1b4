#include "windows/editors/plain_text_field.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>

namespace vemla {

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

void PlainTextField::insertFromMimeData(const QMimeData* source) {
  insertOffered(source, textCursor());
}

void PlainTextField::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::MiddleButton) {
    QPlainTextEdit::mouseReleaseEvent(event);
    return;
  }
  // The selection's text at the pointer when some program offers one, nothing otherwise.
  event->accept();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard->supportsSelection()) return;
  insertOffered(clipboard->mimeData(QClipboard::Selection),
                cursorForPosition(event->position().toPoint()));
}

void PlainTextField::insertOffered(const QMimeData* source, QTextCursor at) {
  if (isReadOnly() || source == nullptr || !source->hasText()) return;
  const QString text = source->text();
  if (text.isEmpty()) return;
  at.insertText(text);
  setTextCursor(at);
  ensureCursorVisible();
}

}  // namespace vemla
