#pragma once
// A line entered in an image pane by the profile tool (its arbitrary segment) and the
// measurement tool (its manual length): a click with nothing started or with a finished line
// starts a line at the point and follows the mouse with its end; the next click fixes the end.
#include "processing/view_rendering.h"

namespace vemla::tools {

// Its points are pane pixels, 0..511.
class LineEntry {
 public:
  enum class State { None, Following, Fixed };

  void reset() { state_ = State::None; }
  void click(ViewPoint at);
  // The end follows the mouse while the line is started; true when the line changed.
  bool move(ViewPoint at);

  State state() const { return state_; }
  ViewPoint start() const { return start_; }
  ViewPoint end() const { return end_; }

 private:
  State state_ = State::None;
  ViewPoint start_, end_;
};

}  // namespace vemla::tools
