#pragma once
// A bitmap assembler that sets every header field by hand, so that tests can build the
// malformed headers the readers must refuse, byte for byte and independently of the header
// code they check.
#include <cstdint>
#include <vector>

namespace vemla::testing {

// Header fields of a hand-made bitmap. Defaults describe an ordinary uncompressed 8-bit file;
// the size fields stay 0 unless a test sets them because the readers do not use them.
struct BitmapFields {
  char signature[2] = {'B', 'M'};
  std::uint32_t fileSize = 0;
  std::uint32_t pixelOffset = 0;
  std::int32_t infoSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int32_t xResolution = 0;
  std::int32_t yResolution = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};

inline void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The 54 header bytes, then `palette` and `pixels` exactly as given.
inline std::vector<std::uint8_t> assembleBitmap(const BitmapFields& fields,
                                                const std::vector<std::uint8_t>& palette,
                                                const std::vector<std::uint8_t>& pixels) {
  std::vector<std::uint8_t> bytes;
  bytes.push_back(static_cast<std::uint8_t>(fields.signature[0]));
  bytes.push_back(static_cast<std::uint8_t>(fields.signature[1]));
  appendLittleEndian(bytes, fields.fileSize, 4);
  appendLittleEndian(bytes, 0, 4);  // both reserved words
  appendLittleEndian(bytes, fields.pixelOffset, 4);
  appendLittleEndian(bytes, static_cast<std::uint32_t>(fields.infoSize), 4);
  appendLittleEndian(bytes, static_cast<std::uint32_t>(fields.width), 4);
  appendLittleEndian(bytes, static_cast<std::uint32_t>(fields.height), 4);
  appendLittleEndian(bytes, fields.planes, 2);
  appendLittleEndian(bytes, fields.bitCount, 2);
  appendLittleEndian(bytes, fields.compression, 4);
  appendLittleEndian(bytes, fields.imageSize, 4);
  appendLittleEndian(bytes, static_cast<std::uint32_t>(fields.xResolution), 4);
  appendLittleEndian(bytes, static_cast<std::uint32_t>(fields.yResolution), 4);
  appendLittleEndian(bytes, fields.coloursUsed, 4);
  appendLittleEndian(bytes, fields.coloursImportant, 4);
  bytes.insert(bytes.end(), palette.begin(), palette.end());
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

// A palette whose entry i is (i, 255 - i, i / 2, 0): distinct from the grey ramp.
inline std::vector<std::uint8_t> testPalette() {
  std::vector<std::uint8_t> palette;
  for (int i = 0; i < 256; ++i) {
    palette.insert(palette.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i / 2), 0});
  }
  return palette;
}

}  // namespace vemla::testing
