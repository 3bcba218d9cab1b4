#pragma once
// The refresh chain of the workbench and its shorter paths. A change of a picture or of the
// picture control runs the whole chain: prepare the shifted pictures, create Image 1 and
// Image 2, render both, build the picture panes' thumbnails, tell the listeners
// (picturesChanged). Cursor, magnification and view
// changes only render again; colour, range extraction and grid changes only repaint, which
// rebuilds the colour tables and the grid copies (panesChanged).
#include <string>

#include "ports/ports.h"
#include "processing/cursor_model.h"
#include "processing/pane_painting.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla {

// A ProgressPort that shows nothing (vemla-cli, tests that do not count).
class NoProgressPort final : public ProgressPort {
 public:
  void setText(std::string_view) override {}
  void start(int) override {}
  void report(int) override {}
  void finish() override {}
};

// prepare -> create both images (recomputed, views re-centred) -> render both -> thumbnails ->
// notify. The cursor is first brought into the picture. Without pictures the thumbnails become
// the empty raster and the listeners are told.
void refreshPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);
// The same without wait cursor and progress window.
void refreshPictures(Workbench& bench, UserPort& user);

// createImage: with pictures loaded, rebuilds `image` from its kind when
// `recompute` (buffer, statistics, fill value, blanking), then renders it, keeping the
// placement of the last rendering when `keepView`. Does not notify. A user processing entry
// that is not in use leaves the buffer as it is with zero statistics; one that fails also
// tells "ｲﾒｰｼﾞ%dの作成に失敗しました" (the buffer is kept and rendering goes on) and makes the
// result false.
bool createImage(Workbench& bench, ImageSlot image, bool recompute, bool keepView, UserPort& user,
                 BusyPort& busy, ProgressPort& progress);

// A kind request: stores the kind (99 with `userEntry`) and recreates that image keeping the
// view, then tells panesChanged.
void setImageKind(Workbench& bench, ImageSlot image, int kind, int userEntry, UserPort& user,
                  BusyPort& busy, ProgressPort& progress);

// "有効範囲": recreates both images keeping the view.
void setBlankInvalid(Workbench& bench, bool on, UserPort& user, BusyPort& busy,
                     ProgressPort& progress);

// What an applied option change (the effect flags of applyOptions) asks of the images: a new
// sub-pixel division (after the caller has rescaled the shifts), another shift interpolation
// or area difference settings run the whole chain; a new magnification interpolation mode
// only renders again; new colours only repaint.
void refreshAfterOptions(Workbench& bench, unsigned effects, UserPort& user, BusyPort& busy,
                         ProgressPort& progress);
// The facts applyOptions needs: whether an image shows the area difference, and whether the
// view is magnified above x1 with interpolation.
bool areaDifferenceShown(const Workbench& bench);
bool magnifiedWithInterpolation(const Workbench& bench);

// Renders image `image` again from its buffer (extraction, magnification) and repaints it.
void renderImage(Workbench& bench, ImageSlot image, bool keepView);
// Both images, then panesChanged.
void renderPanes(Workbench& bench, bool keepView);
// Colour tables and grid copies of both panes, then panesChanged.
void paintPanes(Workbench& bench);

// Setting a position: clamped into the picture, fine position m/2, view re-centred.
void setCursorPosition(Workbench& bench, int x, int y);
// An arrow key (`fromPad` false) or the cursor pad: a coarse or fine step as "微動" says,
// then both images re-render re-centred.
void moveCursor(Workbench& bench, CursorDirection direction, bool fromPad);
// Magnification 1..64: leaves the reduced display, fine position m/2, view re-centred.
void setMagnification(Workbench& bench, int magnification);
// The reduced display, when the picture is larger than the pane (else false, nothing done).
bool setReducedDisplay(Workbench& bench);

// "ｸﾞﾘｯﾄﾞ": switches the grid and puts both offsets back to 0.
void setGrid(Workbench& bench, bool on);
// The grid pad: up increments gy, down decrements it, left increments gx, right decrements
// it, each wrapping within 0..L m - 1; then both panes repaint.
void moveGrid(Workbench& bench, CursorDirection direction);

// What the panes are rendered and painted with.
ViewSettings viewSettingsOf(const Workbench& bench);
// The kind image `image` shows: its own, or "画像２" while its blink shows Picture 2.
int shownKindOf(const Workbench& bench, ImageSlot image);
// The colour kind image `image` shows: its shown kind's association with the colour display
// on, else grey; a user colour table that is not in use shows as grey.
int colourKindOf(const Workbench& bench, ImageSlot image);
PaneColours paneColoursOf(const Workbench& bench, ImageSlot image);
// The same for image kind `kind` in image `image`'s pane.
int colourKindFor(const Workbench& bench, ImageSlot image, int kind);
PaneColours paneColoursFor(const Workbench& bench, ImageSlot image, int kind);
// Ends a comparison view without giving its kind back, freeing what it kept.
void endComparison(PaneComparison& comparison);
// The kind the settings and state files keep for image `image`: a comparison view's given-back
// kind while it is on.
int storedKindOf(const Workbench& bench, ImageSlot image);
// What the statistics read-outs and the tools read: the shown kind's image and statistics.
const std::uint8_t* shownImageOf(const Workbench& bench, ImageSlot image);
const ImageStatistics& shownStatisticsOf(const Workbench& bench, ImageSlot image);
// The colour table the image control keeps for image 2's built-in `kind` ("階調差" for the
// difference), as a pane shows it without range extraction, whatever the colour display.
ColourTable kindColourTable(const Workbench& bench, int kind);
GridSettings gridSettingsOf(const Workbench& bench, ImageSlot image);
// The cursor cross position (the same in both panes).
ViewPoint cursorViewPointOf(const Workbench& bench);
// The kind name ("平均", or the user processing entry's name) as files keep it, the same name as
// a person reads it (a built-in kind's name in the language in use) and the pane label; the
// swipe view's label names both pictures.
inline constexpr const char* kSwipeKindName = text::N_("画像１｜画像２");
std::string kindNameOf(const Workbench& bench, ImageSlot image);
std::string shownKindNameOf(const Workbench& bench, ImageSlot image);
std::string imageLabelOf(const Workbench& bench, ImageSlot image);

}  // namespace vemla
