// Icons drawn from our own SVG resources into pixmaps at fixed sizes, so no icon-engine plugin
// is needed at run time and every size is rendered sharp (twice each size for 200 % screens).
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
