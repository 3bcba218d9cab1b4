#include "workbench/tools/tool_frame.h"

#include <algorithm>
#include <array>

#include "text/translate.h"
#include "workbench/tools/gradation_tool.h"
#include "workbench/tools/measurement_tool.h"
#include "workbench/tools/partial_tool.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/tools/relief_tool.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::Tool;

struct ToolName {
  Tool tool;
  const char* suffix;
};
constexpr std::array<ToolName, 5> kToolNames{{
    {Tool::Gradation, text::N_("（階調値）")},
    {Tool::Profile, text::N_("（ﾌﾟﾛﾌｧｲﾙ）")},
    {Tool::View3D, text::N_("（３Ｄ）")},
    {Tool::Measurement, text::N_("（測定）")},
    {Tool::PartialComparison, text::N_("（部分比較）")},
}};

// A pane point as the tools take it: a drag can carry the mouse beyond the pane, whose
// pixels end at 511.
ViewPoint insidePane(int u, int v) {
  constexpr int kLast = ViewState::kPaneSize - 1;
  return {std::clamp(u, 0, kLast), std::clamp(v, 0, kLast)};
}

bool profileInArbitraryDirection(const Workbench& bench) {
  return bench.tools.profileWord.direction == 2;
}

}  // namespace

bool selectTool(Workbench& bench, Tool tool) {
  tools::ToolState& state = bench.tools;
  if (tool == state.active) return false;
  if (tool != Tool::None && !bench.pictures.picturesPresent) return false;
  if (state.active == Tool::Gradation) {
    state.gradationWord.pair = false;
  }
  if (state.active == Tool::View3D) state.relief.whole = false;  // its whole display closes
  state.active = tool;
  state.profileSegment.reset();
  state.profile.marks = 0;
  state.measureLine.reset();
  state.measure.polygon.clear();
  state.measure.polygonClosed = false;
  state.measure.edgeRequested = false;
  if (bench.pictures.picturesPresent) {
    renderPanes(bench, true);  // computes the content before telling the listeners
  } else {
    updateToolContent(bench);
  }
  bench.notifyToolsChanged();
  return true;
}

std::string toolTitleSuffix(const Workbench& bench) {
  std::string suffix;
  for (const ToolName& name : kToolNames) {
    if (name.tool == bench.tools.active) suffix = text::tr(name.suffix);
  }
  if (bench.tools.active == Tool::Gradation && gradationSettings(bench).pair) {
    suffix += text::tr("イメージ２");
  }
  return suffix;
}

bool profileOr3DActive(const Workbench& bench) {
  return bench.tools.active == Tool::Profile || bench.tools.active == Tool::View3D;
}

bool toolFollowsCursor(const Workbench& bench) {
  const tools::PartialState& partial = bench.tools.partial.comparison;
  return bench.tools.active == Tool::Gradation || profileOr3DActive(bench) ||
         (bench.tools.active == Tool::PartialComparison &&
          (partial.takingReference || partial.takingComparison));
}

bool toolPaneClick(Workbench& bench, int u, int v) {
  tools::ToolState& state = bench.tools;
  if (state.active == Tool::Profile && profileInArbitraryDirection(bench)) {
    state.profileSegment.click(insidePane(u, v));
  } else if (state.active == Tool::Measurement) {
    measurePaneClick(bench, insidePane(u, v));
  } else {
    return false;
  }
  bench.notifyPanesChanged();  // computes the content again
  bench.notifyToolsChanged();
  return true;
}

bool toolPaneMove(Workbench& bench, int u, int v) {
  tools::ToolState& state = bench.tools;
  bool taken = false;
  const tools::LineEntry before =
      state.active == Tool::Measurement ? state.measureLine : state.profileSegment;
  if (state.active == Tool::Profile && profileInArbitraryDirection(bench)) {
    taken = state.profileSegment.state() == tools::LineEntry::State::Following;
    state.profileSegment.move(insidePane(u, v));
  } else if (state.active == Tool::Measurement) {
    taken = measurePaneMove(bench, insidePane(u, v));
  }
  const tools::LineEntry& after =
      state.active == Tool::Measurement ? state.measureLine : state.profileSegment;
  if (taken && !(after.end() == before.end())) {
    bench.notifyPanesChanged();  // computes the content again
    bench.notifyToolsChanged();
  }
  return taken;
}

bool toolPaneDoubleClick(Workbench& bench) {
  if (bench.tools.active != Tool::Measurement || !measurePaneDoubleClick(bench)) return false;
  bench.notifyPanesChanged();
  bench.notifyToolsChanged();
  return true;
}

std::optional<ToolOverlay> toolOverlayOf(const Workbench& bench, ImageSlot image) {
  const tools::ToolState& state = bench.tools;
  ToolOverlay overlay;
  if (state.active == Tool::Profile && profileInArbitraryDirection(bench)) {
    if (state.profileSegment.state() == tools::LineEntry::State::None) return std::nullopt;
    overlay.points = {state.profileSegment.start(), state.profileSegment.end()};
    return overlay;
  }
  if (state.active == Tool::View3D && state.relief.viewDirection) {
    overlay.points = tools::viewDirectionMark(state.relief.origin, tools::kReliefBlockSize,
                                              state.relief.settings.angleX);
    return overlay;
  }
  if (state.active != Tool::Measurement) return std::nullopt;
  const tools::MeasureSettings& settings = state.measure.settings;
  const tools::LineEntry& line = state.measureLine;
  if (settings.area && settings.polygon) {
    overlay.points = state.measure.polygon;
    overlay.closed = state.measure.polygonClosed;
  } else if (line.state() != tools::LineEntry::State::None &&
             !(settings.automatic && !settings.area)) {
    const ViewPoint a = line.start(), b = line.end();
    overlay.points = settings.area ? std::vector<ViewPoint>{a, {b.x, a.y}, b, {a.x, b.y}}
                                   : std::vector<ViewPoint>{a, b};
    overlay.closed = settings.area;
  } else if (settings.automatic && state.measure.edgeRequested) {
    overlay.points = {cursorViewPointOf(bench)};
  }
  overlay.text = measureText(bench, image);
  if (overlay.points.empty()) return std::nullopt;
  return overlay;
}

void updateToolContent(Workbench& bench) {
  if (bench.tools.active == Tool::Gradation) {
    updateGradationContent(bench);
  } else {
    bench.tools.gradation = {};
  }
  if (bench.tools.active == Tool::Profile) {
    updateProfileContent(bench);
  } else {
    bench.tools.profileContent = {};
  }
  // The measurement results outlive the tool: they are shown again when it comes back.
  if (bench.tools.active == Tool::Measurement) updateMeasureContent(bench);
  if (bench.tools.active == Tool::View3D) updateReliefContent(bench);
  if (bench.tools.active == Tool::PartialComparison) updatePartialContent(bench);
}

}  // namespace vemla
