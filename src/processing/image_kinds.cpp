#include "processing/image_kinds.h"

namespace vemla {

const std::array<ImageKindInfo, kBuiltInKindCount>& imageKindTable() {
  static constexpr std::array<ImageKindInfo, kBuiltInKindCount> kTable{{
      {"画像１", 1, "表示されている画像１と同じ内容です"},
      {"画像２", 1, "表示されている画像２と同じ内容です"},
      {"平均", 1, "画像１と画像２の平均階調値です"},
      {"階調差", 2, "画像１と画像２の階調差（絶対値）です"},
      {"ｵﾌｾｯﾄ差", 3, "画像１と画像２の階調差が128を基点に表示されます"},
      {"ｴﾘｱ差", 2, "画像１と画像２の一定範囲（ｵﾌﾟｼｮﾝ情報の指定）の差です"},
      {"ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果", 0, "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)の実行結果です"},
      {"AND(論理積)", 0, "画像１と画像２でAND（論理積）を行った結果です"},
      {"OR(論理和)", 0, "画像１と画像２でOR（論理和）を行った結果です"},
      {"XOR(排他的論理和)", 0, "画像１と画像２でXOR（排他的論理和）を行った結果です"},
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
