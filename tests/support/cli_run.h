#pragma once
// Runs one vemla-cli command in process and keeps its exit status and both output streams.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace vemla::cli {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun run(const std::vector<std::string>& words) {
  std::ostringstream out, err;
  const int status = runCli(words, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace vemla::cli
