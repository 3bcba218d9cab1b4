#include "platform/file_editing.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>

namespace vemla::platform {
namespace {

// Types the desktop's open action would run rather than show; their subtypes count too.
constexpr const char* kRunnableTypes[] = {
    "application/x-executable",     "application/x-pie-executable",
    "application/x-sharedlib",      "application/x-shellscript",
    "application/x-desktop",        "application/x-ms-dos-executable",
    "application/x-msdownload",     "application/x-msi",
    "application/x-bat",            "application/x-perl",
    "text/x-python",                "text/x-python3",
    "application/x-ruby",           "application/javascript",
    "application/x-java-archive",   "application/x-appimage",
    "application/vnd.appimage",     "application/x-csh",
    "text/x-script",                "application/x-executable-script",
};

bool isRunnable(const QMimeType& type) {
  for (const char* runnable : kRunnableTypes) {
    if (type.inherits(QString::fromLatin1(runnable))) return true;
  }
  return false;
}

}  // namespace

bool mayOpenWithDesktop(const QString& path) {
  const QFileInfo info(path);
  if (info.isExecutable() || info.isDir()) return false;
  const QMimeDatabase types;
  // Both what the name says and what the bytes say: either may be what the desktop acts on.
  return !isRunnable(types.mimeTypeForFile(info, QMimeDatabase::MatchExtension)) &&
         !isRunnable(types.mimeTypeForFile(info, QMimeDatabase::MatchContent));
}

}  // namespace vemla::platform
