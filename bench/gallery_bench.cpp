// Slot operations of the gallery. Swap and move are renames, so two full 4096 x 4096 four-byte
// slots (64 MiB each) take about as long as two 8 x 8 ones; copying a slot is timed beside
// std::filesystem::copy_file of the same file; the RGB interleave of three 4096 x 4096 planes
// beside a memcpy of its 48 MiB result. Every slot operation also writes VemlaGinf.dat, as it
// does in the program. Files go to $VEMLA_BENCH_DIR, else /dev/shm when present, else /tmp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gallery/rgb_planes.h"
#include "ports/quiet_user_port.h"
#include "workbench/gallery/gallery_startup.h"
#include "workbench/gallery/slot_operations.h"

namespace {

constexpr int kLargeSide = 4096;
constexpr std::size_t kLargePixels = std::size_t{kLargeSide} * kLargeSide;

std::string benchFolder() {
  if (const char* chosen = std::getenv("VEMLA_BENCH_DIR")) return chosen;
  return std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
}

// A program folder whose slots 0 and 1 hold four-byte pictures of side x side.
struct TwoSlots {
  std::string folder;
  vemla::Workbench bench;
  vemla::QuietUserPort user;
  explicit TwoSlots(int side) {
    folder = benchFolder() + "/vemla-bench-" + std::to_string(::getpid()) + "-gallery-" +
             std::to_string(side);
    std::filesystem::create_directories(folder);
    bench.settings.folder = folder;
    bench.options.MaxPictureWidth = bench.options.MaxPictureHeight = kLargeSide;
    bench.settings.gallery.emplace();
    vemla::startGallery(bench, user);
    const std::vector<char> content(std::size_t{4} * side * side, 'x');
    for (int slot : {0, 1}) {
      std::ofstream(vemla::slotFilePath(folder, slot), std::ios::binary)
          .write(content.data(), static_cast<std::streamsize>(content.size()));
      vemla::persist::GallerySlot& record =
          bench.settings.gallery->info.slotRecords[static_cast<std::size_t>(slot)];
      record.kind = vemla::kSlotPicture;
      record.width = record.height = side;
      record.trueColourCode = 2;
    }
  }
  ~TwoSlots() { std::filesystem::remove_all(folder); }
  bool run(vemla::SlotTransfer mode, int source, int target) {
    return vemla::transferSlot(bench, user, source, target, mode) == 0;
  }
};

// Swap, and move there and back (every iteration moves once, alternating the direction).
void BM_SlotRename(benchmark::State& state) {
  const auto mode = static_cast<vemla::SlotTransfer>(state.range(0));
  TwoSlots slots(static_cast<int>(state.range(1)));
  if (mode == vemla::SlotTransfer::Move) slots.bench.settings.gallery->info.slotRecords[1].kind = 0;
  int source = 0;
  for (auto _ : state) {
    if (!slots.run(mode, source, 1 - source)) {
      state.SkipWithError("transfer failed");
      break;
    }
    if (mode == vemla::SlotTransfer::Move) source = 1 - source;
  }
}
BENCHMARK(BM_SlotRename)
    ->ArgNames({"mode", "side"})
    ->Args({static_cast<int>(vemla::SlotTransfer::Swap), 8})
    ->Args({static_cast<int>(vemla::SlotTransfer::Swap), kLargeSide})
    ->Args({static_cast<int>(vemla::SlotTransfer::Move), 8})
    ->Args({static_cast<int>(vemla::SlotTransfer::Move), kLargeSide})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// Copying a full 64 MiB slot to the other slot, against copy_file of the same file.
void BM_SlotCopy(benchmark::State& state) {
  TwoSlots slots(kLargeSide);
  for (auto _ : state) {
    if (!slots.run(vemla::SlotTransfer::Copy, 0, 1)) {
      state.SkipWithError("copy failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4 *
                          static_cast<std::int64_t>(kLargePixels));
}
BENCHMARK(BM_SlotCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilesystemCopyFile(benchmark::State& state) {
  TwoSlots slots(kLargeSide);
  const std::string from = vemla::slotFilePath(slots.folder, 0);
  const std::string to = vemla::slotFilePath(slots.folder, 1);
  for (auto _ : state) {
    if (!std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing)) {
      state.SkipWithError("copy_file failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4 *
                          static_cast<std::int64_t>(kLargePixels));
}
BENCHMARK(BM_FilesystemCopyFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Three 4096 x 4096 planes into 48 MiB of blue, green, red.
void BM_RgbInterleave(benchmark::State& state) {
  std::vector<std::uint8_t> planes(3 * kLargePixels), out(3 * kLargePixels);
  for (std::size_t i = 0; i < planes.size(); ++i) planes[i] = static_cast<std::uint8_t>(i * 13);
  for (auto _ : state) {
    vemla::interleaveRgbPlanes(planes.data(), planes.data() + kLargePixels,
                               planes.data() + 2 * kLargePixels, kLargePixels, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_RgbInterleave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemcpyRgbResult(benchmark::State& state) {
  std::vector<std::uint8_t> planes(3 * kLargePixels, 7), out(3 * kLargePixels);
  for (auto _ : state) {
    std::memcpy(out.data(), planes.data(), out.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_MemcpyRgbResult)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
