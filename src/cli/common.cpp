#include <filesystem>
#include <sstream>
#include <tuple>

#include "cli/command.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "persist/own_options.h"
#include "persist/program_settings.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "picture/picture_writing.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/live_records.h"
#include "workbench/settings/settings_session.h"

namespace vemla::cli {

Options settingsOptions(const Arguments& args, std::ostream* notices) {
  const std::optional<std::string> folder = args.value(kSettingsFlag);
  if (!folder) return Options{};
  std::error_code error;
  if (!std::filesystem::is_directory(*folder, error)) {
    throw UsageError("--settings: '" + *folder + "' is not a folder");
  }
  persist::ProgramSettings settings;
  settings.options = persist::startOptions(*folder);
  std::ostringstream messages;
  CliUserPort port(messages, std::nullopt, RgbRatio{});
  bool keepBad = false;
  const persist::LoadStatus status =
      persist::loadProgramSettings(*folder, settings, port, false, keepBad);
  if (status == persist::LoadStatus::ReadFailed || status == persist::LoadStatus::VersionMismatch) {
    std::string text = messages.str();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    throw RefusedError(text);
  }
  // A file cut short is read as far as it goes; what is missing takes the factory values.
  if (status == persist::LoadStatus::Truncated && notices != nullptr) {
    *notices << "vemla-cli: " << inFolder(*folder, persist::kProgramSettingsFile)
             << " is damaged (shorter than its version needs): the factory settings are used "
                "for what is missing\n";
  }
  // The program's own options file: lines it does not understand take the factory values.
  const persist::LoadStatus own = persist::loadOwnOptions(*folder, settings.options, port);
  if (own == persist::LoadStatus::ReadFailed) {
    std::string text = messages.str();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    throw RefusedError(text);
  }
  if (own == persist::LoadStatus::Truncated && notices != nullptr) {
    *notices << "vemla-cli: " << inFolder(*folder, persist::kOwnOptionsFile)
             << " has lines it does not understand: the factory settings are used for them\n";
  }
  return settings.options;
}

ReadFlags parseReadFlags(const Arguments& args) {
  ReadFlags flags;
  flags.settingsFolder = args.value(kSettingsFlag).value_or("");
  flags.options = settingsOptions(args);
  flags.maxWidth = flags.options.MaxPictureWidth;
  flags.maxHeight = flags.options.MaxPictureHeight;
  flags.trueColourMode = flags.options.TrueColourOpenMode;
  flags.ratios = flags.options.GreyRatio;
  if (const auto max = args.value("--max"))
    std::tie(flags.maxWidth, flags.maxHeight) = parseMaxSize(*max);
  if (const auto rawText = args.value("--raw"))
    flags.raw = parseRawSize(*rawText, flags.maxWidth, flags.maxHeight);
  if (const auto mode = args.value("--true-colour")) {
    if (*mode == "grey") {
      flags.trueColourMode = kTrueColourGrey;
    } else if (*mode == "quantize") {
      flags.trueColourMode = kTrueColourQuantize;
    } else {
      throw UsageError("--true-colour must be quantize or grey");
    }
  }
  if (const auto ratios = args.value("--ratios")) flags.ratios = parseRatios(*ratios);
  flags.sixteenBit = flags.options.SixteenBit;
  if (const auto rule = args.value("--sixteen")) {
    const std::optional<SixteenBitConversion> parsed = persist::parseSixteenBitText(*rule);
    if (!parsed)
      throw UsageError("--sixteen must be auto, top or window:LO,HI (0 <= LO < HI <= 65535)");
    flags.sixteenBit = *parsed;
  }
  return flags;
}

bool prepareWorkbench(Workbench& bench, const ReadFlags& flags, UserPort& user) {
  const persist::StartRequest request{flags.settingsFolder,
                                      std::pair{flags.maxWidth, flags.maxHeight}};
  if (!persist::startWorkbench(bench, user, request)) return false;
  // Only the options come from --settings: the windows' records keep their factory values.
  persist::resetProgramRecord(bench);
  bench.images.selections = {};
  bench.images.marks = {};
  bench.importer = {};
  bench.options.TrueColourOpenMode = flags.trueColourMode;
  bench.options.GreyRatio = flags.ratios;
  bench.options.SixteenBit = flags.sixteenBit;
  return true;
}

bool readPictureAlone(Workbench& bench, CliUserPort& user, const std::string& name,
                      std::vector<std::uint8_t>& pixels, int& width, int& height) {
  if (openPictureFiles(bench, user, &name, nullptr, OpenMode::Both) != 0) return false;
  width = bench.pictures.width;
  height = bench.pictures.height;
  const std::uint8_t* plane = bench.store.plane(kPicture1);
  pixels.assign(plane, plane + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return true;
}

bool checkEightBitBitmap(const std::string& name, Context& io) {
  // A file of another type is a refused open, as in the workbench, not a usage error.
  if (!isPictureName(name)) {
    io.err << text::format(msg::kWithName, text::tr(msg::kUnsupported), name.c_str()) << '\n';
    return false;
  }
  const int bits = probePicture(name);
  if (bits == 24 || bits == 32) {
    io.err << name << " must be an 8-bit picture, not " << bits << "-bit\n";
    return false;
  }
  return true;
}

bool checkOutputName(const std::string& name, Context& io) {
  const std::string_view bare = stripQuotes(name);
  if (isBitmapName(bare) || isRawName(bare) || isPngName(bare) || isTiffName(bare)) return true;
  io.err << text::format(msg::kWithName, text::tr(msg::kUnsupported), name.c_str()) << '\n';
  return false;
}

bool writeOutputPicture(const std::string& name, int width, int height, const std::uint8_t* pixels,
                        const Palette& palette, Context& io) {
  if (writePictureFile(name, width, height, 1, pixels, &palette) == 0) return true;
  io.err << text::format(msg::kWithName, text::tr(msg::kSaveFailed), name.c_str()) << '\n';
  return false;
}

}  // namespace vemla::cli
