#include "workbench/workbench.h"

#include <algorithm>

#include "workbench/tools/tool_frame.h"

namespace vemla {

void Workbench::removeListener(WorkbenchListener* listener) {
  if (notifying_ > 0) {
    std::replace(listeners_.begin(), listeners_.end(), listener,
                 static_cast<WorkbenchListener*>(nullptr));
  } else {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
  }
}

// By index, as the list may grow during the round; the gaps left by removals close after it.
void Workbench::notify(void (WorkbenchListener::*event)()) {
  ++notifying_;
  for (std::size_t i = 0; i < listeners_.size(); ++i) {
    if (WorkbenchListener* listener = listeners_[i]) (listener->*event)();
  }
  if (--notifying_ == 0) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), nullptr), listeners_.end());
  }
}

void Workbench::notifyPicturesChanged() {
  updateToolContent(*this);
  notify(&WorkbenchListener::picturesChanged);
}

void Workbench::notifyPanesChanged() {
  updateToolContent(*this);
  notify(&WorkbenchListener::panesChanged);
}

void Workbench::notifyViewFlipped(ImageSlot image) {
  // The tools read what the pane shows; without an active tool nothing is recomputed.
  if (tools.active != tools::Tool::None) updateToolContent(*this);
  ++notifying_;
  for (std::size_t i = 0; i < listeners_.size(); ++i) {
    if (WorkbenchListener* listener = listeners_[i]) listener->viewFlipped(image);
  }
  if (--notifying_ == 0) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), nullptr), listeners_.end());
  }
}

void Workbench::notifyToolsChanged() {
  notify(&WorkbenchListener::toolsChanged);
}

}  // namespace vemla
