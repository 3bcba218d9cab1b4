#pragma once
// Start-up sizing and repair of the gallery, run once when the main window is created (first
// running copy only) after the settings files were loaded.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "workbench/gallery/gallery_slots.h"

namespace vemla {

// Fills `block` with `bytes` zero bytes; false when the memory cannot be had. Tests inject
// failures.
using ThumbnailAllocator = std::function<bool(std::vector<std::uint8_t>& block, std::size_t bytes)>;
bool allocateThumbnails(std::vector<std::uint8_t>& block, std::size_t bytes);

// Repairs one slot record against the limits and its slot file (`folder`, slot number). Returns
// true when the slot had to be emptied because of a contradiction (the repair message is due).
// In order: a picture outside 1 .. the maximum becomes Over; data beyond the data limit becomes
// Over with height 1; an Over item back within the limits returns to Data (height 1) or Picture;
// a picture without a slot file becomes Empty quietly; then every slot not Empty needs a slot
// file of exactly its content size. Unknown kinds and data of negative size are contradictions.
bool repairSlot(persist::GallerySlot& slot, const SlotLimits& limits, const std::string& folder,
                int slotNumber);

// Clamps the gallery count (below 8 -> 8, above 32 -> 32, not a multiple of 4 -> 16), allocates
// the thumbnails (falling back to 8 slots, then to no gallery, with their messages), repairs
// every slot ("ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました" once when one was emptied),
// keeps min(stored, allocated) thumbnails with the rest zero, and writes VemlaGinf.dat when a
// record changed (unless `writeRepairs` is false: a reader that must leave the folder as it
// is). Returns whether the gallery is available. A second copy has no gallery.
bool startGallery(Workbench& bench, UserPort& user,
                  const ThumbnailAllocator& allocate = allocateThumbnails,
                  bool writeRepairs = true);

}  // namespace vemla
