#pragma once
// The pane tests' workbench: two pictures of a given size, 40 and 90 everywhere, named
// "/p/one.bmp" and "/p/two.bmp", Picture 2 with a palette of its own.
#include "support/workbench_fixture.h"

namespace vemla {

class PanePictures : public testing::WorkbenchFixture {
 protected:
  void open(int width, int height) {
    palette2 = greyRamp();
    palette2[0] = 200;  // blue of entry 0
    MemoryPictures pictures;
    pictures.palettes = {nullptr, &palette2};
    pictures.names = {"/p/one.bmp", "/p/two.bmp"};
    openPictures(width, height, everywhere(40), everywhere(90), pictures);
  }

  Palette palette2{};
};

}  // namespace vemla
