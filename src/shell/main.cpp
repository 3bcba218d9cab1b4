#include <QApplication>

#include "gallery/gallery_startup.h"
#include "persist/settings_session.h"
#include "platform/program_folder.h"
#include "platform/running_copy.h"
#include "shell/qt_user_port.h"
#include "shell/workbench_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vemla::Workbench bench;
  bench.settings.folder = vemla::platform::programFolder();
  const vemla::platform::RunningCopy copy(bench.settings.folder);
  bench.secondCopy = !copy.first();
  bench.options = vemla::defaultOptions(bench.settings.folder);
  vemla::QtUserPort user(nullptr, bench.options);

  // The maximum size comes from the settings header before the store exists; the full settings
  // are read once the store is there (their raw size default is checked against it).
  if (const auto size = vemla::persist::readMaxPictureSize(bench.settings.folder)) {
    bench.options.MaxPictureWidth = size->first;
    bench.options.MaxPictureHeight = size->second;
  }
  if (!vemla::allocatePictureStore(bench.store, bench.options.MaxPictureWidth,
                                   bench.options.MaxPictureHeight, user)) {
    return 1;
  }
  bench.options.MaxPictureWidth = bench.store.maxWidth();
  bench.options.MaxPictureHeight = bench.store.maxHeight();
  vemla::persist::loadSettingsAtStart(bench, user);
  vemla::startGallery(bench, user);  // a second copy has no gallery

  {
    vemla::WorkbenchWindow window(bench, user);
    user.setParent(&window);
    window.show();
    // Up to two picture names on the command line are opened once the window is up.
    const QStringList names = app.arguments().mid(1, 2);
    if (!names.isEmpty()) {
      QMetaObject::invokeMethod(
          &window, [&window, names] { window.openNames(names); }, Qt::QueuedConnection);
    }
    app.exec();
  }
  user.setParent(nullptr);
  // Only the first running copy writes the settings back; a normal end is success either way.
  vemla::persist::saveSettingsAtShutdown(bench, user);
  return 0;
}
