// shiftPicture on a 4096 x 4096 picture, linear and cubic, with a sub-pixel shift on both
// axes (3 + 5/16 right, 2 + 7/16 down), for every kernel variant this machine runs, against
// one memcpy of the plane (the memory floor of a pass that reads and writes the plane once).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "processing/shift.h"
#include "shift_pictures.h"

namespace {

using vemla::bench::kSide;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

const std::vector<std::uint8_t>& source() {
  static const std::vector<std::uint8_t> picture = vemla::bench::texturedPicture(kSide, kSide);
  return picture;
}

void BM_PlaneMemcpy(benchmark::State& state) {
  source();  // made before timing
  std::vector<std::uint8_t> out(kPixels);
  for (auto _ : state) {
    std::memcpy(out.data(), source().data(), kPixels);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPixels));
}
BENCHMARK(BM_PlaneMemcpy)->Unit(benchmark::kMillisecond);

void shiftBenchmark(benchmark::State& state, int mode) {
  const auto kernels = vemla::supportedRowKernels();
  const std::size_t level = static_cast<std::size_t>(state.range(0));
  if (level >= kernels.size()) {
    state.SkipWithError("kernel variant not supported on this machine");
    return;
  }
  const bool subPixel = state.range(1) != 0;
  const vemla::ShiftAmount amount{true, 3, subPixel ? 5 : 0, true, 2, subPixel ? 7 : 0};
  source();
  std::vector<std::uint8_t> out(kPixels);
  std::vector<std::int32_t> scratch(vemla::shiftScratchSize(kSide));
  for (auto _ : state) {
    vemla::shiftPicture(*kernels[level], source().data(), kSide, kSide, 16, mode, amount,
                        out.data(), scratch.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPixels));
  state.SetLabel(level == 0 ? "baseline" : level == 1 ? "avx2" : "avx512");
}

void BM_ShiftLinear(benchmark::State& state) {
  shiftBenchmark(state, vemla::kShiftLinear);
}
void BM_ShiftCubic(benchmark::State& state) {
  shiftBenchmark(state, vemla::kShiftCubic);
}
// Args: kernel variant (0 baseline, 1 AVX2, 2 AVX-512), sub-pixel (1) or whole pixels (0).
BENCHMARK(BM_ShiftLinear)
    ->ArgsProduct({{0, 1, 2}, {1}})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftCubic)
    ->ArgsProduct({{0, 1, 2}, {1}})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
