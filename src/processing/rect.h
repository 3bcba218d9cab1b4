#pragma once
// An inclusive rectangle in picture coordinates.

namespace vemla {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
  bool operator==(const Rect&) const = default;
};

}  // namespace vemla
