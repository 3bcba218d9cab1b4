// The tool content computed after a cursor step over a 4096 x 4096 pair: the gradation block
// in operator mode, both profiles with the automatic range ("全自動") and one area over the
// whole pane; at x1, x8 and in the reduced display. The cursor step itself is BM_CursorStep
// (render_bench.cpp); BM_CursorStepWithTool is the two together. Then the area sums of a
// 1024-vertex polygon against the 512 x 512 rectangle over the same pixels.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ports/quiet_user_port.h"
#include "shift_pictures.h"
#include "tools/measurement.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/tools/gradation_tool.h"
#include "workbench/tools/measurement_tool.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace {

using vemla::bench::kSide;

vemla::Workbench& pair() {
  static vemla::Workbench bench;
  static vemla::QuietUserPort user;
  static const std::vector<std::uint8_t> picture = vemla::bench::texturedPicture(kSide, kSide);
  if (!bench.pictures.picturesPresent) {
    bench.store.allocate(kSide, kSide);
    vemla::MemoryPictures given;
    given.width = given.height = kSide;
    given.pixels = {picture.data(), picture.data()};
    vemla::setPicturesFromMemory(bench, user, given);
  }
  return bench;
}

const char* toolName(vemla::tools::Tool tool) {
  switch (tool) {
    case vemla::tools::Tool::Gradation:
      return "values";
    case vemla::tools::Tool::Profile:
      return "profile";
    default:
      return "area";
  }
}

// Chooses `tool` at magnification m (0: the reduced display) with its heaviest content: the
// operator grid, both profiles with the automatic range, a rectangle over the whole pane.
void prepare(vemla::Workbench& bench, vemla::tools::Tool tool, int m) {
  vemla::selectTool(bench, vemla::tools::Tool::None);
  if (m == 0) {
    vemla::setMagnification(bench, 1);
    vemla::setReducedDisplay(bench);
  } else {
    vemla::setMagnification(bench, m);
  }
  vemla::selectTool(bench, tool);
  vemla::setGradationSettings(bench, {.mode = 1});
  vemla::tools::ProfileWord profile = vemla::profileSettings(bench);
  profile.fullAuto = true;
  vemla::setProfileSettings(bench, profile);
  vemla::setMeasureSettings(bench, {.area = true});
  if (tool == vemla::tools::Tool::Measurement) {
    vemla::toolPaneClick(bench, 0, 0);
    vemla::toolPaneClick(bench, 511, 511);
  }
}

std::string label(vemla::tools::Tool tool, int m) {
  return std::string(toolName(tool)) + (m == 0 ? " reduced" : " x" + std::to_string(m));
}

// Args: tool (2 gradation values, 3 profile, 5 measurement), magnification (0: reduced).
void BM_ToolContent(benchmark::State& state) {
  vemla::Workbench& bench = pair();
  const auto tool = static_cast<vemla::tools::Tool>(state.range(0));
  const int m = static_cast<int>(state.range(1));
  prepare(bench, tool, m);
  for (auto _ : state) {
    vemla::updateToolContent(bench);
    benchmark::ClobberMemory();
  }
  state.SetLabel(label(tool, m));
}
BENCHMARK(BM_ToolContent)->ArgsProduct({{2, 3, 5}, {1, 8, 0}})->Unit(benchmark::kMicrosecond);

// The same tools with the cursor stepping left and right: rendering both panes, then the content.
void BM_CursorStepWithTool(benchmark::State& state) {
  vemla::Workbench& bench = pair();
  const auto tool = static_cast<vemla::tools::Tool>(state.range(0));
  const int m = static_cast<int>(state.range(1));
  prepare(bench, tool, m);
  bool right = true;
  for (auto _ : state) {
    vemla::moveCursor(bench, right ? vemla::CursorDirection::Right : vemla::CursorDirection::Left,
                      false);
    right = !right;
    benchmark::ClobberMemory();
  }
  state.SetLabel(label(tool, m));
}
BENCHMARK(BM_CursorStepWithTool)
    ->ArgsProduct({{2, 3, 5}, {1, 8, 0}})
    ->Unit(benchmark::kMicrosecond);

// A pane view of texture, and a polygon of 1024 vertices around the whole view: 256 on each
// side, so that it holds exactly the pixels of the rectangle (0, 0)-(511, 511). Its left and
// right sides reach row 512 so that row 511 lies inside them (an edge counts for rows
// start <= y < end).
const std::vector<std::uint8_t>& paneView() {
  static const std::vector<std::uint8_t> view = vemla::bench::texturedPicture(512, 512);
  return view;
}
std::vector<vemla::ViewPoint> squarePolygon() {
  std::vector<vemla::ViewPoint> vertices;
  for (int i = 0; i < 256; ++i) vertices.push_back({2 * i, 0});
  for (int i = 0; i < 256; ++i) vertices.push_back({511, 2 * i});
  for (int i = 0; i < 256; ++i) vertices.push_back({511 - 2 * i, 512});
  for (int i = 0; i < 256; ++i) vertices.push_back({0, 512 - 2 * i});
  return vertices;
}

// Arg: 0 the rectangle, 1 the 1024-vertex polygon.
void BM_AreaSums(benchmark::State& state) {
  const std::vector<std::uint8_t>& view = paneView();
  const std::vector<vemla::ViewPoint> polygon = squarePolygon();
  const bool usePolygon = state.range(0) != 0;
  const auto sums = [&] {
    return usePolygon ? vemla::tools::polygonSums(view.data(), polygon, 0, 255)
                      : vemla::tools::rectangleSums(view.data(), {0, 0}, {511, 511}, 0, 255);
  };
  if (!(vemla::tools::polygonSums(view.data(), polygon, 0, 255) ==
        vemla::tools::rectangleSums(view.data(), {0, 0}, {511, 511}, 0, 255))) {
    state.SkipWithError("the polygon does not cover the rectangle's pixels");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(sums());
  }
  state.SetLabel(usePolygon ? "polygon 1024" : "rectangle 512x512");
}
BENCHMARK(BM_AreaSums)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
