#include "cli/cli.h"

#include <iomanip>
#include <vector>

#include "cli/option_flags.h"
#include "cli/verbs.h"

namespace vemla::cli {
namespace {

void printUsage(std::ostream& stream) {
  stream << "usage: vemla-cli COMMAND [ARGS] [OPTIONS]\ncommands:\n";
  for (const Command& command : verbTable()) {
    stream << "  " << std::left << std::setw(14) << command.name << command.summary << '\n';
  }
  stream << "every command accepts --settings FOLDER: options from FOLDER/VemlaPinf.dat\n"
            "run 'vemla-cli COMMAND --help' for the options of a command\n";
}

}  // namespace

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.empty()) {
    printUsage(err);
    return 2;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    printUsage(out);
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& candidate : verbTable()) {
    if (words[0] == candidate.name) command = &candidate;
  }
  if (command == nullptr) {
    err << "vemla-cli: unknown command '" << words[0] << "'\n";
    printUsage(err);
    return 2;
  }
  Context io{out, err};
  try {
    std::set<std::string> switches = command->switchFlags;
    switches.insert("--help");
    std::set<std::string> values = command->valueFlags;
    values.insert(kSettingsFlag);
    const Arguments args = parseArguments({words.begin() + 1, words.end()}, values, switches);
    if (args.has("--help")) {
      out << withOptionValues(command->help);
      return 0;
    }
    // A bad --settings is refused before any work, for every command; a damaged one is told
    // once.
    settingsOptions(args, &err);
    return command->run(args, io);
  } catch (const RefusedError& error) {
    err << error.what() << '\n';
    return 1;
  } catch (const UsageError& error) {
    err << "vemla-cli " << words[0] << ": " << error.what() << "\n"
        << "run 'vemla-cli " << words[0] << " --help' for usage\n";
    return 2;
  }
}

}  // namespace vemla::cli
