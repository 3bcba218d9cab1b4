#include "persist/user_info.h"

#include <algorithm>
#include <optional>

#include "picture/field_codec.h"
#include "text/cp932.h"

namespace vemla::persist {
namespace {

constexpr std::size_t kNameBytes = 36;
constexpr std::size_t kElementBytes = 16;
constexpr std::size_t kExpressionBytes = 516;
constexpr std::size_t kPathBytes = 512;
constexpr std::size_t kMaxColourNameBytes = 31;

// A history or recent entry is stored only when every name in it is stored exactly: one with
// a character CP932 cannot hold stays in the lists while the program runs and is written as an
// unused entry, since a changed name would open another file or none.
bool storedExactly(const std::string& name) {
  return text::checkFixedField(name, kPathBytes) == text::FieldStatus::Ok;
}

void getText(FieldReader& r, std::string& target, std::size_t size) {
  bool valid = true;
  std::string value = r.text(size, &valid);
  target = valid ? std::move(value) : std::string();
}

// 0/1 flags and small indices outside their range become 0, so later code never indexes with
// them.
void keepZeroOrOne(std::int32_t& value) {
  if (value != 0 && value != 1) value = 0;
}

// A colour entry is in use only with the flag 1 and a name the editor could have stored (ended
// inside its field, nonempty, at most 31 bytes, CP932); any other entry is freed where it is,
// so that no entry changes its colour kind.
void getColourEntry(FieldReader& r, UserColourEntry& e) {
  e.inUse = r.int32();
  std::array<std::uint8_t, kNameBytes> field{};
  r.bytes(field);
  r.bytes(e.table);
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  const auto length = static_cast<std::size_t>(end - field.begin());
  std::optional<std::string> name;
  if (end != field.end() && length >= 1 && length <= kMaxColourNameBytes) {
    name = text::cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(field.data()), length));
  }
  if (e.inUse != 1 || !name) {
    e = UserColourEntry{};
    return;
  }
  e.name = std::move(*name);
}

void putBlock(FieldWriter& w, const UserEntries& entries, const UserInfo& info) {
  for (const UserProcessingEntry& e : entries.processing) {
    w.int32(e.inUse);
    w.text(e.name, kNameBytes);
    w.int32(e.form);
    w.int32(e.filterPicture);
    for (const std::string& element : e.elements) w.text(element, kElementBytes);
    w.int32(e.correction);
    w.text(e.divisor, kElementBytes);
    w.text(e.expression, kExpressionBytes);
  }
  for (const UserColourEntry& e : entries.colours) {
    w.int32(e.inUse);
    w.text(e.name, kNameBytes);
    w.bytes(e.table);
  }
  w.bytes(info.colourAssociation);
  for (const HistoryEntry& e : info.history) {
    const bool kept = std::all_of(e.names.begin(), e.names.end(), storedExactly);
    w.int32(kept ? e.used : 0);
    for (const std::string& name : e.names) w.text(kept ? name : std::string(), kPathBytes);
  }
}

void getBlock(FieldReader& r, UserEntries& entries, UserInfo& info) {
  for (UserProcessingEntry& e : entries.processing) {
    e.inUse = r.int32();
    getText(r, e.name, kNameBytes);
    e.form = r.int32();
    e.filterPicture = r.int32();
    for (std::string& element : e.elements) getText(r, element, kElementBytes);
    e.correction = r.int32();
    getText(r, e.divisor, kElementBytes);
    getText(r, e.expression, kExpressionBytes);
    keepZeroOrOne(e.form);
    keepZeroOrOne(e.filterPicture);
    keepZeroOrOne(e.correction);
  }
  for (UserColourEntry& e : entries.colours) getColourEntry(r, e);
  r.bytes(info.colourAssociation);
  for (HistoryEntry& e : info.history) {
    e.used = r.int32();
    for (std::string& name : e.names) getText(r, name, kPathBytes);
  }
}

void putRecent(FieldWriter& w, const UserInfo& info) {
  for (const RecentPicture& e : info.recent) {
    if (!storedExactly(e.name)) {
      w.zeros(16 + kPathBytes);
      continue;
    }
    w.int32(e.used);
    w.int32(e.width);
    w.int32(e.height);
    w.int32(e.rawOffset);
    w.text(e.name, kPathBytes);
  }
}

void getRecent(FieldReader& r, UserInfo& info) {
  for (RecentPicture& e : info.recent) {
    e.used = r.int32();
    e.width = r.int32();
    e.height = r.int32();
    e.rawOffset = r.int32();
    getText(r, e.name, kPathBytes);
  }
}

}  // namespace

std::vector<std::uint8_t> encodeUserInfo(const UserEntries& entries, const UserInfo& info) {
  std::vector<std::uint8_t> bytes(kUserInformationBytes, 0);
  FieldWriter w(bytes);
  w.bytes(std::array<std::uint8_t, 4>{'V', 'I', 'U', '0' + kUserInformationVersion});
  putBlock(w, entries, info);
  putRecent(w, info);
  return bytes;
}

LoadStatus decodeUserInfo(std::span<const std::uint8_t> bytes, UserEntries& entries,
                          UserInfo& info) {
  if (bytes.size() < 4 || bytes[0] != 'V' || bytes[1] != 'I' || bytes[2] != 'U') {
    return LoadStatus::ReadFailed;
  }
  const bool withRecent = bytes[3] > '0';
  const std::size_t needed = 4 + kUserBlockBytes + (withRecent ? kRecentListBytes : 0);
  if (bytes.size() < needed) return LoadStatus::ReadFailed;
  UserEntries loadedEntries = entries;
  UserInfo loaded = info;
  FieldReader r(bytes.subspan(4));
  getBlock(r, loadedEntries, loaded);
  if (withRecent) getRecent(r, loaded);
  entries = std::move(loadedEntries);
  info = std::move(loaded);
  return LoadStatus::Loaded;
}

LoadStatus loadUserInfo(const std::string& folder, UserEntries& entries, UserInfo& info,
                        UserPort& user, bool mayCreate, bool& keepBad) {
  const std::string path = inFolder(folder, kUserInformationFile);
  const FileBytes file = readFileStart(path, kUserInformationBytes);
  if (file.state == FileBytes::State::Absent ||
      (file.state == FileBytes::State::Read && file.bytes.empty())) {
    if (!mayCreate) return LoadStatus::Absent;
    saveUserInfo(folder, entries, info, user, keepBad);
    return LoadStatus::Created;
  }
  const LoadStatus status = file.state == FileBytes::State::Read
                                ? decodeUserInfo(file.bytes, entries, info)
                                : LoadStatus::ReadFailed;
  if (status == LoadStatus::ReadFailed) reportSettingsFile(user, msg::kSettingsReadFailed, path);
  keepBad = keepsBadFile(status);
  return status;
}

bool saveUserInfo(const std::string& folder, const UserEntries& entries, const UserInfo& info,
                  UserPort& user, bool& keepBad) {
  const std::vector<std::uint8_t> bytes = encodeUserInfo(entries, info);
  return replaceSettingsFile(inFolder(folder, kUserInformationFile), bytes, keepBad, user);
}

}  // namespace vemla::persist
