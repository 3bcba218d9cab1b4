#pragma once
// The image kinds of Image 1 and Image 2: the one table of built-in kinds with every rule that
// differs between kinds (the names, the default colour, the pane help, the image control's
// button, the row kernel, the fill value, the statistics rectangle and whether `compare` judges
// by it); and the pane labels built from them.
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

// Which valid rectangles a kind's statistics rectangle comes from.
enum class StatisticsSource { Picture1, Picture2, Both };

// A row of the kind table; the members with a default are written out only where a kind
// differs from it.
struct ImageKindInfo {
  const char* name;
  const char* cliName;  // the kind in vemla-cli's help (English, as the rest of that help)
  int colourKind;       // the default colour association
  const char* description;
  // The kernel that makes the kind row by row from the two shifted pictures; null for the
  // kinds made otherwise (the area difference).
  CombineRow ImageKernels::*row;
  // The kind's button in the image control window and the row, Image 1's or Image 2's, it sits
  // in; null for the kinds chosen only by the kind selectors.
  const char* buttonText = nullptr;
  const char* buttonHelp = nullptr;
  ImageSlot buttonRow = ImageSlot::Second;
  // The value around the picture and in blanked areas; for a judged kind also the value of
  // "no difference".
  std::uint8_t fill = 0;
  StatisticsSource statistics = StatisticsSource::Both;
  bool judged = false;  // a difference of the two pictures that `vemla-cli compare` judges by
};
const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable();

inline bool isBuiltInKind(int kind) {
  return kind >= 0 && kind < kBuiltInKindCount;
}

// The help text of a user processing entry's image.
inline constexpr const char* kUserProcessingDescription =
    text::N_("ﾕｰｻﾞ簡易画像処理の実行結果です");

// The value around the picture and in blanked areas (0 for a user processing entry).
inline std::uint8_t fillValueOf(int kind) {
  return isBuiltInKind(kind) ? imageKindTable()[static_cast<std::size_t>(kind)].fill : 0;
}

// The first and last of the kinds `vemla-cli compare` judges by (they follow each other).
struct KindRange {
  int first, last;
};
KindRange judgedKinds();

// "ｲﾒｰｼﾞ1", and with pictures loaded "ｲﾒｰｼﾞ1（平均） x8" or "ｲﾒｰｼﾞ1（平均） 1/4.0", in the
// language in use: a built-in kind's name is translated there, an operator's entry name is shown
// as it is stored unless it happens to be a text of the catalogue.
std::string imageLabel(ImageSlot image, bool picturesLoaded, std::string_view kindName,
                       std::string_view magnificationText);

}  // namespace vemla
