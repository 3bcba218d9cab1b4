#pragma once
// The main window's picture commands as operations on the workbench: opening named pictures,
// recent pictures and history entries, reopening, swapping and copying pictures,
// pictures from images, grey-scale, clearing, file information, overwriting and saving. Each
// returns 0 on success and -1 when it was refused or failed (after its message, if any), and
// talks to the operator only through the ports.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/workbench.h"

namespace vemla {

// Opens `names` as `mode` says (openPictureFiles). Each name that will be opened must fit its
// name field, else it is refused (nameFitsField) before anything is read. On success: real
// file names become the file dialogs' last-used names, each ".bmp"/".raw" picture opened goes
// to the top of the recent pictures, the combination enters the history (when
// `recordHistory`), and VemlaUinf.dat is written (never by a second copy). The open itself
// already runs the refresh chain and retitles.
int openPictureNames(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     const std::array<std::string, 2>& names, OpenMode mode, bool recordHistory);

// Opens recent picture `entry` (0..15) as `picture`. With pictures present
// and the entry's size equal to the current size only that picture is replaced; otherwise both
// are opened, the other all zero. The stored width, height and offset replace the raw size
// dialog when they are valid (8 <= W <= MaxPictureWidth, 8 <= H <= MaxPictureHeight,
// offset >= 0); otherwise the dialog is asked. The combination is not entered in the history.
int openRecentPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                      PictureSlot picture, int entry);

// Opens history entry `entry` (0..15) as both pictures; it is recorded again at the top.
int openHistoryEntry(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     int entry);

// Reopens from the current names: `only` none both (both names must be real file names), else
// that picture (the other kept unless its name is empty, then cleared). Raw files ask the raw
// size dialog again; names and history stay as they are.
int reopenPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                   std::optional<PictureSlot> only);

// Swaps the unshifted pictures with their palettes and names; titles, panes and images follow.
int swapPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress);

// Copies unshifted picture `from` and its palette onto the other; names unchanged.
int copyPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                PictureSlot from);

// Image `image` (plane 4 or 5) replaces unshifted picture `picture`; the image's display
// colours become the picture's palette and its name becomes "<kind name>".
int imageToPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                   ImageSlot image, PictureSlot picture);
// Both images at once: `crossed` false Image 1 -> Picture 1, Image 2 -> Picture 2; true
// Image 1 -> Picture 2, Image 2 -> Picture 1.
int imagesToPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     bool crossed);

// The palette of `picture` becomes the grey ramp; pixel values are unchanged.
int greyScalePicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     PictureSlot picture);

// Empties `picture`: name empty, all zero, grey ramp, then the after-open refresh.
// Refused (-1, no message) unless both pictures have names.
int clearPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                 PictureSlot picture);

// The message of "画像ﾌｧｲﾙ情報" for the pictures with real file names whose last write time
// can be read; nullopt when there is none.
inline constexpr const char* kFileInformationTitle = text::N_("画像ﾌｧｲﾙ情報");
std::optional<std::string> fileInformationText(const Workbench& bench);

// Asks "画像%sを上書きしてもよいですか\n%s" and writes shifted `picture` with its palette over
// its file by extension. Returns 0 written, 1 declined, -1 refused (no pictures or no real
// file name; no message) or failed ("上書きできません"; the file is kept).
int overwritePicture(Workbench& bench, UserPort& user, PictureSlot picture);

// Writes shifted `picture` to `path` (grey ramp when SaveBitmapAsGrey, else its palette); on
// success the picture is named `path`, the path becomes the save-as dialog's last file and the
// titles are rebuilt. Failure: "保存できません", names unchanged.
int savePictureAs(Workbench& bench, UserPort& user, PictureSlot picture, const std::string& path);

// Writes `image`: its buffer with its display colours (grey ramp when SaveBitmapAsGrey), or
// with "表示ｲﾒｰｼﾞで保存" the 512 x 512 pane raster with the pane's colour table; on success the
// path becomes the save-as dialog's last file. Failure: "保存できません".
int saveImageAs(Workbench& bench, UserPort& user, ImageSlot image, const std::string& path);

// The display colours of `image` as a palette: its colour table without the grid (grey when
// the colour display is off).
Palette imageDisplayPalette(const Workbench& bench, ImageSlot image);

// What a paste command does with the clipboard's files.
struct PasteDecision {
  enum class Action { Nothing, OpenArchive, OpenPictures };
  Action action = Action::Nothing;
  std::string archivePath;                  // OpenArchive
  std::array<std::string, 2> names;         // OpenPictures
  OpenMode mode = OpenMode::Both;
};
// "貼り付け" (`into` none): an archive as the first file opens the archive; otherwise the first
// and second files are opened as both pictures. "画像1に貼り付け" / "画像2に貼り付け" (`into`
// that picture): the first file as that picture, keeping the other (whose current name is
// carried along). No files: nothing.
PasteDecision pasteDecision(const std::vector<std::string>& files, std::optional<PictureSlot> into,
                            const std::array<std::string, 2>& currentNames);

}  // namespace vemla
