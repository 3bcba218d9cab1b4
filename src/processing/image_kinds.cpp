#include "processing/image_kinds.h"

#include <algorithm>

#include "text/format.h"
#include "text/translate.h"

namespace vemla {

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
