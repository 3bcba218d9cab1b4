#include "workbench/commands/command_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>

#include "workbench/workbench.h"

namespace vemla {
namespace {

CommandSituation nothingOpen() {
  return {};
}

CommandSituation opened(std::string name1, std::string name2) {
  CommandSituation s;
  s.picturesPresent = true;
  s.names = {std::move(name1), std::move(name2)};
  return s;
}

TEST(CommandTable, HoldsEveryIdentifierOnceWithTheQuotedTexts) {
  std::set<int> seen;
  for (const Command& command : commandTable()) {
    EXPECT_TRUE(seen.insert(command.id).second) << command.id;
    EXPECT_TRUE((command.id >= 40001 && command.id <= 40117) ||
                (command.id >= kFirstOwnCommand && command.id <= kLastOwnCommand))
        << command.id;
    EXPECT_NE(command.text, nullptr) << command.id;
  }
  EXPECT_EQ(kOpenTwo, 40001);
  EXPECT_EQ(kWebPage, 40117);
  EXPECT_STREQ(findCommand(40001)->text, "２つの画像で開く(&2)");
  EXPECT_STREQ(findCommand(40112)->text, "Vlaファイルを開く(&Q)");
  EXPECT_STREQ(findCommand(40023)->text, "貼り付け(&P）");  // full-width closing bracket
  EXPECT_STREQ(findCommand(40003)->help, "Vemlaを終了します");
  // The count of entries is filled in.
  EXPECT_STREQ(findCommand(40005)->help,
               "簡単な画像処理を登録することが可能です（最大登録数：16）\n登録された画像処理は"
               "『ｲﾒｰｼﾞ制御情報』から選択が可能となり\n開かれている画像に対する処理結果を容易に表示"
               "可能です");
  // The Picture 2 variants are the Picture 1 texts with the digit changed.
  EXPECT_STREQ(
      findCommand(40009)->help,
      "表示中の画像２をﾌｧｲﾙに上書き保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象です");
  EXPECT_STREQ(findCommand(40014)->help,
               "『ｲﾒｰｼﾞ制御情報』によって作成され表示中の\nｲﾒｰｼﾞ2をﾌｧｲﾙに名前を付けて保存します");
  EXPECT_EQ(findCommand(40004), nullptr);
  EXPECT_EQ(findCommand(651), nullptr);
}

// A toolbar button without a row or a face, or a command in a menu that is not in the menu
// table, would break the window's building of them.
TEST(CommandTable, EveryToolbarButtonHasAFaceAndEveryMenuAnEntry) {
  for (int id : toolbarLayout()) {
    if (id == kToolbarSeparator) continue;
    ASSERT_NE(findCommand(id), nullptr) << id;
    EXPECT_NE(findCommand(id)->glyph, nullptr) << id;
  }
  for (int id : kToolbarCornerButtons) {
    ASSERT_NE(findCommand(id), nullptr) << id;
    EXPECT_NE(findCommand(id)->glyph, nullptr) << id;
    EXPECT_EQ(findCommand(id)->menu, Menu::None) << id;
  }
  for (const Command& command : commandTable()) {
    if (command.menu == Menu::None) continue;
    EXPECT_EQ(menuEntry(command.menu).menu, command.menu) << command.id;
  }
  for (const MenuEntry& entry : menuTable()) {
    if (entry.parent != Menu::None) EXPECT_EQ(menuEntry(entry.parent).parent, Menu::None);
  }
}

TEST(CommandTable, HelpTextsOfHistoryItemsSubmenusAndItemsWithoutHelp) {
  EXPECT_STREQ(commandHelpText(651), commandHelpText(682));
  EXPECT_STREQ(commandHelpText(660),
               "開いたﾌｧｲﾙの履歴が最大で16個の組み合わせで表示されます\n選択することによりその組み"
               "合わせでﾌｧｲﾙが開きます");
  EXPECT_EQ(commandHelpText(650), nullptr);
  EXPECT_EQ(commandHelpText(kLayoutTopLeft), nullptr);
  EXPECT_EQ(menuEntry(Menu::CopyFromImages).helpOffset, -40);
  EXPECT_EQ(menuEntry(Menu::Reopen).helpOffset, 24);
  EXPECT_STREQ(menuEntry(Menu::ReplaceOne).text, "1つの画像を入れ替え");
  EXPECT_STREQ(menuEntry(Menu::Rename).help, "画像のﾀｲﾄﾙ名称を変更します");
}

TEST(MenuEnabling, ComparisonViewsNeedPicturesAndAreCheckedPerPane) {
  CommandSituation s = opened("/p/a.bmp", "/p/b.bmp");
  s.comparison = {static_cast<int>(ComparisonMode::Swipe), static_cast<int>(ComparisonMode::Blink)};
  const struct {
    int id;
    bool checked;
  } cases[] = {
      {kBlinkImage1, false}, {kBlinkImage2, true}, {kSwipeImage1, true}, {kSwipeImage2, false}};
  for (const auto& c : cases) {
    EXPECT_TRUE(isCheckCommand(c.id)) << c.id;
    EXPECT_EQ(commandChecked(c.id, s), c.checked) << c.id;
    EXPECT_TRUE(commandEnabled(c.id, s)) << c.id;
    EXPECT_FALSE(commandEnabled(c.id, CommandSituation{})) << c.id;
  }
}

TEST(MenuEnabling, AfterOpeningOnlyPicture1ReplaceTwoIsEnabledAndReplaceOneIsNot) {
  // Picture 1 from a file, Picture 2 all zero without a name.
  const CommandSituation s = opened("/p/a.bmp", "");
  EXPECT_TRUE(commandEnabled(kReplace2, s));
  EXPECT_FALSE(commandEnabled(kReplace1, s));
  EXPECT_TRUE(menuEnabled(Menu::ReplaceOne, s));
  // Without a Picture 1 name, 40104 is off too.
  EXPECT_FALSE(commandEnabled(kReplace2, opened("", "")));
  EXPECT_TRUE(commandEnabled(kReplace1, opened("", "<Import2>")));
}

TEST(MenuEnabling, ImportedPictureCanBeSavedButNotOverwrittenOrReopened) {
  const CommandSituation s = opened("<Import1>", "<Import2>");
  EXPECT_FALSE(commandEnabled(kOverwrite1, s));
  EXPECT_FALSE(commandEnabled(kOverwrite2, s));
  EXPECT_FALSE(menuEnabled(Menu::Overwrite, s));
  EXPECT_TRUE(commandEnabled(kSaveAsPicture1, s));
  EXPECT_TRUE(menuEnabled(Menu::SaveAs, s));
  EXPECT_FALSE(commandEnabled(kFileInformation, s));
  EXPECT_FALSE(menuEnabled(Menu::Reopen, s));
  EXPECT_FALSE(toolbarEnabled(kOverwrite1, s));
}

TEST(MenuEnabling, OverwriteAndReopenFollowEachPicturesName) {
  const CommandSituation s = opened("/p/a.bmp", "<平均>");
  EXPECT_TRUE(commandEnabled(kOverwrite1, s));
  EXPECT_FALSE(commandEnabled(kOverwrite2, s));
  EXPECT_TRUE(menuEnabled(Menu::Overwrite, s));
  EXPECT_TRUE(commandEnabled(kReopen1, s));
  EXPECT_FALSE(commandEnabled(kReopen2, s));
  EXPECT_FALSE(commandEnabled(kReopenBoth, s));
  EXPECT_TRUE(menuEnabled(Menu::Reopen, s));
  EXPECT_TRUE(commandEnabled(kFileInformation, s));
  EXPECT_TRUE(commandEnabled(kReopenBoth, opened("/p/a.bmp", "/p/b.raw")));
}

TEST(MenuEnabling, EditingDisablesWhatChangesPictures) {
  CommandSituation s = opened("/p/a.bmp", "/p/b.bmp");
  s.clipboardHasFiles = true;
  s.firstHistoryEntryUsed = true;
  s.stateSlotUsed = {true, false, false, false};
  for (int id : std::initializer_list<int>{kOpenTwo,
                                           kOpenOne,
                                           kOpenArchive,
                                           kReplace1,
                                           kPaste,
                                           kPasteToPicture1,
                                           kSwap,
                                           kCopy1To2,
                                           kImage2ToPicture1,
                                           kImagesToPicturesCrossed,
                                           kGreyScale2,
                                           kResize,
                                           kEdit1,
                                           kUserProcessing,
                                           kUserColours,
                                           kUserProgram,
                                           kExport,
                                           kImport,
                                           kReopenBoth,
                                           kReopen1,
                                           kRestoreState1,
                                           kRestoreStateFile,
                                           kOptions,
                                           kClearHistory,
                                           651,
                                           682}) {
    EXPECT_TRUE(commandEnabled(id, s)) << id;
    s.editing = true;
    EXPECT_FALSE(commandEnabled(id, s)) << id;
    s.editing = false;
  }
  // These stay available while editing.
  s.editing = true;
  for (int id : {kOverwrite1, kSaveAsPicture2, kSaveAsImage1, kGreyValueText, kRename1,
                 kRememberState1, kSaveStateFile, kStateList, kGradationTool, kImageScope,
                 kFileInformation, kExit, kMemo, kCalculator, kVersion}) {
    EXPECT_TRUE(commandEnabled(id, s)) << id;
  }
  EXPECT_FALSE(menuEnabled(Menu::CopyFromImages, s));
  EXPECT_TRUE(menuEnabled(Menu::Rename, s));
}

TEST(MenuEnabling, WithoutPicturesOnlyOpeningAndSettingsWork) {
  CommandSituation s = nothingOpen();
  for (int id : {kOpenTwo, kOpenOne, kOpenArchive, kExit, kOptions, kImport, kUserProcessing, kMemo,
                 kCalculator, kQuickHelp, kSaveDisplayed, kResetColours, kRestoreStateFile,
                 kConfirmStates, kRestoreFormOnly}) {
    EXPECT_TRUE(commandEnabled(id, s)) << id;
  }
  for (int id : std::initializer_list<int>{kOverwrite1,
                                           kSaveAsPicture1,
                                           kSaveAsImage2,
                                           kGreyValueText,
                                           kSwap,
                                           kCopy2To1,
                                           kRename2,
                                           kUserProgram,
                                           kExport,
                                           kRememberState2,
                                           kSaveStateFile,
                                           kGradationTool,
                                           kPartialComparisonTool,
                                           kImageScope,
                                           kPaste,
                                           kPasteToPicture1,
                                           kClearHistory,
                                           kStateList,
                                           kClearStates,
                                           kClearExchangeFile,
                                           kGalleryHome,
                                           kGallery,
                                           kLayoutTopLeft,
                                           40004,
                                           0}) {
    EXPECT_FALSE(commandEnabled(id, s)) << id;
  }
  s.clipboardHasFiles = true;
  EXPECT_TRUE(commandEnabled(kPaste, s));
  EXPECT_FALSE(commandEnabled(kPasteToPicture2, s));  // needs pictures to keep
}

TEST(MenuEnabling, StateMemoryRules) {
  CommandSituation s = nothingOpen();
  s.stateSlotUsed = {false, false, true, false};
  EXPECT_TRUE(commandEnabled(kRestoreState3, s));
  EXPECT_FALSE(commandEnabled(kRestoreState2, s));
  EXPECT_TRUE(commandEnabled(kStateList, s));
  EXPECT_TRUE(commandEnabled(kClearStates, s));
  EXPECT_TRUE(commandChecked(kRememberState3, s));
  EXPECT_FALSE(commandChecked(kRememberState1, s));
  EXPECT_FALSE(commandEnabled(kRememberState3, s));  // storing needs pictures
  // Restoring only the display form needs pictures to show it on.
  s.restoreFormOnly = true;
  EXPECT_FALSE(commandEnabled(kRestoreState3, s));
  EXPECT_FALSE(commandEnabled(kRestoreStateFile, s));
  EXPECT_TRUE(commandChecked(kRestoreFormOnly, s));
  s.picturesPresent = true;
  EXPECT_TRUE(commandEnabled(kRestoreState3, s));
  EXPECT_TRUE(commandEnabled(kRestoreStateFile, s));
  EXPECT_FALSE(commandChecked(kConfirmStates, s));
  s.confirmStates = true;
  EXPECT_TRUE(commandChecked(kConfirmStates, s));
}

TEST(MenuEnabling, ToolsScopeGalleryAndFlags) {
  CommandSituation s = opened("/p/a.bmp", "");
  s.activeTool = kToolMeasurement;
  EXPECT_TRUE(commandChecked(kMeasurementTool, s));
  EXPECT_FALSE(commandChecked(k3DTool, s));
  s.activeTool = kToolPartialComparison;
  EXPECT_TRUE(commandChecked(kPartialComparisonTool, s));
  s.activeTool = kTool3D;
  EXPECT_TRUE(commandChecked(k3DTool, s));
  EXPECT_FALSE(commandChecked(kImageScope, s));
  s.imageScope = true;
  EXPECT_TRUE(commandChecked(kImageScope, s));

  s.galleryExists = true;
  s.galleryVisible = true;
  EXPECT_TRUE(commandEnabled(kGallery, s));
  EXPECT_TRUE(commandChecked(kGallery, s));
  EXPECT_TRUE(commandEnabled(kGalleryHome, s));
  s.secondCopy = true;
  EXPECT_FALSE(commandEnabled(kGallery, s));

  EXPECT_FALSE(commandChecked(kQuickHelp, s));
  s.quickHelp = true;
  s.saveDisplayedImage = true;
  EXPECT_TRUE(commandChecked(kQuickHelp, s));
  EXPECT_TRUE(commandChecked(kSaveDisplayed, s));
  EXPECT_FALSE(commandChecked(kOpenTwo, s));

  EXPECT_FALSE(commandEnabled(kClearExchangeFile, s));
  s.exchangeFileExists = true;
  EXPECT_TRUE(commandEnabled(kClearExchangeFile, s));
  s.baseWindowInUse = true;
  EXPECT_TRUE(commandEnabled(kLayoutBottomRight, s));
}

TEST(Toolbar, FiveSituations) {
  // No pictures.
  CommandSituation s = nothingOpen();
  for (int id : {kOpenTwo, kOpenOne, kOpenArchive, kOptions, kImageScope, kQuickHelp, kCalculator,
                 kLayoutTopLeft, kLayoutBottomRight}) {
    EXPECT_TRUE(toolbarEnabled(id, s)) << id;
  }
  for (int id :
       {kOverwrite1, kOverwrite2, kEdit1, kEdit2, kSwap, kImage1ToPicture1, kImage2ToPicture2,
        kUserProgram, kPaste, kPasteToPicture1, kPasteToPicture2, kGallery}) {
    EXPECT_FALSE(toolbarEnabled(id, s)) << id;
  }
  s.clipboardHasFiles = true;
  EXPECT_TRUE(toolbarEnabled(kPaste, s));
  s.galleryExists = true;
  EXPECT_TRUE(toolbarEnabled(kGallery, s));

  // Pictures present, Picture 2 without a real name.
  s.picturesPresent = true;
  s.names = {"/p/a.bmp", "<Import2>"};
  s.imageScope = true;
  for (int id : {kEdit1, kEdit2, kSwap, kImage1ToPicture1, kImage2ToPicture2, kUserProgram,
                 kPasteToPicture1, kPasteToPicture2, kOverwrite1}) {
    EXPECT_TRUE(toolbarEnabled(id, s)) << id;
  }
  EXPECT_FALSE(toolbarEnabled(kOverwrite2, s));
  EXPECT_TRUE(toolbarChecked(kImageScope, s));

  // Editing.
  s.editing = true;
  for (int id : {kOpenTwo, kOpenOne, kOpenArchive, kEdit1, kEdit2, kSwap, kImage1ToPicture1,
                 kImage2ToPicture2, kUserProgram, kPaste, kPasteToPicture1, kPasteToPicture2}) {
    EXPECT_FALSE(toolbarEnabled(id, s)) << id;
  }
  for (int id : {kOverwrite1, kOptions, kImageScope, kQuickHelp, kCalculator, kGallery}) {
    EXPECT_TRUE(toolbarEnabled(id, s)) << id;
  }

  // Editing ended with an empty clipboard: the paste buttons stay off.
  s.editing = false;
  s.clipboardHasFiles = false;
  EXPECT_TRUE(toolbarEnabled(kSwap, s));
  EXPECT_FALSE(toolbarEnabled(kPaste, s));
  EXPECT_FALSE(toolbarEnabled(kPasteToPicture2, s));

  // After save-as of Picture 2 the overwrite button follows the new name.
  s.names[1] = "/p/saved.bmp";
  EXPECT_TRUE(toolbarEnabled(kOverwrite2, s));
}

TEST(Toolbar, CheckButtons) {
  CommandSituation s = nothingOpen();
  s.galleryExists = true;
  EXPECT_FALSE(toolbarChecked(kGallery, s));
  s.galleryVisible = true;
  s.quickHelp = true;
  EXPECT_TRUE(toolbarChecked(kGallery, s));
  EXPECT_TRUE(toolbarChecked(kQuickHelp, s));
  EXPECT_FALSE(toolbarChecked(kSwap, s));
  EXPECT_TRUE(isCheckCommand(kImageScope));
  EXPECT_FALSE(isCheckCommand(kCalculator));
}

TEST(CommandSituation, TakenFromTheWorkbench) {
  Workbench bench;
  bench.pictures.picturesPresent = true;
  bench.pictures.pictures[1].name = "/p/b.bmp";
  bench.shell.saveDisplayedImage = true;
  bench.shell.stateMemory.displayOnly = 1;
  bench.shell.stateMemory.confirm = 0;
  bench.shell.fileHistory.history[0].used = 1;
  bench.gallery.available = true;
  CommandSituation s = situationOf(bench);
  EXPECT_TRUE(s.picturesPresent);
  EXPECT_EQ(s.names[1], "/p/b.bmp");
  EXPECT_TRUE(s.saveDisplayedImage);
  EXPECT_TRUE(s.restoreFormOnly);
  EXPECT_FALSE(s.confirmStates);
  EXPECT_TRUE(s.firstHistoryEntryUsed);
  EXPECT_TRUE(s.galleryExists);
  bench.secondCopy = true;  // a second copy never has a gallery
  EXPECT_FALSE(situationOf(bench).galleryExists);
}

}  // namespace
}  // namespace vemla
