#pragma once
// The verbs of vemla-cli: one function per verb, each in its own file (cmd_<verb>.cpp), the
// table that lists them in the order of the general usage, and the parts one verb lends
// another.
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command.h"
#include "workbench/workbench.h"

namespace vemla::cli {

Command infoCommand();
Command convertCommand();
Command imageCommand();
Command renderCommand();
Command alignCommand();
Command calcCommand();
Command exportCommand();
Command importCommand();
Command archiveCommand();
Command stateCommand();
Command launchCommand();
Command galleryCommand();
Command valuesCommand();
Command profileCommand();
Command measureCommand();
Command scopeCommand();
Command viewCommand();
Command reliefCommand();
Command partialCommand();
Command colourTableCommand();
Command colourImageCommand();
Command editCommand();
Command compareCommand();

// Every verb, in the order the general usage lists them.
inline const std::vector<Command>& verbTable() {
  static const std::vector<Command> table{
      infoCommand(),        convertCommand(), imageCommand(),   renderCommand(),
      alignCommand(),       calcCommand(),    exportCommand(),  importCommand(),
      archiveCommand(),     stateCommand(),   launchCommand(),  galleryCommand(),
      valuesCommand(),      profileCommand(), measureCommand(), scopeCommand(),
      viewCommand(),        reliefCommand(),  partialCommand(), colourTableCommand(),
      colourImageCommand(), editCommand(),    compareCommand(),
  };
  return table;
}

// The view flags of 'render' (--cursor, --fine, --mag, --reduced, --zoom-interp and the colour,
// range and grid flags), applied to the workbench once the picture size is known; everything
// not given keeps the factory setting.
void applyViewFlags(const Arguments& args, Workbench& bench);

// "items=N" and the list lines of an archive (archive list, info FILE.vla).
int listArchive(const std::string& file, const Arguments& args, Context& io);
// The seven lines of 'state info' (state info, info FILE.vic).
int describeState(const std::string& file, Context& io);

}  // namespace vemla::cli
