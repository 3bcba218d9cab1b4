#include "windows/editors/file_editing.h"

#include "platform/file_editing.h"
#include "windows/editors/memo_editor.h"

namespace vemla {

void openFileForEditing(QWidget* parent, const QString& path, const QString& title,
                        UserPort& user, const DesktopOpener& opener) {
  if (platform::mayOpenWithDesktop(path) && opener && opener(QUrl::fromLocalFile(path))) return;
  auto* editor = new MemoEditor(path, user, parent, title);
  editor->show();
}

}  // namespace vemla
