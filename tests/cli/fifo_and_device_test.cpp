// Every verb that reads a named file, given a FIFO without a writer, an endless device or a
// folder in its place: each must refuse it at once (exit 1 with a message), never wait for a
// writer or read without end. Each run happens in a child process, so that a reader that hangs
// fails its case instead of the whole test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

namespace fs = std::filesystem;
using vemla::testing::TempDir;

constexpr auto kPatience = std::chrono::seconds(20);

struct Outcome {
  bool finished = false;
  int status = -1;
  std::string err;
};

// Runs the command in a child; a child still running after kPatience is killed.
Outcome runInChild(const std::vector<std::string>& words, const std::string& errFile) {
  const pid_t child = ::fork();
  if (child == 0) {
    const CliRun result = run(words);
    std::ofstream(errFile) << result.err;
    ::_exit(result.status);
  }
  Outcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return outcome;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  outcome.finished = WIFEXITED(status);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile);
  outcome.err.assign(std::istreambuf_iterator<char>(in), {});
  return outcome;
}

TEST(NonRegularFiles, EveryReaderRefusesFifosDevicesAndFolders) {
  const TempDir dir;
  const std::string ok = dir.file("ok.bmp");
  vemla::testing::writeBytes(ok, vemla::testing::makeBitmap(8, 8, 8, [](int x, int y) {
                               return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x + y)};
                             }));
  // F stands for the special file, with the extension the verb wants.
  struct Case {
    std::vector<std::string> words;
    std::string extension;
  };
  const std::string out = dir.file("out.bmp");
  const std::vector<Case> cases = {
      {{"info", "F"}, ".bmp"},
      {{"info", "F"}, ".vla"},
      {{"info", "F"}, ".vic"},
      {{"convert", "F", out}, ".bmp"},
      {{"convert", "F", out, "--raw", "8x8"}, ".raw"},
      {{"image", "F", ok, out}, ".bmp"},
      {{"image", ok, "F", out, "--raw", "8x8"}, ".raw"},
      {{"render", "F", out}, ".bmp"},
      {{"values", "F"}, ".bmp"},
      {{"view", "F", out, "--screen", "1280,1024"}, ".bmp"},
      {{"scope", "F", out, "--at", "1,1"}, ".bmp"},
      {{"archive", "list", "F"}, ".vla"},
      {{"archive", "extract", "F", "1", out}, ".vla"},
      {{"state", "info", "F"}, ".vic"},
      {{"state", "extract", "F", out, dir.file("out2.bmp")}, ".vic"},
      {{"colour-table", "F", dir.file("table.txt")}, ".txt"},
      {{"colour-table", "F", dir.file("table.txt")}, ".bmp"},
      {{"colour-image", ok, "F", out}, ".txt"},
      {{"edit", "F", out, "--rotate", "90"}, ".bmp"},
  };
  // Each kind of special file under every extension: a FIFO, a link to an endless device and a
  // folder.
  const std::vector<std::string> kinds = {"fifo", "zero", "folder"};
  for (const std::string extension : {".bmp", ".raw", ".vla", ".vic", ".txt"}) {
    ASSERT_EQ(::mkfifo(dir.file("fifo" + extension).c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.file("zero" + extension));
    fs::create_directory(dir.file("folder" + extension));
  }
  for (const Case& c : cases) {
    for (const std::string& kind : kinds) {
      std::vector<std::string> words = c.words;
      for (std::string& word : words) {
        if (word == "F") word = dir.file(kind + c.extension);
      }
      std::string line;
      for (const std::string& word : words) line += word + " ";
      const Outcome outcome = runInChild(words, dir.file("err.txt"));
      ASSERT_TRUE(outcome.finished) << "hangs: " << line;
      EXPECT_EQ(outcome.status, 1) << line << outcome.err;
      EXPECT_NE(outcome.err, "") << line;
    }
  }
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace vemla::cli
