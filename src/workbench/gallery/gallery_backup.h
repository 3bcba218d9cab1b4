#pragma once
// Backup and restore of the gallery around the edit dialog: every used slot file is copied to
// "~~VemlaG%03d.bak" and the information block (no magic, no thumbnails) to VemlaGinf.bak.
#include "workbench/gallery/gallery_slots.h"

namespace vemla {

inline constexpr const char* kGalleryBackupFile = "VemlaGinf.bak";

// Makes the backup. A failed copy or block write shows "ｷﾞｬﾗﾘｰ情報の退避に失敗しました", removes
// the partial backup and returns false: the edit must not open, and no slot has changed.
bool backupGalleryForEditing(Workbench& bench, UserPort& user);

// Puts the backup back (the edit was discarded): the block, the thumbnails kept in memory, and
// every used slot's file. A slot whose file cannot be copied back becomes Empty and the others
// are still restored; then "ｷﾞｬﾗﾘｰ情報の回復に失敗しました" is shown once and every ".bak" file is
// kept. An unreadable VemlaGinf.bak changes nothing and keeps the backup. After a complete
// restore the backup is deleted. VemlaGinf.dat is written either way.
bool restoreGalleryFromBackup(Workbench& bench, UserPort& user);

// Deletes VemlaGinf.bak and the ".bak" files of every slot number below the gallery count.
void deleteGalleryBackups(Workbench& bench);

}  // namespace vemla
