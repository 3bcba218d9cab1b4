#pragma once
// A workbench with its picture store allocated, the fake ports and a counting listener
// attached, for tests of the workbench operations. A fixture that needs a smaller store passes
// its largest side to the constructor.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "support/counting_listener.h"
#include "support/fake_progress_port.h"
#include "support/fake_user_port.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/workbench.h"

namespace vemla::testing {

class WorkbenchFixture : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;
  using PixelFunction = std::function<int(int x, int y)>;

  explicit WorkbenchFixture(int storeSide = 1024) : storeSide_(storeSide) {}

  void SetUp() override {
    ASSERT_TRUE(bench.store.allocate(storeSide_, storeSide_));
    bench.addListener(&listener);
  }
  void TearDown() override { bench.removeListener(&listener); }

  // Opens picture1 and picture2 (W x H each) from memory, which runs the refresh chain;
  // `more` adds names, palettes or a view.
  void openPictures(int width, int height, MemoryPictures more = {}) {
    more.width = width;
    more.height = height;
    more.pixels = {picture1.data(), picture2.data()};
    ASSERT_EQ(setPicturesFromMemory(bench, user, more), 0);
  }
  // The same after filling picture1 with first(x, y) and picture2 with second(x, y), mod 256.
  void openPictures(int width, int height, const PixelFunction& first, const PixelFunction& second,
                    MemoryPictures more = {}) {
    picture1 = pixels(width, height, first);
    picture2 = pixels(width, height, second);
    openPictures(width, height, std::move(more));
  }
  static PixelFunction everywhere(int value) {
    return [value](int, int) { return value; };
  }
  static Bytes pixels(int width, int height, const PixelFunction& value) {
    Bytes out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        out[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(value(x, y));
      }
    }
    return out;
  }
  // Pixel (x, y) of a store plane at the pictures' width.
  std::uint8_t pixel(int plane, int x, int y) const {
    return bench.store.plane(plane)[static_cast<std::size_t>(y) * bench.pictures.width + x];
  }

  Workbench bench;
  FakeUserPort user;
  FakeProgressPort progress;  // the progress window and the wait cursor
  CountingListener listener;
  Bytes picture1, picture2;  // what openPictures opened

 private:
  int storeSide_;
};

}  // namespace vemla::testing
