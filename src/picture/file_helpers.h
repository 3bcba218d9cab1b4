#pragma once
// File helpers used across the system: existence, size, last write time, copy, delete,
// temporary names in the program folder, prefix deletion and enumeration, whole-file reads with
// a limit, and atomic replacement of a file.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vemla {

// `folder` joined with `name` by one '/'.
std::string inFolder(std::string_view folder, std::string_view name);

// Every reader of a named file opens it through one of these two: a regular file is opened
// for reading; a FIFO, a device or a folder is refused (-1, null) without blocking, so that no
// reader can hang on one or read without end.
int openRegularForReading(const std::string& path);
std::FILE* openRegularStream(const std::string& path);

bool fileExists(const std::string& path);        // a regular file that can be opened for reading
std::int64_t fileSize(const std::string& path);  // -1 on failure

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};
// Last write time in local time; seconds are rounded down to an even number (2 s resolution).
std::optional<LocalDateTime> lastWriteTime(const std::string& path);

bool copyFile(const std::string& from, const std::string& to);  // replaces `to` atomically
bool deleteFile(const std::string& path);

// Reads at most `maxBytes` bytes from the start of a regular file (a FIFO or device is refused
// without blocking). Fails (nullopt) when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFilePrefix(const std::string& path,
                                                        std::uint64_t maxBytes);
// Reads a whole file. Fails (nullopt) when it cannot be read or holds more than `limit` bytes;
// never reads more than limit + 1 bytes, even when the file grows while it is read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t limit);

// The file a save of `path` replaces: a symbolic link is followed to its end, also to a target
// that does not exist yet (which the save creates). nullopt for a loop of links or a link that
// cannot be read.
std::optional<std::string> saveTarget(const std::string& path);

// A new file that replaces `path` when committed: the one way every user and program file is
// saved. It is written as a hidden file beside the file `path` names (a symbolic link is
// followed, so the link stays and its target is replaced), named "." + the target's name + "."
// + this process's id + "-" + eight random characters; leftovers of killed saves of the same
// target (their process gone) are removed when it is created. Refused (not open): a target
// that is not a regular file, or that the user may not write or that has no write permission
// at all. An existing target keeps its mode and, where the system allows, its owner and group.
// The rename gives the file a new inode: other hard links to it keep the old content.
// Destroyed uncommitted, the temporary file is removed and the target is untouched.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& path);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  bool isOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& temporaryPath() const { return temporaryPath_; }
  // Writes all of `count` bytes to the temporary file.
  bool write(const void* data, std::size_t count);
  // Sets the kept mode, flushes to disk, closes and renames over the target.
  bool commit();

 private:
  int fd_ = -1;
  std::string temporaryPath_;
  std::string target_;
  std::string folder_;
  std::optional<unsigned> keptMode_;
  unsigned owner_ = 0;
  unsigned group_ = 0;
  bool committed_ = false;
};

// Writes `bytes` through a FileReplacement of `path`. On any failure the temporary file is
// removed and the previous file is intact.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Streaming form: `produce` is called with a sink that appends bytes and returns false after a
// write error; the target is replaced only when `produce` returns true and every write and the
// close succeeded. A new file gets mode 0666 & ~umask; an existing file keeps its mode.
using ByteSink = std::function<bool(const void* data, std::size_t count)>;
bool writeFileAtomically(const std::string& path,
                         const std::function<bool(const ByteSink&)>& produce);

// Temporary file in `folder`: "$V" (or "~V" when `tilde`) followed by `kind` ('$' when 0),
// this process's id, "-", a unique part and ".tmp" ("$VA1234-K3Q9ZB7X.tmp"). The id tells
// which running copy owns the file, so that cleaning up never removes a live copy's files.
// The file is created empty so that the name stays reserved. With `quoteBlank` a result
// containing a blank is wrapped in double quotes. Returns the path (`folder` joined with the
// name); nullopt when no file could be created.
// `extension` replaces ".tmp" for files that must carry their type in the name.
std::optional<std::string> temporaryName(std::string_view folder, bool tilde, char kind,
                                         bool quoteBlank, std::string_view extension = ".tmp");

// The process id in a temporary name made by temporaryName ("$V" or "~V", the kind character,
// decimal digits, "-"); nullopt for a name without one (left by an older version) or with an
// id that no process can have.
std::optional<long> temporaryNameOwner(std::string_view fileName);

// Deletes the "$V" temporary files in `folder` made by this process (kind `kind`, or every
// kind when 0). Returns how many were deleted.
int deleteOwnTemporaryFiles(std::string_view folder, char kind = 0);

// Deletes the "$V" temporary files in `folder` (kind `kind`, or every kind when 0) whose owner
// process no longer exists, and those without an owner id (left by an older version). With
// kind 0 also the replacement files of killed saves (see FileReplacement) whose owner is gone.
// Files of this process and of every other live process are kept. Returns how many were
// deleted.
int deleteStaleTemporaryFiles(std::string_view folder, char kind = 0);

// Regular files directly in `folder` whose names begin with `prefix`, sorted by name; the
// names are returned without the folder.
std::vector<std::string> filesWithPrefix(std::string_view folder, std::string_view prefix);
// Deletes them; returns how many were deleted.
int deleteFilesWithPrefix(std::string_view folder, std::string_view prefix);

}  // namespace vemla
