#include "platform/file_editing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace vemla::platform {
namespace {

class FileEditing : public ::testing::Test {
 protected:
  QString make(const QString& name, const QByteArray& content, bool executable = false) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
  }
  QTemporaryDir folder;
};

// Plain text goes to the desktop; anything the desktop would run, by its mode, name or
// content, never does.
TEST_F(FileEditing, ProgramsScriptsAndDesktopEntriesStayOffTheDesktop) {
  EXPECT_TRUE(mayOpenWithDesktop(make("table.txt", " 1, 2, 3\n")));
  EXPECT_FALSE(mayOpenWithDesktop(make("run.txt", " 1, 2, 3\n", true)));
  EXPECT_FALSE(mayOpenWithDesktop(make("script.txt", "#!/bin/sh\nrm -rf ~\n")));
  EXPECT_FALSE(mayOpenWithDesktop(make("launch.desktop", "[Desktop Entry]\nExec=x\n")));
  EXPECT_FALSE(mayOpenWithDesktop(make("tool.sh", "echo\n")));
  EXPECT_FALSE(mayOpenWithDesktop(make("elf.txt", QByteArray("\x7f" "ELF\x02\x01\x01", 7) +
                                                      QByteArray(64, '\0'))));
  EXPECT_FALSE(mayOpenWithDesktop(folder.path()));
}

}  // namespace
}  // namespace vemla::platform
