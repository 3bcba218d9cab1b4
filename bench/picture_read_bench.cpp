// Reading 4096 x 4096 PNG and TIFF files through the picture entry against what the libraries
// and the bytes cost anyway: libspng's own decode of the same PNG into a buffer; a plain read of
// the uncompressed TIFF plus one memcpy of its pixels; libtiff's own decode of a 16-bit TIFF
// (our read adds the 16-bit conversion). Every figure includes reading the file. Files go to
// $VEMLA_BENCH_DIR, else /dev/shm when present, else /tmp.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/picture_file.h"
#include "picture_bench_files.h"

namespace {

using namespace vemla::bench;

void setCounters(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

void readThroughTheEntry(benchmark::State& state, const std::string& path) {
  std::vector<std::uint8_t> plane(kPictureBytes);
  std::vector<std::uint8_t> scratch(4 * kPictureBytes);
  for (auto _ : state) {
    vemla::PictureRead out;
    if (vemla::readPicture(path, plane, kReadSide, kReadSide, false, {}, {}, scratch, out) !=
        kReadSide) {
      state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(plane.data());
  }
  setCounters(state, kPictureBytes);
}

void BM_ReadPng8(benchmark::State& state) {
  readThroughTheEntry(state, benchFile(BenchFile::Png8));
}
BENCHMARK(BM_ReadPng8)->Unit(benchmark::kMillisecond);

// Baseline: the file read whole, then libspng's decode into a buffer of the picture's size.
void BM_PngBaselineSpngDecode(benchmark::State& state) {
  const std::string path = benchFile(BenchFile::Png8);
  std::vector<std::uint8_t> plane(kPictureBytes);
  for (auto _ : state) {
    const auto file = vemla::readWholeFile(path, std::uint64_t{1} << 30);
    spng_ctx* context = spng_ctx_new(0);
    spng_set_png_buffer(context, file->data(), file->size());
    if (spng_decode_image(context, plane.data(), plane.size(), SPNG_FMT_G8, 0) != 0) {
      state.SkipWithError("decode failed");
    }
    spng_ctx_free(context);
    benchmark::DoNotOptimize(plane.data());
  }
  setCounters(state, kPictureBytes);
}
BENCHMARK(BM_PngBaselineSpngDecode)->Unit(benchmark::kMillisecond);

void BM_ReadTiff8(benchmark::State& state) {
  readThroughTheEntry(state, benchFile(BenchFile::Tiff8));
}
BENCHMARK(BM_ReadTiff8)->Unit(benchmark::kMillisecond);

// Baseline: one plain read of the whole file, then its pixels copied once.
void BM_TiffBaselinePlainReadAndMemcpy(benchmark::State& state) {
  const std::string path = benchFile(BenchFile::Tiff8);
  const auto size = static_cast<std::size_t>(vemla::fileSize(path));
  std::vector<std::uint8_t> buffer(size);
  std::vector<std::uint8_t> plane(kPictureBytes);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    while (done < buffer.size()) {
      const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    std::memcpy(plane.data(), buffer.data() + 8, kPictureBytes);  // pixels follow the header
    benchmark::DoNotOptimize(plane.data());
  }
  setCounters(state, kPictureBytes);
}
BENCHMARK(BM_TiffBaselinePlainReadAndMemcpy)->Unit(benchmark::kMillisecond);

void BM_ReadTiff16WithConversion(benchmark::State& state) {
  readThroughTheEntry(state, benchFile(BenchFile::Tiff16));
}
BENCHMARK(BM_ReadTiff16WithConversion)->Unit(benchmark::kMillisecond);

// Baseline: libtiff opens the file and decodes its strips into a 16-bit buffer.
void BM_Tiff16BaselineLibtiffDecode(benchmark::State& state) {
  const std::string path = benchFile(BenchFile::Tiff16);
  std::vector<std::uint8_t> samples(2 * kPictureBytes);
  for (auto _ : state) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    const tstrip_t strips = TIFFNumberOfStrips(tiff);
    std::size_t at = 0;
    for (tstrip_t strip = 0; strip < strips; ++strip) {
      const tmsize_t got = TIFFReadEncodedStrip(tiff, strip, samples.data() + at,
                                                static_cast<tmsize_t>(samples.size() - at));
      if (got < 0) state.SkipWithError("decode failed");
      at += static_cast<std::size_t>(got);
    }
    TIFFClose(tiff);
    benchmark::DoNotOptimize(samples.data());
  }
  setCounters(state, kPictureBytes);
}
BENCHMARK(BM_Tiff16BaselineLibtiffDecode)->Unit(benchmark::kMillisecond);

}  // namespace
