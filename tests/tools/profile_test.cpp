#include "tools/profile.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemla::tools {
namespace {

TEST(ProfilePoints, XAndYReadTheCentred492Pixels) {
  const auto x = profilePoints(ProfileDirection::X, {300, 40});
  ASSERT_EQ(x.size(), 492u);
  EXPECT_EQ(x.front(), (ViewPoint{10, 40}));
  EXPECT_EQ(x.back(), (ViewPoint{501, 40}));
  const auto y = profilePoints(ProfileDirection::Y, {300, 40});
  EXPECT_EQ(y.back(), (ViewPoint{300, 501}));
  EXPECT_TRUE(profilePoints(ProfileDirection::X, {300, 512}).empty());
}

TEST(ProfilePoints, ArbitrarySegmentsStepAlongTheLongerAxis) {
  // Up and to the left, steeper than 45°: rows step by one, columns by (k * -3) / 7.
  const auto steep = profilePoints(ProfileDirection::Arbitrary, {}, {20, 30}, {17, 23});
  ASSERT_EQ(steep.size(), 7u);
  EXPECT_EQ(steep[1], (ViewPoint{20, 29}));
  EXPECT_EQ(steep[3], (ViewPoint{19, 27}));  // 20 + (-9 / 7)
  EXPECT_EQ(steep[6], (ViewPoint{18, 24}));  // the end (17, 23) is excluded
  EXPECT_TRUE(profilePoints(ProfileDirection::Arbitrary, {}, {5, 5}, {5, 5}).empty());
  EXPECT_EQ(profilePoints(ProfileDirection::Arbitrary, {}, {0, 0}, {511, 0}).size(), 492u);
}

TEST(ProfileSampling, ReadsTheViewAndItsExtremes) {
  std::vector<std::uint8_t> view(512 * 512, 9);
  view[7 * 512 + 12] = 200;
  const Profile profile = sampleProfile(view.data(), {{11, 7}, {12, 7}, {13, 7}});
  EXPECT_EQ(profile.values, (std::vector<std::uint8_t>{9, 200, 9}));
  EXPECT_EQ(profile.max, 200);
  EXPECT_EQ(profile.min, 9);
  EXPECT_FALSE(sampleProfile(view.data(), {}).max);
}

TEST(ProfilePlot, ValuesOutsideTheRangeStayOnTheEdges) {
  EXPECT_EQ(plotRow(100, 100, 200), 24 + 160);
  EXPECT_EQ(plotRow(0, 100, 200), 24 + 160);
  EXPECT_EQ(plotRow(250, 100, 200), 24);
  EXPECT_EQ(plotRow(150, 100, 200), 24 + 80);
  EXPECT_EQ(plotRow(1, 0, 3), 24 + 106);  // (3 - 1) * 160 / 3
}

TEST(ProfileAutomaticRange, RoundsOutwardsAndLimits) {
  EXPECT_EQ(automaticRange(128, 128), (GreyRange{120, 135, 1}));
  EXPECT_EQ(automaticRange(130, 130), (GreyRange{125, 140, 1}));  // a multiple of 5 gains 5
  EXPECT_EQ(automaticRange(250, 3).upper, 255);
  EXPECT_EQ(automaticRange(250, 3).lower, 0);
  EXPECT_EQ(automaticRange(250, 3).step, 10);
  EXPECT_EQ(automaticRange(60, 40), (GreyRange{35, 70, 2}));  // 65 is a multiple of 5 too
  EXPECT_EQ(automaticRange(std::nullopt, 7), (GreyRange{0, 255, 10}));
  EXPECT_EQ(automaticRange(255, 255), (GreyRange{250, 255, 1}));
}

TEST(ProfileGrid, HorizontalLinesOnlyWithAWholePixelSpacing) {
  const auto lines = horizontalGridLines(0, 100, 10);  // q = 10: every 16 pixels
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], (GridLine{184 - 16, false}));
  EXPECT_EQ(lines[4], (GridLine{184 - 80, true}));
  EXPECT_TRUE(horizontalGridLines(0, 255, 1).empty());  // 160 / 255 = 0: no endless loop
  EXPECT_TRUE(horizontalGridLines(10, 14, 5).empty());  // q = 0: no division by zero
  EXPECT_EQ(horizontalGridLines(0, 160, 1).size(), 159u);
}

TEST(ProfileGrid, VerticalLinesStartAtTheOffset) {
  const auto lines = verticalGridLines(100.0, 30);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].at, 30);
  EXPECT_EQ(lines[4], (GridLine{430, true}));
  EXPECT_EQ(verticalGridLines(100.0, 0)[0].at, 100);
  EXPECT_TRUE(verticalGridLines(0.5, 0).empty());
}

TEST(ProfileStep, ArbitrarySegmentsDivideByTheLongerAxisNotTheSampleCount) {
  EXPECT_DOUBLE_EQ(profileStepLength(ProfileDirection::X, 2.0, 3.0), 2.0);
  EXPECT_DOUBLE_EQ(profileStepLength(ProfileDirection::Y, 2.0, 3.0), 3.0);
  // 511 pixels are cut at 492 samples; each step is still one pixel long.
  EXPECT_DOUBLE_EQ(profileStepLength(ProfileDirection::Arbitrary, 1.0, 1.0, {0, 0}, {511, 0}), 1.0);
  EXPECT_DOUBLE_EQ(profileStepLength(ProfileDirection::Arbitrary, 1.0, 1.0, {0, 0}, {4, 3}),
                   5.0 / 4.0);
  EXPECT_DOUBLE_EQ(profileStepLength(ProfileDirection::Arbitrary, 1.0, 1.0, {3, 3}, {3, 3}), 0.0);
}

TEST(ProfileReadout, Texts) {
  EXPECT_EQ(valueReadout(12, 200), "1： 12  2：200  差：188");
  EXPECT_EQ(valueReadout(std::nullopt, 7), "階調値:  7");
  EXPECT_EQ(distanceReadout(10.5), "距離: 10.5000");
}

}  // namespace
}  // namespace vemla::tools
