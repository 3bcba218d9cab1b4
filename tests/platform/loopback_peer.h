#pragma once
// Hand-driven peers on 127.0.0.1 for the transfer tests: a port nobody uses, a raw connecting
// peer and a raw listening peer. Every socket has a receive and send time limit, so a test
// that goes wrong ends instead of hanging.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <span>
#include <vector>

namespace vemla::testing {

inline void limitSocket(int fd, int seconds) {
  timeval limit{seconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

inline sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// A listening socket on 127.0.0.1 at a port the kernel chose.
class LoopbackListener {
 public:
  LoopbackListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = loopback(0);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    ::listen(fd_, 4);
    limitSocket(fd_, 10);
  }
  ~LoopbackListener() { close(); }
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;
  int port() const { return port_; }
  // The accepted connection (with time limits), or -1.
  int accept() {
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) limitSocket(fd, 10);
    return fd;
  }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A port that was free a moment ago (the listener that held it is closed again).
inline int freePort() {
  LoopbackListener listener;
  return listener.port();
}

// Connects to 127.0.0.1:port, retrying for up to five seconds while nothing listens yet.
inline int connectLoopback(int port) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      limitSocket(fd, 10);
      return fd;
    }
    ::close(fd);
    ::usleep(50'000);
  }
  return -1;
}

inline bool sendBytes(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count <= 0) return false;
    sent += static_cast<std::size_t>(count);
  }
  return true;
}

// Everything the peer sends until it closes (or the time limit passes).
inline std::vector<std::uint8_t> receiveUntilClosed(int fd) {
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
    if (count <= 0) return bytes;
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
}

inline std::vector<std::uint8_t> receiveExactly(int fd, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t count = ::recv(fd, bytes.data() + got, size - got, 0);
    if (count <= 0) break;
    got += static_cast<std::size_t>(count);
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace vemla::testing
