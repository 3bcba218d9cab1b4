#pragma once
// Start-up and shutdown use of the settings files by the workbench. Only the first running copy
// creates or writes them; a second copy reads them and keeps its changes in memory.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "workbench/workbench.h"

namespace vemla::persist {

struct StartRequest {
  std::string folder;  // the settings folder; empty for none (the factory options)
  // Instead of the maximum picture size of the settings header (vemla-cli --max).
  std::optional<std::pair<int, int>> maxSize;
  bool mayCreate = false;  // an absent VemlaPinf.dat is created (the first running copy)
};

// The options before the picture store exists: the factory options of `folder` (none: "") with
// the maximum picture size of its settings header.
Options startOptions(const std::string& folder);

// The start of vemla and vemla-cli alike: the factory options of the folder, the maximum picture
// size from the header of its VemlaPinf.dat (or the request's), the picture store allocated with
// the fallback rule (the options then hold the size in use), and the options and program record
// of VemlaPinf.dat read in full (their raw size defaults are checked against the store), and
// the options of the program's own options file VemlaOptions.txt (own_options.h).
// nullopt, after the message, when the picture store cannot be had.
std::optional<LoadStatus> startWorkbench(Workbench& bench, UserPort& user,
                                         const StartRequest& request);

// The rest of vemla's start-up, after startWorkbench: reads VemlaUinf.dat, VemlaAinf.dat and
// (first copy only) VemlaGinf.dat into the workbench, creating absent files in the first copy,
// and takes the valid range, the alignment settings, the image control's switches and the raw
// file size dialog's values from the settings, and repairs the state-memory slot table. Colour
// associations that name a user colour table the user information no longer has are all reset, with
// a warning.
void loadSettingsAtStart(Workbench& bench, UserPort& user);

// Shutdown: writes VemlaPinf.dat, VemlaOptions.txt, VemlaGinf.dat (when it was read),
// VemlaUinf.dat and VemlaAinf.dat; a second copy writes nothing. False when a file could not be
// written (after its message).
bool saveSettingsAtShutdown(Workbench& bench, UserPort& user);

// Applies the option sheet's values `pending` (as entered): corrects them, makes them live
// (those that wait for a restart stay held back in `pending`), rescales the stored sub-steps
// after a change of ShiftUnit and refreshes what the change affects. Returns the effect flags
// (OptionEffect) of this apply.
unsigned applyOptionSheet(Workbench& bench, Options& pending, UserPort& user, BusyPort& busy,
                          ProgressPort& progress);

// Closing the option sheet, given the live options when it opened, the values of its last apply
// and every apply's effects: when a restart is needed, tells the operator, makes the held-back
// values live and returns true (the caller then ends the program, which saves the settings);
// otherwise writes VemlaPinf.dat when an apply changed anything.
bool closeOptionSheet(Workbench& bench, const Options& atOpen, const Options& applied,
                      unsigned effects, UserPort& user);

// The system colour chooser's custom colours and the main window's rectangle, kept for the next
// run.
void keepCustomColours(Workbench& bench, const std::array<std::uint32_t, 16>& colours);
void keepWindowRectangle(Workbench& bench, const WindowRectangle& rectangle);

// VemlaPinf.dat with VemlaOptions.txt (the option sheet closed with OK) and VemlaUinf.dat alone
// (the history changed); nothing in a second copy.
bool saveProgramSettingsNow(Workbench& bench, UserPort& user);
bool saveUserInfoNow(Workbench& bench, UserPort& user);

}  // namespace vemla::persist
