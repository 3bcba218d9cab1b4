#include "workbench/picture/open_pictures.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "editing/small_dialogs.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "picture/raw.h"
#include "processing/reduced_display.h"
#include "processing/valid_range.h"
#include "text/cp932.h"
#include "text/format.h"
#include "workbench/picture/rgb_ratio_memory.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr int kThumbnailWidth = 232;
constexpr int kThumbnailHeight = 244;

// What the read step left in a picture's read buffer, waiting for the commit.
struct PendingPicture {
  enum class Source { Kept, Cleared, Bitmap, Raw };
  Source source = Source::Kept;
  std::string name;
  int width = 0;
  int height = 0;
  int rowLength = 0;  // R8 for bitmaps, W otherwise
  bool topDown = false;
  BitmapHeaders headers;
  Palette palette = greyRamp();
  std::string note;  // PictureMeta::note
};

void warnWithName(UserPort& user, const char* message, const std::string& name) {
  user.tell(Icon::Warning, text::format(msg::kWithName, text::tr(message), name.c_str()));
}

// Any picture file but raw: the reader is chosen by the file's first bytes.
bool readPictureFile(Workbench& bench, UserPort& user, PictureSlot picture, const std::string& name,
                     PendingPicture& pending) {
  const Options& options = bench.options;
  const int bits = probePicture(name);
  if (bits == kReadError) {
    warnWithName(user, msg::kReadFailed, name);
    return false;
  }
  if (bits == kUnsupported) {
    warnWithName(user, msg::kUnsupported, name);
    return false;
  }
  if (bits != 8 && bits != 24 && bits != 32) {
    warnWithName(user, msg::kNot8Or24Or32, name);
    return false;
  }
  const bool grey = options.TrueColourOpenMode == kTrueColourGrey;
  RgbRatio ratios = options.GreyRatio;
  if (bits != 8 && grey && options.AskRatioPerFile) {
    RgbRatioMemory memory(bench, user);
    const std::optional<RgbRatio> asked = memory.askRgbRatio(rgbRatioFileSuffix(picture), ratios);
    if (!asked) return false;  // cancel abandons the open without a message
    ratios = *asked;
  }

  PictureStore& store = bench.store;
  PictureRead read;
  const int result =
      readPicture(name, store.planes(readPlane(picture)), store.maxWidth(), store.maxHeight(), grey,
                  ratios, options.SixteenBit, store.planes(kScratch4, 4), read);
  if (result == kTooLarge) {
    user.tell(Icon::Warning,
              text::format(text::tr(msg::kTooLargeWithName), text::tr(msg::kTooLarge),
                           store.maxWidth(), store.maxHeight(), name.c_str()));
    return false;
  }
  if (result == kUnsupported) {
    warnWithName(user, msg::kUnsupported, name);
    return false;
  }
  if (result < 0) {
    warnWithName(user, msg::kReadFailed, name);
    return false;
  }
  pending.source = PendingPicture::Source::Bitmap;
  pending.width = read.width;
  pending.height = read.height;
  pending.rowLength = result;
  pending.topDown = read.topDown;
  pending.headers = read.headers;
  pending.palette = read.palette;
  pending.note = read.note;
  return true;
}

bool readRawFile(Workbench& bench, UserPort& user, PictureSlot picture, const std::string& name,
                 bool reuseSize, bool skipDialog, PendingPicture& pending) {
  PictureState& state = bench.pictures;
  PictureStore& store = bench.store;
  if (!reuseSize && !skipDialog) {
    const std::optional<RawSize> asked =
        user.askRawSize(fileNamePart(name), fileSize(name), state.rawSize);
    if (!asked) return false;  // cancel abandons the open without a message
    // The dialog refuses bad values itself; a port that lets one through is refused here.
    if (const auto problem = checkRawSize(*asked, store.maxWidth(), store.maxHeight())) {
      user.tell(Icon::Warning, *problem);
      return false;
    }
    state.rawSize = *asked;
  } else if (checkRawSize(state.rawSize, store.maxWidth(), store.maxHeight())) {
    warnWithName(user, msg::kReadFailed, name);
    return false;
  }
  const RawSize size = state.rawSize;
  const std::size_t bytes =
      static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
  if (readRawPicture(name, size.offset, {store.plane(readPlane(picture)), bytes}) != 1) {
    warnWithName(user, msg::kReadFailed, name);
    return false;
  }
  pending.source = PendingPicture::Source::Raw;
  pending.width = size.width;
  pending.height = size.height;
  pending.rowLength = size.width;
  pending.palette = greyRamp();
  pending.headers.info.width = size.width;
  pending.headers.info.height = size.height;
  return true;
}

void commitPicture(Workbench& bench, PictureSlot slot, const PendingPicture& pending) {
  PictureStore& store = bench.store;
  const int width = bench.pictures.width;
  const int height = bench.pictures.height;
  std::uint8_t* target = store.plane(unshiftedPlane(slot));
  const std::uint8_t* source = store.plane(readPlane(slot));
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  switch (pending.source) {
    case PendingPicture::Source::Kept:
      return;
    case PendingPicture::Source::Cleared:
      std::memset(target, 0, pixels);
      break;
    case PendingPicture::Source::Raw:
      store.exchange(readPlane(slot), unshiftedPlane(slot));
      break;
    case PendingPicture::Source::Bitmap:
      // Rows without padding are put in order where they were read, and the read buffer
      // becomes the picture: no new plane is touched.
      if (pending.rowLength == width) {
        std::uint8_t* rows = store.plane(readPlane(slot));
        if (!pending.topDown) {
          for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(rows + static_cast<std::size_t>(top) * width,
                             rows + static_cast<std::size_t>(top + 1) * width,
                             rows + static_cast<std::size_t>(bottom) * width);
          }
        }
        store.exchange(readPlane(slot), unshiftedPlane(slot));
        break;
      }
      for (int y = 0; y < height; ++y) {
        const int sourceRow = pending.topDown ? y : height - 1 - y;
        std::memcpy(target + static_cast<std::size_t>(y) * width,
                    source + static_cast<std::size_t>(sourceRow) * pending.rowLength, width);
      }
      break;
  }
  PictureMeta& meta = bench.pictures.pictures[index(slot)];
  meta.name = pending.name;
  meta.headers = pending.headers;
  meta.note = pending.note;
  meta.palette = pending.palette;
  meta.thumbnailHeaders = buildBitmapHeaders(1, kThumbnailWidth, kThumbnailHeight);
  meta.paneHeaders = buildBitmapHeaders(1, 512, 512);
  meta.drawingPalette = pending.palette;
}

void applyCarryOver(Workbench& bench, bool sizeChanged) {
  const CarryOverOptions& keep = bench.options.carryOver;
  const int width = bench.pictures.width;
  const int height = bench.pictures.height;
  ViewState& view = bench.view;
  if (!keep.KeepValidRangeMode) bench.control.validRange.kind = kValidWhole;
  if (!keep.KeepAlignment) bench.control.alignmentResult = {};
  if (!keep.KeepDisplayPosition || sizeChanged) {
    view.centreX = width / 2;
    view.centreY = height / 2;
  } else {
    view.centreX = std::clamp(view.centreX + view.displayOffsetX, 0, width - 1);
    view.centreY = std::clamp(view.centreY + view.displayOffsetY, 0, height - 1);
  }
  if (!keep.KeepImageKind) {
    bench.images.kind = ImageState::kFirstKinds;
    for (PaneComparison& comparison : bench.view.comparison) endComparison(comparison);
  }
  if (!keep.KeepMagnification) {
    view.magnification = 1;
    view.reducedDisplay = false;
  }
  if (!keep.KeepZoomInterpolation) view.zoomInterpolation = true;
  if (!keep.KeepColourDisplay) view.colourDisplay = false;
  if (!keep.KeepRangeExtraction) view.rangeExtraction = {false, false};
  if (!keep.KeepGrid) view.grid = false;
  PictureState& state = bench.pictures;
  if (!keep.KeepUserProgramResult || sizeChanged || state.userResultWidth != width ||
      state.userResultHeight != height) {
    bench.store.clear(kUserResult);
    state.userResultWidth = width;
    state.userResultHeight = height;
  }
}

// Sets W, H and what depends on them; returns whether the size changed.
bool setSize(Workbench& bench, int width, int height) {
  PictureState& state = bench.pictures;
  const bool changed = state.width != width || state.height != height;
  state.width = width;
  state.height = height;
  bench.view.reductionRatio = reductionRatio(width, height);
  if (fitsPane(width, height)) bench.view.reducedDisplay = false;
  if (changed) bench.view.extraction = {0, 0, width - 1, height - 1};
  return changed;
}

// The read step of an open: each named picture into its read buffer, each other one marked
// kept (`keep`) or cleared. Stops at the first refusal, after its message.
bool readPictures(Workbench& bench, UserPort& user, const std::array<const std::string*, 2>& names,
                  bool keep, bool skipRawDialog, std::array<PendingPicture, 2>& pending) {
  const PictureState& state = bench.pictures;
  bool firstWasRaw = false;
  for (PictureSlot slot : kPictureSlots) {
    PendingPicture& picture = pending[index(slot)];
    const std::string* name = names[index(slot)];
    if (name == nullptr) {
      if (keep) {
        picture.source = PendingPicture::Source::Kept;
        picture.width = state.width;
        picture.height = state.height;
      } else {
        picture.source = PendingPicture::Source::Cleared;
      }
      continue;
    }
    picture.name = *name;
    // A name of 4 characters or fewer (".raw" alone) names no picture file.
    if (stripQuotes(*name).size() <= 4) {
      warnWithName(user, msg::kUnsupported, *name);
      return false;
    }
    if (!nameFitsField(*name, user)) return false;
    // Raw files have no first bytes to tell them by, so their extension names them.
    if (!isRawName(*name)) {
      if (!readPictureFile(bench, user, slot, *name, picture)) return false;
    } else {
      // Picture 2 from a raw file takes the size just asked for Picture 1's raw file.
      const bool reuse = slot == PictureSlot::Second && firstWasRaw;
      if (!readRawFile(bench, user, slot, *name, reuse, skipRawDialog, picture)) return false;
      firstWasRaw = slot == PictureSlot::First;
    }
  }
  return true;
}

// The size both pictures of an open agree on (width, height); a cleared picture takes the size
// of the one that was read. nullopt, after its message, when a picture is too small or the
// sizes differ.
std::optional<std::pair<int, int>> commonSize(UserPort& user,
                                              std::array<PendingPicture, 2>& pending) {
  PendingPicture& first = pending[index(PictureSlot::First)];
  PendingPicture& second = pending[index(PictureSlot::Second)];
  const PendingPicture& sized = first.source == PendingPicture::Source::Cleared ? second : first;
  const int width = sized.width;
  const int height = sized.height;
  for (PendingPicture& picture : pending) {
    if (picture.source == PendingPicture::Source::Cleared) {
      picture.width = width;
      picture.height = height;
    }
  }
  // A picture below the minimum is refused for its own size first: a 1 x 1 picture opened
  // with an 8 x 8 one is too small, not of another size.
  for (const PendingPicture& picture : pending) {
    if (picture.width < kMinPictureSize || picture.height < kMinPictureSize) {
      user.tell(Icon::Warning,
                std::string(text::tr(msg::kTooSmall)) +
                    text::format(text::tr(msg::kMinimumSuffix), kMinPictureSize, kMinPictureSize));
      return std::nullopt;
    }
  }
  if (first.width != second.width || first.height != second.height) {
    user.tell(Icon::Warning, text::tr(msg::kSizesDiffer));
    return std::nullopt;
  }
  return std::pair{width, height};
}

// Titles, then the refresh chain: shifted pictures, both images created and rendered, and the
// listeners told.
void afterOpenRefresh(Workbench& bench, UserPort& user, std::array<bool, 2> retitle,
                      OpenRefresh refresh = OpenRefresh::Now) {
  bench.pictures.picturesPresent = true;
  updateTitles(bench, retitle);
  if (refresh == OpenRefresh::Now) refreshPictures(bench, user);
}

}  // namespace

int openPictureFiles(Workbench& bench, UserPort& user, const std::string* name1,
                     const std::string* name2, OpenMode mode, OpenRefresh refresh) {
  PictureState& state = bench.pictures;
  const bool skipRawDialog = state.skipRawDialogOnce;
  state.skipRawDialogOnce = false;

  const auto toRead = [&](PictureSlot slot, const std::string* name) -> const std::string* {
    return opens(mode, slot) && name != nullptr && !name->empty() ? name : nullptr;
  };
  const std::array<const std::string*, 2> names{toRead(PictureSlot::First, name1),
                                                toRead(PictureSlot::Second, name2)};
  if (std::ranges::all_of(names, [](const std::string* name) { return name == nullptr; })) {
    return -1;
  }
  if (state.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditing));
    return -1;
  }
  // Before the first open there is no picture to keep.
  const bool keep = mode != OpenMode::Both && state.picturesPresent;

  std::array<PendingPicture, 2> pending;
  if (!readPictures(bench, user, names, keep, skipRawDialog, pending)) return -1;
  const std::optional<std::pair<int, int>> size = commonSize(user, pending);
  if (!size) return -1;
  const auto [width, height] = *size;

  const bool sizeChanged = setSize(bench, width, height);
  std::array<bool, 2> retitle{};
  for (PictureSlot slot : kPictureSlots) {
    const PendingPicture& picture = pending[index(slot)];
    commitPicture(bench, slot, picture);
    retitle[index(slot)] = picture.source != PendingPicture::Source::Kept;
  }
  applyCarryOver(bench, sizeChanged);
  fitValidRectangle(bench.control.validRange, width, height);
  afterOpenRefresh(bench, user, retitle, refresh);
  return 0;
}

bool nameFitsField(const std::string& name, UserPort& user) {
  if (nameFitsNameField(name)) return true;
  user.tell(Icon::Warning, text::tr(msg::kNameTooLong));
  return false;
}

int setPicturesFromMemory(Workbench& bench, UserPort& user, const MemoryPictures& given) {
  PictureStore& store = bench.store;
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditing));
    return -1;
  }
  if (given.width < kMinPictureSize || given.height < kMinPictureSize) {
    user.tell(Icon::Warning,
              std::string(text::tr(msg::kTooSmall)) +
                  text::format(text::tr(msg::kMinimumSuffix), kMinPictureSize, kMinPictureSize));
    return -1;
  }
  if (given.width > store.maxWidth() || given.height > store.maxHeight()) {
    user.tell(Icon::Warning,
              std::string(text::tr(msg::kTooLarge)) +
                  text::format(text::tr(msg::kMaximumSuffix), store.maxWidth(), store.maxHeight()));
    return -1;
  }
  for (const std::string& name : given.names) {
    if (!nameFitsField(name, user)) return -1;
  }

  const bool sizeChanged = setSize(bench, given.width, given.height);
  PictureState& state = bench.pictures;
  const std::size_t pixels =
      static_cast<std::size_t>(given.width) * static_cast<std::size_t>(given.height);
  std::array<bool, 2> replaced{};
  for (PictureSlot slot : kPictureSlots) {
    const std::size_t at = index(slot);
    // A picture kept from an earlier open at another size would be read at the wrong row
    // length: it becomes all zero with a grey ramp and no name, as a file open clears the
    // picture it does not keep.
    const bool cleared = given.pixels[at] == nullptr && (sizeChanged || !state.picturesPresent);
    if (given.pixels[at] == nullptr && !cleared) continue;
    std::uint8_t* plane = store.plane(unshiftedPlane(slot));
    if (cleared) {
      std::memset(plane, 0, pixels);
    } else {
      std::memmove(plane, given.pixels[at], pixels);
    }
    PictureMeta& meta = state.pictures[at];
    meta.name = cleared ? std::string() : given.names[at];
    meta.note.clear();
    meta.palette = !cleared && given.palettes[at] != nullptr ? *given.palettes[at] : greyRamp();
    meta.headers = buildBitmapHeaders(1, given.width, given.height);
    meta.thumbnailHeaders = buildBitmapHeaders(1, kThumbnailWidth, kThumbnailHeight);
    meta.paneHeaders = buildBitmapHeaders(1, 512, 512);
    meta.drawingPalette = meta.palette;
    replaced[at] = true;
  }
  fitValidRectangle(bench.control.validRange, given.width, given.height);

  ViewState& view = bench.view;
  if (given.magnification >= 1 && given.magnification <= 64) {
    view.magnification = given.magnification;
    view.reducedDisplay = given.magnification == 1 && given.reducedDisplay;
  }
  if (fitsPane(given.width, given.height)) view.reducedDisplay = false;
  if (state.userResultWidth != given.width || state.userResultHeight != given.height) {
    store.clear(kUserResult);
    state.userResultWidth = given.width;
    state.userResultHeight = given.height;
  }
  const bool centreInside = given.centreX >= 0 && given.centreX < given.width &&
                            given.centreY >= 0 && given.centreY < given.height;
  view.centreX = centreInside ? given.centreX : given.width / 2;
  view.centreY = centreInside ? given.centreY : given.height / 2;
  afterOpenRefresh(bench, user, replaced);
  return 0;
}

void updateTitles(Workbench& bench, std::array<bool, 2> retitle) {
  static constexpr std::array<const char*, 2> kPaneNames{text::N_("画像１"), text::N_("画像２")};
  std::string files;
  for (PictureSlot slot : kPictureSlots) {
    const std::size_t at = index(slot);
    if (!retitle[at]) continue;
    const std::string& name = bench.pictures.pictures[at].name;
    std::string& title = bench.titles.pane[at];
    if (name.empty()) {
      title = text::tr(kPaneNames[at]);
    } else if (isPseudoName(name)) {
      title = std::string(text::tr(kPaneNames[at])) + name;
    } else {
      title = std::string(text::tr(kPaneNames[at])) + "(" + std::string(fileNamePart(name)) +
              bench.pictures.pictures[at].note + ")";
      files += std::string(fileNamePart(name)) + " ";
    }
  }
  bench.titles.main =
      std::string(bench.secondCopy ? "(M)" : "") + files + (files.empty() ? "" : "- ") + "Vemla";
}

}  // namespace vemla
