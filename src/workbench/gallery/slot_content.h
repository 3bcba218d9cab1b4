#pragma once
// Placing content in a slot, shared by the slot operations and the archive expansion: the slot
// file is written first (through a temporary file and a rename), then the record, thumbnail and
// data association are set. Nothing is told and VemlaGinf.dat is not written; the caller does
// both once for its whole operation.
#include <cstdint>
#include <span>
#include <string>

#include "workbench/gallery/gallery_slots.h"

namespace vemla {

// The slot must exist and `picture` must be valid (size, bytes per pixel, enough pixels). False
// when the slot file could not be written: the slot keeps its record and file.
bool placePictureInSlot(Workbench& bench, int slot, const SlotPicture& picture);
bool placeDataInSlot(Workbench& bench, int slot, std::span<const std::uint8_t> bytes,
                     const std::string& title);

}  // namespace vemla
