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

// The rows in the order of the kind numbers above.
inline constexpr std::array<ImageKindInfo, kBuiltInKindCount> kImageKinds{{
    {.name = text::N_("画像１"),
     .cliName = "picture 1",
     .colourKind = 1,
     .description = text::N_("表示されている画像１と同じ内容です"),
     .row = &ImageKernels::copy,
     .buttonText = text::N_("画像１"),
     .buttonHelp = text::N_("画像1のｲﾒｰｼﾞを直接表示します"),
     .buttonRow = ImageSlot::First,
     .statistics = StatisticsSource::Picture1},
    {.name = text::N_("画像２"),
     .cliName = "picture 2",
     .colourKind = 1,
     .description = text::N_("表示されている画像２と同じ内容です"),
     .row = &ImageKernels::copy,
     .buttonText = text::N_("画像２"),
     .buttonHelp = text::N_("画像2のｲﾒｰｼﾞを直接表示します"),
     .statistics = StatisticsSource::Picture2},
    {.name = text::N_("平均"),
     .cliName = "average",
     .colourKind = 1,
     .description = text::N_("画像１と画像２の平均階調値です"),
     .row = &ImageKernels::average,
     .buttonText = text::N_("平均"),
     .buttonHelp = text::N_("画像1と画像2の平均階調値を表示します")},
    {.name = text::N_("階調差"),
     .cliName = "difference",
     .colourKind = 2,
     .description = text::N_("画像１と画像２の階調差（絶対値）です"),
     .row = &ImageKernels::absoluteDifference,
     .buttonText = text::N_("階調差"),
     .buttonHelp = text::N_("画像1と画像2の階調差(絶対値)を表示します"),
     .judged = true},
    {.name = text::N_("ｵﾌｾｯﾄ差"),
     .cliName = "offset difference",
     .colourKind = 3,
     .description = text::N_("画像１と画像２の階調差が128を基点に表示されます"),
     .row = &ImageKernels::offsetDifference,
     .buttonText = text::N_("ｵﾌｾｯﾄ差"),
     .buttonHelp = text::N_("画像1と画像2の階調差で0を128に\n基点変換したｲﾒｰｼﾞを表示します"),
     .fill = 128,
     .judged = true},
    {.name = text::N_("ｴﾘｱ差"),
     .cliName = "area difference",
     .colourKind = 2,
     .description = text::N_("画像１と画像２の一定範囲（ｵﾌﾟｼｮﾝ情報の指定）の差です"),
     .row = nullptr,
     .buttonText = text::N_("ｴﾘｱ差"),
     .buttonHelp = text::N_("画像1と画像2の一定範囲の階調差を表示します\n"
                            "範囲は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です"),
     .judged = true},
    {.name = text::N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果"),
     .cliName = "user program result",
     .colourKind = 0,
     .description = text::N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果です"),
     .row = &ImageKernels::copy,
     .buttonText = text::N_("ﾕｰｻﾞ結果"),
     .buttonHelp = text::N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果を表示します")},
    {.name = text::N_("AND(論理積)"),
     .cliName = "AND",
     .colourKind = 0,
     .description = text::N_("画像１と画像２でAND（論理積）を行った結果です"),
     .row = &ImageKernels::bitwiseAnd},
    {.name = text::N_("OR(論理和)"),
     .cliName = "OR",
     .colourKind = 0,
     .description = text::N_("画像１と画像２でOR（論理和）を行った結果です"),
     .row = &ImageKernels::bitwiseOr},
    {.name = text::N_("XOR(排他的論理和)"),
     .cliName = "XOR",
     .colourKind = 0,
     .description = text::N_("画像１と画像２でXOR（排他的論理和）を行った結果です"),
     .row = &ImageKernels::bitwiseXor},
}};

inline const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable() {
  return kImageKinds;
}

constexpr bool isBuiltInKind(int kind) {
  return kind >= 0 && kind < kBuiltInKindCount;
}

// The help text of a user processing entry's image.
inline constexpr const char* kUserProcessingDescription =
    text::N_("ﾕｰｻﾞ簡易画像処理の実行結果です");

// The value around the picture and in blanked areas (0 for a user processing entry).
constexpr std::uint8_t fillValueOf(int kind) {
  return isBuiltInKind(kind) ? kImageKinds[static_cast<std::size_t>(kind)].fill : 0;
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
