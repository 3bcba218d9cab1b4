#include "picture/raw.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "picture/file_helpers.h"

namespace vemla {

int readRawPicture(const std::string& path, std::int64_t offset,
                   std::span<std::uint8_t> destination) {
  std::fill(destination.begin(), destination.end(), std::uint8_t{0});
  if (offset < 0) return 0;
  // Read-only and without O_CREAT: a missing file is a failure and stays missing; a FIFO or
  // device is refused.
  const int fd = openRegularForReading(path);
  if (fd < 0) return 0;
  // An offset so large that offset + size overflows lies past the end of any file.
  const bool pastAnyEnd =
      static_cast<std::uint64_t>(offset) >
      static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) - destination.size();
  std::size_t done = 0;
  bool failed = false;
  while (!pastAnyEnd && done < destination.size()) {
    const ssize_t got = ::pread(fd, destination.data() + done, destination.size() - done,
                                static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      failed = true;
      break;
    }
    if (got == 0) break;  // end of file: the rest stays zero
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return failed ? 0 : 1;
}

}  // namespace vemla
