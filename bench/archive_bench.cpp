// The archive file against the library it is built on. Appending a 4096 x 4096 picture item and
// reading it back is timed beside bzip2's own buffer-to-buffer compression and decompression of
// the same bytes at the same settings (block size 4, work factor 200, small-memory mode off), so
// the ratio of the two is the archive's overhead. Saving gallery slots is timed with one and two
// compression threads; the two archives must be byte-identical. Files go to $VEMLA_BENCH_DIR,
// else /dev/shm when present, else /tmp.
#include <benchmark/benchmark.h>
#include <bzlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gallery/archive.h"
#include "ports/quiet_user_port.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/gallery/gallery_startup.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

std::string benchFolder() {
  if (const char* chosen = std::getenv("VEMLA_BENCH_DIR")) return chosen;
  return std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
}

std::string benchPath(const std::string& name) {
  return benchFolder() + "/vemla-bench-" + std::to_string(::getpid()) + "-" + name;
}

// A picture that bzip2 has to work at: smooth shading with detail and a little noise, as a
// scanned or rendered picture has (neither a constant nor random bytes).
std::vector<std::uint8_t> scene(int width, int height, int seed) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  std::uint32_t noise = 12345u + static_cast<std::uint32_t>(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const double shade =
          96.0 + 0.01 * (x + 2 * y) + 40.0 * std::sin(x / (37.0 + seed)) * std::cos(y / 53.0);
      const int value = static_cast<int>(shade) + static_cast<int>(noise >> 29) - 4;
      pixels[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>(value < 0     ? 0
                                    : value > 255 ? 255
                                                  : value);
    }
  }
  return pixels;
}

const std::vector<std::uint8_t>& picture() {
  static const std::vector<std::uint8_t> pixels = scene(kSide, kSide, 0);
  return pixels;
}

void BM_ArchiveAppendAndRead(benchmark::State& state) {
  const std::vector<std::uint8_t>& pixels = picture();
  const std::string path = benchPath("item.vla");
  std::vector<std::uint8_t> work(4 * kPixels), content(4 * kPixels);
  vemla::ArchiveItemInfo item;
  item.kind = vemla::kSlotPicture;
  item.width = kSide;
  item.height = kSide;
  item.title = "bench";
  std::int64_t stored = 0;
  for (auto _ : state) {
    if (vemla::createArchive(path) != 0 ||
        vemla::appendArchiveItem(path, item, pixels, work) != 1) {
      state.SkipWithError("append failed");
      break;
    }
    vemla::ArchiveItemRead read;
    if (vemla::readArchiveItem(path, 1, read, content, work) != 0) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(content.data());
    stored = static_cast<std::int64_t>(std::filesystem::file_size(path));
  }
  if (!std::equal(pixels.begin(), pixels.end(), content.begin())) state.SkipWithError("mismatch");
  state.counters["file_bytes"] = static_cast<double>(stored);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPixels));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ArchiveAppendAndRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The library alone on the same bytes: compression into a work buffer of the same capacity and
// decompression into the content buffer.
void BM_Bzip2BufferToBuffer(benchmark::State& state) {
  const std::vector<std::uint8_t>& pixels = picture();
  std::vector<std::uint8_t> work(4 * kPixels), content(4 * kPixels);
  unsigned int compressed = 0;
  for (auto _ : state) {
    compressed = static_cast<unsigned int>(work.size());
    if (BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(work.data()), &compressed,
                                 const_cast<char*>(reinterpret_cast<const char*>(pixels.data())),
                                 static_cast<unsigned int>(kPixels), 4, 0, 200) != BZ_OK) {
      state.SkipWithError("compress failed");
      break;
    }
    unsigned int produced = static_cast<unsigned int>(kPixels);
    if (BZ2_bzBuffToBuffDecompress(reinterpret_cast<char*>(content.data()), &produced,
                                   reinterpret_cast<char*>(work.data()), compressed, 0,
                                   0) != BZ_OK) {
      state.SkipWithError("decompress failed");
      break;
    }
    benchmark::DoNotOptimize(content.data());
  }
  state.counters["stream_bytes"] = compressed;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPixels));
}
BENCHMARK(BM_Bzip2BufferToBuffer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

class NullProgress final : public vemla::ProgressPort, public vemla::BusyPort {
 public:
  void setText(std::string_view) override {}
  void start(int) override {}
  void report(int) override {}
  void finish() override {}
  void begin() override {}
  void end() override {}
};

// A gallery of eight 2048 x 2048 pictures in its own program folder.
struct SavedGallery {
  static constexpr int kSlots = 8;
  static constexpr int kSlotSide = 2048;
  std::string folder = benchPath("gallery");
  vemla::Workbench bench;
  vemla::QuietUserPort user;
  NullProgress progress;

  SavedGallery() {
    std::filesystem::create_directories(folder);
    bench.settings.folder = folder;
    bench.options.MaxPictureWidth = bench.options.MaxPictureHeight = kSlotSide;
    bench.settings.gallery.emplace();
    vemla::startGallery(bench, user);
    for (int slot = 0; slot < kSlots; ++slot) {
      const std::vector<std::uint8_t> pixels = scene(kSlotSide, kSlotSide, slot + 1);
      vemla::SlotPicture stored{pixels, kSlotSide, kSlotSide,
                                1,      nullptr,   "slot" + std::to_string(slot)};
      vemla::storePictureInSlot(bench, user, slot, stored);
    }
  }
  ~SavedGallery() { std::filesystem::remove_all(folder); }
  int save(const std::string& path, int threads) {
    vemla::SaveSlotsRequest request;
    request.path = path;
    request.skipEmpty = true;
    request.threads = threads;
    return vemla::saveSlotsToArchive(bench, user, progress, progress, request);
  }
};

SavedGallery& savedGallery() {
  static SavedGallery gallery;
  return gallery;
}

std::vector<char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_SaveSlots(benchmark::State& state) {
  SavedGallery& gallery = savedGallery();
  const int threads = static_cast<int>(state.range(0));
  const std::string path = benchPath("slots-" + std::to_string(threads) + ".vla");
  for (auto _ : state) {
    if (gallery.save(path, threads) != SavedGallery::kSlots) {
      state.SkipWithError(
          ("save failed: " + (gallery.user.told.empty() ? std::string() : gallery.user.told.back()))
              .c_str());
      break;
    }
  }
  // The parallel archive must be the sequential one, byte for byte.
  const std::string sequential = benchPath("slots-reference.vla");
  gallery.save(sequential, 1);
  if (fileBytes(sequential) != fileBytes(path)) state.SkipWithError("archives differ");
  state.counters["identical"] = 1;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * SavedGallery::kSlots *
                          SavedGallery::kSlotSide * SavedGallery::kSlotSide);
  std::filesystem::remove(path);
  std::filesystem::remove(sequential);
}
BENCHMARK(BM_SaveSlots)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
