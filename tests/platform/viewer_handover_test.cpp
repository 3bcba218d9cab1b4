#include "platform/viewer_handover.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "platform/view_lock.h"

namespace vemla::platform {
namespace {

QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "viewer_handover_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

// Runs `client` on its own thread while this thread serves the listener's events.
template <typename Client>
void whileServing(Client client) {
  std::atomic<bool> done{false};
  std::thread thread([&] {
    client();
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  thread.join();
  QCoreApplication::processEvents();
}

class ViewerHandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    ASSERT_TRUE(folder.isValid());
  }
  QTemporaryDir folder;
};

TEST_F(ViewerHandOver, WithoutAViewerTheNewCopyStartsNormally) {
  EXPECT_FALSE(handOverToViewer(folder.path(), "/tmp/a.bmp", 300));
}

TEST_F(ViewerHandOver, ARunningViewerReceivesThePathAndAcknowledges) {
  ViewerListener listener(folder.path());
  ASSERT_TRUE(listener.listening());
  QStringList received;
  QObject::connect(&listener, &ViewerListener::fileReceived,
                   [&](const QString& path) { received << path; });
  bool handed = false;
  const QString path = QString::fromUtf8("/home/ユーザ/画像 1.bmp");
  whileServing([&] { handed = handOverToViewer(folder.path(), path); });
  EXPECT_TRUE(handed);
  EXPECT_EQ(received, QStringList{path});
}

TEST_F(ViewerHandOver, EachProgramFolderHasItsOwnViewer) {
  QTemporaryDir other;
  EXPECT_NE(viewerSocketName(folder.path()), viewerSocketName(other.path()));
  ViewerListener listener(other.path());
  bool handed = true;
  whileServing([&] { handed = handOverToViewer(folder.path(), "/tmp/a.bmp", 300); });
  EXPECT_FALSE(handed);
}

// The request as raw bytes; returns the acknowledgement byte (0 for none).
char sendRaw(const QString& folder, const QByteArray& bytes) {
  char answer = 0;
  whileServing([&] {
    QLocalSocket socket;
    socket.connectToServer(viewerSocketName(folder));
    if (!socket.waitForConnected(1000)) return;
    socket.write(bytes);
    socket.waitForBytesWritten(1000);
    if (socket.waitForReadyRead(2500)) socket.read(&answer, 1);
  });
  return answer;
}

QByteArray field(const QByteArray& name) {
  QByteArray bytes = name;
  bytes.resize(kHandOverFieldBytes, '\0');
  return bytes;
}

TEST_F(ViewerHandOver, TheNameFieldHoldsAnAbsoluteCp932PathOfAtMost511Bytes) {
  // Relative names are made absolute: the viewer runs in another working directory.
  const std::optional<QByteArray> relative = handOverField("a.bmp");
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->size(), kHandOverFieldBytes);
  EXPECT_EQ(handOverPath(*relative), QDir::current().absoluteFilePath("a.bmp"));
  // "/", 505 x, "画" (2 bytes in CP932) and ".bm" are 511 bytes; one more does not fit.
  const QString fits = "/" + QString(505, 'x') + QString::fromUtf8("画.bm");
  ASSERT_TRUE(handOverField(fits));
  EXPECT_EQ(handOverPath(*handOverField(fits)), fits);
  EXPECT_FALSE(handOverField(fits + "p"));
  EXPECT_FALSE(handOverField(QString::fromUtf8("/tmp/\U0001F600.bmp")));  // not in CP932
  EXPECT_FALSE(handOverField(QString("/tmp/a") + QChar(0) + "b.bmp"));
  // The listener's side.
  EXPECT_FALSE(handOverPath(field("relative.bmp")));
  EXPECT_FALSE(handOverPath(field("")));
  EXPECT_FALSE(handOverPath(QByteArray(kHandOverFieldBytes, 'x')));  // no terminator
  EXPECT_FALSE(handOverPath(field("/tmp/a.bmp").left(511)));
  QByteArray hidden = field("/tmp/a.bmp");
  hidden[20] = 'x';  // a second name after the zero
  EXPECT_FALSE(handOverPath(hidden));
  EXPECT_FALSE(handOverPath(field("/tmp/\x81")));  // a lead byte alone
}

TEST_F(ViewerHandOver, HostileRequestsAreRefusedWithoutAcknowledgement) {
  ViewerListener listener(folder.path());
  int received = 0;
  QObject::connect(&listener, &ViewerListener::fileReceived, [&] { ++received; });
  EXPECT_EQ(sendRaw(folder.path(), field("relative.bmp")), 0);
  EXPECT_EQ(sendRaw(folder.path(), QByteArray("/tmp/a.bmp")), 0);  // cut short
  EXPECT_EQ(sendRaw(folder.path(), QByteArray(kHandOverFieldBytes, '\xff')), 0);
  EXPECT_EQ(received, 0);
  // The listener still serves a good request afterwards.
  EXPECT_EQ(sendRaw(folder.path(), field("/tmp/b.raw")), 'A');
  EXPECT_EQ(received, 1);
}

TEST_F(ViewerHandOver, WithoutAViewerWindowTheSenderStartsNormally) {
  ViewerListener listener(folder.path());
  bool open = false;
  listener.setAccepting([&] { return open; });
  int received = 0;
  QObject::connect(&listener, &ViewerListener::fileReceived, [&] { ++received; });
  bool handed = true;
  whileServing([&] { handed = handOverToViewer(folder.path(), "/tmp/a.bmp"); });
  EXPECT_FALSE(handed);
  open = true;
  whileServing([&] { handed = handOverToViewer(folder.path(), "/tmp/a.bmp"); });
  EXPECT_TRUE(handed);
  EXPECT_EQ(received, 1);
}

TEST_F(ViewerHandOver, TheViewLockHolderReplacesAStaleSocket) {
  const ViewLock lock(folder.path().toStdString());
  ASSERT_TRUE(lock.held());
  EXPECT_FALSE(ViewLock(folder.path().toStdString()).held());  // a second viewer
  {
    // A socket file nobody answers on, as a crashed viewer leaves it.
    const QByteArray name = QFile::encodeName(viewerSocketName(folder.path()));
    QFile::remove(viewerSocketName(folder.path()));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(name.size()), sizeof address.sun_path);
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(viewerSocketName(folder.path())));
  }
  ViewerListener listener(folder.path());
  EXPECT_TRUE(listener.listening());
  bool handed = false;
  whileServing([&] { handed = handOverToViewer(folder.path(), "/tmp/a.bmp"); });
  EXPECT_TRUE(handed);
}

}  // namespace
}  // namespace vemla::platform
