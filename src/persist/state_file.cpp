#include "persist/state_file.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "picture/bitmap.h"
#include "picture/field_codec.h"
#include "picture/file_helpers.h"
#include "picture/little_endian.h"
#include "processing/picture_control.h"

namespace vemla::persist {
namespace {

constexpr char kMagic[] = "VIC0";

// One field of the record: its offset and size, and either a run of 32-bit integers or a
// fixed text field of the record.
struct FieldRow {
  std::size_t offset;
  std::size_t bytes;
  std::span<std::int32_t> (*ints)(StateRecord&);
  std::string* (*text)(StateRecord&);
};

template <std::size_t N>
constexpr std::span<std::int32_t> run(std::array<std::int32_t, N>& values) {
  return values;
}
constexpr std::span<std::int32_t> one(std::int32_t& value) {
  return {&value, 1};
}

// The record, in the order of its bytes.
constexpr FieldRow kLayout[] = {
    {0, 4, [](StateRecord& r) { return one(r.format); }, nullptr},
    {4, 4, [](StateRecord& r) { return one(r.width); }, nullptr},
    {8, 4, [](StateRecord& r) { return one(r.height); }, nullptr},
    {12, 512, nullptr, [](StateRecord& r) { return &r.names[0]; }},
    {524, 512, nullptr, [](StateRecord& r) { return &r.names[1]; }},
    {1036, 32, [](StateRecord& r) { return run(r.validRange); }, nullptr},
    {1068, 4, [](StateRecord& r) { return one(r.division); }, nullptr},
    {1072, 24, [](StateRecord& r) { return run(r.alignment); }, nullptr},
    {1096, 64, [](StateRecord& r) { return run(r.alignmentResult); }, nullptr},
    {1160, 48, [](StateRecord& r) { return run(r.manualShift); }, nullptr},
    {1208, 128, [](StateRecord& r) { return run(r.shiftMarks); }, nullptr},
    {1336, 12, [](StateRecord& r) { return run(r.reference); }, nullptr},
    {1348, 16, [](StateRecord& r) { return run(r.displayOffsets); }, nullptr},
    {1364, 8, [](StateRecord& r) { return run(r.centre); }, nullptr},
    {1372, 8, [](StateRecord& r) { return run(r.gridOffsets); }, nullptr},
    {1380, 4, [](StateRecord& r) { return one(r.cursorShown); }, nullptr},
    {1384, 4, [](StateRecord& r) { return one(r.fineMovement); }, nullptr},
    {1388, 4, [](StateRecord& r) { return one(r.blankInvalid); }, nullptr},
    {1392, 48, [](StateRecord& r) { return run(r.displayMarks); }, nullptr},
    {1440, 8, [](StateRecord& r) { return run(r.kinds); }, nullptr},
    {1448, 36, nullptr, [](StateRecord& r) { return &r.processingNames[0]; }},
    {1484, 36, nullptr, [](StateRecord& r) { return &r.processingNames[1]; }},
    {1520, 4, [](StateRecord& r) { return one(r.magnification); }, nullptr},
    {1524, 4, [](StateRecord& r) { return one(r.interpolation); }, nullptr},
    {1528, 4, [](StateRecord& r) { return one(r.colourDisplay); }, nullptr},
    {1532, 8, [](StateRecord& r) { return run(r.colours); }, nullptr},
    {1540, 36, nullptr, [](StateRecord& r) { return &r.colourNames[0]; }},
    {1576, 36, nullptr, [](StateRecord& r) { return &r.colourNames[1]; }},
    {1612, 28, [](StateRecord& r) { return run(r.rangeExtraction); }, nullptr},
    {1640, 4, [](StateRecord& r) { return one(r.grid); }, nullptr},
    {1644, 4, [](StateRecord& r) { return one(r.gridWidth); }, nullptr},
};

constexpr bool layoutTiles() {
  std::size_t next = 0;
  for (const FieldRow& row : kLayout) {
    if (row.offset != next || (row.ints == nullptr) == (row.text == nullptr)) return false;
    next += row.bytes;
  }
  return next == kStateRecordBytes;
}
static_assert(layoutTiles(), "the record's fields must follow each other without gaps");

// Sequential reader of a state file: from a file or from memory.
using ReadBytes = std::function<bool(std::uint8_t* out, std::size_t count)>;

int decodeAll(const ReadBytes& read, int maxWidth, int maxHeight, bool recordOnly,
              StateRecord& record, std::array<Palette, 2>& palettes,
              std::array<std::span<std::uint8_t>, 3> scratch) {
  std::array<std::uint8_t, kStateMagicBytes> magic{};
  if (!read(magic.data(), magic.size())) return kStateReadFailed;
  if (std::memcmp(magic.data(), kMagic, 3) != 0) return kStateNotStateFile;
  std::array<std::uint8_t, kStateRecordBytes> bytes{};
  if (!read(bytes.data(), bytes.size())) return kStateReadFailed;
  StateRecord decoded;
  if (const int status = decodeStateRecord(bytes, decoded); status != kStateOk) return status;
  if (const int status = checkStateRecord(decoded, maxWidth, maxHeight); status != kStateOk) {
    return status;
  }
  if (decoded.format >= 2) {
    std::array<std::uint8_t, kStateExtensionBytes> extension{};
    if (!read(extension.data(), extension.size())) return kStateReadFailed;
    decoded.reducedDisplay = little_endian::getI32(extension.data());
  }
  std::array<Palette, 2> readPalettes{};
  if (!recordOnly) {
    const std::size_t planeBytes =
        static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height);
    for (const std::span<std::uint8_t> plane : scratch) {
      if (plane.size() < planeBytes) return kStateTooLarge;
    }
    for (Palette& palette : readPalettes) {
      std::array<std::uint8_t, kStateDrawingHeaderBytes> headers{};
      if (!read(headers.data(), headers.size())) return kStateReadFailed;
      if (!read(palette.data(), palette.size())) return kStateReadFailed;
    }
    for (const std::span<std::uint8_t> plane : scratch) {
      if (!read(plane.data(), planeBytes)) return kStateReadFailed;
    }
  }
  record = std::move(decoded);
  if (!recordOnly) palettes = readPalettes;
  return kStateOk;
}

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

ReadBytes fileReader(std::FILE* file) {
  return [file](std::uint8_t* out, std::size_t count) {
    return std::fread(out, 1, count, file) == count;
  };
}

}  // namespace

std::array<std::uint8_t, kStateRecordBytes> encodeStateRecord(const StateRecord& record) {
  std::array<std::uint8_t, kStateRecordBytes> bytes{};
  StateRecord fields = record;  // the layout's accessors take a record they may change
  for (const FieldRow& row : kLayout) {
    FieldWriter writer{std::span(bytes).subspan(row.offset, row.bytes)};
    if (row.text != nullptr) {
      writer.text(*row.text(fields), row.bytes);
    } else {
      for (const std::int32_t value : row.ints(fields)) writer.int32(value);
    }
  }
  return bytes;
}

int decodeStateRecord(std::span<const std::uint8_t, kStateRecordBytes> bytes, StateRecord& record) {
  StateRecord decoded;
  for (const FieldRow& row : kLayout) {
    const std::span<const std::uint8_t> field = bytes.subspan(row.offset, row.bytes);
    FieldReader reader(field);
    if (row.text != nullptr) {
      if (std::memchr(field.data(), 0, field.size()) == nullptr) return kStateNotStateFile;
      bool valid = true;
      *row.text(decoded) = reader.text(row.bytes, &valid);
      if (!valid) return kStateNotStateFile;
    } else {
      for (std::int32_t& value : row.ints(decoded)) value = reader.int32();
    }
  }
  record = std::move(decoded);
  return kStateOk;
}

int checkStateRecord(const StateRecord& record, int maxWidth, int maxHeight) {
  if (record.width < 8 || record.height < 8 || !isAllowedDivision(record.division)) {
    return kStateNotStateFile;
  }
  if (record.width > maxWidth || record.height > maxHeight) return kStateTooLarge;
  return kStateOk;
}

std::uint64_t statePixelOffset(std::int32_t format) {
  const std::uint64_t headers = kStateMagicBytes + kStateRecordBytes;
  const std::uint64_t pictures = 2 * (kStateDrawingHeaderBytes + kStatePaletteBytes);
  return headers + (format >= 2 ? kStateExtensionBytes : 0) + pictures;
}

static bool writeStateFile(const ByteSink& sink, const StateRecord& record,
                           const std::array<Palette, 2>& palettes, const StatePlanes& planes) {
  if (record.width <= 0 || record.height <= 0) return false;
  for (const std::uint8_t* plane : planes.planes) {
    if (plane == nullptr) return false;
  }
  StateRecord written = record;
  written.format = kStateFormat;
  const auto recordBytes = encodeStateRecord(written);
  std::array<std::uint8_t, kStateExtensionBytes> extension{};
  little_endian::putI32(extension.data(), written.reducedDisplay);
  const BitmapHeaders drawing = buildBitmapHeaders(1, kStateDrawingWidth, kStateDrawingHeight);
  const auto fileHeader = drawing.file.toBytes();
  const auto infoHeader = drawing.info.toBytes();
  if (!sink(kMagic, kStateMagicBytes) || !sink(recordBytes.data(), recordBytes.size()) ||
      !sink(extension.data(), extension.size())) {
    return false;
  }
  for (const Palette& palette : palettes) {
    if (!sink(fileHeader.data(), fileHeader.size()) ||
        !sink(infoHeader.data(), infoHeader.size()) || !sink(palette.data(), palette.size())) {
      return false;
    }
  }
  const std::size_t planeBytes =
      static_cast<std::size_t>(record.width) * static_cast<std::size_t>(record.height);
  for (const std::uint8_t* plane : planes.planes) {
    if (!sink(plane, planeBytes)) return false;
  }
  return true;
}

bool saveStateFile(const std::string& path, const StateRecord& record,
                   const std::array<Palette, 2>& palettes, const StatePlanes& planes) {
  if (record.width <= 0 || record.height <= 0) return false;
  return writeFileAtomically(
      path, [&](const ByteSink& sink) { return writeStateFile(sink, record, palettes, planes); });
}

std::vector<std::uint8_t> encodeStateFile(const StateRecord& record,
                                          const std::array<Palette, 2>& palettes,
                                          const StatePlanes& planes) {
  std::vector<std::uint8_t> bytes;
  const ByteSink append = [&](const void* data, std::size_t count) {
    const auto* at = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), at, at + count);
    return true;
  };
  if (!writeStateFile(append, record, palettes, planes)) bytes.clear();
  return bytes;
}

int readStateHeader(const std::string& path, StateRecord& record) {
  File file(openRegularStream(path));
  if (!file) return kStateHeaderReadError;
  std::array<std::uint8_t, kStateMagicBytes + kStateRecordBytes> bytes{};
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    return kStateHeaderReadError;
  }
  if (std::memcmp(bytes.data(), kMagic, 3) != 0) return kStateHeaderNotStateFile;
  StateRecord decoded;
  const std::span<const std::uint8_t, kStateRecordBytes> recordBytes(
      bytes.data() + kStateMagicBytes, kStateRecordBytes);
  if (decodeStateRecord(recordBytes, decoded) != kStateOk) return kStateHeaderNotStateFile;
  if (decoded.format >= 2) {
    std::array<std::uint8_t, kStateExtensionBytes> extension{};
    if (std::fread(extension.data(), 1, extension.size(), file.get()) == extension.size()) {
      decoded.reducedDisplay = little_endian::getI32(extension.data());
    }
  }
  record = std::move(decoded);
  return 0;
}

int readStateFile(const std::string& path, int maxWidth, int maxHeight, bool recordOnly,
                  StateRecord& record, std::array<Palette, 2>& palettes,
                  std::array<std::span<std::uint8_t>, 3> scratch) {
  File file(openRegularStream(path));
  if (!file) return kStateReadFailed;
  return decodeAll(fileReader(file.get()), maxWidth, maxHeight, recordOnly, record, palettes,
                   scratch);
}

int decodeStateFile(std::span<const std::uint8_t> bytes, int maxWidth, int maxHeight,
                    bool recordOnly, StateRecord& record, std::array<Palette, 2>& palettes,
                    std::array<std::span<std::uint8_t>, 3> scratch) {
  std::size_t position = 0;
  const ReadBytes read = [&](std::uint8_t* out, std::size_t count) {
    if (count > bytes.size() - position) return false;
    std::memcpy(out, bytes.data() + position, count);
    position += count;
    return true;
  };
  return decodeAll(read, maxWidth, maxHeight, recordOnly, record, palettes, scratch);
}

}  // namespace vemla::persist
