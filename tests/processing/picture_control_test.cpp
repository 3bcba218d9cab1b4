#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "processing/alignment.h"
#include "processing/manual_shift.h"
#include "processing/shift.h"
#include "processing/valid_range.h"
#include "support/fake_user_port.h"
#include "workbench/picture/prepare_pictures.h"

namespace vemla {
namespace {

// ---- Valid range.

TEST(ValidRange, KindsGiveTheWholePictureTheRectangleOrTheMargin) {
  ValidRangeSetting setting;
  EXPECT_EQ(computeValidRange(setting, 40, 30), (Rect{0, 0, 39, 29}));
  setting.kind = kValidMargin;
  setting.margin = 5;
  EXPECT_EQ(computeValidRange(setting, 40, 30), (Rect{5, 5, 34, 24}));
  setting.kind = kValidRectangle;
  setValidRectangle(setting, 30, 25, 3, -4, 40, 30);  // clamped, then ordered
  EXPECT_EQ(setting.rectangle, (Rect{3, 0, 30, 25}));
  EXPECT_EQ(computeValidRange(setting, 40, 30), (Rect{3, 0, 30, 25}));
  setValidRectangle(setting, 99, 99, 99, 99, 40, 30);
  EXPECT_EQ(setting.rectangle, (Rect{39, 29, 39, 29}));
}

TEST(ValidRange, AMarginLargerThanHalfCollapsesToTheCentre) {
  ValidRangeSetting setting;
  setting.kind = kValidMargin;
  setting.margin = 300;
  EXPECT_EQ(computeValidRange(setting, 512, 400), (Rect{256, 200, 256, 200}));
  // Only the axis that runs out collapses.
  setting.margin = 250;
  EXPECT_EQ(computeValidRange(setting, 512, 400), (Rect{250, 200, 261, 200}));
  setValidMargin(setting, -3);
  EXPECT_EQ(setting.margin, 0);
  setting.margin = 2147483647;  // from a damaged settings file
  EXPECT_EQ(computeValidRange(setting, 512, 400), (Rect{256, 200, 256, 200}));
}

TEST(ValidRange, SelectingTheSelectedKindChangesNothing) {
  ValidRangeSetting setting;
  EXPECT_FALSE(selectValidRangeKind(setting, kValidWhole));
  EXPECT_TRUE(selectValidRangeKind(setting, kValidMargin));
  EXPECT_EQ(setting.kind, kValidMargin);
  EXPECT_FALSE(selectValidRangeKind(setting, 7));
}

// ---- Manual shift.

TEST(ManualShift, SwitchingEitherShiftOnOrOffSwitchesTheOtherOff) {
  PictureControlState control;
  control.alignment.enabled = true;
  setManualShiftEnabled(control, true);
  EXPECT_TRUE(control.manual.enabled);
  EXPECT_FALSE(control.alignment.enabled);
  setAlignmentEnabled(control, true);
  EXPECT_TRUE(control.alignment.enabled);
  EXPECT_FALSE(control.manual.enabled);
  setManualShiftEnabled(control, false);
  EXPECT_FALSE(control.alignment.enabled);
}

TEST(ManualShift, TheTargetAsksForPreparationOnlyWhenItChangesWhileTheShiftIsOn) {
  struct Case {
    bool enabled;
    int before, chosen;
    bool prepare;
    int after;
  };
  for (const Case& c : {Case{true, 0, 1, true, 1}, Case{true, 1, 1, false, 1},
                        Case{false, 0, 1, false, 1}, Case{true, 1, 0, true, 0}}) {
    PictureControlState control;
    control.manual.enabled = c.enabled;
    control.manual.target = c.before;
    EXPECT_EQ(setManualTarget(control, c.chosen), c.prepare) << c.before << "->" << c.chosen;
    EXPECT_EQ(control.manual.target, c.after);
  }
}

TEST(ManualShift, ThePadStepRowChoosesAWholePixelOrAPowerOfTwo) {
  const std::pair<int, int> kRowsAndSteps[] = {{0, 0}, {-1, 0}, {1, 2}, {4, 16}, {8, 256}};
  for (const auto& [row, step] : kRowsAndSteps) {
    PictureControlState control;
    selectPadStep(control, row);
    EXPECT_EQ(control.manual.padStep, step) << row;
  }
}

TEST(ManualShift, DirectionButtonsClearTheOppositeFlag) {
  ShiftSetting setting;
  setDirectionButton(setting, ShiftDirection::Left, true);
  setDirectionButton(setting, ShiftDirection::Down, true);
  EXPECT_EQ(setting, (ShiftSetting{1, 0, 0, 1, 0, 0, 0, 0}));
  setDirectionButton(setting, ShiftDirection::Right, true);
  setDirectionButton(setting, ShiftDirection::Up, false);
  EXPECT_EQ(setting, (ShiftSetting{0, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(ManualShift, AmountEditsClampWholePixelsAndIgnoreBadSubSteps) {
  const ShiftContext context{true, 100, 80, 16};
  ShiftSetting setting;
  applyAmountEdits(setting, -4, 5, 3, 15, context);
  EXPECT_EQ(setting.wholeX, 0);
  EXPECT_EQ(setting.wholeY, 5);
  EXPECT_EQ(setting.stepsX, 3);
  EXPECT_EQ(setting.stepsY, 15);
  applyAmountEdits(setting, 1000000, 2000000000, 16, -1, context);
  EXPECT_EQ(setting.wholeX, 100);  // beyond W only overflows: W already gives zeros
  EXPECT_EQ(setting.wholeY, 80);
  EXPECT_EQ(setting.stepsX, 3);  // kept
  EXPECT_EQ(setting.stepsY, 15);
}

TEST(ManualShift, ThePadIsSplitByItsDiagonals) {
  EXPECT_EQ(padDirectionAt(16, 2), ShiftDirection::Up);
  EXPECT_EQ(padDirectionAt(16, 30), ShiftDirection::Down);
  EXPECT_EQ(padDirectionAt(2, 16), ShiftDirection::Left);
  EXPECT_EQ(padDirectionAt(30, 16), ShiftDirection::Right);
  EXPECT_EQ(padDirectionAt(10, 10), std::nullopt);  // on a diagonal
  EXPECT_EQ(padDirectionAt(20, 12), std::nullopt);  // x + y = 32
  EXPECT_EQ(padDirectionAt(-1, 16), std::nullopt);
}

TEST(ManualShift, PadPressesAddTheStepToTheSignedTotals) {
  PictureControlState control;
  control.manual.enabled = true;
  const ShiftContext context{true, 64, 64, 16};
  // Step 1/4 on n = 16 from left 0 + 2/16: one press right gives right 0 + 2/16.
  control.manual.padStep = 4;
  control.manual.setting = {1, 0, 0, 0, 0, 0, 2, 0};
  ASSERT_TRUE(pressDirectionPad(control, ShiftDirection::Right, context));
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 1, 0, 0, 0, 0, 2, 0}));
  // Whole pixels: up from nothing, then down twice crosses zero.
  control.manual.padStep = 0;
  pressDirectionPad(control, ShiftDirection::Up, context);
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 1, 1, 0, 0, 1, 2, 0}));
  pressDirectionPad(control, ShiftDirection::Down, context);
  pressDirectionPad(control, ShiftDirection::Down, context);
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 1, 0, 1, 0, 1, 2, 0}));
  // A total of exactly zero has no direction.
  control.manual.padStep = 8;
  pressDirectionPad(control, ShiftDirection::Left, context);
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 0, 0, 1, 0, 1, 0, 0}));
}

TEST(ManualShift, PadDoesNothingWhileOffOrWithoutPicturesAndStopsAtThePictureSize) {
  PictureControlState control;
  control.manual.padStep = 0;
  EXPECT_FALSE(pressDirectionPad(control, ShiftDirection::Right, {true, 8, 8, 16}));
  control.manual.enabled = true;
  EXPECT_FALSE(pressDirectionPad(control, ShiftDirection::Right, {false, 8, 8, 16}));
  EXPECT_EQ(control.manual.setting, ShiftSetting{});
  for (int press = 0; press < 12; ++press)
    pressDirectionPad(control, ShiftDirection::Right, {true, 8, 8, 16});
  EXPECT_EQ(control.manual.setting.wholeX, 8);
  pressDirectionPad(control, ShiftDirection::Left, {true, 8, 8, 16});
  EXPECT_EQ(control.manual.setting.wholeX, 7);
}

TEST(ManualShift, MarksStoreRestoreAndShowTheirTexts) {
  PictureControlState control;
  control.manual.target = 1;
  control.manual.setting = {1, 0, 0, 1, 3, 0, 5, 7};
  storeMark(control, 0);
  EXPECT_EQ(control.marks[0], (ShiftMark{1, 1, 1, 3, 5, 2, 0, 7}));
  EXPECT_EQ(markTexts(control.marks[0]), (std::array<std::string, 2>{"3+5  (2←)", "0+7  (2↓)"}));
  control.manual.target = 0;
  control.manual.setting = {0, 1, 1, 0, 1, 2, 0, 0};
  storeMark(control, 1);
  EXPECT_EQ(markTexts(control.marks[1]), (std::array<std::string, 2>{"1+0  (1→)", "2+0  (1↑)"}));
  control.manual.setting = {0, 0, 0, 0, 0, 0, 0, 0};
  storeMark(control, 1);
  EXPECT_EQ(markTexts(control.marks[1]), (std::array<std::string, 2>{"", ""}));

  ASSERT_TRUE(restoreMark(control, 0));
  EXPECT_EQ(control.manual.setting, (ShiftSetting{1, 0, 0, 1, 3, 0, 5, 7}));
  EXPECT_EQ(control.manual.target, 1);
  clearMarks(control);
  EXPECT_FALSE(restoreMark(control, 0));
  EXPECT_EQ(markTexts(control.marks[0]), (std::array<std::string, 2>{"", ""}));
}

TEST(ManualShift, ReferenceSMovesTheReferenceContentToTheCursor) {
  PictureControlState control;
  const ShiftContext context{true, 200, 100, 16};
  EXPECT_FALSE(shiftReferenceToCursor(control, 5, 5, context));
  EXPECT_EQ(referenceTexts(control.reference), (std::array<std::string, 2>{"", ""}));
  storeReference(control, 50, 40);
  EXPECT_EQ(referenceTexts(control.reference), (std::array<std::string, 2>{"50", "40"}));
  control.manual.setting.stepsX = 9;
  ASSERT_TRUE(shiftReferenceToCursor(control, 47, 46, context));
  EXPECT_EQ(control.manual.setting, (ShiftSetting{1, 0, 0, 1, 3, 6, 0, 0}));
  ASSERT_TRUE(shiftReferenceToCursor(control, 60, 40, context));
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 1, 0, 0, 10, 0, 0, 0}));
  ASSERT_TRUE(shiftReferenceToCursor(control, 50, 30, context));
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 0, 1, 0, 0, 10, 0, 0}));
}

TEST(ManualShift, CopyingTheAutomaticResultTakesItsTargetAndDirections) {
  PictureControlState control;
  const ShiftContext context{true, 100, 100, 16};
  EXPECT_FALSE(copyAlignmentResult(control, context));
  control.alignment.target = 0;
  control.alignmentResult = {1, 0, 2, 0, 12, 0, true};
  control.alignmentKeys.division = 16;
  control.alignmentKeys.precision = 4;
  ASSERT_TRUE(copyAlignmentResult(control, context));
  EXPECT_EQ(control.manual.target, 0);
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 1, 0, 0, 2, 0, 12, 0}));
  control.alignmentResult = {0, 1, 0, 1, 0, 4, true};
  copyAlignmentResult(control, context);
  EXPECT_EQ(control.manual.setting, (ShiftSetting{0, 0, 0, 1, 0, 1, 0, 4}));
  // Found at n = 16, p = 4, copied after the division became 32: 12/16 is 24/32.
  control.alignmentResult = {0, 0, 1, 0, 12, 0, true};
  copyAlignmentResult(control, {true, 100, 100, 32});
  EXPECT_EQ(control.manual.setting, (ShiftSetting{1, 0, 0, 0, 1, 0, 24, 0}));
}

TEST(ManualShift, ChangingTheDivisionRescalesSubStepsAndSwitchesTheShiftOff) {
  PictureControlState control;
  control.manual.enabled = true;
  control.manual.setting = {1, 0, 1, 0, 2, 3, 12, 5};
  control.marks[0] = {1, 0, 2, 1, 8, 0, 0, 0};
  control.marks[1] = {0, 0, 2, 1, 8, 0, 0, 0};  // not valid: untouched
  control.alignment.enabled = true;
  control.alignment.precision = 8;
  control.alignmentResult.valid = true;
  changeDivision(control, 16, 4);
  EXPECT_FALSE(control.manual.enabled);
  EXPECT_EQ(control.manual.setting.stepsX, 3);  // 12/16 = 0.75 = 3/4
  EXPECT_EQ(control.manual.setting.stepsY, 1);  // 5/16 truncated to 1/4
  EXPECT_EQ(control.marks[0].stepsX, 2);
  EXPECT_EQ(control.marks[1].stepsX, 8);
  EXPECT_EQ(control.alignment.precision, 4);
  EXPECT_FALSE(control.alignment.enabled);
  EXPECT_FALSE(control.alignmentResult.valid);
  EXPECT_EQ(control.manual.padStep, 4);

  control.alignment.precision = 4;
  control.alignmentResult.valid = true;
  changeDivision(control, 4, 64);
  EXPECT_EQ(control.manual.setting.stepsX, 48);
  EXPECT_EQ(control.marks[0].stepsX, 32);
  EXPECT_TRUE(control.alignmentResult.valid);  // precision 4 still fits
  EXPECT_EQ(control.manual.padStep, 64);
}

// 12/16 of a pixel found at 1/64 is 48/64; after a change to 1/32 and the correction of the
// next preparation it must still read 12/16, shown and copied into the manual shift as 24/32.
TEST(ManualShift, ChangingTheDivisionKeepsTheValueOfAStoredAlignmentResult) {
  PictureControlState control;
  control.alignment.precision = 16;
  control.alignment.target = 1;
  control.alignmentResult = {1, 0, 2, 0, 48, 0, true};
  control.alignmentKeys.division = 64;
  control.alignmentKeys.precision = 16;
  changeDivision(control, 64, 32);
  correctPictureControl(control, 32, 100, 100);
  EXPECT_EQ(control.alignmentResult, (AlignmentResult{1, 0, 2, 0, 24, 0, true}));
  EXPECT_EQ(alignmentResultText(control.alignmentResult, control.alignmentKeys),
            "右：2+12/16 上下：なし");
  ASSERT_TRUE(copyAlignmentResult(control, {true, 100, 100, 32}));
  EXPECT_EQ(control.manual.setting.stepsX, 24);
}

TEST(AlignmentSettings, EntriesAreCorrectedIntoTheirRanges) {
  EXPECT_EQ(correctedAlignmentRange(0), 1);
  EXPECT_EQ(correctedAlignmentRange(-7), 1);
  EXPECT_EQ(correctedAlignmentRange(33), 32);
  EXPECT_EQ(correctedAlignmentRange(17), 17);
  EXPECT_EQ(correctedCursorRange(-1, 100, 80), 0);
  EXPECT_EQ(correctedCursorRange(2000000000, 100, 80), 100);
  PictureControlState control;
  EXPECT_FALSE(setAlignmentPrecision(control, 64, 16));  // off: only the control changes
  EXPECT_EQ(control.alignment.precision, 16);
  setAlignmentEnabled(control, true);
  EXPECT_TRUE(setAlignmentPrecision(control, 6, 16));
  EXPECT_EQ(control.alignment.precision, 4);
  EXPECT_TRUE(setAlignmentCriterion(control, kAlignStandard));
  control.alignmentResult.valid = true;
  EXPECT_TRUE(rerunAlignment(control));
  EXPECT_FALSE(control.alignmentResult.valid);
}

// ---- preparePictures on a workbench.

class CountingBusyPort : public BusyPort {
 public:
  int begins = 0, ends = 0;
  void begin() override { ++begins; }
  void end() override { ++ends; }
};

class Prepare : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bench.store.allocate(1024, 1024));
    load(kWidth, kHeight, 0, 0);
  }
  // Picture 1 is a smooth pattern; picture 2 the same with its content moved by (dx, dy).
  void load(int width, int height, double dx, double dy) {
    bench.pictures.width = width;
    bench.pictures.height = height;
    bench.pictures.picturesPresent = true;
    for (int k = 0; k < 2; ++k) {
      std::uint8_t* plane = bench.store.plane(k == 0 ? kPicture1 : kPicture2);
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const double u = x - (k == 1 ? dx : 0), v = y - (k == 1 ? dy : 0);
          plane[y * width + x] = static_cast<std::uint8_t>(
              std::lround(128 + 60 * std::sin(u * 0.2 + v * 0.05) + 50 * std::cos(v * 0.15)));
        }
      }
    }
  }
  std::vector<std::uint8_t> plane(int index) const {
    const std::uint8_t* data = bench.store.plane(index);
    return {data, data + bench.pictures.width * bench.pictures.height};
  }
  std::vector<std::uint8_t> shiftedBy(int picture, int mode, const ShiftAmount& amount) const {
    std::vector<std::uint8_t> source = plane(picture), out(source.size());
    std::vector<std::int32_t> scratch(shiftScratchSize(bench.pictures.width));
    shiftPicture(source.data(), bench.pictures.width, bench.pictures.height, 16, mode, amount,
                 out.data(), scratch.data());
    return out;
  }
  void prepare() { preparePictures(bench, user, busy); }

  static constexpr int kWidth = 96, kHeight = 80;
  Workbench bench;
  testing::FakeUserPort user;
  CountingBusyPort busy;
};

TEST_F(Prepare, WithoutShiftsTheShiftedPicturesAreCopies) {
  bench.control.validRange.kind = kValidMargin;
  bench.control.validRange.margin = 4;
  prepare();
  EXPECT_EQ(plane(kShifted1), plane(kPicture1));
  EXPECT_EQ(plane(kShifted2), plane(kPicture2));
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{4, 4, 91, 75}));
  EXPECT_EQ(bench.control.validRectangles[1], (Rect{4, 4, 91, 75}));
  EXPECT_EQ(busy.begins, 0);
}

TEST_F(Prepare, ManualShiftMovesOnlyItsTargetWithTheOptionMode) {
  bench.options.ShiftInterpolation = kShiftLinear;
  bench.control.manual.enabled = true;
  bench.control.manual.target = 0;
  bench.control.manual.setting = {0, 1, 0, 1, 2, 1, 4, 0};  // right 2 + 4/16, down 1
  prepare();
  EXPECT_EQ(plane(kShifted1), shiftedBy(kPicture1, kShiftLinear, {true, 2, 4, true, 1, 0}));
  EXPECT_EQ(plane(kShifted2), plane(kPicture2));
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{0, 0, kWidth - 1, kHeight - 1}));
}

TEST_F(Prepare, AlignmentShiftsTheTargetShrinksTheRectanglesAndIsCached) {
  load(kWidth, kHeight, 3, -2);  // picture 2 moved right 3, up 2
  bench.control.alignment.enabled = true;
  bench.control.alignment.criterion = kAlignStandard;
  prepare();
  const AlignmentResult& result = bench.control.alignmentResult;
  ASSERT_TRUE(result.valid);
  EXPECT_EQ(result, (AlignmentResult{0, 1, 3, 2, 0, 0, true}));
  EXPECT_EQ(busy.begins, 1);
  EXPECT_EQ(busy.ends, 1);
  EXPECT_EQ(plane(kShifted2), shiftedBy(kPicture2, kShiftCubic, {false, 3, 0, true, 2, 0}));
  EXPECT_EQ(plane(kShifted1), plane(kPicture1));
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{7, 7, kWidth - 8, kHeight - 8}));
  EXPECT_EQ(alignmentResultText(result, bench.control.alignmentKeys), "左：3+0/16 下：2+0/16");

  // Same keys: no new search. A changed key searches again.
  prepare();
  EXPECT_EQ(busy.begins, 1);
  bench.control.alignment.range = 4;
  prepare();
  EXPECT_EQ(busy.begins, 2);
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{6, 6, kWidth - 7, kHeight - 7}));
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(Prepare, AFailedSearchWarnsSwitchesOffAndStillPassesTheTargetThroughTheShift) {
  bench.control.alignment.enabled = true;
  bench.control.alignment.target = 0;
  bench.control.alignmentResult = {1, 1, 4, 4, 0, 0, true};
  bench.control.validRange.kind = kValidRectangle;
  bench.control.validRange.rectangle = {10, 10, 21, 60};  // 12 wide, R = 5
  prepare();
  EXPECT_EQ(user.onlyMessage(),
            "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:12 "
            "y:51)\n対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_FALSE(bench.control.alignment.enabled);
  EXPECT_EQ(bench.control.alignmentResult, AlignmentResult{});
  EXPECT_EQ(plane(kShifted1), shiftedBy(kPicture1, kShiftCubic, {}));  // zero frame of two
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{10, 10, 21, 60}));
}

TEST_F(Prepare, CursorSearchRunsOnceOverTheCursorRegionAndIsThenReused) {
  load(kWidth, kHeight, -1, 0);
  bench.control.alignment.enabled = true;
  bench.control.alignment.criterion = kAlignStandard;
  bench.control.alignment.range = 3;
  bench.control.alignment.cursorRange = 6;     // 13 x 13 around the cursor
  requestCursorSearch(bench.control, 94, 40);  // clipped to columns 88..95: 8 <= 2 * 3 + 2
  prepare();
  EXPECT_EQ(user.onlyMessage(),
            "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:8 "
            "y:13)\n対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい");
  EXPECT_FALSE(bench.control.cursorSearch.pending);

  user.messages.clear();
  bench.control.alignment.enabled = true;
  requestCursorSearch(bench.control, 40, 40);
  prepare();
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.control.alignmentResult, (AlignmentResult{1, 0, 1, 0, 0, 0, true}));
  EXPECT_EQ(bench.control.alignmentKeys.validRectangle, (Rect{0, 0, kWidth - 1, kHeight - 1}));
  const int searches = busy.begins;
  prepare();
  EXPECT_EQ(busy.begins, searches);
}

TEST_F(Prepare, NothingHappensWithoutPictures) {
  bench.pictures.picturesPresent = false;
  bench.control.alignment.enabled = true;
  prepare();
  EXPECT_EQ(busy.begins, 0);
  EXPECT_FALSE(bench.control.alignmentResult.valid);
}

TEST_F(Prepare, DamagedStateIsCorrectedBeforeUse) {
  bench.control.manual.enabled = true;
  bench.control.manual.setting = {1, 1, 1, 1, -5, 1 << 30, 99, -3};
  bench.control.alignment.precision = 1000;
  bench.control.alignment.range = 0;
  prepare();
  EXPECT_EQ(bench.control.manual.setting, (ShiftSetting{1, 0, 1, 0, 0, kHeight, 15, 0}));
  EXPECT_EQ(bench.control.alignment.precision, 16);
  EXPECT_EQ(bench.control.alignment.range, 1);
}

}  // namespace
}  // namespace vemla
