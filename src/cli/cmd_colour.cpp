// colour-table (read, interpolate and write a user colour table) and colour-image (a whole
// image through a user colour table, as a 24-bit bitmap).
#include <vector>

#include "cli/commands.h"
#include "cli/control_flags.h"
#include "extensions/user_colours.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "processing/colour_tables.h"
#include "text/format.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

// "F,T[,CHANNELS]": two grey values and a non-empty set of the letters r, g and b.
struct Interpolation {
  int from = 0, to = 0;
  std::array<bool, 3> channels{true, true, true};
};

Interpolation parseInterpolation(const std::string& text) {
  constexpr const char* kWhat = "--interpolate";
  Interpolation result;
  const auto first = text.find(',');
  const auto second = first == std::string::npos ? first : text.find(',', first + 1);
  const std::string range = second == std::string::npos ? text : text.substr(0, second);
  std::tie(result.from, result.to) = parsePair(range, 0, 255, kWhat);
  if (second == std::string::npos) return result;
  const std::string letters = text.substr(second + 1);
  if (letters.empty()) throw UsageError("--interpolate: CHANNELS is a set of r, g and b");
  result.channels = {false, false, false};
  for (const char letter : letters) {
    const std::string_view names = "rgb";
    const auto at = names.find(letter);
    if (at == std::string_view::npos || result.channels[at])
      throw UsageError("--interpolate: CHANNELS is a set of r, g and b");
    result.channels[at] = true;
  }
  return result;
}

int colourTable(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("colour-table takes IN and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  std::optional<Interpolation> interpolation;
  if (const auto value = args.value("--interpolate")) interpolation = parseInterpolation(*value);
  std::optional<UserColourTable> table = readColourTableOrTell(in, io);
  if (!table) return 1;
  if (interpolation) {
    interpolateColourTable(*table, interpolation->from, interpolation->to,
                           interpolation->channels);
  }
  if (!writeColourTableFile(out, *table)) {
    io.err << text::format(msg::user_colours::kWriteError, out.c_str()) << '\n';
    return 1;
  }
  return 0;
}

int colourImage(const Arguments& args, Context& io) {
  if (args.positional.size() != 3) throw UsageError("colour-image takes IMAGE, TABLE and OUT");
  const std::string& in = args.positional[0];
  const std::string& tableFile = args.positional[1];
  const std::string& out = args.positional[2];
  if (!isBitmapName(out)) throw UsageError("OUT must be a .bmp file");
  PaneColours colours;
  colours.colourKind = kFirstUserColour;
  if (const auto value = args.value("--intensity"))
    colours.intensity = parseInt(*value, kMinIntensity, kMaxIntensity, "--intensity");
  if (const auto value = args.value("--brightness"))
    colours.brightness = parseInt(*value, kMinBrightness, kMaxBrightness, "--brightness");
  const ReadFlags readFlags = parseReadFlags(args);
  if (!isBitmapName(in)) {
    io.err << text::format(msg::kWithName, msg::kUnsupported, in.c_str()) << '\n';
    return 1;
  }
  const int bits = probeBitmap(in);
  if (bits == 24 || bits == 32) {
    io.err << "IMAGE must be an 8-bit .bmp, not " << bits << "-bit\n";
    return 1;
  }
  const std::optional<UserColourTable> table = readColourTableOrTell(tableFile, io);
  if (!table) return 1;

  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  // Read exactly as Picture 1 is opened: the same checks and messages.
  if (openPictureFiles(bench, user, &in, nullptr, false) != 0) return 1;
  colours.base = colourTableOf(*table);
  const ColourTable pane = paneColourTable(colours);

  // Blue, green, red per pixel, rows top-down as the store holds them.
  const auto width = static_cast<std::size_t>(bench.pictures.width);
  const auto height = static_cast<std::size_t>(bench.pictures.height);
  const std::uint8_t* values = bench.store.plane(kPicture1);
  std::vector<std::uint8_t> pixels(width * height * 3);
  std::array<std::array<std::uint8_t, 3>, 256> bgr{};
  for (std::size_t v = 0; v < 256; ++v) bgr[v] = {pane[v].blue, pane[v].green, pane[v].red};
  std::uint8_t* target = pixels.data();
  for (std::size_t i = 0; i < width * height; ++i, target += 3) {
    const auto& entry = bgr[values[i]];
    target[0] = entry[0];
    target[1] = entry[1];
    target[2] = entry[2];
  }
  if (writeBitmap(out, static_cast<int>(width), static_cast<int>(height), 3, pixels.data(),
                  nullptr) != 0) {
    io.err << text::format(msg::kWithName, "保存できません", out.c_str()) << '\n';
    return 1;
  }
  io.out << text::format("size=%dx%d", bench.pictures.width, bench.pictures.height) << '\n';
  return 0;
}

}  // namespace

std::optional<UserColourTable> readColourTableOrTell(const std::string& path, Context& io) {
  const ColourFileRead read = readColourTableFile(path);
  if (read.status == ColourFileStatus::Read) return read.table;
  io.err << colourFileMessage(read, path) << '\n';
  return std::nullopt;
}

Command colourTableCommand() {
  return {"colour-table",
          "read a user colour table, interpolate it and write it as text",
          "usage: vemla-cli colour-table IN OUT [--interpolate F,T[,CHANNELS]]\n"
          "  Reads IN as the user colour editor reads a table file (a .bmp: an 8-bit bitmap's\n"
          "  palette; else 256 text lines of red, green, blue) and writes OUT as its text\n"
          "  format, 256 lines \" %3d, %3d, %3d   # %d\".\n"
          "  --interpolate F,T[,CHANNELS]  interpolate grey values F..T (0..255) on the channels\n"
          "                                named by r, g and b (default rgb)\n",
          {"--interpolate"},
          {},
          colourTable};
}

Command colourImageCommand() {
  std::set<std::string> values{"--intensity", "--brightness", "--max"};
  return {"colour-image",
          "show a whole image through a user colour table as a 24-bit bitmap",
          "usage: vemla-cli colour-image IMAGE TABLE OUT [--intensity I] [--brightness B]\n"
          "  IMAGE is an 8-bit .bmp of image values; TABLE is read as colour-table reads it.\n"
          "  Writes OUT (.bmp), each pixel the pane colour of its value, and prints size=%dx%d.\n"
          "  --intensity I                 1..16 (default 1)\n"
          "  --brightness B                0..256 (default 128)\n"
          "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
          "multiples of 4\n"
          "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
          "win)\n",
          values,
          {},
          colourImage};
}

}  // namespace vemla::cli
