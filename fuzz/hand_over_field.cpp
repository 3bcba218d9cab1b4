// Feeds arbitrary bytes to the viewer's reader of hand-over name fields; a path it takes must
// make a field again that names the same path (not always the same bytes: CP932 has characters
// with two codes).
#include "text/hand_over_field.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<std::string> path =
      vemla::text::handOverFieldPath(std::span<const std::uint8_t>(data, size));
  if (path) {
    const std::optional<std::string> field = vemla::text::handOverField(*path);
    if (!field || field->size() != size) std::abort();
    const std::optional<std::string> again =
        vemla::text::handOverFieldPath(std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(field->data()), field->size()));
    if (again != path) std::abort();
  }
  return 0;
}
