#pragma once
// How a window asks for file names: an open dialog (one or several names) and a save dialog.
// Tests replace them.
#include <QString>
#include <QStringList>
#include <functional>

namespace vemla {

struct FileDialogs {
  std::function<QStringList(const QString& title, const QString& filters, bool multiple,
                            const QString& start)>
      open;
  std::function<QString(const QString& title, const QString& filters, const QString& start)> save;
};

}  // namespace vemla
