#include "picture/byte_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "picture/file_helpers.h"

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

FileSource::FileSource(const std::string& path) {
  file_ = openRegularStream(path);
  if (file_ == nullptr) return;
  struct stat status {};
  if (::fstat(::fileno(file_), &status) == 0) size_ = static_cast<std::int64_t>(status.st_size);
}

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileSource::read(void* destination, std::size_t count) {
  if (file_ == nullptr || count == 0) return 0;
  return std::fread(destination, 1, count, file_);
}

}  // namespace vemla
