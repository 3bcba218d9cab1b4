#include "cli/option_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "net/transfer_messages.h"
#include "options/option_table.h"
#include "platform/picture_transfer.h"
#include "text/cp932.h"
#include "text/translate.h"
#include "workbench/net/picture_exchange.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

std::pair<int, int> parsePosition(const std::string& text) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) throw UsageError("--position: expected X,Y, got " + text);
  return {parseInt(text.substr(0, comma), 0, INT32_MAX, "--position X"),
          parseInt(text.substr(comma + 1), 0, INT32_MAX, "--position Y")};
}

int exportPictures(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("export takes P1 and P2");
  const std::optional<std::string> password = args.value("--password");
  if (!password) throw UsageError("--password is required");
  const ReadFlags flags = parseReadFlags(args);
  const int port = args.has("--port")
                       ? parseOptionInt(*args.value("--port"), "NetworkPort", "--port")
                       : flags.options.NetworkPort;
  const int timeout = args.has("--timeout")
                          ? parseOptionInt(*args.value("--timeout"), "ExportTimeout", "--timeout")
                          : flags.options.ExportTimeout;
  const int magnification = args.has("--mag") ? parseInt(*args.value("--mag"), 1, 64, "--mag") : 1;
  if (args.has("--reduced") && magnification != 1) {
    throw UsageError("--reduced needs magnification 1");
  }
  std::optional<std::pair<int, int>> position;
  if (const auto text = args.value("--position")) position = parsePosition(*text);
  const OptionDescriptor& passwordOption = optionNamed("ImportPassword");
  switch (text::checkFixedField(*password, static_cast<std::size_t>(passwordOption.high) + 1)) {
    case text::FieldStatus::Ok:
      break;
    case text::FieldStatus::TooLong:
      throw UsageError(withOptionValues("--password: at most {ImportPassword:high} CP932 bytes"));
    case text::FieldStatus::NotRepresentable:
      throw UsageError("--password: not storable in CP932");
  }
  if (password->empty()) {
    io.err << text::tr(net::msg::kNoImportPassword) << '\n';
    return 1;
  }

  CliUserPort user(io.err, flags.raw, flags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, flags, user)) return 1;
  const std::string& name1 = args.positional[0];
  const std::string& name2 = args.positional[1];
  if (openPictureFiles(bench, user, &name1, &name2, OpenMode::Both) != 0) {
    return user.openFailed();
  }
  // The view of a window that has just opened the pair, changed by the flags.
  ViewState& view = bench.view;
  if (position) {
    if (position->first >= bench.pictures.width || position->second >= bench.pictures.height) {
      throw UsageError("--position must lie inside the " + std::to_string(bench.pictures.width) +
                       "x" + std::to_string(bench.pictures.height) + " pictures");
    }
    std::tie(view.centreX, view.centreY) = *position;
  }
  view.magnification = magnification;
  view.reducedDisplay = args.has("--reduced");

  const std::vector<std::uint8_t> payload = net::exportPayload(bench);
  const platform::ServeResult result = platform::serve(port, *password, payload, timeout);
  if (result.code != 0) {
    io.err << net::exportNotice(result.code, result.peerUser, result.peerAddress).text << '\n';
    return 1;
  }
  io.out << "exported to=" << result.peerAddress << " user=" << result.peerUser << '\n';
  return 0;
}

}  // namespace

Command exportCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert({"--password", "--port", "--timeout", "--position", "--mag"});
  return {
      "export",
      "serve P1 and P2 to exactly one import over TCP",
      std::string(
          "usage: vemla-cli export P1 P2 --password PW [OPTIONS]\n"
          "  Opens P1 and P2 as one two-picture open, waits on the port for one import and, when\n"
          "  its password is PW, sends it both pictures with their palettes; then prints\n"
          "  exported to=ADDRESS user=NAME. A wrong password ends the export (exit 1).\n"
          "  The password travels in clear text: use this on trusted networks only.\n"
          "  --password PW                 password the importer must present (at most "
          "{ImportPassword:high}\n"
          "                                CP932 bytes; case-sensitive)\n"
          "  --port N                      TCP port, {NetworkPort:range} (default NetworkPort, "
          "{NetworkPort})\n"
          "  --timeout S                   seconds to wait for the import, for its whole request\n"
          "                                and for each send, {ExportTimeout:range} (default "
          "ExportTimeout, {ExportTimeout})\n"
          "  --position X,Y                display position sent (default the centre)\n"
          "  --mag M                       magnification sent, 1..64 (default 1)\n"
          "  --reduced                     send the reduced-display flag (magnification 1 only)\n")
          .append(kReadFlagsHelp),
      values,
      {"--reduced"},
      exportPictures};
}

}  // namespace vemla::cli
