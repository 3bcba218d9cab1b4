#pragma once
// The handlers of the State menu: store and restore by slot (0..3) and by name through the
// window's file dialogs, clear, list and the two check items.
#include "workbench/commands/command_table.h"

namespace vemla {

void storeStateSlot(CommandContext& context, int slot);
void restoreStateSlot(CommandContext& context, int slot);
// "名前を付けて状態を記憶(&S)" and "名前を付けた状態の回復(&R)": the dialogs start at the last
// named state file.
void storeStateByDialog(CommandContext& context);
void restoreStateByDialog(CommandContext& context);
void clearStates(CommandContext& context);
void listStates(CommandContext& context);
void toggleConfirmStates(CommandContext& context);
void toggleRestoreFormOnly(CommandContext& context);

}  // namespace vemla
