#include "workbench/view/colour_controls.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

class ColourControls : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& tables = bench.userEntries.colours;
    tables[0].inUse = 1;
    tables[0].name = "海";
    tables[2].inUse = 1;
    tables[2].name = "熱";
  }
  const auto& kindColours(ImageSlot image) const {
    return bench.images.selections.kindColours[index(image)];
  }

  Workbench bench;
};

TEST_F(ColourControls, ListsTheFourBuiltInKindsThenTheTablesInUse) {
  const std::vector<ColourChoice> choices = colourChoices(bench);
  const std::vector<ColourChoice> expected{{"ｸﾞﾚｰｽｹｰﾙ", 0}, {"標準ｶﾗｰ", 1}, {"差分ｶﾗｰ", 2},
                                           {"ｵﾌｾｯﾄｶﾗｰ", 3}, {"海", 16},     {"熱", 18}};
  EXPECT_EQ(choices, expected);
  EXPECT_EQ(colourChoiceIndex(choices, 18), 5);
  EXPECT_EQ(colourChoiceIndex(choices, 17), -1);
}

TEST_F(ColourControls, ChoiceIsRememberedForTheImageAndWhatItShows) {
  // Defaults: "画像１" and "画像２" with "標準ｶﾗｰ", "階調差" with "差分ｶﾗｰ".
  EXPECT_EQ(associatedColourKind(bench, ImageSlot::First), 1);
  bench.images.kind[1] = 3;
  EXPECT_EQ(associatedColourKind(bench, ImageSlot::Second), 2);

  EXPECT_TRUE(chooseColour(bench, ImageSlot::First, 5));  // "熱"
  EXPECT_EQ(kindColours(ImageSlot::First)[0], 18);
  EXPECT_EQ(kindColours(ImageSlot::Second)[0], 1);  // image 2's choice for the same kind is its own
  EXPECT_FALSE(chooseColour(bench, ImageSlot::First, 6));
  EXPECT_EQ(kindColours(ImageSlot::First)[0], 18);

  // A user processing entry has its own association.
  bench.images.kind[0] = 99;
  bench.images.userEntry[0] = 4;
  EXPECT_EQ(associatedColourKind(bench, ImageSlot::First), 0);
  EXPECT_TRUE(chooseColour(bench, ImageSlot::First, 2));
  EXPECT_EQ(bench.images.selections.userProcessingColours[0][4], 2);
  EXPECT_EQ(kindColours(ImageSlot::First)[0], 18);

  // Values that are no colour kind are refused.
  setColourAssociation(bench, ImageSlot::First, 7);
  EXPECT_EQ(bench.images.selections.userProcessingColours[0][4], 2);
}

TEST_F(ColourControls, ArrowsCopyTheOtherImagesColourForWhatEachShows) {
  bench.images.kind[1] = 4;  // "ｵﾌｾｯﾄ差" with "ｵﾌｾｯﾄｶﾗｰ"
  copyColourAssociation(bench, ImageSlot::First);  // "←"
  EXPECT_EQ(kindColours(ImageSlot::First)[0], 3);
  EXPECT_EQ(kindColours(ImageSlot::Second)[4], 3);
  chooseColour(bench, ImageSlot::First, 4);         // "海"
  copyColourAssociation(bench, ImageSlot::Second);  // "→"
  EXPECT_EQ(kindColours(ImageSlot::Second)[4], 16);
  EXPECT_EQ(kindColours(ImageSlot::Second)[1], 1);
}

TEST_F(ColourControls, IntensityAndBrightnessBelongToThePaintedColourKind) {
  bench.images.kind[1] = 3;
  // Colour display off: both images are painted grey, so grey's values change.
  EXPECT_EQ(intensityOf(bench, ImageSlot::Second), 1);
  setIntensity(bench, ImageSlot::Second, 5);
  EXPECT_EQ(bench.images.selections.intensity[0], 5);

  setColourDisplay(bench, true);
  EXPECT_EQ(intensityOf(bench, ImageSlot::Second), 8);  // "差分ｶﾗｰ" starts at 8
  setIntensity(bench, ImageSlot::Second, 20);
  EXPECT_EQ(bench.images.selections.intensity[2], 16);
  setBrightness(bench, ImageSlot::Second, -5);
  EXPECT_EQ(bench.images.selections.brightness[2], 0);
  setBrightness(bench, ImageSlot::First, 300);
  EXPECT_EQ(bench.images.selections.brightness[1], 256);
  EXPECT_EQ(brightnessOf(bench, ImageSlot::First), 256);
  // Values restored from a file out of range read back within it.
  bench.images.selections.intensity[1] = 0;
  EXPECT_EQ(intensityOf(bench, ImageSlot::First), 1);
}

using ColourControlsRepaint = testing::WorkbenchFixture;

TEST_F(ColourControlsRepaint, ChoosingAColourRepaintsThePanesWithItsTable) {
  openPictures(8, 8, everywhere(0), everywhere(0));
  EXPECT_EQ(bench.view.panes[0].colours[0], (Rgb{0, 0, 0}));  // grey
  setColourDisplay(bench, true);
  // "標準ｶﾗｰ" entry 0 is (0, 0, 128); grey value 0 maps to base entry 0 at intensity 1.
  EXPECT_EQ(bench.view.panes[0].colours[0], (Rgb{0, 0, 128}));
  chooseColour(bench, ImageSlot::First, 3);  // "ｵﾌｾｯﾄｶﾗｰ": entry 0 is (255, 255, 0)
  EXPECT_EQ(bench.view.panes[0].colours[0], (Rgb{255, 255, 0}));
}

}  // namespace
}  // namespace vemla
