#include "processing/image_kinds.h"

#include <algorithm>

#include "text/format.h"
#include "text/translate.h"

namespace vemla {

const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable() {
  using K = ImageKernels;
  using text::N_;
  static constexpr std::array<ImageKindInfo, kBuiltInKindCount> kTable{{
      {.name = N_("画像１"),
       .cliName = "picture 1",
       .colourKind = 1,
       .description = N_("表示されている画像１と同じ内容です"),
       .row = &K::copy,
       .buttonText = N_("画像１"),
       .buttonHelp = N_("画像1のｲﾒｰｼﾞを直接表示します"),
       .buttonRow = ImageSlot::First,
       .statistics = StatisticsSource::Picture1},
      {.name = N_("画像２"),
       .cliName = "picture 2",
       .colourKind = 1,
       .description = N_("表示されている画像２と同じ内容です"),
       .row = &K::copy,
       .buttonText = N_("画像２"),
       .buttonHelp = N_("画像2のｲﾒｰｼﾞを直接表示します"),
       .statistics = StatisticsSource::Picture2},
      {.name = N_("平均"),
       .cliName = "average",
       .colourKind = 1,
       .description = N_("画像１と画像２の平均階調値です"),
       .row = &K::average,
       .buttonText = N_("平均"),
       .buttonHelp = N_("画像1と画像2の平均階調値を表示します")},
      {.name = N_("階調差"),
       .cliName = "difference",
       .colourKind = 2,
       .description = N_("画像１と画像２の階調差（絶対値）です"),
       .row = &K::absoluteDifference,
       .buttonText = N_("階調差"),
       .buttonHelp = N_("画像1と画像2の階調差(絶対値)を表示します"),
       .judged = true},
      {.name = N_("ｵﾌｾｯﾄ差"),
       .cliName = "offset difference",
       .colourKind = 3,
       .description = N_("画像１と画像２の階調差が128を基点に表示されます"),
       .row = &K::offsetDifference,
       .buttonText = N_("ｵﾌｾｯﾄ差"),
       .buttonHelp = N_("画像1と画像2の階調差で0を128に\n基点変換したｲﾒｰｼﾞを表示します"),
       .fill = 128,
       .judged = true},
      {.name = N_("ｴﾘｱ差"),
       .cliName = "area difference",
       .colourKind = 2,
       .description = N_("画像１と画像２の一定範囲（ｵﾌﾟｼｮﾝ情報の指定）の差です"),
       .row = nullptr,
       .buttonText = N_("ｴﾘｱ差"),
       .buttonHelp = N_("画像1と画像2の一定範囲の階調差を表示します\n"
                        "範囲は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です"),
       .judged = true},
      {.name = N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果"),
       .cliName = "user program result",
       .colourKind = 0,
       .description = N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果です"),
       .row = &K::copy,
       .buttonText = N_("ﾕｰｻﾞ結果"),
       .buttonHelp = N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果を表示します")},
      {.name = N_("AND(論理積)"),
       .cliName = "AND",
       .colourKind = 0,
       .description = N_("画像１と画像２でAND（論理積）を行った結果です"),
       .row = &K::bitwiseAnd},
      {.name = N_("OR(論理和)"),
       .cliName = "OR",
       .colourKind = 0,
       .description = N_("画像１と画像２でOR（論理和）を行った結果です"),
       .row = &K::bitwiseOr},
      {.name = N_("XOR(排他的論理和)"),
       .cliName = "XOR",
       .colourKind = 0,
       .description = N_("画像１と画像２でXOR（排他的論理和）を行った結果です"),
       .row = &K::bitwiseXor},
  }};
  return kTable;
}

KindRange judgedKinds() {
  KindRange range{kBuiltInKindCount, -1};
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    if (!imageKindTable()[static_cast<std::size_t>(kind)].judged) continue;
    range.first = std::min(range.first, kind);
    range.last = kind;
  }
  return range;
}

std::string imageLabel(ImageSlot image, bool picturesLoaded, std::string_view kindName,
                       std::string_view magnificationText) {
  const char* label = image == ImageSlot::First ? text::tr("ｲﾒｰｼﾞ1") : text::tr("ｲﾒｰｼﾞ2");
  if (!picturesLoaded) return label;
  return text::format(text::tr("%s（%s） %s"), label, std::string(text::tr(kindName)).c_str(),
                      std::string(magnificationText).c_str());
}

}  // namespace vemla
