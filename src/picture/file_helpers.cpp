#include "picture/file_helpers.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <limits>
#include <random>
#include <string>

namespace vemla {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

int openRegularFileForReading(const std::string& path, struct stat* status) {
  const int fd = openRegularForReading(path);
  if (fd >= 0 && ::fstat(fd, status) != 0) {
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

int openRegularForReading(const std::string& path) {
  // Without blocking, so that a FIFO or device is seen (and refused) before any read; the flag
  // is cleared again so that reads of the regular file behave as usual.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::FILE* openRegularStream(const std::string& path) {
  const int fd = openRegularForReading(path);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return file;
}

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

constexpr int kMostLinks = 40;  // the kernel's own limit on a chain of symbolic links

// The folder part of `path` with its slash ("" for a bare name) and the name after it.
std::pair<std::string, std::string> splitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The hidden name of a replacement of `name` without its owner part: "." + name (cut so that
// the whole name still fits the name limit) + ".".
std::string replacementStem(const std::string& name) {
  return "." + name.substr(0, 200) + ".";
}

// The owner of a replacement file from the part after its stem: decimal digits, "-" and eight
// characters of [0-9A-Z]; nullopt for anything else.
std::optional<long> replacementOwner(std::string_view tail) {
  constexpr std::size_t kRandomLength = 8;
  if (tail.size() <= kRandomLength + 1) return std::nullopt;
  const std::string_view random = tail.substr(tail.size() - kRandomLength);
  if (tail[tail.size() - kRandomLength - 1] != '-' ||
      !std::all_of(random.begin(), random.end(),
                   [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); })) {
    return std::nullopt;
  }
  // The id part is read by the temporary-name parser, which takes "<kind><digits>-".
  std::string asTemporary = "$VX";
  asTemporary += tail.substr(0, tail.size() - kRandomLength);
  return temporaryNameOwner(asTemporary);
}

bool processAlive(long id);

// Names directly in `folder` ("" for the working folder) that begin with `prefix`; every kind
// of entry, since a replacement file is checked again before it is removed.
std::vector<std::string> entriesWithPrefix(const std::string& folder, std::string_view prefix) {
  std::vector<std::string> names;
  DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return names;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name(entry->d_name);
    if (name.starts_with(prefix) && name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(directory);
  return names;
}

// Removes `folder` + `name` when it is a regular file whose owner process is gone.
bool deleteIfStaleReplacement(const std::string& folder, const std::string& name,
                              std::optional<long> owner) {
  if (!owner || *owner == static_cast<long>(::getpid()) || processAlive(*owner)) return false;
  struct stat status {};
  const std::string path = folder + name;
  return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         ::unlink(path.c_str()) == 0;
}

// Removes the replacement files of `name` in `folder` left by processes that are gone (a save
// that was killed before its rename).
void deleteStaleReplacementsOf(const std::string& folder, const std::string& name) {
  const std::string stem = replacementStem(name);
  for (const std::string& entry : entriesWithPrefix(folder, stem)) {
    deleteIfStaleReplacement(folder, entry,
                             replacementOwner(std::string_view(entry).substr(stem.size())));
  }
}

// Writes a new file through `write` (given the open temporary file) and renames it over `path`.
bool replaceAtomically(const std::string& path, const std::function<bool(int fd)>& write) {
  FileReplacement replacement(path);
  if (!replacement.isOpen() || !write(replacement.fd())) return false;
  return replacement.commit();
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

std::optional<std::string> saveTarget(const std::string& path) {
  std::string current = path;
  for (int step = 0; step <= kMostLinks; ++step) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0) {
      if (errno == ENOENT) return current;  // a new file, or the missing end of a link
      return std::nullopt;
    }
    if (!S_ISLNK(status.st_mode)) return current;
    std::string link(static_cast<std::size_t>(PATH_MAX), '\0');
    const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return std::nullopt;
    link.resize(static_cast<std::size_t>(length));
    current = link.front() == '/' ? link : splitPath(current).first + link;
  }
  return std::nullopt;  // a loop of links
}

FileReplacement::FileReplacement(const std::string& path) {
  const std::optional<std::string> target = saveTarget(path);
  if (!target) return;
  auto [folder, name] = splitPath(*target);
  if (name.empty() || name == "." || name == "..") return;

  // An existing target must be a regular file the user may write: the rename would replace a
  // read-only file as easily as any other, so the permission is checked here. A file with no
  // write permission at all is refused even to a user (root) whom the system would let write.
  struct stat status {};
  if (::stat(target->c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode) || (status.st_mode & 0222) == 0 ||
        ::access(target->c_str(), W_OK) != 0) {
      return;
    }
    keptMode_ = status.st_mode & 07777;
    owner_ = status.st_uid;
    group_ = status.st_gid;
  } else if (errno != ENOENT) {
    return;
  }

  deleteStaleReplacementsOf(folder, name);
  // The temporary name is hidden, in the target's folder (so the rename stays on one file
  // system) and carries this process's id, so that a later save can tell a leftover of a
  // killed save from the file of a save still running. An existing target's replacement is
  // created 0600 and widened only when complete, so a private file is never readable by others
  // while it is written; a new target is created 0666 and the kernel applies the umask.
  const std::string stem =
      folder + replacementStem(name) + std::to_string(static_cast<long>(::getpid())) + "-";
  fd_ = createExclusive(stem, "", keptMode_ ? 0600 : 0666, &temporaryPath_);
  if (fd_ < 0) return;
  target_ = *target;
  folder_ = folder.empty() ? "." : folder;
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporaryPath_.empty() && !committed_) ::unlink(temporaryPath_.c_str());
}

bool FileReplacement::write(const void* data, std::size_t count) {
  return fd_ >= 0 && writeAll(fd_, data, count);
}

bool FileReplacement::commit() {
  if (fd_ < 0 || committed_) return false;
  if (keptMode_) {
    // The owner and group stay where the system allows it (a user may only give a file to a
    // group of their own); the permission bits are set after, as chown clears set-id bits.
    if (::fchown(fd_, owner_, group_) != 0 && ::fchown(fd_, static_cast<uid_t>(-1), group_) != 0) {
      // Kept as this user's file.
    }
    if (::fchmod(fd_, *keptMode_) != 0) return false;
  }
  const bool synced = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed) return false;
  if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) return false;
  committed_ = true;
  syncFolder(folder_);
  return true;
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
  int deleted = deleteTemporaryFilesIf(folder, kind, [self](std::optional<long> owner) {
    if (!owner) return true;  // left by a version that did not record its owner
    return *owner != self && !processAlive(*owner);
  });
  if (kind != 0) return deleted;
  // Replacement files of killed saves: "." + name + "." + owner id + "-" + eight characters.
  const std::string folderPath = folder.empty() ? std::string() : inFolder(folder, "");
  for (const std::string& name : entriesWithPrefix(folderPath, ".")) {
    const std::size_t dot = name.rfind('.');
    if (dot == 0 || dot == std::string::npos) continue;
    if (deleteIfStaleReplacement(folderPath, name,
                                 replacementOwner(std::string_view(name).substr(dot + 1)))) {
      ++deleted;
    }
  }
  return deleted;
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
