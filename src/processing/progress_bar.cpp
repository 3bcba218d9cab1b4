#include "processing/progress_bar.h"

#include <algorithm>

namespace vemla {

void ProgressBar::start(int total) {
  total_ = total;
  percent_ = 0;
}

void ProgressBar::report(int count) {
  if (total_ <= 0) return;
  const long long percent = static_cast<long long>(count) * 100 / total_;
  percent_ = static_cast<int>(std::clamp<long long>(percent, percent_, 100));
}

}  // namespace vemla
