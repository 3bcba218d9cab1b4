#include "workbench/tools/relief_tool.h"

#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::ReliefState;

ReliefState& startedState(Workbench& bench) {
  ReliefState& state = bench.tools.relief;
  if (!state.started) {
    state.started = true;
    state.settings.angleX = bench.options.View3DAngleX;
    state.settings.angleZ = bench.options.View3DAngleZ;
    state.settings.luminance = bench.options.View3DLuminance;
    state.settings.wireWidth = bench.options.View3DWireWidth;
    state.settings.polygonWidth = bench.options.View3DPolygonWidth;
    state.settings = tools::limitedReliefSettings(state.settings);
  }
  return state;
}

void redraw(Workbench& bench) {
  updateReliefContent(bench);
  bench.notifyToolsChanged();
}

const PaneRaster* paneOf(const Workbench& bench, bool secondImage) {
  const PaneRaster& pane = bench.view.panes[secondImage ? 1 : 0];
  if (pane.view.size() != static_cast<std::size_t>(kViewSize) * kViewSize) return nullptr;
  return &pane;
}

}  // namespace

tools::ReliefSettings reliefSettings(const Workbench& bench) {
  if (bench.tools.relief.started) return bench.tools.relief.settings;
  tools::ReliefSettings settings;
  settings.angleX = bench.options.View3DAngleX;
  settings.angleZ = bench.options.View3DAngleZ;
  settings.luminance = bench.options.View3DLuminance;
  settings.wireWidth = bench.options.View3DWireWidth;
  settings.polygonWidth = bench.options.View3DPolygonWidth;
  return tools::limitedReliefSettings(settings);
}

void setReliefSettings(Workbench& bench, const tools::ReliefSettings& settings) {
  ReliefState& state = startedState(bench);
  state.settings = tools::limitedReliefSettings(settings);
  redraw(bench);
}

void resetReliefView(Workbench& bench) {
  tools::ReliefSettings settings = reliefSettings(bench);
  settings.angleX = bench.options.View3DAngleX;
  settings.angleZ = bench.options.View3DAngleZ;
  settings.depth = tools::kNeutralDepth;
  settings.heightRatio = tools::kNeutralHeightRatio;
  settings.baseHeight = tools::kNeutralBaseHeight;
  setReliefSettings(bench, settings);
}

void resetReliefMode(Workbench& bench) {
  tools::ReliefSettings settings = reliefSettings(bench);
  settings.luminance = bench.options.View3DLuminance;
  settings.wireWidth = bench.options.View3DWireWidth;
  settings.polygonWidth = bench.options.View3DPolygonWidth;
  setReliefSettings(bench, settings);
}

ReliefSwitches reliefSwitches(const Workbench& bench) {
  const ReliefState& state = bench.tools.relief;
  return {state.viewDirection, state.whole, state.otherPane, state.secondImage};
}

void setReliefSwitches(Workbench& bench, const ReliefSwitches& switches) {
  ReliefState& state = startedState(bench);
  const bool directionChanged = state.viewDirection != switches.viewDirection;
  state.viewDirection = switches.viewDirection;
  state.whole = switches.whole;
  state.otherPane = switches.otherPane;
  state.secondImage = switches.secondImage;
  if (!state.whole) {
    state.wholeRaster.clear();
    state.wholeRaster.shrink_to_fit();
  }
  updateReliefContent(bench);
  if (directionChanged) bench.notifyPanesChanged();
  bench.notifyToolsChanged();
}

std::string reliefWholeTitle(const Workbench& bench) {
  const std::string magnification =
      magnificationText(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
  return tools::reliefTitle(
      reliefSettings(bench), bench.view.centreX, bench.view.centreY,
      magnification.rfind('x', 0) == 0 ? magnification.substr(1) : magnification, true);
}

std::optional<std::array<int, 5>> currentReliefValues(const Workbench& bench) {
  if (!bench.tools.relief.started) return std::nullopt;
  const tools::ReliefSettings& s = bench.tools.relief.settings;
  return std::array<int, 5>{s.angleX, s.angleZ, s.luminance, s.wireWidth, s.polygonWidth};
}

void updateReliefContent(Workbench& bench) {
  ReliefState& state = startedState(bench);
  const PaneRaster* pane = paneOf(bench, state.secondImage);
  if (!bench.pictures.picturesPresent || pane == nullptr) {
    state.raster.clear();
    state.wholeRaster.clear();
    return;
  }
  const tools::ReliefSettings& settings = state.settings;
  const bool surface = settings.mode == tools::ReliefMode::Surface;
  const auto coloursOf = [&](const ColourTable& table) {
    return surface ? tools::brightenedTable(table, settings.luminance) : table;
  };
  constexpr int kBlock = tools::kReliefBlockSize;
  state.origin = tools::blockOrigin(cursorViewPointOf(bench), kBlock);
  state.block.resize(static_cast<std::size_t>(kBlock) * kBlock);
  tools::copyBlock(pane->view.data(), state.origin, kBlock, state.block.data());
  state.raster.resize(static_cast<std::size_t>(tools::kReliefWidth) * tools::kReliefHeight);
  tools::drawRelief(state.block.data(), kBlock, settings,
                    {state.raster.data(), tools::kReliefWidth, tools::kReliefHeight}, state.work);
  state.colours = coloursOf(pane->colours);
  if (!state.whole) return;
  const PaneRaster* wholePane = paneOf(bench, state.secondImage != state.otherPane);
  if (wholePane == nullptr) return;
  constexpr int kWhole = tools::kReliefWholeSize;
  state.wholeRaster.resize(static_cast<std::size_t>(kWhole) * kWhole);
  tools::drawRelief(wholePane->view.data(), kViewSize, settings,
                    {state.wholeRaster.data(), kWhole, kWhole}, state.work);
  state.wholeColours = coloursOf(wholePane->colours);
}

}  // namespace vemla
