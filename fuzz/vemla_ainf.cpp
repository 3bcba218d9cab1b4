// VemlaAinf.dat, the gallery's extension associations (no magic, exactly 4416 bytes).
#include <cstdint>
#include <span>

#include "persist/small_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  AssociationTable table;
  if (decodeAssociations(std::span(data, size), table) != LoadStatus::Loaded) return 0;
  AssociationTable again;
  if (decodeAssociations(encodeAssociations(table), again) != LoadStatus::Loaded ||
      again != table) {
    __builtin_trap();
  }
  return 0;
}
