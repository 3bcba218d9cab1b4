#pragma once
// Counts the workbench's change notices: `pictures` for picturesChanged, `panes` for
// panesChanged, `tools` for toolsChanged.
#include "workbench/workbench.h"

namespace vemla::testing {

class CountingListener : public WorkbenchListener {
 public:
  int pictures = 0, panes = 0, tools = 0;
  void picturesChanged() override { ++pictures; }
  void panesChanged() override { ++panes; }
  void toolsChanged() override { ++tools; }
};

}  // namespace vemla::testing
