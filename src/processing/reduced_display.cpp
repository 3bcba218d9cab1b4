#include "processing/reduced_display.h"

#include <algorithm>

#include "text/number_format.h"

namespace vemla {
namespace {

// w' of the ratio: the reduced width.
long long reducedWidth(int width, int height) {
  return width >= height ? 512 : static_cast<long long>(width) * 512 / height;
}

}  // namespace

double reductionRatio(int width, int height) {
  if (width <= 0 || height <= 0) return 1.0;
  const long long reduced = reducedWidth(width, height);
  return reduced > 0 ? static_cast<double>(width) / static_cast<double>(reduced) : 1.0;
}

ReducedGeometry reducedGeometry(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  ReducedGeometry geometry;
  if (width >= height) {
    geometry.width = 512;
    geometry.height = std::max(static_cast<int>(static_cast<long long>(height) * 512 / width), 1);
  } else {
    geometry.width = std::max(static_cast<int>(static_cast<long long>(width) * 512 / height), 1);
    geometry.height = 512;
  }
  geometry.left = (512 - geometry.width) / 2;
  geometry.top = (512 - geometry.height) / 2;
  return geometry;
}

std::string reductionText(int width, int height) {
  const long long reduced = width > 0 && height > 0 ? reducedWidth(width, height) : 0;
  if (reduced <= 0) return "1.0";
  // r + 0.0005 truncated to thousandths, in integers: floor((2000 W + w') / (2 w')).
  const long long thousandths = (2000LL * width + reduced) / (2 * reduced);
  const std::string digits = std::to_string(thousandths % 1000);
  return text::shortenDecimal(std::to_string(thousandths / 1000) + "." +
                              std::string(3 - digits.size(), '0') + digits);
}

}  // namespace vemla
