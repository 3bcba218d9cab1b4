#include "workbench/editing/picture_size_change.h"

#include <algorithm>
#include <cstring>

#include "editing/small_dialogs.h"
#include "picture/messages.h"
#include "processing/reduced_display.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// What an open of a new size resets (see openPictureFiles); W and H are already the new size.
void resetSizeDependentState(Workbench& bench) {
  const int width = bench.pictures.width;
  const int height = bench.pictures.height;
  const Rect whole{0, 0, width - 1, height - 1};
  ValidRangeSetting& validRange = bench.control.validRange;
  validRange.rectangle = whole;
  validRange.setWidth = width;
  validRange.setHeight = height;
  bench.control.validRectangles = {whole, whole};
  bench.control.cursorSearch = {};

  ViewState& view = bench.view;
  view.extraction = whole;
  view.centreX = std::clamp(view.centreX, 0, width - 1);
  view.centreY = std::clamp(view.centreY, 0, height - 1);

  PictureState& state = bench.pictures;
  bench.store.clear(kUserResult);
  state.userResultWidth = width;
  state.userResultHeight = height;
}

}  // namespace

int resizePictures(Workbench& bench, int newWidth, int newHeight, ResizeMode mode, UserPort& user,
                   BusyPort& busy, ProgressPort& progress) {
  PictureState& state = bench.pictures;
  if (!state.picturesPresent) return -1;
  if (state.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditingCommand));
    return -1;
  }
  PictureStore& store = bench.store;
  if (auto problem = checkPictureSize(newWidth, newHeight, store.maxWidth(), store.maxHeight())) {
    user.tell(Icon::Warning, *problem);
    return -1;
  }
  const int width = state.width;
  const int height = state.height;
  {
    BusyScope wait(busy);
    // The read buffers serve as work memory: each picture is converted into its own read
    // buffer and copied back.
    for (const auto& [picture, work] :
         {std::pair{kPicture1, kRead1}, std::pair{kPicture2, kRead2}}) {
      resizePicture(store.plane(picture), width, height, store.plane(work), newWidth, newHeight,
                    mode);
      std::memcpy(store.plane(picture), store.plane(work),
                  static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight));
    }
  }
  const bool sizeChanged = width != newWidth || height != newHeight;
  state.width = newWidth;
  state.height = newHeight;
  bench.view.reductionRatio = reductionRatio(newWidth, newHeight);
  if (fitsPane(newWidth, newHeight)) bench.view.reducedDisplay = false;
  if (sizeChanged) resetSizeDependentState(bench);
  bench.control.alignmentResult = {};
  refreshPictures(bench, user, busy, progress);
  return 0;
}

}  // namespace vemla
