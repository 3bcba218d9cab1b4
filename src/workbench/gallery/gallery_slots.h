#pragma once
// The slot operations on the live gallery of the workbench. A change first writes VemlaGinf.dat
// with the slots it replaces empty (when they hold something), then the slot files, through a
// temporary file and a rename, then VemlaGinf.dat with the new records (also atomically), so
// the records on disk never name content that is not in the slot file. A failed write keeps the
// slot's previous record and file.
#include <span>
#include <string>

#include "gallery/gallery.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// The live gallery: null in a second copy, before start-up and when no memory was left for it.
persist::HeldGallery* liveGallery(Workbench& bench);
const persist::HeldGallery* liveGallery(const Workbench& bench);
int galleryCount(const Workbench& bench);  // 0 when there is no gallery
// Whether a gallery window is shown (the check mark of "ギャラリー"); true when that changed.
bool setGalleryShown(Workbench& bench, bool shown);

// Writes VemlaGinf.dat with the live records and thumbnails, the stored gallery count and
// "hide at start" taken from the options (as at shutdown). Nothing in a second copy. False after
// "ﾌｧｲﾙの書き込みができません\n<path>".
bool saveGalleryNow(Workbench& bench, UserPort& user);

// Before slot files are replaced: writes VemlaGinf.dat with `slots` empty when any of them
// holds something there, so that a kill between a slot file and the records leaves the slot
// empty, never a record that names the content the file held before (the held records are
// kept; the next write of them puts them back). False when VemlaGinf.dat cannot be written;
// the slot files must then stay as they are.
bool releaseSlotsOnDisk(Workbench& bench, std::span<const int> slots);

// Stores a picture: slot file, kind Picture, size, true-colour code, palette, title, thumbnail;
// clears the slot's data association. On a failed write "ｷﾞｬﾗﾘｰの退避に失敗しました" (error
// icon) and the slot keeps what it held.
int storePictureInSlot(Workbench& bench, UserPort& user, int slot, const SlotPicture& picture);
// Stores data: kind Data, width = byte count, height 1, no thumbnail (zeroed).
int storeDataInSlot(Workbench& bench, UserPort& user, int slot, std::span<const std::uint8_t> bytes,
                    const std::string& title);
// "ﾌｧｲﾙから開く": ".bmp" and ".raw" files become pictures (8 .. the maximum size; true colour
// kept), any other file data up to the data limit. The reader tells its own failures.
int storeFileInSlot(Workbench& bench, UserPort& user, int slot, const std::string& path);
// Picture 1 or 2 with its palette and a title from its name.
int storeWorkbenchPictureInSlot(Workbench& bench, UserPort& user, int slot, PictureSlot picture);
// Image 1 or 2 at the pictures' size with its colour table as palette.
int storeImageInSlot(Workbench& bench, UserPort& user, int slot, ImageSlot image,
                     const Palette& colourTable);

// Loads the slot's content size bytes of its file into `buffer`; kSlotFailed for a short or
// missing file or a buffer too small. No message.
int readSlot(const Workbench& bench, int slot, std::span<std::uint8_t> buffer);

// "ｸﾘｱしてもよいですか(#%d)"; on yes the slot becomes Empty (title and sizes stay). True when
// cleared.
bool clearSlot(Workbench& bench, UserPort& user, int slot);
// "全てのｷﾞｬﾗﾘｰ情報がｸﾘｱされますがよいですか"; on yes every slot in use becomes Empty with an
// all-zero title.
bool clearAllSlots(Workbench& bench, UserPort& user);
// A new title: its first 126 characters, as much of them as the field holds.
int renameSlot(Workbench& bench, UserPort& user, int slot, const std::string& title);

// Copies a picture slot into Picture 1 or 2 (message 5004): refused while editing, for sizes
// outside 8 .. the maximum (warnings); Over and data slots do nothing (kSlotAbandoned). A
// true-colour slot is converted as a true-colour file is opened. A failed read tells
// "ｷﾞｬﾗﾘｰの読み込みに失敗しました" and keeps the slot. The picture is named "<title>".
int copySlotToPicture(Workbench& bench, UserPort& user, int slot, PictureSlot picture);

}  // namespace vemla
