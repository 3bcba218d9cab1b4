// The tool content computed after a cursor step over a 4096 x 4096 pair: the gradation block
// in operator mode, and both profiles with the automatic range ("全自動"); at x1, x8 and in
// the reduced display. The cursor step itself is BM_CursorStep (render_bench.cpp).
#include <benchmark/benchmark.h>

#include <vector>

#include "ports/quiet_user_port.h"
#include "shift_pictures.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/tools/gradation_tool.h"
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

// Args: tool (2 gradation values, 3 profile), magnification (0: the reduced display).
void BM_ToolContent(benchmark::State& state) {
  vemla::Workbench& bench = pair();
  const auto tool = static_cast<vemla::tools::Tool>(state.range(0));
  const int m = static_cast<int>(state.range(1));
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
  for (auto _ : state) {
    vemla::updateToolContent(bench);
    benchmark::ClobberMemory();
  }
  state.SetLabel(std::string(tool == vemla::tools::Tool::Gradation ? "values" : "profile") +
                 (m == 0 ? " reduced" : " x" + std::to_string(m)));
}
BENCHMARK(BM_ToolContent)->ArgsProduct({{2, 3}, {1, 8, 0}})->Unit(benchmark::kMicrosecond);

}  // namespace
