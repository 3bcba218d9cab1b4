// OpenCV's imread of the same PNG and TIFF files as picture_read_bench.cpp, as a peer, single
// threaded; grey files read as they are stored.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "../picture_bench_files.h"

namespace {

using namespace vemla::bench;

void imreadOf(benchmark::State& state, BenchFile which) {
  cv::setNumThreads(1);
  const std::string path = benchFile(which);
  for (auto _ : state) {
    const cv::Mat picture = cv::imread(path, cv::IMREAD_UNCHANGED);
    if (picture.empty()) state.SkipWithError("imread failed");
    benchmark::DoNotOptimize(picture.data);
  }
}

void BM_OpenCvImreadPng8(benchmark::State& state) {
  imreadOf(state, BenchFile::Png8);
}
BENCHMARK(BM_OpenCvImreadPng8)->Unit(benchmark::kMillisecond);

void BM_OpenCvImreadTiff8(benchmark::State& state) {
  imreadOf(state, BenchFile::Tiff8);
}
BENCHMARK(BM_OpenCvImreadTiff8)->Unit(benchmark::kMillisecond);

void BM_OpenCvImreadTiff16(benchmark::State& state) {
  imreadOf(state, BenchFile::Tiff16);
}
BENCHMARK(BM_OpenCvImreadTiff16)->Unit(benchmark::kMillisecond);

}  // namespace
