#include <QApplication>

#include "shell/qt_user_port.h"
#include "shell/workbench_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vemla::Workbench bench;
  vemla::QtUserPort user(nullptr, bench.options);
  if (!vemla::allocatePictureStore(bench.store, bench.options.MaxPictureWidth,
                                   bench.options.MaxPictureHeight, user)) {
    return 1;
  }
  vemla::WorkbenchWindow window(bench, user);
  user.setParent(&window);
  window.show();
  // Up to two picture names on the command line are opened once the window is up.
  const QStringList names = app.arguments().mid(1, 2);
  if (!names.isEmpty()) {
    QMetaObject::invokeMethod(&window, [&window, names] { window.openNames(names); },
                              Qt::QueuedConnection);
  }
  app.exec();
  return 0;  // a normal end is success
}
