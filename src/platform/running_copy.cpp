#include "platform/running_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace vemla::platform {
namespace {

// Lock files never begin with "$V", the prefix of the temporary files that start-up deletes.
constexpr const char* kRunLock = "/VemlaRun.lck";
// Taken around the decision: converting an exclusive flock to a shared one is not atomic, and
// without this another copy starting in that moment could also win the exclusive lock.
constexpr const char* kStartLock = "/VemlaStart.lck";

int openLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
}

int lockRetrying(int fd, int operation) {
  for (;;) {
    const int result = ::flock(fd, operation);
    if (result == 0 || errno != EINTR) return result;
  }
}

}  // namespace

RunningCopy::RunningCopy(const std::string& programFolder) {
  const int guard = openLockFile(programFolder + kStartLock);
  if (guard < 0) return;
  if (lockRetrying(guard, LOCK_EX) != 0) {
    ::close(guard);
    return;
  }
  fd_ = openLockFile(programFolder + kRunLock);
  if (fd_ >= 0) {
    first_ = lockRetrying(fd_, LOCK_EX | LOCK_NB) == 0;
    // The first copy keeps the lock shared, so that later copies fail to take it exclusively
    // for as long as any copy runs. Nobody else holds it exclusively while we hold the guard.
    if (lockRetrying(fd_, LOCK_SH) != 0) {
      first_ = false;
      ::close(fd_);
      fd_ = -1;
    }
  }
  ::close(guard);  // releases the guard lock
}

RunningCopy::~RunningCopy() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<RunningCopy> joinRunningCopies(Workbench& bench) {
  auto copy = std::make_unique<RunningCopy>(bench.settings.folder);
  bench.secondCopy = !copy->first();
  if (bench.secondCopy) bench.titles.main.insert(0, "(M)");
  return copy;
}

}  // namespace vemla::platform
