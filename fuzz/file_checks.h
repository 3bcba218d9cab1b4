#pragma once
// What the settings file targets check of whatever a reader accepts, shared by the targets that
// read raw bytes and those that edit a valid file.
#include <cstdint>
#include <span>

#include "persist/gallery_info.h"
#include "persist/program_settings.h"
#include "persist/user_info.h"

namespace vemla::fuzzing {

// A loaded gallery has a count within 8 … 32 and writes back into a block that loads the same.
inline void checkGalleryFile(std::span<const std::uint8_t> bytes) {
  using namespace vemla::persist;
  GalleryInformation info;
  if (decodeGalleryFile(bytes, info) != LoadStatus::Loaded) return;
  if (info.header.galleryCount < 8 || info.header.galleryCount > 32) __builtin_trap();
  GalleryInformation again;
  if (decodeGalleryBlock(encodeGalleryBlock(info), again) != LoadStatus::Loaded ||
      !(again == info)) {
    __builtin_trap();
  }
}

// Loaded user information writes back into a file that loads the same.
inline void checkUserInfoFile(std::span<const std::uint8_t> bytes) {
  using namespace vemla::persist;
  UserEntries entries;
  UserInfo info;
  if (decodeUserInfo(bytes, entries, info) != LoadStatus::Loaded) return;
  UserEntries entriesAgain;
  UserInfo again;
  if (decodeUserInfo(encodeUserInfo(entries, info), entriesAgain, again) != LoadStatus::Loaded ||
      !(entriesAgain == entries) || !(again == info)) {
    __builtin_trap();
  }
}

// A maximum size read from the header is corrected into 1024 … 4096, a multiple of 4; settings
// that load (whole or truncated) write back into a file that loads the same.
inline void checkProgramSettingsFile(std::span<const std::uint8_t> bytes) {
  using namespace vemla::persist;
  if (const auto maximum = decodeMaxPictureSize(bytes)) {
    if (maximum->first < 1024 || maximum->first > 4096 || maximum->first % 4 != 0) __builtin_trap();
  }
  ProgramSettings settings;
  const LoadStatus status = decodeProgramSettings(bytes, settings);
  if (status != LoadStatus::Loaded && status != LoadStatus::Truncated) return;
  ProgramSettings again;
  if (decodeProgramSettings(encodeProgramSettings(settings), again) != LoadStatus::Loaded ||
      !(again == settings)) {
    __builtin_trap();
  }
}

}  // namespace vemla::fuzzing
