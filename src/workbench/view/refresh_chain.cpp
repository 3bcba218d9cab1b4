#include "workbench/view/refresh_chain.h"

#include <algorithm>
#include <optional>

#include "extensions/user_processing.h"
#include "options/option_table.h"
#include "processing/image_creation.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/picture/prepare_pictures.h"

namespace vemla {
namespace {

using text::N_;

constexpr const char* kCreatingText = N_("ｲﾒｰｼﾞ%d 作成中");
constexpr const char* kCreationFailed = N_("ｲﾒｰｼﾞ%dの作成に失敗しました");

// The magnification the view shows: 1 in the reduced display.
int shownMagnification(const ViewState& view) {
  return view.reducedDisplay ? 1 : std::clamp(view.magnification, 1, kMaxMagnification);
}

CreationPictures creationPictures(Workbench& bench) {
  PictureStore& store = bench.store;
  return {store.plane(kShifted1), store.plane(kShifted2), store.plane(kUserResult),
          bench.pictures.width,   bench.pictures.height,  bench.control.validRectangles};
}

const UserProcessingEntry* userEntryOf(const Workbench& bench, ImageSlot image) {
  const int entry = bench.images.userEntry[index(image)];
  if (entry < 0 || entry >= kUserEntryCount) return nullptr;
  return &bench.userEntries.processing[static_cast<std::size_t>(entry)];
}

// Kind 99: the user simple image processing entry over the two shifted pictures, with the
// wait cursor and the progress window. nullopt when it failed (after the message).
std::optional<ImageStatistics> createUserProcessingImage(Workbench& bench, ImageSlot image,
                                                         const UserProcessingEntry& entry,
                                                         UserPort& user, BusyPort& busy,
                                                         ProgressPort& progress) {
  const CreationPictures pictures = creationPictures(bench);
  std::uint8_t* buffer = bench.store.plane(imagePlane(image));
  std::optional<UserProcessingArea> area;
  {
    BusyScope wait(busy);
    progress.setText(text::format(text::tr(kCreatingText), number(image)));
    bool started = false;
    area = applyUserProcessing(
        entry, pictures.shifted1, pictures.shifted2, pictures.width, pictures.height, buffer,
        [&](int rowsDone, int rowsTotal) {
          if (!started) progress.start(rowsTotal);
          started = true;
          progress.report(rowsDone);
        },
        bench.workers.parallelFor());
    progress.finish();
  }
  if (!area) {
    user.tell(Icon::Warning, text::format(text::tr(kCreationFailed), number(image)));
    return std::nullopt;
  }
  const StatisticsSource source =
      area->statistics == StatisticsPictures::Picture1   ? StatisticsSource::Picture1
      : area->statistics == StatisticsPictures::Picture2 ? StatisticsSource::Picture2
                                                         : StatisticsSource::Both;
  return imageStatistics(
      buffer, pictures.width, pictures.height,
      statisticsRectangle(source, pictures.validRectangles, area->marginX, area->marginY),
      bench.workers.parallelFor());
}

void createComparisonPicture(Workbench& bench, ImageSlot image);

// False when a user processing entry failed.
bool recomputeImage(Workbench& bench, ImageSlot image, UserPort& user, BusyPort& busy,
                    ProgressPort& progress) {
  const std::size_t at = index(image);
  const int kind = bench.images.kind[at];
  const std::uint8_t fill = fillValueOf(kind);
  std::uint8_t* buffer = bench.store.plane(imagePlane(image));
  std::optional<ImageStatistics> statistics;
  bool failed = false;
  if (isBuiltInKind(kind)) {
    const Options& options = bench.options;
    const AreaDifferenceSettings area{options.AreaDiffRangeX, options.AreaDiffRangeY,
                                      options.AreaDiffKind, options.AreaDiffDivisor};
    // The window is limited to 2 MaxPicture - 1: a larger one has no pixel in any picture.
    const int maxSizeX = 2 * bench.store.maxWidth() - 1;
    const int maxSizeY = 2 * bench.store.maxHeight() - 1;
    const CreationPictures pictures = creationPictures(bench);
    std::optional<BusyScope> wait;  // the area difference shows the wait cursor
    if (kind == kKindAreaDifference) wait.emplace(busy);
    statistics = createBuiltInImage(kind, pictures, area, maxSizeX, maxSizeY, buffer,
                                    imageKernels(), bench.workers.parallelFor());
  } else if (kind == kUserProcessingKind) {
    const UserProcessingEntry* entry = userEntryOf(bench, image);
    if (entry != nullptr && entry->inUse != 0) {
      statistics = createUserProcessingImage(bench, image, *entry, user, busy, progress);
      failed = !statistics;
    }
  }
  bench.images.fill[at] = fill;
  bench.images.statistics[at] = statistics.value_or(ImageStatistics{});
  if (statistics && bench.images.blankInvalid) {
    blankOutside(buffer, bench.pictures.width, bench.pictures.height, statistics->rectangle, fill);
  }
  if (bench.view.comparison[at].on()) createComparisonPicture(bench, image);
  return !failed;
}

// The comparison views' Picture 2: image "画像２" beside the pane's own "画像１", made and
// blanked the same way.
void createComparisonPicture(Workbench& bench, ImageSlot image) {
  PaneComparison& comparison = bench.view.comparison[index(image)];
  const int width = bench.pictures.width, height = bench.pictures.height;
  comparison.picture2.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const Options& options = bench.options;
  const AreaDifferenceSettings area{options.AreaDiffRangeX, options.AreaDiffRangeY,
                                    options.AreaDiffKind, options.AreaDiffDivisor};
  comparison.statistics2 =
      createBuiltInImage(kKindPicture2, creationPictures(bench), area,
                         2 * bench.store.maxWidth() - 1, 2 * bench.store.maxHeight() - 1,
                         comparison.picture2.data(), imageKernels(), bench.workers.parallelFor());
  if (bench.images.blankInvalid) {
    blankOutside(comparison.picture2.data(), width, height, comparison.statistics2.rectangle,
                 fillValueOf(kKindPicture2));
  }
}

void paintRaster(Workbench& bench, ImageSlot image, int kind, PaneRaster& pane) {
  const ViewState& view = bench.view;
  if (pane.view.empty()) return;
  const bool reduced =
      showsReduced(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
  const int period =
      gridPeriod(view.gridWidth, shownMagnification(view), reduced, view.reductionRatio);
  pane.shown.resize(pane.view.size());
  paintPane(pane.view.data(), paneColoursFor(bench, image, kind), gridSettingsOf(bench, image),
            period, pane.shown.data(), pane.colours);
}

// The pane's own raster, and with a comparison view on also Picture 2's.
void paintImage(Workbench& bench, ImageSlot image) {
  const std::size_t at = index(image);
  paintRaster(bench, image, bench.images.kind[at], bench.view.panes[at]);
  PaneComparison& comparison = bench.view.comparison[at];
  if (comparison.on()) paintRaster(bench, image, kKindPicture2, comparison.raster2);
}

// The picture panes' thumbnails of the shifted pictures; the empty raster without pictures.
void buildThumbnails(Workbench& bench) {
  const PictureState& pictures = bench.pictures;
  for (PictureSlot picture : kPictureSlots) {
    PictureThumbnail& thumbnail = bench.view.thumbnails[index(picture)];
    if (pictures.picturesPresent) {
      buildPictureThumbnail(bench.store.plane(shiftedPlane(picture)), pictures.width,
                            pictures.height, thumbnail);
    } else {
      buildPictureThumbnail(nullptr, 0, 0, thumbnail);
    }
  }
}

void clampCursor(Workbench& bench) {
  ViewState& view = bench.view;
  const int m = shownMagnification(view);
  view.centreX = std::clamp(view.centreX, 0, std::max(bench.pictures.width - 1, 0));
  view.centreY = std::clamp(view.centreY, 0, std::max(bench.pictures.height - 1, 0));
  view.fineX = std::clamp(view.fineX, 0, m - 1);
  view.fineY = std::clamp(view.fineY, 0, m - 1);
}

}  // namespace

void refreshPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  if (bench.pictures.picturesPresent) {
    preparePictures(bench, user, busy);
    clampCursor(bench);
    for (ImageSlot image : kImageSlots)
      createImage(bench, image, true, false, user, busy, progress);
  }
  buildThumbnails(bench);
  bench.notifyPicturesChanged();
}

void refreshPictures(Workbench& bench, UserPort& user) {
  NoBusyPort busy;
  NoProgressPort progress;
  refreshPictures(bench, user, busy, progress);
}

bool createImage(Workbench& bench, ImageSlot image, bool recompute, bool keepView, UserPort& user,
                 BusyPort& busy, ProgressPort& progress) {
  if (!bench.pictures.picturesPresent) return true;
  const bool created = !recompute || recomputeImage(bench, image, user, busy, progress);
  renderImage(bench, image, keepView);
  return created;
}

void setImageKind(Workbench& bench, ImageSlot image, int kind, int userEntry, UserPort& user,
                  BusyPort& busy, ProgressPort& progress) {
  const std::size_t at = index(image);
  endComparison(bench.view.comparison[at]);  // another kind ends a comparison view
  bench.images.kind[at] = kind;
  if (kind == kUserProcessingKind) bench.images.userEntry[at] = userEntry;
  createImage(bench, image, true, true, user, busy, progress);
  bench.notifyPanesChanged();
}

void setBlankInvalid(Workbench& bench, bool on, UserPort& user, BusyPort& busy,
                     ProgressPort& progress) {
  bench.images.blankInvalid = on;
  for (ImageSlot image : kImageSlots) createImage(bench, image, true, true, user, busy, progress);
  bench.notifyPanesChanged();
}

void refreshAfterOptions(Workbench& bench, unsigned effects, UserPort& user, BusyPort& busy,
                         ProgressPort& progress) {
  if ((effects & (kEffectRescaleShifts | kEffectPreparePictures)) != 0) {
    refreshPictures(bench, user, busy, progress);
  } else if ((effects & kEffectRecreateImages) != 0) {
    renderPanes(bench, true);
  } else if ((effects & kEffectRecreatePens) != 0) {
    paintPanes(bench);
  }
}

bool areaDifferenceShown(const Workbench& bench) {
  return std::ranges::any_of(kImageSlots, [&](ImageSlot image) {
    return bench.images.kind[index(image)] == kKindAreaDifference;
  });
}

bool magnifiedWithInterpolation(const Workbench& bench) {
  return bench.view.zoomInterpolation && !bench.view.reducedDisplay && bench.view.magnification > 1;
}

void renderImage(Workbench& bench, ImageSlot image, bool keepView) {
  if (!bench.pictures.picturesPresent) return;
  ViewState& view = bench.view;
  const int width = bench.pictures.width, height = bench.pictures.height;
  const ViewSettings settings = viewSettingsOf(bench);
  view.placement = keepView ? keptPlacement(view.placement, settings.magnification)
                            : centredPlacement(width, height, view.centreX, view.centreY,
                                               settings.magnification);
  PaneRaster& pane = view.panes[index(image)];
  pane.view.resize(static_cast<std::size_t>(kViewSize) * kViewSize);
  renderView(bench.store.plane(imagePlane(image)), width, height, bench.images.fill[index(image)],
             settings, view.placement, pane.view.data(), view.renderWork);
  PaneComparison& comparison = view.comparison[index(image)];
  if (comparison.on() && comparison.picture2.size() ==
                             static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    comparison.raster2.view.resize(pane.view.size());
    renderView(comparison.picture2.data(), width, height, fillValueOf(kKindPicture2), settings,
               view.placement, comparison.raster2.view.data(), view.renderWork);
  }
  paintImage(bench, image);
}

void renderPanes(Workbench& bench, bool keepView) {
  renderImage(bench, ImageSlot::First, keepView);
  renderImage(bench, ImageSlot::Second, true);  // the window image 1 has just taken
  bench.notifyPanesChanged();
}

void paintPanes(Workbench& bench) {
  for (ImageSlot image : kImageSlots) paintImage(bench, image);
  bench.notifyPanesChanged();
}

void setCursorPosition(Workbench& bench, int x, int y) {
  ViewState& view = bench.view;
  const Cursor cursor =
      placedCursor(x, y, bench.pictures.width, bench.pictures.height, shownMagnification(view));
  view.centreX = cursor.x;
  view.centreY = cursor.y;
  view.fineX = cursor.fineX;
  view.fineY = cursor.fineY;
  renderPanes(bench, false);
}

void moveCursor(Workbench& bench, CursorDirection direction, bool fromPad) {
  ViewState& view = bench.view;
  const int m = shownMagnification(view);
  const Cursor cursor{view.centreX, view.centreY, view.fineX, view.fineY};
  const int width = bench.pictures.width, height = bench.pictures.height;
  const Cursor moved = view.fineMovement ? fineStep(cursor, direction, width, height, m)
                                         : coarseStep(cursor, direction, width, height, m, fromPad);
  view.centreX = moved.x;
  view.centreY = moved.y;
  view.fineX = moved.fineX;
  view.fineY = moved.fineY;
  renderPanes(bench, false);
}

void setMagnification(Workbench& bench, int magnification) {
  ViewState& view = bench.view;
  view.magnification = std::clamp(magnification, 1, kMaxMagnification);
  view.reducedDisplay = false;
  view.fineX = view.fineY = view.magnification / 2;
  renderPanes(bench, false);
}

bool setReducedDisplay(Workbench& bench) {
  if (fitsPane(bench.pictures.width, bench.pictures.height)) return false;
  ViewState& view = bench.view;
  view.magnification = 1;
  view.reducedDisplay = true;
  view.fineX = view.fineY = 0;
  renderPanes(bench, false);
  return true;
}

void setGrid(Workbench& bench, bool on) {
  ViewState& view = bench.view;
  view.grid = on;
  view.gridOffsetX = view.gridOffsetY = 0;
  paintPanes(bench);
}

void moveGrid(Workbench& bench, CursorDirection direction) {
  ViewState& view = bench.view;
  const int span = std::max(view.gridWidth, 1) * shownMagnification(view);
  const auto wrap = [span](int value) { return ((value % span) + span) % span; };
  switch (direction) {
    case CursorDirection::Up:
      view.gridOffsetY = wrap(view.gridOffsetY + 1);
      break;
    case CursorDirection::Down:
      view.gridOffsetY = wrap(view.gridOffsetY - 1);
      break;
    case CursorDirection::Left:
      view.gridOffsetX = wrap(view.gridOffsetX + 1);
      break;
    case CursorDirection::Right:
      view.gridOffsetX = wrap(view.gridOffsetX - 1);
      break;
  }
  paintPanes(bench);
}

ViewSettings viewSettingsOf(const Workbench& bench) {
  const ViewState& view = bench.view;
  return {shownMagnification(view), view.reducedDisplay, view.zoomInterpolation,
          bench.options.ZoomInterpolation == kZoomLinear ? kZoomLinear : kZoomCubic};
}

int storedKindOf(const Workbench& bench, ImageSlot image) {
  const PaneComparison& comparison = bench.view.comparison[index(image)];
  return comparison.on() ? comparison.givenBackKind : bench.images.kind[index(image)];
}

const std::uint8_t* shownImageOf(const Workbench& bench, ImageSlot image) {
  const PaneComparison& comparison = bench.view.comparison[index(image)];
  if (shownKindOf(bench, image) == kKindPicture2 && comparison.on() &&
      !comparison.picture2.empty()) {
    return comparison.picture2.data();
  }
  return bench.store.plane(imagePlane(image));
}

const ImageStatistics& shownStatisticsOf(const Workbench& bench, ImageSlot image) {
  const PaneComparison& comparison = bench.view.comparison[index(image)];
  if (shownKindOf(bench, image) == kKindPicture2 && comparison.on()) return comparison.statistics2;
  return bench.images.statistics[index(image)];
}

int shownKindOf(const Workbench& bench, ImageSlot image) {
  const PaneComparison& comparison = bench.view.comparison[index(image)];
  if (comparison.mode == ComparisonMode::Blink && comparison.second) return kKindPicture2;
  return bench.images.kind[index(image)];
}

int colourKindOf(const Workbench& bench, ImageSlot image) {
  return colourKindFor(bench, image, shownKindOf(bench, image));
}

int colourKindFor(const Workbench& bench, ImageSlot image, int kind) {
  if (!bench.view.colourDisplay) return kColourGrey;
  const std::size_t at = index(image);
  const ImageControlSelections& selections = bench.images.selections;
  int colourKind = kColourGrey;
  if (kind >= 0 && kind < static_cast<int>(selections.kindColours[at].size())) {
    colourKind = selections.kindColours[at][static_cast<std::size_t>(kind)];
  } else if (kind == kUserProcessingKind) {
    const int entry = bench.images.userEntry[at];
    if (entry >= 0 && entry < kUserEntryCount) {
      colourKind = selections.userProcessingColours[at][static_cast<std::size_t>(entry)];
    }
  }
  if (!isColourKind(colourKind)) return kColourGrey;
  if (isUserColourKind(colourKind) &&
      bench.userEntries.colours[static_cast<std::size_t>(colourKind - kFirstUserColour)].inUse ==
          0) {
    return kColourGrey;
  }
  return colourKind;
}

PaneColours paneColoursOf(const Workbench& bench, ImageSlot image) {
  return paneColoursFor(bench, image, shownKindOf(bench, image));
}

PaneColours paneColoursFor(const Workbench& bench, ImageSlot image, int imageKind) {
  const std::size_t at = index(image);
  const int kind = colourKindFor(bench, image, imageKind);
  const ImageControlSelections& selections = bench.images.selections;
  PaneColours colours;
  colours.colourKind = kind;
  colours.base =
      isUserColourKind(kind)
          ? colourTableOf(
                bench.userEntries.colours[static_cast<std::size_t>(kind - kFirstUserColour)].table)
          : baseColourTable(kind);
  colours.intensity = selections.intensity[static_cast<std::size_t>(kind)];
  colours.brightness = selections.brightness[static_cast<std::size_t>(kind)];
  colours.rangeOn = bench.view.rangeExtraction[at];
  colours.lower = bench.view.range[at].lower;
  colours.upper = bench.view.range[at].upper;
  colours.rangeColour =
      rgbOfColourRef(image == ImageSlot::First ? bench.options.RangeExtractionColour1
                                               : bench.options.RangeExtractionColour2);
  return colours;
}

void endComparison(PaneComparison& comparison) {
  comparison.mode = ComparisonMode::Off;
  comparison.second = false;
  comparison.picture2 = {};
  comparison.raster2 = {};
}

ColourTable kindColourTable(const Workbench& bench, int kind) {
  const ImageControlSelections& selections = bench.images.selections;
  const int colourKind = selections.kindColours[1][static_cast<std::size_t>(kind)];
  PaneColours colours;
  colours.colourKind = colourKind;
  colours.base =
      isUserColourKind(colourKind)
          ? colourTableOf(
                bench.userEntries.colours[static_cast<std::size_t>(colourKind - kFirstUserColour)]
                    .table)
          : baseColourTable(colourKind);
  colours.intensity = selections.intensity[static_cast<std::size_t>(colourKind)];
  colours.brightness = selections.brightness[static_cast<std::size_t>(colourKind)];
  return paneColourTable(colours);
}

GridSettings gridSettingsOf(const Workbench& bench, ImageSlot image) {
  const ViewState& view = bench.view;
  return {view.grid, view.gridWidth, view.gridOffsetX, view.gridOffsetY,
          rgbOfColourRef(image == ImageSlot::First ? bench.options.GridColour1
                                                   : bench.options.GridColour2)};
}

ViewPoint cursorViewPointOf(const Workbench& bench) {
  const ViewState& view = bench.view;
  return cursorViewPoint(bench.pictures.width, bench.pictures.height, view.centreX, view.centreY,
                         view.fineX, view.fineY, viewSettingsOf(bench), view.placement);
}

std::string kindNameOf(const Workbench& bench, ImageSlot image) {
  const int kind = shownKindOf(bench, image);
  if (isBuiltInKind(kind)) return imageKindTable()[static_cast<std::size_t>(kind)].name;
  if (kind == kUserProcessingKind) {
    if (const UserProcessingEntry* entry = userEntryOf(bench, image)) return entry->name;
  }
  return {};
}

std::string shownKindNameOf(const Workbench& bench, ImageSlot image) {
  const int kind = shownKindOf(bench, image);
  if (isBuiltInKind(kind)) return text::tr(imageKindTable()[static_cast<std::size_t>(kind)].name);
  return kindNameOf(bench, image);
}

std::string imageLabelOf(const Workbench& bench, ImageSlot image) {
  const bool swipe = bench.view.comparison[index(image)].mode == ComparisonMode::Swipe;
  return imageLabel(
      image, bench.pictures.picturesPresent,
      swipe ? std::string(text::tr(kSwipeKindName)) : shownKindNameOf(bench, image),
      magnificationText(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height));
}

}  // namespace vemla
