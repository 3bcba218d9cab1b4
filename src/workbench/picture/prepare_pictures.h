#pragma once
// preparePictures: rebuilds both shifted pictures (planes 2, 3) and the valid rectangles from
// the unshifted pictures and the picture control state, running the automatic alignment when
// it is on. Called after every change of the picture control that alters the result, after a
// picture is loaded or edited, when `ShiftInterpolation` or `ShiftUnit` changes and by state
// restore; the caller then rebuilds the thumbnails and recreates both images.
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// Does nothing while no pictures are loaded. A failed alignment search tells its message
// (warning), switches the alignment off and clears its result; the target picture is then
// shifted by zero and the valid rectangles keep their size.
void preparePictures(Workbench& bench, UserPort& user, BusyPort& busy);

// A BusyPort that shows nothing (vemla-cli, tests that do not count).
class NoBusyPort final : public BusyPort {
 public:
  void begin() override {}
  void end() override {}
};

}  // namespace vemla
