#pragma once
// Hand-over of a single picture file to a copy that runs as a stand-alone viewer. The viewer
// copy listens on a local socket named after the program folder; a copy started with one
// picture file sends the path there and ends when the viewer acknowledges it within the time
// limit, and starts normally otherwise (no viewer, a hung viewer, a stale socket file).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "text/hand_over_field.h"

class QLocalServer;

namespace vemla::platform {

// The socket path for `programFolder`: under $XDG_RUNTIME_DIR (else the temporary folder),
// "vemla-view-" followed by a hash of the folder, so that it stays short and each program
// folder has its own viewer.
QString viewerSocketName(const QString& programFolder);

// A request is one 512-byte name field: the absolute path in CP932, at most 511 bytes, the
// rest zeros.
inline constexpr int kHandOverFieldBytes = static_cast<int>(text::kHandOverFieldBytes);

// The field for `path`, made absolute against the current folder (the viewer runs in another
// one); nullopt when CP932 cannot hold it, it holds a NUL, or it is longer than 511 bytes.
std::optional<QByteArray> handOverField(const QString& path);
// The path a received field names; nullopt unless it is exactly 512 bytes holding a non-empty
// absolute path in valid CP932 followed by zeros only.
std::optional<QString> handOverPath(const QByteArray& field);

// Sends `path` as a name field and waits up to `timeoutMs` for the one-byte acknowledgement.
// True only when the viewer took the file.
bool handOverToViewer(const QString& programFolder, const QString& path, int timeoutMs = 2000);

// The viewer side: listens while it exists and reports each received path; refused fields get
// no acknowledgement and the connection is closed. Made only by the holder of the view lock,
// which alone may remove a socket file left by a crashed viewer.
class ViewerListener final : public QObject {
  Q_OBJECT
 public:
  explicit ViewerListener(const QString& programFolder, QObject* parent = nullptr);
  ~ViewerListener() override;
  bool listening() const;
  // Whether a request is taken now (a viewer window is open); by default always.
  void setAccepting(std::function<bool()> accepting) { accepting_ = std::move(accepting); }

 signals:
  void fileReceived(const QString& path);

 private:
  void serve();
  QLocalServer* server_;
  std::function<bool()> accepting_;
};

}  // namespace vemla::platform
