#include "platform/viewer_handover.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <span>

#include "text/hand_over_field.h"

namespace vemla::platform {
namespace {

constexpr char kAcknowledge = 'A';
constexpr int kReadLimitMs = 2000;

bool readExactly(QLocalSocket& socket, char* data, qint64 count, int timeoutMs) {
  qint64 done = 0;
  while (done < count) {
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs)) return false;
    const qint64 got = socket.read(data + done, count - done);
    if (got < 0) return false;
    done += got;
  }
  return true;
}

}  // namespace

QString viewerSocketName(const QString& programFolder) {
  QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (base.isEmpty() || !QDir(base).exists()) base = QDir::tempPath();
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(programFolder).toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  return base + "/vemla-view-" + QString::fromLatin1(hash);
}

std::optional<QByteArray> handOverField(const QString& path) {
  if (path.isEmpty() || path.contains(QChar(0))) return std::nullopt;
  const std::optional<std::string> field =
      text::handOverField(QFileInfo(path).absoluteFilePath().toStdString());
  if (!field) return std::nullopt;
  return QByteArray(field->data(), static_cast<qsizetype>(field->size()));
}

std::optional<QString> handOverPath(const QByteArray& field) {
  const std::optional<std::string> path = text::handOverFieldPath(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(field.constData()),
                                    static_cast<std::size_t>(field.size())));
  if (!path) return std::nullopt;
  return QString::fromStdString(*path);
}

bool handOverToViewer(const QString& programFolder, const QString& path, int timeoutMs) {
  const std::optional<QByteArray> field = handOverField(path);
  if (!field) return false;
  QLocalSocket socket;
  socket.connectToServer(viewerSocketName(programFolder));
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(*field);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  char answer = 0;
  return readExactly(socket, &answer, 1, timeoutMs) && answer == kAcknowledge;
}

ViewerListener::ViewerListener(const QString& programFolder, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
  const QString name = viewerSocketName(programFolder);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) {
    // A socket file left by a crashed viewer: nobody answers on it, so it may be replaced.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (!probe.waitForConnected(200)) {
      QLocalServer::removeServer(name);
      server_->listen(name);
    }
  }
  connect(server_, &QLocalServer::newConnection, this, &ViewerListener::serve);
}

ViewerListener::~ViewerListener() {
  server_->close();
}

bool ViewerListener::listening() const {
  return server_->isListening();
}

void ViewerListener::serve() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QByteArray field(kHandOverFieldBytes, '\0');
    std::optional<QString> path;
    if (readExactly(*socket, field.data(), field.size(), kReadLimitMs)) path = handOverPath(field);
    const bool good = path.has_value() && (!accepting_ || accepting_());
    if (good) {
      socket->write(&kAcknowledge, 1);
      socket->waitForBytesWritten(kReadLimitMs);
    }
    socket->disconnectFromServer();
    socket->deleteLater();
    if (good) emit fileReceived(*path);
  }
}

}  // namespace vemla::platform
