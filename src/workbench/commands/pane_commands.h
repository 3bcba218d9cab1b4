#pragma once
// The pop-up menus of the four panes, in the command table's shape: one row per command with
// its enabling rule, its check rule and its handler, and the menus as tables of lines (text,
// command, argument, submenu) in their order. A handler that needs the window (the clipboard,
// an open, the help window, the viewer) asks through PaneCommandHost. A new pane-menu command
// is a row, its handler and its line in a menu table.
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ports/ports.h"
#include "workbench/view/pane_clicks.h"
#include "workbench/view/pane_drops.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/workbench.h"

namespace vemla {

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

// The values a menu item hands its command; a QAction carries the number, the handler takes
// the type.
struct MarkNumber {
  int mark = 0;  // 0..3
};
struct MagnificationFactor {
  int factor = 1;  // 1..64
};
struct KindRow {
  int row = 0;  // a row of kindChoices
};
struct ColourKindNumber {
  int kind = 0;  // 0..3, 16..31
};
struct SlotNumber {
  int slot = 0;  // 0-based
};
struct RecentEntry {
  int entry = 0;  // an entry of the recent single pictures
};

// An item of a built menu.
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

// What only the window can do for a pane command.
class PaneCommandHost {
 public:
  virtual ~PaneCommandHost() = default;
  // The local files the clipboard held when the menu opened, in order.
  virtual std::vector<std::string> clipboardFiles() const = 0;
  // Carries out an open decided by a paste (an archive, or names with their mode).
  virtual void openPasted(const DropDecision& decision) = 0;
  // Opens entry `entry` of the recent single pictures as `picture`.
  virtual void openRecent(PictureSlot picture, int entry) = 0;
  // "機能説明": the pane's explanation in the help window.
  virtual void showPaneHelp() = 0;
  // "Ｖｉｅｗ": the viewer on the pane's buffer.
  virtual void viewPane() = 0;
};

// What a handler works with. Without a host only the commands on the workbench alone run.
struct PaneCall {
  Workbench& bench;
  Pane pane;
  const PaneMenuContext& context;
  UserPort& user;
  BusyPort& busy;
  ProgressPort& progress;
  PaneCommandHost* host = nullptr;
  int argument = 0;
};

// What a rule reads: the pane, the menu's context and the item's argument.
struct PaneSituation {
  const Workbench& bench;
  Pane pane;
  const PaneMenuContext& context;
  int argument = 0;
};
using PaneRule = bool (*)(const PaneSituation& situation);
using PaneHandler = bool (*)(PaneCall& call);

struct PaneCommandRow {
  PaneCommand command = PaneCommand::None;
  PaneRule enabled = nullptr;  // null: always enabled
  PaneRule checked = nullptr;  // null: not a check item
  PaneHandler run = nullptr;
  bool imagePanesOnly = false;  // does nothing on a picture pane
};

// The items a line makes when the menu opens (the kinds, the colours, the recent pictures, the
// gallery slots): each item's text and argument.
using PaneChoices = std::vector<std::pair<std::string, int>> (*)(const Workbench& bench, Pane pane);

// A line of a pane menu: a separator (neither text nor choices), an item of `command` with
// `argument`, the items of `command` that `choices` makes (inline without a text), or the
// submenu `text` of `submenu`'s lines and `choices`' items. A submenu is enabled by
// `submenuEnabled` (null: always).
struct PaneMenuLine {
  const char* text = nullptr;
  PaneCommand command = PaneCommand::None;
  int argument = 0;
  std::span<const PaneMenuLine> submenu{};
  PaneChoices choices = nullptr;
  PaneRule submenuEnabled = nullptr;
};

// Every pane command's row; the row of `command` (null for None).
std::span<const PaneCommandRow> paneCommandTable();
const PaneCommandRow* findPaneCommand(PaneCommand command);
// The lines of the picture panes' and the image panes' menus; both end with the common tail.
std::span<const PaneMenuLine> picturePaneLines();
std::span<const PaneMenuLine> imagePaneLines();
std::span<const PaneMenuLine> paneMenuTail();

// The pop-up menu of pane `pane` with its enabling and check marks.
std::vector<PaneMenuItem> paneMenu(const Workbench& bench, Pane pane,
                                   const PaneMenuContext& context);

// Carries out a command through its row. False when nothing was done: a command the window
// carries out without a host, an argument out of range, a command of the image panes on a
// picture pane.
bool runPaneCommand(PaneCall& call, PaneCommand command);
// A command on the workbench alone (clear, marks, centre, kinds, colours, magnification,
// interpolation, colour display, the image scope's magnification).
bool runPaneCommand(Workbench& bench, Pane pane, PaneCommand command, int argument,
                    const PaneMenuContext& context, UserPort& user, BusyPort& busy,
                    ProgressPort& progress);

// The colour request of a pane menu: `colourKind` becomes the colour of image `image`'s current
// kind (or user processing entry); with PopupColourTurnsColourOn the colour display comes on.
// Both panes repaint.
void chooseColourKind(Workbench& bench, ImageSlot image, int colourKind);

}  // namespace vemla
