// edit: one action of the picture edit dialog on Picture 1, through the workbench's own
// editing operations, with the dialog's coordinate and grey ranges.
#include <cstdlib>
#include <sstream>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/editing/picture_editing.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

const std::vector<std::string> kActionFlags{"--op",     "--flip",  "--invert",
                                            "--rotate", "--shift", "--table"};
const char* const kOperationNames[kEditOperationCount] = {"set", "add", "sub", "mul", "div",
                                                          "mod", "and", "or",  "xor"};

std::vector<std::string> splitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, ',')) parts.push_back(part);
  if (!text.empty() && text.back() == ',') parts.emplace_back();
  return parts;
}

// "L,T,R,B" inside the picture, L <= R and T <= B.
Rect parseRectangle(const std::string& text, int width, int height) {
  const std::vector<std::string> parts = splitCommas(text);
  if (parts.size() != 4) throw UsageError("--rect takes L,T,R,B");
  const int left = parseInt(parts[0], 0, width - 1, "--rect L");
  const int top = parseInt(parts[1], 0, height - 1, "--rect T");
  return {left, top, parseInt(parts[2], left, width - 1, "--rect R"),
          parseInt(parts[3], top, height - 1, "--rect B")};
}

// 256 integers 0..255 separated by white space. A file that cannot be read is refused (exit
// 1), not a usage error.
GreyTable readTable(const std::string& path) {
  const auto bytes = readWholeFile(path, 1 << 16);
  if (!bytes)
    throw RefusedError(text::format(msg::kWithName, text::tr(msg::kReadFailed), path.c_str()));
  std::istringstream stream(std::string(bytes->begin(), bytes->end()));
  GreyTable table{};
  std::string word;
  std::size_t count = 0;
  while (stream >> word) {
    if (count == table.size()) throw UsageError("--table: more than 256 values in " + path);
    table[count++] = static_cast<std::uint8_t>(parseInt(word, 0, 255, "--table value"));
  }
  if (count != table.size()) throw UsageError("--table: fewer than 256 values in " + path);
  return table;
}

void requireWith(const Arguments& args, const char* flag, const char* needed) {
  if (args.has(flag) && !args.has(needed)) throw UsageError(std::string(flag) + " needs " + needed);
}

// The action's fields of the dialog; returns the action flag.
std::string parseAction(const Arguments& args, EditSettings& settings, Options& options) {
  std::string action;
  for (const std::string& flag : kActionFlags) {
    if (!args.has(flag)) continue;
    if (!action.empty()) throw UsageError("edit takes one action, not " + action + " and " + flag);
    action = flag;
  }
  if (action.empty())
    throw UsageError("edit needs an action: --op, --flip, --invert, --rotate, --shift or --table");
  requireWith(args, "--value", "--op");
  requireWith(args, "--op", "--value");
  requireWith(args, "--grey", "--op");
  requireWith(args, "--grey-outside", "--grey");
  requireWith(args, "--outside", "--rect");
  requireWith(args, "--interpolate", "--table");
  requireWith(args, "--division", "--shift");
  requireWith(args, "--shift-interp", "--shift");
  if (const auto op = args.value("--op")) {
    int index = 0;
    while (index < kEditOperationCount && *op != kOperationNames[index]) ++index;
    if (index == kEditOperationCount)
      throw UsageError("--op must be set, add, sub, mul, div, mod, and, or or xor");
    settings.operation = static_cast<EditOperation>(index);
    settings.operand = *args.value("--value");
    if (settings.operand.size() > kMaxOperandText)
      throw UsageError("--value: at most 30 characters");
  }
  if (const auto grey = args.value("--grey")) {
    const auto [lower, upper] = parsePair(*grey, 0, 255, "--grey");
    settings.grey = {true, args.has("--grey-outside"), lower, upper};
  }
  if (const auto flip = args.value("--flip")) {
    if (*flip != "horizontal" && *flip != "vertical")
      throw UsageError("--flip must be horizontal or vertical");
  }
  if (const auto angle = args.value("--rotate"))
    settings.angle = parseInt(*angle, 0, kMaxRotationAngle, "--rotate");
  if (const auto shift = args.value("--shift")) {
    if (const auto n = args.value("--division")) {
      options.ShiftUnit = parseInt(*n, 2, 256, "--division");
      if ((options.ShiftUnit & (options.ShiftUnit - 1)) != 0)
        throw UsageError("--division must be 2, 4, 8, ... 256");
    }
    if (const auto mode = args.value("--shift-interp")) {
      if (*mode != "linear" && *mode != "cubic")
        throw UsageError("--shift-interp must be linear or cubic");
      options.ShiftInterpolation = *mode == "linear" ? kShiftLinear : kShiftCubic;
    }
    const std::vector<std::string> parts = splitCommas(*shift);
    if (parts.size() != 2) throw UsageError("--shift takes DX,DY");
    const int n = options.ShiftUnit;
    const long long x = parseSteps(parts[0], n, "--shift DX");
    const long long y = parseSteps(parts[1], n, "--shift DY");
    settings.right = x > 0;
    settings.down = y > 0;
    settings.pixelsX = static_cast<int>(std::llabs(x) / n);
    settings.stepsX = static_cast<int>(std::llabs(x) % n);
    settings.pixelsY = static_cast<int>(std::llabs(y) / n);
    settings.stepsY = static_cast<int>(std::llabs(y) % n);
  }
  if (const auto file = args.value("--table")) {
    settings.table = readTable(*file);
    const auto found = args.repeated.find("--interpolate");
    if (found != args.repeated.end())
      for (const std::string& pair : found->second) {
        const auto [from, to] = parsePair(pair, 0, 255, "--interpolate");
        interpolateTable(settings.table, from, to);
      }
  }
  return action;
}

int runAction(const std::string& action, const Arguments& args, Workbench& bench, UserPort& user) {
  NoBusyPort busy;
  NoProgressPort progress;
  if (action == "--op") return editOperate(bench, user, busy, progress);
  if (action == "--flip")
    return editFlip(
        bench, *args.value("--flip") == "horizontal" ? EditFlip::Horizontal : EditFlip::Vertical,
        user, busy, progress);
  if (action == "--invert") return editInvert(bench, user, busy, progress);
  if (action == "--rotate") return editRotate(bench, user, busy, progress);
  if (action == "--shift") return editShift(bench, user, busy, progress);
  return editConvert(bench, user, busy, progress);
}

int edit(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("edit takes IN and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const ReadFlags flags = parseReadFlags(args);
  EditSettings settings;
  Options options = flags.options;
  const std::string action = parseAction(args, settings, options);
  if (!checkOutputName(out, io)) return 1;
  CliUserPort user(io.err, flags.raw, flags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, flags, user)) return 1;
  bench.options.ShiftUnit = options.ShiftUnit;
  bench.options.ShiftInterpolation = options.ShiftInterpolation;
  if (openPictureFiles(bench, user, &in, nullptr, OpenMode::Both) != 0) return user.openFailed();
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (const auto rect = args.value("--rect"))
    settings.range = {true, args.has("--outside"), parseRectangle(*rect, width, height)};
  PictureEditMemory& memory = bench.shell.pictureEdit;
  memory.settings = settings;
  memory.session.picture = PictureSlot::First;
  const std::uint8_t* pixels = bench.store.plane(kPicture1);
  const std::vector<std::uint8_t> before(pixels, pixels + static_cast<std::size_t>(width) * height);
  if (runAction(action, args, bench, user) != 0) return 1;
  int changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != pixels[i];
  const Palette& palette = bench.pictures.pictures[index(PictureSlot::First)].palette;
  if (!writeOutputPicture(out, width, height, pixels, palette, io)) return 1;
  io.out << "changed=" << changed << '\n';
  return 0;
}

}  // namespace

Command editCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert({"--op", "--value", "--flip", "--rotate", "--shift", "--division", "--shift-interp",
                 "--table", "--interpolate", "--rect", "--grey"});
  return {
      "edit",
      "apply one action of the picture edit dialog to IN and write OUT",
      std::string(
          "usage: vemla-cli edit IN OUT ACTION [SELECTION] [OPTIONS]\n"
          "  Opens IN as Picture 1, applies one action of \"画像１の編集\" as the dialog does,\n"
          "  writes the picture to OUT with its palette and prints changed=N.\n"
          "actions (exactly one):\n"
          "  --op set|add|sub|mul|div|mod|and|or|xor --value TEXT\n"
          "                                \"演算実行\"; TEXT: 0x and hex digits, a decimal "
          "integer\n"
          "                                or a decimal fraction, at most 30 characters\n"
          "  --flip horizontal|vertical    \"左右\" or \"上下\"\n"
          "  --invert                      \"階調\"\n"
          "  --rotate DEG                  \"回転\" clockwise, 0..359\n"
          "  --shift DX,DY                 \"ｼﾌﾄ\" in pixels, multiples of 1/n; positive DX "
          "right,\n"
          "                                positive DY down\n"
          "  --division N                  n: 2, 4, ... 256 (default 16), with --shift\n"
          "  --shift-interp linear|cubic   with --shift (default cubic)\n"
          "  --table FILE                  \"階調値の変換\" then \"実行\"; FILE: 256 integers "
          "0..255\n"
          "  --interpolate FROM,TO         one \"補間\" of the table, repeatable, in order\n"
          "selection (default: the whole picture):\n"
          "  --rect L,T,R,B [--outside]    \"座標範囲\", corners included; \"範囲外\"\n"
          "  --grey LO,HI [--grey-outside] \"階調範囲\", with --op only\n")
          .append(kReadFlagsHelp),
      values,
      {"--invert", "--outside", "--grey-outside"},
      edit};
}

}  // namespace vemla::cli
