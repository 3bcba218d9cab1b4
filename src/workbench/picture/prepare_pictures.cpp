#include "workbench/picture/prepare_pictures.h"

#include <algorithm>
#include <cstring>

#include "processing/alignment.h"
#include "processing/shift.h"
#include "processing/valid_range.h"

namespace vemla {
namespace {

// The integer scratch lives in the four-plane scratch area (4 bytes per pixel).
std::int32_t* integerScratch(PictureStore& store) {
  return reinterpret_cast<std::int32_t*>(store.plane(kScratch4));
}

// Copies the region of a picture row by row into a packed buffer.
void copyRegion(const std::uint8_t* picture, int width, const Rect& region, std::uint8_t* packed) {
  const int regionWidth = region.right - region.left + 1;
  for (int y = region.top; y <= region.bottom; ++y) {
    std::memcpy(
        packed + static_cast<std::size_t>(y - region.top) * static_cast<std::size_t>(regionWidth),
        picture + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + region.left,
        static_cast<std::size_t>(regionWidth));
  }
}

// The picture control keeps the picture it shifts as a stored code: 0 Picture 1, 1 Picture 2.
PictureSlot shiftedPictureOf(int target) {
  return target == 0 ? PictureSlot::First : PictureSlot::Second;
}

// Runs the search unless the stored result still holds; false after a failure (told).
bool runAlignment(Workbench& bench, UserPort& user, BusyPort& busy, const Rect& validRectangle,
                  int division) {
  PictureControlState& control = bench.control;
  const AlignmentSettings& settings = control.alignment;
  const AlignmentKeys keys{validRectangle,  settings.criterion, settings.range,
                           settings.target, division,           settings.precision};
  Rect region = validRectangle;
  const bool cursorSearch = control.cursorSearch.pending;
  if (cursorSearch) {
    // 64-bit: the cursor and its range may lie anywhere.
    const long long cx = control.cursorSearch.x, cy = control.cursorSearch.y;
    const long long rc = settings.cursorRange;
    region.left = static_cast<int>(std::max<long long>(cx - rc, validRectangle.left));
    region.right = static_cast<int>(std::min<long long>(cx + rc, validRectangle.right));
    region.top = static_cast<int>(std::max<long long>(cy - rc, validRectangle.top));
    region.bottom = static_cast<int>(std::min<long long>(cy + rc, validRectangle.bottom));
    control.cursorSearch.pending = false;
  } else if (control.alignmentResult.valid && control.alignmentKeys == keys) {
    return true;
  }

  // An empty region (cursor outside the valid rectangle) is reported as size 0.
  const int width = std::max(region.right - region.left + 1, 0);
  const int height = std::max(region.bottom - region.top + 1, 0);
  PictureStore& store = bench.store;
  std::uint8_t* reference = store.plane(kScratch2);
  std::uint8_t* target = store.plane(kScratch2 + 1);
  AlignmentOutcome outcome;
  {
    BusyScope wait(busy);
    if (width > 0 && height > 0) {
      const int pictureWidth = bench.pictures.width;
      const PictureSlot shifted = shiftedPictureOf(settings.target);
      copyRegion(store.plane(unshiftedPlane(other(shifted))), pictureWidth, region, reference);
      copyRegion(store.plane(unshiftedPlane(shifted)), pictureWidth, region, target);
    }
    outcome = alignPictures(settings.criterion, settings.precision, reference, target, width,
                            height, settings.range, settings.range, bench.workers.parallelFor());
  }
  if (!outcome.found) {
    control.alignment.enabled = false;
    control.alignmentResult = {};
    user.tell(Icon::Warning, outcome.message);
    return false;
  }
  const int scale = division / settings.precision;
  const AlignmentSteps& steps = outcome.steps;
  control.alignmentResult = {steps.xFlag,          steps.yFlag,          steps.wholeX, steps.wholeY,
                             steps.stepsX * scale, steps.stepsY * scale, true};
  control.alignmentKeys = keys;
  return true;
}

}  // namespace

void preparePictures(Workbench& bench, UserPort& user, BusyPort& busy) {
  if (!bench.pictures.picturesPresent) return;
  const int width = bench.pictures.width;
  const int height = bench.pictures.height;
  const int division = isAllowedDivision(bench.options.ShiftUnit) ? bench.options.ShiftUnit : 16;
  const int interpolation =
      bench.options.ShiftInterpolation == kShiftLinear ? kShiftLinear : kShiftCubic;
  PictureControlState& control = bench.control;
  correctPictureControl(control, division, width, height);

  // An unshifted picture is its own shifted picture: the shifted plane stands for it rather
  // than holding a copy, until a shift writes the shifted plane itself.
  PictureStore& store = bench.store;
  for (PictureSlot picture : kPictureSlots)
    store.alias(shiftedPlane(picture), unshiftedPlane(picture));
  const Rect valid = computeValidRange(control.validRange, width, height);
  control.validRectangles = {valid, valid};

  // The shifted picture is written straight from the unshifted one.
  const auto shiftInto = [&](int target, const ShiftAmount& amount) {
    const PictureSlot shifted = shiftedPictureOf(target);
    store.own(shiftedPlane(shifted));
    shiftPicture(store.plane(unshiftedPlane(shifted)), width, height, division, interpolation,
                 amount, store.plane(shiftedPlane(shifted)), integerScratch(store),
                 bench.workers.parallelFor());
  };
  if (control.alignment.enabled) {
    const bool found = runAlignment(bench, user, busy, valid, division);
    const AlignmentResult& result = control.alignmentResult;
    shiftInto(control.alignment.target, {result.xFlag != 0, result.wholeX, result.stepsX,
                                         result.yFlag != 0, result.wholeY, result.stepsY});
    if (found) {
      const Rect inner = shrunk(valid, control.alignment.range + 2);
      control.validRectangles = {inner, inner};
    }
  } else if (control.manual.enabled) {
    shiftInto(control.manual.target, shiftAmountOf(control.manual.setting));
  }
}

}  // namespace vemla
