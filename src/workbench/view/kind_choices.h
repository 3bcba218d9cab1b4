#pragma once
// What Image 1 and Image 2 can show, as the kind selectors of the image control and the
// "イメージ" menus of the image panes list it: the ten built-in kinds in table order, then the
// user simple image processing entries in use. Choosing a row recreates that image keeping the
// view.
#include <string>
#include <vector>

#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

struct KindChoice {
  std::string name;
  int kind = 0;       // a built-in kind, or 99 with `userEntry`
  int userEntry = 0;  // the processing entry (0..15) of kind 99
  bool operator==(const KindChoice&) const = default;
};

std::vector<KindChoice> kindChoices(const Workbench& bench);
// The row that `image` shows, -1 when none does (an entry no longer in use).
int kindChoiceIndex(const std::vector<KindChoice>& choices, const Workbench& bench,
                    ImageSlot image);

// A kind selector: acts only when the row differs from what the image shows. False when
// nothing was done (the same row, or an index outside the list).
bool selectKindChoice(Workbench& bench, ImageSlot image, int index, UserPort& user, BusyPort& busy,
                      ProgressPort& progress);
// The kind request of a pane menu: like the selector, but "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果" always recreates,
// since a new user program result may have arrived.
bool requestKind(Workbench& bench, ImageSlot image, int index, UserPort& user, BusyPort& busy,
                 ProgressPort& progress);

}  // namespace vemla
