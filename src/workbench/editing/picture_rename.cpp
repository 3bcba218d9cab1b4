#include "workbench/editing/picture_rename.h"

#include "workbench/picture/open_pictures.h"

namespace vemla {

int setPseudoName(Workbench& bench, PictureSlot picture, std::string_view text, UserPort& user) {
  if (auto problem = checkRenameText(text)) {
    user.tell(Icon::Warning, *problem);
    return -1;
  }
  bench.pictures.pictures[index(picture)].name = pseudoName(text);
  updateTitles(bench, {true, true});
  bench.notifyPicturesChanged();
  return 0;
}

}  // namespace vemla
