// Reading and writing a 4096 x 4096 8-bit bitmap against what the bytes cost anyway: a memcpy
// of the same bytes plus the file system's own work (a plain read of the file into memory; a
// plain write, fsync and rename of the same bytes). Files go to $VEMLA_BENCH_DIR, else
// /dev/shm when present (no disk noise), else /tmp.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/bitmap.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;
constexpr std::size_t kFileBytes = 1078 + kPixels;

std::string benchFolder() {
  if (const char* chosen = std::getenv("VEMLA_BENCH_DIR")) return chosen;
  return std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
}

std::string benchPath(const char* name) {
  return benchFolder() + "/vemla-bench-" + std::to_string(::getpid()) + "-" + name;
}

std::vector<std::uint8_t> testPicture() {
  std::vector<std::uint8_t> pixels(kPixels);
  for (std::size_t i = 0; i < kPixels; ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 / 7);
  return pixels;
}

// The bitmap file image of testPicture(), as the reader finds it on disk.
std::vector<std::uint8_t> fileImage(const std::vector<std::uint8_t>& pixels) {
  const vemla::BitmapHeaders headers = vemla::buildBitmapHeaders(1, kSide, kSide);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kFileBytes);
  const auto file = headers.file.toBytes();
  const auto info = headers.info.toBytes();
  const vemla::Palette ramp = vemla::greyRamp();
  bytes.insert(bytes.end(), file.begin(), file.end());
  bytes.insert(bytes.end(), info.begin(), info.end());
  bytes.insert(bytes.end(), ramp.begin(), ramp.end());
  for (int row = kSide - 1; row >= 0; --row) {
    const auto begin = pixels.begin() + static_cast<std::ptrdiff_t>(row) * kSide;
    bytes.insert(bytes.end(), begin, begin + kSide);
  }
  return bytes;
}

bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, bool sync) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) break;
    done += static_cast<std::size_t>(wrote);
  }
  const bool synced = !sync || ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced && done == bytes.size();
}

void setCounters(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

// ---------------------------------------------------------------------------------------------
// Reading

void BM_ReadBitmapPicture8(benchmark::State& state) {
  const std::string path = benchPath("read.bmp");
  writeWholeFile(path, fileImage(testPicture()), false);
  std::vector<std::uint8_t> plane(kPixels);
  std::vector<std::uint8_t> scratch(4 * kPixels);
  for (auto _ : state) {
    vemla::BitmapRead out;
    const int result = vemla::readBitmapPicture(path, plane, kSide, kSide, false, {}, scratch, out);
    if (result != kSide) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(plane.data());
  }
  setCounters(state, kFileBytes);
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadBitmapPicture8)->Unit(benchmark::kMillisecond);

void BM_ReadBitmapIntoMemory8(benchmark::State& state) {
  const std::string path = benchPath("memory.bmp");
  writeWholeFile(path, fileImage(testPicture()), false);
  std::vector<std::uint8_t> destination(kPixels);
  for (auto _ : state) {
    vemla::BitmapRead out;
    if (vemla::readBitmapIntoMemory(path, destination, kSide, kSide, out) != 1) {
      state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(destination.data());
  }
  setCounters(state, kFileBytes);
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadBitmapIntoMemory8)->Unit(benchmark::kMillisecond);

// Baseline: the file read into memory with one plain read, then its pixels copied once.
void BM_ReadBaselinePlainReadAndMemcpy(benchmark::State& state) {
  const std::string path = benchPath("baseline-read.bmp");
  writeWholeFile(path, fileImage(testPicture()), false);
  std::vector<std::uint8_t> buffer(kFileBytes);
  std::vector<std::uint8_t> plane(kPixels);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    while (done < buffer.size()) {
      const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    std::memcpy(plane.data(), buffer.data() + 1078, kPixels);
    benchmark::DoNotOptimize(plane.data());
  }
  setCounters(state, kFileBytes);
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadBaselinePlainReadAndMemcpy)->Unit(benchmark::kMillisecond);

// The copy alone.
void BM_Memcpy16MiB(benchmark::State& state) {
  std::vector<std::uint8_t> from = testPicture();
  std::vector<std::uint8_t> to(kPixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kPixels);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  setCounters(state, kPixels);
}
BENCHMARK(BM_Memcpy16MiB)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Writing

void BM_WriteBitmap8(benchmark::State& state) {
  const std::string path = benchPath("write.bmp");
  const std::vector<std::uint8_t> pixels = testPicture();
  for (auto _ : state) {
    if (vemla::writeBitmap(path, kSide, kSide, 1, pixels.data(), nullptr) != 0) {
      state.SkipWithError("write failed");
    }
  }
  setCounters(state, kFileBytes);
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteBitmap8)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the file image assembled with one memcpy, written with one plain write to a
// temporary file, fsync, close and rename over the target.
void BM_WriteBaselineMemcpyWriteFsyncRename(benchmark::State& state) {
  const std::string path = benchPath("baseline-write.bmp");
  const std::string temporary = path + ".tmp";
  const std::vector<std::uint8_t> image = fileImage(testPicture());
  std::vector<std::uint8_t> buffer(image.size());
  for (auto _ : state) {
    std::memcpy(buffer.data(), image.data(), image.size());
    if (!writeWholeFile(temporary, buffer, true) ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
      state.SkipWithError("write failed");
    }
  }
  setCounters(state, kFileBytes);
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteBaselineMemcpyWriteFsyncRename)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
