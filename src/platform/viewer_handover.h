#pragma once
// Hand-over of a single picture file to a copy that runs as a stand-alone viewer. The viewer
// copy listens on a local socket named after the program folder; a copy started with one
// picture file sends the path there and ends when the viewer acknowledges it within the time
// limit, and starts normally otherwise (no viewer, a hung viewer, a stale socket file).
#include <QObject>
#include <QString>

class QLocalServer;

namespace vemla::platform {

// The socket path for `programFolder`: under $XDG_RUNTIME_DIR (else the temporary folder),
// "vemla-view-" followed by a hash of the folder, so that it stays short and each program
// folder has its own viewer.
QString viewerSocketName(const QString& programFolder);

// Sends `path` (UTF-8, a 4-byte little-endian length first) and waits up to `timeoutMs` for
// the one-byte acknowledgement. True only when the viewer took the file.
bool handOverToViewer(const QString& programFolder, const QString& path, int timeoutMs = 2000);

// The viewer side: listens while it exists and reports each received path. Paths longer than
// 4096 bytes or not valid UTF-8 are refused (no acknowledgement) and the connection closed.
class ViewerListener final : public QObject {
  Q_OBJECT
 public:
  explicit ViewerListener(const QString& programFolder, QObject* parent = nullptr);
  ~ViewerListener() override;
  bool listening() const;

 signals:
  void fileReceived(const QString& path);

 private:
  void serve();
  QLocalServer* server_;
};

}  // namespace vemla::platform
