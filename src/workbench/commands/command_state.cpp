#include "workbench/commands/command_state.h"

#include "picture/picture_state.h"
#include "workbench/workbench.h"

namespace vemla {

bool isRealFileName(const std::string& name) {
  return !name.empty() && !isPseudoName(name);
}

bool hasRealName(const CommandSituation& situation, PictureSlot picture) {
  return isRealFileName(situation.names[index(picture)]);
}

CommandSituation situationOf(const Workbench& bench) {
  CommandSituation s;
  s.picturesPresent = bench.pictures.picturesPresent;
  s.editing = bench.pictures.editing;
  s.names = pictureNames(bench.pictures);
  s.secondCopy = bench.secondCopy;
  s.galleryExists = bench.gallery.available && !bench.secondCopy;
  s.galleryVisible = bench.gallery.shown;
  s.quickHelp = bench.shell.quickHelp;
  s.imageScope = bench.shell.imageScope;
  s.saveDisplayedImage = bench.shell.saveDisplayedImage;
  s.restoreFormOnly = bench.shell.stateMemory.displayOnly != 0;
  s.confirmStates = bench.shell.stateMemory.confirm != 0;
  for (std::size_t k = 0; k < s.stateSlotUsed.size(); ++k) {
    s.stateSlotUsed[k] = bench.settings.stateSlots[k].used == 1;
  }
  s.firstHistoryEntryUsed = bench.shell.fileHistory.history.front().used == 1;
  s.activeTool = static_cast<int>(bench.tools.active);
  for (std::size_t k = 0; k < s.comparison.size(); ++k) {
    s.comparison[k] = static_cast<int>(bench.view.comparison[k].mode);
  }
  return s;
}

}  // namespace vemla
