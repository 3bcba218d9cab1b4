#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/control_flags.h"
#include "cli/option_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "extensions/user_processing.h"
#include "picture/messages.h"
#include "processing/image_kinds.h"
#include "text/decimal_text.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/extensions/user_processing_editor.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

const std::set<std::string> kAreaFlags{"--area", "--area-method", "--area-divisor"};
const std::set<std::string> kFilterFlags{"--filter-source", "--filter-divisor"};
const std::set<std::string> kKindFlagNames{"--kind",         "--area",          "--area-method",
                                           "--area-divisor", "--user-result",   "--expr",
                                           "--filter",       "--filter-source", "--filter-divisor"};

constexpr int kFilterSide = 9;

// What the kind flags ask for: a built-in kind with its area-difference settings, or a user
// processing entry built from --expr or --filter.
struct KindFlags {
  int kind = kKindDifference;
  std::optional<std::string> userResult;
  std::optional<UserProcessingEntry> entry;
  std::optional<std::pair<int, int>> areaSize;
  std::optional<int> areaMethod;
  std::optional<double> areaDivisor;
};

// "  --kind K  image kind 0..9 (default 3): 0 picture 1, 1 picture 2, ..." from the kind table,
// in lines of at most 86 columns under the help's second column.
std::string kindFlagHelp() {
  constexpr std::size_t kColumn = 32, kWidth = 86;
  std::string text = "image kind 0.." + std::to_string(kBuiltInKindCount - 1) + " (default " +
                     std::to_string(KindFlags{}.kind) + "):";
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    text += ' ' + std::to_string(kind) + ' ' +
            imageKindTable()[static_cast<std::size_t>(kind)].cliName +
            (kind + 1 < kBuiltInKindCount ? "," : "");
  }
  std::string help = "  --kind K";
  std::size_t line = 0;  // where the last line starts
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (help.size() - line + 1 + word.size() > kWidth) {
      help += '\n';
      line = help.size();
    }
    help.resize(std::max(help.size() + 1, line + kColumn), ' ');
    help += word;
  }
  return help + '\n';
}

// GRID: rows separated by ';', cells by ','; an odd number of rows and of columns, at most 9
// each and the same number of cells in every row, centred on the 9 x 9 grid.
void parseFilterGrid(const std::string& grid, UserProcessingEntry& entry) {
  std::vector<std::vector<std::string>> rows(1);
  rows.back().emplace_back();
  for (const char c : grid) {
    if (c == ';') {
      rows.emplace_back(1);
    } else if (c == ',') {
      rows.back().emplace_back();
    } else {
      rows.back().back() += c;
    }
  }
  const std::size_t columns = rows.front().size();
  if (rows.size() % 2 == 0 || rows.size() > kFilterSide || columns % 2 == 0 ||
      columns > kFilterSide) {
    throw UsageError("--filter: needs an odd number of rows and of columns, at most 9 each");
  }
  for (const auto& row : rows) {
    if (row.size() != columns)
      throw UsageError("--filter: every row needs the same number of cells");
  }
  // Cells follow the editor's element rules (spaces dropped, an optional sign and digits with
  // at most one point, at most 10 characters), so a cell is never read differently from what
  // was meant.
  const std::size_t top = (kFilterSide - rows.size()) / 2, left = (kFilterSide - columns) / 2;
  bool anyCell = false;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < columns; ++c) {
      const std::string cell = cleanFilterElement(rows[r][c]);
      const ElementCheck check = checkFilterElement(cell, kMaxFilterElementLength);
      if (check == ElementCheck::TooLong || check == ElementCheck::Malformed) {
        const int x = static_cast<int>(left + c) - kFilterSide / 2;
        const int y = static_cast<int>(top + r) - kFilterSide / 2;
        throw UsageError(text::format(
            "--filter: the cell at (X,Y)=(%d,%d) must be a signed decimal of at most 10 characters",
            x, y));
      }
      anyCell = anyCell || check == ElementCheck::Valid;
      entry.elements[(top + r) * kFilterSide + left + c] = cell;
    }
  }
  if (!anyCell) throw UsageError("--filter: needs at least one cell with a coefficient");
}

// The divisor as the editor accepts it, and in the same form as a cell, so that it is read as
// written: a signed decimal of at most 11 characters whose value is not 0.
std::string parseFilterDivisor(const std::string& divisor) {
  if (checkFilterElement(divisor, kMaxFilterDivisorLength) != ElementCheck::Valid ||
      text::readLeadingNumber(divisor) == 0) {
    throw UsageError("--filter-divisor: needs a signed decimal of at most 11 characters, not 0");
  }
  return divisor;
}

KindFlags parseKindFlags(const Arguments& args, const ReadFlags& readFlags) {
  KindFlags flags;
  const bool expression = args.has("--expr"), filter = args.has("--filter");
  if (expression && filter) throw UsageError("--expr and --filter exclude each other");
  if ((expression || filter) && args.has("--kind"))
    throw UsageError("--kind and a user processing entry (--expr, --filter) exclude each other");
  if (const auto kind = args.value("--kind"))
    flags.kind = parseInt(*kind, 0, kBuiltInKindCount - 1, "--kind");
  for (const std::string& flag : kFilterFlags) {
    if (args.has(flag) && !filter) throw UsageError(flag + " needs --filter");
  }
  if (expression || filter) {
    flags.kind = kUserProcessingKind;
    UserProcessingEntry entry;
    entry.inUse = 1;
    entry.name = "vemla-cli";
    if (expression) {
      entry.form = 1;
      entry.expression = *args.value("--expr");
    } else {
      const auto source = args.value("--filter-source");
      if (!source) throw UsageError("--filter needs --filter-source 1|2");
      entry.form = 0;
      entry.filterPicture = parseInt(*source, 1, 2, "--filter-source") - 1;
      parseFilterGrid(*args.value("--filter"), entry);
      if (const auto divisor = args.value("--filter-divisor")) {
        entry.correction = 1;
        entry.divisor = parseFilterDivisor(*divisor);
      }
    }
    flags.entry = entry;
  }
  for (const std::string& flag : kAreaFlags) {
    if (args.has(flag) && flags.kind != kKindAreaDifference)
      throw UsageError(flag + " needs --kind 5");
  }
  if (args.has("--user-result") && flags.kind != kKindUserProgram)
    throw UsageError("--user-result needs --kind 6");
  // A window is at most 2 MaxPicture - 1 wide: every window sum then fits in 64 bits.
  if (const auto area = args.value("--area")) {
    flags.areaSize =
        parsePair(*area, 1, 2 * std::max(readFlags.maxWidth, readFlags.maxHeight) - 1, "--area");
    if (flags.areaSize->first > 2 * readFlags.maxWidth - 1 ||
        flags.areaSize->second > 2 * readFlags.maxHeight - 1) {
      throw UsageError("--area: SX at most " + std::to_string(2 * readFlags.maxWidth - 1) +
                       ", SY at most " + std::to_string(2 * readFlags.maxHeight - 1));
    }
  }
  if (const auto method = args.value("--area-method"))
    flags.areaMethod = parseOptionInt(*method, "AreaDiffKind", "--area-method");
  if (const auto divisor = args.value("--area-divisor")) {
    flags.areaDivisor = parseReal(*divisor, "--area-divisor");
    if (!(*flags.areaDivisor > 0)) throw UsageError("--area-divisor must be a positive number");
  }
  flags.userResult = args.value("--user-result");
  return flags;
}

int image(const Arguments& args, Context& io) {
  if (args.positional.size() != 3) throw UsageError("image takes P1, P2 and OUT");
  const std::string& name1 = args.positional[0];
  const std::string& name2 = args.positional[1];
  const std::string& out = args.positional[2];
  const ReadFlags readFlags = parseReadFlags(args);
  const ControlFlags control = parseControlFlags(args, std::nullopt, readFlags.options);
  const KindFlags kind = parseKindFlags(args, readFlags);
  std::optional<std::pair<std::string, std::string>> shiftedNames;
  if (const auto names = args.value("--write-shifted")) {
    const auto comma = names->find(',');
    if (comma == std::string::npos) throw UsageError("--write-shifted needs A,B");
    shiftedNames.emplace(names->substr(0, comma), names->substr(comma + 1));
  }
  if (!checkOutputName(out, io)) return 1;
  if (shiftedNames &&
      (!checkOutputName(shiftedNames->first, io) || !checkOutputName(shiftedNames->second, io))) {
    return 1;
  }

  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  std::vector<std::uint8_t> userResult;
  int resultWidth = 0, resultHeight = 0;
  if (kind.userResult &&
      !readPictureAlone(bench, user, *kind.userResult, userResult, resultWidth, resultHeight)) {
    return user.openFailed();
  }
  if (openPictureFiles(bench, user, &name1, &name2, OpenMode::Both, OpenRefresh::ByCaller) != 0)
    return user.openFailed();
  const int width = bench.pictures.width, height = bench.pictures.height;
  PictureStore& store = bench.store;
  if (kind.userResult) {
    if (resultWidth != width || resultHeight != height) {
      io.err << text::tr(msg::kSizesDiffer) << '\n';
      return 1;
    }
    std::memcpy(store.plane(kUserResult), userResult.data(), userResult.size());
  }

  applyControlFlags(control, bench);
  Options& options = bench.options;
  if (kind.areaSize) std::tie(options.AreaDiffRangeX, options.AreaDiffRangeY) = *kind.areaSize;
  if (kind.areaMethod) options.AreaDiffKind = *kind.areaMethod;
  if (kind.areaDivisor) options.AreaDiffDivisor = *kind.areaDivisor;
  bench.images.kind[index(ImageSlot::First)] = kind.kind;
  if (kind.entry) {
    bench.userEntries.processing[0] = *kind.entry;
    bench.images.userEntry[index(ImageSlot::First)] = 0;
  }
  bench.images.blankInvalid = args.has("--blank");

  NoBusyPort busy;
  NoProgressPort progress;
  // A failed alignment tells its message and goes on unshifted, as the window does.
  preparePictures(bench, user, busy);
  if (!createImage(bench, ImageSlot::First, true, false, user, busy, progress)) return 1;

  if (!writeOutputPicture(out, width, height, store.plane(kImage1), greyRamp(), io)) return 1;
  if (shiftedNames) {
    if (!writeOutputPicture(shiftedNames->first, width, height, store.plane(kShifted1),
                            bench.pictures.pictures[index(PictureSlot::First)].palette, io) ||
        !writeOutputPicture(shiftedNames->second, width, height, store.plane(kShifted2),
                            bench.pictures.pictures[index(PictureSlot::Second)].palette, io)) {
      return 1;
    }
  }
  const ImageStatistics& statistics = bench.images.statistics[index(ImageSlot::First)];
  const Rect& rectangle = statistics.rectangle;
  io.out << text::format("max=%d min=%d mean=%d sum=%lld rect=%d,%d,%d,%d", statistics.maximum,
                         statistics.minimum, statistics.mean,
                         static_cast<long long>(statistics.sum), rectangle.left, rectangle.top,
                         rectangle.right, rectangle.bottom)
         << '\n';
  return 0;
}

}  // namespace

Command imageCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.insert(kKindFlagNames.begin(), kKindFlagNames.end());
  values.insert("--write-shifted");
  return {
      "image",
      "prepare the shifted pictures of P1 and P2 and create one image",
      std::string(
          "usage: vemla-cli image P1 P2 OUT [OPTIONS]\n"
          "  Opens P1 and P2 as one two-picture open, prepares the shifted pictures, creates\n"
          "  one image, writes it to OUT (8-bit, grey-ramp palette) and prints\n"
          "  max=%d min=%d mean=%d sum=%d rect=%d,%d,%d,%d (statistics and their rectangle).\n"
          "  A failed alignment prints its message on stderr; the image is still made.\n")
          .append(kReadFlagsHelp)
          .append(kControlFlagsHelp)
          .append(kindFlagHelp())
          .append(
              "  --area SX,SY                  kind 5: window size (default the AreaDiffRangeX/Y\n"
              "                                option, {AreaDiffRangeX},{AreaDiffRangeY}), 1 .. 2 "
              "* max - 1\n"
              "  --area-method 0|1             kind 5: 0 sum of the differences, 1 difference of\n"
              "                                the sums (default AreaDiffKind, {AreaDiffKind})\n"
              "  --area-divisor D              kind 5: positive divisor (default AreaDiffDivisor, "
              "{AreaDiffDivisor})\n"
              "  --user-result FILE            kind 6: a picture of the same size as the result\n"
              "  --expr TEXT                   a user processing entry of expression form\n"
              "  --filter GRID                 a user processing entry of filter form: rows split\n"
              "                                by ';', cells by ',', an empty cell has no\n"
              "                                coefficient; odd counts, at most 9, centred;\n"
              "                                a cell is a signed decimal such as -2, 0.25, +.5\n"
              "  --filter-source 1|2           the picture the filter reads (needed by --filter)\n"
              "  --filter-divisor D            divide the filter sum by D, a signed decimal\n"
              "                                other than 0\n"
              "  --blank                       blank everything outside the statistics rectangle\n"
              "  --write-shifted A,B           also write the two shifted pictures\n"),
      values,
      {"--blank"},
      image};
}

}  // namespace vemla::cli
