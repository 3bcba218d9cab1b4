#include "platform/picture_transfer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>
#include <thread>
#include <utility>

#include "net/transfer_messages.h"
#include "platform/user_account.h"
#include "text/translate.h"

namespace vemla::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;
constexpr int kShortestTimeout = 1;
constexpr int kLongestTimeout = 3600;
// Linux refuses a connection to a closed port at once; without a pause the importer would spin.
constexpr milliseconds kRetryPause{200};

class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  Socket& operator=(Socket&& other) noexcept {
    if (this != &other) {
      close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Socket() { close(); }
  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

Socket tcpSocket() {
  return Socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

// The longest single poll(): between two the waiting window is repainted and asked whether the
// operator still wants to wait.
constexpr milliseconds kWaitSlice{50};

// How long one wait may take: `perWait` from the start of each wait, but never past `overall`
// when it is set. `window`, when present, may end any wait early (-18).
struct TimeLimit {
  Clock::duration perWait;
  std::optional<Clock::time_point> overall;
  ProgressPort* window = nullptr;

  Clock::time_point deadline() const {
    const Clock::time_point next = Clock::now() + perWait;
    return overall ? std::min(next, *overall) : next;
  }
};

TimeLimit perWaitLimit(int seconds, ProgressPort* window) {
  return {std::chrono::seconds(seconds), std::nullopt, window};
}

bool cancelled(ProgressPort* window) {
  return window != nullptr && !window->keepWaiting();
}

// Waits until `fd` reports one of `events` (or an error, which the next call on the socket
// then reports). 0, or -15 at the deadline, -14 when poll fails, -18 when the operator cancels
// through `window`.
int waitFor(int fd, short events, Clock::time_point deadline, ProgressPort* window) {
  for (;;) {
    if (cancelled(window)) return net::kCancelled;
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return net::kTimedOut;
    const milliseconds slice = window != nullptr ? std::min(left, kWaitSlice) : left;
    pollfd entry{fd, events, 0};
    const int ready =
        ::poll(&entry, 1, static_cast<int>(std::min<long long>(slice.count(), INT_MAX)));
    if (ready < 0 && errno != EINTR) return net::kWaitFailed;
    if (ready > 0) return (entry.revents & POLLNVAL) != 0 ? net::kWaitFailed : 0;
  }
}

bool wouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

// Receives exactly `bytes.size()` bytes. 0, -9 on a receive error, -10 when the peer closes
// early, -15 / -14 from a wait.
int receiveAll(int fd, std::span<std::uint8_t> bytes, const TimeLimit& limit) {
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t count = ::recv(fd, bytes.data() + got, bytes.size() - got, 0);
    if (count > 0) {
      got += static_cast<std::size_t>(count);
    } else if (count == 0) {
      return net::kPeerClosed;
    } else if (errno == EINTR) {
      continue;
    } else if (!wouldBlock(errno)) {
      return net::kReceiveFailed;
    } else if (const int waited = waitFor(fd, POLLIN, limit.deadline(), limit.window);
               waited != 0) {
      return waited;
    }
  }
  return 0;
}

// Sends all of `bytes`. 0, -11 on a send error, -15 / -14 from a wait.
int sendAll(int fd, std::span<const std::uint8_t> bytes, const TimeLimit& limit) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    // MSG_NOSIGNAL: a peer that has gone away gives EPIPE instead of killing the process.
    const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count >= 0) {
      sent += static_cast<std::size_t>(count);
    } else if (errno == EINTR) {
      continue;
    } else if (!wouldBlock(errno)) {
      return net::kSendFailed;
    } else if (const int waited = waitFor(fd, POLLOUT, limit.deadline(), limit.window);
               waited != 0) {
      return waited;
    }
  }
  return 0;
}

// Shows the waiting window, with its "ｷｬﾝｾﾙ" button, and the wait cursor for the life of a
// transfer.
class WaitingWindow {
 public:
  WaitingWindow(const TransferPorts& ports, std::string_view text) : ports_(ports) {
    if (ports_.busy != nullptr) ports_.busy->begin();
    if (ports_.progress != nullptr) {
      ports_.progress->setText(text::tr(text));
      ports_.progress->startWait();
    }
  }
  ~WaitingWindow() {
    if (ports_.progress != nullptr) ports_.progress->finish();
    if (ports_.busy != nullptr) ports_.busy->end();
  }
  WaitingWindow(const WaitingWindow&) = delete;
  WaitingWindow& operator=(const WaitingWindow&) = delete;

 private:
  TransferPorts ports_;
};

// Waits for the connection and accepts it; the listener is closed at once, so later importers
// are refused instead of waiting in the backlog for an export that will not serve them.
int acceptOne(Socket& listener, int timeoutSeconds, ProgressPort* window, Socket& connection,
              std::string& peerAddress) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    if (const int waited = waitFor(listener.fd(), POLLIN, deadline, window); waited != 0) {
      return waited;
    }
    sockaddr_in peer{};
    socklen_t peerSize = sizeof peer;
    const int fd = ::accept4(listener.fd(), reinterpret_cast<sockaddr*>(&peer), &peerSize,
                             SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) {
      connection = Socket(fd);
      char text[INET_ADDRSTRLEN] = {};
      if (::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text) != nullptr) peerAddress = text;
      listener.close();
      return 0;
    }
    // A connection that was reset while it waited in the backlog is gone: wait for the next.
    if (errno != EINTR && !wouldBlock(errno) && errno != ECONNABORTED) return net::kAcceptFailed;
  }
}

int listenOn(Socket& listener, int port) {
  listener = tcpSocket();
  if (!listener.valid()) return net::kSocketFailed;
  // Lets an export follow the previous one at once: the connection that an exporter closes
  // first lingers in TIME_WAIT for a minute and would otherwise block the port.
  const int on = 1;
  ::setsockopt(listener.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::bind(listener.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return net::kBindFailed;
  }
  if (::listen(listener.fd(), SOMAXCONN) != 0) return net::kListenFailed;
  return 0;
}

// One connection attempt: 0 when connected, -3 when it failed or was refused (the caller
// retries), another code when waiting for it failed.
int connectOnce(const sockaddr_in& address, int timeoutSeconds, ProgressPort* window,
                Socket& connection) {
  connection = tcpSocket();
  if (!connection.valid()) return net::kSocketFailed;
  if (::connect(connection.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
      0) {
    return 0;
  }
  if (errno != EINPROGRESS && errno != EINTR) return net::kConnectFailed;
  const int waited = waitFor(connection.fd(), POLLOUT,
                             Clock::now() + std::chrono::seconds(timeoutSeconds), window);
  if (waited != 0) return waited;
  int error = 0;
  socklen_t errorSize = sizeof error;
  if (::getsockopt(connection.fd(), SOL_SOCKET, SO_ERROR, &error, &errorSize) != 0) {
    return net::kEventsUnreadable;
  }
  return error == 0 ? 0 : net::kConnectFailed;
}

int connectRetrying(const sockaddr_in& address, int timeoutSeconds, ProgressPort* window,
                    Socket& connection) {
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    const int result = connectOnce(address, timeoutSeconds, window, connection);
    if (result != net::kConnectFailed) return result;
    connection.close();
    // The pause before the next attempt, in slices that keep the waiting window answering.
    const Clock::time_point retry = std::min(Clock::now() + kRetryPause, end);
    for (Clock::time_point now = Clock::now(); now < retry; now = Clock::now()) {
      if (cancelled(window)) return net::kCancelled;
      std::this_thread::sleep_for(
          std::min<Clock::duration>(window != nullptr ? kWaitSlice : kRetryPause, retry - now));
    }
    if (Clock::now() >= end) return net::kTimedOut;
  }
}

}  // namespace

ServeResult serve(int port, std::string_view password, std::span<const std::uint8_t> payload,
                  int timeoutSeconds, const TransferPorts& ports) {
  port = std::clamp(port, kLowestPort, kHighestPort);
  timeoutSeconds = std::clamp(timeoutSeconds, kShortestTimeout, kLongestTimeout);
  WaitingWindow waiting(ports, net::msg::kExportWaiting);
  ServeResult result;

  Socket listener;
  if ((result.code = listenOn(listener, port)) != 0) return result;
  Socket connection;
  if ((result.code = acceptOne(listener, timeoutSeconds, ports.progress, connection,
                               result.peerAddress)) != 0) {
    return result;
  }

  // One deadline for the whole request, counted from the accept.
  const Clock::time_point requestEnd = Clock::now() + std::chrono::seconds(timeoutSeconds);
  net::RequestBytes bytes{};
  if ((result.code =
           receiveAll(connection.fd(), bytes,
                      {std::chrono::seconds(timeoutSeconds), requestEnd, ports.progress})) != 0) {
    return result;
  }
  const net::ImportRequest request = net::decodeRequest(bytes);
  result.peerUser = net::displayUserName(request.userName);

  const TimeLimit sendLimit = perWaitLimit(timeoutSeconds, ports.progress);
  if (!net::passwordMatches(request, password)) {
    const net::LengthBytes refusal = net::encodeLength(net::kPasswordRefusedLength);
    result.code = sendAll(connection.fd(), refusal, sendLimit) == 0 ? net::kPasswordMismatch
                                                                    : net::kSendFailed;
    return result;
  }
  if (payload.size() > static_cast<std::size_t>(INT32_MAX)) {
    result.code = net::kSendFailed;
    return result;
  }
  const net::LengthBytes length = net::encodeLength(static_cast<std::int32_t>(payload.size()));
  if ((result.code = sendAll(connection.fd(), length, sendLimit)) != 0) return result;
  result.code = sendAll(connection.fd(), payload, sendLimit);
  return result;
}

FetchResult fetch(std::string_view address, int port, int timeoutSeconds,
                  const net::RequestBytes& request, int maxWidth, int maxHeight,
                  const TransferPorts& ports) {
  port = std::clamp(port, kLowestPort, kHighestPort);
  timeoutSeconds = std::clamp(timeoutSeconds, kShortestTimeout, kLongestTimeout);
  WaitingWindow waiting(ports, net::msg::kImportWaiting);
  FetchResult result;

  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, std::string(address).c_str(), &peer.sin_addr) != 1) {
    result.code = net::kConnectFailed;
    return result;
  }
  Socket connection;
  if ((result.code = connectRetrying(peer, timeoutSeconds, ports.progress, connection)) != 0) {
    return result;
  }

  const TimeLimit limit = perWaitLimit(timeoutSeconds, ports.progress);
  if ((result.code = sendAll(connection.fd(), request, limit)) != 0) return result;
  net::LengthBytes lengthBytes{};
  if ((result.code = receiveAll(connection.fd(), lengthBytes, limit)) != 0) return result;
  const std::int32_t length = net::decodeLength(lengthBytes);
  if (length < 0) {
    result.code = net::kPasswordMismatch;
    return result;
  }
  if (length > net::kReceiveCapacity) {
    result.code = net::kLengthTooLarge;
    return result;
  }
  result.code = length;

  // The header decides whether the pixels are wanted at all; only then is room made for them.
  std::vector<std::uint8_t> header(
      std::min<std::size_t>(static_cast<std::size_t>(length), net::kPayloadHeaderBytes));
  if (header.size() == net::kPayloadHeaderBytes) {
    if (const int received = receiveAll(connection.fd(), header, limit); received != 0) {
      result.code = received;
      return result;
    }
  }
  result.check = net::checkPayloadHeader(length, header, maxWidth, maxHeight, result.header);
  if (result.check != net::PayloadCheck::Ok) return result;

  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(length) - net::kPayloadHeaderBytes);
  if (const int received = receiveAll(connection.fd(), pixels, limit); received != 0) {
    result.code = received;
    result.check = net::PayloadCheck::BadData;
    return result;
  }
  result.pixels = std::move(pixels);
  return result;
}

std::string localUserName() {
  if (const std::optional<UserAccount> account = userAccount(); account && !account->name.empty()) {
    return account->name;
  }
  const char* user = std::getenv("USER");
  return user != nullptr ? user : "";
}

}  // namespace vemla::platform
