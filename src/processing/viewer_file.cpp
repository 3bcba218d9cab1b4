#include "processing/viewer_file.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <utility>

#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/picture_file.h"
#include "picture/raw.h"

namespace vemla {
namespace {

std::string withPath(const char* message, const std::string& path) {
  std::string text = text::tr(message);
  return text.append("\n[").append(path).append("]");
}

// Bytes of a picture in 64 bits; 0 when a side is below 1.
std::int64_t pictureBytes(std::int64_t width, std::int64_t height, int bytesPerPixel) {
  if (width < 1 || height < 1) return 0;
  return width * height * bytesPerPixel;
}

bool allocate(ViewerPixels& buffer, std::int64_t bytes) {
  return bytes > 0 &&
         static_cast<std::uint64_t>(bytes) <= std::numeric_limits<std::size_t>::max() &&
         buffer.resize(static_cast<std::size_t>(bytes));
}

}  // namespace

ViewerPixels::~ViewerPixels() {
  if (block_ != nullptr) ::munmap(block_, capacity_);
}

bool ViewerPixels::resize(std::size_t bytes) {
  if (bytes > capacity_) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return false;
    // Both are hints: without them the pages simply come on first touch.
    ::madvise(block, bytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    ::madvise(block, bytes, MADV_POPULATE_WRITE);
#endif
    if (block_ != nullptr) ::munmap(block_, capacity_);
    block_ = static_cast<std::uint8_t*>(block);
    capacity_ = bytes;
  }
  size_ = bytes;
  return true;
}

void ViewerPixels::swap(ViewerPixels& other) noexcept {
  std::swap(block_, other.block_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
}

ViewerPicture ViewerImage::picture() const {
  return {pixels.empty() ? nullptr : pixels.data(), width, height, bytesPerPixel, palette};
}

namespace {

// `readInto(destination, read)` reads the whole file afresh into memory each time, as
// readPictureIntoMemory does.
template <typename ReadInto>
std::string loadBitmapFrom(ReadInto readInto, const std::string& path, int maxWidth, int maxHeight,
                           ViewerImage& into) {
  // The headers first (an empty destination stops the reader after them), then the rows into a
  // buffer of the exact size, so that the held picture survives any failure.
  PictureRead read;
  const int probe = readInto({}, read);
  if (probe == kUnsupported) return withPath(kViewerUnsupported, path);
  if (probe != kTooLarge) return withPath(kViewerReadFailed, path);
  if (read.width > maxWidth || read.height > maxHeight) return withPath(kViewerTooLarge, path);
  const int bytesPerPixel = read.headers.info.bitCount / 8;  // 8, 24 or 32 past the probe
  const std::int64_t bytes = pictureBytes(read.width, read.height, bytesPerPixel);
  if (bytes == 0) return withPath(kViewerReadFailed, path);
  ViewerPixels& pixels = into.spare;
  if (!allocate(pixels, bytes)) return text::tr(kViewerNoMemory);
  const int result = readInto(pixels, read);
  if (result == kUnsupported) return withPath(kViewerUnsupported, path);
  if (result == kTooLarge) return withPath(kViewerTooLarge, path);
  if (result != bytesPerPixel) return withPath(kViewerReadFailed, path);
  into.pixels.swap(pixels);
  into.width = read.width;
  into.height = read.height;
  into.bytesPerPixel = bytesPerPixel;
  into.palette.fill(0);
  if (bytesPerPixel == 1) {
    for (std::size_t i = 0; i < 256; ++i) {
      const std::uint8_t* entry = read.palette.data() + 4 * i;  // blue, green, red, 0
      into.palette[i] = static_cast<std::uint32_t>(entry[2]) << 16 |
                        static_cast<std::uint32_t>(entry[1]) << 8 | entry[0];
    }
  }
  return {};
}

}  // namespace

std::string loadViewerBitmap(const std::string& path, int maxWidth, int maxHeight,
                             ViewerImage& into, const SixteenBitConversion& sixteen) {
  if (!isPictureName(path)) return withPath(kViewerUnsupported, path);
  const auto readInto = [&](std::span<std::uint8_t> destination, PictureRead& read) {
    return readPictureIntoMemory(path, destination, maxWidth, maxHeight, sixteen, read);
  };
  return loadBitmapFrom(readInto, path, maxWidth, maxHeight, into);
}

std::string loadViewerBitmap(std::span<const std::uint8_t> file, const std::string& name,
                             int maxWidth, int maxHeight, ViewerImage& into,
                             const SixteenBitConversion& sixteen) {
  const auto readInto = [&](std::span<std::uint8_t> destination, PictureRead& read) {
    return readPictureIntoMemory(file, destination, maxWidth, maxHeight, sixteen, read);
  };
  return loadBitmapFrom(readInto, name, maxWidth, maxHeight, into);
}

std::string loadViewerRaw(const std::string& path, const RawSize& size, int maxWidth, int maxHeight,
                          ViewerImage& into) {
  const std::int64_t bytes = pictureBytes(size.width, size.height, 1);
  if (bytes == 0 || size.offset < 0) return withPath(kViewerReadFailed, path);
  if (size.width > maxWidth || size.height > maxHeight) return withPath(kViewerTooLarge, path);
  ViewerPixels& pixels = into.spare;
  if (!allocate(pixels, bytes)) return text::tr(kViewerNoMemory);
  if (readRawPicture(path, size.offset, pixels) != 1) return withPath(kViewerReadFailed, path);
  into.pixels.swap(pixels);
  into.width = size.width;
  into.height = size.height;
  into.bytesPerPixel = 1;
  for (std::uint32_t g = 0; g < 256; ++g) into.palette[g] = g * 0x010101u;
  return {};
}

namespace {

// The slot's palette (blue, green, red, 0 per entry) for grey pictures; colour pictures none.
void takeSlotPicture(ViewerPixels& pixels, int width, int height, int bytesPerPixel,
                     const Palette& palette, ViewerImage& into) {
  into.pixels.swap(pixels);
  into.width = width;
  into.height = height;
  into.bytesPerPixel = bytesPerPixel;
  into.palette.fill(0);
  if (bytesPerPixel == 1) {
    for (std::size_t i = 0; i < 256; ++i) {
      into.palette[i] = static_cast<std::uint32_t>(palette[4 * i + 2]) << 16 |
                        static_cast<std::uint32_t>(palette[4 * i + 1]) << 8 | palette[4 * i];
    }
  }
}

}  // namespace

std::string loadViewerSlot(const std::string& path, int width, int height, int bytesPerPixel,
                           const Palette& palette, int maxWidth, int maxHeight, ViewerImage& into) {
  if (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4)
    return text::tr(kViewerReadFailed);
  const std::int64_t bytes = pictureBytes(width, height, bytesPerPixel);
  if (bytes == 0) return text::tr(kViewerReadFailed);
  if (width > maxWidth || height > maxHeight) return text::tr(kViewerTooLarge);
  ViewerPixels& pixels = into.spare;
  if (!allocate(pixels, bytes)) return text::tr(kViewerNoMemory);
  FileSource in(path);
  std::uint8_t extra = 0;
  if (!in.isOpen() || in.read(pixels.data(), pixels.size()) != pixels.size() ||
      in.read(&extra, 1) != 0)
    return text::tr(kViewerReadFailed);
  takeSlotPicture(pixels, width, height, bytesPerPixel, palette, into);
  return {};
}

std::string loadViewerContent(std::span<const std::uint8_t> content, int width, int height,
                              int bytesPerPixel, const Palette& palette, int maxWidth,
                              int maxHeight, ViewerImage& into) {
  if (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4)
    return text::tr(kViewerReadFailed);
  const std::int64_t bytes = pictureBytes(width, height, bytesPerPixel);
  if (bytes == 0 || static_cast<std::uint64_t>(bytes) != content.size())
    return text::tr(kViewerReadFailed);
  if (width > maxWidth || height > maxHeight) return text::tr(kViewerTooLarge);
  ViewerPixels& pixels = into.spare;
  if (!allocate(pixels, bytes)) return text::tr(kViewerNoMemory);
  std::memcpy(pixels.data(), content.data(), content.size());
  takeSlotPicture(pixels, width, height, bytesPerPixel, palette, into);
  return {};
}

std::string loadViewerMemory(const std::uint8_t* pixels, int width, int height,
                             const std::array<std::uint32_t, 256>& palette, int maxWidth,
                             int maxHeight, ViewerImage& into) {
  const std::int64_t bytes = pictureBytes(width, height, 1);
  if (bytes == 0 || pixels == nullptr) return text::tr(kViewerReadFailed);
  if (width > maxWidth || height > maxHeight) return text::tr(kViewerTooLarge);
  ViewerPixels& copy = into.spare;
  if (!allocate(copy, bytes)) return text::tr(kViewerNoMemory);
  std::memcpy(copy.data(), pixels, copy.size());
  into.pixels.swap(copy);
  into.width = width;
  into.height = height;
  into.bytesPerPixel = 1;
  into.palette = palette;
  return {};
}

}  // namespace vemla
