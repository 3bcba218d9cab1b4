// Numbers typed into dialogs and printed for people and files do not depend on the process
// locale: the window program runs under the user's locale (Qt sets it at start), where the
// decimal point may be a comma. Every case runs under de_DE.UTF-8.
#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <string>

#include "editing/small_dialogs.h"
#include "options/option_sheet_rules.h"
#include "support/cli_run.h"
#include "support/test_files.h"
#include "tools/profile.h"

namespace vemla {
namespace {

// The process in a German locale for the life of the object; the C locale again after it.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) return;
    }
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, "C"); }
  static bool active() { return std::localeconv()->decimal_point[0] == ','; }
};

TEST(NumberLocale, DialogsFilesAndVemlaCliReadAndWriteAPoint) {
  const DecimalCommaLocale german;
  if (!DecimalCommaLocale::active()) {
    GTEST_SKIP() << "no locale with a decimal comma (scripts/setup makes de_DE.UTF-8)";
  }
  testing::TempDir dir;
  const std::string colour = dir.file("colour.bmp");
  testing::writeBytes(colour, testing::makeBitmap(8, 8, 24, [](int, int) {
                        return std::vector<std::uint8_t>{10, 20, 30};
                      }));
  const auto ran = [](std::vector<std::string> words) {
    const cli::CliRun run = cli::run(words);
    return std::to_string(run.status) + " " + run.err;
  };
  const auto helpHas = [](const std::string& text) {
    return cli::run({"convert", "--help"}).out.find(text) != std::string::npos;
  };
  struct Case {
    const char* what;
    std::function<std::string()> got;
    std::string expected;
  };
  const Case cases[] = {
      {"ratio field shown", [] { return formatRatio(0.299); }, "0.299"},
      {"ratio field read", [] { return formatRatio(parseRatioField("0.587")); }, "0.587"},
      {"option field shown", [] { return realFieldText(7.8125); }, "7.8125"},
      {"option field read", [] { return realFieldText(readRealField("0.5", "1.0", 1.0)); }, "0.5"},
      {"profile distance", [] { return tools::distanceReadout(2.5); }, "距離: 2.5000"},
      {"vemla-cli --ratios",
       [&] {
         return ran({"convert", colour, dir.file("o.bmp"), "--true-colour", "grey", "--ratios",
                     "0.299,0.587,0.114"});
       },
       "0 "},
      {"vemla-cli defaults in --help",
       [&] { return helpHas("(default 0.299,0.587,0.114)") ? "yes" : "no"; }, "yes"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got(), c.expected) << c.what;
}

}  // namespace
}  // namespace vemla
