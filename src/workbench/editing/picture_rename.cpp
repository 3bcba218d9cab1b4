#include "workbench/editing/picture_rename.h"

#include "picture/messages.h"
#include "workbench/picture/open_pictures.h"

namespace vemla {

int setPseudoName(Workbench& bench, PictureSlot picture, std::string_view text, UserPort& user) {
  if (auto problem = checkRenameText(text)) {
    user.tell(Icon::Warning, *problem);
    return -1;
  }
  bool replaced = false;
  bench.pictures.pictures[index(picture)].name = pseudoName(storedRenameText(text, &replaced));
  updateTitles(bench, {true, true});
  bench.notifyPicturesChanged();
  if (replaced) user.tell(Icon::Info, text::tr(msg::kCharactersReplaced));
  return 0;
}

}  // namespace vemla
