#pragma once
// The facts the enabling and check rules of the command table depend on, as a plain record:
// the window only gathers the facts, and the rules can be tested without windows.
#include <array>
#include <string>

#include "picture/picture_slot.h"
#include "tools/tool_state.h"

namespace vemla {

class Workbench;

// The active tool of the tool area (the tool frame's numbering).
enum ActiveTool : int {
  kToolNone = static_cast<int>(tools::Tool::None),
  kToolGradation = static_cast<int>(tools::Tool::Gradation),
  kToolProfile = static_cast<int>(tools::Tool::Profile),
  kTool3D = static_cast<int>(tools::Tool::View3D),
  kToolMeasurement = static_cast<int>(tools::Tool::Measurement),
  kToolPartialComparison = static_cast<int>(tools::Tool::PartialComparison),
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
  bool baseWindowInUse = false;    // the layout sits in the scrolling base window
  bool overviewInstalled = false;  // the overview page shipped with the program was found
  // Each image pane's comparison view: 0 none, 1 blink, 2 swipe.
  std::array<int, 2> comparison{};
};

// A real file name: not empty and not a pseudo-name (beginning with "<").
bool isRealFileName(const std::string& name);
// Whether `picture`'s name is a real file name.
bool hasRealName(const CommandSituation& situation, PictureSlot picture);

// What the workbench itself knows: pictures, editing, names, second copy, gallery, the
// quick-help and save-displayed flags, the state-memory flags, the first history entry
// and the active tool. Clipboard, gallery window, image scope, state slots, exchange file and
// base window are left for the caller to fill in.
CommandSituation situationOf(const Workbench& bench);

}  // namespace vemla
