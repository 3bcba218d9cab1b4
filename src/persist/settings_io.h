#pragma once
// What every settings file shares: their names, their messages, bounded reading, and
// replacement that never leaves a half-written file and never silently drops a damaged one.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "picture/file_helpers.h"
#include "ports/ports.h"
#include "text/translate.h"

namespace vemla::persist {

inline constexpr const char* kProgramSettingsFile = "VemlaPinf.dat";
inline constexpr const char* kGalleryInformationFile = "VemlaGinf.dat";
inline constexpr const char* kUserInformationFile = "VemlaUinf.dat";
inline constexpr const char* kAssociationsFile = "VemlaAinf.dat";
inline constexpr const char* kStateSlotsFile = "VemlaDinf.dat";
inline constexpr const char* kExchangeFile = "VemlaCCaP.dat";
// A file that failed to load is kept under its name followed by this before it is replaced.
inline constexpr const char* kBadSuffix = ".bad";

namespace msg {
inline constexpr const char* kSettingsReadFailed = text::N_("ﾌｧｲﾙの読み込みができません\n%s");
inline constexpr const char* kSettingsWriteFailed = text::N_("ﾌｧｲﾙの書き込みができません\n%s");
inline constexpr const char* kProgramVersionMismatch =
    text::N_("ﾌﾟﾛｸﾞﾗﾑ情報ﾌｧｲﾙのﾊﾞｰｼﾞｮﾝに矛盾があります\n%s");
inline constexpr const char* kGalleryVersionMismatch =
    text::N_("ｷﾞｬﾗﾘｰ情報ﾌｧｲﾙのﾊﾞｰｼﾞｮﾝに矛盾があります\n%s");
}  // namespace msg

// How reading a settings file went. Failed and VersionMismatch leave the values in memory as
// they were; Truncated means the record was shorter than its version needs and the missing
// fields were read as zero bytes (and then corrected).
enum class LoadStatus { Loaded, Truncated, Absent, Created, ReadFailed, VersionMismatch };

// Whether a load result means the file on disk must be kept as "<name>.bad" before it is
// replaced for the first time.
inline bool keepsBadFile(LoadStatus status) {
  return status == LoadStatus::Truncated || status == LoadStatus::ReadFailed ||
         status == LoadStatus::VersionMismatch;
}

// The bytes of a regular file, at most `maxBytes` of them (a longer file gives its first
// `maxBytes`). Never creates the file and never blocks on a FIFO.
struct FileBytes {
  enum class State { Read, Absent, Failed } state = State::Failed;
  std::vector<std::uint8_t> bytes;
};
FileBytes readFileStart(const std::string& path, std::size_t maxBytes);

// Replaces `path` atomically with what `produce` writes. When `keepBad` is set the file on
// disk is first copied to "<path>.bad" (a failure there cancels the write, so a damaged file is
// never lost) and the flag is cleared once the new file is in place. On failure the previous
// file is untouched and "ﾌｧｲﾙの書き込みができません\n<path>" is shown.
bool replaceSettingsFile(const std::string& path,
                         const std::function<bool(const ByteSink&)>& produce, bool& keepBad,
                         UserPort& user);
bool replaceSettingsFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         bool& keepBad, UserPort& user);

// "<message>\n<path>" with the error icon.
void reportSettingsFile(UserPort& user, const char* pattern, const std::string& path);

}  // namespace vemla::persist
