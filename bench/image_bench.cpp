// Image creation on a 4096 x 4096 pair: every element-wise kind with its statistics, for each
// kernel variant this machine runs, against a memcpy of the three planes involved (the memory
// floor: the kinds read two planes and write one); the area difference with 3 x 3 and 15 x 15
// windows; and the whole refresh chain with its parts.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "ports/quiet_user_port.h"
#include "processing/image_creation.h"
#include "processing/shift.h"
#include "shift_pictures.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace {

using vemla::bench::kSide;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

const std::vector<std::uint8_t>& picture1() {
  static const std::vector<std::uint8_t> picture = vemla::bench::texturedPicture(kSide, kSide);
  return picture;
}
const std::vector<std::uint8_t>& picture2() {
  static const std::vector<std::uint8_t> picture =
      vemla::bench::texturedPicture(kSide, kSide, 1.25, -0.5);
  return picture;
}

vemla::CreationPictures pictures() {
  vemla::CreationPictures pair;
  pair.shifted1 = picture1().data();
  pair.shifted2 = picture2().data();
  pair.userResult = picture1().data();
  pair.width = kSide;
  pair.height = kSide;
  pair.validRectangles = {vemla::Rect{0, 0, kSide - 1, kSide - 1},
                          vemla::Rect{0, 0, kSide - 1, kSide - 1}};
  return pair;
}

void BM_ThreePlanesMemcpy(benchmark::State& state) {
  pictures();
  std::vector<std::uint8_t> out1(kPixels), out2(kPixels), out3(kPixels), image(kPixels, 1);
  for (auto _ : state) {
    std::memcpy(out1.data(), picture1().data(), kPixels);
    std::memcpy(out2.data(), picture2().data(), kPixels);
    std::memcpy(out3.data(), image.data(), kPixels);
    benchmark::DoNotOptimize(out3.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 *
                          static_cast<std::int64_t>(kPixels));
}
BENCHMARK(BM_ThreePlanesMemcpy)->Unit(benchmark::kMillisecond);

// Args: image kind, kernel variant (0 baseline, 1 AVX2, 2 AVX-512).
void BM_CreateImage(benchmark::State& state) {
  const auto kernels = vemla::supportedImageKernels();
  const std::size_t level = static_cast<std::size_t>(state.range(1));
  if (level >= kernels.size()) {
    state.SkipWithError("kernel variant not supported on this machine");
    return;
  }
  const int kind = static_cast<int>(state.range(0));
  const vemla::CreationPictures pair = pictures();
  std::vector<std::uint8_t> image(kPixels);
  for (auto _ : state) {
    const vemla::ImageStatistics statistics = vemla::createBuiltInImage(
        kind, pair, vemla::AreaDifferenceSettings{}, 8191, 8191, image.data(), *kernels[level]);
    benchmark::DoNotOptimize(statistics);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 *
                          static_cast<std::int64_t>(kPixels));
  state.SetLabel(vemla::imageKindTable()[static_cast<std::size_t>(kind)].name +
                 std::string(level == 0   ? " baseline"
                             : level == 1 ? " avx2"
                                          : " avx512"));
}

// The kinds that combine the two pictures row by row, from the kind table.
std::vector<std::int64_t> combiningKinds() {
  std::vector<std::int64_t> kinds;
  for (int kind = 0; kind < vemla::kBuiltInKindCount; ++kind) {
    const auto row = vemla::imageKindTable()[static_cast<std::size_t>(kind)].row;
    if (row != nullptr && row != &vemla::ImageKernels::copy) kinds.push_back(kind);
  }
  return kinds;
}
BENCHMARK(BM_CreateImage)
    ->ArgsProduct({combiningKinds(), {2}})
    ->ArgsProduct({{3}, {0, 1}})
    ->Args({0, 2})
    ->Unit(benchmark::kMillisecond);

// Args: window side, method, divisor (9 or 1).
void BM_AreaDifference(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const vemla::CreationPictures pair = pictures();
  std::vector<std::uint8_t> image(kPixels);
  const vemla::AreaDifferenceSettings settings{side, side, static_cast<int>(state.range(1)),
                                               static_cast<double>(state.range(2))};
  for (auto _ : state) {
    const vemla::ImageStatistics statistics = vemla::createBuiltInImage(
        vemla::kKindAreaDifference, pair, settings, 8191, 8191, image.data());
    benchmark::DoNotOptimize(statistics);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_AreaDifference)
    ->Args({3, 0, 9})
    ->Args({15, 0, 9})
    ->Args({3, 1, 9})
    ->Args({15, 1, 9})
    ->Args({15, 0, 1})
    ->Unit(benchmark::kMillisecond);

// A 4096 x 4096 workbench with picture 2 shifted by 1 + 5/16 right and 2/16 up (cubic), Image 1
// the average and Image 2 the absolute difference, both shown at x8 with interpolation.
struct RefreshFixture {
  vemla::Workbench bench;
  vemla::QuietUserPort user;
  RefreshFixture() {
    bench.store.allocate(kSide, kSide);
    bench.options.MaxPictureWidth = bench.options.MaxPictureHeight = kSide;
    bench.options.ShiftInterpolation = vemla::kShiftCubic;
    vemla::ManualShift& manual = bench.control.manual;
    manual.target = 1;
    manual.setting = {0, 1, 1, 0, 1, 0, 5, 2};
    vemla::setManualShiftEnabled(bench.control, true);
    bench.options.carryOver.KeepImageKind = true;
    bench.options.carryOver.KeepMagnification = true;
    bench.images.kind = {vemla::kKindAverage, vemla::kKindDifference};
    bench.view.magnification = 8;
    bench.view.zoomInterpolation = true;
    vemla::MemoryPictures given;
    given.width = given.height = kSide;
    given.pixels = {picture1().data(), picture2().data()};
    vemla::setPicturesFromMemory(bench, user, given);
  }
};

RefreshFixture& refreshFixture() {
  static RefreshFixture fixture;
  return fixture;
}

void BM_RefreshChain(benchmark::State& state) {
  RefreshFixture& fixture = refreshFixture();
  for (auto _ : state) vemla::refreshPictures(fixture.bench, fixture.user);
}
BENCHMARK(BM_RefreshChain)->Unit(benchmark::kMillisecond);

// The parts of the chain. Arg: 0 prepare, 1 create Image 1, 2 create Image 2, 3 render both.
void BM_RefreshChainPart(benchmark::State& state) {
  RefreshFixture& fixture = refreshFixture();
  vemla::NoBusyPort busy;
  vemla::NoProgressPort progress;
  const int part = static_cast<int>(state.range(0));
  static constexpr const char* kNames[] = {"prepare", "create average", "create difference",
                                           "render both"};
  for (auto _ : state) {
    switch (part) {
      case 0:
        vemla::preparePictures(fixture.bench, fixture.user, busy);
        break;
      case 1:
        vemla::createImage(fixture.bench, vemla::ImageSlot::First, true, true, fixture.user, busy,
                           progress);
        break;
      case 2:
        vemla::createImage(fixture.bench, vemla::ImageSlot::Second, true, true, fixture.user, busy,
                           progress);
        break;
      default:
        vemla::renderPanes(fixture.bench, false);
        break;
    }
    benchmark::ClobberMemory();
  }
  state.SetLabel(kNames[part]);
}
BENCHMARK(BM_RefreshChainPart)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
