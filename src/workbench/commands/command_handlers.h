#pragma once
// The handlers of the main window's commands that take more than one call: the open, replace,
// save-as, paste and rename commands with the answers of the window's dialogs, and the
// questions asked before something is cleared.
#include <optional>
#include <string>

#include "workbench/commands/command_table.h"

namespace vemla {

// "２つの画像で開く(&2)": a dialog with several selection (an archive file opens as an archive;
// with one name a second dialog asks for Picture 2; more than two names are refused).
void openTwoByDialog(CommandContext& context);
// "1つの画像で開く(&1)": the chosen file as Picture 1, Picture 2 all zero.
void openOneByDialog(CommandContext& context);
// "1つの画像を入れ替え": the chosen file as `picture`, the other kept.
void replaceByDialog(CommandContext& context, PictureSlot picture);

// "名前を付けて保存": the save dialog, then the shifted picture or the image is written.
void savePictureByDialog(CommandContext& context, PictureSlot picture);
void saveImageByDialog(CommandContext& context, ImageSlot image);

// "貼り付け(&P）" (`into` none), "画像1に貼り付け(&A)", "画像2に貼り付け(&B)".
void pasteFromClipboard(CommandContext& context, std::optional<PictureSlot> into);

// "ﾀｲﾄﾙ名称の変更": the name dialog, then the pseudo-name is stored.
void renameByDialog(CommandContext& context, PictureSlot picture);

// The questions before the history, the marks and the exchange file are cleared.
void clearHistoryAfterAsking(CommandContext& context);
void clearShiftMarksAfterAsking(CommandContext& context);
void clearDisplayMarksAfterAsking(CommandContext& context);
void resetColoursAfterAsking(CommandContext& context);
void clearExchangeFileAfterAsking(CommandContext& context);

// The memo file of the option MemoFile; a relative name is taken in the program folder.
std::string memoPath(const Workbench& bench);

}  // namespace vemla
