#include "windows/viewer/stand_alone_viewer.h"

#include <QEventLoop>
#include <QPointer>

#include "windows/viewer/viewer_window.h"

namespace vemla {

void StandAloneViewer::serve(ViewerWindow* viewer) {
  if (listener == nullptr) return;
  QObject::disconnect(listener.get(), &platform::ViewerListener::fileReceived, nullptr, nullptr);
  const QPointer<ViewerWindow> target(viewer);
  listener->setAccepting([target] { return target != nullptr && target->isVisible(); });
  if (viewer == nullptr) return;
  QObject::connect(listener.get(), &platform::ViewerListener::fileReceived, viewer,
                   [viewer](const QString& path) { viewer->openFile(path.toStdString()); });
}

StandAloneResult runStandAloneViewer(const Options& options, UserPort& user,
                                     const std::string& programFolder, const std::string& name,
                                     StandAloneViewer& run, QSize screen) {
  run.lock = std::make_unique<platform::ViewLock>(programFolder);
  // Without the lock another viewer-only copy listens; this one shows its file all the same.
  if (run.lock->held()) {
    run.listener =
        std::make_unique<platform::ViewerListener>(QString::fromStdString(programFolder));
  }
  StandAloneResult result;
  ViewerWindow viewer(options, user);
  if (screen.isValid()) viewer.setScreenSize(screen);
  viewer.setStandAlone(true);
  run.serve(&viewer);
  if (viewer.openFile(name) == 0) {
    const std::optional<RawSize> raw = viewer.lastRawSize();
    QEventLoop loop;
    QObject::connect(&viewer, &ViewerWindow::standAloneEnded, &loop, [&](bool proceed) {
      result.proceed = proceed;
      loop.quit();
    });
    loop.exec();
    if (result.proceed) result.raw = raw;
  }
  run.serve(nullptr);
  return result;
}

}  // namespace vemla
