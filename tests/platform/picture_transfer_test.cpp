#include "platform/picture_transfer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "loopback_peer.h"
#include "net/transfer_messages.h"
#include "support/fake_progress_port.h"

namespace vemla::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::connectLoopback;
using testing::FakeProgressPort;
using testing::freePort;
using testing::LoopbackListener;
using testing::receiveExactly;
using testing::receiveUntilClosed;
using testing::sendBytes;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

net::RequestBytes requestFor(std::string_view password, std::string_view user = "tester") {
  net::RequestBytes request{};
  EXPECT_EQ(net::encodeRequest(password, user, request), net::RequestStatus::Ok);
  return request;
}

// A W x H pair: picture 1 counts up row by row, picture 2 down; palette 1 is not grey.
struct Pair {
  Pair(int width, int height)
      : pixels1(static_cast<std::size_t>(width * height)), pixels2(pixels1.size()) {
    for (std::size_t i = 0; i < pixels1.size(); ++i) {
      pixels1[i] = static_cast<std::uint8_t>(i * 7);
      pixels2[i] = static_cast<std::uint8_t>(255 - i);
    }
    palette1 = greyRamp();
    palette1[1] = 42;
    payload = net::encodePayload(
        {width, height, 3, 4, 2, false, {&palette1, nullptr}, {pixels1.data(), pixels2.data()}});
  }
  std::vector<std::uint8_t> pixels1, pixels2;
  Palette palette1;
  std::vector<std::uint8_t> payload;
};

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::uint8_t> lengthBytes(std::int32_t length) {
  const net::LengthBytes bytes = net::encodeLength(length);
  return {bytes.begin(), bytes.end()};
}

// ---- Export and import against each other ----------------------------------------------

TEST(PictureTransfer, ExportAndImportHandOverThePairOverLoopback) {
  // Large enough that the sockets' buffers fill and both sides have to wait mid-transfer.
  const Pair pair(1024, 1000);
  const int port = freePort();
  FakeProgressPort exportPorts, importPorts;
  ServeResult served;
  std::thread exporter([&] {
    served = serve(port, "Secret", pair.payload, 5, {&exportPorts, &exportPorts});
  });
  const FetchResult fetched = fetch("127.0.0.1", port, 5, requestFor("Secret", "ﾃｽﾄ"), 1024, 1024,
                                    {&importPorts, &importPorts});
  exporter.join();

  EXPECT_EQ(served.code, 0);
  EXPECT_EQ(served.peerAddress, "127.0.0.1");
  EXPECT_EQ(served.peerUser, "ﾃｽﾄ");
  ASSERT_EQ(fetched.code, 2 * 1024 * 1000 + 2304);
  ASSERT_EQ(fetched.check, net::PayloadCheck::Ok);
  EXPECT_EQ(fetched.header.width, 1024);
  EXPECT_EQ(fetched.header.height, 1000);
  EXPECT_EQ(fetched.header.positionX, 3);
  EXPECT_EQ(fetched.header.positionY, 4);
  EXPECT_EQ(fetched.header.magnification, 2);
  EXPECT_EQ(fetched.header.palettes[0], pair.palette1);
  EXPECT_EQ(fetched.header.palettes[1], greyRamp());
  EXPECT_EQ(fetched.pixels, concat(pair.pixels1, pair.pixels2));

  const std::vector<std::string> exportEvents{"busy", "text:Export待ち．．．", "wait", "finish",
                                              "idle"};
  const std::vector<std::string> importEvents{"busy", "text:Import要求待ち．．．", "wait", "finish",
                                              "idle"};
  EXPECT_EQ(exportPorts.events, exportEvents);
  EXPECT_EQ(importPorts.events, importEvents);
}

TEST(PictureTransfer, ImportStartedBeforeTheExportConnectsOnceItListens) {
  const Pair pair(8, 8);
  const int port = freePort();
  const Clock::time_point start = Clock::now();
  FetchResult fetched;
  std::thread importer(
      [&] { fetched = fetch("127.0.0.1", port, 5, requestFor("pw"), 1024, 1024); });
  std::this_thread::sleep_for(700ms);
  const ServeResult served = serve(port, "pw", pair.payload, 5);
  importer.join();
  EXPECT_EQ(served.code, 0);
  EXPECT_EQ(fetched.code, 2432);
  EXPECT_EQ(fetched.check, net::PayloadCheck::Ok);
  EXPECT_GE(secondsSince(start), 0.7);
}

TEST(PictureTransfer, WrongOrCaseDifferentPasswordsEndBothSidesWithMinusSeven) {
  const Pair pair(8, 8);
  for (const char* wrong : {"secret", "SECRET", "Secre", "Secret!", ""}) {
    const int port = freePort();
    ServeResult served;
    std::thread exporter([&] { served = serve(port, "Secret", pair.payload, 5); });
    net::RequestBytes request{};
    ASSERT_EQ(net::encodeRequest(wrong, "u", request), net::RequestStatus::Ok);
    const FetchResult fetched = fetch("127.0.0.1", port, 5, request, 1024, 1024);
    exporter.join();
    EXPECT_EQ(served.code, net::kPasswordMismatch) << wrong;
    EXPECT_EQ(fetched.code, net::kPasswordMismatch) << wrong;
    EXPECT_TRUE(fetched.pixels.empty());
  }
}

// ---- Time limits ---------------------------------------------------------------------------

TEST(PictureTransfer, ImportGivesUpWithMinusFifteenWhenNothingListens) {
  const int port = freePort();
  const Clock::time_point start = Clock::now();
  const FetchResult fetched = fetch("127.0.0.1", port, 1, requestFor("pw"), 1024, 1024);
  EXPECT_EQ(fetched.code, net::kTimedOut);
  EXPECT_GE(secondsSince(start), 0.95);
  EXPECT_LT(secondsSince(start), 2.5);
}

TEST(PictureTransfer, ExportGivesUpWithMinusFifteenWhenNobodyImports) {
  const Pair pair(8, 8);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(serve(freePort(), "pw", pair.payload, 1).code, net::kTimedOut);
  EXPECT_GE(secondsSince(start), 0.95);
  EXPECT_LT(secondsSince(start), 2.5);
}

// Each byte arrives well within the per-wait limit, so only one deadline for the whole
// request stops a peer from holding the exporter for 320 seconds. The peer falls silent after
// eight bytes, so an exporter that limited each wait instead would still end, after 10 s.
TEST(PictureTransfer, ExportCutsOffARequestTricklingInOneByteASecond) {
  const Pair pair(8, 8);
  const int port = freePort();
  std::atomic<bool> stop{false};
  std::atomic<int> sent{0};
  std::thread peer([&] {
    const int fd = connectLoopback(port);
    const std::uint8_t byte = 'S';
    while (!stop && sent < 8 && sendBytes(fd, {&byte, 1})) {
      ++sent;
      for (int slice = 0; slice < 20 && !stop; ++slice) std::this_thread::sleep_for(50ms);
    }
    while (!stop) std::this_thread::sleep_for(50ms);
    ::close(fd);
  });
  const Clock::time_point start = Clock::now();
  const ServeResult served = serve(port, "pw", pair.payload, 2);
  const double elapsed = secondsSince(start);
  stop = true;
  peer.join();
  EXPECT_EQ(served.code, net::kTimedOut);
  EXPECT_LT(elapsed, 3.5);
  EXPECT_LE(sent, 4);
}

// ---- The exporter against hand-made requests --------------------------------------------

struct RawImport {
  ServeResult served;
  std::vector<std::uint8_t> reply;
};

RawImport importWithRawRequest(const std::vector<std::uint8_t>& request, const Pair& pair,
                               bool closeAfterRequest = false) {
  const int port = freePort();
  RawImport result;
  std::thread exporter([&] { result.served = serve(port, "Secret", pair.payload, 3); });
  const int fd = connectLoopback(port);
  sendBytes(fd, request);
  if (!closeAfterRequest) result.reply = receiveUntilClosed(fd);
  ::close(fd);
  exporter.join();
  return result;
}

TEST(PictureTransfer, ExporterRefusesAPasswordFieldWithoutTerminator) {
  const Pair pair(8, 8);
  std::vector<std::uint8_t> request(320, 0);
  std::fill(request.begin(), request.begin() + 64, 'S');
  const std::string name = "bob";
  std::copy(name.begin(), name.end(), request.begin() + 64);
  const RawImport result = importWithRawRequest(request, pair);
  EXPECT_EQ(result.served.code, net::kPasswordMismatch);
  EXPECT_EQ(result.served.peerUser, "bob");
  EXPECT_EQ(result.reply, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PictureTransfer, ExporterServesARequestWhoseNameHasNoTerminator) {
  const Pair pair(8, 8);
  std::vector<std::uint8_t> request(320, 'z');
  const std::string password = "Secret";
  std::copy(password.begin(), password.end(), request.begin());
  std::fill(request.begin() + 6, request.begin() + 64, 0);
  request[64 + 2] = '\n';
  request[64 + 3] = 0x07;
  const RawImport result = importWithRawRequest(request, pair);
  EXPECT_EQ(result.served.code, 0);
  EXPECT_EQ(result.served.peerUser, "zz??" + std::string(252, 'z'));
  // 2432 = 0x980 in network byte order, then the payload as it was given.
  EXPECT_EQ(result.reply, concat({0, 0, 0x09, 0x80}, pair.payload));
}

TEST(PictureTransfer, ExporterEndsWithMinusTenWhenTheImporterLeavesMidRequest) {
  const Pair pair(8, 8);
  const RawImport result = importWithRawRequest(std::vector<std::uint8_t>(100, 'a'), pair, true);
  EXPECT_EQ(result.served.code, net::kPeerClosed);
}

TEST(PictureTransfer, ExportOnAPortInUseFailsToBind) {
  const Pair pair(8, 8);
  LoopbackListener other;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(serve(other.port(), "pw", pair.payload, 5).code, net::kBindFailed);
  EXPECT_LT(secondsSince(start), 1.0);
}

// ---- The importer against hand-made exporters -------------------------------------------

struct FakeExport {
  FetchResult fetched;
  std::vector<std::uint8_t> request;  // as the exporter received it
  double seconds = 0;
};

// A fake exporter reads the request, sends `reply` and then closes, or with `holdOpen` keeps
// the connection open (silent) until the importer has returned.
FakeExport importFrom(const std::vector<std::uint8_t>& reply, bool holdOpen = false,
                      int timeout = 5) {
  LoopbackListener listener;
  FakeExport result;
  std::atomic<bool> done{false};
  std::thread exporter([&] {
    const int fd = listener.accept();
    result.request = receiveExactly(fd, 320);
    sendBytes(fd, reply);
    while (holdOpen && !done) std::this_thread::sleep_for(10ms);
    ::close(fd);
  });
  const Clock::time_point start = Clock::now();
  result.fetched = fetch("127.0.0.1", listener.port(), timeout, requestFor("pw", "me"), 1024, 1024);
  result.seconds = secondsSince(start);
  done = true;
  exporter.join();
  return result;
}

std::vector<std::uint8_t> header(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> bytes(2304, 0);
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
    bytes[static_cast<std::size_t>(4 + i)] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
  }
  return bytes;
}

TEST(PictureTransfer, ImporterSendsTheRequestAsEncoded) {
  const FakeExport result = importFrom(lengthBytes(-1));
  const net::RequestBytes expected = requestFor("pw", "me");
  EXPECT_EQ(result.request, std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_EQ(result.fetched.code, net::kPasswordMismatch);
}

TEST(PictureTransfer, ImporterMapsBadLengthsToTheirCodes) {
  EXPECT_EQ(importFrom(lengthBytes(-2)).fetched.code, net::kPasswordMismatch);
  EXPECT_EQ(importFrom(lengthBytes(INT32_MIN)).fetched.code, net::kPasswordMismatch);
  // Beyond the receive buffer of 2 * 4096 * 4096 + 2304 bytes: refused before any room is made.
  const FakeExport huge = importFrom(lengthBytes(2 * 4096 * 4096 + 2305), true);
  EXPECT_EQ(huge.fetched.code, net::kLengthTooLarge);
  EXPECT_TRUE(huge.fetched.pixels.empty());
  EXPECT_EQ(importFrom(lengthBytes(INT32_MAX)).fetched.code, net::kLengthTooLarge);
  // The exporter leaves before or in the middle of the length.
  EXPECT_EQ(importFrom({}).fetched.code, net::kPeerClosed);
  EXPECT_EQ(importFrom({0, 0}).fetched.code, net::kPeerClosed);
}

TEST(PictureTransfer, ImporterRefusesPairsFromTheirHeaderAlone) {
  // Shorter than a header: refused without reading on.
  const FakeExport tiny = importFrom(concat(lengthBytes(100), std::vector<std::uint8_t>(100, 0)));
  EXPECT_EQ(tiny.fetched.code, 100);
  EXPECT_EQ(tiny.fetched.check, net::PayloadCheck::BadData);

  // 7 x 8 with its consistent length.
  const FakeExport narrow = importFrom(
      concat(concat(lengthBytes(2416), header(7, 8)), std::vector<std::uint8_t>(112, 0)));
  EXPECT_EQ(narrow.fetched.code, 2416);
  EXPECT_EQ(narrow.fetched.check, net::PayloadCheck::BadData);
  EXPECT_TRUE(narrow.fetched.pixels.empty());

  // 2048 x 2048 exceeds the importer's 1024 x 1024. The exporter sends only the header and
  // waits: the importer decides at once instead of waiting for 8 MiB of pixels.
  const FakeExport large =
      importFrom(concat(lengthBytes(2 * 2048 * 2048 + 2304), header(2048, 2048)), true);
  EXPECT_EQ(large.fetched.check, net::PayloadCheck::TooLarge);
  EXPECT_LT(large.seconds, 2.0);
}

TEST(PictureTransfer, ImporterKeepsNothingOfAnInterruptedPair) {
  const std::vector<std::uint8_t> halfPair =
      concat(concat(lengthBytes(2432), header(8, 8)), std::vector<std::uint8_t>(64, 5));
  const FakeExport closed = importFrom(halfPair);
  EXPECT_EQ(closed.fetched.code, net::kPeerClosed);
  EXPECT_TRUE(closed.fetched.pixels.empty());

  // A silent exporter: the per-wait limit ends the import.
  const FakeExport silent = importFrom(halfPair, true, 1);
  EXPECT_EQ(silent.fetched.code, net::kTimedOut);
  EXPECT_TRUE(silent.fetched.pixels.empty());
  EXPECT_GE(silent.seconds, 0.95);
  EXPECT_LT(silent.seconds, 2.5);
}

TEST(PictureTransfer, ImporterAcceptsTheSmallestPair) {
  std::vector<std::uint8_t> pixels(128);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i + 1);
  const FakeExport result = importFrom(concat(concat(lengthBytes(2432), header(8, 8)), pixels));
  EXPECT_EQ(result.fetched.code, 2432);
  EXPECT_EQ(result.fetched.check, net::PayloadCheck::Ok);
  EXPECT_EQ(result.fetched.pixels, pixels);
}

}  // namespace
}  // namespace vemla::platform
