#pragma once
// "コピー　　(Vla内)" and "貼り付け(Vla内)" of the pane menus: the picture a pane shows goes to the
// exchange file VemlaCCaP.dat, which every running copy reads, and comes back from it.
#include "ports/ports.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/workbench.h"

namespace vemla {

// Writes what pane `pane` shows (a picture pane: the shifted picture with its palette, titled
// with the picture's name; an image pane: the image's buffer with its display colours, titled
// with the kind name) as a picture item. Returns 0, or -1 (no pictures, or after the write
// message).
int copyPaneToExchange(const Workbench& bench, UserPort& user, Pane pane);

// Reads the exchange file as a picture (true colour reduced to 8 bits by the options) into the
// picture of pane `pane` (Port1 and Image1: Picture 1, Port2 and Image2: Picture 2), named
// "<title>".
// When pictures are present at the item's size only that picture changes; otherwise both are
// opened, the other all zero. Returns 0, or -1 (after the reader's message or a cancel).
int pasteExchangeToPane(Workbench& bench, UserPort& user, Pane pane);

}  // namespace vemla
