#include "options/option_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace vemla {
namespace {

int& intOption(Options& options, std::string_view name) {
  const OptionDescriptor* option = findOption(name);
  EXPECT_NE(option, nullptr) << name;
  return *option->integer(options);
}

// Enters `value` into option `name` and returns what the correction makes of it.
int entered(std::string_view name, int value, CorrectionMode mode = CorrectionMode::Entry) {
  const Options previous;
  Options options;
  intOption(options, name) = value;
  correctOptions(options, previous, mode);
  return intOption(options, name);
}

TEST(OptionTable, NamesAreUniqueAndEachHasTheAccessorOfItsType) {
  std::set<std::string_view> names;
  for (const OptionDescriptor& option : optionTable()) {
    EXPECT_TRUE(names.insert(option.name).second) << option.name;
    const int accessors = (option.flag != nullptr) + (option.integer != nullptr) +
                          (option.real != nullptr) + (option.colour != nullptr) +
                          (option.text != nullptr) + (option.numbers != nullptr) +
                          (option.sixteenBit != nullptr);
    EXPECT_EQ(accessors, 1) << option.name;
    switch (option.type) {
      case OptionType::Flag:
        EXPECT_NE(option.flag, nullptr) << option.name;
        break;
      case OptionType::Choice:
      case OptionType::Integer:
        EXPECT_NE(option.integer, nullptr) << option.name;
        break;
      case OptionType::Real:
        EXPECT_NE(option.real, nullptr) << option.name;
        break;
      case OptionType::Colour:
        EXPECT_NE(option.colour, nullptr) << option.name;
        break;
      case OptionType::Text:
        EXPECT_NE(option.text, nullptr) << option.name;
        break;
      case OptionType::NumberSet:
        EXPECT_NE(option.numbers, nullptr) << option.name;
        break;
      case OptionType::SixteenBit:
        EXPECT_NE(option.sixteenBit, nullptr) << option.name;
        break;
    }
  }
  // 14 picture (the display language), 18 user control, 7 colours, 18 file (three ratios, the
  // 16-bit conversion), 7 communication, 9 tools 1 and 4 tools 2 options.
  EXPECT_EQ(optionTable().size(), 14u + 18u + 7u + 18u + 7u + 9u + 4u);
}

TEST(OptionTable, DefaultsAreThoseOfAFreshInstallation) {
  const Options options = Options{};
  EXPECT_EQ(options.MemoFile, "VemlaMemo.txt");  // in the program folder, wherever it is
  EXPECT_EQ(options.ShiftUnit, 16);
  EXPECT_EQ(options.ShiftInterpolation, 1);
  EXPECT_EQ(options.AreaDiffDivisor, 9.0);
  EXPECT_EQ(options.MaxPictureWidth, 1024);
  EXPECT_EQ(options.GalleryCount, 16);
  EXPECT_TRUE(options.carryOver.KeepZoomInterpolation);
  EXPECT_FALSE(options.carryOver.KeepGrid);
  EXPECT_EQ(options.DragMinimumMove, 4);
  EXPECT_EQ(options.RangeExtractionColour2, 0x00FFFF00u);  // R 0, G 255, B 255 as 0x00BBGGRR
  EXPECT_EQ(options.GridColour1, 0x0000FF00u);
  EXPECT_EQ(options.GreyRatio, (RgbRatio{0.299, 0.587, 0.114}));
  EXPECT_EQ(options.ArchivePicture2Number, 1);  // "2", stored 0-based
  EXPECT_EQ(options.NetworkPort, 24100);
  EXPECT_EQ(options.View3DLuminance, 128);
  EXPECT_EQ(options.PartialCompareGridX, 20);
  EXPECT_EQ(options.ScopePosition, 1);
  EXPECT_EQ(
      std::count(options.ArchiveExpandNumbers.begin(), options.ArchiveExpandNumbers.end(), true),
      0);
}

TEST(OptionCorrection, MaximumSizeIsRoundedUpToFourThenKeptInRange) {
  EXPECT_EQ(entered("MaxPictureWidth", 1030), 1032);
  EXPECT_EQ(entered("MaxPictureWidth", 5000), 4096);
  EXPECT_EQ(entered("MaxPictureWidth", 1000), 1024);
  EXPECT_EQ(entered("MaxPictureHeight", 4095), 4096);
  EXPECT_EQ(entered("MaxPictureHeight", std::numeric_limits<int>::max()), 4096);
  EXPECT_EQ(entered("MaxPictureHeight", std::numeric_limits<int>::min()), 1024);
  EXPECT_EQ(correctMaxPictureSize(std::int64_t{1} << 40), 4096);
  EXPECT_EQ(correctMaxPictureSize(2049), 2052);
}

TEST(OptionCorrection, LowerBoundsOfCountsAndGrids) {
  EXPECT_EQ(entered("DragMinimumMove", 0), 1);
  EXPECT_EQ(entered("PartialCompareGridX", 1), 2);
  EXPECT_EQ(entered("PartialCompareGridY", 0), 1);
  EXPECT_EQ(entered("AreaDiffRangeX", -7), 1);
  EXPECT_EQ(entered("AreaDiffRangeY", 15), 15);
}

TEST(OptionCorrection, ToolValuesAreClampedToTheNearerEnd) {
  EXPECT_EQ(entered("ProfileGridGradation", 0), 1);
  EXPECT_EQ(entered("ProfileGridPixels", 513), 512);
  EXPECT_EQ(entered("View3DAngleX", 360), 359);
  EXPECT_EQ(entered("View3DWireWidth", 2), 3);
  EXPECT_EQ(entered("MeasureEdgeLevel", 200), 128);
  EXPECT_EQ(entered("ScopeMagnification", 0), 1);
  EXPECT_EQ(entered("ArchivePicture1Number", 300), 255);
}

TEST(OptionCorrection, GalleryCountClampsAndFallsBackTo16) {
  EXPECT_EQ(entered("GalleryCount", 30), 16);
  EXPECT_EQ(entered("GalleryCount", 4), 8);
  EXPECT_EQ(entered("GalleryCount", 40), 32);
  EXPECT_EQ(entered("GalleryCount", 20), 20);
}

TEST(OptionCorrection, RawDefaultSizeIsHeldToTheMaximumPictureSize) {
  Options options;
  options.MaxPictureWidth = 2048;
  options.RawDefaultWidth = 3000;
  options.RawDefaultHeight = 3;
  correctOptions(options, Options{}, CorrectionMode::Entry);
  EXPECT_EQ(options.RawDefaultWidth, 2048);
  EXPECT_EQ(options.RawDefaultHeight, 8);
}

TEST(OptionCorrection, DivisionThatIsNotAPowerOfTwoKeepsThePreviousOne) {
  Options previous;
  previous.ShiftUnit = 64;
  Options options = previous;
  options.ShiftUnit = 12;
  correctOptions(options, previous, CorrectionMode::Entry);
  EXPECT_EQ(options.ShiftUnit, 64);
  options.ShiftUnit = 512;
  correctOptions(options, previous, CorrectionMode::Load);
  EXPECT_EQ(options.ShiftUnit, 64);
  EXPECT_EQ(entered("ShiftUnit", 0), 16);
  EXPECT_EQ(entered("ShiftUnit", 2), 2);
}

TEST(OptionCorrection, NetworkValuesAreClampedWhenEnteredAndDefaultedWhenRead) {
  EXPECT_EQ(entered("NetworkPort", 0), 1);
  EXPECT_EQ(entered("NetworkPort", 70000), 65535);
  EXPECT_EQ(entered("ExportTimeout", -5), 1);
  EXPECT_EQ(entered("ImportTimeout", 4000), 3600);
  EXPECT_EQ(entered("NetworkPort", 0, CorrectionMode::Load), 24100);
  EXPECT_EQ(entered("ExportTimeout", 0, CorrectionMode::Load), 30);
  EXPECT_EQ(entered("ImportTimeout", 99999, CorrectionMode::Load), 30);
  EXPECT_EQ(entered("NetworkPort", 8080, CorrectionMode::Load), 8080);
}

TEST(OptionCorrection, WrongRealsTextsAndColoursKeepThePreviousValue) {
  Options previous;
  previous.PixelSizeX = 2.5;
  previous.AreaDiffDivisor = 4.0;
  previous.GreyRatio = {0.5, 0.25, 0.25};
  previous.MemoFile = "memo.txt";
  previous.GridColour2 = 0x123456;
  Options options = previous;
  options.PixelSizeX = 0.0;
  options.PixelSizeY = std::nan("");
  options.AreaDiffDivisor = -1.0;
  options.GreyRatio = {-0.5, std::numeric_limits<double>::infinity(), 0.0};
  options.MemoFile = std::string(600, 'a');
  options.ImportPassword = std::string(63, 'p');
  options.GridColour2 = 0x01000000;
  correctOptions(options, previous, CorrectionMode::Entry);
  EXPECT_EQ(options.PixelSizeX, 2.5);
  EXPECT_EQ(options.PixelSizeY, 1.0);
  EXPECT_EQ(options.AreaDiffDivisor, 4.0);
  // Ratios are taken as entered; only a value that is no number falls back.
  EXPECT_EQ(options.GreyRatio, (RgbRatio{-0.5, 0.25, 0.0}));
  EXPECT_EQ(options.MemoFile, "memo.txt");
  EXPECT_EQ(options.ImportPassword, "");
  EXPECT_EQ(options.GridColour2, 0x123456u);
}

TEST(OptionCorrection, RadioIndexOutsideItsChoicesKeepsThePreviousOne) {
  EXPECT_EQ(entered("ShiftInterpolation", 2), 1);
  EXPECT_EQ(entered("AreaDiffKind", -1), 0);
  EXPECT_EQ(entered("TrueColourOpenMode", 7), 0);
  EXPECT_EQ(entered("ScopePosition", 0), 0);
}

TEST(OptionCorrection, StartSlotBeyondTheGalleryBecomesTheFirst) {
  Options options;
  options.GalleryCount = 8;
  options.ArchiveExpandStartSlot = 8;
  correctOptions(options, Options{}, CorrectionMode::Entry);
  EXPECT_EQ(options.ArchiveExpandStartSlot, 0);
  options.ArchiveExpandStartSlot = 7;
  correctOptions(options, Options{}, CorrectionMode::Entry);
  EXPECT_EQ(options.ArchiveExpandStartSlot, 7);
  // Read from a file before the gallery count is known, any of the 32 slots is kept.
  options.ArchiveExpandStartSlot = 20;
  correctOptions(options, Options{}, CorrectionMode::Load);
  EXPECT_EQ(options.ArchiveExpandStartSlot, 20);
  options.ArchiveExpandStartSlot = 32;
  correctOptions(options, Options{}, CorrectionMode::Load);
  EXPECT_EQ(options.ArchiveExpandStartSlot, 0);
}

TEST(OptionApply, ShiftUnitChangeRescalesAndOnlyRefreshesTheControls) {
  Options live;
  Options pending = live;
  pending.ShiftUnit = 4;
  pending.ShiftInterpolation = 0;  // would recompute, but the division change takes precedence
  const ApplyResult result = applyOptions(live, pending, ApplyContext{});
  EXPECT_EQ(result.effects, kEffectSave | kEffectRescaleShifts | kEffectRefreshControls);
  EXPECT_EQ(result.oldShiftUnit, 16);
  EXPECT_EQ(result.newShiftUnit, 4);
  EXPECT_EQ(live.ShiftUnit, 4);
  EXPECT_EQ(live.ShiftInterpolation, 0);
}

TEST(OptionApply, AreaOptionsRecomputeOnlyWhileAnAreaDifferenceIsShown) {
  Options live;
  Options pending = live;
  pending.AreaDiffRangeX = 5;
  ApplyContext context;
  EXPECT_EQ(applyOptions(live, pending, context).effects, kEffectSave | kEffectRefreshControls);
  pending.AreaDiffRangeX = 7;
  context.areaDifferenceShown = true;
  EXPECT_EQ(applyOptions(live, pending, context).effects, kEffectSave | kEffectPreparePictures);
}

TEST(OptionApply, ZoomInterpolationRecomputesOnlyMagnifiedInterpolatedImages) {
  Options live;
  Options pending = live;
  pending.ZoomInterpolation = 0;
  EXPECT_EQ(applyOptions(live, pending, ApplyContext{}).effects,
            kEffectSave | kEffectRefreshControls);
  pending.ZoomInterpolation = 1;
  ApplyContext context;
  context.magnifiedWithInterpolation = true;
  EXPECT_EQ(applyOptions(live, pending, context).effects, kEffectSave | kEffectRecreateImages);
}

TEST(OptionApply, ColoursRecreatePensWithoutRestart) {
  Options live;
  Options pending = live;
  pending.ProfileColour1 = rgb(1, 2, 3);
  const ApplyResult result = applyOptions(live, pending, ApplyContext{});
  EXPECT_EQ(result.effects, kEffectSave | kEffectRecreatePens | kEffectRefreshControls);
  EXPECT_EQ(live.ProfileColour1, 0x030201u);
}

TEST(OptionApply, NothingChangedHasNoEffect) {
  Options live;
  Options pending = live;
  pending.DragMinimumMove = -3;  // corrected to 1 ...
  live.DragMinimumMove = 1;      // ... which is what the live value already is
  EXPECT_EQ(applyOptions(live, pending, ApplyContext{}).effects, 0u);
}

TEST(OptionApply, RestartOptionsAreHeldBackUntilTakenOver) {
  Options live;
  live.ArchiveExpandStartSlot = 12;
  Options pending = live;
  pending.MaxPictureWidth = 2050;
  pending.GalleryCount = 8;
  const ApplyResult result = applyOptions(live, pending, ApplyContext{});
  EXPECT_EQ(result.effects & kEffectRestart, kEffectRestart);
  EXPECT_EQ(live.MaxPictureWidth, 1024);
  EXPECT_EQ(live.GalleryCount, 16);
  EXPECT_EQ(pending.MaxPictureWidth, 2052);
  takeOverRestartOptions(live, pending);
  EXPECT_EQ(live.MaxPictureWidth, 2052);
  EXPECT_EQ(live.GalleryCount, 8);
  EXPECT_EQ(live.ArchiveExpandStartSlot, 0);
}

TEST(OptionApply, DisplayLockIsAppliedButAsksForARestart) {
  Options live;
  Options pending = live;
  pending.LockDisplayPosition = true;
  const ApplyResult result = applyOptions(live, pending, ApplyContext{});
  EXPECT_EQ(result.effects & kEffectRestart, kEffectRestart);
  EXPECT_TRUE(live.LockDisplayPosition);
}

TEST(OptionApply, SecondCopyCannotChangeOptionsThatNeedARestart) {
  Options live;
  Options pending = live;
  pending.MaxPictureHeight = 2048;
  pending.GalleryCount = 32;
  pending.LockDisplayPosition = true;
  pending.DragMinimumMove = 9;
  ApplyContext context;
  context.secondCopy = true;
  const ApplyResult result = applyOptions(live, pending, context);
  EXPECT_EQ(result.effects & kEffectRestart, 0u);
  EXPECT_EQ(pending.MaxPictureHeight, 1024);
  EXPECT_EQ(pending.GalleryCount, 16);
  EXPECT_FALSE(live.LockDisplayPosition);
  EXPECT_EQ(live.DragMinimumMove, 9);

  EXPECT_FALSE(optionEditable(*findOption("MaxPictureHeight"), true, true));
  EXPECT_FALSE(optionEditable(*findOption("LockDisplayPosition"), true, true));
  EXPECT_TRUE(optionEditable(*findOption("DragMinimumMove"), true, true));
  EXPECT_FALSE(optionEditable(*findOption("hideGalleryAtStart"), false, false));
  EXPECT_TRUE(optionEditable(*findOption("hideGalleryAtStart"), false, true));
}

}  // namespace
}  // namespace vemla
