#pragma once
// State memory: the whole working state (both pictures, the user-program result, the picture
// control and the display and image settings) saved to a .vic file and restored from it, in
// four numbered slots of the program folder (the slot table VemlaDinf.dat, shared by every
// running copy) or under a name the operator chooses.
#include <optional>
#include <string>

#include "persist/state_file.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla {

namespace msg {
inline constexpr const char* kStateOverwrite = text::N_("状態の記憶を書き換えてもよいですか");
inline constexpr const char* kStateStoreFailed = text::N_("状態の記憶に失敗しました");
inline constexpr const char* kStateHeaderBroken = text::N_("記憶情報ﾌｧｲﾙに異常があります");
inline constexpr const char* kStateTooLarge =
    text::N_("退避された画像ｻｲｽﾞが現在の許容ｻｲｽﾞを超えています");
inline constexpr const char* kStateNotStateFile = text::N_("状態記憶ﾌｧｲﾙではありません");
inline constexpr const char* kStateSlotInconsistent = text::N_("状態記憶ﾌｧｲﾙに矛盾があります");
inline constexpr const char* kStateRestoreFailed = text::N_("状態の回復に失敗しました");
inline constexpr const char* kStateClear = text::N_("状態の記憶をｸﾘｱしてもよいですか");
inline constexpr const char* kStateListTitle = text::N_("状態の記憶情報");
inline constexpr const char* kStateDialogStore = text::N_("表示状態の退避");
inline constexpr const char* kStateDialogRestore = text::N_("表示状態の回復");
inline constexpr const char* kStateFilter = text::N_("Vemla状態記憶ﾌｧｲﾙ (*.vic)");
}  // namespace msg

// Warning bits of a restore.
inline constexpr int kStateDivisionChanged = 1;
inline constexpr int kStateProcessingMissing1 = 2;
inline constexpr int kStateProcessingMissing2 = 4;
inline constexpr int kStateColourMissing1 = 8;
inline constexpr int kStateColourMissing2 = 16;

inline constexpr int kStateSlotCount = 4;

// The record of the workbench's current state.
persist::StateRecord captureState(const Workbench& bench);

// Saves the current state to `path` (replaced atomically): false on failure, the previous file
// intact. No message.
bool saveState(const Workbench& bench, const std::string& path);

// Restores `path` without the refresh chain: 0, kStateReadFailed, kStateNotStateFile or
// kStateTooLarge (nothing changed), or the warning bits. The pictures are read into scratch
// planes and committed only when the whole file was read. `savedDivision` receives the saved
// sub-pixel division. With `displayOnly` only the image kinds and colours change.
int restoreState(Workbench& bench, const std::string& path, bool displayOnly, int& savedDivision);

// The record with the view values as a restore takes them over: the centre inside the picture
// (else W/2, H/2), the magnification 1..64, the reduced display only at 1 and when the picture
// does not fit the panes.
persist::StateRecord takenOver(persist::StateRecord record);
// The names of a saved image kind (the kind's name, or the saved entry name of a kind 99) and
// colour (the built-in colour's name, or the saved user colour name); empty for other values.
std::string stateKindName(const persist::StateRecord& record, std::size_t image);
std::string stateColourName(const Workbench& bench, const persist::StateRecord& record,
                            std::size_t image);

// The texts shown before a restore and in the slot list; `when` is the file's last write time.
std::string restoreQuestion(const Workbench& bench, const persist::StateRecord& record,
                            const LocalDateTime& when, bool displayOnly);
std::string stateSlotListText(const Workbench& bench);

// The commands. `slot` is 0..3. Each reads the slot table again and keeps it in
// bench.settings.stateSlots; every message goes through `user`. `busy` (when given) shows the
// wait cursor after the questions, while the file is written or read.
bool storeStateInSlot(Workbench& bench, UserPort& user, int slot, BusyPort* busy = nullptr);
bool storeStateNamed(Workbench& bench, UserPort& user, const std::string& path);
// Restores slot `slot` or the named file, with the confirmation when it is on, the messages of
// each result and the refresh after a restore that did not fail. Refused while the picture
// edit dialog is open ("画像の編集中はこの機能が使用できません"). Returns the restore result,
// or nullopt when nothing was attempted (an empty slot, a No, a refusal).
std::optional<int> restoreStateFromSlot(Workbench& bench, UserPort& user, int slot,
                                        BusyPort* busy = nullptr);
std::optional<int> restoreStateNamed(Workbench& bench, UserPort& user, const std::string& path,
                                     BusyPort* busy = nullptr);
void showStateSlotList(Workbench& bench, UserPort& user);
bool clearStateSlots(Workbench& bench, UserPort& user);
// Reads the slot table again (the State menu opens; another copy may have stored).
void rereadStateSlots(Workbench& bench);

// Start-up: empties every slot whose file has vanished and, in the first running copy only,
// deletes the "~VS" files of the program folder that belong to no slot.
void repairStateSlotsAtStart(Workbench& bench, UserPort& user);

}  // namespace vemla
