#pragma once
// Pictures for the shift and alignment benchmarks: a smooth textured pattern (so that the
// alignment has a clear optimum) and the same pattern moved by a sub-pixel amount.
#include <cmath>
#include <cstdint>
#include <vector>

namespace vemla::bench {

inline constexpr int kSide = 4096;

// The pattern sampled at (x - dx, y - dy): the content moved right by dx and down by dy.
inline std::vector<std::uint8_t> texturedPicture(int width, int height, double dx = 0,
                                                 double dy = 0) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const double v = y - dy;
    for (int x = 0; x < width; ++x) {
      const double u = x - dx;
      const double value = 128 + 50 * std::sin(u * 0.11 + v * 0.03) +
                           40 * std::cos(v * 0.07 - u * 0.02) +
                           20 * std::sin(u * 0.37) * std::cos(v * 0.29);
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(std::lround(value));
    }
  }
  return pixels;
}

}  // namespace vemla::bench
