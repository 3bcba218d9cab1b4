#include "processing/reduced_display.h"

namespace vemla {

double reductionRatio(int width, int height) {
  if (width <= 0 || height <= 0) return 1.0;
  const long long reduced = width >= height ? 512 : static_cast<long long>(width) * 512 / height;
  return reduced > 0 ? static_cast<double>(width) / static_cast<double>(reduced) : 1.0;
}

}  // namespace vemla
