#include "workbench/settings/state_memory.h"

#include <algorithm>
#include <cstring>

#include "persist/small_tables.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "processing/colour_tables.h"
#include "processing/image_kinds.h"
#include "processing/reduced_display.h"
#include "processing/valid_range.h"
#include "processing/view_rendering.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/colour_controls.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using persist::StateRecord;

constexpr int kMaxGridWidth = 20;
constexpr std::array<Plane, 3> kScratchPlanes{kRead1, kRead2, kScratch1};
constexpr std::array<Plane, 3> kStatePlanes{kPicture1, kPicture2, kUserResult};

int flag(bool value) {
  return value ? 1 : 0;
}

// The first entry in use with exactly `name`; -1 when there is none.
template <typename Entries>
int entryNamed(const Entries& entries, const std::string& name) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].inUse != 0 && entries[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// The picture control, taken over only when the saved division is the one in force.
void applyControl(Workbench& bench, const StateRecord& r) {
  PictureControlState& c = bench.control;
  const auto& a = r.alignment;
  c.alignment = {a[0] != 0, a[1], a[2], a[3], a[4], a[5]};
  const auto& k = r.alignmentResult;
  c.alignmentResult = {k[0], k[1], k[2], k[3], k[4], k[5], k[6] != 0};
  c.alignmentKeys = {{k[7], k[8], k[9], k[10]}, k[11], k[12], k[13], k[14], k[15]};
  const auto& m = r.manualShift;
  c.manual = {m[0] != 0, m[1], {m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9]}, m[10]};
  for (std::size_t i = 0; i < c.marks.size(); ++i) {
    const std::int32_t* s = &r.shiftMarks[8 * i];
    c.marks[i] = {s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]};
  }
  const int w = r.width, h = r.height;
  const bool inside =
      r.reference[1] >= 0 && r.reference[1] < w && r.reference[2] >= 0 && r.reference[2] < h;
  c.reference = {r.reference[0] != 0 && inside, inside ? r.reference[1] : w / 2,
                 inside ? r.reference[2] : h / 2};
}

void applyView(Workbench& bench, const StateRecord& saved) {
  const StateRecord r = takenOver(saved);
  ViewState& v = bench.view;
  const int w = r.width, h = r.height;
  v.centreX = r.centre[0];
  v.centreY = r.centre[1];
  v.magnification = r.magnification;
  v.displayOffsetX = r.displayOffsets[0];
  v.displayOffsetY = r.displayOffsets[1];
  v.fineX = std::clamp(r.displayOffsets[2], 0, v.magnification - 1);
  v.fineY = std::clamp(r.displayOffsets[3], 0, v.magnification - 1);
  v.gridOffsetX = r.gridOffsets[0];
  v.gridOffsetY = r.gridOffsets[1];
  v.cursorShown = r.cursorShown != 0;
  v.fineMovement = r.fineMovement != 0;
  bench.images.blankInvalid = r.blankInvalid != 0;
  for (std::size_t i = 0; i < bench.images.marks.size(); ++i) {
    const std::int32_t* s = &r.displayMarks[3 * i];
    const bool inside = s[1] >= 0 && s[1] < w && s[2] >= 0 && s[2] < h;
    bench.images.marks[i] = {s[0] != 0 ? 1 : 0, inside ? s[1] : w / 2, inside ? s[2] : h / 2};
  }
  v.reducedDisplay = r.reducedDisplay != 0;
  v.zoomInterpolation = r.interpolation != 0;
  const auto& e = r.rangeExtraction;
  for (std::size_t i = 0; i < 2; ++i) {
    v.rangeExtraction[i] = e[i] != 0;
    const int lower = std::clamp(e[2 + 2 * i], 0, 255);
    v.range[i] = {lower, std::clamp(e[3 + 2 * i], lower, 255)};
  }
  v.rangeLinked = e[6] != 0;
  v.grid = r.grid != 0;
  v.gridWidth = std::clamp(r.gridWidth, 1, kMaxGridWidth);
  const int period = std::max(1, v.gridWidth * v.magnification);
  v.gridOffsetX = std::clamp(v.gridOffsetX, 0, period - 1);
  v.gridOffsetY = std::clamp(v.gridOffsetY, 0, period - 1);
}

// Image kinds and colours, by entry name for the user ones; returns the warning bits.
int applyDisplayForm(Workbench& bench, const StateRecord& r) {
  int warnings = 0;
  bench.view.colourDisplay = r.colourDisplay != 0;
  for (const ImageSlot image : {ImageSlot::First, ImageSlot::Second}) {
    const std::size_t i = index(image);
    const int processingBit = i == 0 ? kStateProcessingMissing1 : kStateProcessingMissing2;
    const int colourBit = i == 0 ? kStateColourMissing1 : kStateColourMissing2;
    int kind = r.kinds[i];
    int entry = 0;
    if (kind == kUserProcessingKind) {
      entry = entryNamed(bench.userEntries.processing, r.processingNames[i]);
      if (entry < 0) kind = -1;
    }
    endComparison(bench.view.comparison[i]);
    if (kind != kUserProcessingKind && !isBuiltInKind(kind)) {
      // The saved image cannot be shown: the first kind, and its colour stays as it is.
      bench.images.kind[i] = ImageState::kFirstKinds[i];
      bench.images.userEntry[i] = 0;
      warnings |= processingBit;
      continue;
    }
    bench.images.kind[i] = kind;
    bench.images.userEntry[i] = entry;
    int colour = r.colours[i];
    if (isUserColourKind(colour)) {
      const int table = entryNamed(bench.userEntries.colours, r.colourNames[i]);
      colour = table < 0 ? -1 : kFirstUserColour + table;
    } else if (colour > kColourOffset) {
      colour = -1;
    }
    if (colour < 0) {
      colour = kColourGrey;
      warnings |= colourBit;
    }
    setColourAssociation(bench, image, colour);
  }
  return warnings;
}

std::string timeText(const char* pattern, const LocalDateTime& t) {
  return text::format(pattern, t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::string slotPath(const Workbench& bench, int slot) {
  const persist::StateSlot& entry = bench.settings.stateSlots[static_cast<std::size_t>(slot)];
  return entry.used == 1 ? persist::stateSlotPath(bench.settings.folder, entry.file) : "";
}

bool validSlot(const Workbench& bench, int slot) {
  return slot >= 0 && slot < kStateSlotCount && !bench.settings.folder.empty();
}

void tellRestoreResult(UserPort& user, int result, bool named, int savedDivision) {
  if (result == persist::kStateTooLarge) {
    user.tell(Icon::Warning, text::tr(msg::kStateTooLarge));
  } else if (result == persist::kStateNotStateFile) {
    user.tell(Icon::Warning,
              text::tr(named ? msg::kStateNotStateFile : msg::kStateSlotInconsistent));
  } else if (result < 0) {
    user.tell(Icon::Error, text::tr(msg::kStateRestoreFailed));
  } else if (result > 0) {
    std::string text;
    if ((result & kStateDivisionChanged) != 0) {
      text += text::format(
          text::tr("ｼﾌﾄのｻﾌﾞﾋﾟｸｾﾙ精度が一致しないためｱﾗｲﾒﾝﾄ情報が回復できません（記憶時:1/%d)\n"),
          savedDivision);
    }
    if ((result & (kStateProcessingMissing1 | kStateProcessingMissing2)) != 0) {
      text += text::tr("記憶されたﾕｰｻﾞ簡易画像処理が存在しないためｲﾒｰｼﾞの回復ができません\n");
    }
    if ((result & (kStateColourMissing1 | kStateColourMissing2)) != 0) {
      text += text::tr("記憶されたﾕｰｻﾞｶﾗｰ情報が存在しないためｶﾗｰの回復ができません\n");
    }
    user.tell(Icon::Warning, text);
  }
}

// The wait cursor while `busy` is given.
class OptionalBusy {
 public:
  explicit OptionalBusy(BusyPort* busy) : busy_(busy) {
    if (busy_ != nullptr) busy_->begin();
  }
  ~OptionalBusy() {
    if (busy_ != nullptr) busy_->end();
  }
  OptionalBusy(const OptionalBusy&) = delete;
  OptionalBusy& operator=(const OptionalBusy&) = delete;

 private:
  BusyPort* busy_;
};

std::optional<int> restoreWithQuestion(Workbench& bench, UserPort& user, const std::string& path,
                                       bool named, BusyPort* busy) {
  // A restore replaces the pictures the edit dialog works on (and its menu items are off).
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditingCommand));
    return std::nullopt;
  }
  const persist::StateMemorySettings& memory = bench.shell.stateMemory;
  const bool displayOnly = memory.displayOnly != 0;
  if (bench.pictures.picturesPresent && memory.confirm != 0) {
    StateRecord record;
    const std::optional<LocalDateTime> when = lastWriteTime(path);
    if (!when || persist::readStateHeader(path, record) != 0) {
      user.tell(Icon::Error, text::tr(msg::kStateHeaderBroken));
      return std::nullopt;
    }
    if (!user.askYesNo(restoreQuestion(bench, record, *when, displayOnly))) return std::nullopt;
  }
  int savedDivision = 0;
  int result = 0;
  {
    OptionalBusy waiting(busy);
    result = restoreState(bench, path, displayOnly, savedDivision);
    if (result >= 0) {
      if (!displayOnly) updateTitles(bench, {true, true});
      refreshPictures(bench, user);
    }
  }
  tellRestoreResult(user, result, named, savedDivision);
  return result;
}

}  // namespace

std::string stateKindName(const StateRecord& record, std::size_t image) {
  const int kind = record.kinds[image];
  if (isBuiltInKind(kind)) return imageKindTable()[static_cast<std::size_t>(kind)].name;
  return kind == kUserProcessingKind ? record.processingNames[image] : std::string();
}

std::string stateColourName(const Workbench& bench, const StateRecord& record, std::size_t image) {
  const int colour = record.colours[image];
  if (colour >= kColourGrey && colour <= kColourOffset) {
    return colourChoices(bench)[static_cast<std::size_t>(colour)].name;
  }
  return isUserColourKind(colour) ? record.colourNames[image] : std::string();
}

namespace {

// The names as a person reads them: the built-in kinds and colours in the language in use, the
// operator's own processing and colour names as they were stored.
std::string shownKindName(const StateRecord& record, ImageSlot image) {
  const std::string name = stateKindName(record, index(image));
  return isBuiltInKind(record.kinds[index(image)]) ? text::tr(name) : name;
}

std::string shownColourName(const Workbench& bench, const StateRecord& record, ImageSlot image) {
  const std::string name = stateColourName(bench, record, index(image));
  return isUserColourKind(record.colours[index(image)]) ? name : text::tr(name);
}

// The picture control: valid range, alignment settings and result, manual shift, shift marks
// and the reference point.
void captureControl(const PictureControlState& c, StateRecord& r) {
  const ValidRangeSetting& valid = c.validRange;
  r.validRange = {
      valid.kind,          valid.setWidth,        valid.setHeight,        valid.rectangle.left,
      valid.rectangle.top, valid.rectangle.right, valid.rectangle.bottom, valid.margin};
  const AlignmentSettings& a = c.alignment;
  r.alignment = {flag(a.enabled), a.criterion, a.precision, a.range, a.target, a.cursorRange};
  const AlignmentResult& res = c.alignmentResult;
  const AlignmentKeys& keys = c.alignmentKeys;
  r.alignmentResult = {res.xFlag,
                       res.yFlag,
                       res.wholeX,
                       res.wholeY,
                       res.stepsX,
                       res.stepsY,
                       flag(res.valid),
                       keys.validRectangle.left,
                       keys.validRectangle.top,
                       keys.validRectangle.right,
                       keys.validRectangle.bottom,
                       keys.criterion,
                       keys.range,
                       keys.target,
                       keys.division,
                       keys.precision};
  const ManualShift& m = c.manual;
  const ShiftSetting& s = m.setting;
  r.manualShift = {flag(m.enabled), m.target, s.left,   s.right,  s.up,      s.down,
                   s.wholeX,        s.wholeY, s.stepsX, s.stepsY, m.padStep, 0};
  for (std::size_t i = 0; i < c.marks.size(); ++i) {
    const ShiftMark& mark = c.marks[i];
    const std::array<std::int32_t, 8> values{mark.valid,  mark.target, mark.xDirection,
                                             mark.wholeX, mark.stepsX, mark.yDirection,
                                             mark.wholeY, mark.stepsY};
    std::copy(values.begin(), values.end(), r.shiftMarks.begin() + 8 * i);
  }
  r.reference = {flag(c.reference.valid), c.reference.x, c.reference.y};
}

// The view: position, switches, display marks, magnification, range extraction and grid.
void captureView(const Workbench& bench, StateRecord& r) {
  const ViewState& v = bench.view;
  r.displayOffsets = {v.displayOffsetX, v.displayOffsetY, v.fineX, v.fineY};
  r.centre = {v.centreX, v.centreY};
  r.gridOffsets = {v.gridOffsetX, v.gridOffsetY};
  r.cursorShown = flag(v.cursorShown);
  r.fineMovement = flag(v.fineMovement);
  r.blankInvalid = flag(bench.images.blankInvalid);
  for (std::size_t i = 0; i < bench.images.marks.size(); ++i) {
    const DisplayMark& mark = bench.images.marks[i];
    r.displayMarks[3 * i] = mark.valid;
    r.displayMarks[3 * i + 1] = mark.x;
    r.displayMarks[3 * i + 2] = mark.y;
  }
  r.magnification = v.magnification;
  r.interpolation = flag(v.zoomInterpolation);
  r.colourDisplay = flag(v.colourDisplay);
  const std::size_t image1 = index(ImageSlot::First), image2 = index(ImageSlot::Second);
  r.rangeExtraction = {flag(v.rangeExtraction[image1]),
                       flag(v.rangeExtraction[image2]),
                       v.range[image1].lower,
                       v.range[image1].upper,
                       v.range[image2].lower,
                       v.range[image2].upper,
                       flag(v.rangeLinked)};
  r.grid = flag(v.grid);
  r.gridWidth = v.gridWidth;
  r.reducedDisplay = flag(v.reducedDisplay);
}

// Each image's kind and colour, with the names of the user entries they use.
void captureImages(const Workbench& bench, StateRecord& r) {
  for (const ImageSlot image : {ImageSlot::First, ImageSlot::Second}) {
    const std::size_t i = index(image);
    r.kinds[i] = storedKindOf(bench, image);
    const int entry = bench.images.userEntry[i];
    if (r.kinds[i] == kUserProcessingKind && entry >= 0 &&
        entry < static_cast<int>(bench.userEntries.processing.size())) {
      r.processingNames[i] = bench.userEntries.processing[static_cast<std::size_t>(entry)].name;
    }
    r.colours[i] = associatedColourKind(bench, image);
    if (isUserColourKind(r.colours[i])) {
      r.colourNames[i] =
          bench.userEntries.colours[static_cast<std::size_t>(r.colours[i] - kFirstUserColour)].name;
    }
  }
}

}  // namespace

StateRecord takenOver(StateRecord r) {
  const bool centreInside =
      r.centre[0] >= 0 && r.centre[0] < r.width && r.centre[1] >= 0 && r.centre[1] < r.height;
  if (!centreInside) r.centre = {r.width / 2, r.height / 2};
  r.magnification = std::clamp(r.magnification, 1, kMaxMagnification);
  r.reducedDisplay =
      flag(r.reducedDisplay != 0 && r.magnification == 1 && !fitsPane(r.width, r.height));
  return r;
}

StateRecord captureState(const Workbench& bench) {
  StateRecord r;
  const PictureState& p = bench.pictures;
  r.width = p.width;
  r.height = p.height;
  r.names = pictureNames(p);
  r.division = bench.options.ShiftUnit;
  captureControl(bench.control, r);
  captureView(bench, r);
  captureImages(bench, r);
  return r;
}

bool saveState(const Workbench& bench, const std::string& path) {
  if (!bench.pictures.picturesPresent) return false;
  std::array<Palette, 2> palettes{};
  for (PictureSlot picture : kPictureSlots) {
    palettes[index(picture)] = bench.pictures.pictures[index(picture)].palette;
  }
  persist::StatePlanes planes;
  for (std::size_t i = 0; i < kStatePlanes.size(); ++i) {
    planes.planes[i] = bench.store.plane(kStatePlanes[i]);
  }
  return persist::saveStateFile(path, captureState(bench), palettes, planes);
}

int restoreState(Workbench& bench, const std::string& path, bool displayOnly, int& savedDivision) {
  PictureStore& store = bench.store;
  StateRecord r;
  std::array<Palette, 2> palettes{};
  std::array<std::span<std::uint8_t>, 3> scratch;
  for (std::size_t i = 0; i < scratch.size(); ++i) scratch[i] = store.planes(kScratchPlanes[i]);
  const int status = persist::readStateFile(path, store.maxWidth(), store.maxHeight(), displayOnly,
                                            r, palettes, scratch);
  if (status != persist::kStateOk) return status;
  savedDivision = r.division;
  int warnings = 0;
  if (!displayOnly) {
    const std::size_t pixels =
        static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
    for (std::size_t i = 0; i < kStatePlanes.size(); ++i) {
      std::memcpy(store.plane(kStatePlanes[i]), scratch[i].data(), pixels);
    }
    PictureState& p = bench.pictures;
    p.width = r.width;
    p.height = r.height;
    p.userResultWidth = r.width;
    p.userResultHeight = r.height;
    for (std::size_t i = 0; i < 2; ++i) {
      PictureMeta& meta = p.pictures[i];
      meta.name = r.names[i];
      meta.note.clear();
      meta.palette = palettes[i];
      meta.headers = buildBitmapHeaders(1, r.width, r.height);
      meta.thumbnailHeaders =
          buildBitmapHeaders(1, persist::kStateDrawingWidth, persist::kStateDrawingHeight);
      meta.paneHeaders = buildBitmapHeaders(1, ViewState::kPaneSize, ViewState::kPaneSize);
      meta.drawingPalette = meta.palette;
    }
    bench.view.reductionRatio = reductionRatio(r.width, r.height);
    bench.view.extraction = {0, 0, r.width - 1, r.height - 1};
    PictureControlState& c = bench.control;
    const auto& vr = r.validRange;
    c.validRange = {vr[0], vr[1], vr[2], {vr[3], vr[4], vr[5], vr[6]}, vr[7]};
    if (r.division == bench.options.ShiftUnit) {
      applyControl(bench, r);
    } else {
      c.alignmentResult = {};
      c.alignmentKeys = {};
      warnings |= kStateDivisionChanged;
    }
    correctPictureControl(c, bench.options.ShiftUnit, r.width, r.height);
    fitValidRectangle(c.validRange, r.width, r.height);
    applyView(bench, r);
    p.picturesPresent = true;
  }
  return warnings | applyDisplayForm(bench, r);
}

std::string restoreQuestion(const Workbench& bench, const StateRecord& record,
                            const LocalDateTime& when, bool displayOnly) {
  std::string text = text::tr("以下の情報で状態の回復を行ってもよいですか\n");
  text += timeText(text::tr("（記憶日時）%4d/%02d/%02d %2d:%02d:%02d\n"), when);
  if (!displayOnly) {
    const std::string& name1 = record.names[index(PictureSlot::First)];
    const std::string& name2 = record.names[index(PictureSlot::Second)];
    if (!name1.empty()) text += text::format(text::tr("（画像１）%s\n"), name1.c_str());
    if (!name2.empty()) text += text::format(text::tr("（画像２）%s\n"), name2.c_str());
    text += text::format(text::tr("（大きさ）%d x %d  （位置）(%3d,%3d)\n"), record.width,
                         record.height, record.centre[0], record.centre[1]);
  }
  text += text::format(text::tr("（ｲﾒｰｼﾞ1）%s\n（ｶﾗｰ1）　%s\n"), shownKindName(record, ImageSlot::First).c_str(),
                       shownColourName(bench, record, ImageSlot::First).c_str());
  text += text::format(text::tr("（ｲﾒｰｼﾞ2）%s\n（ｶﾗｰ2）  %s\n"), shownKindName(record, ImageSlot::Second).c_str(),
                       shownColourName(bench, record, ImageSlot::Second).c_str());
  return text;
}

std::string stateSlotListText(const Workbench& bench) {
  std::string text;
  for (int slot = 0; slot < kStateSlotCount; ++slot) {
    if (bench.settings.stateSlots[static_cast<std::size_t>(slot)].used != 1) continue;
    const std::string path = slotPath(bench, slot);
    StateRecord r;
    const std::optional<LocalDateTime> when = lastWriteTime(path);
    if (path.empty() || !when || persist::readStateHeader(path, r) != 0) {
      text += text::format(text::tr("(%d) 記憶情報ﾌｧｲﾙに異常があります\n"), slot + 1);
      continue;
    }
    text += text::format("(%d) ", slot + 1) +
            timeText(text::tr("記憶日時 : %4d/%02d/%02d %2d:%02d:%02d\n"), *when);
    text += text::format(text::tr("    （画像１）%s\n"),
                         r.names[index(PictureSlot::First)].c_str());
    text += text::format(text::tr("    （画像２）%s\n"),
                         r.names[index(PictureSlot::Second)].c_str());
    text += text::format(text::tr("    （大きさ）%d x %d  （位置）(%3d,%3d)\n"), r.width, r.height,
                         r.centre[0], r.centre[1]);
    text += text::format(text::tr("    （ｲﾒｰｼﾞ1）%s\n    （ｶﾗｰ1）　%s\n"),
                         shownKindName(r, ImageSlot::First).c_str(),
                         shownColourName(bench, r, ImageSlot::First).c_str());
    text += text::format(text::tr("    （ｲﾒｰｼﾞ2）%s\n    （ｶﾗｰ2） %s\n"),
                         shownKindName(r, ImageSlot::Second).c_str(),
                         shownColourName(bench, r, ImageSlot::Second).c_str());
  }
  return text;
}

void rereadStateSlots(Workbench& bench) {
  if (bench.settings.folder.empty()) return;
  bench.settings.stateSlots = persist::readStateSlots(bench.settings.folder);
}

bool storeStateInSlot(Workbench& bench, UserPort& user, int slot, BusyPort* busy) {
  if (!validSlot(bench, slot) || !bench.pictures.picturesPresent) return false;
  const std::string& folder = bench.settings.folder;
  const std::size_t k = static_cast<std::size_t>(slot);
  rereadStateSlots(bench);
  // The question comes before the lock: no copy waits on another's open question.
  if (bench.shell.stateMemory.confirm != 0 && bench.settings.stateSlots[k].used == 1 &&
      !user.askYesNo(text::tr(msg::kStateOverwrite))) {
    return false;
  }
  OptionalBusy waiting(busy);
  persist::StateSlotsLock lock(folder);
  persist::StateSlotTable table = persist::readStateSlots(folder);
  std::string path = table[k].used == 1 ? persist::stateSlotPath(folder, table[k].file) : "";
  const bool fresh = path.empty();
  if (fresh) {
    path = temporaryName(folder, true, persist::kStateSlotKind, false).value_or("");
  }
  if (path.empty() || !saveState(bench, path)) {
    if (fresh && !path.empty()) deleteFile(path);
    bench.settings.stateSlots = table;
    user.tell(Icon::Error, text::tr(msg::kStateStoreFailed));
    return false;
  }
  table[k] = {1, path};
  const bool written = persist::writeStateSlots(folder, table, user);
  if (!written && fresh) deleteFile(path);
  bench.settings.stateSlots = written ? table : persist::readStateSlots(folder);
  return written;
}

bool storeStateNamed(Workbench& bench, UserPort& user, const std::string& path) {
  if (!bench.pictures.picturesPresent) return false;
  if (!saveState(bench, path)) {
    user.tell(Icon::Error, text::tr(msg::kStateStoreFailed));
    return false;
  }
  bench.shell.stateMemory.lastFile = path;
  return true;
}

std::optional<int> restoreStateFromSlot(Workbench& bench, UserPort& user, int slot,
                                        BusyPort* busy) {
  if (!validSlot(bench, slot)) return std::nullopt;
  rereadStateSlots(bench);
  const std::string path = slotPath(bench, slot);
  if (path.empty()) return std::nullopt;
  return restoreWithQuestion(bench, user, path, false, busy);
}

std::optional<int> restoreStateNamed(Workbench& bench, UserPort& user, const std::string& path,
                                     BusyPort* busy) {
  const std::optional<int> result = restoreWithQuestion(bench, user, path, true, busy);
  if (result && *result >= 0) bench.shell.stateMemory.lastFile = path;
  return result;
}

void showStateSlotList(Workbench& bench, UserPort& user) {
  rereadStateSlots(bench);
  const std::string text = stateSlotListText(bench);
  if (!text.empty()) user.tell(Icon::Info, text, text::tr(msg::kStateListTitle));
}

bool clearStateSlots(Workbench& bench, UserPort& user) {
  if (bench.settings.folder.empty() || !user.askYesNo(text::tr(msg::kStateClear))) return false;
  const std::string& folder = bench.settings.folder;
  persist::StateSlotsLock lock(folder);
  const persist::StateSlotTable table = persist::readStateSlots(folder);
  for (const persist::StateSlot& entry : table) {
    const std::string path = persist::stateSlotPath(folder, entry.file);
    if (entry.used == 1 && !path.empty()) deleteFile(path);
  }
  const bool written = persist::writeStateSlots(folder, persist::StateSlotTable{}, user);
  bench.settings.stateSlots = persist::readStateSlots(folder);
  return written;
}

void repairStateSlotsAtStart(Workbench& bench, UserPort& user) {
  const std::string& folder = bench.settings.folder;
  if (folder.empty()) return;
  const auto vanished = [&](const persist::StateSlot& entry) {
    return entry.used == 1 && !fileExists(persist::stateSlotPath(folder, entry.file));
  };
  // The "~VS" files that belong to no slot of `table`.
  const auto orphans = [&](const persist::StateSlotTable& table) {
    std::vector<std::string> found;
    for (const std::string& name : filesWithPrefix(folder, persist::kStateSlotPrefix)) {
      const std::string path = inFolder(folder, name);
      const bool owned = std::any_of(table.begin(), table.end(), [&](const persist::StateSlot& e) {
        return e.used == 1 && persist::stateSlotPath(folder, e.file) == path;
      });
      if (!owned) found.push_back(path);
    }
    return found;
  };
  persist::StateSlotTable table = persist::readStateSlots(folder);
  // Nothing to repair: no lock is taken (and no lock file made).
  if (std::none_of(table.begin(), table.end(), vanished) &&
      (bench.secondCopy || orphans(table).empty())) {
    bench.settings.stateSlots = table;
    return;
  }
  // Decided again under the lock: another copy may be storing a slot right now.
  persist::StateSlotsLock lock(folder);
  table = persist::readStateSlots(folder);
  bool changed = false;
  for (persist::StateSlot& entry : table) {
    if (vanished(entry)) {
      entry = {};
      changed = true;
    }
  }
  if (changed) persist::writeStateSlots(folder, table, user);
  if (!bench.secondCopy) {
    for (const std::string& path : orphans(table)) deleteFile(path);
  }
  bench.settings.stateSlots = table;
}

}  // namespace vemla
