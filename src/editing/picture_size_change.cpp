#include "editing/picture_size_change.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "editing/small_dialogs.h"
#include "picture/messages.h"
#include "processing/reduced_display.h"
#include "processing/refresh_chain.h"

namespace vemla {
namespace {

std::size_t area(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

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
  std::memset(bench.store.plane(kUserResult), 0, bench.store.planeBytes());
  state.userResultWidth = width;
  state.userResultHeight = height;
}

}  // namespace

Rect scaledPlacement(int width, int height, int newWidth, int newHeight) {
  const int side = std::min(newWidth, newHeight);
  int placedWidth = side;
  int placedHeight = side;
  // 64-bit products: sides are at most a few thousand, but the rule must not depend on it.
  if (width >= height) {
    placedHeight = static_cast<int>(static_cast<std::int64_t>(height) * side / width);
  } else {
    placedWidth = static_cast<int>(static_cast<std::int64_t>(width) * side / height);
  }
  placedWidth = std::max(placedWidth, 1);
  placedHeight = std::max(placedHeight, 1);
  const int left = (newWidth - side) / 2 + (side - placedWidth) / 2;
  const int top = (newHeight - side) / 2 + (side - placedHeight) / 2;
  return {left, top, left + placedWidth - 1, top + placedHeight - 1};
}

void resizePicture(const std::uint8_t* source, int width, int height, std::uint8_t* target,
                   int newWidth, int newHeight, ResizeMode mode) {
  std::memset(target, 0, area(newWidth, newHeight));
  if (mode == ResizeMode::CropOrPad) {
    const std::size_t columns = static_cast<std::size_t>(std::min(width, newWidth));
    const int rows = std::min(height, newHeight);
    for (int y = 0; y < rows; ++y) {
      std::memcpy(target + area(newWidth, y), source + area(width, y), columns);
    }
    return;
  }
  const Rect placed = scaledPlacement(width, height, newWidth, newHeight);
  const int placedWidth = placed.right - placed.left + 1;
  const int placedHeight = placed.bottom - placed.top + 1;
  std::vector<int> sourceColumn(static_cast<std::size_t>(placedWidth));
  for (int j = 0; j < placedWidth; ++j) {
    sourceColumn[static_cast<std::size_t>(j)] =
        static_cast<int>(static_cast<std::int64_t>(j) * width / placedWidth);
  }
  for (int i = 0; i < placedHeight; ++i) {
    const int sourceRow = static_cast<int>(static_cast<std::int64_t>(i) * height / placedHeight);
    const std::uint8_t* from = source + area(width, sourceRow);
    std::uint8_t* to = target + area(newWidth, placed.top + i) + placed.left;
    for (int j = 0; j < placedWidth; ++j) to[j] = from[sourceColumn[static_cast<std::size_t>(j)]];
  }
}

int resizePictures(Workbench& bench, int newWidth, int newHeight, ResizeMode mode, UserPort& user,
                   BusyPort& busy, ProgressPort& progress) {
  PictureState& state = bench.pictures;
  if (!state.picturesPresent) return -1;
  if (state.editing) {
    user.tell(Icon::Warning, msg::kEditingCommand);
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
      std::memcpy(store.plane(picture), store.plane(work), area(newWidth, newHeight));
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
