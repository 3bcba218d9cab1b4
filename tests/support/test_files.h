#pragma once
// Hand-assembled bitmap files and temporary folders for tests. The bitmap bytes are put
// together here field by field, independently of the writer under test.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace vemla::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vemla-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void putLe(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

// Pixel value(s) of picture column x, row y counted from the top: 1 byte for 8-bit, or
// blue, green, red (and a fourth byte) for 24/32-bit.
using PixelFunction = std::function<std::vector<std::uint8_t>(int x, int y)>;

// A bitmap of the given width and header height (negative: top-down) and bit count 8/24/32;
// 8-bit files get `paletteEntries` palette entries (entry i = (i, 255 - i, i / 2, 0)).
inline std::vector<std::uint8_t> makeBitmap(int width, int headerHeight, int bits,
                                            const PixelFunction& pixel, int paletteEntries = 256) {
  const int bytesPerPixel = bits / 8;
  const int height = headerHeight < 0 ? -headerHeight : headerHeight;
  const int rowBytes = (width * bytesPerPixel + 3) / 4 * 4;
  const int paletteBytes = bits == 8 ? 4 * paletteEntries : 0;
  std::vector<std::uint8_t> out{'B', 'M'};
  putLe(out, 54 + paletteBytes + rowBytes * height, 4);
  putLe(out, 0, 4);
  putLe(out, 54 + paletteBytes, 4);
  putLe(out, 40, 4);
  putLe(out, static_cast<std::uint32_t>(width), 4);
  putLe(out, static_cast<std::uint32_t>(headerHeight), 4);
  putLe(out, 1, 2);
  putLe(out, bits, 2);
  putLe(out, 0, 4);
  putLe(out, rowBytes * height, 4);
  putLe(out, 0, 16);
  for (int i = 0; i < paletteEntries && bits == 8; ++i) {
    out.insert(out.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i / 2), 0});
  }
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const int y = headerHeight < 0 ? fileRow : height - 1 - fileRow;
    const std::size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const auto bytes = pixel(x, y);
      out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vemla::testing
