#include "workbench/settings/settings_session.h"

#include <array>
#include <cstdint>
#include <tuple>

#include "options/option_sheet_rules.h"
#include "options/option_table.h"
#include "persist/own_options.h"
#include "processing/manual_shift.h"
#include "text/translate.h"
#include "workbench/settings/live_records.h"
#include "workbench/settings/state_memory.h"
#include "workbench/tools/partial_tool.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::persist {
namespace {

constexpr const char* kColourAssociationsReset =
    text::N_("ﾕｰｻﾞ情報のﾌｧｲﾙに矛盾があるため\nｶﾗｰの関連付けを初期化しました");

bool writes(const Workbench& bench) {
  return !bench.secondCopy && !bench.settings.folder.empty();
}

// The program settings file is handed the records of the subsystems it stores.
ProgramSettings programSettingsOf(const Workbench& bench) {
  return {bench.options, bench.images.selections, bench.images.marks, bench.importer,
          bench.settings.program};
}

// The alignment settings and the image control's switches as fields 36-41 hold them.
std::array<std::int32_t, 6> controlWordsOf(const Workbench& bench) {
  const AlignmentSettings& alignment = bench.control.alignment;
  std::array<std::int32_t, 6> words{};
  words[kWordCriterion] = alignment.criterion;
  words[kWordPrecision] = alignment.precision;
  words[kWordRange] = alignment.range;
  words[kWordTarget] = alignment.target;
  words[kWordCursorRange] = alignment.cursorRange;
  std::int32_t switches = 0;
  if (bench.view.cursorShown) switches |= kSwitchCursorShown;
  if (bench.view.fineMovement) switches |= kSwitchFineMovement;
  if (bench.view.colourBars) switches |= kSwitchColourBars;
  if (bench.images.blankInvalid) switches |= kSwitchBlankInvalid;
  words[kWordSwitches] = switches;
  return words;
}

// Takes the stored words back, each corrected into its range: the precision up to the sub-pixel
// division in use, the cursor range up to the larger side of the largest picture. All-zero
// words were never stored and leave the factory values.
void restoreControlWords(Workbench& bench, const std::array<std::int32_t, 6>& words) {
  if (words == std::array<std::int32_t, 6>{}) return;
  PictureControlState& control = bench.control;
  setAlignmentCriterion(control, words[kWordCriterion]);
  setAlignmentPrecision(control, words[kWordPrecision], bench.options.ShiftUnit);
  control.alignment.range = correctedAlignmentRange(words[kWordRange]);
  setAlignmentTarget(control, words[kWordTarget]);
  control.alignment.cursorRange = correctedCursorRange(
      words[kWordCursorRange], bench.options.MaxPictureWidth, bench.options.MaxPictureHeight);
  const std::int32_t switches = words[kWordSwitches];
  bench.view.cursorShown = (switches & kSwitchCursorShown) != 0;
  bench.view.fineMovement = (switches & kSwitchFineMovement) != 0;
  bench.view.colourBars = (switches & kSwitchColourBars) != 0;
  bench.images.blankInvalid = (switches & kSwitchBlankInvalid) != 0;
}

}  // namespace

Options startOptions(const std::string& folder) {
  if (folder.empty()) return Options{};
  Options options;
  if (const auto size = readMaxPictureSize(folder)) {
    std::tie(options.MaxPictureWidth, options.MaxPictureHeight) = *size;
  }
  return options;
}

std::optional<LoadStatus> startWorkbench(Workbench& bench, UserPort& user,
                                         const StartRequest& request) {
  Options& options = bench.options;
  options = startOptions(request.folder);
  if (request.maxSize)
    std::tie(options.MaxPictureWidth, options.MaxPictureHeight) = *request.maxSize;
  if (!allocatePictureStore(bench.store, options.MaxPictureWidth, options.MaxPictureHeight, user)) {
    return std::nullopt;
  }
  options.MaxPictureWidth = bench.store.maxWidth();
  options.MaxPictureHeight = bench.store.maxHeight();
  if (request.folder.empty()) return LoadStatus::Absent;

  ProgramSettings program = programSettingsOf(bench);
  const LoadStatus status = loadProgramSettings(request.folder, program, user, request.mayCreate,
                                                bench.settings.keepBad.program);
  options = std::move(program.options);
  bench.settings.keepBad.ownOptions = keepsBadFile(loadOwnOptions(request.folder, options, user));
  bench.images.selections = program.imageControl;
  bench.images.marks = program.marks;
  bench.importer = std::move(program.importer);
  bench.settings.program = std::move(program.record);
  takeProgramRecord(bench);
  return status;
}

void loadSettingsAtStart(Workbench& bench, UserPort& user) {
  SettingsState& s = bench.settings;
  if (s.folder.empty()) return;
  const bool first = !bench.secondCopy;
  bench.control.validRange = s.program.validRange;
  restoreControlWords(bench, s.program.controlWords);
  repairStateSlotsAtStart(bench, user);

  loadUserInfo(s.folder, bench.userEntries, s.user, user, first, s.keepBad.user);
  takeUserInfo(bench);
  if (resetAssociationsOfMissingColours(bench.images.selections, bench.userEntries.colours)) {
    user.tell(Icon::Warning, text::tr(kColourAssociationsReset));
  }
  loadAssociations(s.folder, s.associations, user, first, s.keepBad.associations);

  if (first) {
    HeldGallery gallery;
    gallery.info.header.galleryCount = bench.options.GalleryCount;
    gallery.info.header.hideGalleryAtStart = bench.options.hideGalleryAtStart ? 1 : 0;
    const LoadStatus status =
        loadGalleryInformation(s.folder, gallery.info, user, true, s.keepBad.gallery);
    if (status == LoadStatus::Loaded) {
      bench.options.GalleryCount = gallery.info.header.galleryCount;
      if (bench.options.ArchiveExpandStartSlot >= bench.options.GalleryCount) {
        bench.options.ArchiveExpandStartSlot = 0;
      }
      bench.options.hideGalleryAtStart = gallery.info.header.hideGalleryAtStart == 1;
      gallery.thumbnails.resize(gallery.info.header.thumbnailCount * kThumbnailBytes);
      loadGalleryThumbnails(s.folder, gallery.info.header.thumbnailCount, gallery.thumbnails);
    }
    s.gallery = std::move(gallery);
  }

  bench.pictures.rawSize =
      RawSize{bench.options.RawDefaultWidth, bench.options.RawDefaultHeight, 0};
}

unsigned applyOptionSheet(Workbench& bench, Options& pending, UserPort& user, BusyPort& busy,
                          ProgressPort& progress) {
  const ApplyContext context{bench.secondCopy, areaDifferenceShown(bench),
                             magnifiedWithInterpolation(bench)};
  const ApplyResult result = applyOptions(bench.options, pending, context);
  if ((result.effects & kEffectRescaleShifts) != 0) {
    changeDivision(bench.control, result.oldShiftUnit, result.newShiftUnit);
    rescalePartialShift(bench, result.oldShiftUnit, result.newShiftUnit);
  }
  refreshAfterOptions(bench, result.effects, user, busy, progress);
  return result.effects;
}

bool closeOptionSheet(Workbench& bench, const Options& atOpen, const Options& applied,
                      unsigned effects, UserPort& user) {
  if (restartNeeded(atOpen, bench.options, applied)) {
    user.tell(Icon::Info, text::tr(kRestartMessage));
    takeOverRestartOptions(bench.options, applied);
    return true;
  }
  if ((effects & kEffectSave) != 0) saveProgramSettingsNow(bench, user);
  return false;
}

void keepCustomColours(Workbench& bench, const std::array<std::uint32_t, 16>& colours) {
  bench.shell.customColours = colours;
}

void keepWindowRectangle(Workbench& bench, const WindowRectangle& rectangle) {
  bench.shell.window = rectangle;
}

bool saveProgramSettingsNow(Workbench& bench, UserPort& user) {
  if (!writes(bench)) return true;
  SettingsState& s = bench.settings;
  s.program.validRange = bench.control.validRange;
  s.program.controlWords = controlWordsOf(bench);
  putProgramRecord(bench);
  const bool saved =
      saveProgramSettings(s.folder, programSettingsOf(bench), user, s.keepBad.program);
  return saveOwnOptions(s.folder, bench.options, s.keepBad.ownOptions, user) && saved;
}

bool saveUserInfoNow(Workbench& bench, UserPort& user) {
  if (!writes(bench)) return true;
  SettingsState& s = bench.settings;
  putUserInfo(bench);
  return saveUserInfo(s.folder, bench.userEntries, s.user, user, s.keepBad.user);
}

bool saveSettingsAtShutdown(Workbench& bench, UserPort& user) {
  if (!writes(bench)) return true;
  SettingsState& s = bench.settings;
  bool saved = saveProgramSettingsNow(bench, user);
  if (s.gallery) {
    GalleryInformation info = s.gallery->info;
    info.header.galleryCount = bench.options.GalleryCount;
    info.header.hideGalleryAtStart = bench.options.hideGalleryAtStart ? 1 : 0;
    saved =
        saveGalleryInformation(s.folder, info, s.gallery->thumbnails, user, s.keepBad.gallery) &&
        saved;
  }
  saved = saveUserInfoNow(bench, user) && saved;
  saved = saveAssociations(s.folder, s.associations, user, s.keepBad.associations) && saved;
  return saved;
}

}  // namespace vemla::persist
