// VemlaDpos.dat, the cursor position handed between running copies: whatever decodes must
// encode back to the same eight bytes.
#include <algorithm>
#include <cstdint>
#include <span>

#include "processing/cursor_handover.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto position = vemla::decodeCursorHandOver(std::span(data, size));
  if (!position) return 0;
  const auto bytes = vemla::encodeCursorHandOver(*position);
  if (size != bytes.size() || !std::equal(bytes.begin(), bytes.end(), data)) __builtin_trap();
  return 0;
}
