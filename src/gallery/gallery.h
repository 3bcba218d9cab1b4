#pragma once
// The gallery: 8 to 32 numbered slots that outlive the program. The slot records and the
// thumbnails are the held gallery of the settings (VemlaGinf.dat); the content of slot n is the
// file "~~VemlaG%03d.dat" in the program folder (pixel rows top-down, or the data's bytes).
//
// Every change writes the slot file first, through a temporary file and a rename, and then
// VemlaGinf.dat (also atomically), so the records never name content that is not on disk. A
// failed write keeps the slot's previous record and file.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gallery/gallery_state.h"
#include "gallery/slot_kind.h"
#include "persist/gallery_info.h"
#include "workbench/workbench.h"

namespace vemla {

inline constexpr int kMaxGallerySlots = persist::kGallerySlots;
inline constexpr std::size_t kSlotTitleBytes = 128;  // CP932 bytes of a title

// Results of the slot operations besides 0.
inline constexpr int kSlotFailed = -1;      // a file could not be written or read (told)
inline constexpr int kSlotTooLarge = -5;    // data beyond the data limit (not told)
inline constexpr int kSlotNotUsable = -10;  // no gallery, or a slot number outside it
inline constexpr int kSlotAbandoned = 1;    // a dialog was cancelled, or nothing to do

// The current limits: pictures of 8 .. MaxPictureWidth x 8 .. MaxPictureHeight can be copied
// and expanded; data up to 4 x MaxPictureWidth x MaxPictureHeight bytes.
struct SlotLimits {
  int maxWidth = 1024;
  int maxHeight = 1024;
  std::uint64_t dataLimit() const;
  bool pictureFits(std::int64_t width, std::int64_t height) const;
};
SlotLimits slotLimits(const Options& options);

int slotBytesPerPixel(const persist::GallerySlot& slot);  // 1, 3 or 4 by the true-colour code
int trueColourCodeOf(int bytesPerPixel);                  // 3 -> 1, 4 -> 2, else 0
// width x height x bytes per pixel in 64 bits (for data: its byte size); negative sizes give a
// negative result.
std::int64_t slotContentBytes(const persist::GallerySlot& slot);

std::string slotFileName(int slot);  // "~~VemlaG003.dat"
std::string slotFilePath(const std::string& folder, int slot);
std::string slotBackupPath(const std::string& folder, int slot);  // "~~VemlaG003.bak"

// A title as the 132-byte field keeps it: at most 128 CP932 bytes, cut at a character boundary.
// A text CP932 cannot hold becomes untitled.
std::string fitSlotTitle(std::string_view utf8);
// The file name without its folder; without its extension too when `picture`.
std::string titleFromFileName(std::string_view path, bool picture);
// "<Import1>" gives "Import1"; a path gives its file name without folder and extension.
std::string titleFromPictureName(std::string_view name);
// The title as shown: "名無しさん" when empty.
std::string shownTitle(const std::string& title);

// A line of the gallery lists ("#%-2d (画像) %s (%s%dx%d)" and the others); `slot` is 0-based.
std::string slotListLine(int slot, const persist::GallerySlot& record);

// The live gallery: null in a second copy, before start-up and when no memory was left for it.
persist::HeldGallery* liveGallery(Workbench& bench);
const persist::HeldGallery* liveGallery(const Workbench& bench);
int galleryCount(const Workbench& bench);  // 0 when there is no gallery

// Writes VemlaGinf.dat with the live records and thumbnails, the stored gallery count and
// "hide at start" taken from the options (as at shutdown). Nothing in a second copy. False after
// "ﾌｧｲﾙの書き込みができません\n<path>".
bool saveGalleryNow(Workbench& bench, UserPort& user);

struct SlotPicture {
  std::span<const std::uint8_t> pixels;  // rows top-down, width x bytes per pixel each
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;             // 1, 3 or 4
  const Palette* palette = nullptr;  // null: grey ramp (true colour: the quantizer's palette)
  std::string title;
};

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
// Picture 1 or 2 (`picture` 0 or 1) with its palette and a title from its name.
int storeWorkbenchPictureInSlot(Workbench& bench, UserPort& user, int slot, int picture);
// Image 1 or 2 (`image` 0 or 1) at the pictures' size with its colour table as palette.
int storeImageInSlot(Workbench& bench, UserPort& user, int slot, int image,
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
int renameSlot(Workbench& bench, UserPort& user, int slot, const std::string& title);

// Copies a picture slot into Picture 1 or 2 (message 5004): refused while editing, for sizes
// outside 8 .. the maximum (warnings); Over and data slots do nothing (kSlotAbandoned). A
// true-colour slot is converted as a true-colour file is opened. A failed read tells
// "ｷﾞｬﾗﾘｰの読み込みに失敗しました" and keeps the slot. The picture is named "<title>".
int copySlotToPicture(Workbench& bench, UserPort& user, int slot, int picture);

}  // namespace vemla
