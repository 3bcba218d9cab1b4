#include "processing/image_kinds.h"

#include "text/format.h"
#include "text/translate.h"

namespace vemla {

const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable() {
  using K = ImageKernels;
  using text::N_;
  static constexpr std::array<ImageKindInfo, kBuiltInKindCount> kTable{{
      {N_("画像１"), 1, N_("表示されている画像１と同じ内容です"), N_("画像１"),
       N_("画像1のｲﾒｰｼﾞを直接表示します"), &K::copy},
      {N_("画像２"), 1, N_("表示されている画像２と同じ内容です"), N_("画像２"),
       N_("画像2のｲﾒｰｼﾞを直接表示します"), &K::copy},
      {N_("平均"), 1, N_("画像１と画像２の平均階調値です"), N_("平均"),
       N_("画像1と画像2の平均階調値を表示します"), &K::average},
      {N_("階調差"), 2, N_("画像１と画像２の階調差（絶対値）です"), N_("階調差"),
       N_("画像1と画像2の階調差(絶対値)を表示します"), &K::absoluteDifference},
      {N_("ｵﾌｾｯﾄ差"), 3, N_("画像１と画像２の階調差が128を基点に表示されます"), N_("ｵﾌｾｯﾄ差"),
       N_("画像1と画像2の階調差で0を128に\n基点変換したｲﾒｰｼﾞを表示します"), &K::offsetDifference},
      {N_("ｴﾘｱ差"), 2, N_("画像１と画像２の一定範囲（ｵﾌﾟｼｮﾝ情報の指定）の差です"), N_("ｴﾘｱ差"),
       N_("画像1と画像2の一定範囲の階調差を表示します\n"
          "範囲は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です"),
       nullptr},
      {N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果"), 0, N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果です"), N_("ﾕｰｻﾞ結果"),
       N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果を表示します"), &K::copy},
      {N_("AND(論理積)"), 0, N_("画像１と画像２でAND（論理積）を行った結果です"), nullptr, nullptr,
       &K::bitwiseAnd},
      {N_("OR(論理和)"), 0, N_("画像１と画像２でOR（論理和）を行った結果です"), nullptr, nullptr,
       &K::bitwiseOr},
      {N_("XOR(排他的論理和)"), 0, N_("画像１と画像２でXOR（排他的論理和）を行った結果です"),
       nullptr, nullptr, &K::bitwiseXor},
  }};
  return kTable;
}

std::string imageLabel(ImageSlot image, bool picturesLoaded, std::string_view kindName,
                       std::string_view magnificationText) {
  const char* label = image == ImageSlot::First ? text::tr("ｲﾒｰｼﾞ1") : text::tr("ｲﾒｰｼﾞ2");
  if (!picturesLoaded) return label;
  return text::format(text::tr("%s（%s） %s"), label, std::string(text::tr(kindName)).c_str(),
                      std::string(magnificationText).c_str());
}

}  // namespace vemla
