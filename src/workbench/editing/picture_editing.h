#pragma once
// The picture edit dialog on the workbench: entering and leaving the editing state with its
// snapshot, and each action on the edited (unshifted) picture followed by the refresh chain
// and the modified flag. The dialog's settings are bench.shell.pictureEdit.settings.
#include "ports/ports.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla {

namespace msg {
inline constexpr const char* kSnapshotWriteFailed = text::N_("画像の退避に失敗しました");
inline constexpr const char* kSnapshotReadFailed = text::N_("画像の回復に失敗しました");
inline constexpr const char* kEditsLost = text::N_("編集した内容が失われますがよいですか");
}  // namespace msg

// 40034/40035: writes the picture's bytes to a new "$VE" temporary file (named with this
// process's id) in the program folder through the atomic helper. Only then the editing state
// begins (modified flag clear; the rectangle becomes the whole picture when the size differs
// from the previous opening). Failure: "画像の退避に失敗しました", no editing state. Refused
// without pictures or while already editing. Returns 0 or -1.
int startPictureEditing(Workbench& bench, PictureSlot picture, UserPort& user);

// "更新": the snapshot is replaced atomically by the picture and the modified flag cleared. On
// failure the old snapshot and the modified flag stay. Returns 0 or -1.
int updatePictureSnapshot(Workbench& bench, UserPort& user);

// "やり直し": when modified, asks "編集した内容が失われますがよいですか"; yes reads the snapshot
// back (exactly W x H bytes into work memory before the picture is touched; otherwise "画像の
// 回復に失敗しました" and the picture is unchanged) and refreshes. Returns 1 restored, 0
// nothing to undo, -1 declined or failed.
int undoPictureEdits(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);

// "ｷｬﾝｾﾙ" (also Esc and closing the dialog or the main window): "やり直し", then leaves the
// editing state unless it was declined or failed. True when editing ended.
bool cancelPictureEditing(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);

// "終了": keeps the changes, deletes the snapshot, leaves the editing state.
void finishPictureEditing(Workbench& bench);

// The actions, each on the edited picture with the current settings. A refusal is told as a
// warning and returns -1 with the picture unchanged; otherwise the refresh chain runs, the
// modified flag is set and 0 is returned.
int editOperate(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);
enum class EditFlip { Horizontal, Vertical };
int editFlip(Workbench& bench, EditFlip flip, UserPort& user, BusyPort& busy,
             ProgressPort& progress);
int editInvert(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);
int editRotate(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);
int editShift(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);
int editConvert(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);

// Direct entry: sets the pixel to the left-click (or right-click) value, marks the cell and
// sets the modified flag; a position outside the picture is ignored. Does not refresh, so
// that the cells of one drag share one refresh (refreshAfterEdit). True when it changed.
bool editSetCell(Workbench& bench, int x, int y, bool rightButton);
void refreshAfterEdit(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);

// The dialog's controls write its settings through these.
// "16進表示": the grid shows grey values in hexadecimal.
void setEditHexadecimal(Workbench& bench, bool on);
// "範囲情報ﾘｾｯﾄ": the rectangle becomes the whole picture and the grey range 0..255.
void resetEditRanges(Workbench& bench);
// "ﾘｾｯﾄ" of "階調値の変換": a table that converts nothing.
void resetConversionTable(Workbench& bench);
// "補間": the table's entries from `from` to `to` on the straight line between their values.
void interpolateConversionTable(Workbench& bench, int from, int to);

// The edited picture as a plane.
EditPlane editedPlane(Workbench& bench);

}  // namespace vemla
