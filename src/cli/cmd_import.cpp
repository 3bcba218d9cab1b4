#include "cli/option_flags.h"
#include "cli/read_flags.h"
#include "cli/verbs.h"
#include "net/export_targets.h"
#include "net/transfer_messages.h"
#include "net/wire_format.h"
#include "platform/picture_transfer.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla::cli {
namespace {

// Four decimal octets 0..255 separated by dots, as the import dialog's four address fields.
std::string parseAddress(const std::string& text) {
  std::size_t start = 0;
  for (int octet = 0; octet < 4; ++octet) {
    const std::size_t dot = octet < 3 ? text.find('.', start) : text.size();
    const std::string field =
        dot == std::string::npos ? std::string() : text.substr(start, dot - start);
    const bool digits = !field.empty() && field.size() <= 3 &&
                        field.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoi(field) > 255) {
      throw UsageError("ADDRESS must be a dotted IPv4 address (four numbers 0..255), got " + text);
    }
    start = dot + 1;
  }
  return text;
}

void refuseRequestText(net::RequestStatus status) {
  switch (status) {
    case net::RequestStatus::Ok:
      return;
    case net::RequestStatus::PasswordTooLong:
      throw UsageError("--password: at most 63 CP932 bytes");
    case net::RequestStatus::PasswordUnstorable:
      throw UsageError("--password: not storable in CP932");
    case net::RequestStatus::UserNameTooLong:
      throw UsageError("--user: at most 255 CP932 bytes");
    case net::RequestStatus::UserNameUnstorable:
      throw UsageError("--user: not storable in CP932");
  }
}

// The request with the given user name, or with this machine's login name; a login name that
// the field cannot hold is sent as an empty name rather than refusing the import.
net::RequestBytes buildRequest(const std::string& password,
                               const std::optional<std::string>& user) {
  net::RequestBytes request{};
  if (user) {
    refuseRequestText(net::encodeRequest(password, *user, request));
  } else {
    refuseRequestText(net::encodeImportRequest(password, platform::localUserName(), request));
  }
  return request;
}

int importPictures(const Arguments& args, Context& io) {
  if (args.positional.size() != 3) throw UsageError("import takes ADDRESS, OUT1 and OUT2");
  const std::string address = parseAddress(args.positional[0]);
  const std::string& out1 = args.positional[1];
  const std::string& out2 = args.positional[2];
  const std::optional<std::string> password = args.value("--password");
  if (!password) throw UsageError("--password is required");
  const ReadFlags flags = parseReadFlags(args);
  const int port = args.has("--port")
                       ? parseOptionInt(*args.value("--port"), "NetworkPort", "--port")
                       : flags.options.NetworkPort;
  const int timeout = args.has("--timeout")
                          ? parseOptionInt(*args.value("--timeout"), "ImportTimeout", "--timeout")
                          : flags.options.ImportTimeout;
  const net::RequestBytes request = buildRequest(*password, args.value("--user"));
  if (password->empty()) {
    io.err << text::tr(net::msg::kNoTargetPassword) << '\n';
    return 1;
  }
  if (!checkOutputName(out1, io) || !checkOutputName(out2, io)) return 1;

  const platform::FetchResult result =
      platform::fetch(address, port, timeout, request, flags.maxWidth, flags.maxHeight);
  if (const std::optional<net::Notice> refused =
          net::importOutcomeNotice(result.code, result.check)) {
    io.err << refused->text << '\n';
    return 1;
  }
  const net::PairHeader& header = result.header;
  const std::size_t pictureBytes =
      static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);
  if (!writeOutputPicture(out1, header.width, header.height, result.pixels.data(),
                          header.palettes[index(PictureSlot::First)], io) ||
      !writeOutputPicture(out2, header.width, header.height, result.pixels.data() + pictureBytes,
                          header.palettes[index(PictureSlot::Second)], io)) {
    return 1;
  }
  io.out << text::format("size=%dx%d position=%d,%d mag=%d reduced=%d", header.width, header.height,
                         header.positionX, header.positionY, header.magnification,
                         header.reducedDisplay)
         << '\n';
  return 0;
}

}  // namespace

Command importCommand() {
  return {
      "import",
      "fetch one picture pair from an export over TCP",
      "usage: vemla-cli import ADDRESS OUT1 OUT2 --password PW [OPTIONS]\n"
      "  Connects to the export at ADDRESS (dotted IPv4), retrying until the time-out, fetches\n"
      "  the picture pair, writes the two pictures to OUT1 and OUT2 (.bmp with the received\n"
      "  palettes, or .raw) and prints size=WxH position=X,Y mag=M reduced=R as received.\n"
      "  The password travels in clear text: use this on trusted networks only.\n"
      "  --password PW                 the exporter's password (at most 63 CP932 bytes)\n"
      "  --port N                      TCP port, {NetworkPort:range} (default NetworkPort, "
      "{NetworkPort})\n"
      "  --timeout S                   seconds to keep trying to connect and to wait for each\n"
      "                                network event, {ImportTimeout:range} (default "
      "ImportTimeout, {ImportTimeout})\n"
      "  --user NAME                   user name sent to the exporter (default the login name)\n"
      "  --max WxH                     maximum picture size accepted, {MaxPictureWidth:range}, "
      "multiples of 4\n"
      "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n",
      {"--password", "--port", "--timeout", "--user", "--max"},
      {},
      importPictures};
}

}  // namespace vemla::cli
