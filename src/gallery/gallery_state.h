#pragma once
// What the workbench keeps of the gallery besides the records of VemlaGinf.dat (which stay in
// the settings' held gallery, so that the settings files write them back): the per-slot data
// associations, the thumbnails saved for an edit, and the choices the archive dialogs remember.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "persist/gallery_info.h"
#include "picture/file_helpers.h"

namespace vemla {

// A data item handed to an application through a temporary file.
struct DataAssociation {
  bool handedOver = false;
  std::string temporaryFile;
  std::optional<LocalDateTime> lastWrite;  // of the temporary file at hand-over
  bool operator==(const DataAssociation&) const = default;
};

// The choices of the selection dialog "Ｖｌａファイルを開く"; item numbers are 1-based.
struct ArchiveOpenChoice {
  std::string path;
  int picture1 = 0;  // 0: no picture 1
  int picture2 = 0;  // 0: no picture 2
  bool expand = false;
  int startSlot = 0;
  bool skipEmpty = true;
  std::vector<int> expandNumbers;  // none: every item
  int itemCount = -1;              // the file's count when chosen; -1: read at the start
  bool operator==(const ArchiveOpenChoice&) const = default;
};

struct GalleryState {
  // Set by the start-up sizing when the gallery has slots; a second copy never has a gallery.
  bool available = false;
  std::array<DataAssociation, persist::kGallerySlots> associations{};
  // The thumbnails at the start of an edit, put back when the edit is discarded (the backup
  // file of the block holds no thumbnails).
  std::vector<std::uint8_t> editThumbnails;
  // Remembered between saves and expansions ("空きのｴﾝﾄﾘは保存しない",
  // "既存ﾌｧｲﾙ時は追加で書き込む").
  bool saveSkipEmpty = false;
  bool saveAppend = false;
  std::optional<ArchiveOpenChoice> lastOpenChoice;
  bool shown = false;  // a gallery window is visible
  // Slots that VemlaGinf.dat shows empty while the held records still name their content,
  // because their slot files are being replaced (see releaseSlotsOnDisk); cleared by every
  // write of the held records.
  std::array<bool, persist::kGallerySlots> emptyOnDisk{};
  // This process's private folder (mkdtemp) for data items handed to applications.
  std::string privateFolder;
};

}  // namespace vemla
