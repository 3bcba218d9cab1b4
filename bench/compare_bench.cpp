// 'vemla-cli compare' end to end, as a test pipeline runs it: separate processes of the
// vemla-cli beside this benchmark (../src/vemla-cli), pictures written once to a temporary
// folder. Peers in the same run: 100 pairs of 1024 x 1024 as one folder compare against 100
// sequential pair compares; one 4096 x 4096 pair against the same with --ssim, against 'align'
// followed by 'image' and against 'image --align standard' alone. TEST is the scene moved 1.25
// right and 0.5 up.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "shift_pictures.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr int kFolderPairs = 100;

const std::string& cliPath() {
  static const std::string path =
      (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "vemla-cli")
          .string();
  return path;
}

// Runs vemla-cli with its output thrown away; the exit status.
int runCli(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  std::string program = cliPath();
  argv.push_back(program.data());
  std::vector<std::string> copies(words);
  for (std::string& word : copies) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int status = -1;
  if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    waitpid(child, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Pictures {
  std::string folder, references, tests, large1, large2;
  Pictures() {
    folder =
        (fs::temp_directory_path() / ("vemla-compare-bench-" + std::to_string(getpid()))).string();
    references = folder + "/ref";
    tests = folder + "/out";
    fs::create_directories(references);
    fs::create_directories(tests);
    const auto reference = vemla::bench::texturedPicture(1024, 1024);
    const auto moved = vemla::bench::texturedPicture(1024, 1024, 1.25, -0.5);
    for (int i = 0; i < kFolderPairs; ++i) {
      const std::string name = "/p" + std::to_string(100 + i) + ".bmp";
      vemla::writeBitmap(references + name, 1024, 1024, 1, reference.data(), nullptr);
      vemla::writeBitmap(tests + name, 1024, 1024, 1, moved.data(), nullptr);
    }
    large1 = folder + "/large1.bmp";
    large2 = folder + "/large2.bmp";
    vemla::writeBitmap(large1, 4096, 4096, 1, vemla::bench::texturedPicture(4096, 4096).data(),
                       nullptr);
    vemla::writeBitmap(large2, 4096, 4096, 1,
                       vemla::bench::texturedPicture(4096, 4096, 1.25, -0.5).data(), nullptr);
  }
  ~Pictures() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
};

const Pictures& pictures() {
  static const Pictures made;
  return made;
}

void expectStatus(benchmark::State& state, int status) {
  if (status != 0) state.SkipWithError(("vemla-cli exit " + std::to_string(status)).c_str());
}

void BM_CompareFolder100(benchmark::State& state) {
  const Pictures& p = pictures();
  for (auto _ : state)
    expectStatus(state, runCli({"compare", p.references, p.tests, "--threshold", "8"}));
}

void BM_CompareSequential100(benchmark::State& state) {
  const Pictures& p = pictures();
  for (auto _ : state) {
    for (int i = 0; i < kFolderPairs; ++i) {
      const std::string name = "/p" + std::to_string(100 + i) + ".bmp";
      expectStatus(state,
                   runCli({"compare", p.references + name, p.tests + name, "--threshold", "8"}));
    }
  }
}

void BM_Compare4096(benchmark::State& state) {
  const Pictures& p = pictures();
  for (auto _ : state) {
    expectStatus(state,
                 runCli({"compare", p.large1, p.large2, "--max", "4096x4096", "--threshold", "8"}));
  }
}

// The same with the structural similarity printed too.
void BM_Compare4096Ssim(benchmark::State& state) {
  const Pictures& p = pictures();
  for (auto _ : state) {
    expectStatus(state, runCli({"compare", p.large1, p.large2, "--max", "4096x4096", "--threshold",
                                "8", "--ssim"}));
  }
}

void BM_AlignThenImage4096(benchmark::State& state) {
  const Pictures& p = pictures();
  const std::string out = p.folder + "/diff.bmp";
  for (auto _ : state) {
    expectStatus(
        state, runCli({"align", p.large1, p.large2, "--max", "4096x4096", "--align", "standard"}));
    expectStatus(state, runCli({"image", p.large1, p.large2, out, "--max", "4096x4096", "--align",
                                "standard"}));
  }
}

void BM_ImageAligned4096(benchmark::State& state) {
  const Pictures& p = pictures();
  const std::string out = p.folder + "/diff.bmp";
  for (auto _ : state) {
    expectStatus(state, runCli({"image", p.large1, p.large2, out, "--max", "4096x4096", "--align",
                                "standard"}));
  }
}

BENCHMARK(BM_CompareFolder100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CompareSequential100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Compare4096)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Compare4096Ssim)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_AlignThenImage4096)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ImageAligned4096)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
