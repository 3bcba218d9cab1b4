#pragma once
// First or second running copy. Every running copy holds a shared lock on a lock file in the
// program folder; a copy that can take the lock exclusively is the first one (no other copy
// runs) and then keeps it shared like the others. The kernel frees the locks when a process
// ends, also after a crash.
#include <memory>
#include <string>

#include "workbench/workbench.h"

namespace vemla::platform {

class RunningCopy {
 public:
  // Decides for the copy that uses `programFolder`. When the lock files cannot be opened the
  // copy counts as a second one, so that it never writes the settings files.
  explicit RunningCopy(const std::string& programFolder);
  ~RunningCopy();
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  bool first() const { return first_; }

 private:
  int fd_ = -1;
  bool first_ = false;
};

// Joins the copies running on `bench`'s program folder. A copy that finds another one running is
// a second copy: "(M)" leads its title and it never writes the settings files. A copy started as
// a stand-alone viewer joins only when it goes on into the full program, so that a full copy
// started while its viewer was up stays the first one.
std::unique_ptr<RunningCopy> joinRunningCopies(Workbench& bench);

}  // namespace vemla::platform
