#pragma once
// Opening Picture 1 and Picture 2 from files or from memory, and the titles built after every
// open. Every refusal tells the operator and leaves the pictures, their metadata and W, H as
// they were (only the read buffers, planes 7 and 8, may have been overwritten).
#include <array>
#include <cstdint>
#include <string>

#include "workbench/workbench.h"

namespace vemla {

// After an open the refresh chain runs (shifted pictures, both images, the listeners told),
// unless the caller runs the parts it needs itself once its own settings are made, as the
// verbs of vemla-cli that prepare the pictures and create one image do.
enum class OpenRefresh { Now, ByCaller };

// Which pictures an open reads.
enum class OpenMode : unsigned char {
  Both,        // both pictures; a missing name gives an all-zero picture
  FirstOnly,   // Picture 1 only, Picture 2 kept (its name is ignored)
  SecondOnly,  // Picture 2 only, Picture 1 kept
};
// The mode that opens `picture` alone, keeping the other.
constexpr OpenMode openingOnly(PictureSlot picture) {
  return picture == PictureSlot::First ? OpenMode::FirstOnly : OpenMode::SecondOnly;
}
// Whether `mode` reads `picture`.
constexpr bool opens(OpenMode mode, PictureSlot picture) {
  return mode == OpenMode::Both || mode == openingOnly(picture);
}

// Loads the pictures `mode` reads from their names (a null or empty name means none: that
// picture becomes all zero with a grey ramp); a picture the mode does not read is kept, or
// cleared before the first open. Returns 0, or -1 when refused or failed (after its message;
// no message when no picture is named or a dialog was cancelled).
int openPictureFiles(Workbench& bench, UserPort& user, const std::string* name1,
                     const std::string* name2, OpenMode mode,
                     OpenRefresh refresh = OpenRefresh::Now);

// Whether `name` fits its 512-byte CP932 name field; when it does not the operator is told
// ("ﾌｧｲﾙ名が長すぎます"). A name is refused rather than cut, since a shortened path could name
// another file; a character CP932 cannot hold is no reason to refuse (it is stored as "?").
bool nameFitsField(const std::string& name, UserPort& user);

// Pictures that come from the gallery, the archive file or the network.
struct MemoryPictures {
  int width = 0;
  int height = 0;
  std::array<const std::uint8_t*, 2> pixels{};  // W * H bytes each, or null to keep the picture
  std::array<const Palette*, 2> palettes{};     // null: grey ramp
  std::array<std::string, 2> names;
  int centreX = -1, centreY = -1;  // outside the picture: the centre (W/2, H/2)
  int magnification = 0;           // 1..64 applied, anything else leaves it
  bool reducedDisplay = false;
};
// A picture given no pixels is kept only at the current size; at another size (or before the
// first open) it becomes all zero with a grey ramp and no name. A size change also resets the
// valid rectangle to the whole picture, as a file open does. Refused while the picture edit
// dialog is open ("画像の編集中です").
int setPicturesFromMemory(Workbench& bench, UserPort& user, const MemoryPictures& pictures);

// Pane and main window titles after an open; only the pictures in `retitle` change their pane
// title, and only they contribute their file names to the main title.
void updateTitles(Workbench& bench, std::array<bool, 2> retitle);

}  // namespace vemla
