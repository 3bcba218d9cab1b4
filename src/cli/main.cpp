#include <iostream>

#include "cli/cli.h"
#include "text/translate.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  // The messages on stderr follow VEMLA_LANG or the locale (scripts do not read the window
  // program's stored choice); --help and the usage lines are English in every language.
  const vemla::text::Language language =
      vemla::text::chooseLanguage(vemla::text::LanguageEnvironment::current(),
                                  vemla::text::LanguageChoice::Automatic);
  if (!vemla::text::useLanguage(language, vemla::text::catalogueFolder())) {
    std::cerr << "vemla-cli: the English catalogue (vemla.mo) is missing; messages stay Japanese\n";
  }
  return vemla::cli::runCli(words, std::cout, std::cerr);
}
