#pragma once
// The two settings files without a magic: the gallery's extension associations VemlaAinf.dat
// (16 entries of 276 bytes) and the state-memory slot table VemlaDinf.dat (4 slots of 516
// bytes).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "persist/settings_io.h"

namespace vemla::persist {

inline constexpr std::size_t kAssociationsBytes = 4416;
inline constexpr std::size_t kStateSlotsBytes = 2064;
// The names of slot files begin with the temporary prefix "~V" and the kind letter 'S'.
inline constexpr char kStateSlotKind = 'S';
inline constexpr std::string_view kStateSlotPrefix = "~VS";

struct ExtensionAssociation {
  std::string extension;    // 1 .. 8 characters without the dot; empty marks a free entry
  std::string application;  // 260-byte field
  bool operator==(const ExtensionAssociation&) const = default;
};
using AssociationTable = std::array<ExtensionAssociation, 16>;

struct StateSlot {
  std::int32_t used = 0;  // 1 = used
  std::string file;       // the state-memory file that holds the slot
  bool operator==(const StateSlot&) const = default;
};
using StateSlotTable = std::array<StateSlot, 4>;

std::vector<std::uint8_t> encodeAssociations(const AssociationTable& table);
// The file must hold exactly 4416 bytes; otherwise ReadFailed and `table` is unchanged. An entry
// whose extension is not 1 .. 8 characters without a dot becomes free.
LoadStatus decodeAssociations(std::span<const std::uint8_t> bytes, AssociationTable& table);
// An absent or empty file is created from zeros when `mayCreate`.
LoadStatus loadAssociations(const std::string& folder, AssociationTable& table, UserPort& user,
                            bool mayCreate, bool& keepBad);
bool saveAssociations(const std::string& folder, const AssociationTable& table, UserPort& user,
                      bool& keepBad);

std::vector<std::uint8_t> encodeStateSlots(const StateSlotTable& slotTable);
// Shared by every running copy and read whole before each use: a file that cannot be read
// gives empty slots, as does every slot whose used flag is not 1.
StateSlotTable decodeStateSlots(std::span<const std::uint8_t> bytes);
// The table of `folder`, where an entry counts only when it names a file directly in `folder`
// (as `folder` joined with the name, or the bare name) that begins with "~VS"; any other
// entry empties its slot, so that no operation ever reads, replaces or deletes another file.
StateSlotTable readStateSlots(const std::string& folder);
// The path of a slot entry under the rule above; empty when the entry does not count.
std::string stateSlotPath(const std::string& folder, const std::string& entry);

// An exclusive lock on VemlaDinf.lck in `folder` for the life of the object, held by every
// read-change-write of the slot table so that running copies storing at once keep each
// other's slots. Waits for the lock; held() is false when the lock file cannot be opened (the
// work then goes on unlocked).
class StateSlotsLock {
 public:
  explicit StateSlotsLock(const std::string& folder);
  ~StateSlotsLock();
  StateSlotsLock(const StateSlotsLock&) = delete;
  StateSlotsLock& operator=(const StateSlotsLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};
// Replaced atomically; the last writer wins. Tells the write failure.
bool writeStateSlots(const std::string& folder, const StateSlotTable& slotTable, UserPort& user);

}  // namespace vemla::persist
