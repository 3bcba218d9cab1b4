#pragma once
// The progress window's bar: a percentage 0..100 driven by the four progress requests.
namespace vemla {

class ProgressBar {
 public:
  // Resets the bar for `total` steps.
  void start(int total);
  // Moves the bar to count * 100 / total whole percent (never backwards, at most 100). With a
  // total of 0 or less the bar stays at 0.
  void report(int count);
  void finish() { start(0); }
  int percent() const { return percent_; }

 private:
  int total_ = 0;
  int percent_ = 0;
};

}  // namespace vemla
