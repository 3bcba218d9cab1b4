#include "options/option_sheet_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "options/option_table.h"

namespace vemla {
namespace {

TEST(OptionSheetFields, IntegerFieldsReadDigitsAndGiveZeroForAnythingElse) {
  EXPECT_EQ(readIntegerField("1030"), 1030);
  EXPECT_EQ(readIntegerField(" 12 "), 12);
  EXPECT_EQ(readIntegerField("-1"), -1);
  EXPECT_EQ(readIntegerField("+7"), 7);
  EXPECT_EQ(readIntegerField(""), 0);
  EXPECT_EQ(readIntegerField("abc"), 0);
  EXPECT_EQ(readIntegerField("12x"), 0);
  EXPECT_EQ(readIntegerField("-"), 0);
  EXPECT_EQ(readIntegerField("99999999999"), INT_MAX);
  EXPECT_EQ(readIntegerField("-99999999999"), INT_MIN);
  EXPECT_EQ(readIntegerField("-2147483648"), INT_MIN);
}

TEST(OptionSheetFields, RealFieldsKeepTheExactValueWhileTheirTextIsUnchanged) {
  EXPECT_EQ(realFieldText(1.0), "1.0");
  EXPECT_EQ(realFieldText(0.299), "0.299");
  EXPECT_EQ(realFieldText(9.0), "9.0");
  // Six decimals are shown; reading the unchanged text must not round the value.
  const double exact = 0.12345678;
  const std::string shown = realFieldText(exact);
  EXPECT_EQ(shown, "0.123457");
  EXPECT_EQ(readRealField(shown, shown, exact), exact);
  EXPECT_EQ(readRealField("0.5", shown, exact), 0.5);
  EXPECT_EQ(readRealField(" -1 ", shown, exact), -1.0);
  EXPECT_TRUE(std::isnan(readRealField("abc", shown, exact)));
  EXPECT_TRUE(std::isnan(readRealField("", shown, exact)));
  EXPECT_TRUE(std::isnan(readRealField("1.5x", shown, exact)));
}

// What "一時設定" makes of an entry: the field read, then the table's correction with the
// values on the sheet before the entry as the previous ones.
Options entered(void (*edit)(Options&)) {
  Options before;
  before.PixelSizeX = 1.5;
  Options options = before;
  edit(options);
  correctOptions(options, before, CorrectionMode::Entry);
  return options;
}

TEST(OptionSheetFields, EntriesAreCorrectedSilently) {
  EXPECT_EQ(
      entered([](Options& o) { o.MaxPictureWidth = readIntegerField("1030"); }).MaxPictureWidth,
      1032);
  EXPECT_EQ(
      entered([](Options& o) { o.MaxPictureHeight = readIntegerField("5000"); }).MaxPictureHeight,
      4096);
  EXPECT_EQ(
      entered([](Options& o) { o.MaxPictureWidth = readIntegerField("1000"); }).MaxPictureWidth,
      1024);
  EXPECT_EQ(
      entered([](Options& o) { o.MaxPictureWidth = readIntegerField("junk"); }).MaxPictureWidth,
      1024);
  EXPECT_EQ(entered([](Options& o) { o.AreaDiffRangeX = readIntegerField("0"); }).AreaDiffRangeX,
            1);
  EXPECT_EQ(entered([](Options& o) { o.DragMinimumMove = readIntegerField("0"); }).DragMinimumMove,
            1);
  EXPECT_EQ(entered([](Options& o) {
              o.PartialCompareGridX = readIntegerField("1");
            }).PartialCompareGridX,
            2);
  // A pixel size of -1 or text that is no number keeps the value shown before.
  EXPECT_EQ(entered([](Options& o) { o.PixelSizeX = readRealField("-1", "1.5", 1.5); }).PixelSizeX,
            1.5);
  EXPECT_EQ(entered([](Options& o) { o.PixelSizeX = readRealField("x", "1.5", 1.5); }).PixelSizeX,
            1.5);
  EXPECT_EQ(
      entered([](Options& o) { o.PixelSizeX = readRealField("0.25", "1.5", 1.5); }).PixelSizeX,
      0.25);
}

TEST(OptionSheetFields, ArchiveNumbersAreShownFromOne) {
  EXPECT_EQ(shownArchiveNumber(0), 1);
  EXPECT_EQ(storedArchiveNumber(2), 1);
  // 0 and 300 entered become 1 and 256 once corrected.
  Options options;
  options.ArchivePicture1Number = storedArchiveNumber(0);
  options.ArchivePicture2Number = storedArchiveNumber(300);
  correctOptions(options, Options{}, CorrectionMode::Entry);
  EXPECT_EQ(shownArchiveNumber(options.ArchivePicture1Number), 1);
  EXPECT_EQ(shownArchiveNumber(options.ArchivePicture2Number), 256);
  EXPECT_EQ(storedArchiveNumber(INT_MIN), INT_MIN);
}

TEST(OptionSheetLists, ChoicesAndTheirTexts) {
  const auto units = shiftUnitTexts();
  ASSERT_EQ(units.size(), 8u);
  EXPECT_EQ(units.front(), "1/2");
  EXPECT_EQ(units[3], "1/16");
  EXPECT_EQ(units.back(), "1/256");
  EXPECT_EQ(shiftUnitValues()[3], 16);
  EXPECT_EQ(galleryCountValues(), (std::vector<int>{8, 12, 16, 20, 24, 28, 32}));
  EXPECT_EQ(startSlotTexts(8),
            (std::vector<std::string>{"#1", "#2", "#3", "#4", "#5", "#6", "#7", "#8"}));
  EXPECT_EQ(archiveNumberText(3), "3 ");
  EXPECT_EQ(archiveNumberText(12), "12");
  EXPECT_EQ(archiveNumberText(256), "256");
}

TEST(OptionSheetEnabling, RatioFieldsOnlyInGreyMode) {
  Options shown;
  shown.TrueColourOpenMode = kTrueColourQuantize;
  for (const char* name : {"AskRatioPerFile", "GreyRatioR", "GreyRatioG", "GreyRatioB"}) {
    EXPECT_FALSE(optionControlEnabled(name, shown, false, true)) << name;
  }
  shown.TrueColourOpenMode = kTrueColourGrey;
  for (const char* name : {"AskRatioPerFile", "GreyRatioR", "GreyRatioG", "GreyRatioB"}) {
    EXPECT_TRUE(optionControlEnabled(name, shown, false, true)) << name;
  }
}

TEST(OptionSheetEnabling, ArchivePictureTwoFollowsPictureOne) {
  Options shown;
  EXPECT_TRUE(optionControlEnabled("ArchiveOpenPicture2", shown, false, true));
  EXPECT_TRUE(optionControlEnabled("ArchivePicture2Number", shown, false, true));
  shown.ArchiveOpenPicture2 = false;
  EXPECT_FALSE(optionControlEnabled("ArchivePicture2Number", shown, false, true));
  EXPECT_TRUE(optionControlEnabled("ArchivePicture1Number", shown, false, true));
  shown.ArchiveOpenPicture2 = true;
  shown.ArchiveOpenPicture1 = false;
  for (const char* name :
       {"ArchivePicture1Number", "ArchiveOpenPicture2", "ArchivePicture2Number"}) {
    EXPECT_FALSE(optionControlEnabled(name, shown, false, true)) << name;
  }
}

TEST(OptionSheetEnabling, ExpansionSettingsNeedExpansionAndAGallery) {
  Options shown;
  const char* dependents[] = {"ArchiveExpandStartSlot", "ArchiveSkipEmpty", "ArchiveExpandNumbers"};
  for (const char* name : dependents) EXPECT_TRUE(optionControlEnabled(name, shown, false, true));
  shown.ArchiveExpandToGallery = false;
  for (const char* name : dependents) EXPECT_FALSE(optionControlEnabled(name, shown, false, true));
  shown.ArchiveExpandToGallery = true;
  for (const char* name : {"ArchiveExpandToGallery", "ArchiveExpandStartSlot", "ArchiveSkipEmpty",
                           "GalleryCount", "hideGalleryAtStart"}) {
    EXPECT_FALSE(optionControlEnabled(name, shown, false, false)) << name;
  }
}

TEST(OptionSheetEnabling, SecondCopyCannotChangeRestartOptionsAndRightClickLocksPopupColour) {
  Options shown;
  for (const char* name :
       {"MaxPictureWidth", "MaxPictureHeight", "GalleryCount", "LockDisplayPosition"}) {
    EXPECT_FALSE(optionControlEnabled(name, shown, true, true)) << name;
    EXPECT_TRUE(optionControlEnabled(name, shown, false, true)) << name;
  }
  EXPECT_TRUE(optionControlEnabled("PopupColourTurnsColourOn", shown, false, true));
  shown.RightClickCentres = true;
  EXPECT_FALSE(optionControlEnabled("PopupColourTurnsColourOn", shown, false, true));
}

TEST(OptionSheetRestart, OnlyHeldBackSizesGalleryCountALockOrLanguageChangeNeedIt) {
  const Options atOpen;
  Options live = atOpen;
  Options pending = atOpen;
  pending.GridColour1 = rgb(1, 2, 3);
  live.GridColour1 = pending.GridColour1;
  EXPECT_FALSE(restartNeeded(atOpen, live, pending));
  pending.GalleryCount = 24;
  EXPECT_TRUE(restartNeeded(atOpen, live, pending));
  pending.GalleryCount = live.GalleryCount;
  live.LockDisplayPosition = true;
  EXPECT_TRUE(restartNeeded(atOpen, live, pending));
  // Switched back on a later apply: the value at the next start is the one in use.
  live.LockDisplayPosition = false;
  EXPECT_FALSE(restartNeeded(atOpen, live, pending));
  live.DisplayLanguage = 2;  // English from the next start
  EXPECT_TRUE(restartNeeded(atOpen, live, pending));
}

TEST(OptionSheetRestart, MaximumWidthIsHeldBackUntilTakenOverAtClose) {
  const Options atOpen;
  Options live = atOpen;
  Options pending = atOpen;
  pending.MaxPictureWidth = readIntegerField("1030");
  pending.GalleryCount = 12;
  const ApplyResult result = applyOptions(live, pending, ApplyContext{});
  EXPECT_NE(result.effects & kEffectRestart, 0u);
  EXPECT_EQ(live.MaxPictureWidth, 1024);
  EXPECT_EQ(pending.MaxPictureWidth, 1032);
  EXPECT_TRUE(restartNeeded(atOpen, live, pending));
  takeOverRestartOptions(live, pending);
  EXPECT_EQ(live.MaxPictureWidth, 1032);
  EXPECT_EQ(live.GalleryCount, 12);
}

TEST(OptionSheetTexts, HelpTextsNameTheirRanges) {
  EXPECT_EQ(
      maxPictureSizeHelp("X"),
      "Xを 1024 ～ 4096 の範囲で指定します(4の倍数値)\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの再起動"
      "が必要となります\n※値が大きいほど使用するﾒﾓﾘ量が増大しますので最低限\n　必要な大きさを"
      "指定することをお勧めします");
  EXPECT_EQ(archiveNumberHelp(), "画像として開くVLAﾌｧｲﾙの情報番号を\n 1～256 の範囲で指定します");
}

TEST(OptionSheetDefaults, ReferenceButtonsRestoreTheFactoryValues) {
  Options options;
  options.ProfileGridGradation = 1;
  options.ProfileGridPixels = 2;
  options.View3DAngleX = 1;
  options.View3DAngleZ = 2;
  options.View3DLuminance = 3;
  options.View3DWireWidth = 4;
  options.View3DPolygonWidth = 5;
  options.MeasureEdgeLevel = 6;
  resetProfileReferences(options);
  EXPECT_EQ(options.ProfileGridGradation, 10);
  EXPECT_EQ(options.ProfileGridPixels, 10);
  EXPECT_EQ(options.View3DAngleX, 1);
  resetView3DReferences(options);
  EXPECT_EQ(options.View3DAngleX, 20);
  EXPECT_EQ(options.View3DAngleZ, 20);
  EXPECT_EQ(options.View3DLuminance, 128);
  EXPECT_EQ(options.View3DWireWidth, 8);
  EXPECT_EQ(options.View3DPolygonWidth, 8);
  EXPECT_EQ(options.MeasureEdgeLevel, 6);
  resetMeasureReferences(options);
  EXPECT_EQ(options.MeasureEdgeLevel, 32);
}

}  // namespace
}  // namespace vemla
