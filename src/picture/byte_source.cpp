#include "picture/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace vemla {

std::size_t MemorySource::read(void* destination, std::size_t count) {
  const std::size_t available = bytes_.size() - position_;
  const std::size_t taken = std::min(count, available);
  if (taken > 0) {
    std::memcpy(destination, bytes_.data() + position_, taken);
    position_ += taken;
  }
  return taken;
}

FileSource::FileSource(const std::string& path, bool regularOnly) {
  if (regularOnly) {
    // Opened without blocking, so a FIFO or a device is seen and refused before any read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        (file_ = ::fdopen(fd, "rb")) == nullptr) {
      ::close(fd);
      return;
    }
    size_ = static_cast<std::int64_t>(status.st_size);
    return;
  }
  // "rb" never creates the file.
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return;
  struct stat status {};
  if (::fstat(::fileno(file_), &status) == 0 && S_ISREG(status.st_mode)) {
    size_ = static_cast<std::int64_t>(status.st_size);
  }
}

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileSource::read(void* destination, std::size_t count) {
  if (file_ == nullptr || count == 0) return 0;
  return std::fread(destination, 1, count, file_);
}

}  // namespace vemla
