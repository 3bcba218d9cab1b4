// VemlaGinf.dat: the gallery information block behind its magic.
#include <cstdint>
#include <span>

#include "persist/gallery_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  GalleryInformation info;
  if (decodeGalleryFile(std::span(data, size), info) != LoadStatus::Loaded) return 0;
  if (info.header.galleryCount < 8 || info.header.galleryCount > 32) __builtin_trap();
  GalleryInformation again;
  if (decodeGalleryBlock(encodeGalleryBlock(info), again) != LoadStatus::Loaded ||
      !(again == info)) {
    __builtin_trap();
  }
  return 0;
}
