// A user program for the launcher's tests: what it does is chosen by its first argument.
//   args            prints "argv[i]=<argument>" for each argument after the first
//   flood N         writes N bytes to standard output and N to standard error, interleaved
//   copy FROM TO    copies file FROM to TO (a chosen bitmap or raw output)
//   lines           prints "a\r\nb\n" and "e\n" on standard error
//   background      prints "parent", leaves a child holding the outputs that prints "late"
//                   a second later, and exits
//   fail N FROM TO  copies FROM to TO, prints "out" and "failed" on standard error, exits N
//   signal N FROM TO  the same, then ends itself with signal N
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "args") {
    for (int i = 2; i < argc; ++i) std::printf("argv[%d]=%s\n", i - 1, argv[i]);
  } else if (what == "flood" && argc > 2) {
    const long total = std::atol(argv[2]);
    const std::vector<char> chunk(4096, 'x');
    for (long done = 0; done < total; done += 4096) {
      const auto count = static_cast<std::size_t>(std::min<long>(4096, total - done));
      std::fwrite(chunk.data(), 1, count, stdout);
      std::fwrite(chunk.data(), 1, count, stderr);
    }
  } else if (what == "copy" && argc > 3) {
    std::ifstream from(argv[2], std::ios::binary);
    std::ofstream to(argv[3], std::ios::binary);
    to << from.rdbuf();
  } else if ((what == "fail" || what == "signal") && argc > 4) {
    {
      std::ifstream from(argv[3], std::ios::binary);
      std::ofstream to(argv[4], std::ios::binary);
      to << from.rdbuf();
    }
    std::puts("out");
    std::fputs("failed\n", stderr);
    std::fflush(nullptr);
    if (what == "signal") ::raise(std::atoi(argv[2]));
    return std::atoi(argv[2]);
  } else if (what == "lines") {
    std::fputs("a\r\nb\n", stdout);
    std::fputs("e\n", stderr);
  } else if (what == "background") {
    std::puts("parent");
    std::fflush(stdout);
    if (fork() == 0) {
      sleep(1);
      std::puts("late");
      std::fflush(stdout);
      sleep(2);
      _exit(0);
    }
  } else {
    return 2;
  }
  return 0;
}
