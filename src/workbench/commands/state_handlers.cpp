#include "workbench/commands/state_handlers.h"

#include <array>

#include "workbench/settings/state_memory.h"

namespace vemla {
namespace {

constexpr std::array<const char*, 1> kStateFilters{msg::kStateFilter};

persist::StateMemorySettings& memory(CommandContext& context) {
  return context.bench.shell.stateMemory;
}

}  // namespace

void storeStateSlot(CommandContext& context, int slot) {
  // The question (if any) is asked before the wait cursor shows.
  storeStateInSlot(context.bench, context.user, slot, &context.busy);
}

void restoreStateSlot(CommandContext& context, int slot) {
  restoreStateFromSlot(context.bench, context.user, slot, &context.busy);
}

void storeStateByDialog(CommandContext& context) {
  const std::string path = context.host.chooseFileToSave(msg::kStateDialogStore, kStateFilters,
                                                         memory(context).lastFile);
  if (path.empty()) return;
  BusyScope busy(context.busy);
  storeStateNamed(context.bench, context.user, path);
}

void restoreStateByDialog(CommandContext& context) {
  const std::vector<std::string> paths = context.host.chooseFilesToOpen(
      msg::kStateDialogRestore, kStateFilters, false, memory(context).lastFile);
  if (paths.empty()) return;
  restoreStateNamed(context.bench, context.user, paths.front(), &context.busy);
}

void clearStates(CommandContext& context) {
  clearStateSlots(context.bench, context.user);
}

void listStates(CommandContext& context) {
  showStateSlotList(context.bench, context.user);
}

void toggleConfirmStates(CommandContext& context) {
  memory(context).confirm = memory(context).confirm != 0 ? 0 : 1;
}

void toggleRestoreFormOnly(CommandContext& context) {
  memory(context).displayOnly = memory(context).displayOnly != 0 ? 0 : 1;
}

}  // namespace vemla
