#include "processing/cursor_model.h"

#include <algorithm>

namespace vemla {
namespace {

bool horizontal(CursorDirection direction) {
  return direction == CursorDirection::Left || direction == CursorDirection::Right;
}
bool backwards(CursorDirection direction) {
  return direction == CursorDirection::Left || direction == CursorDirection::Up;
}

// One axis of a fine step.
void fineAxis(int& pixel, int& fine, bool back, int size, int m) {
  if (back) {
    if (fine > 0) {
      --fine;
    } else if (pixel > 0) {
      --pixel;
      fine = m - 1;
    } else {
      fine = 0;
    }
    return;
  }
  if (fine < m - 1) {
    ++fine;
  } else if (pixel < size - 1) {
    ++pixel;
    fine = 0;
  } else {
    fine = m - 1;
  }
}

}  // namespace

Cursor placedCursor(int x, int y, int width, int height, int magnification) {
  const int middle = std::max(magnification, 1) / 2;
  return {std::clamp(x, 0, std::max(width - 1, 0)), std::clamp(y, 0, std::max(height - 1, 0)),
          middle, middle};
}

Cursor coarseStep(const Cursor& cursor, CursorDirection direction, int width, int height,
                  int magnification, bool centreFine) {
  Cursor moved = cursor;
  const int step = backwards(direction) ? -1 : 1;
  int& pixel = horizontal(direction) ? moved.x : moved.y;
  const int size = horizontal(direction) ? width : height;
  if (pixel + step >= 0 && pixel + step < size) pixel += step;
  if (centreFine) moved.fineX = moved.fineY = std::max(magnification, 1) / 2;
  return moved;
}

Cursor fineStep(const Cursor& cursor, CursorDirection direction, int width, int height,
                int magnification) {
  const int m = std::max(magnification, 1);
  Cursor moved = cursor;
  moved.fineX = std::clamp(moved.fineX, 0, m - 1);
  moved.fineY = std::clamp(moved.fineY, 0, m - 1);
  if (horizontal(direction)) {
    fineAxis(moved.x, moved.fineX, backwards(direction), width, m);
  } else {
    fineAxis(moved.y, moved.fineY, backwards(direction), height, m);
  }
  return moved;
}

}  // namespace vemla
