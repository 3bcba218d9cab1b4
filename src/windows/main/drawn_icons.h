// Icons drawn from our own SVG resources into pixmaps, so no icon-engine plugin is needed at run
// time: each size is drawn sharp (at the screen's device pixels) when it is first shown.
#pragma once

#include <QIcon>

namespace vemla {

// A toolbar button's face: ":/toolbar/<glyph>.svg".
QIcon toolbarIcon(const char* glyph);
// The application's icon: the main window, its dialogs and the task bar.
QIcon applicationIcon();
// The viewer's and the 3D view's window icon.
QIcon viewerIcon();

}  // namespace vemla
