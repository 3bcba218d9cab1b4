#pragma once
// printf-style formatting into std::string for the system's message texts, which are given
// as printf patterns ("%s\n%s", "(最小 %dｘ%d)").
#include <cstdio>
#include <string>
#include <utility>

namespace vemla::text {

template <typename... Args>
std::string format(const char* pattern, Args&&... args) {
  const int length = std::snprintf(nullptr, 0, pattern, args...);
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), '\0');
  std::snprintf(out.data(), out.size() + 1, pattern, args...);
  return out;
}

}  // namespace vemla::text
