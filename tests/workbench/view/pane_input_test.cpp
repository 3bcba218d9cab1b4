#include "workbench/view/pane_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "processing/image_kinds.h"
#include "support/workbench_fixture.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

// ---- Pure geometry ----

const ViewSettings kX1{1, false, false, kZoomCubic};
const ViewSettings kX8{8, false, false, kZoomCubic};

TEST(ImagePaneCell, MagnifiedClickGivesTheCellAndTheFinePosition) {
  // 640 x 480 at x8 around (320, 240): OX = 64, OY = -16, window (224, 224). View (100, 50) is
  // cell (12, 6) of the window: picture (64 + 224 + 12, -16 + 224 + 6) = (300, 214), and lies
  // at (100 mod 8, 50 mod 8) = (4, 2) inside it.
  const ViewPlacement placement{64, -16, 224, 224};
  EXPECT_EQ(imagePaneCell(640, 480, kX8, placement, 100, 50), (PaneCell{300, 214, 4, 2, false}));
  EXPECT_EQ(imagePaneCell(640, 480, kX8, placement, 511, 511),
            (PaneCell{64 + 224 + 63, -16 + 224 + 63, 7, 7, false}));
}

TEST(ImagePaneCell, ClicksBesideThePictureAreIgnored) {
  // 300 x 200 at x1: the picture sits at (106, 156) of the view.
  const ViewPlacement placement{-106, -156, 0, 0};
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 105, 200).has_value());
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 200, 356).has_value());
  EXPECT_EQ(imagePaneCell(300, 200, kX1, placement, 106, 355), (PaneCell{0, 199, 0, 0, false}));
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 512, 200).has_value());
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, -1, 200).has_value());
}

TEST(ImagePaneCell, ReducedDisplayGoesThroughTheInverseReduction) {
  // 2048 x 1024 reduced: 512 x 256 at top 128. View (256, 192) -> (256 * 4, 64 * 4) with the
  // fine position 0; the fill bands above and below are not the picture.
  const ViewSettings reduced{1, true, false, kZoomCubic};
  EXPECT_EQ(imagePaneCell(2048, 1024, reduced, {}, 256, 192), (PaneCell{1024, 256, 0, 0, true}));
  EXPECT_EQ(imagePaneCell(2048, 1024, reduced, {}, 511, 383), (PaneCell{2044, 1020, 0, 0, true}));
  EXPECT_FALSE(imagePaneCell(2048, 1024, reduced, {}, 10, 127).has_value());
  EXPECT_FALSE(imagePaneCell(2048, 1024, reduced, {}, 10, 384).has_value());
}

TEST(DragSlide, MovesBelowTheMinimumOrWithinTheCursorCellDoNotSlide) {
  const ViewPlacement placement{64, -16, 224, 224};
  const DragState drag{true, 96, 48};
  // Cursor (300, 214) is the cell of view 96..103 x 48..55.
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 99, 51, 4).has_value());
  // Seven pixels to the right, still the cursor's cell.
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 103, 48, 4).has_value());
  // Three pixels is below a minimum of 4 even onto the next cell.
  const DragState near{true, 101, 48};
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, near, 104, 50, 4).has_value());
}

TEST(DragSlide, TheCursorPointComesUnderTheMouse) {
  // Mouse at (116, 50): cell 14 across. 640 > 512, so the origin moves: 300 - 14 - 224 = 62;
  // 480 < 512: the window row stays where it is, the cursor's row is already under the mouse.
  const ViewPlacement placement{64, -16, 224, 224};
  const DragState drag{true, 100, 50};
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 116, 50, 4),
            (ViewPlacement{62, -16, 224, 224}));
  // Down by 40 pixels: cell row 11, window row 214 - 11 + 16 = 219.
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 100, 90, 4),
            (ViewPlacement{64, -16, 224, 219}));
}

TEST(DragSlide, WhenTheOriginStopsTheWindowTakesTheRest) {
  // 640 x 480 at x8 with the cursor at (40, 214): origin 0, window column 40 - 32 = 8. Dragging
  // to column 400 (cell 50) needs the view to start at picture column 40 - 50 = -10: the origin
  // cannot go below 0, so the window moves to its own limit 0 and the picture's left edge
  // shows.
  const ViewPlacement placement{0, -16, 8, 224};
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 40, 214, {true, 260, 50}, 400, 50, 4),
            (ViewPlacement{0, -16, 0, 224}));
  // Back to the left: cell 10 needs column 30; the window is kept (0) and the origin moves.
  EXPECT_EQ(slidPlacement(640, 480, kX8, ViewPlacement{0, -16, 0, 224}, 40, 214, {true, 320, 50},
                          80, 50, 4),
            (ViewPlacement{30, -16, 0, 224}));
}

TEST(DragSlide, NeverBeyondThePictureOrTheExtraction) {
  // x1, 640 x 480, cursor (164, 84): mouse at 500 would need origin 164 - 500 < 0 -> 0; at 0 it
  // would need 164 > 128 = 640 - 512 -> 128.
  const ViewPlacement placement{64, -16, 0, 0};
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 80, 100, 4),
            (ViewPlacement{84, -16, 0, 0}));
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 500, 100, 4),
            (ViewPlacement{0, -16, 0, 0}));
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 0, 100, 4),
            (ViewPlacement{128, -16, 0, 0}));
  // A small picture at x2: the window stays within 0 .. 512 - 256.
  const ViewSettings x2{2, false, false, kZoomCubic};
  EXPECT_EQ(slidPlacement(300, 200, x2, ViewPlacement{-106, -156, 128, 128}, 150, 100,
                          {true, 256, 256}, 500, 256, 4),
            (ViewPlacement{-106, -156, 6, 128}));
}

TEST(DragSlide, NothingSlidesWhileTheWholeImageIsVisible) {
  EXPECT_FALSE(viewCanSlide(300, 200, kX1));
  EXPECT_FALSE(viewCanSlide(512, 512, kX1));
  EXPECT_TRUE(viewCanSlide(513, 512, kX1));
  EXPECT_TRUE(viewCanSlide(300, 200, ViewSettings{2, false, false, kZoomCubic}));
  EXPECT_FALSE(viewCanSlide(2048, 1024, ViewSettings{1, true, false, kZoomCubic}));
  EXPECT_FALSE(slidPlacement(300, 200, kX1, ViewPlacement{-106, -156, 0, 0}, 150, 100,
                             {true, 256, 256}, 300, 300, 4)
                   .has_value());
}

// ---- On a workbench ----

class PaneInput : public testing::WorkbenchFixture {
 protected:
  void open(int width, int height) {
    palette2 = greyRamp();
    palette2[0] = 200;  // blue of entry 0
    MemoryPictures pictures;
    pictures.palettes = {nullptr, &palette2};
    pictures.names = {"/p/one.bmp", "/p/two.bmp"};
    openPictures(width, height, everywhere(40), everywhere(90), pictures);
  }
  bool run(int pane, PaneCommand command, int argument = 0, PaneMenuContext context = {}) {
    return runPaneCommand(bench, pane, command, argument, context, user, busy, progress);
  }

  NoBusyPort busy;
  Palette palette2{};
};

const PaneMenuItem* findItem(const std::vector<PaneMenuItem>& menu, const std::string& text) {
  for (const PaneMenuItem& item : menu) {
    if (item.text == text) return &item;
    if (const PaneMenuItem* inner = findItem(item.submenu, text)) return inner;
  }
  return nullptr;
}

TEST_F(PaneInput, PlainClickMovesOnlyTheCrossShiftClickRecentres) {
  open(640, 480);
  setMagnification(bench, 8);
  ASSERT_EQ(bench.view.placement, (ViewPlacement{64, -16, 224, 224}));
  ASSERT_TRUE(clickImagePane(bench, 100, 50, false));
  EXPECT_EQ(bench.view.centreX, 300);
  EXPECT_EQ(bench.view.centreY, 214);
  EXPECT_EQ(bench.view.fineX, 4);
  EXPECT_EQ(bench.view.fineY, 2);
  EXPECT_EQ(bench.view.placement, (ViewPlacement{64, -16, 224, 224}));
  EXPECT_EQ(cursorViewPointOf(bench), (ViewPoint{100, 50}));
  // With centring: origin 300 - 256 = 44, window row 230 - 32 = 198; the fine position stays.
  ASSERT_TRUE(clickImagePane(bench, 100, 50, true));
  EXPECT_EQ(bench.view.placement, (ViewPlacement{44, -16, 224, 198}));
  EXPECT_EQ(bench.view.fineX, 4);
}

TEST_F(PaneInput, ClickInTheFillAroundASmallPictureChangesNothing) {
  open(300, 200);
  const int x = bench.view.centreX, y = bench.view.centreY;
  EXPECT_FALSE(clickImagePane(bench, 20, 20, true));
  EXPECT_EQ(bench.view.centreX, x);
  EXPECT_EQ(bench.view.centreY, y);
}

TEST_F(PaneInput, DragSlidesTheViewAndFollowsTheMouse) {
  open(640, 480);
  bench.view.zoomInterpolation = false;
  setMagnification(bench, 8);
  ASSERT_TRUE(clickImagePane(bench, 100, 50, false));
  DragState drag{true, 100, 50};
  EXPECT_FALSE(slideView(bench, drag, 102, 51));
  ASSERT_TRUE(slideView(bench, drag, 116, 50));
  EXPECT_EQ(bench.view.placement, (ViewPlacement{62, -16, 224, 224}));
  EXPECT_EQ(drag.lastU, 116);
  EXPECT_EQ(cursorViewPointOf(bench), (ViewPoint{116, 50}));
  // The panes were rendered with the kept placement: view (116, 50) shows picture (300, 214).
  EXPECT_EQ(bench.view.panes[0].view[50 * 512 + 116], 40);

  bench.options.DragMovesImage = false;
  EXPECT_FALSE(slideView(bench, drag, 200, 200));
}

TEST_F(PaneInput, WheelNotchesEnterAndLeaveTheReducedDisplay) {
  open(640, 480);
  setMagnification(bench, 2);
  ASSERT_TRUE(stepMagnification(bench, false, user, false));
  EXPECT_EQ(bench.view.magnification, 1);
  ASSERT_TRUE(stepMagnification(bench, false, user, false));
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_FALSE(stepMagnification(bench, false, user, false));
  ASSERT_TRUE(stepMagnification(bench, true, user, false));
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(bench.view.magnification, 1);
  ASSERT_TRUE(stepMagnification(bench, true, user, false));
  EXPECT_EQ(bench.view.magnification, 2);
  EXPECT_EQ(bench.view.fineX, 1);
}

TEST_F(PaneInput, DropDecisions) {
  // Three files: the first two as a pair, on any pane.
  const DropDecision pair{DropAction::Open, {}, {"a.bmp", "b.bmp"}, 0};
  EXPECT_EQ(decideDrop({"a.bmp", "b.bmp", "c.bmp"}, kPanePicture2, true), pair);
  EXPECT_EQ(decideDrop({"a.bmp", "b.bmp", "c.bmp"}, kPaneImage1, false), pair);
  // An archive first goes to the archive flow, whatever follows.
  EXPECT_EQ(decideDrop({"set.VLA", "b.bmp"}, kPanePicture1, true),
            (DropDecision{DropAction::OpenArchive, "set.VLA", {}, 0}));
  // A ".vla" second is not an archive request.
  EXPECT_EQ(decideDrop({"a.bmp", "b.vla"}, kPanePicture1, true).action, DropAction::Open);
  // One file: alone without pictures or on an image pane; asked on a picture pane.
  const DropDecision alone{DropAction::Open, {}, {"a.bmp", ""}, 0};
  EXPECT_EQ(decideDrop({"a.bmp"}, kPanePicture1, false), alone);
  EXPECT_EQ(decideDrop({"a.bmp"}, kPaneImage2, true), alone);
  EXPECT_EQ(decideDrop({"a.bmp"}, kPanePicture2, true).action, DropAction::Ask);
  EXPECT_EQ(decideDrop({}, kPanePicture1, true).action, DropAction::Nothing);
}

TEST_F(PaneInput, TheAnswerToADropKeepsTheOtherPicture) {
  open(64, 64);
  EXPECT_EQ(resolveDropChoice("new.bmp", kPanePicture2, DropChoice::Replace, bench),
            (DropDecision{DropAction::Open, {}, {"/p/one.bmp", "new.bmp"}, 2}));
  EXPECT_EQ(resolveDropChoice("new.bmp", kPanePicture1, DropChoice::Replace, bench),
            (DropDecision{DropAction::Open, {}, {"new.bmp", "/p/two.bmp"}, 1}));
  EXPECT_EQ(resolveDropChoice("new.bmp", kPanePicture1, DropChoice::Alone, bench),
            (DropDecision{DropAction::Open, {}, {"new.bmp", ""}, 0}));
  EXPECT_EQ(resolveDropChoice("new.bmp", kPanePicture1, DropChoice::Cancel, bench).action,
            DropAction::Nothing);
}

TEST_F(PaneInput, PasteCommands) {
  open(64, 64);
  const std::vector<std::string> files{"x.bmp", "y.bmp"};
  EXPECT_EQ(decidePaste(files, kPanePicture1, PaneCommand::PasteAlone, bench),
            (DropDecision{DropAction::Open, {}, {"x.bmp", ""}, 0}));
  EXPECT_EQ(decidePaste(files, kPanePicture2, PaneCommand::PasteReplace, bench),
            (DropDecision{DropAction::Open, {}, {"/p/one.bmp", "x.bmp"}, 2}));
  EXPECT_EQ(decidePaste(files, kPaneImage1, PaneCommand::Paste, bench),
            (DropDecision{DropAction::Open, {}, {"x.bmp", "y.bmp"}, 0}));
  EXPECT_EQ(decidePaste({"a.vla"}, kPanePicture1, PaneCommand::PasteReplace, bench).action,
            DropAction::OpenArchive);
  EXPECT_EQ(decidePaste({}, kPaneImage1, PaneCommand::Paste, bench).action, DropAction::Nothing);
}

TEST_F(PaneInput, PictureMenuEnabling) {
  open(64, 64);
  std::vector<PaneMenuItem> menu = paneMenu(bench, kPanePicture1, {});
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
  menu = paneMenu(bench, kPanePicture2, {true, std::nullopt});
  EXPECT_TRUE(findItem(menu, "貼り付け(単独で開く)")->enabled);
  EXPECT_TRUE(findItem(menu, "貼り付け(入れ替える)")->enabled);
  // While a picture is edited nothing is pasted or cleared.
  bench.pictures.editing = true;
  menu = paneMenu(bench, kPanePicture2, {true, std::nullopt});
  EXPECT_FALSE(findItem(menu, "貼り付け(単独で開く)")->enabled);
  EXPECT_FALSE(findItem(menu, "クリア")->enabled);
}

TEST_F(PaneInput, RecentPicturesAreOfferedForPasting) {
  open(64, 64);
  // No recent picture yet (open() sets the pictures from memory): nothing to offer.
  EXPECT_FALSE(findItem(paneMenu(bench, kPanePicture1, {}), "履歴から貼り付け")->enabled);
  bench.shell.fileHistory.recent[0] = {1, 640, 480, 0, "/data/a.bmp"};
  bench.shell.fileHistory.recent[1] = {1, 320, 200, 1024, "/data/b.raw"};
  const std::vector<PaneMenuItem> menu = paneMenu(bench, kPaneImage2, {});
  const PaneMenuItem* recent = findItem(menu, "履歴から貼り付け");
  ASSERT_NE(recent, nullptr);
  EXPECT_TRUE(recent->enabled);
  ASSERT_EQ(recent->submenu.size(), 2u);
  EXPECT_EQ(recent->submenu[0].text, " 1. /data/a.bmp (640x480)");
  EXPECT_EQ(recent->submenu[1].text, " 2. /data/b.raw (320x200 Top:1024)");
  EXPECT_EQ(recent->submenu[1].command, PaneCommand::PasteFromHistory);
  EXPECT_EQ(recent->submenu[1].argument, 1);
  bench.pictures.editing = true;
  EXPECT_FALSE(findItem(paneMenu(bench, kPanePicture1, {}), "履歴から貼り付け")->enabled);
}

TEST_F(PaneInput, ClearEmptiesThePictureOnlyWhileBothHaveNames) {
  open(64, 64);
  ASSERT_TRUE(run(kPanePicture2, PaneCommand::Clear));
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
  EXPECT_FALSE(findItem(paneMenu(bench, kPanePicture1, {}), "クリア")->enabled);
  EXPECT_FALSE(run(kPanePicture1, PaneCommand::Clear));
  EXPECT_EQ(bench.pictures.pictures[0].name, "/p/one.bmp");
}

TEST_F(PaneInput, ImageMenuListsKindsColoursAndMagnifications) {
  open(640, 480);
  bench.userEntries.processing[2].inUse = 1;
  bench.userEntries.processing[2].name = "ﾌｨﾙﾀ";
  bench.userEntries.colours[5].inUse = 1;
  bench.userEntries.colours[5].name = "虹";
  const std::vector<PaneMenuItem> menu = paneMenu(bench, kPaneImage2, {});
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
  EXPECT_FALSE(run(kPaneImage1, PaneCommand::ScopeMagnification, 32));
  // With the image scope switched on its magnification can be chosen.
  bench.shell.imageScope = true;
  EXPECT_TRUE(findItem(paneMenu(bench, kPanePicture1, {}), "ｲﾒｰｼﾞｽｺｰﾌﾟ倍率")->enabled);
  EXPECT_TRUE(run(kPanePicture2, PaneCommand::ScopeMagnification, 32));
  EXPECT_EQ(bench.options.ScopeMagnification, 32);
  EXPECT_TRUE(findItem(paneMenu(bench, kPanePicture1, {}), "倍率　Ｘ32")->checked);
  bench.shell.imageScope = false;

  // A picture that fits the pane cannot be reduced.
  open(300, 200);
  const std::vector<PaneMenuItem> small = paneMenu(bench, kPaneImage1, {});
  const auto found = std::find_if(small.begin(), small.end(), [](const PaneMenuItem& item) {
    return item.command == PaneCommand::ReducedDisplay;
  });
  ASSERT_NE(found, small.end());
  EXPECT_FALSE(found->enabled);
}

TEST_F(PaneInput, MenuCommandsDriveTheView) {
  open(640, 480);
  ASSERT_TRUE(run(kPaneImage2, PaneCommand::ImageKind, kKindDifference));
  EXPECT_EQ(bench.images.kind[1], kKindDifference);
  EXPECT_EQ(bench.images.kind[0], kKindPicture1);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::Magnification, 16));
  EXPECT_EQ(bench.view.magnification, 16);
  EXPECT_TRUE(findItem(paneMenu(bench, kPaneImage1, {}), "倍率　Ｘ16")->checked);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::ReducedDisplay));
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_TRUE(findItem(paneMenu(bench, kPaneImage1, {}), "倍率　1/1.25")->checked);
  EXPECT_FALSE(findItem(paneMenu(bench, kPaneImage1, {}), "倍率　Ｘ１")->checked);
  const bool interpolation = bench.view.zoomInterpolation;
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::Interpolation));
  EXPECT_NE(bench.view.zoomInterpolation, interpolation);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::ColourDisplay));
  EXPECT_TRUE(bench.view.colourDisplay);
  // Picture panes do not take image-pane commands.
  EXPECT_FALSE(run(kPanePicture1, PaneCommand::Magnification, 2));
  EXPECT_FALSE(run(kPaneImage1, PaneCommand::Magnification, 65));
  EXPECT_FALSE(run(kPaneImage1, PaneCommand::View));
}

TEST_F(PaneInput, CentreTakesTheClickedCell) {
  open(640, 480);
  setMagnification(bench, 8);
  PaneMenuContext context;
  context.cell = imagePaneCellOf(bench, 100, 50);
  ASSERT_TRUE(findItem(paneMenu(bench, kPaneImage1, context), "中心へ移動")->enabled);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::Centre, 0, context));
  EXPECT_EQ(bench.view.centreX, 300);
  EXPECT_EQ(bench.view.centreY, 214);
  EXPECT_EQ(bench.view.placement, (ViewPlacement{44, -16, 224, 198}));
}

TEST_F(PaneInput, ColourChoiceIsStoredForTheCurrentKind) {
  open(64, 64);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::ColourKind, kColourOffset));
  EXPECT_EQ(bench.images.selections.kindColours[0][kKindPicture1], kColourOffset);
  EXPECT_EQ(bench.images.selections.kindColours[1][kKindPicture1], 1);
  EXPECT_FALSE(bench.view.colourDisplay);
  EXPECT_TRUE(findItem(paneMenu(bench, kPaneImage1, {}), "ｵﾌｾｯﾄｶﾗｰ")->checked);
  // With PopupColourTurnsColourOn the choice also shows it, here for image 2's kind 1.
  bench.options.PopupColourTurnsColourOn = true;
  ASSERT_TRUE(run(kPaneImage2, PaneCommand::ColourKind, kColourDifference));
  EXPECT_EQ(bench.images.selections.kindColours[1][kKindPicture2], kColourDifference);
  EXPECT_TRUE(bench.view.colourDisplay);
  EXPECT_EQ(colourKindOf(bench, ImageSlot::Second), kColourDifference);
  // A user processing entry keeps its own association.
  bench.images.kind[1] = kUserProcessingKind;
  bench.images.userEntry[1] = 4;
  chooseColourKind(bench, ImageSlot::Second, kColourStandard);
  EXPECT_EQ(bench.images.selections.userProcessingColours[1][4], kColourStandard);
  EXPECT_FALSE(run(kPaneImage2, PaneCommand::ColourKind, 7));  // not a colour kind
}

TEST_F(PaneInput, MarksStoreAndRestoreTheCursor) {
  open(640, 480);
  std::vector<PaneMenuItem> menu = paneMenu(bench, kPaneImage1, {});
  EXPECT_TRUE(findItem(menu, "マーク３設定")->enabled);
  EXPECT_FALSE(findItem(menu, "マーク３移動")->enabled);
  setCursorPosition(bench, 10, 20);
  ASSERT_TRUE(run(kPaneImage1, PaneCommand::StoreMark, 2));
  EXPECT_EQ(bench.images.marks[2], (DisplayMark{1, 10, 20}));
  menu = paneMenu(bench, kPaneImage1, {});
  EXPECT_TRUE(findItem(menu, "マーク３移動")->enabled);
  EXPECT_FALSE(findItem(menu, "マーク１移動")->enabled);
  setMagnification(bench, 4);
  setCursorPosition(bench, 600, 400);
  ASSERT_TRUE(run(kPaneImage2, PaneCommand::MoveToMark, 2));
  EXPECT_EQ(bench.view.centreX, 10);
  EXPECT_EQ(bench.view.centreY, 20);
  EXPECT_EQ(bench.view.fineX, 2);
  EXPECT_FALSE(run(kPaneImage2, PaneCommand::MoveToMark, 0));
  EXPECT_FALSE(run(kPaneImage2, PaneCommand::StoreMark, 4));
}

TEST_F(PaneInput, TitlesAndHelpTexts) {
  EXPECT_EQ(paneTitleText(bench, kPaneImage1), "ｲﾒｰｼﾞ1");
  const std::string before = paneHelpText(bench, kPaneImage1, false);
  EXPECT_EQ(before.rfind("・表示画像（ｼﾌﾄされた画像）を基に", 0), 0u);
  open(640, 480);
  EXPECT_EQ(paneTitleText(bench, kPanePicture1), "画像１(one.bmp)");
  EXPECT_EQ(paneTitleText(bench, kPaneImage2), "ｲﾒｰｼﾞ2（画像２） x1");
  EXPECT_EQ(paneHelpText(bench, kPanePicture2, true),
            "・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
            "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
            "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
            "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
            "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n");
  const std::string shiftClick =
      "　※Shiftｷｰを押下した状態で左ｸﾘｯｸした場合はｸﾘｯｸ位置が中心に移動します\n";
  const std::string grab =
      "・ﾏｳｽﾎｲｰﾙを押下した状態や、Shift/Ctrlｷｰ+左ｸﾘｯｸした状態ではﾏｳｽの移動により表示位置全体の"
      "移動が可能です\n";
  const std::string plain = paneHelpText(bench, kPaneImage2, false);
  EXPECT_EQ(plain.rfind("（画像２）：表示されている画像２と同じ内容です\n\n・表示画像", 0), 0u);
  EXPECT_EQ(
      plain.size(),
      before.size() + std::string("（画像２）：表示されている画像２と同じ内容です\n\n").size());
  // The slide note is followed by the shift-click note, or by the grab-scroll line.
  const std::string slideNote = "　※画像の全体が表示されている場合はｽﾗｲﾄﾞしません\n";
  EXPECT_NE(plain.find(slideNote + shiftClick + "・ﾏｳｽの右ｸﾘｯｸで拡張機能"), std::string::npos);
  const std::string grabbing = paneHelpText(bench, kPaneImage2, true);
  EXPECT_NE(grabbing.find(slideNote + grab + "・ﾏｳｽの右ｸﾘｯｸで拡張機能"), std::string::npos);
  EXPECT_EQ(grabbing.find(shiftClick), std::string::npos);
  const std::string ending =
      "・「ｲﾒｰｼﾞ制御情報-ｶﾗｰ情報」でﾊﾟﾚｯﾄを指定すると階調値とｶﾗｰの対応(ﾊﾟﾚｯﾄ情報)が表示されます\n";
  EXPECT_EQ(plain.substr(plain.size() - ending.size()), ending);
}

}  // namespace
}  // namespace vemla
