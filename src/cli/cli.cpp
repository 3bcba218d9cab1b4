#include "cli/cli.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "cli/args.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/open_pictures.h"
#include "text/format.h"
#include "workbench/workbench.h"

namespace vemla::cli {
namespace {

constexpr const char* kUsage =
    "usage: vemla-cli COMMAND [ARGS] [OPTIONS]\n"
    "commands:\n"
    "  info FILE                 describe a picture file\n"
    "  convert IN OUT            read IN as Picture 1 is opened and write it to OUT\n"
    "run 'vemla-cli COMMAND --help' for the options of a command\n";

constexpr const char* kInfoHelp =
    "usage: vemla-cli info FILE\n"
    "  .bmp: prints 'bmp WIDTH HEIGHT BITS bottom-up|top-down'\n";

constexpr const char* kConvertHelp =
    "usage: vemla-cli convert IN OUT [OPTIONS]\n"
    "  Reads IN (.bmp or .raw) as Picture 1 is opened and writes it to OUT (.bmp: 8-bit bitmap\n"
    "  with the picture's palette; .raw: W x H bytes).\n"
    "  --raw WxH[+OFF]               size and start offset of a .raw IN\n"
    "  --true-colour quantize|grey   how 24/32-bit bitmaps become 8-bit (default quantize)\n"
    "  --ratios R,G,B                grey conversion ratios (default 0.299,0.587,0.114)\n"
    "  --grey-save                   write a grey-ramp palette instead of the picture's\n"
    "  --max WxH                     maximum picture size, 1024..4096, multiples of 4\n";

// Answers the workbench's dialogs from the command line: the raw size from --raw, the RGB
// ratios from --ratios; messages go to stderr.
class CliUserPort final : public UserPort {
 public:
  CliUserPort(std::ostream& err, std::optional<RawSize> raw, RgbRatio ratios)
      : err_(err), raw_(raw), ratios_(ratios) {}
  bool rawMissing = false;

  void tell(Icon, std::string_view text, std::string_view) override { err_ << text << '\n'; }
  bool askYesNo(std::string_view) override { return false; }
  Answer askYesNoCancel(std::string_view, Icon) override { return Answer::Cancel; }
  std::optional<RawSize> askRawSize(std::string_view, std::int64_t, RawSize) override {
    if (!raw_) rawMissing = true;
    return raw_;
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view, RgbRatio) override { return ratios_; }

 private:
  std::ostream& err_;
  std::optional<RawSize> raw_;
  RgbRatio ratios_;
};

struct Context {
  std::ostream& out;
  std::ostream& err;
};

int info(const Arguments& args, Context& io) {
  if (args.positional.size() != 1) throw UsageError("info takes one FILE");
  const std::string& name = args.positional[0];
  if (!isBitmapName(name)) {
    io.err << text::format(msg::kWithName, msg::kUnsupported, name.c_str()) << '\n';
    return 1;
  }
  FileSource in(name);
  std::uint8_t bytes[BitmapFileHeader::kBytes + BitmapInfoHeader::kBytes];
  if (!in.isOpen() || in.read(bytes, sizeof bytes) != sizeof bytes) {
    io.err << text::format(msg::kWithName, msg::kReadFailed, name.c_str()) << '\n';
    return 1;
  }
  const BitmapFileHeader file = BitmapFileHeader::fromBytes(bytes);
  const BitmapInfoHeader header = BitmapInfoHeader::fromBytes(bytes + BitmapFileHeader::kBytes);
  if (file.type != 0x4D42 || header.compression != 0 || header.width < 1 || header.height == 0 ||
      header.height == INT32_MIN) {
    io.err << text::format(msg::kWithName, msg::kUnsupported, name.c_str()) << '\n';
    return 1;
  }
  if (header.bitCount != 8 && header.bitCount != 24 && header.bitCount != 32) {
    io.err << text::format(msg::kWithName, msg::kNot8Or24Or32, name.c_str()) << '\n';
    return 1;
  }
  io.out << "bmp " << header.width << ' ' << (header.height < 0 ? -header.height : header.height)
         << ' ' << header.bitCount << ' ' << (header.height < 0 ? "top-down" : "bottom-up") << '\n';
  return 0;
}

// The picture-reading flags shared by the commands that open pictures.
struct ReadFlags {
  int maxWidth = 1024;
  int maxHeight = 1024;
  std::optional<RawSize> raw;
  int trueColourMode = kTrueColourQuantize;
  RgbRatio ratios{};
};

ReadFlags parseReadFlags(const Arguments& args) {
  ReadFlags flags;
  if (const auto max = args.value("--max")) std::tie(flags.maxWidth, flags.maxHeight) = parseMaxSize(*max);
  if (const auto spec = args.value("--raw")) flags.raw = parseRawSize(*spec, flags.maxWidth, flags.maxHeight);
  if (const auto mode = args.value("--true-colour")) {
    if (*mode == "grey") {
      flags.trueColourMode = kTrueColourGrey;
    } else if (*mode != "quantize") {
      throw UsageError("--true-colour must be quantize or grey");
    }
  }
  if (const auto ratios = args.value("--ratios")) flags.ratios = parseRatios(*ratios);
  return flags;
}

// A workbench with factory options except for the flags; false when the store cannot be had.
bool prepareWorkbench(Workbench& bench, const ReadFlags& flags, UserPort& user) {
  if (!allocatePictureStore(bench.store, flags.maxWidth, flags.maxHeight, user)) return false;
  bench.options.MaxPictureWidth = bench.store.maxWidth();
  bench.options.MaxPictureHeight = bench.store.maxHeight();
  bench.options.TrueColourOpenMode = flags.trueColourMode;
  bench.options.GreyRatio = flags.ratios;
  return true;
}

bool checkOutputName(const std::string& name, Context& io) {
  if (isBitmapName(stripQuotes(name)) || isRawName(stripQuotes(name))) return true;
  io.err << text::format(msg::kWithName, msg::kUnsupported, name.c_str()) << '\n';
  return false;
}

int convert(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("convert takes IN and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const ReadFlags flags = parseReadFlags(args);
  CliUserPort user(io.err, flags.raw, flags.ratios);
  if (!checkOutputName(out, io)) return 1;
  Workbench bench;
  if (!prepareWorkbench(bench, flags, user)) return 1;
  if (openPictureFiles(bench, user, &in, nullptr, false) != 0) {
    if (user.rawMissing) throw UsageError("a .raw picture needs --raw WxH[+OFF]");
    return 1;
  }
  const Palette palette = args.has("--grey-save") ? greyRamp() : bench.pictures.pictures[0].palette;
  if (writePictureFile(out, bench.pictures.width, bench.pictures.height, 1,
                       bench.store.plane(kPicture1), &palette) != 0) {
    io.err << text::format(msg::kWithName, "保存できません", out.c_str()) << '\n';
    return 1;
  }
  return 0;
}

struct Command {
  const char* help;
  std::set<std::string> valueFlags;
  std::set<std::string> switchFlags;
  std::function<int(const Arguments&, Context&)> run;
};

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table{
      {"info", {kInfoHelp, {}, {"--help"}, info}},
      {"convert",
       {kConvertHelp, {"--raw", "--true-colour", "--ratios", "--max"}, {"--grey-save", "--help"}, convert}},
  };
  return table;
}

}  // namespace

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.empty()) {
    err << kUsage;
    return 2;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    out << kUsage;
    return 0;
  }
  const auto found = commands().find(words[0]);
  if (found == commands().end()) {
    err << "vemla-cli: unknown command '" << words[0] << "'\n" << kUsage;
    return 2;
  }
  const Command& command = found->second;
  Context io{out, err};
  try {
    const Arguments args = parseArguments({words.begin() + 1, words.end()}, command.valueFlags,
                                          command.switchFlags);
    if (args.has("--help")) {
      out << command.help;
      return 0;
    }
    return command.run(args, io);
  } catch (const UsageError& error) {
    err << "vemla-cli " << words[0] << ": " << error.what() << "\n"
        << "run 'vemla-cli " << words[0] << " --help' for usage\n";
    return 2;
  }
}

}  // namespace vemla::cli
