#include "processing/image_kinds.h"

namespace vemla {

const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable() {
  using K = ImageKernels;
  static constexpr std::array<ImageKindInfo, kBuiltInKindCount> kTable{{
      {"画像１", 1, "表示されている画像１と同じ内容です", "画像１", "画像1のｲﾒｰｼﾞを直接表示します",
       &K::copy},
      {"画像２", 1, "表示されている画像２と同じ内容です", "画像２", "画像2のｲﾒｰｼﾞを直接表示します",
       &K::copy},
      {"平均", 1, "画像１と画像２の平均階調値です", "平均", "画像1と画像2の平均階調値を表示します",
       &K::average},
      {"階調差", 2, "画像１と画像２の階調差（絶対値）です", "階調差",
       "画像1と画像2の階調差(絶対値)を表示します", &K::absoluteDifference},
      {"ｵﾌｾｯﾄ差", 3, "画像１と画像２の階調差が128を基点に表示されます", "ｵﾌｾｯﾄ差",
       "画像1と画像2の階調差で0を128に\n基点変換したｲﾒｰｼﾞを表示します", &K::offsetDifference},
      {"ｴﾘｱ差", 2, "画像１と画像２の一定範囲（ｵﾌﾟｼｮﾝ情報の指定）の差です", "ｴﾘｱ差",
       "画像1と画像2の一定範囲の階調差を表示します\n範囲は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です",
       nullptr},
      {"ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果", 0, "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果です", "ﾕｰｻﾞ結果",
       "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果を表示します", &K::copy},
      {"AND(論理積)", 0, "画像１と画像２でAND（論理積）を行った結果です", nullptr, nullptr,
       &K::bitwiseAnd},
      {"OR(論理和)", 0, "画像１と画像２でOR（論理和）を行った結果です", nullptr, nullptr,
       &K::bitwiseOr},
      {"XOR(排他的論理和)", 0, "画像１と画像２でXOR（排他的論理和）を行った結果です", nullptr,
       nullptr, &K::bitwiseXor},
  }};
  return kTable;
}

std::string imageLabel(ImageSlot image, bool picturesLoaded, std::string_view kindName,
                       std::string_view magnificationText) {
  std::string label = image == ImageSlot::First ? "ｲﾒｰｼﾞ1" : "ｲﾒｰｼﾞ2";
  if (!picturesLoaded) return label;
  return label.append("（").append(kindName).append("） ").append(magnificationText);
}

}  // namespace vemla
