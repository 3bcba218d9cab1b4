// Feeds arbitrary bytes to the viewer's reader of hand-over name fields; a name it takes must
// make the same field again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "text/hand_over_field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<std::string> path =
      vemla::text::handOverFieldPath(std::span<const std::uint8_t>(data, size));
  if (path) {
    const std::optional<std::string> field = vemla::text::handOverField(*path);
    if (!field || field->size() != size ||
        !std::equal(field->begin(), field->end(), reinterpret_cast<const char*>(data)))
      std::abort();
  }
  return 0;
}
