#pragma once
// The pop-up menus of the four panes (Picture 1 and 2, Image 1 and 2) and their commands. The
// other input of the panes has its own rooms: clicks (pane_clicks.h), drag sliding
// (pane_drags.h), dropped and pasted files (pane_drops.h), the title strips' texts
// (pane_texts.h); the pane numbers are in pane_numbers.h.
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "workbench/view/pane_clicks.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/workbench.h"

namespace vemla {

// ---- Pane menus ----

enum class PaneCommand : int {
  None = 0,  // a separator or a submenu
  ScopeMagnification,
  PasteAlone,    // picture pane: the clipboard's first file alone
  PasteReplace,  // picture pane: in place of this pane's picture
  Paste,         // image pane: as the main "貼り付け"
  PasteFromHistory,
  Clear,
  VlaCopy,
  VlaPaste,
  GalleryCopyTo,
  GalleryCopyFrom,
  View,
  Help,
  Cancel,
  StoreMark,   // argument: mark 0..3
  MoveToMark,  // argument: mark 0..3
  Centre,
  ImageKind,      // argument: the row of kindChoices
  ColourKind,     // argument: colour kind 0..3, 16..31
  Magnification,  // argument: 1..64
  ReducedDisplay,
  Interpolation,
  ColourDisplay,
  Blink,              // "交互表示" on or off
  Swipe,              // "分割表示" on or off
  HorizontalDivider,  // the swipe's divider across the pane, or upright again
};

struct PaneMenuItem {
  std::string text;  // empty for a separator
  PaneCommand command = PaneCommand::None;
  int argument = 0;
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  std::vector<PaneMenuItem> submenu;
  bool separator() const { return text.empty(); }
};

// What the menu depends on besides the workbench.
struct PaneMenuContext {
  bool clipboardHasFiles = false;
  std::optional<PaneCell> cell;  // image panes: the picture cell right-clicked, if any
};

// The pop-up menu of pane `pane` with its enabling and check marks.
std::vector<PaneMenuItem> paneMenu(const Workbench& bench, int pane,
                                   const PaneMenuContext& context);

// Carries out a menu command that works on the workbench alone (clear, marks, centre, kinds,
// colours, magnification, interpolation, colour display, the image scope's magnification). False
// for the commands the window carries out (paste, help, cancel) and for disabled ones.
bool runPaneCommand(Workbench& bench, int pane, PaneCommand command, int argument,
                    const PaneMenuContext& context, UserPort& user, BusyPort& busy,
                    ProgressPort& progress);

// The colour request of a pane menu: `colourKind` becomes the colour of image `image`'s current
// kind (or user processing entry); with PopupColourTurnsColourOn the colour display comes on.
// Both panes repaint.
void chooseColourKind(Workbench& bench, ImageSlot image, int colourKind);

}  // namespace vemla
