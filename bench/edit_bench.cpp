// The picture editor's actions on a 4096 x 4096 picture, each beside what moving the plane's
// bytes costs anyway (one memcpy of the plane, timed in the same run): the table pass of the
// operations, "階調" and the conversion's "実行", the flips, the rotations, the shift beside
// shiftPicture alone, and "更新" beside the plane written through the atomic helper. The
// refresh chain that follows every action is timed apart. Snapshot files go to
// $VEMLA_BENCH_DIR, else /dev/shm when present, else /tmp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editing/picture_edit.h"
#include "picture/file_helpers.h"
#include "picture/picture_store.h"
#include "ports/quiet_user_port.h"
#include "shift_pictures.h"
#include "workbench/editing/picture_editing.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/worker_pool.h"

namespace {

using vemla::bench::kSide;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

// The picture on a cache line, as the planes of the workbench's picture store are.
std::uint8_t* pixels() {
  static const std::vector<std::uint8_t> made = vemla::bench::texturedPicture(kSide, kSide);
  static std::vector<std::uint8_t> block(kPixels + vemla::kCacheLine - 1);
  static std::uint8_t* const aligned = [] {
    std::uint8_t* at = vemla::onCacheLine(block.data());
    std::memcpy(at, made.data(), kPixels);
    return at;
  }();
  return aligned;
}
vemla::EditPlane plane() {
  return {pixels(), kSide, kSide};
}

// Arg: threads, each copying a share of the rows (1: one memcpy of the whole plane).
void BM_EditPeerMemcpyPlane(benchmark::State& state) {
  pixels();  // made before the timing
  std::vector<std::uint8_t> to(kPixels);
  vemla::WorkerPool pool(static_cast<int>(state.range(0)));
  const vemla::ParallelFor parallel = pool.parallelFor();
  for (auto _ : state) {
    parallel(kSide, kPixels, [&](int begin, int end) {
      const std::size_t first = std::size_t{kSide} * static_cast<std::size_t>(begin);
      std::memcpy(to.data() + first, pixels() + first,
                  std::size_t{kSide} * static_cast<std::size_t>(end - begin));
    });
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditPeerMemcpyPlane)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arg: the operation 0..8 ("代入" .. "XOR"), the table built in each pass.
void BM_EditOperation(benchmark::State& state) {
  const auto operation = static_cast<vemla::EditOperation>(state.range(0));
  const bool integer = state.range(0) >= 5;
  const vemla::Operand operand = *vemla::parseOperand(integer ? "3" : "1.5");
  // A selection inside the grey range, so that every pass keeps changing the picture.
  const vemla::GreyRange grey{true, false, 0, 255};
  for (auto _ : state) {
    vemla::applyTable(plane(), {}, vemla::operationTable(operation, operand, grey));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditOperation)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

void BM_EditInvertOutside(benchmark::State& state) {
  const vemla::CoordinateRange range{true, true, {1000, 1000, 1999, 1999}};
  for (auto _ : state) {
    vemla::applyTable(plane(), range, vemla::inversionTable());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditInvertOutside)->Unit(benchmark::kMillisecond);

void BM_EditConvert(benchmark::State& state) {
  vemla::GreyTable table = vemla::inversionTable();
  vemla::interpolateTable(table, 10, 200);
  for (auto _ : state) {
    vemla::applyTable(plane(), {}, table);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditConvert)->Unit(benchmark::kMillisecond);

// Arg: 0 "左右", 1 "上下".
void BM_EditFlip(benchmark::State& state) {
  for (auto _ : state) {
    if (state.range(0) == 0)
      vemla::flipHorizontal(plane(), {});
    else
      vemla::flipVertical(plane(), {});
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditFlip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Args: the angle and the threads of the pool the turn may share its rows with (the
// workbench's pool has one per core). The work memory is sized by one turn before the timing,
// as it is kept between the actions of the dialog: the first turn alone pays its page faults.
void BM_EditRotate(benchmark::State& state) {
  vemla::EditWork work;
  vemla::WorkerPool pool(static_cast<int>(state.range(1)));
  const vemla::ParallelFor parallel = pool.parallelFor();
  vemla::rotateRectangle(plane(), {}, static_cast<int>(state.range(0)), work, parallel);
  for (auto _ : state) {
    vemla::rotateRectangle(plane(), {}, static_cast<int>(state.range(0)), work, parallel);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditRotate)
    ->Args({90, 1})
    ->Args({90, 2})
    ->Args({180, 1})
    ->Args({270, 1})
    ->Args({270, 2})
    ->Args({45, 1})
    ->Args({17, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

constexpr vemla::ShiftAmount kShift{true, 3, 5, false, 2, 9};

void BM_EditShift(benchmark::State& state) {
  vemla::EditWork work;
  vemla::shiftRectangle(plane(), {}, 16, vemla::kShiftCubic, kShift, work);  // sizes `work`
  for (auto _ : state) {
    vemla::shiftRectangle(plane(), {}, 16, vemla::kShiftCubic, kShift, work);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditShift)->Unit(benchmark::kMillisecond);

void BM_EditPeerShiftPictureAlone(benchmark::State& state) {
  std::vector<std::uint8_t> to(kPixels);
  std::vector<std::int32_t> scratch(vemla::shiftScratchSize(kSide));
  for (auto _ : state) {
    vemla::shiftPicture(pixels(), kSide, kSide, 16, vemla::kShiftCubic, kShift, to.data(),
                        scratch.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EditPeerShiftPictureAlone)->Unit(benchmark::kMillisecond);

std::string benchFolder() {
  const char* chosen = std::getenv("VEMLA_BENCH_DIR");
  return chosen != nullptr                           ? chosen
         : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                     : "/tmp";
}

// A workbench holding two 4096 x 4096 pictures, editing picture 1, made once; the snapshot
// is deleted at exit.
struct EditingBench {
  vemla::Workbench bench;
  ~EditingBench() { vemla::finishPictureEditing(bench); }
};
vemla::Workbench& editingBench() {
  static const std::unique_ptr<EditingBench> holder = [] {
    auto holder = std::make_unique<EditingBench>();
    vemla::Workbench* made = &holder->bench;
    made->store.allocate(kSide, kSide);
    made->settings.folder = benchFolder();
    vemla::MemoryPictures pictures;
    pictures.width = kSide;
    pictures.height = kSide;
    pictures.pixels = {pixels(), pixels()};
    vemla::QuietUserPort user;
    vemla::setPicturesFromMemory(*made, user, pictures);
    vemla::startPictureEditing(*made, vemla::PictureSlot::First, user);
    return holder;
  }();
  return holder->bench;
}

void BM_EditUpdateSnapshot(benchmark::State& state) {
  vemla::Workbench& bench = editingBench();
  vemla::QuietUserPort user;
  for (auto _ : state) {
    if (vemla::updatePictureSnapshot(bench, user) != 0) state.SkipWithError("update failed");
  }
}
BENCHMARK(BM_EditUpdateSnapshot)->Unit(benchmark::kMillisecond);

void BM_EditPeerAtomicWritePlane(benchmark::State& state) {
  const std::string path =
      benchFolder() + "/vemla-bench-" + std::to_string(::getpid()) + "-plane.tmp";
  const std::span<const std::uint8_t> bytes(pixels(), kPixels);
  for (auto _ : state) {
    if (!vemla::writeFileAtomically(path, bytes)) state.SkipWithError("write failed");
  }
  vemla::deleteFile(path);
}
BENCHMARK(BM_EditPeerAtomicWritePlane)->Unit(benchmark::kMillisecond);

// The refresh chain every action ends with (prepare, both images, rendering, listeners).
void BM_EditRefreshChain(benchmark::State& state) {
  vemla::Workbench& bench = editingBench();
  vemla::QuietUserPort user;
  for (auto _ : state) vemla::refreshPictures(bench, user);
}
BENCHMARK(BM_EditRefreshChain)->Unit(benchmark::kMillisecond);

}  // namespace
