#include "persist/small_tables.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "picture/field_codec.h"
#include "picture/file_helpers.h"

namespace vemla::persist {
namespace {

constexpr std::size_t kExtensionBytes = 16;
constexpr std::size_t kApplicationBytes = 260;
constexpr std::size_t kPathBytes = 512;
constexpr const char* kStateSlotsLock = "VemlaDinf.lck";

bool validExtension(const std::string& extension) {
  return !extension.empty() && extension.size() <= 8 && extension.find('.') == std::string::npos;
}

}  // namespace

std::vector<std::uint8_t> encodeAssociations(const AssociationTable& table) {
  std::vector<std::uint8_t> bytes(kAssociationsBytes, 0);
  FieldWriter w(bytes);
  for (const ExtensionAssociation& entry : table) {
    w.text(entry.extension, kExtensionBytes);
    w.text(entry.application, kApplicationBytes);
  }
  return bytes;
}

LoadStatus decodeAssociations(std::span<const std::uint8_t> bytes, AssociationTable& table) {
  if (bytes.size() != kAssociationsBytes) return LoadStatus::ReadFailed;
  AssociationTable loaded;
  FieldReader r(bytes);
  for (ExtensionAssociation& entry : loaded) {
    bool valid = true;
    entry.extension = r.text(kExtensionBytes, &valid);
    entry.application = r.text(kApplicationBytes, &valid);
    if (!valid || !validExtension(entry.extension)) entry = ExtensionAssociation{};
  }
  table = std::move(loaded);
  return LoadStatus::Loaded;
}

LoadStatus loadAssociations(const std::string& folder, AssociationTable& table, UserPort& user,
                            bool mayCreate, bool& keepBad) {
  const std::string path = inFolder(folder, kAssociationsFile);
  // One byte more than the table tells a longer file from a whole one.
  const FileBytes file = readFileStart(path, kAssociationsBytes + 1);
  if (file.state == FileBytes::State::Absent ||
      (file.state == FileBytes::State::Read && file.bytes.empty())) {
    if (!mayCreate) return LoadStatus::Absent;
    saveAssociations(folder, AssociationTable{}, user, keepBad);
    return LoadStatus::Created;
  }
  const LoadStatus status = file.state == FileBytes::State::Read
                                ? decodeAssociations(file.bytes, table)
                                : LoadStatus::ReadFailed;
  if (status == LoadStatus::ReadFailed) reportSettingsFile(user, msg::kSettingsReadFailed, path);
  keepBad = keepsBadFile(status);
  return status;
}

bool saveAssociations(const std::string& folder, const AssociationTable& table, UserPort& user,
                      bool& keepBad) {
  const std::vector<std::uint8_t> bytes = encodeAssociations(table);
  return replaceSettingsFile(inFolder(folder, kAssociationsFile), bytes, keepBad, user);
}

std::vector<std::uint8_t> encodeStateSlots(const StateSlotTable& slotTable) {
  std::vector<std::uint8_t> bytes(kStateSlotsBytes, 0);
  FieldWriter w(bytes);
  for (const StateSlot& slot : slotTable) {
    w.int32(slot.used);
    w.text(slot.file, kPathBytes);
  }
  return bytes;
}

StateSlotTable decodeStateSlots(std::span<const std::uint8_t> bytes) {
  StateSlotTable slotTable;
  if (bytes.size() < kStateSlotsBytes) return slotTable;
  FieldReader r(bytes);
  for (StateSlot& slot : slotTable) {
    slot.used = r.int32();
    bool valid = true;
    slot.file = r.text(kPathBytes, &valid);
    if (slot.used != 1 || !valid || slot.file.empty()) slot = StateSlot{};
  }
  return slotTable;
}

StateSlotTable readStateSlots(const std::string& folder) {
  const FileBytes file = readFileStart(inFolder(folder, kStateSlotsFile), kStateSlotsBytes);
  if (file.state != FileBytes::State::Read) return StateSlotTable{};
  StateSlotTable slotTable = decodeStateSlots(file.bytes);
  for (StateSlot& slot : slotTable) {
    if (slot.used == 1 && stateSlotPath(folder, slot.file).empty()) slot = StateSlot{};
  }
  return slotTable;
}

std::string stateSlotPath(const std::string& folder, const std::string& entry) {
  std::string_view name = entry;
  const std::size_t slash = entry.rfind('/');
  if (slash != std::string::npos) {
    if (std::string_view(entry).substr(0, slash) != folder) return {};
    name.remove_prefix(slash + 1);
  }
  if (!name.starts_with(kStateSlotPrefix) || name.find('\\') != std::string_view::npos) {
    return {};
  }
  return inFolder(folder, name);
}

StateSlotsLock::StateSlotsLock(const std::string& folder) {
  fd_ = ::open(inFolder(folder, kStateSlotsLock).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

StateSlotsLock::~StateSlotsLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool writeStateSlots(const std::string& folder, const StateSlotTable& slotTable, UserPort& user) {
  bool keepBad = false;  // the table is rebuilt from the slot files; nothing to keep
  const std::vector<std::uint8_t> bytes = encodeStateSlots(slotTable);
  return replaceSettingsFile(inFolder(folder, kStateSlotsFile), bytes, keepBad, user);
}

}  // namespace vemla::persist
