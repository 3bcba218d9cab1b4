#pragma once
// Operations between gallery slots and on one slot's content: copy, move and swap; grey scale,
// data to picture and back, RGB combine and saving a slot to a file. A failure never loses a
// slot's content: files are replaced through a temporary file and a rename (or renamed whole),
// and the records change only after the files did.
#include <functional>
#include <string>

#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

enum class SlotTransfer { Copy = 0, Move = 1, Swap = 2 };

// Renames a file over another; tests inject failures.
using FileRename = std::function<bool(const std::string& from, const std::string& to)>;
bool renameFile(const std::string& from, const std::string& to);

// Copy, move or swap from `source` to `target` (0-based). Copy writes the target's file through
// a temporary file; move renames the source's file over the target's and then empties the
// source; swap renames the files (target -> the spare slot file 033, source -> target, 033 ->
// source; one rename when a slot is empty) and undoes the renames done when one fails. Records,
// thumbnails and data associations change only after the files did. Failure: "ﾃﾞｰﾀの退避に失敗
// しました" (error icon), both slots as they were. 0 done, kSlotAbandoned when there was nothing
// to do, kSlotNotUsable, kSlotFailed.
int transferSlot(Workbench& bench, UserPort& user, int source, int target, SlotTransfer mode,
                 const FileRename& rename = renameFile);

// "ｸﾞﾚｰｽｹｰﾙ化": after "ｸﾞﾚｰｽｹｰﾙ化してもよいですか(#%d)" the palette of a grey picture becomes the
// grey ramp; the pixels are unchanged.
int greyScaleSlot(Workbench& bench, UserPort& user, int slot);
// "ﾃﾞｰﾀ情報化": a picture becomes data of its file's bytes (height 1).
int slotPictureToData(Workbench& bench, UserPort& user, int slot);
// "画像情報化": width x height bytes from the offset the raw-size dialog gives become a grey
// picture. "ﾃﾞｰﾀの読み込みに失敗しました" when they cannot be read; "画像ﾃﾞｰﾀの保存に失敗しました"
// when the slot file cannot be replaced (the slot keeps its data).
int slotDataToPicture(Workbench& bench, UserPort& user, int slot);
// "ＲＧＢ結合" into `target` from the grey picture slots red, green, blue (0-based): equal sizes
// ("指定ｷﾞｬﾗﾘｰの画像ｻｲｽﾞが異なります"), pixel = (B of blue, G of green, R of red); the result is
// a three-byte picture of the red slot's size titled "RGB結合の結果(R:%d-G:%d-B:%d)", with the
// quantizer's palette and thumbnail. A failed write keeps the target as it was.
int combineSlotsRgb(Workbench& bench, UserPort& user, int target, int red, int green, int blue);
// "名前を付けて保存": a picture through the picture-file writer by extension (".raw" only for
// grey pictures), data copied unchanged; on success the title becomes the file's name (a
// picture's without its extension). "画像ﾃﾞｰﾀの読み込みに失敗しました", "保存できません".
int saveSlotAs(Workbench& bench, UserPort& user, int slot, const std::string& path);

// ---- The slot pop-up menu's enabling rules.
enum class SlotMenuItem {
  View,
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
  Transfer,
  CopyToPicture,
  CopyFromPictures,
  PasteFiles,
  CutCopyInternal,
  PasteInternal,
};
bool slotMenuItemEnabled(const Workbench& bench, int slot, SlotMenuItem item);

}  // namespace vemla
