// Writes the sample picture pair: a textured scene, and the same scene moved by a known
// sub-pixel amount (1.25 pixels right, 0.5 pixels up) with a few local changes. Both pictures
// are sampled from one continuous scene function, so the shift is exact rather than the result
// of resampling. Deterministic: the same files every run.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "picture/bitmap.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr double kShiftX = 1.25;
constexpr double kShiftY = -0.5;

double smoothStep(double edge, double value) { return 1.0 / (1.0 + std::exp(-(value - edge) * 4.0)); }

// Grey level of the continuous scene at (x, y).
double scene(double x, double y) {
  double value = 90.0 + 40.0 * std::sin(x * 0.11) * std::cos(y * 0.07) + 0.15 * x;
  value += 20.0 * std::sin((x + 2.0 * y) * 0.31);
  // A bright disc, a dark square and a ring with soft edges.
  value += 80.0 * smoothStep(0.0, 30.0 - std::hypot(x - 90.0, y - 80.0));
  value -= 60.0 * smoothStep(0.0, 25.0 - std::max(std::fabs(x - 220.0), std::fabs(y - 150.0)));
  value += 50.0 * smoothStep(0.0, 4.0 - std::fabs(std::hypot(x - 240.0, y - 60.0) - 28.0));
  return value;
}

std::uint8_t toGrey(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<std::uint8_t>(value);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "samples";
  std::vector<std::uint8_t> first(kWidth * kHeight), second(kWidth * kHeight);
  std::uint32_t noise = 12345;
  auto nextNoise = [&noise] {
    noise = noise * 1664525u + 1013904223u;
    return static_cast<double>(noise >> 24) / 255.0 - 0.5;
  };
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      first[y * kWidth + x] = toGrey(scene(x, y) + 3.0 * nextNoise());
      double moved = scene(x - kShiftX, y - kShiftY) + 3.0 * nextNoise();
      // Local changes only in the second picture: a small bright spot, a dark scratch and a
      // faint patch.
      if (std::hypot(x - 160.0, y - 190.0) < 5.0) moved += 70.0;
      if (y >= 40 && y <= 41 && x >= 120 && x <= 170) moved -= 50.0;
      if (x >= 40 && x < 60 && y >= 170 && y < 190) moved += 12.0;
      second[y * kWidth + x] = toGrey(moved);
    }
  }
  const std::string scene1 = folder + "/scene1.bmp";
  const std::string scene2 = folder + "/scene2.bmp";
  if (vemla::writeBitmap(scene1, kWidth, kHeight, 1, first.data(), nullptr) != 0 ||
      vemla::writeBitmap(scene2, kWidth, kHeight, 1, second.data(), nullptr) != 0) {
    std::fprintf(stderr, "cannot write the samples into %s\n", folder.c_str());
    return 1;
  }
  std::printf("wrote %s and %s (%dx%d; picture 2 moved %.2f right and %.2f up)\n", scene1.c_str(),
              scene2.c_str(), kWidth, kHeight, kShiftX, -kShiftY);
  return 0;
}
