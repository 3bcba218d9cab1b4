#pragma once
// The viewer-only start: with ViewerForSingleFile on and one ".bmp" or ".raw" name given, the
// copy takes the view lock, listens for hand-overs and shows the name in the stand-alone viewer
// before the rest of start-up. Escape, closing the viewer or a failed open end the program;
// any other key goes on into the full program. The lock and the listener are kept for the
// process's life; hand-overs are taken only while a viewer window is open.
#include <QSize>
#include <memory>
#include <optional>
#include <string>

#include "options/options.h"
#include "platform/view_lock.h"
#include "platform/viewer_handover.h"
#include "ports/ports.h"

namespace vemla {

class ViewerWindow;

struct StandAloneViewer {
  std::unique_ptr<platform::ViewLock> lock;
  std::unique_ptr<platform::ViewerListener> listener;  // only while the lock is held
  // Shows handed-over files in `viewer` while it is open (null: refuse them).
  void serve(ViewerWindow* viewer);
};

struct StandAloneResult {
  bool proceed = false;        // go on into the full program
  std::optional<RawSize> raw;  // the size given for a raw name
};

// Runs the stand-alone viewer on `name` until it ends; `screen` is the screen it opens on
// (empty: the primary screen). `run` keeps the lock and the listener afterwards.
StandAloneResult runStandAloneViewer(const Options& options, UserPort& user,
                                     const std::string& programFolder, const std::string& name,
                                     StandAloneViewer& run, QSize screen = {});

}  // namespace vemla
