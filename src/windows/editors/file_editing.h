#pragma once
// Opening a file for the operator to edit: the desktop's application for it when the file may
// go there (never a program, a script or a desktop entry), else, and whenever the desktop has
// no application for it, the built-in text window.
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace vemla {

class UserPort;

// Hands a file to the desktop's open action; false when the desktop has no application for it.
using DesktopOpener = std::function<bool(const QUrl&)>;

// `title` heads the built-in window ("<title> - <path>").
void openFileForEditing(QWidget* parent, const QString& path, const QString& title,
                        UserPort& user, const DesktopOpener& opener);

}  // namespace vemla
