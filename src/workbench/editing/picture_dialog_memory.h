#pragma once
// The text export dialog's fields on first use, and the part of them kept from one run to the
// next.
#include <optional>

#include "editing/grey_value_text.h"
#include "editing/picture_size_change.h"
#include "workbench/workbench.h"

namespace vemla {

// The text export fields on first use: the kept source and half size, the rectangle around the
// cursor.
TextExportSettings initialTextExport(const Workbench& bench);
// The fields the dialog opens with: those of its last use, or on first use the above.
const TextExportSettings& textExportOnOpen(Workbench& bench);
// The dialog's fields for its next use; the source and half size also for the next run.
void storeTextExport(Workbench& bench, const TextExportSettings& settings);

// The size change dialog's mode for its next use.
void rememberResizeMode(Workbench& bench, ResizeMode mode);

}  // namespace vemla
