#include <stdlib.h>

#include <filesystem>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "extensions/launcher_messages.h"
#include "picture/palette.h"
#include "platform/user_program.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

// A text of the launch settings: at most 511 bytes in the settings files' code page.
std::string launchText(const std::string& text, const std::string& what) {
  const std::optional<std::string> stored = text::utf8ToCp932(text);
  if (!stored) throw UsageError(what + " holds characters the settings cannot store");
  if (stored->size() > kLaunchTextBytes - 1) throw UsageError(what + " is longer than 511 bytes");
  return text;
}

LauncherSettings launchSettings(const Arguments& args) {
  LauncherSettings launch;
  launch.program = launchText(*args.value("--program"), "--program");
  launch.arguments = launchText(args.value("--args").value_or(""), "--args");
  if (const auto found = args.repeated.find("--file"); found != args.repeated.end()) {
    for (const std::string& given : found->second) {
      const std::size_t colon = given.find(':');
      if (colon == std::string::npos) throw UsageError("--file needs N:PATH");
      const int n = parseInt(given.substr(0, colon), 1, 4, "--file N");
      launch.files[static_cast<std::size_t>(n - 1)] =
          launchText(given.substr(colon + 1), "--file");
    }
  }
  const std::string format = args.value("--format").value_or("bmp");
  if (format != "bmp" && format != "raw") throw UsageError("--format takes bmp or raw");
  launch.format = format == "raw" ? 1 : 0;
  launch.output = args.has("--output") ? 1 : 0;
  launch.showOutput = 1;
  launch.timing = args.has("--timing") ? 1 : 0;
  return launch;
}

// A private folder for the temporary files, removed with everything in it.
class PrivateFolder {
 public:
  PrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base == '/' ? base : "/tmp") + "/vemla-launch-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~PrivateFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

int launch(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("launch takes P1 and P2");
  if (!args.has("--program")) throw UsageError("launch needs --program PATH");
  if (args.has("--confirm") && args.has("--output")) {
    throw UsageError("--confirm and --output exclude each other");
  }
  const LauncherSettings settings = launchSettings(args);
  const ReadFlags readFlags = parseReadFlags(args);
  const ControlFlags control = parseControlFlags(args, std::nullopt, readFlags.options);
  const std::optional<std::string> out = args.value("--output");
  if (out && !checkOutputName(*out, io)) return 1;

  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  const std::string& name1 = args.positional[0];
  const std::string& name2 = args.positional[1];
  if (openPictureFiles(bench, user, &name1, &name2, OpenMode::Both) != 0) return user.openFailed();
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (const auto value = args.value("--cursor")) {
    const auto [x, y] = parsePair(*value, 0, std::max(width, height) - 1, "--cursor");
    if (x >= width || y >= height) throw UsageError("--cursor must lie inside the picture");
    bench.view.centreX = x;
    bench.view.centreY = y;
  }
  applyControlFlags(control, bench);

  if (args.has("--confirm")) {
    const auto lines = confirmLaunch(bench, user, settings);
    if (!lines) return 1;
    for (const std::string& line : *lines) io.out << line << '\n';
    return 0;
  }
  PrivateFolder folder;
  if (folder.path().empty()) {
    io.err << text::tr(launcher_msg::kTemporaryFailed) << '\n';
    return 1;
  }
  bench.settings.folder = folder.path();
  refreshPictures(bench, user);  // Image 1 and Image 2 for <I1> and <I2>
  NoBusyPort busy;
  NoProgressPort progress;
  platform::PosixProgramRunner runner;
  const LaunchResult result = runUserProgram(bench, user, busy, progress, runner, settings);
  for (const std::string& line : result.lines) io.out << line << '\n';
  if (result.signal != 0) {
    io.err << text::format(text::tr(launcher_msg::kEndedBySignal), result.signal) << '\n';
  }
  if (result.status != LaunchResult::Status::Ran) return 1;
  if (out) {
    if (!result.lines.empty() && result.lines.front() == text::tr(launcher_msg::kNoOutput)) return 1;
    if (!writeOutputPicture(*out, width, height, bench.store.plane(kUserResult), greyRamp(), io)) {
      return 1;
    }
  }
  return 0;
}

}  // namespace

Command launchCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert("--settings");
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.insert({"--program", "--args", "--file", "--format", "--cursor", "--output"});
  return {
      "launch",
      "run a user program on P1 and P2 as the user program launcher does",
      std::string(
          "usage: vemla-cli launch P1 P2 --program PATH [OPTIONS]\n"
          "  Opens P1 and P2, builds the program's arguments from the template and runs it\n"
          "  directly (never through a shell); prints the result list, with the exit status\n"
          "  when it is not 0. A program ended by a signal fails (exit 1) and its output is not\n"
          "  read. With --confirm prints the arguments (argv[%d]:%s) and writes nothing.\n"
          "  --program PATH                the program; a name without '/' is found through PATH\n"
          "  --args TEMPLATE               the argument template with its placeholders\n"
          "  --file N:PATH                 the operator's file N (1..4) for <FN>; repeatable\n"
          "  --format bmp|raw              format of the temporary files (default bmp)\n"
          "  --cursor X,Y                  the cursor for <CX>, <CY> (default the centre)\n"
          "  --timing                      list the processing time\n"
          "  --confirm                     list the arguments only\n"
          "  --output OUT                  the program writes <OUT>; its image is read back and\n"
          "                                written to OUT (.bmp or .raw)\n")
          .append(kReadFlagsHelp)
          .append(kControlFlagsHelp),
      values,
      {"--timing", "--confirm"},
      launch};
}

}  // namespace vemla::cli
