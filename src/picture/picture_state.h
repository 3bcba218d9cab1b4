#pragma once
// The two pictures' common size, their metadata and the global picture flags.
#include <array>
#include <string>
#include <string_view>

#include "picture/bitmap.h"
#include "picture/palette.h"
#include "picture/picture_slot.h"
#include "ports/ports.h"
#include "text/cp932.h"

namespace vemla {

inline constexpr int kMinPictureSize = 8;
inline constexpr int kNameFieldBytes = 512;  // names are stored in 512-byte CP932 fields

// Whether `name` fits the name field with its terminating zero; a character CP932 cannot hold
// counts as the one byte of the "?" that replaces it there.
inline bool nameFitsNameField(std::string_view name) {
  return text::utf8ToCp932Replacing(name).size() < static_cast<std::size_t>(kNameFieldBytes);
}

struct PictureMeta {
  // Full path of the source file, a pseudo-name beginning with "<", or empty (no source).
  std::string name;
  BitmapHeaders headers;  // of the last file read for this picture (raw: width/height set)
  // What the pane title adds after the file name: " [1/12]" for the first page of a 12-page
  // file, " [16→8 0–4095]" after a 16-bit conversion; empty for other pictures.
  std::string note;
  Palette palette = greyRamp();
  // Drawing headers and palette of the picture pane (232 x 244) and of 512 x 512 drawing.
  BitmapHeaders thumbnailHeaders;
  BitmapHeaders paneHeaders;
  Palette drawingPalette = greyRamp();
};

struct PictureState {
  int width = 0;   // W; 0 until the first open
  int height = 0;  // H
  std::array<PictureMeta, 2> pictures;
  bool picturesPresent = false;
  bool editing = false;  // the picture edit dialog is open
  // Size for which the user program result plane is valid.
  int userResultWidth = 0;
  int userResultHeight = 0;
  // The raw file size dialog's current values (kept in the settings).
  RawSize rawSize{};
  // Set by a caller that opens a raw file with a known size; cleared by every open.
  bool skipRawDialogOnce = false;
};

// The names of Picture 1 and Picture 2, indexed by index(PictureSlot).
inline std::array<std::string, 2> pictureNames(const PictureState& state) {
  return {state.pictures[index(PictureSlot::First)].name,
          state.pictures[index(PictureSlot::Second)].name};
}

inline bool isPseudoName(const std::string& name) {
  return !name.empty() && name[0] == '<';
}

// "<text>", the name of a picture that comes from no file. Built piece by piece: gcc 12 at -O3
// warns falsely on "<" + text + ">".
inline std::string pseudoName(std::string_view text) {
  std::string name;
  name.reserve(text.size() + 2);
  name += '<';
  name += text;
  name += '>';
  return name;
}

}  // namespace vemla
