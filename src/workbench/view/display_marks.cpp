#include "workbench/view/display_marks.h"

#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

DisplayMark* markAt(Workbench& bench, int index) {
  if (index < 0 || index >= kDisplayMarkCount) return nullptr;
  return &bench.images.marks[static_cast<std::size_t>(index)];
}

}  // namespace

void storeDisplayMark(Workbench& bench, int index) {
  if (DisplayMark* mark = markAt(bench, index)) {
    *mark = {1, bench.view.centreX, bench.view.centreY};
    bench.notifyPanesChanged();  // the windows that list the marks show the new one
  }
}

bool restoreDisplayMark(Workbench& bench, int index) {
  const DisplayMark* mark = markAt(bench, index);
  if (mark == nullptr || mark->valid == 0 || !bench.pictures.picturesPresent) return false;
  setCursorPosition(bench, mark->x, mark->y);
  return true;
}

void clearDisplayMarks(Workbench& bench) {
  bench.images.marks = {};
  bench.notifyPanesChanged();
}

std::array<std::string, 2> displayMarkTexts(const Workbench& bench, int index) {
  if (index < 0 || index >= kDisplayMarkCount) return {};
  const DisplayMark& mark = bench.images.marks[static_cast<std::size_t>(index)];
  if (mark.valid == 0) return {};
  return {std::to_string(mark.x), std::to_string(mark.y)};
}

}  // namespace vemla
