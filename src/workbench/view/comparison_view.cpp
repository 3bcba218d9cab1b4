#include "workbench/view/comparison_view.h"

#include <algorithm>

#include "processing/image_kinds.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

void setComparisonMode(Workbench& bench, ImageSlot image, ComparisonMode mode, UserPort& user,
                       BusyPort& busy, ProgressPort& progress) {
  const std::size_t at = index(image);
  PaneComparison& comparison = bench.view.comparison[at];
  if (comparison.mode == mode) return;
  if (mode == ComparisonMode::Off) {
    const int kind = comparison.givenBackKind;
    endComparison(comparison);
    bench.images.kind[at] = kind;
  } else if (comparison.on()) {
    // Blink to swipe or back: both renderings are there already.
    comparison.mode = mode;
    comparison.second = false;
    bench.notifyPanesChanged();
    return;
  } else {
    comparison.givenBackKind = bench.images.kind[at];
    comparison.mode = mode;
    comparison.second = false;
    bench.images.kind[at] = kKindPicture1;
  }
  createImage(bench, image, true, true, user, busy, progress);
  bench.notifyPanesChanged();
}

void toggleComparisonMode(Workbench& bench, ImageSlot image, ComparisonMode mode, UserPort& user,
                          BusyPort& busy, ProgressPort& progress) {
  const bool in = bench.view.comparison[index(image)].mode == mode;
  setComparisonMode(bench, image, in ? ComparisonMode::Off : mode, user, busy, progress);
}

bool flipBlink(Workbench& bench, ImageSlot image) {
  PaneComparison& comparison = bench.view.comparison[index(image)];
  if (comparison.mode != ComparisonMode::Blink) return false;
  comparison.second = !comparison.second;
  bench.notifyViewFlipped(image);
  return true;
}

void setBlinkRate(Workbench& bench, int tenths) {
  const int rate = std::clamp(tenths, kMinBlinkTenths, kMaxBlinkTenths);
  if (rate == bench.view.blinkTenths) return;
  bench.view.blinkTenths = rate;
  bench.notifyPanesChanged();
}

int blinkIntervalMs(const Workbench& bench) {
  return 10000 / std::clamp(bench.view.blinkTenths, kMinBlinkTenths, kMaxBlinkTenths);
}

bool moveSwipeDivider(Workbench& bench, ImageSlot image, int position) {
  PaneComparison& comparison = bench.view.comparison[index(image)];
  if (comparison.mode != ComparisonMode::Swipe) return false;
  const int divider = std::clamp(position, 1, ViewState::kPaneSize - 1);
  if (divider == comparison.divider) return false;
  comparison.divider = divider;
  bench.notifyViewFlipped(image);
  return true;
}

void setSwipeHorizontal(Workbench& bench, ImageSlot image, bool horizontal) {
  PaneComparison& comparison = bench.view.comparison[index(image)];
  if (comparison.horizontal == horizontal) return;
  comparison.horizontal = horizontal;
  bench.notifyViewFlipped(image);
}

}  // namespace vemla
