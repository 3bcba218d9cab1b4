#pragma once
// What the four panes (Picture 1 and 2, Image 1 and 2) do with the operator's input: clicks,
// drag sliding of the magnified view, the wheel, dropped files and pastes, and the texts of the
// panes' title strips (the pane menus' commands are in workbench/commands/pane_commands.h). The
// windows only collect the input and call these functions; every rule is here.
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "processing/picture_thumbnail.h"
#include "processing/view_rendering.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla {

// Pane numbers: the picture panes Port1, Port2, then the image panes Image1, Image2.
inline constexpr int kPanePicture1 = 0;
inline constexpr int kPanePicture2 = 1;
inline constexpr int kPaneImage1 = 2;
inline constexpr int kPaneImage2 = 3;
inline bool isImagePane(int pane) {
  return pane == kPaneImage1 || pane == kPaneImage2;
}
// The picture a picture pane shows, and the picture a paste into any pane replaces: Port1 and
// Image1 stand for Picture 1, Port2 and Image2 for Picture 2.
inline PictureSlot pictureOfPane(int pane) {
  return pane == kPanePicture2 || pane == kPaneImage2 ? PictureSlot::Second : PictureSlot::First;
}
// The image an image pane shows.
inline ImageSlot imageOfPane(int pane) {
  return pane == kPaneImage2 ? ImageSlot::Second : ImageSlot::First;
}
// The pane that shows a picture or an image.
inline int paneOf(PictureSlot picture) {
  return picture == PictureSlot::First ? kPanePicture1 : kPanePicture2;
}
inline int paneOf(ImageSlot image) {
  return image == ImageSlot::First ? kPaneImage1 : kPaneImage2;
}

// ---- Clicks ----

// The picture cell under view point (u, v) of an image pane and the fine position in it. In
// the reduced display the point goes through the inverse reduction (fine position 0); else the
// cell is (OX + c + u div m, OY + d + v div m) with the fine position (u mod m, v mod m). None
// outside the pane or outside the picture.
struct PaneCell {
  int x = 0, y = 0;
  int fineX = 0, fineY = 0;
  bool reduced = false;
  bool operator==(const PaneCell&) const = default;
};
std::optional<PaneCell> imagePaneCell(int width, int height, const ViewSettings& settings,
                                      const ViewPlacement& placement, int u, int v);
std::optional<PaneCell> imagePaneCellOf(const Workbench& bench, int u, int v);

// A left click on an image pane: the cursor takes the cell and its fine position. Without
// `centre` only the cross moves (the view stays), with it the view is re-centred on the
// cursor; the reduced display always re-centres. False (nothing changed) without pictures or
// outside the picture.
bool clickImagePane(Workbench& bench, int u, int v, bool centre);
// The cursor takes the cell; the view is re-centred with `centre` and always in the reduced
// display, else only the cross moves.
void placeCursorAtCell(Workbench& bench, const PaneCell& cell, bool centre);

// A left click on a picture pane's thumbnail: the cursor moves to the picture point, fine
// position m/2, view re-centred. False without pictures.
bool clickThumbnail(Workbench& bench, const PictureThumbnail& thumbnail, int u, int v);

// ---- Drag sliding ----

// Whether the view shows less than the whole image: magnified, or a picture larger than the
// pane in some direction, and not the reduced display.
bool viewCanSlide(int width, int height, const ViewSettings& settings);

struct DragState {
  bool active = false;
  int lastU = 0, lastV = 0;  // the mouse point of the press or of the last slide
};

// The placement after the mouse moved to (u, v) with the cursor at (cursorX, cursorY): the
// view only slides when it can, the mouse has moved at least `minimumMove` view pixels in u or
// v since `drag`'s last point, and the cell under it is inside the picture and is not the
// cursor's. The cursor's point then comes under the mouse: along an axis where the picture is
// larger than 512 the extraction origin moves first, limited to the picture, and the magnified
// window takes what is left, limited to the extraction. None when nothing would move.
std::optional<ViewPlacement> slidPlacement(int width, int height, const ViewSettings& settings,
                                           const ViewPlacement& placement, int cursorX, int cursorY,
                                           const DragState& drag, int u, int v, int minimumMove);

// A mouse move with the left button held during a drag: slides the view (DragMovesImage,
// DragMinimumMove) and renders both images keeping it; the drag's point follows each slide.
bool slideView(Workbench& bench, DragState& drag, int u, int v);

enum class PaneCommand : int;

// ---- Dropped files ----

enum class DropAction {
  Nothing,
  OpenArchive,  // `archive` through the archive open flow
  Ask,          // one file on a picture pane with pictures loaded: open alone or replace?
  Open,         // `names` with `mode` (0 both, 1 Picture 1 keeping 2, 2 Picture 2 keeping 1)
};
struct DropDecision {
  DropAction action = DropAction::Nothing;
  std::string archive;
  std::vector<std::string> names;  // Picture 1, Picture 2 (empty: none)
  int mode = 0;
  bool operator==(const DropDecision&) const = default;
};
// Files dropped on pane `pane`: an archive first opens the archive; two or more files open
// the first two as Picture 1 and Picture 2; one file opens alone, except on a picture pane
// while pictures are loaded, where the operator is asked.
DropDecision decideDrop(const std::vector<std::string>& files, int pane, bool picturesPresent);

// The answer to the question of a drop: "画像を単独で開く", "画像を入れ替える", "キャンセル".
enum class DropChoice { Alone, Replace, Cancel };
inline constexpr const char* kDropAloneText = text::N_("画像を単独で開く");
inline constexpr const char* kDropReplaceText = text::N_("画像を入れ替える");
inline constexpr const char* kDropCancelText = text::N_("キャンセル");
// Alone: the file as Picture 1, no Picture 2. Replace: the file in place of picture pane
// `pane`'s picture, the other picture's name kept (mode 1 or 2). Cancel: nothing.
DropDecision resolveDropChoice(const std::string& file, int pane, DropChoice choice,
                               const Workbench& bench);

// The paste commands of the pane menus with the clipboard's files: an archive first opens the
// archive; PasteAlone opens the first file alone, PasteReplace puts it in place of the picture
// pane's picture keeping the other, Paste (image panes) opens the first two files as the main
// paste does. Nothing without files.
DropDecision decidePaste(const std::vector<std::string>& files, int pane, PaneCommand command,
                         const Workbench& bench);

// ---- Texts ----

// The label of a pane's title strip: "画像１(a.bmp)", "ｲﾒｰｼﾞ1（平均） x8".
std::string paneTitleText(const Workbench& bench, int pane);
// The explanation of a pane ("機能説明" and the quick help of its strip).
std::string paneHelpText(const Workbench& bench, int pane, bool grabScrollEnabled);

}  // namespace vemla
