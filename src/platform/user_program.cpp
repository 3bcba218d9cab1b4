#include "platform/user_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <vector>

extern char** environ;

namespace vemla::platform {
namespace {

constexpr int kSliceMilliseconds = 100;
// Pipes of 1 MiB (the usual system limit) and reads of that size: a chatty program wakes the
// launcher 16 times less often than with the 64 KiB default.
constexpr int kPipeBytes = 1 << 20;
constexpr std::size_t kChunkBytes = kPipeBytes;

struct Pipe {
  int read = -1, write = -1;
  ~Pipe() {
    if (read >= 0) ::close(read);
    if (write >= 0) ::close(write);
  }
};

bool makePipe(Pipe& pipe) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  pipe.read = ends[0];
  pipe.write = ends[1];
  ::fcntl(pipe.write, F_SETPIPE_SZ, kPipeBytes);  // a smaller pipe still works, only slower
  return ::fcntl(pipe.read, F_SETFL, O_NONBLOCK) == 0;
}

constexpr int kChunksPerSlice = 16;  // 16 MiB, so a flood still lets the wait be checked

// Reads what `fd` holds now (at most kChunksPerSlice chunks) into `kept` up to `limit`,
// dropping the rest. While there is room the bytes are read straight into `kept`, whose
// capacity never grows beyond `limit`; the rest goes through `spill` and is dropped. False at
// end of file or on an error (the descriptor is done).
bool drain(int fd, std::string& kept, std::size_t limit, std::vector<char>& spill) {
  for (int chunks = 0; chunks < kChunksPerSlice;) {
    const std::size_t room = limit - std::min(limit, kept.size());
    ssize_t got = 0;
    if (room > 0) {
      const std::size_t want = std::min(room, kChunkBytes);
      const std::size_t size = kept.size();
      if (kept.capacity() < size + want) {
        kept.reserve(std::min(limit, std::max(size + want, 2 * kept.capacity())));
      }
      kept.resize(size + want);
      got = ::read(fd, kept.data() + size, want);
      kept.resize(size + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    } else {
      spill.resize(kChunkBytes);
      got = ::read(fd, spill.data(), spill.size());
    }
    if (got > 0) {
      ++chunks;
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
  return true;
}

}  // namespace

ProgramRun PosixProgramRunner::run(const std::vector<std::string>& arguments, bool console,
                                   std::size_t captureLimit, ProgressPort& progress) {
  ProgramRun result;
  if (arguments.empty() || arguments[0].empty()) return result;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  Pipe out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!console) {
    if (!makePipe(out) || !makePipe(err)) {
      posix_spawn_file_actions_destroy(&actions);
      return result;
    }
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t child = -1;
  const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  result.started = true;
  // Only the child writes into the pipes now, so their end of file means it closed them.
  for (Pipe* pipe : {&out, &err}) {
    if (pipe->write >= 0) ::close(pipe->write);
    pipe->write = -1;
  }

  std::array<pollfd, 2> watched{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
  std::array<std::string*, 2> kept{&result.output.out, &result.output.err};
  std::vector<char> spill;
  int status = 0;
  bool reaped = false;
  for (;;) {
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) reaped = true;
    if (ended == child || (ended < 0 && errno != EINTR)) break;
    if (!progress.keepWaiting()) {
      ::kill(child, SIGKILL);
      while (!reaped) {
        const pid_t killed = ::waitpid(child, &status, 0);
        reaped = killed == child;
        if (killed < 0 && errno != EINTR) break;
      }
      result.cancelled = true;
      break;
    }
    bool open = false;
    for (const pollfd& p : watched) open = open || p.fd >= 0;
    if (!open) {
      // Both outputs are closed (or go to the terminal): wait in slices for the exit.
      ::usleep(kSliceMilliseconds * 1000 / 10);
      continue;
    }
    if (::poll(watched.data(), watched.size(), kSliceMilliseconds) < 0 && errno != EINTR) break;
    for (std::size_t i = 0; i < watched.size(); ++i) {
      if (watched[i].fd >= 0 && watched[i].revents != 0 &&
          !drain(watched[i].fd, *kept[i], captureLimit, spill)) {
        watched[i].fd = -1;  // poll skips negative descriptors
      }
    }
  }
  const auto end = std::chrono::steady_clock::now();
  result.output.milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
  if (reaped && WIFEXITED(status)) result.output.exitStatus = WEXITSTATUS(status);
  if (reaped && WIFSIGNALED(status)) result.output.signal = WTERMSIG(status);
  // What the program wrote before its exit; a child that keeps the pipes is not waited for.
  for (std::size_t i = 0; i < watched.size(); ++i) {
    if (watched[i].fd >= 0) drain(watched[i].fd, *kept[i], captureLimit, spill);
  }
  return result;
}

}  // namespace vemla::platform
