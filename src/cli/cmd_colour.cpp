// colour-table (read, interpolate and write a user colour table) and colour-image (a whole
// image through a user colour table, as a 24-bit bitmap).
#include <algorithm>
#include <array>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/verbs.h"
#include "extensions/user_colours.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "processing/colour_tables.h"
#include "text/format.h"
#include "text/translate.h"

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
  if (const auto found = args.repeated.find("--interpolate");
      found != args.repeated.end() && found->second.size() > 1)
    throw UsageError("--interpolate is given twice");
  if (const auto value = args.value("--interpolate")) interpolation = parseInterpolation(*value);
  std::optional<UserColourTable> table = readColourTableOrTell(in, io);
  if (!table) return 1;
  if (interpolation) {
    interpolateColourTable(*table, interpolation->from, interpolation->to,
                           interpolation->channels);
  }
  if (!writeColourTableFile(out, *table)) {
    io.err << text::format(text::tr(msg::user_colours::kWriteError), out.c_str()) << '\n';
    return 1;
  }
  return 0;
}

// The image's values, rows top-down; nullopt after the message. The checks and messages of a
// picture opened by the workbench, without its picture store: the whole image is only mapped.
struct ImageValues {
  int width = 0, height = 0;
  std::vector<std::uint8_t> values;
};
std::optional<ImageValues> readImageValues(const std::string& in, const ReadFlags& flags,
                                           Context& io) {
  const auto refuse = [&](const std::string& message) {
    io.err << message << '\n';
    return std::nullopt;
  };
  if (!checkEightBitBitmap(in, io)) return std::nullopt;
  const int bits = probePicture(in);
  if (bits == kReadError)
    return refuse(text::format(msg::kWithName, text::tr(msg::kReadFailed), in.c_str()));
  if (bits != 8)
    return refuse(text::format(msg::kWithName, text::tr(msg::kUnsupported), in.c_str()));
  // The size from the headers (a first read into no memory) decides the buffer; the reader
  // checks it again.
  PictureRead read;
  readPictureIntoMemory(in, {}, flags.maxWidth, flags.maxHeight, flags.options.SixteenBit, read);
  const std::int64_t width = read.width;
  const std::int64_t height = read.height;
  ImageValues image;
  if (width >= 1 && width <= flags.maxWidth && height >= 1 && height <= flags.maxHeight) {
    image.values.resize(static_cast<std::size_t>(width * height));
  }
  switch (readPictureIntoMemory(in, image.values, flags.maxWidth, flags.maxHeight,
                                flags.options.SixteenBit, read)) {
    case 1:
      break;
    case kTooLarge:
      return refuse(text::format(text::tr(msg::kTooLargeWithName), text::tr(msg::kTooLarge),
                                 flags.maxWidth, flags.maxHeight, in.c_str()));
    case kReadError:
      return refuse(text::format(msg::kWithName, text::tr(msg::kReadFailed), in.c_str()));
    default:
      return refuse(text::format(msg::kWithName, text::tr(msg::kUnsupported), in.c_str()));
  }
  image.width = read.width;
  image.height = read.height;
  return image;
}

// Writes the 24-bit bitmap row by row (bottom-up, padded), each pixel the colour of its value.
bool writeColourImage(const std::string& out, const ImageValues& image, const ColourTable& pane) {
  std::array<std::array<std::uint8_t, 3>, 256> bgr{};
  for (std::size_t v = 0; v < 256; ++v) bgr[v] = {pane[v].blue, pane[v].green, pane[v].red};
  const auto width = static_cast<std::size_t>(image.width);
  const auto rowBytes = static_cast<std::size_t>(bitmapRowBytes(image.width, 3));
  if (static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(image.height) + 54 >
      0xFFFFFFFFu) {
    return false;
  }
  const BitmapHeaders headers = buildBitmapHeaders(3, image.width, image.height);
  const auto produce = [&](const ByteSink& sink) {
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    std::vector<std::uint8_t> block;
    block.reserve(std::max(kBlockBytes, rowBytes + 54));
    const auto fileHeader = headers.file.toBytes();
    const auto infoHeader = headers.info.toBytes();
    block.insert(block.end(), fileHeader.begin(), fileHeader.end());
    block.insert(block.end(), infoHeader.begin(), infoHeader.end());
    for (int row = image.height - 1; row >= 0; --row) {
      if (block.size() + rowBytes > block.capacity()) {
        if (!sink(block.data(), block.size())) return false;
        block.clear();
      }
      const std::size_t start = block.size();
      block.resize(start + rowBytes, 0);
      std::uint8_t* target = block.data() + start;
      const std::uint8_t* values = image.values.data() + static_cast<std::size_t>(row) * width;
      for (std::size_t x = 0; x < width; ++x, target += 3) {
        const auto& entry = bgr[values[x]];
        target[0] = entry[0];
        target[1] = entry[1];
        target[2] = entry[2];
      }
    }
    return sink(block.data(), block.size());
  };
  return writeFileAtomically(out, produce);
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
  const std::optional<ImageValues> image = readImageValues(in, readFlags, io);
  if (!image) return 1;
  const std::optional<UserColourTable> table = readColourTableOrTell(tableFile, io);
  if (!table) return 1;
  colours.base = colourTableOf(*table);
  if (!writeColourImage(out, *image, paneColourTable(colours))) {
    io.err << text::format(msg::kWithName, text::tr("保存できません"), out.c_str()) << '\n';
    return 1;
  }
  io.out << text::format("size=%dx%d", image->width, image->height) << '\n';
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
          "  IMAGE is an 8-bit picture of image values; TABLE is read as colour-table reads it.\n"
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
