#include "tools/line_entry.h"

namespace vemla::tools {

void LineEntry::click(ViewPoint at) {
  if (state_ == State::Following) {
    end_ = at;
    state_ = State::Fixed;
    return;
  }
  start_ = end_ = at;
  state_ = State::Following;
}

bool LineEntry::move(ViewPoint at) {
  if (state_ != State::Following || at == end_) return false;
  end_ = at;
  return true;
}

}  // namespace vemla::tools
