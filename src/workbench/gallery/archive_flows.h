#pragma once
// The three ways the archive file meets the gallery and the pictures: saving slots into an
// archive ("保存"), expanding items into slots ("展開"), and opening items as Picture 1 and 2
// ("Vlaファイルを開く(&Q)", an archive on the command line, dropped or pasted). The windows only
// collect the choices; the rules and messages are here.
#include <optional>
#include <string>
#include <vector>

#include "gallery/archive.h"
#include "gallery/work_memory.h"
#include "ports/ports.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/slot_files.h"

namespace vemla {

// A line of the expand and open lists: "(画像)" for a picture of 8 .. the maximum, "(ﾃﾞｰﾀ)" for
// data up to the data limit, "(Over)" otherwise, "(空き)" for an empty item; `number` 1-based.
std::string archiveListLine(int number, const ArchiveItemInfo& item, const SlotLimits& limits);

struct SaveSlotsRequest {
  std::string path;
  std::vector<int> chosenSlots;  // 0-based; none: every slot
  bool skipEmpty = false;        // "空きのｴﾝﾄﾘは保存しない"
  bool append = false;           // "既存ﾌｧｲﾙ時は追加で書き込む"
  int threads = 0;               // compression threads; 0: one per core
};

// Saves the chosen slots in ascending order. Appending needs a readable directory: when it
// cannot be read "ｷﾞｬﾗﾘｰの退避に失敗しました(%d)" is shown and the file is left alone. A new
// archive (no append, no such file, or no item in it) is built in a temporary file beside it
// and renamed over it only when every item was written. Over slots are skipped with a warning;
// empty slots become empty items unless skipped. Items are compressed on several threads and
// written in order, so the file is the same as with one thread. Returns the last archive result
// (the item count) or a negative code after its message.
int saveSlotsToArchive(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                       const SaveSlotsRequest& request);
// The save form's "空きのｴﾝﾄﾘは保存しない" and "既存ﾌｧｲﾙ時は追加で書き込む", as it opens next time.
void rememberSaveChoices(Workbench& bench, bool skipEmpty, bool append);

struct ExpandRequest {
  std::string path;
  std::vector<int> numbers;  // 1-based, in list order; none: every item
  int startSlot = 0;
  bool skipEmpty = true;   // "空きのｴﾝﾄﾘは展開しない"
  int expectedCount = -1;  // the item count when the list was built; -1: not checked
};

// Expands the chosen items into consecutive slots from the start slot. Items too large for the
// limits are skipped with a warning and use no slot; an empty item empties its slot unless empty
// items are skipped. A slot whose file cannot be written keeps what it held and the expansion
// ends with "ｷﾞｬﾗﾘｰの展開に失敗しました". Moves the gallery page to the start slot. Returns 0, 1
// when nothing was done (no gallery, nothing listed, the count changed) or a negative code.
int expandArchiveItems(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                       const ExpandRequest& request);

// An item of the expand list opened by a double click: a picture read into memory for the
// viewer, or data written for opening as a data slot's is.
struct ArchiveItemOpening {
  ArchiveItemInfo info;
  WorkMemory content{0};            // a picture's bytes, rows top-down
  std::optional<DataOpening> data;  // data: the written file
};
// Reads item `number` (1-based) of `path`. Nothing for an empty item; otherwise nullopt after
// telling why: not an archive, a failed read, a picture beyond the largest viewable size, data
// beyond the data limit, or a title that makes no file name.
std::optional<ArchiveItemOpening> openArchiveItem(Workbench& bench, UserPort& user,
                                                  const std::string& path, int number);

// The selection dialog "Ｖｌａファイルを開く": returns the choice, or nullopt on cancel.
class ArchiveOpenDialog {
 public:
  virtual ~ArchiveOpenDialog() = default;
  virtual std::optional<ArchiveOpenChoice> chooseArchiveItems(const ArchiveOpenChoice& initial) = 0;
};

// The dialog's picture selection: the lowest selected number becomes picture 1, the next one
// picture 2; further selections are ignored.
void takePictureSelection(std::vector<int> selected, ArchiveOpenChoice& choice);

// The choice the options make (ArchiveOpenPicture1/ArchivePicture1Number, …); expansion only
// when the gallery is available.
ArchiveOpenChoice choiceFromOptions(const Workbench& bench, const std::string& path);

// Opens archive items as pictures and expands items into the gallery (message 5005).
// `pathKnown` is its wparam: false (the menu) always asks with the dialog, true (command line,
// drop, paste) only when ArchiveSelectOnDrop is set. Every check is made before anything
// changes; while the picture edit dialog is open it is refused ("画像の編集中です"). Returns 0,
// 1 when abandoned, or a negative code after its message.
int openArchiveAsPictures(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                          ArchiveOpenDialog& dialog, const std::string& path, bool pathKnown);

}  // namespace vemla
