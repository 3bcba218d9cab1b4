#include "platform/viewer_handover.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringDecoder>
#include <QtEndian>

namespace vemla::platform {
namespace {

constexpr quint32 kMaxPathBytes = 4096;
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

bool handOverToViewer(const QString& programFolder, const QString& path, int timeoutMs) {
  const QByteArray bytes = path.toUtf8();
  if (bytes.isEmpty() || bytes.size() > static_cast<qsizetype>(kMaxPathBytes)) return false;
  QLocalSocket socket;
  socket.connectToServer(viewerSocketName(programFolder));
  if (!socket.waitForConnected(timeoutMs)) return false;
  char length[4];
  qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), length);
  socket.write(length, 4);
  socket.write(bytes);
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
    char length[4];
    QString path;
    bool good = readExactly(*socket, length, 4, kReadLimitMs);
    if (good) {
      const quint32 count = qFromLittleEndian<quint32>(length);
      good = count > 0 && count <= kMaxPathBytes;
      QByteArray bytes(good ? static_cast<qsizetype>(count) : 0, '\0');
      good = good && readExactly(*socket, bytes.data(), bytes.size(), kReadLimitMs);
      if (good) {
        QStringDecoder decode(QStringDecoder::Utf8);
        path = decode(bytes);
        good = !decode.hasError() && !path.contains(QChar(0));
      }
    }
    if (good) {
      socket->write(&kAcknowledge, 1);
      socket->waitForBytesWritten(kReadLimitMs);
    }
    socket->disconnectFromServer();
    socket->deleteLater();
    if (good) emit fileReceived(path);
  }
}

}  // namespace vemla::platform
