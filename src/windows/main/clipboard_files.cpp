#include "windows/main/clipboard_files.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace vemla {

std::vector<std::string> localFilesOf(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (!path.isEmpty()) files.push_back(path.toStdString());
  }
  return files;
}

std::vector<std::string> clipboardFiles() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard != nullptr ? localFilesOf(clipboard->mimeData()) : std::vector<std::string>{};
}

}  // namespace vemla
