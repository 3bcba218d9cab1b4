#pragma once
// What the small picture dialogs remember from one use to the next while the program runs: the
// size change mode and the text export fields (taken from the settings record on first use).
#include <optional>

#include "editing/grey_value_text.h"
#include "editing/picture_size_change.h"

namespace vemla {

struct PictureDialogMemory {
  ResizeMode resizeMode = ResizeMode::CropOrPad;
  std::optional<TextExportSettings> textExport;  // nullopt until the dialog was first opened
};

// The text export fields on first use: the source and half size kept in the settings record
// (the two words of the text export), the rectangle around the cursor.
TextExportSettings initialTextExport(const Workbench& bench);
// Puts the source and half size back into the settings record.
void storeTextExport(Workbench& bench, const TextExportSettings& settings);

}  // namespace vemla
