#pragma once
// A gallery slot and the files around it: the program clipboard ("(Vla内)"), pasted and dropped
// files, the own extension associations, and data items handed to applications through a
// temporary file (and their updates taken back).
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// ---- Program clipboard.
// "コピー　　(Vla内)" / "切り取り(Vla内)": the slot's picture or data to the exchange file; a cut
// empties the slot once the file was written.
int copySlotToExchange(Workbench& bench, UserPort& user, int slot, bool cut);
// "貼り付け(Vla内)": the exchange file's picture or data item into the slot.
int pasteExchangeToSlot(Workbench& bench, UserPort& user, int slot);

// ---- Files pasted or dropped: loaded as "ﾌｧｲﾙから開く" loads them, the first into `slot`
// and, when `continuous`, the others into the following slots (as many as remain). Stops at the
// first failure. After each file landing on a slot whose number is a multiple of 4 the normal
// form's page moves to that slot. Returns how many were stored.
int storeFilesInSlots(Workbench& bench, UserPort& user, int slot,
                      const std::vector<std::string>& files, bool continuous);

// ---- Own extension associations ("関連付け", "関連付け解除"); VemlaAinf.dat is written after each
// change.
struct AssociationChoice {
  std::string extension;    // the data title's
  int entry = -1;           // the entry with that extension, else the first free one; -1: all used
  std::string application;  // the entry's application when it has the extension already
};
// The extension must be 1 .. 8 letters or digits, else "拡張子またはﾌｧｲﾙ名に矛盾があるため関連付け
// できません" and nothing.
std::optional<AssociationChoice> associationChoice(const Workbench& bench, UserPort& user,
                                                   int slot);
bool storeAssociation(Workbench& bench, UserPort& user, int entry, const std::string& extension,
                      const std::string& application);
// Asks "拡張子(%s)は以下の実行ﾌｧｲﾙへ関連付けされていますが解除しますか？\n[%s]".
bool removeAssociation(Workbench& bench, UserPort& user, int slot);

// ---- Data handed to applications.
// The file name a data title gives: its last path component, refused when empty, "." or "..",
// holding / \ : * ? " < > | or a control character, or without an extension of 1 .. 8 letters
// or digits.
std::optional<std::string> dataFileName(const std::string& title);

struct DataOpening {
  std::string path;         // the written file
  std::string application;  // an own association's application; empty: the desktop decides
  bool program = false;     // a ".exe" item, written executable into ExecProgram/
};
// Writes the data item for opening: a ".exe" title into ExecProgram/ under the program folder
// (made executable), any other into this process's private temporary folder, and records the
// hand-over (file, last-write time). "拡張子またはﾌｧｲﾙ名に矛盾があるため開けません" for a title
// that makes no safe file name.
std::optional<DataOpening> openSlotData(Workbench& bench, UserPort& user, int slot);
// The same for data of `size` bytes titled `title` that `read` fills (false: it failed); no
// hand-over is recorded.
std::optional<DataOpening> writeDataForOpening(
    Workbench& bench, UserPort& user, const std::string& title, std::uint64_t size,
    const std::function<bool(std::span<std::uint8_t>)>& read);
// After a failed start: "ｱﾌﾟﾘｹｰｼｮﾝの起動に失敗しました", the hand-over forgotten.
void dataOpeningFailed(Workbench& bench, UserPort& user, int slot);

// "更新ﾃﾞｰﾀの反映": the handed-over file, when it changed, replaces the slot file ("ﾃﾞｰﾀの最大許容
// ｻｲｽﾞを超えました" beyond the data limit, checked before reading; "更新ﾃﾞｰﾀの反映に失敗しました");
// the record follows only after the file was replaced. A file that is gone ends the hand-over.
int applyDataUpdate(Workbench& bench, UserPort& user, int slot);

}  // namespace vemla
