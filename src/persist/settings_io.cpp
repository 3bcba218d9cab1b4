#include "persist/settings_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "text/format.h"

namespace vemla::persist {

FileBytes readFileStart(const std::string& path, std::size_t maxBytes) {
  FileBytes result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) result.state = FileBytes::State::Absent;
    return result;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return result;
  }
  try {
    const auto expected = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    result.bytes.resize(std::min(expected, maxBytes));
    std::size_t total = 0;
    bool failed = false;
    // The file may grow or shrink while it is read: read until its end or the limit.
    while (total < maxBytes) {
      if (total == result.bytes.size()) {
        result.bytes.resize(std::min(maxBytes, total + 64 * 1024));
      }
      const ssize_t got = ::read(fd, result.bytes.data() + total, result.bytes.size() - total);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        failed = true;
        break;
      }
      if (got == 0) break;
      total += static_cast<std::size_t>(got);
    }
    result.bytes.resize(total);
    result.state = failed ? FileBytes::State::Failed : FileBytes::State::Read;
  } catch (const std::bad_alloc&) {
    result.bytes.clear();
    result.state = FileBytes::State::Failed;
  }
  ::close(fd);
  return result;
}

void reportSettingsFile(UserPort& user, const char* pattern, const std::string& path) {
  user.tell(Icon::Error, text::format(text::tr(pattern), path.c_str()));
}

bool replaceSettingsFile(const std::string& path,
                         const std::function<bool(const ByteSink&)>& produce, bool& keepBad,
                         UserPort& user) {
  if (keepBad && fileExists(path) && !copyFile(path, path + kBadSuffix)) {
    reportSettingsFile(user, msg::kSettingsWriteFailed, path);
    return false;
  }
  if (!writeFileAtomically(path, produce)) {
    reportSettingsFile(user, msg::kSettingsWriteFailed, path);
    return false;
  }
  keepBad = false;
  return true;
}

bool replaceSettingsFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         bool& keepBad, UserPort& user) {
  return replaceSettingsFile(
      path, [bytes](const ByteSink& sink) { return sink(bytes.data(), bytes.size()); }, keepBad,
      user);
}

}  // namespace vemla::persist
