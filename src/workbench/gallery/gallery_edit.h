#pragma once
// The gallery edit ("ギャラリーの編集"): a backup of every slot when it starts, slots dragged onto
// another slot (copy, move or swap) or onto the delete square, and its end, the changes kept or
// given up for the backup.
#include "ports/ports.h"
#include "workbench/gallery/slot_operations.h"
#include "workbench/workbench.h"

namespace vemla {

class GalleryEdit {
 public:
  // Makes the backup. False after "ｷﾞｬﾗﾘｰ情報の退避に失敗しました": the edit must not start and
  // nothing changed.
  bool begin(Workbench& bench, UserPort& user);

  // A slot dropped onto another one: the copy, move or swap of the slot operations (a failure
  // keeps both slots). Returns their result.
  int drop(Workbench& bench, UserPort& user, int source, int target, SlotTransfer mode);
  // A slot dropped onto the delete square: it becomes Empty and loses its title. False when
  // there was nothing to delete.
  bool remove(Workbench& bench, UserPort& user, int slot);

  // "終了": the changes stay, the backup is deleted.
  void finish(Workbench& bench);
  // Cancel: after changes asks "編集した情報が失われますが良いですか？"; on yes the backup is put
  // back. Without changes the backup is deleted. False when the operator chose to go on editing.
  bool cancel(Workbench& bench, UserPort& user);

  bool changed() const { return changed_; }

 private:
  bool changed_ = false;
};

}  // namespace vemla
