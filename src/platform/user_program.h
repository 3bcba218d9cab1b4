#pragma once
// Runs a user program: started directly from its argument vector (never through a shell), with
// standard input inherited. Without a console both outputs are read while the program runs, in
// slices of at most 100 ms, each kept up to the capture limit and the rest read and dropped, so
// that neither a pipe nor memory fills up; the run ends when the program exits, even while a
// child it left behind still holds the pipes. Its exit status, or the signal that ended it
// (SIGKILL after a cancelled wait), is kept with the outputs.
#include "workbench/extensions/user_program.h"

namespace vemla::platform {

class PosixProgramRunner final : public ProgramRunnerPort {
 public:
  ProgramRun run(const std::vector<std::string>& arguments, bool console, std::size_t captureLimit,
                 ProgressPort& progress) override;
};

}  // namespace vemla::platform
