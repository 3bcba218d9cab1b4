// User image processing on a 4096 x 4096 pair: expressions (compiled once, evaluated per
// pixel) and filters (integer, binary-fraction and decimal-fraction weights), with a memcpy of
// one picture as the memory floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "extensions/expression.h"
#include "extensions/user_processing.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

struct PicturePair {
  std::vector<std::uint8_t> first, second, image;
  // A ramp with noise, or (flat) 16 x 16 flat tiles of 256 grey values.
  explicit PicturePair(bool flat) : first(kPixels), second(kPixels), image(kPixels) {
    std::mt19937 random(3);
    for (std::size_t i = 0; i < kPixels; ++i) {
      const auto x = static_cast<int>(i % kSide), y = static_cast<int>(i / kSide);
      if (flat) {
        first[i] = second[i] = static_cast<std::uint8_t>(x / 256 + y / 256 * 16);
        continue;
      }
      const int noise = static_cast<int>(random() % 8);
      first[i] = static_cast<std::uint8_t>((x / 8 + y / 16 + noise) & 255);
      second[i] = static_cast<std::uint8_t>((x / 8 + y / 16 + 3 - noise) & 255);
    }
  }
};

PicturePair& pair(bool flat = false) {
  static PicturePair noisy(false);
  if (!flat) return noisy;
  static PicturePair tiles(true);
  return tiles;
}

void run(benchmark::State& state, const vemla::UserProcessingEntry& entry, bool flat = false) {
  PicturePair& pictures = pair(flat);
  for (auto _ : state) {
    const auto area = vemla::applyUserProcessing(
        entry, pictures.first.data(), pictures.second.data(), kSide, kSide, pictures.image.data());
    if (!area) state.SkipWithError("entry refused");
    benchmark::DoNotOptimize(pictures.image.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPixels));
}

vemla::UserProcessingEntry expression(const char* text) {
  vemla::UserProcessingEntry entry;
  entry.inUse = 1;
  entry.form = 1;
  entry.expression = text;
  return entry;
}

// A side x side filter of `weight` everywhere, divided by `divisor` (empty: no correction).
vemla::UserProcessingEntry filter(int side, const char* weight, const char* divisor) {
  vemla::UserProcessingEntry entry;
  entry.inUse = 1;
  entry.form = 0;
  const int first = 4 - side / 2;
  for (int row = first; row < first + side; ++row) {
    for (int column = first; column < first + side; ++column) {
      entry.elements[static_cast<std::size_t>(row * 9 + column)] = weight;
    }
  }
  entry.correction = *divisor != '\0' ? 1 : 0;
  entry.divisor = divisor;
  return entry;
}

void BM_ExpressionOffsetDifference(benchmark::State& state) {
  run(state, expression("P1(0,0)-P2(0,0)+128"));
}
BENCHMARK(BM_ExpressionOffsetDifference)->Unit(benchmark::kMillisecond);

// Nine references and two functions: the edge strength of picture 1 against picture 2.
void BM_ExpressionNineReferencesTwoFunctions(benchmark::State& state) {
  run(state, expression("SQRT(ABS(P1(-1,-1)+P1(0,-1)+P1(1,-1)+P1(-1,0)+P1(1,0)+P1(-1,1)+P1(0,1)+"
                        "P1(1,1)-8*P2(0,0)))*4+0.5"));
}
BENCHMARK(BM_ExpressionNineReferencesTwoFunctions)->Unit(benchmark::kMillisecond);

// The same shape with transcendental functions, which run as library calls per pixel.
void BM_ExpressionNineReferencesLogSin(benchmark::State& state) {
  run(state, expression("LOG(P1(-1,-1)+P1(0,-1)+P1(1,-1)+P1(-1,0)+P1(1,0)+P1(-1,1)+P1(0,1)+"
                        "P1(1,1)+1)*20+SIN(P2(0,0)/40)*50"));
}
BENCHMARK(BM_ExpressionNineReferencesLogSin)->Unit(benchmark::kMillisecond);

void BM_CompileLongExpression(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 63; ++i) text += "P1(0,0)+";
  text += "1";
  for (auto _ : state) {
    const auto extracted = vemla::extractPixelReferences(text);
    auto compiled = vemla::compileExpression(extracted->text, vemla::ExpressionVariant::Image,
                                             static_cast<int>(extracted->references.size()));
    benchmark::DoNotOptimize(compiled);
  }
}
BENCHMARK(BM_CompileLongExpression)->Unit(benchmark::kMicrosecond);

void BM_Filter3x3BoxDivisor9(benchmark::State& state) {
  run(state, filter(3, "1", "9"));
}
BENCHMARK(BM_Filter3x3BoxDivisor9)->Unit(benchmark::kMillisecond);

void BM_Filter3x3Integer(benchmark::State& state) {
  run(state, filter(3, "1", ""));
}
BENCHMARK(BM_Filter3x3Integer)->Unit(benchmark::kMillisecond);

void BM_Filter9x9Integer(benchmark::State& state) {
  run(state, filter(9, "1", "81"));
}
BENCHMARK(BM_Filter9x9Integer)->Unit(benchmark::kMillisecond);

void BM_Filter9x9BinaryFraction(benchmark::State& state) {
  run(state, filter(9, "0.015625", ""));
}
BENCHMARK(BM_Filter9x9BinaryFraction)->Unit(benchmark::kMillisecond);

// Decimal fractions are no scaled integers: the sum is rounded in extended precision per add.
void BM_Filter3x3DecimalFraction(benchmark::State& state) {
  run(state, filter(3, "0.111", ""));
}
BENCHMARK(BM_Filter3x3DecimalFraction)->Unit(benchmark::kMillisecond);

void BM_Filter9x9DecimalFraction(benchmark::State& state) {
  run(state, filter(9, "0.0123", ""));
}
BENCHMARK(BM_Filter9x9DecimalFraction)->Unit(benchmark::kMillisecond);

// Weights summing to 1 after the divisor on flat tiles: every quotient lies at an integer, where
// the double sums cannot settle the truncation and each pixel is redone in extended precision.
void BM_Filter9x9DecimalFractionFlat(benchmark::State& state) {
  run(state, filter(9, "0.1", "8.1"), true);
}
BENCHMARK(BM_Filter9x9DecimalFractionFlat)->Unit(benchmark::kMillisecond);

// Each way of summing the decimal weights (first argument, the FilterArithmetic values 1 .. 4:
// double with the baseline instruction set, AVX2, AVX-512, and extended precision alone) on the
// noisy pair with the weights of BM_Filter9x9DecimalFraction (second argument 0) and on the flat
// tiles with those of BM_Filter9x9DecimalFractionFlat (1).
void BM_Filter9x9DecimalFractionArithmetic(benchmark::State& state) {
  const auto arithmetic = static_cast<vemla::FilterArithmetic>(state.range(0));
  if (!vemla::runsFilterArithmetic(arithmetic)) {
    state.SkipWithError("not run by this machine");
    return;
  }
  const bool flat = state.range(1) != 0;
  PicturePair& pictures = pair(flat);
  const vemla::UserProcessingEntry entry = flat ? filter(9, "0.1", "8.1") : filter(9, "0.0123", "");
  for (auto _ : state) {
    vemla::applyUserProcessing(entry, pictures.first.data(), pictures.second.data(), kSide, kSide,
                               pictures.image.data(), {}, {}, arithmetic);
    benchmark::DoNotOptimize(pictures.image.data());
  }
}
BENCHMARK(BM_Filter9x9DecimalFractionArithmetic)
    ->ArgsProduct({{1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_ExpressionMemoryFloor(benchmark::State& state) {
  PicturePair& pictures = pair();
  for (auto _ : state) {
    std::memcpy(pictures.image.data(), pictures.first.data(), kPixels);
    benchmark::DoNotOptimize(pictures.image.data());
  }
}
BENCHMARK(BM_ExpressionMemoryFloor)->Unit(benchmark::kMillisecond);

}  // namespace
