#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace vemla::cli {

// Runs one vemla-cli command (`words` without the program name). Returns the exit status:
// 0 success, 1 refused or failed (message on `err`), 2 usage error (hint on `err`).
int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace vemla::cli
