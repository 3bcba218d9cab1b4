#pragma once
// State-memory files (.vic): magic "VIC0", the 1648-byte state record, a 64-byte extension
// (format 2 and later), the drawing headers and palettes of both pictures, then the unshifted
// Picture 1, Picture 2 and the user-program result, W x H bytes each. The record's fields are
// plain numbers and texts here; what they mean to the workbench is decided by its state-memory
// operations.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/palette.h"

namespace vemla::persist {

inline constexpr std::size_t kStateMagicBytes = 4;
inline constexpr std::size_t kStateRecordBytes = 1648;
inline constexpr std::size_t kStateExtensionBytes = 64;
inline constexpr std::size_t kStateDrawingHeaderBytes = 54;  // file header and information header
inline constexpr std::size_t kStatePaletteBytes = 1024;
inline constexpr std::int32_t kStateFormat = 2;  // the format written
inline constexpr std::size_t kStateNameBytes = 512;
inline constexpr std::size_t kStateEntryNameBytes = 36;
inline constexpr int kStateDrawingWidth = 232;  // the picture pane raster the headers describe
inline constexpr int kStateDrawingHeight = 244;

// Results of reading a whole state file.
inline constexpr int kStateOk = 0;
inline constexpr int kStateReadFailed = -1;
inline constexpr int kStateNotStateFile = -2;
inline constexpr int kStateTooLarge = -3;
// Results of reading only the header.
inline constexpr int kStateHeaderNotStateFile = 254;
inline constexpr int kStateHeaderReadError = 255;

struct StateRecord {
  std::int32_t format = kStateFormat;
  std::int32_t width = 0, height = 0;
  std::array<std::string, 2> names;
  // Valid range setting: kind, W and H it was set for, x0, y0, x1, y1, margin.
  std::array<std::int32_t, 8> validRange{};
  std::int32_t division = 0;  // sub-pixel division of the shift when saved
  // Alignment settings: on, criterion, precision, range, target, cursor range.
  std::array<std::int32_t, 6> alignment{};
  // Alignment result: x flag, y flag, whole x, whole y, steps x, steps y, valid; then the keys
  // it was found for: rectangle x0, y0, x1, y1, criterion, range, target, division, precision.
  std::array<std::int32_t, 16> alignmentResult{};
  // Manual shift: on, target, left, right, up, down, whole x, whole y, steps x, steps y, pad
  // step, then zero.
  std::array<std::int32_t, 12> manualShift{};
  // Two manual shift marks of (valid, target, x direction, whole x, steps x, y direction,
  // whole y, steps y), then zeros.
  std::array<std::int32_t, 32> shiftMarks{};
  std::array<std::int32_t, 3> reference{};       // the point "S": valid, x, y
  std::array<std::int32_t, 4> displayOffsets{};  // extraction offsets x, y; fine x, y
  std::array<std::int32_t, 2> centre{};          // the cursor
  std::array<std::int32_t, 2> gridOffsets{};     // gx, gy in view pixels
  std::int32_t cursorShown = 0;
  std::int32_t fineMovement = 0;
  std::int32_t blankInvalid = 0;
  std::array<std::int32_t, 12> displayMarks{};  // four (valid, x, y)
  std::array<std::int32_t, 2> kinds{};
  std::array<std::string, 2> processingNames;  // user processing entry of a kind 99
  std::int32_t magnification = 1;
  std::int32_t interpolation = 0;
  std::int32_t colourDisplay = 0;
  std::array<std::int32_t, 2> colours{};
  std::array<std::string, 2> colourNames;  // user colour entry of a colour >= 16
  // Range extraction: on 1, on 2, lower 1, upper 1, lower 2, upper 2, linked.
  std::array<std::int32_t, 7> rangeExtraction{};
  std::int32_t grid = 0;
  std::int32_t gridWidth = 0;
  std::int32_t reducedDisplay = 0;  // in the extension; 0 for a format below 2
  bool operator==(const StateRecord&) const = default;
};

std::array<std::uint8_t, kStateRecordBytes> encodeStateRecord(const StateRecord& record);
// Decodes the record (not the magic; reducedDisplay, which lives in the extension, becomes 0).
// kStateNotStateFile when a text field has no terminating
// zero inside its field or is not CP932; `record` is then unchanged.
int decodeStateRecord(std::span<const std::uint8_t, kStateRecordBytes> bytes, StateRecord& record);

// What a well-formed record must hold before anything is taken from it: 0, kStateNotStateFile
// (size below 8, a division that is not a power of two in 2..256) or kStateTooLarge.
int checkStateRecord(const StateRecord& record, int maxWidth, int maxHeight);

// Where the pixels begin for the record's format.
std::uint64_t statePixelOffset(std::int32_t format);

// The pictures' palettes and the three planes (W x H bytes each) saved with the record.
struct StatePlanes {
  std::array<const std::uint8_t*, 3> planes{};  // Picture 1, Picture 2, user-program result
};

// Replaces `path` atomically with the state; false on any failure (the previous file stays).
bool saveStateFile(const std::string& path, const StateRecord& record,
                   const std::array<Palette, 2>& palettes, const StatePlanes& planes);

// The same bytes in memory (empty for a record without a size or a missing plane); the seeds
// of the fuzz target and the tests are made with it.
std::vector<std::uint8_t> encodeStateFile(const StateRecord& record,
                                          const std::array<Palette, 2>& palettes,
                                          const StatePlanes& planes);

// Reads the magic and the record: 0, kStateHeaderNotStateFile or kStateHeaderReadError.
int readStateHeader(const std::string& path, StateRecord& record);

// Reads a whole state file for a store of maxWidth x maxHeight planes: the record, and unless
// `recordOnly` the palettes and the three planes into `scratch` (three spans of at least W x H
// bytes). Returns 0 or kStateReadFailed / kStateNotStateFile / kStateTooLarge; only a result of
// 0 means that `record`, `palettes` and `scratch` hold the file's contents.
int readStateFile(const std::string& path, int maxWidth, int maxHeight, bool recordOnly,
                  StateRecord& record, std::array<Palette, 2>& palettes,
                  std::array<std::span<std::uint8_t>, 3> scratch);

// Decodes a state file held in memory in the same way (used by the fuzz target and the tests
// of the layout).
int decodeStateFile(std::span<const std::uint8_t> bytes, int maxWidth, int maxHeight,
                    bool recordOnly, StateRecord& record, std::array<Palette, 2>& palettes,
                    std::array<std::span<std::uint8_t>, 3> scratch);

}  // namespace vemla::persist
