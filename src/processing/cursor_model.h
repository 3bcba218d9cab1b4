#pragma once
// The cursor of the image panes: a picture position shared by both images and the tools, and
// a fine position inside the magnified pixel (0..m-1 on each axis).
namespace vemla {

enum class CursorDirection { Left, Right, Up, Down };

struct Cursor {
  int x = 0, y = 0;
  int fineX = 0, fineY = 0;
  bool operator==(const Cursor&) const = default;
};

// Setting a position (edits, marks, Max/Min, clicks): clamped into the picture, the fine
// position in the middle of the cell (m / 2).
Cursor placedCursor(int x, int y, int width, int height, int magnification);

// One pixel in `direction`; a step that would leave the picture is not made. `centreFine`
// (the cursor pad) puts the fine position back to m / 2; the arrow keys keep it.
Cursor coarseStep(const Cursor& cursor, CursorDirection direction, int width, int height,
                  int magnification, bool centreFine);

// One view pixel in `direction`: past either end of the cell the fine position wraps and the
// pixel moves on; at the picture edge the pixel stays and the fine position stops at 0 (left,
// top) or m - 1 (right, bottom).
Cursor fineStep(const Cursor& cursor, CursorDirection direction, int width, int height,
                int magnification);

}  // namespace vemla
