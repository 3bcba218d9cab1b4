// The kernels that share their rows out to the workbench's pool, with a pool of 1 and of 2
// threads side by side: the cubic shift, the absolute difference with statistics, the area
// difference 15 x 15 and the "標準" search (R = 5), on 4096 x 4096 and on 320 x 240 (where the
// rows stay on the calling thread and must cost what they did). The memory floors are
// BM_PlaneMemcpy and BM_ThreePlanesMemcpy.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

#include "extensions/user_processing.h"
#include "processing/alignment.h"
#include "processing/image_creation.h"
#include "processing/shift.h"
#include "shift_pictures.h"
#include "workbench/worker_pool.h"

namespace {

struct Pair {
  std::vector<std::uint8_t> first, second;
};

const Pair& pair(int side) {
  static std::map<int, Pair> pairs;
  auto found = pairs.find(side);
  if (found == pairs.end()) {
    found = pairs
                .emplace(side, Pair{vemla::bench::texturedPicture(side, side),
                                    vemla::bench::texturedPicture(side, side, 2.3, -1.6)})
                .first;
  }
  return found->second;
}

vemla::WorkerPool& pool(int threads) {
  static vemla::WorkerPool one(1), two(2);
  return threads == 1 ? one : two;
}

// Args: threads, side (4096 or 320, which is 320 x 240).
void BM_ThreadsShiftCubic(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0)), side = static_cast<int>(state.range(1));
  const int height = side == 320 ? 240 : side;
  const Pair& pictures = pair(side);
  std::vector<std::uint8_t> out(pictures.first.size());
  std::vector<std::int32_t> scratch(vemla::shiftScratchSize(side));
  const vemla::ParallelFor parallel = pool(threads).parallelFor();
  for (auto _ : state) {
    vemla::shiftPicture(pictures.first.data(), side, height, 16, vemla::kShiftCubic,
                        {true, 3, 5, true, 2, 7}, out.data(), scratch.data(), parallel);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

void createImage(benchmark::State& state, int kind) {
  const int threads = static_cast<int>(state.range(0)), side = static_cast<int>(state.range(1));
  const int height = side == 320 ? 240 : side;
  const Pair& pictures = pair(side);
  vemla::CreationPictures creation{pictures.first.data(), pictures.second.data(),
                                   pictures.first.data(), side, height};
  creation.validRectangles = {vemla::Rect{0, 0, side - 1, height - 1},
                              vemla::Rect{0, 0, side - 1, height - 1}};
  std::vector<std::uint8_t> image(pictures.first.size());
  const vemla::ParallelFor parallel = pool(threads).parallelFor();
  const vemla::AreaDifferenceSettings area{15, 15, vemla::kSumOfDifferences, 9};
  for (auto _ : state) {
    const vemla::ImageStatistics statistics = vemla::createBuiltInImage(
        kind, creation, area, 8191, 8191, image.data(), vemla::imageKernels(), parallel);
    benchmark::DoNotOptimize(statistics);
    benchmark::ClobberMemory();
  }
}
void BM_ThreadsDifference(benchmark::State& state) {
  createImage(state, vemla::kKindDifference);
}
void BM_ThreadsAreaDifference(benchmark::State& state) {
  createImage(state, vemla::kKindAreaDifference);
}

void BM_ThreadsAlignStandard(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0)), side = static_cast<int>(state.range(1));
  const int height = side == 320 ? 240 : side;
  const Pair& pictures = pair(side);
  const vemla::ParallelFor parallel = pool(threads).parallelFor();
  for (auto _ : state) {
    const vemla::AlignmentOutcome outcome =
        vemla::alignPictures(vemla::kAlignStandard, 16, pictures.first.data(),
                             pictures.second.data(), side, height, 5, 5, parallel);
    benchmark::DoNotOptimize(outcome);
  }
}

// A user expression of nine references and two functions.
void BM_ThreadsExpression(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0)), side = static_cast<int>(state.range(1));
  const int height = side == 320 ? 240 : side;
  const Pair& pictures = pair(side);
  vemla::UserProcessingEntry entry;
  entry.inUse = 1;
  entry.form = 1;
  entry.expression =
      "SQRT(ABS(P1(-1,-1)+P1(0,-1)+P1(1,-1)+P1(-1,0)+P1(1,0)+P1(-1,1)+P1(0,1)+P1(1,1)-8*P2(0,0)))"
      "*4+0.5";
  std::vector<std::uint8_t> image(pictures.first.size());
  const vemla::ParallelFor parallel = pool(threads).parallelFor();
  for (auto _ : state) {
    benchmark::DoNotOptimize(vemla::applyUserProcessing(entry, pictures.first.data(),
                                                        pictures.second.data(), side, height,
                                                        image.data(), {}, parallel));
    benchmark::ClobberMemory();
  }
}

void threadsAndSides(benchmark::internal::Benchmark* family) {
  family->ArgsProduct({{1, 2}, {4096, 320}})->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_ThreadsShiftCubic)->Apply(threadsAndSides);
BENCHMARK(BM_ThreadsDifference)->Apply(threadsAndSides);
BENCHMARK(BM_ThreadsAreaDifference)->Apply(threadsAndSides);
BENCHMARK(BM_ThreadsExpression)->Apply(threadsAndSides);
BENCHMARK(BM_ThreadsAlignStandard)->Apply(threadsAndSides);

}  // namespace
