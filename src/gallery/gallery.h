#pragma once
// The gallery: 8 to 32 numbered slots that outlive the program. The slot records and the
// thumbnails are the held gallery of the settings (VemlaGinf.dat); the content of slot n is the
// file "~~VemlaG%03d.dat" in the program folder (pixel rows top-down, or the data's bytes).
//
// Every change empties the slots it replaces in VemlaGinf.dat, writes the slot files through a
// temporary file and a rename, and then VemlaGinf.dat (also atomically), so the records never
// name content that is not on disk. A failed write keeps the slot's previous record and file.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gallery/gallery_state.h"
#include "gallery/slot_kind.h"
#include "options/options.h"
#include "persist/gallery_info.h"
#include "persist/small_tables.h"
#include "picture/palette.h"
#include "picture/picture_state.h"

namespace vemla {

inline constexpr int kMaxGallerySlots = persist::kGallerySlots;
inline constexpr std::size_t kSlotTitleBytes = 128;  // CP932 bytes of a title
inline constexpr int kSlotTitleCharacters = 126;     // the most a renamed title keeps

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

// A title as the 132-byte field keeps it: at most 128 CP932 bytes, cut at a character boundary,
// each character CP932 cannot hold written as "?" (`replaced` tells whether one was).
std::string fitSlotTitle(std::string_view utf8, bool* replaced = nullptr);
// The file name without its folder; without its extension too when `picture`.
std::string titleFromFileName(std::string_view path, bool picture);
// "<Import1>" gives "Import1"; a path gives its file name without folder and extension.
std::string titleFromPictureName(std::string_view name);
// The title as shown: "名無しさん" in the language in use when empty.
std::string shownTitle(const std::string& title);
// The title with "名無しさん" as it stands when empty: for names that may be stored as a title.
std::string titleOrUntitled(const std::string& title);

// A line of the gallery lists ("#%-2d (画像) %s (%s%dx%d)" and the others); `slot` is 0-based.
// In the language in use when `translated` (the windows), else in the system's own words
// (vemla-cli's fixed output).
std::string slotListLine(int slot, const persist::GallerySlot& record, bool translated = false);
// The extension of a data title: what follows its last "."; empty unless it is 1 .. 8 ASCII
// letters or digits (so it can never carry a path into a file name).
std::string titleExtension(std::string_view title);
// The own association entry for `extension`, compared without regard to case; null if none.
const persist::ExtensionAssociation* findAssociation(const persist::AssociationTable& table,
                                                     std::string_view extension);

// The same line as the panes' gallery menus show it, with "＃" for "#" (in Japanese).
std::string slotMenuLine(int slot, const persist::GallerySlot& record);

struct SlotPicture {
  std::span<const std::uint8_t> pixels;  // rows top-down, width x bytes per pixel each
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;             // 1, 3 or 4
  const Palette* palette = nullptr;  // null: grey ramp (true colour: the quantizer's palette)
  std::string title;
};

}  // namespace vemla
