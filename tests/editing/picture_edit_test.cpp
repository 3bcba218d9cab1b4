#include "editing/picture_edit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vemla {
namespace {

// A picture whose pixels are all different and never 0 (for pictures up to 254 pixels).
struct TestPicture {
  int width, height;
  std::vector<std::uint8_t> pixels;
  TestPicture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<std::uint8_t>(1 + i % 254);
  }
  EditPlane plane() { return {pixels.data(), width, height}; }
  int at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::vector<int> row(int y, int left, int right) const {
    std::vector<int> values;
    for (int x = left; x <= right; ++x) values.push_back(at(x, y));
    return values;
  }
};

CoordinateRange inside(Rect r) {
  return {true, false, r};
}
CoordinateRange outside(Rect r) {
  return {true, true, r};
}

bool within(Rect r, int x, int y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

TEST(ApplyTable, SelectsTheRectangleItsComplementOrEverything) {
  const Rect rectangles[] = {{1, 1, 3, 2}, {2, 2, 2, 2}, {0, 0, 5, 0}, {5, 0, 5, 4}, {0, 0, 5, 4}};
  for (const Rect& r : rectangles) {
    for (const bool out : {false, true}) {
      TestPicture picture(6, 5);
      const TestPicture before = picture;
      applyTable(picture.plane(), {true, out, r}, inversionTable());
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
          const bool selected = within(r, x, y) != out;
          EXPECT_EQ(picture.at(x, y), selected ? 255 - before.at(x, y) : before.at(x, y))
              << x << ',' << y << " out=" << out;
        }
    }
  }
  TestPicture whole(6, 5);
  applyTable(whole.plane(), {false, true, {1, 1, 2, 2}}, inversionTable());  // the range is off
  EXPECT_EQ(whole.at(0, 0), 254);
  EXPECT_EQ(whole.at(1, 1), 255 - 8);
}

TEST(Flips, MirrorOddAndEvenRectanglesAndRefuseOutside) {
  TestPicture picture(7, 4);
  const TestPicture before = picture;
  ASSERT_EQ(flipHorizontal(picture.plane(), inside({1, 1, 5, 2})), nullptr);  // 5 wide
  EXPECT_EQ(picture.row(1, 0, 6), (std::vector<int>{8, 13, 12, 11, 10, 9, 14}));
  EXPECT_EQ(picture.row(0, 0, 6), before.row(0, 0, 6));
  ASSERT_EQ(flipHorizontal(picture.plane(), inside({1, 1, 5, 2})), nullptr);
  EXPECT_EQ(picture.pixels, before.pixels);

  ASSERT_EQ(flipVertical(picture.plane(), {}), nullptr);  // 4 rows, the whole picture
  EXPECT_EQ(picture.row(0, 0, 6), before.row(3, 0, 6));
  EXPECT_EQ(picture.row(1, 0, 6), before.row(2, 0, 6));
  ASSERT_EQ(flipVertical(picture.plane(), inside({2, 0, 3, 2})), nullptr);  // 3 rows
  EXPECT_EQ(picture.at(2, 0), before.at(2, 1));
  EXPECT_EQ(picture.at(2, 1), before.at(2, 2));
  EXPECT_EQ(picture.at(4, 0), before.at(4, 3));

  // Rows long enough to be reversed eight bytes at a time from both ends, odd and even.
  for (const int width : {37, 40}) {
    TestPicture wide(width, 2);
    const TestPicture original = wide;
    ASSERT_EQ(flipHorizontal(wide.plane(), {}), nullptr);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width; ++x) EXPECT_EQ(wide.at(x, y), original.at(width - 1 - x, y));
  }

  const TestPicture kept = picture;
  const char* refusals[] = {flipHorizontal(picture.plane(), outside({1, 1, 2, 2})),
                            flipVertical(picture.plane(), outside({1, 1, 2, 2}))};
  for (const char* refusal : refusals) EXPECT_STREQ(refusal, kOutsideRefused);
  EditWork work;
  EXPECT_STREQ(rotateRectangle(picture.plane(), outside({1, 1, 2, 2}), 90, work), kOutsideRefused);
  EXPECT_STREQ(shiftRectangle(picture.plane(), outside({1, 1, 2, 2}), 16, kShiftCubic, {}, work),
               kOutsideRefused);
  EXPECT_EQ(picture.pixels, kept.pixels);
}

// A 4 x 2 rectangle at (1, 1) of a 6 x 4 picture holding 1 2 3 4 / 5 6 7 8 sits in rows 1-2 of
// a 4 x 4 square; the middle rows of the turned square come back, the frame stays.
TEST(RotateRectangle, QuarterTurnsOfAFlatRectangleWorkedByHand) {
  struct Case {
    int angle;
    std::vector<int> top, bottom;
  };
  for (const Case& c :
       {Case{90, {0, 6, 2, 0}, {0, 7, 3, 0}}, Case{180, {8, 7, 6, 5}, {4, 3, 2, 1}},
        Case{270, {0, 3, 7, 0}, {0, 2, 6, 0}}, Case{0, {1, 2, 3, 4}, {5, 6, 7, 8}}}) {
    TestPicture picture(6, 4);
    for (int i = 0; i < 4; ++i) {
      picture.pixels[6 + 1 + i] = static_cast<std::uint8_t>(1 + i);
      picture.pixels[12 + 1 + i] = static_cast<std::uint8_t>(5 + i);
    }
    const TestPicture before = picture;
    EditWork work;
    ASSERT_EQ(rotateRectangle(picture.plane(), inside({1, 1, 4, 2}), c.angle, work), nullptr);
    EXPECT_EQ(picture.row(1, 1, 4), c.top) << c.angle;
    EXPECT_EQ(picture.row(2, 1, 4), c.bottom) << c.angle;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x)
        if (!within({1, 1, 4, 2}, x, y)) EXPECT_EQ(picture.at(x, y), before.at(x, y));
  }
}

TEST(RotateRectangle, QuarterTurnsOfASquareCompose) {
  const auto turned = [](std::initializer_list<int> angles) {
    TestPicture picture(37, 37);  // wider than the bands the turns work in
    EditWork work;
    for (const int angle : angles)
      rotateRectangle(picture.plane(), inside({1, 1, 35, 35}), angle, work);
    return picture.pixels;
  };
  EXPECT_EQ(turned({90, 90, 90, 90}), turned({}));
  EXPECT_EQ(turned({90, 90}), turned({180}));
  EXPECT_EQ(turned({90, 180}), turned({270}));
  EXPECT_NE(turned({90}), turned({}));
  // A tall rectangle (2 x 3 at the left of a square of 3): its middle row takes the turned
  // square's, read from the rectangle's right column upwards; nothing outside it changes.
  TestPicture tall(4, 5);
  const TestPicture before = tall;
  EditWork work;
  rotateRectangle(tall.plane(), inside({1, 1, 2, 3}), 90, work);
  EXPECT_EQ(tall.row(2, 1, 2), (std::vector<int>{before.at(2, 3), before.at(2, 2)}));
  EXPECT_EQ(tall.row(0, 0, 3), before.row(0, 0, 3));
  EXPECT_EQ(tall.row(4, 0, 3), before.row(4, 0, 3));
}

// 2 x 2 at 45 degrees: s = c = 181. (0,0) lands on (1,0), (1,0) leaves the square, (0,1) on
// (0,0), (1,1) stays; (0,1) is never hit.
TEST(RotateRectangle, OtherAnglesGoThroughTheProjectionAndLeaveUncoveredPointsBlack) {
  std::vector<std::uint8_t> pixels{10, 20, 30, 40};
  EditWork work;
  ASSERT_EQ(rotateRectangle({pixels.data(), 2, 2}, {}, 45, work), nullptr);
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{30, 10, 0, 40}));
}

TEST(RotateRectangle, WalksASquareLargerThanThePictureWithoutWritingOutsideIt) {
  TestPicture wide(4096, 8);
  EditWork work;
  ASSERT_EQ(rotateRectangle(wide.plane(), {}, 45, work), nullptr);
  EXPECT_EQ(wide.pixels.size(), 4096u * 8u);
  // Only a few source rows cross the middle band; most of it turns black.
  int black = 0;
  for (const std::uint8_t p : wide.pixels) black += p == 0;
  EXPECT_GT(black, 4096 * 8 / 2);
  // The work memory holds the 4096 x 8 result (from a cache line on), never the square.
  EXPECT_LE(work.result.size(), 4096u * 8u + 63u);
}

// A narrow rectangle and one of whole rows (shifted straight from the plane).
TEST(ShiftRectangle, ShiftsTheRectangleAsAPictureOfItsOwnInBothModes) {
  for (const int mode : {kShiftLinear, kShiftCubic}) {
    for (const Rect& r : {Rect{2, 1, 9, 7}, Rect{0, 2, 11, 6}}) {
      TestPicture picture(12, 9);
      const TestPicture before = picture;
      const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
      const ShiftAmount amount{true, 1, 4, false, 0, 8};
      std::vector<std::uint8_t> cut, expected(static_cast<std::size_t>(w) * h);
      for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x)
          cut.push_back(static_cast<std::uint8_t>(before.at(x, y)));
      std::vector<std::int32_t> scratch(shiftScratchSize(w));
      shiftPicture(cut.data(), w, h, 16, mode, amount, expected.data(), scratch.data());
      EditWork work;
      ASSERT_EQ(shiftRectangle(picture.plane(), inside(r), 16, mode, amount, work), nullptr);
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
          EXPECT_EQ(picture.at(x, y),
                    within(r, x, y) ? expected[(y - r.top) * w + x - r.left] : before.at(x, y))
              << mode << ' ' << x << ',' << y;
    }
  }
}

// Whole rows are shifted straight from the plane, a band at a time, each band copied back into
// rows later bands may still read: every direction and reach, against shiftPicture of a copy.
TEST(ShiftRectangle, WholeRowsShiftedInBandsMatchTheWholeShift) {
  const int w = 2048, h = 300;  // several bands
  std::mt19937 random(5);
  TestPicture original(w, h);
  for (std::uint8_t& p : original.pixels) p = static_cast<std::uint8_t>(random());
  std::vector<std::int32_t> scratch(shiftScratchSize(w));
  for (const int mode : {kShiftLinear, kShiftCubic})
    for (const bool down : {false, true})
      for (const int whole : {0, 1, 200})
        for (const int steps : {0, 5}) {
          const ShiftAmount amount{true, 2, 3, down, whole, steps};
          std::vector<std::uint8_t> expected(original.pixels.size());
          shiftPicture(original.pixels.data(), w, h, 16, mode, amount, expected.data(),
                       scratch.data());
          TestPicture picture = original;
          EditWork work;
          ASSERT_EQ(shiftRectangle(picture.plane(), {}, 16, mode, amount, work), nullptr);
          ASSERT_EQ(picture.pixels, expected)
              << "mode " << mode << " down " << down << " whole " << whole << " steps " << steps;
        }
}

TEST(DirectEntry, SetsOnlyPixelsInsideThePicture) {
  TestPicture picture(5, 4);
  const TestPicture before = picture;
  EXPECT_TRUE(setPixel(picture.plane(), 0, 0, 200));
  EXPECT_TRUE(setPixel(picture.plane(), 4, 3, 201));
  EXPECT_FALSE(setPixel(picture.plane(), 4, 3, 201));  // unchanged
  for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{
           {-1, 0}, {0, -1}, {5, 3}, {4, 4}, {-1, -1}, {5, 0}})
    EXPECT_FALSE(setPixel(picture.plane(), x, y, 7)) << x << ',' << y;
  int changed = 0;
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    changed += picture.pixels[i] != before.pixels[i];
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(picture.at(0, 0), 200);
  EXPECT_EQ(picture.at(4, 3), 201);
}

TEST(DirectEntry, CellTextsAndClickValues) {
  std::vector<std::uint8_t> pixels{7, 0xAB, 255, 42};
  const EditPlane plane{pixels.data(), 2, 2};
  EXPECT_EQ(editCellText(plane, 0, 0, false), "   7");
  EXPECT_EQ(editCellText(plane, 0, 1, false), " 255");
  EXPECT_EQ(editCellText(plane, 1, 0, true), "  AB");
  EXPECT_EQ(editCellText(plane, 0, 0, true), "  07");
  EXPECT_EQ(editCellText(plane, 2, 0, false), " ‥ ");
  EXPECT_EQ(editCellText(plane, 0, -1, true), " ‥ ");
  EXPECT_EQ(clickValue("0x1F"), 31);
  EXPECT_EQ(clickValue("300"), 255);
  EXPECT_EQ(clickValue("-4"), 0);
  EXPECT_EQ(clickValue("abc"), 0);
}

}  // namespace
}  // namespace vemla
