#include "platform/viewer_handover.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

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

TEST_F(ViewerHandOver, HostileRequestsAreRefusedWithoutAcknowledgement) {
  ViewerListener listener(folder.path());
  int received = 0;
  QObject::connect(&listener, &ViewerListener::fileReceived, [&] { ++received; });
  const auto send = [&](const QByteArray& bytes) {
    char answer = 0;
    whileServing([&] {
      QLocalSocket socket;
      socket.connectToServer(viewerSocketName(folder.path()));
      if (!socket.waitForConnected(1000)) return;
      socket.write(bytes);
      socket.waitForBytesWritten(1000);
      if (socket.waitForReadyRead(2500)) socket.read(&answer, 1);
    });
    return answer;
  };
  EXPECT_EQ(send(QByteArray("\xff\xff\xff\xff", 4)), 0);          // absurd length
  EXPECT_EQ(send(QByteArray("\x00\x00\x00\x00", 4)), 0);          // empty path
  EXPECT_EQ(send(QByteArray("\x02\x00\x00\x00\xc3\x28", 6)), 0);  // not UTF-8
  EXPECT_EQ(send(QByteArray("\x08\x00\x00\x00"
                            "abc",
                            7)),
            0);  // cut short
  EXPECT_EQ(received, 0);
  // The listener still serves a good request afterwards.
  bool handed = false;
  whileServing([&] { handed = handOverToViewer(folder.path(), "/tmp/b.raw"); });
  EXPECT_TRUE(handed);
  EXPECT_EQ(received, 1);
}

}  // namespace
}  // namespace vemla::platform
