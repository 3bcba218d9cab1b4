// OpenCV as a point of comparison, single-threaded: warpAffine with the same translation as
// the shift benchmarks (3 + 5/16 right, 2 + 7/16 down), linear and cubic, and matchTemplate
// with TM_SQDIFF over the same 1024 x 1024 and 4096 x 4096 regions and range (R = 32) as the
// "標準" benchmarks.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "../shift_pictures.h"

namespace {

using vemla::bench::kSide;

const cv::Mat& source() {
  static std::vector<std::uint8_t> pixels = vemla::bench::texturedPicture(kSide, kSide);
  static const cv::Mat picture(kSide, kSide, CV_8UC1, pixels.data());
  return picture;
}

void warp(benchmark::State& state, int interpolation) {
  cv::setNumThreads(1);
  const cv::Mat translation = (cv::Mat_<double>(2, 3) << 1, 0, 3 + 5.0 / 16, 0, 1, 2 + 7.0 / 16);
  cv::Mat out(kSide, kSide, CV_8UC1);
  source();  // made before timing
  for (auto _ : state) {
    cv::warpAffine(source(), out, translation, out.size(), interpolation, cv::BORDER_CONSTANT, 0);
    benchmark::DoNotOptimize(out.data);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSide * kSide);
}

void BM_OpenCvWarpAffineLinear(benchmark::State& state) {
  warp(state, cv::INTER_LINEAR);
}
void BM_OpenCvWarpAffineCubic(benchmark::State& state) {
  warp(state, cv::INTER_CUBIC);
}
BENCHMARK(BM_OpenCvWarpAffineLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCvWarpAffineCubic)->Unit(benchmark::kMillisecond);

// Arg: region side (the range is 32 as in the "標準" benchmarks).
void BM_OpenCvMatchTemplateSqdiff(benchmark::State& state) {
  cv::setNumThreads(1);
  const int region = static_cast<int>(state.range(0));
  constexpr int kRange = 32;
  std::vector<std::uint8_t> reference = vemla::bench::texturedPicture(region, region);
  std::vector<std::uint8_t> target = vemla::bench::texturedPicture(region, region, 2.3, -1.6);
  const cv::Mat image(region, region, CV_8UC1, target.data());
  const cv::Mat whole(region, region, CV_8UC1, reference.data());
  const cv::Mat inner = whole(cv::Rect(kRange, kRange, region - 2 * kRange, region - 2 * kRange));
  cv::Mat costs;
  for (auto _ : state) {
    cv::matchTemplate(image, inner, costs, cv::TM_SQDIFF);
    benchmark::DoNotOptimize(costs.data);
  }
}
BENCHMARK(BM_OpenCvMatchTemplateSqdiff)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
