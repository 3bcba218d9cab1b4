#pragma once
// Archive files assembled byte by byte for the tests, independently of the writer under test:
// a 1056-byte header ("VL00", count, 24 zero bytes, 256 size entries) and items made of a
// 180-byte record, an optional 1024-byte palette and the stored bytes.
#include <bzlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vemla::testing {

using Bytes = std::vector<std::uint8_t>;

inline void setLe(Bytes& bytes, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline std::int64_t getLe(const Bytes& bytes, std::size_t offset, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
  if (width == 4) return static_cast<std::int32_t>(value);
  return static_cast<std::int64_t>(value);
}

struct RawRecord {
  RawRecord(std::int32_t kind, std::int32_t width, std::int32_t height, std::int32_t bytesPerPixel,
            std::string title = "")
      : kind(kind),
        width(width),
        height(height),
        bytesPerPixel(bytesPerPixel),
        title(std::move(title)) {}

  std::int32_t kind = 1;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bytesPerPixel = 1;
  std::string title;  // ASCII
  int paletteFlag = 0;
  int compressedFlag = 0;
  std::int32_t paletteSize = 0;
  std::int32_t storedLength = 0;

  Bytes bytes() const {
    Bytes out(180, 0);
    setLe(out, 0, static_cast<std::uint32_t>(kind), 4);
    setLe(out, 4, static_cast<std::uint32_t>(width), 4);
    setLe(out, 8, static_cast<std::uint32_t>(height), 4);
    setLe(out, 12, static_cast<std::uint32_t>(bytesPerPixel), 4);
    for (std::size_t i = 0; i < title.size() && i < 128; ++i)
      out[16 + i] = static_cast<std::uint8_t>(title[i]);
    setLe(out, 144, static_cast<std::uint32_t>(paletteFlag), 2);
    setLe(out, 146, static_cast<std::uint32_t>(compressedFlag), 2);
    setLe(out, 148, static_cast<std::uint32_t>(paletteSize), 4);
    setLe(out, 152, static_cast<std::uint32_t>(storedLength), 4);
    return out;
  }
};

class ArchiveBuilder {
 public:
  ArchiveBuilder() : header_(1056, 0) {
    header_[0] = 'V';
    header_[1] = 'L';
    header_[2] = '0';
    header_[3] = '0';
  }
  // Appends an item's bytes with its size entry (the bytes' length unless given).
  ArchiveBuilder& item(const Bytes& bytes, std::int64_t entry = -1) {
    setLe(header_, 32 + 4 * count_, static_cast<std::uint32_t>(entry < 0 ? bytes.size() : entry),
          4);
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    ++count_;
    setLe(header_, 4, count_, 4);
    return *this;
  }
  ArchiveBuilder& emptyItem() { return item({}, 0); }
  // A picture or data item stored uncompressed, with a palette for pictures.
  ArchiveBuilder& plain(const RawRecord& base, const Bytes& content) {
    RawRecord record = base;
    const bool picture = record.kind == 1;
    record.paletteFlag = picture ? 1 : 0;
    record.paletteSize = picture ? 1024 : 0;
    record.storedLength = static_cast<std::int32_t>(content.size());
    Bytes bytes = record.bytes();
    if (picture) {
      for (int i = 0; i < 256; ++i)
        bytes.insert(bytes.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0});
    }
    bytes.insert(bytes.end(), content.begin(), content.end());
    return item(bytes);
  }
  ArchiveBuilder& count(std::int32_t value) {
    setLe(header_, 4, static_cast<std::uint32_t>(value), 4);
    return *this;
  }
  ArchiveBuilder& entry(int index, std::int32_t value) {
    setLe(header_, 32 + 4 * index, static_cast<std::uint32_t>(value), 4);
    return *this;
  }
  Bytes bytes() const {
    Bytes out = header_;
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
  }

 private:
  Bytes header_;
  Bytes body_;
  int count_ = 0;
};

// The library's own stream of `content` at the archive's settings (block size 4, work factor 200).
inline Bytes bzip2(const Bytes& content) {
  Bytes out(content.size() + content.size() / 100 + 1024);
  unsigned int length = static_cast<unsigned int>(out.size());
  BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(out.data()), &length,
                           const_cast<char*>(reinterpret_cast<const char*>(content.data())),
                           static_cast<unsigned int>(content.size()), 4, 0, 200);
  out.resize(length);
  return out;
}

}  // namespace vemla::testing
