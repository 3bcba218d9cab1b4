#include "workbench/picture/rgb_ratio_memory.h"

namespace vemla {

RgbRatioMemory::RgbRatioMemory(Workbench& bench, UserPort& user)
    : last_(bench.shell.rgbRatios), user_(user) {}

void RgbRatioMemory::tell(Icon icon, std::string_view text, std::string_view title) {
  user_.tell(icon, text, title);
}

bool RgbRatioMemory::askYesNo(std::string_view text) {
  return user_.askYesNo(text);
}

Answer RgbRatioMemory::askYesNoCancel(std::string_view text, Icon icon) {
  return user_.askYesNoCancel(text, icon);
}

std::optional<RawSize> RgbRatioMemory::askRawSize(std::string_view file, std::int64_t bytes,
                                                  RawSize initial) {
  return user_.askRawSize(file, bytes, initial);
}

std::optional<RgbRatio> RgbRatioMemory::askRgbRatio(std::string_view titleSuffix, RgbRatio) {
  const std::optional<RgbRatio> answer = user_.askRgbRatio(titleSuffix, last_);
  if (answer) last_ = *answer;
  return answer;
}

}  // namespace vemla
