#include "workbench/editing/picture_rename.h"

#include "workbench/picture/open_pictures.h"

namespace vemla {

int setPseudoName(Workbench& bench, int picture, std::string_view text, UserPort& user) {
  if (auto problem = checkRenameText(text)) {
    user.tell(Icon::Warning, *problem);
    return -1;
  }
  bench.pictures.pictures[picture == 2 ? 1 : 0].name = pseudoName(text);
  updateTitles(bench, {true, true});
  bench.notifyPicturesChanged();
  return 0;
}

}  // namespace vemla
