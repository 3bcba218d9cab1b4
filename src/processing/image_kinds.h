#pragma once
// The image kinds of Image 1 and Image 2: the one table of built-in kinds with, per kind, the
// name the kind selectors list, the colour kind it is associated with by default, the
// description the pane help shows, its button in the image control window and the row kernel
// that makes it; and the pane labels built from them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "picture/picture_slot.h"
#include "processing/image_kernels.h"
#include "text/translate.h"

namespace vemla {

enum ImageKind : int {
  kKindPicture1 = 0,
  kKindPicture2 = 1,
  kKindAverage = 2,
  kKindDifference = 3,
  kKindOffsetDifference = 4,
  kKindAreaDifference = 5,
  kKindUserProgram = 6,
  kKindAnd = 7,
  kKindOr = 8,
  kKindXor = 9,
  kBuiltInKindCount = 10,
  kUserProcessingKind = 99,  // a user simple image processing entry, stored beside the kind
};

struct ImageKindInfo {
  const char* name;
  int colourKind;  // the default colour association
  const char* description;
  // The kind's button in the image control window ("画像１" belongs to Image 1, the others to
  // Image 2); null for the kinds chosen only by the kind selectors.
  const char* buttonText;
  const char* buttonHelp;
  // The kernel that makes the kind row by row from the two shifted pictures; null for the
  // kinds made otherwise (the area difference).
  CombineRow ImageKernels::*row;
};
const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable();

inline bool isBuiltInKind(int kind) {
  return kind >= 0 && kind < kBuiltInKindCount;
}

// The help text of a user processing entry's image.
inline constexpr const char* kUserProcessingDescription =
    text::N_("ﾕｰｻﾞ簡易画像処理の実行結果です");

// The value around the picture and in blanked areas: 128 for the offset difference, else 0.
constexpr std::uint8_t fillValueOf(int kind) {
  return kind == kKindOffsetDifference ? 128 : 0;
}

// "ｲﾒｰｼﾞ1", and with pictures loaded "ｲﾒｰｼﾞ1（平均） x8" or "ｲﾒｰｼﾞ1（平均） 1/4.0", in the
// language in use: a built-in kind's name is translated there, an operator's entry name is shown
// as it is stored unless it happens to be a text of the catalogue.
std::string imageLabel(ImageSlot image, bool picturesLoaded, std::string_view kindName,
                       std::string_view magnificationText);

}  // namespace vemla
