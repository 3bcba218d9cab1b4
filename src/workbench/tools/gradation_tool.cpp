#include "workbench/tools/gradation_tool.h"

#include <algorithm>

#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

tools::GradationWord gradationSettings(const Workbench& bench) {
  return bench.tools.gradationWord;
}

void setGradationSettings(Workbench& bench, const tools::GradationWord& settings) {
  bench.tools.gradationWord = tools::storable(settings);
  updateToolContent(bench);
  bench.notifyToolsChanged();
}

tools::GradationOperator gradationOperator(const Workbench& bench, int number) {
  const std::size_t at = static_cast<std::size_t>(std::clamp(number, 1, 4) - 1);
  return bench.tools.gradationOperators[at];
}

void setGradationOperator(Workbench& bench, int number, const tools::GradationOperator& op) {
  const std::size_t at = static_cast<std::size_t>(std::clamp(number, 1, 4) - 1);
  bench.tools.gradationOperators[at] = op;
  updateToolContent(bench);
  bench.notifyToolsChanged();
}

void highlightGradationExtreme(Workbench& bench, bool maximum) {
  tools::GradationContent& content = bench.tools.gradation;
  (maximum ? content.highlightMax : content.highlightMin) = true;
  bench.notifyToolsChanged();
}

bool clickGradationCell(Workbench& bench, tools::GridCell cell) {
  const tools::GradationContent& content = bench.tools.gradation;
  if (!bench.pictures.picturesPresent || !content.grid) return false;
  const int x = content.grid->firstColumn + cell.column;
  const int y = content.grid->firstRow + cell.row;
  if (x < 0 || y < 0 || x >= bench.pictures.width || y >= bench.pictures.height) return false;
  setCursorPosition(bench, x, y);
  return true;
}

tools::GradationGrid gradationGridOf(const Workbench& bench, ImageSlot image) {
  const tools::GradationWord settings = gradationSettings(bench);
  tools::GradationOperator op;
  if (settings.mode > 0) op = gradationOperator(bench, settings.mode);
  tools::GradationRequest request;
  request.image = shownImageOf(bench, image);
  request.width = bench.pictures.width;
  request.height = bench.pictures.height;
  request.firstColumn = bench.view.centreX - tools::kGradationHalfSpan;
  request.firstRow = bench.view.centreY - tools::kGradationHalfSpan;
  request.op = settings.mode > 0 ? &op : nullptr;
  request.hex = settings.hex;
  return tools::gradationGrid(request);
}

void updateGradationContent(Workbench& bench) {
  tools::GradationContent& content = bench.tools.gradation;
  content = {};
  if (!bench.pictures.picturesPresent) return;
  const tools::GradationWord settings = gradationSettings(bench);
  if (settings.pair) {
    content.grid = gradationGridOf(bench, ImageSlot::Second);
    content.pairGrid = gradationGridOf(bench, ImageSlot::First);
  } else {
    content.grid =
        gradationGridOf(bench, settings.secondImage ? ImageSlot::Second : ImageSlot::First);
  }
}

}  // namespace vemla
