#include "processing/valid_range.h"

#include <algorithm>
#include <utility>

namespace vemla {

Rect computeValidRange(const ValidRangeSetting& setting, int width, int height) {
  switch (setting.kind) {
    case kValidRectangle: {
      Rect rect = setting.rectangle;
      rect.left = std::clamp(rect.left, 0, width - 1);
      rect.right = std::clamp(rect.right, 0, width - 1);
      rect.top = std::clamp(rect.top, 0, height - 1);
      rect.bottom = std::clamp(rect.bottom, 0, height - 1);
      if (rect.right < rect.left) std::swap(rect.left, rect.right);
      if (rect.bottom < rect.top) std::swap(rect.top, rect.bottom);
      return rect;
    }
    case kValidMargin: {
      // 64-bit so that a huge margin from a settings file cannot overflow.
      const long long margin = std::max(setting.margin, 0);
      Rect rect;
      if (width - 1 - margin < margin) {
        rect.left = rect.right = width / 2;
      } else {
        rect.left = static_cast<int>(margin);
        rect.right = static_cast<int>(width - 1 - margin);
      }
      if (height - 1 - margin < margin) {
        rect.top = rect.bottom = height / 2;
      } else {
        rect.top = static_cast<int>(margin);
        rect.bottom = static_cast<int>(height - 1 - margin);
      }
      return rect;
    }
    default:
      return {0, 0, width - 1, height - 1};
  }
}

bool selectValidRangeKind(ValidRangeSetting& setting, int kind) {
  if (kind < kValidWhole || kind > kValidMargin || setting.kind == kind) return false;
  setting.kind = kind;
  return true;
}

void setValidRectangle(ValidRangeSetting& setting, int x0, int y0, int x1, int y1, int width,
                       int height) {
  x0 = std::clamp(x0, 0, width - 1);
  x1 = std::clamp(x1, 0, width - 1);
  y0 = std::clamp(y0, 0, height - 1);
  y1 = std::clamp(y1, 0, height - 1);
  setting.rectangle = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
  setting.setWidth = width;
  setting.setHeight = height;
}

void fitValidRectangle(ValidRangeSetting& setting, int width, int height) {
  if (setting.setWidth == width && setting.setHeight == height) return;
  setting.rectangle = {0, 0, width - 1, height - 1};
  setting.setWidth = width;
  setting.setHeight = height;
}

void setValidMargin(ValidRangeSetting& setting, int margin) {
  setting.margin = std::max(margin, 0);
}

Rect shrunk(const Rect& rect, int amount) {
  return {rect.left + amount, rect.top + amount, rect.right - amount, rect.bottom - amount};
}

}  // namespace vemla
