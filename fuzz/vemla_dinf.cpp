// VemlaDinf.dat, the state-memory slot table (no magic, 2064 bytes).
#include <cstdint>
#include <span>

#include "persist/small_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  const StateSlotTable slotTable = decodeStateSlots(std::span(data, size));
  for (const StateSlot& slot : slotTable) {
    if (slot.used != 0 && slot.used != 1) __builtin_trap();
  }
  if (decodeStateSlots(encodeStateSlots(slotTable)) != slotTable) __builtin_trap();
  return 0;
}
