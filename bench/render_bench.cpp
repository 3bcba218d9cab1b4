// Rendering one 512 x 512 pane of a 4096 x 4096 image: extraction and magnification (nearest,
// linear, cubic), then the colour table and the grid copy; and a cursor step, which renders
// and paints both panes.
#include <benchmark/benchmark.h>

#include <vector>

#include "ports/quiet_user_port.h"
#include "processing/pane_painting.h"
#include "processing/view_rendering.h"
#include "shift_pictures.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace {

using vemla::bench::kSide;

const std::vector<std::uint8_t>& image() {
  static const std::vector<std::uint8_t> picture = vemla::bench::texturedPicture(kSide, kSide);
  return picture;
}

// Args: magnification, interpolation (0 off, 1 linear, 2 cubic), reduced display (1 with m 1).
void BM_RenderPane(benchmark::State& state) {
  const int m = static_cast<int>(state.range(0));
  const int interpolation = static_cast<int>(state.range(1));
  const vemla::ViewSettings settings{m, state.range(2) != 0, interpolation != 0,
                                     interpolation == 1 ? vemla::kZoomLinear : vemla::kZoomCubic};
  const vemla::ViewPlacement placement = vemla::centredPlacement(kSide, kSide, 1000, 3000, m);
  vemla::RenderWork work;
  std::vector<std::uint8_t> view(512 * 512), shown(512 * 512);
  vemla::ColourTable table{};
  vemla::PaneColours colours;
  colours.base = vemla::baseColourTable(vemla::kColourStandard);
  colours.colourKind = vemla::kColourStandard;
  colours.rangeOn = true;
  colours.lower = 100;
  colours.upper = 120;
  const vemla::GridSettings grid{true, 4, 1, 2, {0, 255, 0}};
  const int period = vemla::gridPeriod(4, m, settings.reduced, vemla::reductionRatio(kSide, kSide));
  image();
  for (auto _ : state) {
    vemla::renderView(image().data(), kSide, kSide, 0, settings, placement, view.data(), work);
    vemla::paintPane(view.data(), colours, grid, period, shown.data(), table);
    benchmark::DoNotOptimize(shown.data());
    benchmark::ClobberMemory();
  }
  std::string label = settings.reduced ? "reduced" : "x";
  if (!settings.reduced) label.append(std::to_string(m));
  label.append(interpolation == 0 ? " nearest" : interpolation == 1 ? " linear" : " cubic");
  state.SetLabel(label);
}
BENCHMARK(BM_RenderPane)
    ->Args({1, 0, 0})
    ->Args({1, 0, 1})
    ->Args({2, 0, 0})
    ->ArgsProduct({{2, 3, 8, 64}, {1, 2}, {0}})
    ->Unit(benchmark::kMicrosecond);

// Arg: magnification. Cursor steps left and right over a 4096 x 4096 pair with colour, range
// extraction and grid on, interpolation (cubic) on.
void BM_CursorStep(benchmark::State& state) {
  static vemla::Workbench bench;
  static vemla::QuietUserPort user;
  if (!bench.pictures.picturesPresent) {
    bench.store.allocate(kSide, kSide);
    vemla::MemoryPictures given;
    given.width = given.height = kSide;
    given.pixels = {image().data(), image().data()};
    vemla::setPicturesFromMemory(bench, user, given);
  }
  bench.view.colourDisplay = true;
  bench.view.zoomInterpolation = true;
  bench.view.rangeExtraction = {true, true};
  bench.view.range[0] = {100, 120};
  bench.view.grid = true;
  vemla::setMagnification(bench, static_cast<int>(state.range(0)));
  bool right = true;
  for (auto _ : state) {
    vemla::moveCursor(bench, right ? vemla::CursorDirection::Right : vemla::CursorDirection::Left,
                      false);
    right = !right;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CursorStep)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);

}  // namespace
