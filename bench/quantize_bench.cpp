// Quantizing a 4096 x 4096 true-colour picture to the 216-colour cube: the table-driven kernel,
// the per-pixel division form it replaces, and a memcpy of the input bytes as the memory floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "picture/quantize.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

// Smooth gradients with noise: every level and every remainder occurs.
std::vector<std::uint8_t> truecolourPicture(int bytesPerPixel) {
  std::vector<std::uint8_t> pixels(kPixels * bytesPerPixel);
  std::mt19937 random(7);
  std::size_t i = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const int noise = static_cast<int>(random() % 16);
      pixels[i++] = static_cast<std::uint8_t>((x / 16 + noise) & 255);
      pixels[i++] = static_cast<std::uint8_t>((y / 16 + noise) & 255);
      pixels[i++] = static_cast<std::uint8_t>(((x + y) / 32 + noise) & 255);
      if (bytesPerPixel == 4) pixels[i++] = 0;
    }
  }
  return pixels;
}

void BM_QuantizeTrueColour(benchmark::State& state) {
  const int bytesPerPixel = static_cast<int>(state.range(0));
  const std::vector<std::uint8_t> pixels = truecolourPicture(bytesPerPixel);
  std::vector<std::uint8_t> indices(kPixels);
  vemla::Palette palette{};
  for (auto _ : state) {
    vemla::quantizeTrueColour(bytesPerPixel, pixels.data(),
                              static_cast<std::size_t>(kSide) * bytesPerPixel, kSide, kSide,
                              indices.data(), kSide, &palette);
    benchmark::DoNotOptimize(indices.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(pixels.size()));
}
BENCHMARK(BM_QuantizeTrueColour)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_QuantizeTrueColourReference(benchmark::State& state) {
  const std::vector<std::uint8_t> pixels = truecolourPicture(3);
  std::vector<std::uint8_t> indices(kPixels);
  for (auto _ : state) {
    vemla::quantizeTrueColourReference(3, pixels.data(), static_cast<std::size_t>(kSide) * 3, kSide,
                                       kSide, indices.data(), kSide);
    benchmark::DoNotOptimize(indices.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(pixels.size()));
}
BENCHMARK(BM_QuantizeTrueColourReference)->Unit(benchmark::kMillisecond);

// Reading the 24-bit input and writing the index plane once: what any kernel must pay.
void BM_QuantizeFloorMemcpy(benchmark::State& state) {
  const std::vector<std::uint8_t> pixels = truecolourPicture(3);
  std::vector<std::uint8_t> sink(pixels.size());
  for (auto _ : state) {
    std::memcpy(sink.data(), pixels.data(), pixels.size());
    benchmark::DoNotOptimize(sink.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(pixels.size()));
}
BENCHMARK(BM_QuantizeFloorMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace
