#pragma once
// When the main window's menu items and toolbar buttons are enabled and checked. The rules are
// pure functions of a plain record of the facts they depend on, so the window only gathers the
// facts and the rules can be tested without windows. Subsystems that are not available yet
// are masked by the caller on top of these rules.
#include <array>
#include <string>

#include "workbench/commands/command_ids.h"

namespace vemla {

class Workbench;

// The active tool of the tool area (the tool frame's numbering).
enum ActiveTool : int {
  kToolNone = 0,
  kToolGradation = 2,
  kToolProfile = 3,
  kTool3D = 4,
  kToolMeasurement = 5,
  kToolPartialComparison = 6,
};

struct CommandSituation {
  bool picturesPresent = false;      // "P"
  bool editing = false;              // "E": the picture edit dialog is open
  bool clipboardHasFiles = false;    // the clipboard holds a list of files
  std::array<std::string, 2> names;  // the names of Picture 1 and Picture 2
  bool secondCopy = false;
  bool galleryExists = false;   // the gallery has slots (never in a second copy)
  bool galleryVisible = false;  // a gallery window is shown
  bool imageScope = false;
  bool quickHelp = false;
  bool saveDisplayedImage = false;
  int activeTool = kToolNone;
  std::array<bool, 4> stateSlotUsed{};
  bool restoreFormOnly = false;     // "表示形態のみ回復"
  bool confirmStates = false;       // "確認ﾒｯｾｰｼﾞ表示"
  bool exchangeFileExists = false;  // VemlaCCaP.dat in the program folder
  bool firstHistoryEntryUsed = false;
  bool baseWindowInUse = false;  // the layout sits in the scrolling base window
};

// A real file name: not empty and not a pseudo-name (beginning with "<").
bool isRealFileName(const std::string& name);

// What the workbench itself knows: pictures, editing, names, second copy, gallery, the
// quick-help and save-displayed flags, the state-memory flags and the first history entry.
// Clipboard, gallery window, image scope, active tool, state slots, exchange file and base
// window are left for the caller to fill in.
CommandSituation situationOf(const Workbench& bench);

// Menu rules, evaluated each time a menu opens. History items (651-682) are enabled unless
// editing. An identifier that is no command is disabled and unchecked.
bool commandEnabled(int id, const CommandSituation& situation);
bool commandChecked(int id, const CommandSituation& situation);
bool submenuEnabled(Submenu submenu, const CommandSituation& situation);

// Toolbar rules. They differ from the menu in places: the toolbar keeps the options, the image
// scope, the quick help and the calculator enabled without pictures and while editing, and
// the overwrite buttons do not depend on editing.
bool toolbarEnabled(int id, const CommandSituation& situation);
bool toolbarChecked(int id, const CommandSituation& situation);

}  // namespace vemla
