#pragma once
// Helpers for the picture file tests: a temporary folder removed with its contents, whole-file
// reads and writes, and a bitmap assembler that lays out header fields byte by byte so that the
// tests do not depend on the header code they check.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vemla::test {

using Bytes = std::vector<std::uint8_t>;

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vemla-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Header fields of a hand-made bitmap. Defaults describe an ordinary uncompressed file; the
// sizes are left 0 unless a test sets them because the readers do not use them.
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

inline void appendLittleEndian(Bytes& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The 54 header bytes, then `palette` and `pixels` exactly as given.
inline Bytes assembleBitmap(const BitmapFields& fields, const Bytes& palette, const Bytes& pixels) {
  Bytes bytes;
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
inline Bytes testPalette() {
  Bytes palette;
  for (int i = 0; i < 256; ++i) {
    palette.insert(palette.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i / 2), 0});
  }
  return palette;
}

}  // namespace vemla::test
