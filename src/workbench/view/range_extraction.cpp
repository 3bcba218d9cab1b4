#include "workbench/view/range_extraction.h"

#include <algorithm>

#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

std::size_t indexOf(int image) {
  return image == 2 ? 1 : 0;
}

}  // namespace

void setRangeExtraction(Workbench& bench, int image, bool on) {
  bench.view.rangeExtraction[indexOf(image)] = on;
  paintPanes(bench);
}

void setRangeBound(Workbench& bench, int image, RangeBound bound, int value) {
  ViewState& view = bench.view;
  const std::size_t index = indexOf(image);
  ViewState::RangeBounds& range = view.range[index];
  // Bounds restored from a file may be out of order; the rule below needs them in order.
  range.lower = std::clamp(range.lower, 0, 255);
  range.upper = std::clamp(range.upper, range.lower, 255);
  value = std::clamp(value, 0, 255);
  if (bound == RangeBound::Lower) {
    range.lower = std::min(value, range.upper);
  } else {
    range.upper = std::max(value, range.lower);
  }
  if (view.rangeLinked) view.range[1 - index] = range;
  paintPanes(bench);
}

void setRangeLinked(Workbench& bench, bool on) {
  ViewState& view = bench.view;
  view.rangeLinked = on;
  if (on) {
    const bool fromImage2 = view.rangeExtraction[1] && !view.rangeExtraction[0];
    if (fromImage2) {
      view.range[0] = view.range[1];
    } else {
      view.range[1] = view.range[0];
    }
  }
  paintPanes(bench);
}

void copyRange(Workbench& bench, int toImage) {
  const std::size_t index = indexOf(toImage);
  bench.view.range[index] = bench.view.range[1 - index];
  paintPanes(bench);
}

void clearRanges(Workbench& bench) {
  bench.view.range = {};
  paintPanes(bench);
}

int RangeSpinSteps::next() {
  if (taken_ < kSlowSteps) {
    ++taken_;
    return 1;
  }
  return kFastStep;
}

}  // namespace vemla
