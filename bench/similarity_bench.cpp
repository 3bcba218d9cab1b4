// The structural similarity of a 4096 x 4096 pair against the difference it is printed beside:
// the difference image with its statistics and the judging summary, each on one thread; and
// the similarity with a compared-pixel mask (a rectangle left out).
#include <benchmark/benchmark.h>

#include <vector>

#include "processing/compared_pixels.h"
#include "processing/difference_summary.h"
#include "processing/image_creation.h"
#include "processing/image_kinds.h"
#include "processing/structural_similarity.h"
#include "shift_pictures.h"

namespace {

using vemla::bench::kSide;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;
constexpr vemla::Rect kWhole{0, 0, kSide - 1, kSide - 1};

struct Pair {
  std::vector<std::uint8_t> first = vemla::bench::texturedPicture(kSide, kSide);
  std::vector<std::uint8_t> second = vemla::bench::texturedPicture(kSide, kSide, 1.25, -0.5);
};

const Pair& pair() {
  static const Pair made;
  return made;
}

void BM_Difference4096(benchmark::State& state) {
  const Pair& p = pair();
  vemla::CreationPictures pictures;
  pictures.shifted1 = p.first.data();
  pictures.shifted2 = p.second.data();
  pictures.width = pictures.height = kSide;
  pictures.validRectangles = {kWhole, kWhole};
  std::vector<std::uint8_t> image(kPixels);
  for (auto _ : state) {
    const vemla::ImageStatistics statistics =
        vemla::createBuiltInImage(vemla::kKindDifference, pictures, vemla::AreaDifferenceSettings{},
                                  8191, 8191, image.data());
    benchmark::DoNotOptimize(statistics);
    const vemla::DifferenceSummary summary =
        vemla::summariseDifference(image.data(), kSide, kSide, kWhole, 0, 8);
    benchmark::DoNotOptimize(summary);
  }
}
BENCHMARK(BM_Difference4096)->Unit(benchmark::kMillisecond);

// Arg: 1 with a 512 x 512 rectangle left out.
void BM_Similarity4096(benchmark::State& state) {
  const Pair& p = pair();
  const vemla::Rect ignored{1000, 1000, 1511, 1511};
  const std::vector<std::uint8_t> compared =
      state.range(0) != 0 ? vemla::comparedPixels(kSide, kSide, std::span(&ignored, 1), nullptr)
                          : std::vector<std::uint8_t>{};
  for (auto _ : state) {
    const vemla::Similarity similarity =
        vemla::structuralSimilarity(p.first.data(), p.second.data(), kSide, kSide, kWhole,
                                    compared.empty() ? nullptr : compared.data());
    benchmark::DoNotOptimize(similarity);
  }
  state.SetLabel(state.range(0) != 0 ? "a rectangle left out" : "every pixel");
}
BENCHMARK(BM_Similarity4096)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
