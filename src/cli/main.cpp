#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  return vemla::cli::runCli(words, std::cout, std::cerr);
}
