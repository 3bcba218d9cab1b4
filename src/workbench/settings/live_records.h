#pragma once
// The settings files' fields that a subsystem owns live in that subsystem's record while the
// program runs: the file dialogs' last files, the file history, the tools' settings, the
// launcher's committed settings, the state memory's choices, the window rectangle, the dialogs'
// last values, the custom colours and the one-time warning. They are taken from the records as
// read once, and put back just before a record is written; what no subsystem owns (reserved
// bytes among them) stays in the records unchanged.
#include "workbench/workbench.h"

namespace vemla::persist {

void takeProgramRecord(Workbench& bench);
void putProgramRecord(Workbench& bench);
// The program record and the live records taken from it back to their factory values.
void resetProgramRecord(Workbench& bench);

void takeUserInfo(Workbench& bench);
void putUserInfo(Workbench& bench);

}  // namespace vemla::persist
