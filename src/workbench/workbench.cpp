#include "workbench/workbench.h"

#include <algorithm>

namespace vemla {

void Workbench::removeListener(WorkbenchListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Workbench::notifyPicturesChanged() {
  for (WorkbenchListener* listener : listeners_) listener->picturesChanged();
}

}  // namespace vemla
