// State memory on two 4096 x 4096 pictures (48 MiB of planes). Storing is timed beside writing
// the same bytes through the atomic write helper, restoring (without the refresh chain) beside
// reading them with read(2) into one buffer; the ratios of the pairs are the state file's
// overhead. The refresh chain after a restore is timed apart. Files go to $VEMLA_BENCH_DIR,
// else /dev/shm when present, else /tmp.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "picture/file_helpers.h"
#include "ports/quiet_user_port.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/state_memory.h"
#include "workbench/view/refresh_chain.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

std::string benchPath(const std::string& name) {
  const char* chosen = std::getenv("VEMLA_BENCH_DIR");
  const std::string folder = chosen != nullptr                           ? chosen
                             : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                         : "/tmp";
  return folder + "/vemla-bench-" + std::to_string(::getpid()) + "-" + name;
}

// A workbench holding two 4096 x 4096 pictures, made once.
vemla::Workbench& bench() {
  static const std::unique_ptr<vemla::Workbench> made = [] {
    auto made = std::make_unique<vemla::Workbench>();
    made->store.allocate(kSide, kSide);
    std::vector<std::uint8_t> first(kPixels), second(kPixels);
    for (std::size_t i = 0; i < kPixels; ++i) {
      first[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
      second[i] = static_cast<std::uint8_t>(i * 5 + (i >> 11));
    }
    vemla::MemoryPictures pictures;
    pictures.width = kSide;
    pictures.height = kSide;
    pictures.pixels = {first.data(), second.data()};
    vemla::QuietUserPort user;
    vemla::setPicturesFromMemory(*made, user, pictures);
    return made;
  }();
  return *made;
}

void BM_StoreState(benchmark::State& state) {
  vemla::Workbench& b = bench();
  const std::string path = benchPath("store.vic");
  for (auto _ : state) {
    if (!vemla::saveState(b, path)) state.SkipWithError("store failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * kPixels);
  vemla::deleteFile(path);
}
BENCHMARK(BM_StoreState)->Unit(benchmark::kMillisecond);

// The same bytes as one buffer through the atomic helper.
void BM_StorePeerAtomicWrite(benchmark::State& state) {
  std::vector<std::uint8_t> bytes(3872 + 3 * kPixels, 1);
  const std::string path = benchPath("peer.vic");
  for (auto _ : state) {
    if (!vemla::writeFileAtomically(path, bytes)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * kPixels);
  vemla::deleteFile(path);
}
BENCHMARK(BM_StorePeerAtomicWrite)->Unit(benchmark::kMillisecond);

void BM_RestoreStateWithoutRefresh(benchmark::State& state) {
  vemla::Workbench& b = bench();
  const std::string path = benchPath("restore.vic");
  vemla::saveState(b, path);
  int division = 0;
  for (auto _ : state) {
    if (vemla::restoreState(b, path, false, division) < 0) state.SkipWithError("restore failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * kPixels);
  vemla::deleteFile(path);
}
BENCHMARK(BM_RestoreStateWithoutRefresh)->Unit(benchmark::kMillisecond);

// The file read whole with read(2) into one buffer.
void BM_RestorePeerRead(benchmark::State& state) {
  vemla::Workbench& b = bench();
  const std::string path = benchPath("peer-read.vic");
  vemla::saveState(b, path);
  std::vector<std::uint8_t> buffer(3872 + 3 * kPixels);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t done = 0;
    while (done < buffer.size()) {
      const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * kPixels);
  vemla::deleteFile(path);
}
BENCHMARK(BM_RestorePeerRead)->Unit(benchmark::kMillisecond);

void BM_RefreshAfterRestore(benchmark::State& state) {
  vemla::Workbench& b = bench();
  vemla::QuietUserPort user;
  for (auto _ : state) vemla::refreshPictures(b, user);
}
BENCHMARK(BM_RefreshAfterRestore)->Unit(benchmark::kMillisecond);

}  // namespace
