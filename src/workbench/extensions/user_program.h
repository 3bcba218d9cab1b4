#pragma once
// The user program launcher on the workbench: "確認" lists the arguments, "実行" writes the
// temporary files, runs the program through the runner port, lists its outputs and reads its
// output image back into the user program result buffer.
#include <cstddef>
#include <string>
#include <vector>

#include "extensions/launcher.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

struct ProgramRun {
  bool started = false;    // false: the program could not be started
  bool cancelled = false;  // the operator gave up the wait; the program was killed
  ProgramOutput output;
};

// Runs a program from its argument vector (never through a shell) and waits for its exit,
// asking `progress.keepWaiting()` while it runs. Without `console` both outputs are captured,
// each cut to `captureLimit` bytes; with it they go to Vemla's own terminal.
class ProgramRunnerPort {
 public:
  virtual ~ProgramRunnerPort() = default;
  virtual ProgramRun run(const std::vector<std::string>& arguments, bool console,
                         std::size_t captureLimit, ProgressPort& progress) = 0;
};

// What the argument builder needs from the workbench: sizes, cursor and the gallery's slots.
LaunchInputs launchInputsOf(const Workbench& bench);

// "確認": the "argv[%d]:%s" lines, or nothing after the builder's warning. Writes no file.
std::optional<std::vector<std::string>> confirmLaunch(const Workbench& bench, UserPort& user,
                                                      const LauncherSettings& settings);

struct LaunchResult {
  enum class Status { Refused, Ran, Failed };
  // Refused: nothing ran (told); Failed: ran, but was ended by a signal or its output could not
  // be read back.
  Status status = Status::Refused;
  std::vector<std::string> lines;  // the result list, once the program ran
  int exitStatus = 0;              // the program's exit status, once it ran
  int signal = 0;                  // the signal that ended it, or 0
};

// "OK": the launcher dialog's settings become the committed ones (the dialog opens on them).
void commitLauncherSettings(Workbench& bench, const LauncherSettings& settings);

// "実行": commits `settings`, builds the arguments writing the temporary files ("$VU" files of
// this process from earlier runs are deleted first), runs the program and fills the result
// list. With the output on and a file present it is read back into the user program result
// buffer; the destination image switches to that kind and every image showing it is
// recomputed. A program ended by a signal has failed and its output is not read. With "close"
// on, no error and exit status 0 the temporary files are deleted.
LaunchResult runUserProgram(Workbench& bench, UserPort& user, BusyPort& busy,
                            ProgressPort& progress, ProgramRunnerPort& runner,
                            const LauncherSettings& settings);

// "終了": deletes this process's launcher temporary files.
void deleteLaunchFiles(const Workbench& bench);

}  // namespace vemla
