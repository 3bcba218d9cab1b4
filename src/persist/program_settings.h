#pragma once
// The program settings file VemlaPinf.dat: the magic "VIP" and a version digit (0, 1 or 2),
// the maximum picture size (version 1 and later) and the settings record of 92 fields, laid out
// by the field table below. The options are read and written through the option table, the
// image control's selections and marks and the importer's settings are the records of their
// subsystems, and the rest of the record is kept here with reserved bytes carried unchanged.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extensions/launcher_settings.h"
#include "net/importer_settings.h"
#include "options/options.h"
#include "picture/field_codec.h"
#include "persist/settings_io.h"
#include "picture/last_files.h"
#include "processing/image_control.h"
#include "processing/picture_control.h"
#include "tools/gradation_values.h"

namespace vemla::persist {

inline constexpr int kProgramSettingsVersion = 2;
inline constexpr std::size_t kProgramHeaderBytes = 12;  // magic and the maximum size
inline constexpr std::size_t kProgramRecordBytes = 12032;
inline constexpr std::size_t kProgramRecordBytesBeforeVersion2 = 11708;
// The most the reader takes from the file (the work area of the original record reader).
inline constexpr std::size_t kProgramWorkAreaBytes = 227352;

// Fields 36-41, the picture-control and image-control settings, one word each: the automatic
// alignment's criterion (0 "高速", 1 "標準"), precision p, search range R, target picture (0
// picture 1, 1 picture 2) and cursor range Rc, then the image control's switches as bits (see
// kSwitch*). Six zero words are what files written before these were kept hold: they stand for
// "nothing stored".
enum ControlWord : std::size_t {
  kWordCriterion,
  kWordPrecision,
  kWordRange,
  kWordTarget,
  kWordCursorRange,
  kWordSwitches,
};
inline constexpr std::int32_t kSwitchCursorShown = 1 << 0;   // "ｶｰｿﾙ": the cursor is drawn
inline constexpr std::int32_t kSwitchFineMovement = 1 << 1;  // "微動": the arrows move finely
inline constexpr std::int32_t kSwitchColourBars = 1 << 2;  // "ﾊﾟﾚｯﾄ": the colour bars are shown
inline constexpr std::int32_t kSwitchBlankInvalid = 1 << 3;  // "有効範囲": blank the invalid area
// The other bits are written as 0 and ignored when read.

struct GradationToolSettings {
  std::int32_t state = 0;  // tool state word, interpreted by the tool
  // Four 3 x 3 operators, coefficients in row order, and their absolute-value flags.
  std::array<std::array<std::int32_t, 9>, 4> operators{{
      tools::kDefaultGradationOperators[0].coefficients,
      tools::kDefaultGradationOperators[1].coefficients,
      tools::kDefaultGradationOperators[2].coefficients,
      tools::kDefaultGradationOperators[3].coefficients,
  }};
  std::array<std::int32_t, 4> absolute{1, 1, 1, 1};
  bool operator==(const GradationToolSettings&) const = default;
};

// The state memory's settings (workbench/settings/state_memory.h).
struct StateMemorySettings {
  std::int32_t confirm = 1;      // "確認ﾒｯｾｰｼﾞ表示"
  std::int32_t displayOnly = 0;  // "表示形態のみ回復"
  std::string lastFile;          // last named state-memory file
  bool operator==(const StateMemorySettings&) const = default;
};

// The main window's place and size.
struct WindowRectangle {
  std::int32_t x = 0, y = 0, width = 1280, height = 1024;
  bool operator==(const WindowRectangle&) const = default;
};

// The settings record apart from the options and the records handed in with them
// (ProgramSettings). The workbench takes the fields its subsystems own into their live records
// once at start and puts them back before every save (workbench/settings/live_records.h); the
// reserved bytes and the fields no subsystem owns are carried unchanged.
struct ProgramRecord {
  LastFiles lastFiles;  // the main window's file dialogs
  std::array<std::int32_t, 5> reservedWords{};
  std::array<std::int32_t, 6> controlWords{};  // indexed by ControlWord
  std::array<std::uint32_t, 2> spareColourPair{};
  std::array<std::uint8_t, 32> marksReserved{};
  std::array<std::int32_t, 2> textExport{};
  std::array<std::uint32_t, 4> spareColours{};
  std::array<std::uint32_t, 16> customColours{};  // of the system colour chooser
  GradationToolSettings gradationTool;
  std::int32_t profileTool = 0;
  LauncherSettings launcher;
  std::array<std::uint8_t, 576> launcherReserved{};
  StateMemorySettings stateMemory;
  std::array<std::uint8_t, 64> stateMemoryReserved{};
  std::array<std::uint8_t, 112> networkReserved{};
  RgbRatio lastDialogRatios{};   // last ratios entered in the RGB-ratio dialog
  ValidRangeSetting validRange;  // of the picture control
  WindowRectangle window;
  std::array<std::uint8_t, 16> archiveReserved{};
  std::array<std::uint8_t, 4> areaPadding{};
  std::array<std::uint8_t, 16> areaReserved{};
  std::array<std::int32_t, 6> carryOverReserved{};
  std::int32_t reducedMeasureWarningShown = 0;
  bool operator==(const ProgramRecord&) const = default;
};

// What the file holds: the records of the subsystems it is handed, and the rest.
struct ProgramSettings {
  Options options;
  ImageControlSelections imageControl;
  DisplayMarks marks{};
  net::ImporterSettings importer;
  ProgramRecord record;
  bool operator==(const ProgramSettings&) const = default;
};

// One field of the settings record.
struct SettingsField {
  std::string_view content;  // what it holds, for tests and diagnostics
  std::uint32_t size;
  int version;  // absent from files whose version digit is lower
  std::function<void(const ProgramSettings&, FieldWriter&)> encode;
  std::function<void(FieldReader&, ProgramSettings&)> decode;
};
std::span<const SettingsField> programSettingsFields();

// The record in the layout of `version` (0, 1 or 2).
std::vector<std::uint8_t> encodeProgramRecord(const ProgramSettings& settings, int version);

// The whole file: "VIP2", the maximum size and the version 2 record.
std::vector<std::uint8_t> encodeProgramSettings(const ProgramSettings& settings);

// Reads a whole file's bytes into `settings`, whose values stand for fields the file does not
// carry and for wrong values. The header's maximum size is skipped (the caller holds the size
// in use). On ReadFailed and VersionMismatch `settings` is unchanged.
LoadStatus decodeProgramSettings(std::span<const std::uint8_t> bytes, ProgramSettings& settings);

// The corrected maximum picture size from the header of a version 1 or later file, or nullopt
// (the file is absent, unreadable, foreign or of version 0). Never creates the file.
std::optional<std::pair<int, int>> decodeMaxPictureSize(std::span<const std::uint8_t> bytes);
std::optional<std::pair<int, int>> readMaxPictureSize(const std::string& folder);

// Loads the file of `folder` into `settings`, telling the operator about a foreign, newer or
// unreadable file. An absent or empty file is created from `settings` when `mayCreate`.
LoadStatus loadProgramSettings(const std::string& folder, ProgramSettings& settings, UserPort& user,
                               bool mayCreate, bool& keepBad);

// Writes the file with the maximum size `settings.options` holds for the next start.
bool saveProgramSettings(const std::string& folder, const ProgramSettings& settings, UserPort& user,
                         bool& keepBad);

// Puts the values of the non-option fields that have a known range back to their defaults
// when they are outside it.
void sanitizeProgramRecord(ProgramRecord& record);

}  // namespace vemla::persist
