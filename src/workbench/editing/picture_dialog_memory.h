#pragma once
// The text export dialog's fields on first use, and their place in the settings record.
#include <optional>

#include "editing/grey_value_text.h"
#include "editing/picture_size_change.h"
#include "workbench/workbench.h"

namespace vemla {

// The text export fields on first use: the source and half size kept in the settings record
// (the two words of the text export), the rectangle around the cursor.
TextExportSettings initialTextExport(const Workbench& bench);
// Puts the source and half size back into the settings record.
void storeTextExport(Workbench& bench, const TextExportSettings& settings);

}  // namespace vemla
