#pragma once
// What the four panes ask of the main window. The main window carries every request out as a
// queued call, so a pane never runs a dialog or an open from inside its own event handler
// (a drop or a menu). Tests give the panes a recording host.
#include <QPoint>
#include <QString>
#include <QStringList>

#include "picture/picture_slot.h"
#include "processing/image_scope.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/pane_numbers.h"

class QWidget;

namespace vemla {

class PaneHost {
 public:
  virtual ~PaneHost() = default;
  // Open the pending names: `names` holds up to two names (Picture 1, Picture 2; an empty one
  // means none). `mode` 0 opens both (a missing one becomes all zero), 1 opens Picture 1 only
  // keeping Picture 2, 2 opens Picture 2 only keeping Picture 1. `recordHistory` false keeps
  // the combination out of the file history.
  virtual void requestOpen(const QStringList& names, OpenMode mode, bool recordHistory) = 0;
  // Open an archive file (a name ending in ".vla") by its path.
  virtual void requestOpenArchive(const QString& path) = 0;
  // Open entry `entry` (0..15) of the recent single pictures as `picture`.
  virtual void requestOpenRecent(PictureSlot picture, int entry) = 0;
  // Show `text` as the quick-help window anchored at `anchor` ("機能説明").
  virtual void showHelp(QWidget* anchor, const QString& text) = 0;
  // Grab scrolling of the base window: whether it is available now, and a move by `delta`
  // (clamped by the host to its scroll range).
  virtual bool grabScrollEnabled() const = 0;
  virtual void grabScroll(QPoint delta) = 0;
  // "Ｖｉｅｗ": the viewer on pane `pane`'s buffer.
  virtual void viewPane(Pane pane) { static_cast<void>(pane); }
  // The image scope for `source` at picture pixel (x, y), the mouse (or the cursor moved by
  // keys) being at `globalPos`. Panes ask only while the scope is switched on.
  virtual void showScope(ScopeSource source, QPoint globalPos, int x, int y) {
    static_cast<void>(source), static_cast<void>(globalPos), static_cast<void>(x),
        static_cast<void>(y);
  }
};

}  // namespace vemla
