// The automatic alignment search: "標準" over a 1024 x 1024 region with R = 32 and over
// 4096 x 4096 with R = 5 and 32, and "高速" over 4096 x 4096 with R = 32, all with p = 16. The
// target is the reference moved by 2.3 pixels right and 1.6 pixels up.
#include <benchmark/benchmark.h>

#include <vector>

#include "processing/alignment.h"
#include "shift_pictures.h"

namespace {

struct Pair {
  std::vector<std::uint8_t> reference, target;
};

const Pair& pair(int side) {
  if (side == 1024) {
    static const Pair small{vemla::bench::texturedPicture(1024, 1024),
                            vemla::bench::texturedPicture(1024, 1024, 2.3, -1.6)};
    return small;
  }
  static const Pair large{vemla::bench::texturedPicture(4096, 4096),
                          vemla::bench::texturedPicture(4096, 4096, 2.3, -1.6)};
  return large;
}

void alignBenchmark(benchmark::State& state, int criterion) {
  const int side = static_cast<int>(state.range(0));
  const int range = static_cast<int>(state.range(1));
  const Pair& pictures = pair(side);
  vemla::AlignmentOutcome outcome;
  for (auto _ : state) {
    outcome = vemla::alignPictures(criterion, 16, pictures.reference.data(), pictures.target.data(),
                                   side, side, range, range);
    benchmark::DoNotOptimize(outcome);
  }
  const vemla::AlignmentSteps& s = outcome.steps;
  state.SetLabel(std::to_string(s.xFlag) + ":" + std::to_string(s.wholeX) + "+" +
                 std::to_string(s.stepsX) + "/16 " + std::to_string(s.yFlag) + ":" +
                 std::to_string(s.wholeY) + "+" + std::to_string(s.stepsY) + "/16");
}

void BM_AlignStandard(benchmark::State& state) {
  alignBenchmark(state, vemla::kAlignStandard);
}
void BM_AlignFast(benchmark::State& state) {
  alignBenchmark(state, vemla::kAlignFast);
}
// The worst case for the standard search's early dropping of offsets: two unrelated noise
// pictures, every offset about as costly as every other. Arg: search range.
void BM_AlignStandardNoise(benchmark::State& state) {
  constexpr int kRegion = 1024;
  static const Pair noise = [] {
    Pair made{std::vector<std::uint8_t>(kRegion * kRegion),
              std::vector<std::uint8_t>(kRegion * kRegion)};
    std::uint32_t seed = 12345;
    for (auto* picture : {&made.reference, &made.target}) {
      for (auto& value : *picture) {
        seed = seed * 1664525u + 1013904223u;
        value = static_cast<std::uint8_t>(seed >> 24);
      }
    }
    return made;
  }();
  const int range = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const vemla::AlignmentOutcome outcome =
        vemla::alignPictures(vemla::kAlignStandard, 16, noise.reference.data(), noise.target.data(),
                             kRegion, kRegion, range, range);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_AlignStandardNoise)->Arg(32)->Unit(benchmark::kMillisecond);

// Args: region side, search range.
BENCHMARK(BM_AlignStandard)
    ->Args({1024, 32})
    ->Args({4096, 5})
    ->Args({4096, 32})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlignFast)->Args({4096, 32})->Unit(benchmark::kMillisecond);

}  // namespace
