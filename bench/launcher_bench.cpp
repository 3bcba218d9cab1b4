// The user program launcher on a 4096 x 4096 pair: "実行" with /bin/true and no placeholders;
// a program flooding 1 GiB into standard output against the same program writing to /dev/null;
// "<P1> <P2> <I1> <I2>" against four writeBitmap calls; the read-back of a 4096 x 4096 bitmap
// against the bitmap reader alone. Files go to $VEMLA_BENCH_DIR, else /dev/shm, else /tmp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "picture/byte_source.h"
#include "picture/file_helpers.h"
#include "platform/user_program.h"
#include "ports/quiet_user_port.h"
#include "shift_pictures.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace {

using vemla::bench::kSide;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

std::string benchFolder() {
  const char* chosen = std::getenv("VEMLA_BENCH_DIR");
  return chosen != nullptr                           ? chosen
         : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                     : "/tmp";
}

// A workbench holding the textured pair, with its images, made once.
vemla::Workbench& bench() {
  static const std::unique_ptr<vemla::Workbench> made = [] {
    auto made = std::make_unique<vemla::Workbench>();
    made->store.allocate(kSide, kSide);
    made->settings.folder = benchFolder();
    const auto first = vemla::bench::texturedPicture(kSide, kSide);
    const auto second = vemla::bench::texturedPicture(kSide, kSide, 1.25, -0.5);
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

vemla::LaunchResult launch(const std::string& program, const std::string& arguments) {
  vemla::LauncherSettings settings;
  settings.program = program;
  settings.arguments = arguments;
  vemla::QuietUserPort user;
  vemla::NoBusyPort busy;
  vemla::NoProgressPort progress;
  vemla::platform::PosixProgramRunner runner;
  return vemla::runUserProgram(bench(), user, busy, progress, runner, settings);
}

void BM_LaunchTrue(benchmark::State& state) {
  for (auto _ : state) {
    if (launch("/bin/true", "").status != vemla::LaunchResult::Status::Ran) {
      state.SkipWithError("did not run");
    }
  }
}
BENCHMARK(BM_LaunchTrue)->Unit(benchmark::kMillisecond);

// Arg: 1 captured by the launcher, 0 written to /dev/null by the shell (the floor).
void BM_FloodOneGiB(benchmark::State& state) {
  const std::string flood = "head -c 1073741824 /dev/zero";
  const std::vector<std::string> arguments{"/bin/sh", "-c",
                                           state.range(0) == 1 ? flood : flood + " > /dev/null"};
  vemla::NoProgressPort progress;
  vemla::platform::PosixProgramRunner runner;
  std::size_t kept = 0;
  for (auto _ : state) {
    const vemla::ProgramRun run = runner.run(arguments, false, kPixels - 1, progress);
    kept = run.output.out.capacity();
  }
  state.counters["kept_MiB"] = static_cast<double>(kept) / (1 << 20);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) << 30);
}
BENCHMARK(BM_FloodOneGiB)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_LaunchFourSources(benchmark::State& state) {
  for (auto _ : state) {
    if (launch("/bin/true", "<P1> <P2> <I1> <I2>").status != vemla::LaunchResult::Status::Ran) {
      state.SkipWithError("did not run");
    }
  }
}
BENCHMARK(BM_LaunchFourSources)->Unit(benchmark::kMillisecond);

void BM_FourWriteBitmaps(benchmark::State& state) {
  vemla::Workbench& b = bench();
  const std::string path = benchFolder() + "/vemla-bench-" + std::to_string(::getpid()) + ".bmp";
  for (auto _ : state) {
    for (int plane : {vemla::kPicture1, vemla::kPicture2, vemla::kImage1, vemla::kImage2}) {
      vemla::writeBitmap(path, kSide, kSide, 1, b.store.plane(plane), nullptr);
    }
  }
  vemla::deleteFile(path);
}
BENCHMARK(BM_FourWriteBitmaps)->Unit(benchmark::kMillisecond);

// Arg: 1 the launcher's read-back, 0 the bitmap reader alone.
void BM_ReadBack(benchmark::State& state) {
  vemla::Workbench& b = bench();
  const std::string path =
      benchFolder() + "/vemla-bench-out-" + std::to_string(::getpid()) + ".bmp";
  vemla::writeBitmap(path, kSide, kSide, 1, b.store.plane(vemla::kPicture1), nullptr);
  std::vector<std::uint8_t> pixels(kPixels);
  for (auto _ : state) {
    if (state.range(0) == 1) {
      if (!vemla::readLaunchOutput(path, false, kSide, kSide, vemla::RgbRatio{}, pixels).empty()) {
        state.SkipWithError("read-back failed");
      }
    } else {
      vemla::FileSource in(path);
      vemla::BitmapRead read;
      if (vemla::readBitmapIntoMemory(in, pixels, kSide, kSide, read) != 1) {
        state.SkipWithError("read failed");
      }
    }
    benchmark::DoNotOptimize(pixels.data());
  }
  vemla::deleteFile(path);
}
BENCHMARK(BM_ReadBack)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
