#pragma once
// The user information file VemlaUinf.dat: magic "VIU" and a version digit, the 16 user simple
// image processing entries and the 16 user colour entries (of 1880 and 808 bytes), the user
// colour association state, the file history and (version 1 and later) the recent single
// pictures. The entries are the extensions' record; the rest is held here.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "persist/settings_io.h"
#include "processing/user_entries.h"

namespace vemla::persist {

inline constexpr int kUserInformationVersion = 1;
inline constexpr std::size_t kUserBlockBytes = 59996;  // entries, colours, state, history
inline constexpr std::size_t kRecentListBytes = 8448;  // 16 recent single pictures
inline constexpr std::size_t kUserInformationBytes = 4 + kUserBlockBytes + kRecentListBytes;

struct HistoryEntry {  // 1028 bytes
  std::int32_t used = 0;
  std::array<std::string, 2> names;  // Picture 1, Picture 2 (512 bytes each)
  bool operator==(const HistoryEntry&) const = default;
};

struct RecentPicture {  // 528 bytes
  std::int32_t used = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t rawOffset = 0;
  std::string name;  // 512 bytes
  bool operator==(const RecentPicture&) const = default;
};

// The file history and the recent single pictures (workbench/commands/file_history.h).
struct FileHistory {
  std::array<HistoryEntry, 16> history;  // entry 0 is the newest
  std::array<RecentPicture, 16> recent;
  bool operator==(const FileHistory&) const = default;
};

// The record besides the entries: the file history, which the workbench takes into its live
// record, and the colour association state, carried unchanged.
struct UserInfo : FileHistory {
  std::array<std::uint8_t, 540> colourAssociation{};  // interpreted by the image control
  bool operator==(const UserInfo&) const = default;
};

// The whole file, written as version 1.
std::vector<std::uint8_t> encodeUserInfo(const UserEntries& entries, const UserInfo& info);
// On ReadFailed `entries` and `info` are unchanged. A version 0 file leaves the recent pictures
// as they were.
LoadStatus decodeUserInfo(std::span<const std::uint8_t> bytes, UserEntries& entries,
                          UserInfo& info);

LoadStatus loadUserInfo(const std::string& folder, UserEntries& entries, UserInfo& info,
                        UserPort& user, bool mayCreate, bool& keepBad);
bool saveUserInfo(const std::string& folder, const UserEntries& entries, const UserInfo& info,
                  UserPort& user, bool& keepBad);

}  // namespace vemla::persist
