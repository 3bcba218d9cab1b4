#pragma once
// What the workbench keeps of the settings files besides the options: the non-option parts of
// the program settings, the user information, the associations, the gallery information while
// no gallery owns it, and which files must be kept as "<name>.bad" before they are replaced.
#include <optional>
#include <string>
#include <vector>

#include "persist/gallery_info.h"
#include "persist/program_settings.h"
#include "persist/small_tables.h"
#include "persist/user_info.h"

namespace vemla::persist {

struct KeepBadFiles {
  bool program = false;
  bool gallery = false;
  bool user = false;
  bool associations = false;
  bool ownOptions = false;  // VemlaOptions.txt
};

// The gallery information block and thumbnails as read at start, written back at shutdown.
struct HeldGallery {
  GalleryInformation info;
  std::vector<std::uint8_t> thumbnails;
};

struct SettingsState {
  std::string folder;  // the program folder; empty: no settings file is read or written
  // The records as read. The fields a subsystem owns live in its record while the program runs
  // and are put back here before a write (workbench/settings/live_records.h).
  ProgramRecord program;
  UserInfo user;
  AssociationTable associations{};
  std::optional<HeldGallery> gallery;
  // The state-memory slot table as last read; every running copy changes the file, so it is
  // read again before each use.
  StateSlotTable stateSlots{};
  KeepBadFiles keepBad;
};

}  // namespace vemla::persist
