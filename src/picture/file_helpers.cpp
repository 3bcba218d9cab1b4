#include "picture/file_helpers.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <limits>
#include <random>
#include <string>

namespace vemla {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

// Opens `path` for reading without blocking on a FIFO or device, and keeps the descriptor
// only when it names a regular file.
int openRegularFileForReading(const std::string& path, struct stat* status) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (::fstat(fd, status) != 0 || !S_ISREG(status->st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// read() that retries on EINTR; returns the count read, 0 at end of file, -1 on error.
ssize_t readSome(int fd, void* buffer, std::size_t count) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, count);
    if (got >= 0 || errno != EINTR) return got;
  }
}

// Writes all of `count` bytes, retrying on EINTR and partial writes.
bool writeAll(int fd, const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;  // no progress: treat as a full device
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

// `length` characters of [0-9A-Z] drawn from a fresh random device, so that concurrent
// processes and threads pick different names without any shared state.
std::string randomPart(std::size_t length) {
  static constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
  std::string part(length, '0');
  for (char& c : part) c = kAlphabet[pick(device)];
  return part;
}

// Creates a new file with O_EXCL named `stem` + random part + `suffix`. Returns the open
// descriptor (or -1) and stores the name. The kernel applies the process umask to `mode`.
int createExclusive(const std::string& stem, std::string_view suffix, mode_t mode,
                    std::string* createdPath) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string candidate = stem + randomPart(8);
    candidate += suffix;
    const int fd =
        ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    if (fd >= 0) {
      *createdPath = std::move(candidate);
      return fd;
    }
    if (errno != EEXIST && errno != EINTR) return -1;
  }
  return -1;
}

// Owns a temporary file while it is written: closes the descriptor and removes the file
// unless the write was committed by renaming it over the target.
class PendingFile {
 public:
  PendingFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Flushes and closes; false when either fails (the descriptor is gone either way).
  bool flushAndClose() {
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }
  void commit() { committed_ = true; }

 private:
  int fd_;
  std::string path_;
  bool committed_ = false;
};

// Makes a completed rename durable; a failure here does not undo the replacement.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool replaceAtomically(const std::string& path, const std::function<bool(int fd)>& write);
bool copyRest(int source, int target);

}  // namespace

std::string inFolder(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

bool fileExists(const std::string& path) {
  struct stat status {};
  const int fd = openRegularFileForReading(path, &status);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::int64_t fileSize(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

std::optional<LocalDateTime> lastWriteTime(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  const std::time_t seconds = status.st_mtime;
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) return std::nullopt;
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec & ~1;  // a leap second 60 stays 60
  return result;
}

bool copyFile(const std::string& from, const std::string& to) {
  struct stat status {};
  const int source = openRegularFileForReading(from, &status);
  if (source < 0) return false;
  // The source is streamed, so its size never decides how much memory is used.
  const bool copied =
      replaceAtomically(to, [source](int target) { return copyRest(source, target); });
  ::close(source);
  return copied;
}

bool deleteFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::optional<std::vector<std::uint8_t>> readFilePrefix(const std::string& path,
                                                        std::uint64_t maxBytes) {
  struct stat status {};
  const int fd = openRegularFileForReading(path, &status);
  if (fd < 0) return std::nullopt;
  const std::uint64_t expected = std::min<std::uint64_t>(
      static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0)) + 1, maxBytes);
  std::vector<std::uint8_t> bytes;
  bool failed = false;
  try {
    bytes.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(expected, std::numeric_limits<std::size_t>::max() / 2)));
    std::uint64_t total = 0;
    while (total < maxBytes) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes - total, kChunkBytes));
      bytes.resize(static_cast<std::size_t>(total) + want);
      const ssize_t got = readSome(fd, bytes.data() + total, want);
      if (got < 0) {
        failed = true;
        break;
      }
      total += static_cast<std::uint64_t>(got);
      bytes.resize(static_cast<std::size_t>(total));
      if (got == 0) break;
    }
  } catch (const std::bad_alloc&) {
    failed = true;
  }
  ::close(fd);
  if (failed) return std::nullopt;
  return bytes;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t limit) {
  // One byte beyond the limit is enough to tell that the file is too large.
  const std::uint64_t cap = limit == std::numeric_limits<std::uint64_t>::max() ? limit : limit + 1;
  std::optional<std::vector<std::uint8_t>> bytes = readFilePrefix(path, cap);
  if (bytes && bytes->size() > limit) return std::nullopt;
  return bytes;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  return writeFileAtomically(
      path, [bytes](const ByteSink& sink) { return sink(bytes.data(), bytes.size()); });
}

namespace {

// Writes a new file through `write` (given the open temporary file) and renames it over `path`.
bool replaceAtomically(const std::string& path, const std::function<bool(int fd)>& write) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return false;

  // An existing target keeps its permission bits. The temporary file is created 0600 in that
  // case and widened with fchmod only when complete, so a private file is never readable by
  // others while it is written. A new target is created 0666 and the kernel applies the umask,
  // which spares reading the umask (umask() can only be read by changing it, a race between
  // threads).
  struct stat target {};
  std::optional<mode_t> keptMode;
  if (::stat(path.c_str(), &target) == 0) {
    if (!S_ISREG(target.st_mode)) return false;
    keptMode = target.st_mode & 07777;
  } else if (errno != ENOENT) {
    return false;
  }

  // The temporary name is hidden and in the same folder, so the rename stays on one file
  // system; a long name is cut so that the temporary one still fits the name limit.
  const std::string stem =
      (slash == std::string::npos ? std::string() : folder) + "." + name.substr(0, 200) + ".";
  std::string temporaryPath;
  const int fd = createExclusive(stem, "", keptMode ? 0600 : 0666, &temporaryPath);
  if (fd < 0) return false;
  PendingFile pending(fd, temporaryPath);

  if (!write(pending.fd())) return false;
  if (keptMode && ::fchmod(pending.fd(), *keptMode) != 0) return false;
  if (!pending.flushAndClose()) return false;
  if (::rename(pending.path().c_str(), path.c_str()) != 0) return false;
  pending.commit();
  syncFolder(folder);
  return true;
}

// Copies what is left of `source` to `target` in the kernel where it can (no pass through this
// process's memory), else in chunks.
bool copyRest(int source, int target) {
  constexpr std::size_t kKernelStep = std::size_t{1} << 30;
  for (;;) {
    const ssize_t copied = ::copy_file_range(source, nullptr, target, nullptr, kKernelStep, 0);
    if (copied == 0) return true;
    if (copied > 0 || errno == EINTR) continue;
    // Not between these files (other file systems, an old kernel): both offsets are where the
    // copy stopped, so the chunks carry on from there.
    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return false;
    break;
  }
  std::vector<std::uint8_t> chunk(kChunkBytes);
  for (;;) {
    const ssize_t got = readSome(source, chunk.data(), chunk.size());
    if (got < 0) return false;
    if (got == 0) return true;
    if (!writeAll(target, chunk.data(), static_cast<std::size_t>(got))) return false;
  }
}

}  // namespace

bool writeFileAtomically(const std::string& path,
                         const std::function<bool(const ByteSink&)>& produce) {
  return replaceAtomically(path, [&produce](int fd) {
    bool writeFailed = false;
    const ByteSink sink = [fd, &writeFailed](const void* data, std::size_t count) {
      if (writeFailed) return false;
      if (count > 0 && !writeAll(fd, data, count)) writeFailed = true;
      return !writeFailed;
    };
    return produce(sink) && !writeFailed;
  });
}

std::optional<std::string> temporaryName(std::string_view folder, bool tilde, char kind,
                                         bool quoteBlank, std::string_view extension) {
  if (kind == '/') return std::nullopt;
  std::string prefix;
  prefix += tilde ? '~' : '$';
  prefix += 'V';
  prefix += kind == 0 ? '$' : kind;
  prefix += std::to_string(static_cast<long>(::getpid()));
  prefix += '-';
  std::string created;
  const int fd = createExclusive(inFolder(folder, prefix), extension, 0666, &created);
  if (fd < 0) return std::nullopt;
  ::close(fd);
  if (quoteBlank && created.find_first_of(" \t") != std::string::npos) {
    created = '"' + created + '"';
  }
  return created;
}

std::optional<long> temporaryNameOwner(std::string_view fileName) {
  constexpr std::size_t kPrefixLength = 3;  // "$V" or "~V" and the kind
  constexpr std::size_t kMaxDigits = 10;    // pid_t is 32 bits
  if (fileName.size() <= kPrefixLength || (fileName[0] != '$' && fileName[0] != '~') ||
      fileName[1] != 'V') {
    return std::nullopt;
  }
  const std::string_view rest = fileName.substr(kPrefixLength);
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > kMaxDigits) return std::nullopt;
  long long id = 0;
  for (const char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return std::nullopt;
    id = id * 10 + (c - '0');
  }
  // Zero and values beyond pid_t would make kill() address a group or fail differently.
  if (id <= 0 || id > std::numeric_limits<pid_t>::max()) return std::nullopt;
  return static_cast<long>(id);
}

namespace {

// "$V" followed by the kind, or "$V" alone for every kind.
std::string temporaryPrefix(char kind) {
  std::string prefix = "$V";
  if (kind != 0) prefix += kind;
  return prefix;
}

// Whether process `id` exists. A process of another user (EPERM) exists too.
bool processAlive(long id) {
  return !(::kill(static_cast<pid_t>(id), 0) == -1 && errno == ESRCH);
}

template <typename Predicate>
int deleteTemporaryFilesIf(std::string_view folder, char kind, Predicate shouldDelete) {
  int deleted = 0;
  for (const std::string& name : filesWithPrefix(folder, temporaryPrefix(kind))) {
    if (shouldDelete(temporaryNameOwner(name)) && deleteFile(inFolder(folder, name))) ++deleted;
  }
  return deleted;
}

}  // namespace

int deleteOwnTemporaryFiles(std::string_view folder, char kind) {
  const long self = static_cast<long>(::getpid());
  return deleteTemporaryFilesIf(folder, kind,
                                [self](std::optional<long> owner) { return owner == self; });
}

int deleteStaleTemporaryFiles(std::string_view folder, char kind) {
  const long self = static_cast<long>(::getpid());
  return deleteTemporaryFilesIf(folder, kind, [self](std::optional<long> owner) {
    if (!owner) return true;  // left by a version that did not record its owner
    return *owner != self && !processAlive(*owner);
  });
}

std::vector<std::string> filesWithPrefix(std::string_view folder, std::string_view prefix) {
  std::vector<std::string> names;
  const std::string folderPath = folder.empty() ? std::string(".") : std::string(folder);
  DIR* directory = ::opendir(folderPath.c_str());
  if (directory == nullptr) return names;
  const int directoryFd = ::dirfd(directory);
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view entryName(entry->d_name);
    if (!entryName.starts_with(prefix) || entryName == "." || entryName == "..") continue;
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat status {};
      regular = ::fstatat(directoryFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(status.st_mode);
    }
    if (regular) names.emplace_back(entryName);
  }
  ::closedir(directory);
  std::sort(names.begin(), names.end());
  return names;
}

int deleteFilesWithPrefix(std::string_view folder, std::string_view prefix) {
  int deleted = 0;
  for (const std::string& name : filesWithPrefix(folder, prefix)) {
    if (deleteFile(inFolder(folder, name))) ++deleted;
  }
  return deleted;
}

}  // namespace vemla
