#pragma once
// Valid files made by the project's own encoders, with every kind of entry present: seeds for
// the plain fuzz targets (written by scripts/make_fuzz_corpus.cpp) and the starting files of
// the patching targets. Deterministic, so the corpus is the same every time it is made.
#include <cstdint>
#include <string>
#include <vector>

#include "persist/gallery_info.h"
#include "persist/program_settings.h"
#include "persist/user_info.h"
#include "picture/palette.h"

namespace vemla::fuzzing {

// A palette that is not the grey ramp, so palettes are seen to travel byte by byte.
inline Palette tintedPalette(int seed) {
  Palette palette = greyRamp();
  for (std::size_t i = 0; i < palette.size(); i += 4) {
    palette[i] = static_cast<std::uint8_t>(palette[i] ^ (seed * 37));
    palette[i + 2] = static_cast<std::uint8_t>(255 - palette[i + 2]);
  }
  return palette;
}

// Header values away from their defaults, every slot kind (empty, picture, data, over) and
// true-colour code, ASCII, CP932 and full-length titles.
inline persist::GalleryInformation richGallery() {
  persist::GalleryInformation info;
  info.header = {24, 8, 0, -120, 4000, 1, 3, 1};
  static const char* const kTitles[] = {"scene1.bmp", "画像１ 差分", "<Import1>", "ﾃﾞｰﾀ", ""};
  for (std::size_t k = 0; k < info.slotRecords.size(); ++k) {
    persist::GallerySlot& slot = info.slotRecords[k];
    slot.kind = static_cast<std::int32_t>(k % 4);
    if (slot.kind == 0) continue;
    slot.title = k == 5 ? std::string(131, 'w') : kTitles[k % 5];
    slot.width = static_cast<std::int32_t>(8 + 40 * k);
    slot.height = slot.kind == 2 ? 1 : static_cast<std::int32_t>(8 + 24 * k);
    slot.trueColourCode = static_cast<std::int32_t>(k % 3);
    slot.reserved[k % 16] = static_cast<std::uint8_t>(k);
    slot.palette = k % 2 == 0 ? greyRamp() : tintedPalette(static_cast<int>(k));
  }
  return info;
}

// "VIG0" and the block: all a reader of the gallery information looks at (the thumbnails
// after it are read separately, by position).
inline std::vector<std::uint8_t> galleryFile(const persist::GalleryInformation& info) {
  std::vector<std::uint8_t> bytes{'V', 'I', 'G', '0'};
  const std::vector<std::uint8_t> block = persist::encodeGalleryBlock(info);
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

// Filter and expression entries, colour tables, the association state, history and recent
// pictures, with names in ASCII and CP932 and texts that fill their fields.
struct UserFile {
  UserEntries entries;
  persist::UserInfo info;
  std::vector<std::uint8_t> encoded() const { return persist::encodeUserInfo(entries, info); }
};
inline UserFile richUserInfo() {
  UserFile file;
  UserEntries& entries = file.entries;
  persist::UserInfo& info = file.info;
  for (std::size_t k = 0; k < entries.processing.size(); k += 3) {
    UserProcessingEntry& entry = entries.processing[k];
    entry.inUse = 1;
    entry.name = k % 2 == 0 ? "smooth " + std::to_string(k) : "差分強調";
    entry.form = k % 2 == 0 ? 0 : 1;
    entry.filterPicture = k % 4 == 0 ? 0 : 1;
    entry.correction = 1;
    if (entry.form == 0) {
      for (std::size_t i = 0; i < entry.elements.size(); ++i)
        entry.elements[i] = i % 10 == 0 ? "-1.5" : std::to_string(i % 7);
      entry.divisor = "9";
    } else {
      entry.expression = k == 3 ? "(P1(0,0)-P2(1,-1))*2+128" : std::string(515, '1');
    }
  }
  entries.processing[15].inUse = 7;  // an unknown flag travels as it is
  entries.processing[15].form = 1;
  entries.processing[15].expression = "P1(0,0)";
  for (std::size_t k = 0; k < entries.colours.size(); k += 2) {
    UserColourEntry& entry = entries.colours[k];
    entry.inUse = 1;
    entry.name = k == 0 ? "温度" : "rainbow " + std::to_string(k);
    for (std::size_t i = 0; i < entry.table.size(); ++i)
      entry.table[i] = static_cast<std::uint8_t>(i * (k + 1));
  }
  for (std::size_t i = 0; i < info.colourAssociation.size(); i += 5)
    info.colourAssociation[i] = static_cast<std::uint8_t>(i);
  for (std::size_t k = 0; k < 6; ++k) {
    info.history[k].used = 1;
    info.history[k].names = {"/home/user/pictures/scene" + std::to_string(k) + ".bmp",
                             k == 2 ? std::string("/写真/比較.bmp") : std::string(511, 'p')};
  }
  for (std::size_t k = 0; k < 5; ++k) {
    persist::RecentPicture& recent = info.recent[k];
    recent.used = 1;
    recent.width = static_cast<std::int32_t>(64 * (k + 1));
    recent.height = static_cast<std::int32_t>(48 * (k + 1));
    recent.rawOffset = k == 1 ? 1078 : 0;
    recent.name = k == 3 ? "/生データ/frame.raw" : "/data/frame" + std::to_string(k) + ".raw";
  }
  return file;
}

// The same information as a version 0 file: the block without the recent pictures.
inline std::vector<std::uint8_t> userInfoVersion0(const UserFile& file) {
  std::vector<std::uint8_t> bytes = file.encoded();
  bytes.resize(4 + persist::kUserBlockBytes);
  bytes[3] = '0';
  return bytes;
}

// Options and record fields away from their defaults: sizes, texts in ASCII and CP932, export
// targets and the window.
inline persist::ProgramSettings richProgramSettings() {
  persist::ProgramSettings settings;
  settings.options.MaxPictureWidth = 2048;
  settings.options.MaxPictureHeight = 1536;
  settings.options.GalleryCount = 24;
  settings.options.ShiftUnit = 64;
  settings.options.ImportPassword = "秘密";
  settings.record.lastFiles = {{"/pictures/a.bmp", "/写真/b.bmp"}, "/out/c.bmp", "/notes.txt"};
  settings.importer.userName = "検査担当";
  settings.importer.targets.targets[0] = {1, "bench", {192, 168, 1, 20}, "pass"};
  settings.importer.targets.targets[1] = {1, "隣の机", {10, 0, 0, 7}, "合言葉"};
  settings.importer.targets.selected = 1;
  settings.record.window = {40, 30, 1600, 1000};
  return settings;
}

// A whole file of an older version: its magic, the maximum size from version 1 on, the record
// in that version's layout.
inline std::vector<std::uint8_t> programSettingsFile(const persist::ProgramSettings& settings,
                                                     int version) {
  std::vector<std::uint8_t> bytes{'V', 'I', 'P', static_cast<std::uint8_t>('0' + version)};
  if (version >= 1) {
    for (const std::int32_t side : {settings.options.MaxPictureWidth,
                                    settings.options.MaxPictureHeight}) {
      for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(side) >> (8 * i)));
    }
  }
  const std::vector<std::uint8_t> record = persist::encodeProgramRecord(settings, version);
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

}  // namespace vemla::fuzzing
