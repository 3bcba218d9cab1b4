#pragma once
// Counts the workbench's change notices: `pictures` for picturesChanged, `panes` for
// panesChanged.
#include "workbench/workbench.h"

namespace vemla::testing {

class CountingListener : public WorkbenchListener {
 public:
  int pictures = 0, panes = 0;
  void picturesChanged() override { ++pictures; }
  void panesChanged() override { ++panes; }
};

}  // namespace vemla::testing
