#pragma once
// "RGB結合(#%d)": the grey picture slots offered as R, G and B, combined into one slot.
#include "ports/ports.h"
#include "workbench/workbench.h"

class QWidget;

namespace vemla {

// Runs the dialog "RgbCombine" for target `slot` (0-based) until it is cancelled or the
// combination is done; a choice the combination refuses (different sizes, told to the operator)
// leaves the dialog open for another.
void runRgbCombineDialog(QWidget* parent, Workbench& bench, UserPort& user, int slot);

}  // namespace vemla
