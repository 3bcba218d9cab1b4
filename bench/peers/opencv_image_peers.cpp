// OpenCV as a point of comparison for image creation, single-threaded, on the same 4096 x 4096
// pair as image_bench.cpp: absdiff (the absolute difference kind without statistics), and a
// normalised boxFilter over absdiff (the area difference, method 0, with D = the window area).
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "../shift_pictures.h"

namespace {

using vemla::bench::kSide;

const cv::Mat& picture(int index) {
  static std::vector<std::uint8_t> first = vemla::bench::texturedPicture(kSide, kSide);
  static std::vector<std::uint8_t> second = vemla::bench::texturedPicture(kSide, kSide, 1.25, -0.5);
  static const cv::Mat pictures[] = {cv::Mat(kSide, kSide, CV_8UC1, first.data()),
                                     cv::Mat(kSide, kSide, CV_8UC1, second.data())};
  return pictures[index];
}

void BM_OpenCvAbsdiff(benchmark::State& state) {
  cv::setNumThreads(1);
  cv::Mat out(kSide, kSide, CV_8UC1);
  picture(0);
  for (auto _ : state) {
    cv::absdiff(picture(0), picture(1), out);
    benchmark::DoNotOptimize(out.data);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OpenCvAbsdiff)->Unit(benchmark::kMillisecond);

// Arg: window side.
void BM_OpenCvBoxFilterOfAbsdiff(benchmark::State& state) {
  cv::setNumThreads(1);
  const int side = static_cast<int>(state.range(0));
  cv::Mat difference(kSide, kSide, CV_8UC1), out(kSide, kSide, CV_8UC1);
  picture(0);
  for (auto _ : state) {
    cv::absdiff(picture(0), picture(1), difference);
    cv::boxFilter(difference, out, CV_8U, cv::Size(side, side), cv::Point(-1, -1), true,
                  cv::BORDER_CONSTANT);
    benchmark::DoNotOptimize(out.data);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OpenCvBoxFilterOfAbsdiff)->Arg(3)->Arg(15)->Unit(benchmark::kMillisecond);

}  // namespace
