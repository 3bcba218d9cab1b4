#include "workbench/view/range_extraction.h"

#include <algorithm>

#include "workbench/view/refresh_chain.h"

namespace vemla {
void setRangeExtraction(Workbench& bench, ImageSlot image, bool on) {
  bench.view.rangeExtraction[index(image)] = on;
  paintPanes(bench);
}

void setRangeBound(Workbench& bench, ImageSlot image, RangeBound bound, int value) {
  ViewState& view = bench.view;
  ViewState::RangeBounds& range = view.range[index(image)];
  // Bounds restored from a file may be out of order; the rule below needs them in order.
  range.lower = std::clamp(range.lower, 0, 255);
  range.upper = std::clamp(range.upper, range.lower, 255);
  value = std::clamp(value, 0, 255);
  if (bound == RangeBound::Lower) {
    range.lower = std::min(value, range.upper);
  } else {
    range.upper = std::max(value, range.lower);
  }
  if (view.rangeLinked) view.range[index(other(image))] = range;
  paintPanes(bench);
}

void setRangeLinked(Workbench& bench, bool on) {
  ViewState& view = bench.view;
  view.rangeLinked = on;
  if (on) {
    const bool fromImage2 = view.rangeExtraction[index(ImageSlot::Second)] &&
                            !view.rangeExtraction[index(ImageSlot::First)];
    const ImageSlot from = fromImage2 ? ImageSlot::Second : ImageSlot::First;
    view.range[index(other(from))] = view.range[index(from)];
  }
  paintPanes(bench);
}

void copyRange(Workbench& bench, ImageSlot toImage) {
  bench.view.range[index(toImage)] = bench.view.range[index(other(toImage))];
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
