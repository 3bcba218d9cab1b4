#include "gallery/rgb_planes.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemla {
namespace {

// Every length around the 16-pixel steps, from offsets that are not aligned: each pixel is
// (blue, green, red) of its own position.
TEST(RgbPlanes, InterleaveInBitmapByteOrderAtEveryLength) {
  for (const std::size_t pixels : {0, 1, 15, 16, 17, 31, 32, 33, 100}) {
    std::vector<std::uint8_t> planes(3 * pixels + 1);
    for (std::size_t i = 0; i < planes.size(); ++i)
      planes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::uint8_t* red = planes.data() + 1;
    const std::uint8_t* green = red + pixels;
    const std::uint8_t* blue = green + pixels;
    std::vector<std::uint8_t> out(3 * pixels + 1, 0xEE);
    interleaveRgbPlanes(red, green, blue, pixels, out.data() + 1);
    for (std::size_t k = 0; k < pixels; ++k) {
      ASSERT_EQ(out[1 + 3 * k], blue[k]) << pixels << " pixels, pixel " << k;
      ASSERT_EQ(out[2 + 3 * k], green[k]) << pixels << " pixels, pixel " << k;
      ASSERT_EQ(out[3 + 3 * k], red[k]) << pixels << " pixels, pixel " << k;
    }
    EXPECT_EQ(out[0], 0xEE);  // nothing before the output
  }
}

}  // namespace
}  // namespace vemla
