#pragma once
// The file names the main window's file dialogs start from: the last file opened as each
// picture, the last file saved under a name and the last grey-value text file. The file history
// (workbench/commands/file_history.h) keeps them up to date; the program settings file only
// stores them, one 512-byte field each.
#include <array>
#include <string>

#include "picture/picture_slot.h"

namespace vemla {

struct LastFiles {
  std::array<std::string, 2> openPicture;  // per picture, indexed by index(PictureSlot)
  std::string saveAs;                      // pictures and images saved under a name
  std::string greyValueText;               // "階調値ﾃｷｽﾄ保存"
  bool operator==(const LastFiles&) const = default;
};

}  // namespace vemla
