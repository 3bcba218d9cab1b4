#pragma once
// The view lock "vemla241View": held by the copy that started as a stand-alone viewer, for the
// rest of its life. Only its holder listens for hand-overs and may remove a socket file left by
// a crashed viewer, so two viewers starting together never remove each other's socket. The
// kernel frees the lock when the process ends, also after a crash.
#include <string>

namespace vemla::platform {

class ViewLock {
 public:
  // Tries to take the lock of `programFolder` without waiting.
  explicit ViewLock(const std::string& programFolder);
  ~ViewLock();
  ViewLock(const ViewLock&) = delete;
  ViewLock& operator=(const ViewLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace vemla::platform
