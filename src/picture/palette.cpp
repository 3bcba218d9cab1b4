#include "picture/palette.h"

namespace vemla {

Palette greyRamp() {
  Palette palette{};
  for (int i = 0; i < 256; ++i) {
    const auto value = static_cast<std::uint8_t>(i);
    palette[4 * i] = value;
    palette[4 * i + 1] = value;
    palette[4 * i + 2] = value;
    palette[4 * i + 3] = 0;
  }
  return palette;
}

}  // namespace vemla
