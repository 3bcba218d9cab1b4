#pragma once
// The gallery slot pop-up menu "拡張機能", in the command table's shape: one row per command in
// menu order with its texts, its enabling and check rules and its handler. A handler that needs
// the window (a dialog, the clipboard, the viewer, the pictures' open) asks through
// SlotCommandHost, which the gallery window implements. A new slot-menu command is a row and its
// handler; the menu shows it.
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ports/ports.h"
#include "workbench/gallery/slot_files.h"
#include "workbench/gallery/slot_operations.h"
#include "workbench/workbench.h"

namespace vemla {

enum class SlotCommand {
  View,  // "Ｖｉｅｗ", or the data opened with its application
  OpenFile,
  SaveAs,
  Clear,
  GreyScale,
  ToPicture,
  ToData,
  RgbCombine,
  Rename,
  Associate,
  Dissociate,
  ApplyUpdate,
  Transfer,  // "変更": copy, move or swap towards another slot
  CopyToPicture1,
  CopyToPicture2,
  CloseAfterCopy,  // the small form's check item
  CopyFromPicture1,
  CopyFromPicture2,
  CopyFromImage1,
  CopyFromImage2,
  PasteOne,
  PasteAll,
  CutInternal,
  CopyInternal,
  PasteInternal,
};

// What only the gallery window can do for a slot command.
class SlotCommandHost {
 public:
  virtual ~SlotCommandHost() = default;
  virtual bool viewerAvailable() const = 0;
  virtual void viewSlot(int slot) = 0;
  virtual void openData(int slot, const DataOpening& opening) = 0;
  // "名前を付けて保存 (ｷﾞｬﾗﾘｰ#%d)" and "ファイルから開く (ｷﾞｬﾗﾘｰ#%d)": the name, empty when
  // cancelled.
  virtual std::string chooseSaveName(int slot, const persist::GallerySlot& record) = 0;
  virtual std::string chooseFileToLoad(int slot) = 0;
  virtual std::vector<std::string> clipboardFiles() const = 0;
  // "RGB結合(#%d)": the dialog that combines three grey pictures into `slot`.
  virtual void combineRgb(int slot) = 0;
  // The slot's title field, ready for typing.
  virtual void editTitle(int slot) = 0;
  // "入れ替える拡張子の選択": the association to give up, as an index of `extensions`; nullopt
  // when cancelled.
  virtual std::optional<int> chooseAssociationToReplace(
      const std::vector<std::string>& extensions) = 0;
  // "拡張子(.%s) ｱﾌﾟﾘｹｰｼｮﾝの関連付け": the application, empty when cancelled.
  virtual std::string chooseApplication(const std::string& extension,
                                        const std::string& current) = 0;
  // Message 5004: the slot into a picture, queued behind the current event.
  virtual void copyToPicture(int slot, PictureSlot picture) = 0;
  // The small form's "ｺﾋﾟｰ後ｳｨﾝﾄﾞｳを閉じる" and hiding the gallery.
  virtual bool closeAfterCopy() const = 0;
  virtual void setCloseAfterCopy(bool on) = 0;
  virtual void hideGallery() = 0;
};

// What a handler works with.
struct SlotCall {
  Workbench& bench;
  UserPort& user;
  SlotCommandHost& host;
  int slot = 0;
  bool fromSmallForm = false;  // the menu opened from the small form
};

using SlotRule = bool (*)(const SlotCall& call);
using SlotHandler = void (*)(SlotCall& call);

// A row's text and help where they depend on the slot.
struct SlotLabel {
  const char* text = nullptr;
  const char* help = nullptr;
};

// Which of the gallery's forms show a row.
enum class SlotForms { Both, NormalOnly, SmallOnly };

struct SlotCommandRow {
  SlotCommand command = SlotCommand::View;
  const char* text = nullptr;  // null: `label` gives it
  const char* help = nullptr;
  bool separatorBefore = false;
  SlotRule enabled = nullptr;  // null: always enabled
  SlotRule checked = nullptr;  // null: not a check item
  SlotHandler run = nullptr;   // null: a submenu the window builds (Transfer)
  SlotForms forms = SlotForms::Both;
  const char* objectName = nullptr;
  SlotLabel (*label)(const persist::GallerySlot& record) = nullptr;
};

// The rows in menu order; the row of `command`.
std::span<const SlotCommandRow> slotCommandTable();
const SlotCommandRow& slotCommandRow(SlotCommand command);
// The row's texts for `record` (its own, or its label's).
SlotLabel slotCommandLabel(const SlotCommandRow& row, const persist::GallerySlot& record);
bool slotCommandEnabled(const SlotCommandRow& row, const SlotCall& call);
bool slotCommandChecked(const SlotCommandRow& row, const SlotCall& call);
// Carries out the command on `call.slot`; nothing without a handler or a slot.
void runSlotCommand(SlotCommand command, SlotCall& call);

// "変更": the three ways and, for each, the other slots as the menu lists them.
struct SlotTransferMode {
  SlotTransfer mode;
  const char* text;
};
std::span<const SlotTransferMode> slotTransferModes();
std::vector<std::pair<int, std::string>> slotTransferTargets(const Workbench& bench, int slot);

}  // namespace vemla
