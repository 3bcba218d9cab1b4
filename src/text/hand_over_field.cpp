#include "text/hand_over_field.h"

#include <algorithm>

#include "text/cp932.h"

namespace vemla::text {

std::optional<std::string> handOverField(std::string_view path) {
  if (path.empty() || path.front() != '/' || path.find('\0') != std::string_view::npos)
    return std::nullopt;
  std::optional<std::string> name = utf8ToCp932(path);
  if (!name || name->size() >= kHandOverFieldBytes) return std::nullopt;
  name->resize(kHandOverFieldBytes, '\0');
  return name;
}

std::optional<std::string> handOverFieldPath(std::span<const std::uint8_t> field) {
  if (field.size() != kHandOverFieldBytes) return std::nullopt;
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  // Empty, no terminating zero within the field, or something after the zero.
  if (end == field.begin() || end == field.end() ||
      std::any_of(end, field.end(), [](std::uint8_t byte) { return byte != 0; }))
    return std::nullopt;
  const std::string_view name(reinterpret_cast<const char*>(field.data()),
                              static_cast<std::size_t>(end - field.begin()));
  if (name.front() != '/') return std::nullopt;
  return cp932ToUtf8(name);
}

}  // namespace vemla::text
