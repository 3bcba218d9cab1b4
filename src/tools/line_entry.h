#pragma once
// A line entered in an image pane by the profile tool (its arbitrary segment) and the
// measurement tool (its manual length): a click with nothing started or with a finished line
// starts a line at the point and follows the mouse with its end; the next click fixes the end.
namespace vemla::tools {

struct ViewPoint2 {
  int u = 0, v = 0;  // pane pixels, 0..511
  bool operator==(const ViewPoint2&) const = default;
};

class LineEntry {
 public:
  enum class State { None, Following, Fixed };

  void reset() { state_ = State::None; }
  void click(ViewPoint2 at);
  // The end follows the mouse while the line is started; true when the line changed.
  bool move(ViewPoint2 at);

  State state() const { return state_; }
  ViewPoint2 start() const { return start_; }
  ViewPoint2 end() const { return end_; }

 private:
  State state_ = State::None;
  ViewPoint2 start_, end_;
};

}  // namespace vemla::tools
