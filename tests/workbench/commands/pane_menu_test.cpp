#include "workbench/commands/pane_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "processing/image_kinds.h"
#include "support/workbench_fixture.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/pane_fixture.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

class PaneInput : public PanePictures {
 protected:
  bool run(Pane pane, PaneCommand command, int argument = 0, PaneMenuContext context = {}) {
    return runPaneCommand(bench, pane, command, argument, context, user, busy, progress);
  }

  NoBusyPort busy;
};

const PaneMenuItem* findItem(const std::vector<PaneMenuItem>& menu, const std::string& text) {
  for (const PaneMenuItem& item : menu) {
    if (item.text == text) return &item;
    if (const PaneMenuItem* inner = findItem(item.submenu, text)) return inner;
  }
  return nullptr;
}

TEST_F(PaneInput, PictureMenuEnabling) {
  open(64, 64);
  std::vector<PaneMenuItem> menu = paneMenu(bench, Pane::Picture1, {});
  ASSERT_NE(findItem(menu, "クリア"), nullptr);
  EXPECT_TRUE(findItem(menu, "クリア")->enabled);
  EXPECT_FALSE(findItem(menu, "貼り付け(単独で開く)")->enabled);  // no files on the clipboard
  EXPECT_TRUE(findItem(menu, "コピー　　(Vla内)")->enabled);
  for (const char* absent : {"ｲﾒｰｼﾞｽｺｰﾌﾟ倍率", "貼り付け(Vla内)", "ギャラリー間コピー"}) {
    ASSERT_NE(findItem(menu, absent), nullptr) << absent;
    EXPECT_FALSE(findItem(menu, absent)->enabled) << absent;
  }
  EXPECT_TRUE(findItem(menu, "機能説明")->enabled);
  EXPECT_TRUE(findItem(menu, "Ｖｉｅｗ")->enabled);
  EXPECT_EQ(menu.back().text, "キャンセル");
  EXPECT_EQ(findItem(menu, "中心へ移動"), nullptr);
  menu = paneMenu(bench, Pane::Picture2, {true, std::nullopt});
  EXPECT_TRUE(findItem(menu, "貼り付け(単独で開く)")->enabled);
  EXPECT_TRUE(findItem(menu, "貼り付け(入れ替える)")->enabled);
  // While a picture is edited nothing is pasted or cleared.
  bench.pictures.editing = true;
  menu = paneMenu(bench, Pane::Picture2, {true, std::nullopt});
  EXPECT_FALSE(findItem(menu, "貼り付け(単独で開く)")->enabled);
  EXPECT_FALSE(findItem(menu, "クリア")->enabled);
}

TEST_F(PaneInput, RecentPicturesAreOfferedForPasting) {
  open(64, 64);
  // No recent picture yet (open() sets the pictures from memory): nothing to offer.
  EXPECT_FALSE(findItem(paneMenu(bench, Pane::Picture1, {}), "履歴から貼り付け")->enabled);
  bench.shell.fileHistory.recent[0] = {1, 640, 480, 0, "/data/a.bmp"};
  bench.shell.fileHistory.recent[1] = {1, 320, 200, 1024, "/data/b.raw"};
  const std::vector<PaneMenuItem> menu = paneMenu(bench, Pane::Image2, {});
  const PaneMenuItem* recent = findItem(menu, "履歴から貼り付け");
  ASSERT_NE(recent, nullptr);
  EXPECT_TRUE(recent->enabled);
  ASSERT_EQ(recent->submenu.size(), 2u);
  EXPECT_EQ(recent->submenu[0].text, " 1. /data/a.bmp (640x480)");
  EXPECT_EQ(recent->submenu[1].text, " 2. /data/b.raw (320x200 Top:1024)");
  EXPECT_EQ(recent->submenu[1].command, PaneCommand::PasteFromHistory);
  EXPECT_EQ(recent->submenu[1].argument, 1);
  bench.pictures.editing = true;
  EXPECT_FALSE(findItem(paneMenu(bench, Pane::Picture1, {}), "履歴から貼り付け")->enabled);
}

TEST_F(PaneInput, ClearEmptiesThePictureOnlyWhileBothHaveNames) {
  open(64, 64);
  ASSERT_TRUE(run(Pane::Picture2, PaneCommand::Clear));
  const PictureMeta& meta = bench.pictures.pictures[1];
  EXPECT_EQ(meta.name, "");
  EXPECT_EQ(meta.palette, greyRamp());
  EXPECT_EQ(bench.titles.pane[1], "画像２");
  const std::uint8_t* plane = bench.store.plane(kPicture2);
  EXPECT_TRUE(std::all_of(plane, plane + 64 * 64, [](std::uint8_t v) { return v == 0; }));
  // The refresh chain ran: the shifted picture is the cleared one.
  EXPECT_EQ(bench.store.plane(kShifted2)[100], 0);
  EXPECT_EQ(bench.store.plane(kPicture1)[100], 40);
  // Picture 2 has no name now: the item is disabled and does nothing.
  EXPECT_FALSE(findItem(paneMenu(bench, Pane::Picture1, {}), "クリア")->enabled);
  EXPECT_FALSE(run(Pane::Picture1, PaneCommand::Clear));
  EXPECT_EQ(bench.pictures.pictures[0].name, "/p/one.bmp");
}

TEST_F(PaneInput, ImageMenuListsKindsColoursAndMagnifications) {
  open(640, 480);
  bench.userEntries.processing[2].inUse = 1;
  bench.userEntries.processing[2].name = "ﾌｨﾙﾀ";
  bench.userEntries.colours[5].inUse = 1;
  bench.userEntries.colours[5].name = "虹";
  const std::vector<PaneMenuItem> menu = paneMenu(bench, Pane::Image2, {});
  EXPECT_EQ(findItem(menu, "クリア"), nullptr);
  EXPECT_FALSE(findItem(menu, "中心へ移動")->enabled);  // no clicked cell
  const PaneMenuItem* kinds = findItem(menu, "イメージ");
  ASSERT_EQ(kinds->submenu.size(), 11u);
  EXPECT_EQ(kinds->submenu[3].text, "階調差");
  EXPECT_EQ(kinds->submenu[10].text, "ﾌｨﾙﾀ");
  EXPECT_EQ(kinds->submenu[10].argument, 10);  // the row of the kind selectors
  EXPECT_TRUE(kinds->submenu[1].checked);  // Image 2 starts with kind 1
  const PaneMenuItem* colours = findItem(menu, "カラー");
  ASSERT_EQ(colours->submenu.size(), 5u);
  EXPECT_EQ(colours->submenu[0].text, "ｸﾞﾚｰｽｹｰﾙ");
  EXPECT_EQ(colours->submenu[3].text, "ｵﾌｾｯﾄｶﾗｰ");
  EXPECT_EQ(colours->submenu[4].text, "虹");
  EXPECT_EQ(colours->submenu[4].argument, 21);
  // 640 / 512 = 1.25; x1 is current.
  const PaneMenuItem* reduced = findItem(menu, "倍率　1/1.25");
  ASSERT_NE(reduced, nullptr);
  EXPECT_TRUE(reduced->enabled);
  EXPECT_FALSE(reduced->checked);
  EXPECT_TRUE(findItem(menu, "倍率　Ｘ１")->checked);
  EXPECT_FALSE(findItem(menu, "倍率　Ｘ64")->checked);
  EXPECT_EQ(findItem(menu, "倍率　Ｘ16")->argument, 16);
  EXPECT_FALSE(findItem(menu, "貼り付け")->enabled);
  EXPECT_FALSE(findItem(menu, "ｲﾒｰｼﾞｽｺｰﾌﾟ倍率")->enabled);
  EXPECT_FALSE(run(Pane::Image1, PaneCommand::ScopeMagnification, 32));
  // With the image scope switched on its magnification can be chosen.
  bench.shell.imageScope = true;
  EXPECT_TRUE(findItem(paneMenu(bench, Pane::Picture1, {}), "ｲﾒｰｼﾞｽｺｰﾌﾟ倍率")->enabled);
  EXPECT_TRUE(run(Pane::Picture2, PaneCommand::ScopeMagnification, 32));
  EXPECT_EQ(bench.options.ScopeMagnification, 32);
  EXPECT_TRUE(findItem(paneMenu(bench, Pane::Picture1, {}), "倍率　Ｘ32")->checked);
  bench.shell.imageScope = false;

  // A picture that fits the pane cannot be reduced.
  open(300, 200);
  const std::vector<PaneMenuItem> small = paneMenu(bench, Pane::Image1, {});
  const auto found = std::find_if(small.begin(), small.end(), [](const PaneMenuItem& item) {
    return item.command == PaneCommand::ReducedDisplay;
  });
  ASSERT_NE(found, small.end());
  EXPECT_FALSE(found->enabled);
}

TEST_F(PaneInput, MenuCommandsDriveTheView) {
  open(640, 480);
  ASSERT_TRUE(run(Pane::Image2, PaneCommand::ImageKind, kKindDifference));
  EXPECT_EQ(bench.images.kind[1], kKindDifference);
  EXPECT_EQ(bench.images.kind[0], kKindPicture1);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::Magnification, 16));
  EXPECT_EQ(bench.view.magnification, 16);
  EXPECT_TRUE(findItem(paneMenu(bench, Pane::Image1, {}), "倍率　Ｘ16")->checked);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::ReducedDisplay));
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_TRUE(findItem(paneMenu(bench, Pane::Image1, {}), "倍率　1/1.25")->checked);
  EXPECT_FALSE(findItem(paneMenu(bench, Pane::Image1, {}), "倍率　Ｘ１")->checked);
  const bool interpolation = bench.view.zoomInterpolation;
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::Interpolation));
  EXPECT_NE(bench.view.zoomInterpolation, interpolation);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::ColourDisplay));
  EXPECT_TRUE(bench.view.colourDisplay);
  // Picture panes do not take image-pane commands.
  EXPECT_FALSE(run(Pane::Picture1, PaneCommand::Magnification, 2));
  EXPECT_FALSE(run(Pane::Image1, PaneCommand::Magnification, 65));
  EXPECT_FALSE(run(Pane::Image1, PaneCommand::View));
}

TEST_F(PaneInput, CentreTakesTheClickedCell) {
  open(640, 480);
  setMagnification(bench, 8);
  PaneMenuContext context;
  context.cell = imagePaneCellOf(bench, 100, 50);
  ASSERT_TRUE(findItem(paneMenu(bench, Pane::Image1, context), "中心へ移動")->enabled);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::Centre, 0, context));
  EXPECT_EQ(bench.view.centreX, 300);
  EXPECT_EQ(bench.view.centreY, 214);
  EXPECT_EQ(bench.view.placement, (ViewPlacement{44, -16, 224, 198}));
}

TEST_F(PaneInput, ColourChoiceIsStoredForTheCurrentKind) {
  open(64, 64);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::ColourKind, kColourOffset));
  EXPECT_EQ(bench.images.selections.kindColours[0][kKindPicture1], kColourOffset);
  EXPECT_EQ(bench.images.selections.kindColours[1][kKindPicture1], 1);
  EXPECT_FALSE(bench.view.colourDisplay);
  EXPECT_TRUE(findItem(paneMenu(bench, Pane::Image1, {}), "ｵﾌｾｯﾄｶﾗｰ")->checked);
  // With PopupColourTurnsColourOn the choice also shows it, here for image 2's kind 1.
  bench.options.PopupColourTurnsColourOn = true;
  ASSERT_TRUE(run(Pane::Image2, PaneCommand::ColourKind, kColourDifference));
  EXPECT_EQ(bench.images.selections.kindColours[1][kKindPicture2], kColourDifference);
  EXPECT_TRUE(bench.view.colourDisplay);
  EXPECT_EQ(colourKindOf(bench, ImageSlot::Second), kColourDifference);
  // A user processing entry keeps its own association.
  bench.images.kind[1] = kUserProcessingKind;
  bench.images.userEntry[1] = 4;
  chooseColourKind(bench, ImageSlot::Second, kColourStandard);
  EXPECT_EQ(bench.images.selections.userProcessingColours[1][4], kColourStandard);
  EXPECT_FALSE(run(Pane::Image2, PaneCommand::ColourKind, 7));  // not a colour kind
}

TEST_F(PaneInput, MarksStoreAndRestoreTheCursor) {
  open(640, 480);
  std::vector<PaneMenuItem> menu = paneMenu(bench, Pane::Image1, {});
  EXPECT_TRUE(findItem(menu, "マーク３設定")->enabled);
  EXPECT_FALSE(findItem(menu, "マーク３移動")->enabled);
  setCursorPosition(bench, 10, 20);
  ASSERT_TRUE(run(Pane::Image1, PaneCommand::StoreMark, 2));
  EXPECT_EQ(bench.images.marks[2], (DisplayMark{1, 10, 20}));
  menu = paneMenu(bench, Pane::Image1, {});
  EXPECT_TRUE(findItem(menu, "マーク３移動")->enabled);
  EXPECT_FALSE(findItem(menu, "マーク１移動")->enabled);
  setMagnification(bench, 4);
  setCursorPosition(bench, 600, 400);
  ASSERT_TRUE(run(Pane::Image2, PaneCommand::MoveToMark, 2));
  EXPECT_EQ(bench.view.centreX, 10);
  EXPECT_EQ(bench.view.centreY, 20);
  EXPECT_EQ(bench.view.fineX, 2);
  EXPECT_FALSE(run(Pane::Image2, PaneCommand::MoveToMark, 0));
  EXPECT_FALSE(run(Pane::Image2, PaneCommand::StoreMark, 4));
}

}  // namespace
}  // namespace vemla
