// The 3D tool's renderings on the 256 x 256 block (into 336 x 286) and on the whole 512 x 512
// view (into 756 x 756), beside a pass that only projects the same points (the floor); and one
// partial comparison refresh (two takes, cubic shift, difference, colour table) beside
// shiftPicture alone on 168 x 168.
#include <benchmark/benchmark.h>

#include <vector>

#include "shift_pictures.h"
#include "tools/partial_comparison.h"
#include "tools/relief.h"

namespace {

using namespace vemla::tools;

const std::vector<std::uint8_t>& view() {
  static const std::vector<std::uint8_t> pixels =
      vemla::bench::texturedPicture(vemla::kViewSize, vemla::kViewSize);
  return pixels;
}

// Args: mode (0 surface, 1 wire, 2 polygon), width, whole (0 block, 1 whole view).
void BM_Relief(benchmark::State& state) {
  const bool whole = state.range(2) != 0;
  const int size = whole ? vemla::kViewSize : kReliefBlockSize;
  const int width = whole ? kReliefWholeSize : kReliefWidth;
  const int height = whole ? kReliefWholeSize : kReliefHeight;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(size * size));
  copyBlock(view().data(), blockOrigin({256, 256}, size), size, block.data());
  std::vector<std::uint8_t> raster(static_cast<std::size_t>(width * height));
  ReliefSettings settings;
  settings.mode = static_cast<ReliefMode>(state.range(0));
  settings.wireWidth = settings.polygonWidth = static_cast<int>(state.range(1));
  ReliefWork work;
  for (auto _ : state) {
    drawRelief(block.data(), size, settings, {raster.data(), width, height}, work);
    benchmark::DoNotOptimize(raster.data());
  }
}
BENCHMARK(BM_Relief)
    ->ArgNames({"mode", "width", "whole"})
    ->ArgsProduct({{0, 1, 2}, {3, 8}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Args: whole. Every point projected once, nothing drawn.
void BM_ReliefProjectionOnly(benchmark::State& state) {
  const bool whole = state.range(0) != 0;
  const int size = whole ? vemla::kViewSize : kReliefBlockSize;
  const Projection p = makeProjection(20, 20, 256, 16, 80, whole ? kReliefWholeSize : kReliefWidth,
                                      whole ? kReliefWholeSize : kReliefHeight);
  const std::uint8_t* source = view().data();
  for (auto _ : state) {
    int sum = 0;
    for (int row = 0; row < size; ++row) {
      for (int column = 0; column < size; ++column) {
        const vemla::ViewPoint at =
            project(p, column - size / 2, row - size / 2, source[row * vemla::kViewSize + column]);
        sum += at.x ^ at.y;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReliefProjectionOnly)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PartialRefresh(benchmark::State& state) {
  PartialState partial;
  partial.takingReference = partial.takingComparison = true;
  const vemla::ColourTable& grey = vemla::baseColourTable(vemla::kColourGrey);
  takeTickedParts(partial, view().data(), {256, 256}, grey);
  partial.takingReference = partial.takingComparison = false;
  partial.shift = {-20, 8};
  for (auto _ : state) {
    partial.takingReference = partial.takingComparison = true;
    takeTickedParts(partial, view().data(), {250, 260}, grey);
    partial.shift = {-20, 8};
    refreshDifference(partial, 16, vemla::kShiftCubic);
    const vemla::ColourTable table = differenceTable(true, grey, 150);
    benchmark::DoNotOptimize(table.data());
    benchmark::DoNotOptimize(partial.difference.shown.data());
  }
}
BENCHMARK(BM_PartialRefresh)->Unit(benchmark::kMicrosecond);

void BM_PartShiftOnly(benchmark::State& state) {
  std::vector<std::uint8_t> part(kPartPixels), shifted(kPartPixels);
  copyBlock(view().data(), blockOrigin({256, 256}, kPartSize), kPartSize, part.data());
  std::vector<std::int32_t> scratch(vemla::shiftScratchSize(kPartSize));
  for (auto _ : state) {
    vemla::shiftPicture(part.data(), kPartSize, kPartSize, 16, vemla::kShiftCubic,
                        shiftAmountOf(PartShift{-20, 8}, 16), shifted.data(), scratch.data());
    benchmark::DoNotOptimize(shifted.data());
  }
}
BENCHMARK(BM_PartShiftOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
