#include "workbench/workbench.h"

#include <algorithm>

#include "workbench/tools/tool_frame.h"

namespace vemla {

void Workbench::removeListener(WorkbenchListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Workbench::notifyPicturesChanged() {
  updateToolContent(*this);
  for (std::size_t i = 0; i < listeners_.size(); ++i) listeners_[i]->picturesChanged();
}

void Workbench::notifyPanesChanged() {
  updateToolContent(*this);
  for (std::size_t i = 0; i < listeners_.size(); ++i) listeners_[i]->panesChanged();
}

}  // namespace vemla
