// The viewer and the image scope on 4096 x 4096 pictures: the scope raster (s = 64 cubic, the
// slowest), the repaint of a 2560 x 1440 client at several zooms, a zoom step with the
// grey-value table, and open-to-first-paint of 8-bit and 24-bit bitmaps against the bitmap
// reader alone on the same file. Files go to $VEMLA_BENCH_DIR, else /dev/shm, else /tmp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "processing/image_scope.h"
#include "processing/view_rendering.h"
#include "processing/viewer_file.h"
#include "processing/viewer_model.h"

namespace {

constexpr int kSide = 4096;
constexpr int kClientWidth = 2560, kClientHeight = 1440;

std::vector<std::uint8_t> picture(int bytesPerPixel) {
  std::vector<std::uint8_t> pixels(std::size_t{kSide} * kSide * bytesPerPixel);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 / 7);
  return pixels;
}

std::string benchPath(const char* name) {
  const char* chosen = std::getenv("VEMLA_BENCH_DIR");
  const std::string folder = chosen != nullptr                           ? chosen
                             : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                         : "/tmp";
  return folder + "/vemla-bench-" + std::to_string(::getpid()) + "-" + name;
}

void BM_ScopeRaster(benchmark::State& state) {
  const std::vector<std::uint8_t> pixels = picture(1);
  std::vector<std::uint8_t> raster(std::size_t{vemla::kScopeSize} * vemla::kScopeSize);
  vemla::ScopeRequest request{pixels.data(),
                              kSide,
                              kSide,
                              2000,
                              1000,
                              static_cast<int>(state.range(0)),
                              state.range(1) != 0,
                              vemla::kZoomCubic};
  vemla::ScopeWork work;
  for (auto _ : state) {
    vemla::paintScope(request, raster.data(), work);
    request.x ^= 1;  // a mouse move
    benchmark::DoNotOptimize(raster.data());
  }
}
BENCHMARK(BM_ScopeRaster)->Args({64, 1})->Args({8, 1})->Args({8, 0})->Unit(benchmark::kMicrosecond);

void BM_ViewerRepaint(benchmark::State& state) {
  const int bytesPerPixel = static_cast<int>(state.range(1));
  const std::vector<std::uint8_t> pixels = picture(bytesPerPixel);
  vemla::ViewerPicture shown{pixels.data(), kSide, kSide, bytesPerPixel, {}};
  for (std::uint32_t g = 0; g < 256; ++g) shown.palette[g] = g * 0x010101u;
  std::vector<std::uint32_t> client(std::size_t{kClientWidth} * kClientHeight);
  const int zoom = static_cast<int>(state.range(0));
  for (auto _ : state) {
    vemla::paintViewer(shown, zoom, kSide / 2, kSide / 2, kClientWidth, kClientHeight,
                       client.data(), kClientWidth);
    benchmark::DoNotOptimize(client.data());
  }
}
BENCHMARK(BM_ViewerRepaint)
    ->Args({-8, 1})
    ->Args({-2, 1})
    ->Args({1, 1})
    ->Args({3, 1})
    ->Args({64, 1})
    ->Args({1, 3})
    ->Args({-2, 4})
    ->Unit(benchmark::kMicrosecond);

// One wheel notch: the new zoom painted and the table refreshed.
void BM_ZoomStepWithTable(benchmark::State& state) {
  const std::vector<std::uint8_t> pixels = picture(1);
  vemla::ViewerPicture shown{pixels.data(), kSide, kSide, 1, {}};
  std::vector<std::uint32_t> client(std::size_t{kClientWidth} * kClientHeight);
  int zoom = 1;
  for (auto _ : state) {
    zoom = zoom == 1 ? 2 : 1;
    vemla::paintViewer(shown, zoom, 1000, 1000, kClientWidth, kClientHeight, client.data(),
                       kClientWidth);
    benchmark::DoNotOptimize(vemla::gradationTable(shown, 1000, 1000));
  }
}
BENCHMARK(BM_ZoomStepWithTable)->Unit(benchmark::kMicrosecond);

// The bitmap reader alone (mode 0), or open to first paint by a viewer that has shown a picture
// before (mode 1, its buffers reused) or by a new one (mode 2, first use), 8- or 24-bit.
void BM_ViewerOpen(benchmark::State& state) {
  const int bytesPerPixel = static_cast<int>(state.range(0));
  const int mode = static_cast<int>(state.range(1));
  const bool viewer = mode != 0;
  vemla::ViewerImage kept;
  const std::vector<std::uint8_t> pixels = picture(bytesPerPixel);
  const std::string path = benchPath(bytesPerPixel == 1 ? "view8.bmp" : "view24.bmp");
  if (vemla::writeBitmap(path, kSide, kSide, bytesPerPixel, pixels.data(), nullptr) != 0) {
    state.SkipWithError("cannot write the test file");
    return;
  }
  std::vector<std::uint32_t> client(std::size_t{kClientWidth} * kClientHeight);
  std::vector<std::uint8_t> destination(pixels.size());
  for (auto _ : state) {
    if (viewer) {
      vemla::ViewerImage fresh;
      vemla::ViewerImage& image = mode == 1 ? kept : fresh;
      const std::string failure = vemla::loadViewerBitmap(path, kSide, kSide, image);
      const auto opening = vemla::viewerOpening(
          image.width, image.height, {kClientWidth + 64, kClientHeight + 64}, {kSide, kSide});
      vemla::paintViewer(image.picture(), opening->zoom, opening->centreX, opening->centreY,
                         opening->window.width, opening->window.height, client.data(),
                         opening->window.width);
      benchmark::DoNotOptimize(client.data());
    } else {
      vemla::BitmapRead read;
      benchmark::DoNotOptimize(vemla::readBitmapIntoMemory(path, destination, kSide, kSide, read));
    }
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_ViewerOpen)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Args({3, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
