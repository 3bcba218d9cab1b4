#include "extensions/launcher.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "extensions/launcher_messages.h"
#include "picture/bitmap.h"
#include "picture/byte_source.h"
#include "picture/field_codec.h"
#include "picture/file_helpers.h"
#include "picture/picture_file.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic{'V', 'I', 'E', '0'};
constexpr std::size_t kMagicCompared = 3;
constexpr std::size_t kMaxConfirmationLines = 256;

std::array<std::int32_t*, 7> switchesOf(LauncherSettings& s) {
  return {&s.format, &s.output, &s.destination, &s.console, &s.showOutput, &s.timing, &s.close};
}

std::array<std::string*, 6> textsOf(LauncherSettings& s) {
  return {&s.program, &s.arguments, &s.files[0], &s.files[1], &s.files[2], &s.files[3]};
}

// The placeholders with a fixed replacement, in the order they are compared.
enum class Fixed { P1, P2, I1, I2, Out, F1, F2, F3, F4, SX, SY, CX, CY };
struct Placeholder {
  std::string_view text;
  Fixed meaning;
};
constexpr std::array<Placeholder, 13> kPlaceholders{{
    {"<P1>", Fixed::P1},
    {"<P2>", Fixed::P2},
    {"<I1>", Fixed::I1},
    {"<I2>", Fixed::I2},
    {"<OUT>", Fixed::Out},
    {"<F1>", Fixed::F1},
    {"<F2>", Fixed::F2},
    {"<F3>", Fixed::F3},
    {"<F4>", Fixed::F4},
    {"<SX>", Fixed::SX},
    {"<SY>", Fixed::SY},
    {"<CX>", Fixed::CX},
    {"<CY>", Fixed::CY},
}};

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (upper(text[i]) != prefix[i]) return false;
  }
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Builds the elements: text is appended to the current element, a separator closes it.
class ElementBuilder {
 public:
  void text(std::string_view part) {
    open_ = true;
    if (current_.empty() || current_.back().file >= 0) current_.push_back({});
    current_.back().text += part;
  }
  void file(int index) {
    open_ = true;
    current_.push_back({{}, index});
  }
  void open() { open_ = true; }  // a pair of quotes makes an element, even an empty one
  void close(std::vector<LaunchElement>& into) {
    if (open_) into.push_back(std::move(current_));
    current_.clear();
    open_ = false;
  }

 private:
  LaunchElement current_;
  bool open_ = false;
};

// "<G" at `at`: the slot number, optional blanks, ">". Returns the length consumed, or 0 when
// the number is missing or out of range or the ">" is missing.
std::size_t gallerySlot(std::string_view text, std::size_t at, int slots, int& slot) {
  std::size_t i = at + 2;
  std::int64_t number = 0;
  const std::size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number = std::min<std::int64_t>(number * 10 + (text[i] - '0'), INT32_MAX);
    ++i;
  }
  if (i == digits || number < 1 || number > slots) return 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i >= text.size() || text[i] != '>') return 0;
  slot = static_cast<int>(number);
  return i + 1 - at;
}

// The scan of the template: the plan it builds and the element under way.
struct TemplateScan {
  const LauncherSettings& settings;
  const LaunchInputs& inputs;
  LaunchPlan& plan;
  ElementBuilder element;

  void newFile(LaunchSource source, int slot) {
    plan.files.push_back({source, slot});
    element.file(static_cast<int>(plan.files.size()) - 1);
  }

  // The placeholder "<…" at `at`: the length it takes, or 0 for a "<" that starts none. An error
  // leaves its warning in `message`.
  std::size_t placeholder(std::string_view text, std::size_t at, std::string& message) {
    const std::string_view rest = text.substr(at);
    const auto fixed =
        std::find_if(kPlaceholders.begin(), kPlaceholders.end(),
                     [&](const Placeholder& p) { return startsWithNoCase(rest, p.text); });
    if (fixed != kPlaceholders.end()) {
      message = replaceFixed(*fixed);
      return fixed->text.size();
    }
    if (!startsWithNoCase(rest, "<G")) return 0;
    int slot = 0;
    const std::size_t used = gallerySlot(text, at, inputs.gallerySlots, slot);
    if (used == 0) {
      message = text::tr(launcher_msg::kBadGalleryNumber);
    } else if (!inputs.slotIsGreyPicture || !inputs.slotIsGreyPicture(slot)) {
      message = text::tr(launcher_msg::kGalleryNotGrey);
    } else {
      newFile(LaunchSource::Gallery, slot);
    }
    return used;
  }

  // Puts in what a fixed placeholder stands for; the warning of an error, or "".
  std::string replaceFixed(const Placeholder& fixed) {
    switch (fixed.meaning) {
      case Fixed::P1:
        newFile(LaunchSource::Picture1, 0);
        break;
      case Fixed::P2:
        newFile(LaunchSource::Picture2, 0);
        break;
      case Fixed::I1:
        newFile(LaunchSource::Image1, 0);
        break;
      case Fixed::I2:
        newFile(LaunchSource::Image2, 0);
        break;
      case Fixed::Out:
        if (plan.outputFile >= 0) return text::tr(launcher_msg::kTwoOutputs);
        newFile(LaunchSource::Output, 0);
        plan.outputFile = static_cast<int>(plan.files.size()) - 1;
        break;
      case Fixed::F1:
      case Fixed::F2:
      case Fixed::F3:
      case Fixed::F4: {
        const std::string& file = settings.files[static_cast<std::size_t>(fixed.meaning) -
                                                 static_cast<std::size_t>(Fixed::F1)];
        if (file.empty()) {
          return text::format(text::tr(launcher_msg::kBadFileArgument),
                              std::string(fixed.text).c_str());
        }
        element.text(file);
        break;
      }
      case Fixed::SX:
        element.text(std::to_string(inputs.width));
        break;
      case Fixed::SY:
        element.text(std::to_string(inputs.height));
        break;
      case Fixed::CX:
        element.text(std::to_string(inputs.cursorX));
        break;
      case Fixed::CY:
        element.text(std::to_string(inputs.cursorY));
        break;
    }
    return {};
  }
};

}  // namespace

std::array<std::uint8_t, kLaunchFileBytes> encodeLaunchFile(const LauncherSettings& settings) {
  std::array<std::uint8_t, kLaunchFileBytes> bytes{};
  FieldWriter w(bytes);
  w.bytes(kMagic);
  LauncherSettings copy = settings;
  for (const std::string* text : textsOf(copy)) w.text(*text, kLaunchTextBytes);
  for (const std::int32_t* value : switchesOf(copy)) w.int32(*value);
  return bytes;
}

LaunchFileStatus decodeLaunchFile(std::span<const std::uint8_t> bytes, LauncherSettings& settings) {
  if (bytes.size() < kLaunchFileBytes) return LaunchFileStatus::Short;
  if (!std::equal(kMagic.begin(), kMagic.begin() + kMagicCompared, bytes.begin())) {
    return LaunchFileStatus::NotLaunchFile;
  }
  LauncherSettings read = settings;
  FieldReader r(bytes.subspan(0, kLaunchFileBytes));
  r.skip(kMagic.size());
  for (std::string* text : textsOf(read)) {
    const std::span<const std::uint8_t> field = bytes.subspan(r.position(), kLaunchTextBytes);
    bool valid = std::find(field.begin(), field.end(), 0) != field.end();
    *text = r.text(kLaunchTextBytes, &valid);
    if (!valid) return LaunchFileStatus::NotLaunchFile;
  }
  for (std::int32_t* value : switchesOf(read)) *value = r.int32();
  if (read.destination < 0 || read.destination > 2) read.destination = 0;
  for (std::int32_t* value : switchesOf(read)) {
    if (value != &read.destination && *value != 0 && *value != 1) *value = 0;
  }
  settings = std::move(read);
  return LaunchFileStatus::Ok;
}

const char* launchExtension(const LauncherSettings& settings) {
  return settings.format == 1 ? ".raw" : ".bmp";
}

std::string launchFileDescription(LaunchSource source, const char* extension) {
  static constexpr std::array<const char*, 6> kDescriptions{
      text::N_("画像1のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ"),  text::N_("画像2のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ"),
      text::N_("ｲﾒｰｼﾞ1のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ"), text::N_("ｲﾒｰｼﾞ2のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ"),
      text::N_("出力先のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ"), text::N_("ｷﾞｬﾗﾘｰのﾃﾝﾎﾟﾗﾘﾌｧｲﾙ")};
  return std::string(text::tr(kDescriptions[static_cast<std::size_t>(source)])) + extension;
}

LaunchBuild buildLaunchPlan(const LauncherSettings& launch, const LaunchInputs& inputs) {
  LaunchBuild build;
  if (launch.program.empty()) {
    build.message = text::tr(launcher_msg::kBadProgram);
    return build;
  }
  build.plan.elements.push_back({{launch.program, -1}});
  TemplateScan scan{launch, inputs, build.plan, {}};
  const std::string_view text = launch.arguments;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
      scan.element.open();
      ++i;
    } else if (!quoted && isBlank(c)) {
      scan.element.close(build.plan.elements);
      ++i;
    } else if (quoted || c != '<') {
      scan.element.text(text.substr(i, 1));
      ++i;
    } else {
      const std::size_t used = scan.placeholder(text, i, build.message);
      if (!build.message.empty()) return build;
      if (used == 0) scan.element.text("<");
      i += std::max<std::size_t>(used, 1);
    }
  }
  scan.element.close(build.plan.elements);
  if (launch.output == 1 && build.plan.outputFile < 0) {
    build.message = text::tr(launcher_msg::kOutputNeeded);
  }
  return build;
}

std::vector<std::string> launchArguments(const LaunchPlan& plan,
                                         const std::vector<std::string>& names) {
  std::vector<std::string> arguments;
  for (const LaunchElement& element : plan.elements) {
    std::string joined;
    for (const LaunchSegment& segment : element) {
      joined += segment.file >= 0 ? names.at(static_cast<std::size_t>(segment.file)) : segment.text;
    }
    arguments.push_back(std::move(joined));
  }
  return arguments;
}

std::vector<std::string> confirmationLines(const LaunchPlan& plan, const char* extension) {
  std::vector<std::string> descriptions;
  for (const LaunchFile& file : plan.files) {
    descriptions.push_back(launchFileDescription(file.source, extension));
  }
  const std::vector<std::string> arguments = launchArguments(plan, descriptions);
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < arguments.size() && i < kMaxConfirmationLines; ++i) {
    lines.push_back("argv[" + std::to_string(i) + "]:" + arguments[i]);
  }
  return lines;
}

namespace {

std::string withName(const char* format, const std::string& name) {
  return text::format(text::tr(format), name.c_str());
}

// "The output bitmap file" followed by what is wrong with it.
std::string outputBitmapPattern(const char* tail) {
  return std::string(text::tr(launcher_msg::kOutputBitmap)) + text::tr(tail);
}

std::string bitmapMessage(const char* tail, const std::string& name) {
  return text::format(outputBitmapPattern(tail).c_str(), name.c_str());
}

}  // namespace

std::string readLaunchOutput(const std::string& path, bool raw, int width, int height,
                             const RgbRatio& ratios, std::span<std::uint8_t> destination) {
  const std::uint64_t pixels =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (width < 1 || height < 1 || destination.size() < pixels) {
    return withName(raw ? launcher_msg::kOutputRawFailed : launcher_msg::kOutputReadFailed, path);
  }
  FileSource in(path);
  if (raw) {
    // Exactly width x height bytes: a byte more or less is refused.
    std::uint8_t beyond = 0;
    if (!in.isOpen() || in.read(destination.data(), pixels) != pixels || in.read(&beyond, 1) != 0) {
      return withName(launcher_msg::kOutputRawFailed, path);
    }
    return {};
  }
  // The headers first, for the messages (a read into no memory stops after them); then the
  // whole file through the reader, which takes no more than the headers' rows. Any picture
  // file is taken, by its first bytes.
  if (!in.isOpen()) return bitmapMessage(launcher_msg::kOutputReadFailed, path);
  const int bits = probePicture(path);
  if (bits == kReadError) return bitmapMessage(launcher_msg::kOutputReadFailed, path);
  if (bits == kUnsupported) return bitmapMessage(launcher_msg::kOutputUnsupported, path);
  if (bits != 8) return bitmapMessage(launcher_msg::kOutputNot256, path);
  PictureRead read;
  readPictureIntoMemory(path, {}, width, height, {}, read);
  if (read.width != width || read.height != height) {
    return text::format(outputBitmapPattern(launcher_msg::kOutputSize).c_str(), width, height);
  }
  const int status =
      readPictureIntoMemory(path, destination.first(pixels), width, height, {}, read);
  if (status == kUnsupported) return bitmapMessage(launcher_msg::kOutputUnsupported, path);
  if (status != 1) return bitmapMessage(launcher_msg::kOutputReadFailed, path);
  if (read.palette != greyRamp()) {
    std::array<std::uint8_t, 256> grey{};
    for (std::size_t v = 0; v < grey.size(); ++v) {
      const std::uint8_t* entry = read.palette.data() + 4 * v;  // blue, green, red, 0
      grey[v] = greyFromBgr(entry[0], entry[1], entry[2], ratios);
    }
    for (std::uint8_t& value : destination.first(pixels)) value = grey[value];
  }
  return {};
}

std::vector<std::string> resultLines(const ProgramOutput& output, bool outputMissing, bool timing,
                                     bool showOutput) {
  std::vector<std::string> lines;
  if (outputMissing) lines.emplace_back(text::tr(launcher_msg::kNoOutput));
  if (timing) {
    lines.push_back(text::tr("（処理時間） ") + std::to_string(output.milliseconds) + "(msec)");
  }
  if (output.endedBySignal()) {
    lines.push_back(text::format(text::tr(launcher_msg::kEndedBySignal), output.signal));
  } else if (output.exitStatus != 0) {
    lines.push_back(text::format(text::tr(launcher_msg::kExitStatus), output.exitStatus));
  }
  const bool failed = output.endedBySignal() || output.exitStatus != 0;
  auto split = [&lines](std::string_view text) {
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      lines.emplace_back(line);
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  };
  if (showOutput) split(output.out);
  if ((showOutput || failed) && !output.err.empty()) {
    lines.emplace_back("---------------------------------");
    split(output.err);
  }
  return lines;
}

}  // namespace vemla
