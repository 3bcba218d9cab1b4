#pragma once
// The user program launcher's pure parts: the launch file (.vie) and the argument builder that
// turns the template into the program's argument vector. No shell ever sees the template: a
// double quote only groups blanks into one element, and a substituted value (a path, a number,
// the operator's file) stays inside the element where its placeholder stands, unsplit.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "extensions/launcher_settings.h"
#include "ports/ports.h"

namespace vemla {

// ---- Launch file: "VIE0", program, template, four files (512 bytes each, CP932, NUL ended),
// then format, output, destination, console, show output, timing and close (int32 each).
inline constexpr std::size_t kLaunchFileBytes = 3104;
inline constexpr std::size_t kLaunchTextBytes = 512;

std::array<std::uint8_t, kLaunchFileBytes> encodeLaunchFile(const LauncherSettings& settings);

enum class LaunchFileStatus { Ok, Short, NotLaunchFile };
// Accepts a file whose first three bytes are "VIE". A text field without a NUL in its 512
// bytes, or not CP932, makes the file foreign (NotLaunchFile); switches other than 0/1 and a
// destination outside 0..2 read as 0. `settings` is changed only on Ok.
LaunchFileStatus decodeLaunchFile(std::span<const std::uint8_t> bytes, LauncherSettings& settings);

// ---- Argument builder.
enum class LaunchSource { Picture1, Picture2, Image1, Image2, Output, Gallery };

// A temporary file the run writes (or, for the output, reserves) before the program starts.
struct LaunchFile {
  LaunchSource source = LaunchSource::Picture1;
  int slot = 0;  // gallery slot number, 1-based
};

// Part of an argument element: literal text, or the name of temporary file `file`.
struct LaunchSegment {
  std::string text;
  int file = -1;
};
using LaunchElement = std::vector<LaunchSegment>;

struct LaunchPlan {
  std::vector<LaunchElement> elements;  // [0] is the program
  std::vector<LaunchFile> files;
  int outputFile = -1;  // index into `files` of <OUT>, or -1
};

struct LaunchInputs {
  int width = 0, height = 0;                        // <SX>, <SY>
  int cursorX = 0, cursorY = 0;                     // <CX>, <CY>
  int gallerySlots = 0;                             // <Gn> needs 1 <= n <= gallerySlots
  std::function<bool(int slot)> slotIsGreyPicture;  // a 256-colour picture in slot n
};

struct LaunchBuild {
  LaunchPlan plan;
  std::string message;  // the first error's warning; empty on success
};

// Scans the template. The first error stops the build with its message.
LaunchBuild buildLaunchPlan(const LauncherSettings& settings, const LaunchInputs& inputs);

// ".bmp" or ".raw" for the settings' format.
const char* launchExtension(const LauncherSettings& settings);
// The description "確認" shows for a temporary file ("画像1のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmp").
std::string launchFileDescription(LaunchSource source, const char* extension);

// Each element with its temporary files named by `names` (one per plan file).
std::vector<std::string> launchArguments(const LaunchPlan& plan,
                                         const std::vector<std::string>& names);
// The lines "argv[%d]:%s" of "確認", at most 256, temporary files by their descriptions.
std::vector<std::string> confirmationLines(const LaunchPlan& plan, const char* extension);

// ---- Reading the program's output back.
// Fills `destination` (width * height bytes, rows top-down) from the output file: a raw file
// must hold exactly width * height bytes; a bitmap must be 8-bit, of a supported layout and of
// the pictures' size, and is taken byte for byte when its colour table is the grey ramp, else
// converted to grey through its colour table with `ratios`. Only regular files are read, never
// more than the expected size + 1 bytes. Returns the warning, empty on success; `destination`
// may be overwritten on failure.
std::string readLaunchOutput(const std::string& path, bool raw, int width, int height,
                             const RgbRatio& ratios, std::span<std::uint8_t> destination);

// ---- Result list.
struct ProgramOutput {
  std::string out, err;  // captured standard output and error (already cut)
  std::int64_t milliseconds = 0;
  int exitStatus = 0;  // the status the program exited with
  int signal = 0;      // the signal that ended it; 0 when it exited
  // A program ended by a signal failed: its output file is not taken.
  bool endedBySignal() const { return signal != 0; }
};
// The lines of the result list: the missing-output warning, the time, a failure line ("（終了ｺｰﾄﾞ）
// %d" for a non-zero exit status, "（異常終了） ｼｸﾞﾅﾙ %d" for a signal), then standard output and,
// after a rule, standard error, split at LF with a CR before it dropped. Standard error is
// listed after a failure even when `showOutput` is off.
// The words of the list are in the language in use; compare with text::tr of a message.
std::vector<std::string> resultLines(const ProgramOutput& output, bool outputMissing, bool timing,
                                     bool showOutput);

}  // namespace vemla
