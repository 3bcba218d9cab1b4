#include "workbench/editing/picture_dialog_memory.h"

#include <gtest/gtest.h>

#include "workbench/settings/live_records.h"

namespace vemla {
namespace {

TEST(TextExportMemory, FirstUseTakesSourceAndHalfSizeFromTheSettingsRecord) {
  Workbench bench;
  bench.pictures.width = 10;
  bench.pictures.height = 8;
  bench.view.centreX = 5;
  bench.view.centreY = 4;
  bench.settings.program.textExport = {2, 3};
  persist::takeProgramRecord(bench);
  TextExportSettings settings = initialTextExport(bench);
  EXPECT_EQ(settings.source, 2);
  EXPECT_EQ(settings.halfSize, 3);
  EXPECT_EQ(settings.rectangle, (Rect{2, 1, 8, 7}));

  // A record from a damaged file: the source falls back to "画像1", the half size to 0.
  bench.settings.program.textExport = {7, -4};
  persist::takeProgramRecord(bench);
  settings = initialTextExport(bench);
  EXPECT_EQ(settings.source, 0);
  EXPECT_EQ(settings.halfSize, 0);
  EXPECT_EQ(settings.rectangle, (Rect{5, 4, 5, 4}));

  settings.source = 1;
  settings.halfSize = 6;
  storeTextExport(bench, settings);
  persist::putProgramRecord(bench);
  EXPECT_EQ(bench.settings.program.textExport, (std::array<std::int32_t, 2>{1, 6}));
}

}  // namespace
}  // namespace vemla
