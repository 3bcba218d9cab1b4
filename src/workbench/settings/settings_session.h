#pragma once
// Start-up and shutdown use of the settings files by the workbench. Only the first running copy
// creates or writes them; a second copy reads them and keeps its changes in memory.
#include "workbench/workbench.h"

namespace vemla::persist {

// Start-up, after the picture store was allocated with the size from readMaxPictureSize(): reads
// VemlaPinf.dat, VemlaUinf.dat, VemlaAinf.dat and (first copy only) VemlaGinf.dat into the
// workbench, creating absent files in the first copy, and sets the raw file size dialog's
// values from RawDefaultWidth and RawDefaultHeight. The options keep the maximum size in use.
void loadSettingsAtStart(Workbench& bench, UserPort& user);

// Shutdown: writes VemlaPinf.dat, VemlaGinf.dat (when it was read), VemlaUinf.dat and
// VemlaAinf.dat; a second copy writes nothing. False when a file could not be written (after
// its message).
bool saveSettingsAtShutdown(Workbench& bench, UserPort& user);

// VemlaPinf.dat alone (the option sheet closed with OK) and VemlaUinf.dat alone (the history
// changed); nothing in a second copy.
bool saveProgramSettingsNow(Workbench& bench, UserPort& user);
bool saveUserInfoNow(Workbench& bench, UserPort& user);

}  // namespace vemla::persist
