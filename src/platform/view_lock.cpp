#include "platform/view_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace vemla::platform {
namespace {

// Not "$V…": start-up deletes the temporary files of that prefix.
constexpr const char* kViewLockFile = "/vemla241View.lck";

}  // namespace

ViewLock::ViewLock(const std::string& programFolder) {
  const int fd = ::open((programFolder + kViewLockFile).c_str(),
                        O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return;
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

ViewLock::~ViewLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace vemla::platform
