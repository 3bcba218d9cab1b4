// Every kernel variant the machine runs against literal per-pixel versions of the table pass,
// the mirror and the rotations, on random pictures of awkward sizes and rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editing/picture_edit.h"
#include "tools/relief.h"

namespace vemla {
namespace {

struct Picture {
  int width, height;
  std::vector<std::uint8_t> pixels;
  Picture(int w, int h, unsigned seed) : width(w), height(h), pixels(std::size_t(w) * h) {
    std::mt19937 random(seed);
    for (std::uint8_t& p : pixels) p = static_cast<std::uint8_t>(random());
  }
  EditPlane plane() { return {pixels.data(), width, height}; }
  std::uint8_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
};

// A picture and a rectangle in it (left, top, right, bottom).
struct Shape {
  int width, height;
  Rect rectangle;
};

// Sizes around the vector widths and tiles, odd and even, flat and tall, rectangles at edges.
const Shape kShapes[] = {
    {1, 1, {0, 0, 0, 0}},         {5, 1, {0, 0, 4, 0}},       {1, 7, {0, 0, 0, 6}},
    {2, 3, {0, 0, 1, 2}},         {9, 4, {1, 1, 7, 2}},       {130, 3, {1, 0, 129, 2}},
    {200, 90, {0, 0, 199, 89}},   {90, 200, {3, 0, 89, 198}}, {97, 64, {0, 0, 96, 63}},
    {64, 97, {0, 1, 63, 96}},     {80, 80, {10, 5, 78, 79}},  {71, 70, {0, 0, 70, 69}},
    {150, 150, {0, 0, 149, 149}}, {66, 66, {1, 2, 64, 65}},   {129, 45, {64, 3, 128, 44}},
};

// The rotation as defined, point by point: the rectangle in the middle of a square of side
// S = max(w, h), black around it, turned clockwise; the middle w x h goes back.
void rotateLiterally(Picture& picture, const Rect& r, int angle) {
  const int w = r.right - r.left + 1, h = r.bottom - r.top + 1, size = std::max(w, h);
  const int ox = (size - w) / 2, oy = (size - h) / 2;
  const auto square = [&](int x, int y) -> int {  // the unturned square
    const int sx = x - ox, sy = y - oy;
    return sx < 0 || sy < 0 || sx >= w || sy >= h ? 0 : picture.at(r.left + sx, r.top + sy);
  };
  std::vector<int> out(std::size_t(w) * h, 0);
  if (angle % 90 == 0) {
    for (int y = oy; y < oy + h; ++y)
      for (int x = ox; x < ox + w; ++x) {
        const int last = size - 1;
        const int value = angle == 90    ? square(y, last - x)
                          : angle == 180 ? square(last - x, last - y)
                                         : square(last - y, x);
        out[std::size_t(y - oy) * w + (x - ox)] = value;
      }
  } else {
    const tools::Projection projection = tools::makeProjection(
        angle, 0, tools::kNeutralDepth, 0, tools::kNeutralBaseHeight, size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const ViewPoint to = tools::project(projection, x - size / 2, y - size / 2, 0);
        if (to.x >= ox && to.x < ox + w && to.y >= oy && to.y < oy + h)
          out[std::size_t(to.y - oy) * w + (to.x - ox)] = square(x, y);
      }
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      picture.at(r.left + x, r.top + y) = static_cast<std::uint8_t>(out[std::size_t(y) * w + x]);
}

std::string describe(const EditKernels& kernels, const Shape& s) {
  return std::string(kernels.name) + ' ' + std::to_string(s.width) + 'x' +
         std::to_string(s.height) + " at " + std::to_string(s.rectangle.left) + ',' +
         std::to_string(s.rectangle.top) + '-' + std::to_string(s.rectangle.right) + ',' +
         std::to_string(s.rectangle.bottom);
}

TEST(EditKernels, TablePassMatchesTheLiteralSelection) {
  GreyTable table{};
  std::mt19937 random(7);
  for (std::uint8_t& entry : table) entry = static_cast<std::uint8_t>(random());
  for (const EditKernels* kernels : supportedEditKernels())
    for (const Shape& s : kShapes)
      for (const CoordinateRange range :
           {CoordinateRange{}, CoordinateRange{true, false, s.rectangle},
            CoordinateRange{true, true, s.rectangle}}) {
        Picture picture(s.width, s.height, 1), expected = picture;
        for (int y = 0; y < s.height; ++y)
          for (int x = 0; x < s.width; ++x) {
            const Rect& r = s.rectangle;
            const bool in = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
            if (!range.on || in != range.outside) expected.at(x, y) = table[expected.at(x, y)];
          }
        applyTable(*kernels, picture.plane(), range, table);
        ASSERT_EQ(picture.pixels, expected.pixels)
            << describe(*kernels, s) << " on=" << range.on << " outside=" << range.outside;
      }
}

TEST(EditKernels, MirrorMatchesTheLiteralReversal) {
  for (const EditKernels* kernels : supportedEditKernels())
    for (const Shape& s : kShapes) {
      Picture picture(s.width, s.height, 2), expected = picture;
      const Rect& r = s.rectangle;
      for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x)
          expected.at(x, y) = picture.at(r.left + r.right - x, y);
      ASSERT_EQ(flipHorizontal(*kernels, picture.plane(), {true, false, r}), nullptr);
      ASSERT_EQ(picture.pixels, expected.pixels) << describe(*kernels, s);
    }
}

TEST(EditKernels, RotationsMatchTheLiteralDefinition) {
  const int angles[] = {90, 180, 270, 1, 17, 45, 89, 91, 135, 180 + 17, 269, 271, 315, 359};
  for (const EditKernels* kernels : supportedEditKernels())
    for (const Shape& s : kShapes)
      for (const int angle : angles) {
        Picture picture(s.width, s.height, 3), expected = picture;
        rotateLiterally(expected, s.rectangle, angle);
        EditWork work;
        ASSERT_EQ(
            rotateRectangle(*kernels, picture.plane(), {true, false, s.rectangle}, angle, work),
            nullptr);
        ASSERT_EQ(picture.pixels, expected.pixels) << describe(*kernels, s) << " angle " << angle;
      }
  // Quarter turns large enough to be worked in several blocks of tiles, with one, two and three
  // tiles left over beside the grouped spans; the last one's result is large enough to be
  // streamed past the caches.
  for (const Shape& s : {Shape{600, 531, {0, 0, 599, 530}}, Shape{531, 600, {0, 1, 530, 599}},
                         Shape{560, 546, {0, 0, 559, 545}}, Shape{546, 560, {1, 0, 545, 559}},
                         Shape{2900, 2960, {3, 1, 2899, 2950}}})
    for (const int angle : {90, 270}) {
      const Picture original(s.width, s.height, 4);
      Picture expected = original;
      rotateLiterally(expected, s.rectangle, angle);
      for (const EditKernels* kernels : supportedEditKernels()) {
        Picture picture = original;
        EditWork work;
        rotateRectangle(*kernels, picture.plane(), {true, false, s.rectangle}, angle, work);
        ASSERT_EQ(picture.pixels, expected.pixels) << describe(*kernels, s) << " angle " << angle;
      }
    }
}

}  // namespace
}  // namespace vemla
