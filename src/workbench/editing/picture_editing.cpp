#include "workbench/editing/picture_editing.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

#include "picture/file_helpers.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr char kSnapshotKind = 'E';

std::size_t pictureBytes(const Workbench& bench) {
  return static_cast<std::size_t>(bench.pictures.width) *
         static_cast<std::size_t>(bench.pictures.height);
}

PictureEditMemory& memoryOf(Workbench& bench) {
  return bench.shell.pictureEdit;
}

bool writeSnapshot(Workbench& bench, const std::string& path) {
  const std::uint8_t* pixels = bench.store.plane(unshiftedPlane(memoryOf(bench).session.picture));
  return writeFileAtomically(path, std::span<const std::uint8_t>(pixels, pictureBytes(bench)));
}

// The end of every action that ran: the refresh chain and the modified flag.
int changed(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  memoryOf(bench).session.modified = true;
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int refusedOrChanged(const char* refusal, Workbench& bench, UserPort& user, BusyPort& busy,
                     ProgressPort& progress) {
  if (refusal) {
    user.tell(Icon::Warning, text::tr(refusal));
    return -1;
  }
  return changed(bench, user, busy, progress);
}

}  // namespace

EditPlane editedPlane(Workbench& bench) {
  return {bench.store.plane(unshiftedPlane(memoryOf(bench).session.picture)), bench.pictures.width,
          bench.pictures.height};
}

int startPictureEditing(Workbench& bench, PictureSlot picture, UserPort& user) {
  if (!bench.pictures.picturesPresent || bench.pictures.editing) return -1;
  PictureEditMemory& memory = memoryOf(bench);
  memory.session = EditSession{};
  memory.session.picture = picture;
  const std::optional<std::string> path =
      temporaryName(bench.settings.folder, false, kSnapshotKind, false);
  if (!path || !writeSnapshot(bench, *path)) {
    if (path) deleteFile(*path);
    user.tell(Icon::Error, text::tr(msg::kSnapshotWriteFailed));
    return -1;
  }
  memory.session.snapshot = *path;
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (width != memory.openedWidth || height != memory.openedHeight)
    memory.settings.range.rectangle = {0, 0, width - 1, height - 1};
  memory.openedWidth = width;
  memory.openedHeight = height;
  bench.pictures.editing = true;
  return 0;
}

int updatePictureSnapshot(Workbench& bench, UserPort& user) {
  EditSession& session = memoryOf(bench).session;
  if (!writeSnapshot(bench, session.snapshot)) {
    user.tell(Icon::Error, text::tr(msg::kSnapshotWriteFailed));
    return -1;
  }
  session.modified = false;
  session.changedCells.clear();
  return 0;
}

int undoPictureEdits(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  EditSession& session = memoryOf(bench).session;
  if (!session.modified) return 0;
  if (!user.askYesNo(text::tr(msg::kEditsLost))) return -1;
  const std::size_t bytes = pictureBytes(bench);
  // The whole file is read and its size checked before the picture is touched.
  const auto saved = readWholeFile(session.snapshot, bytes);
  if (!saved || saved->size() != bytes) {
    user.tell(Icon::Error, text::tr(msg::kSnapshotReadFailed));
    return -1;
  }
  std::memcpy(editedPlane(bench).pixels, saved->data(), bytes);
  session.modified = false;
  session.changedCells.clear();
  refreshPictures(bench, user, busy, progress);
  return 1;
}

bool cancelPictureEditing(Workbench& bench, UserPort& user, BusyPort& busy,
                          ProgressPort& progress) {
  if (undoPictureEdits(bench, user, busy, progress) < 0) return false;
  finishPictureEditing(bench);
  return true;
}

void setEditHexadecimal(Workbench& bench, bool on) {
  bench.shell.pictureEdit.settings.hexadecimal = on;
}

void resetEditRanges(Workbench& bench) {
  EditSettings& settings = bench.shell.pictureEdit.settings;
  settings.range.rectangle = {0, 0, bench.pictures.width - 1, bench.pictures.height - 1};
  settings.grey.lower = 0;
  settings.grey.upper = 255;
}

void resetConversionTable(Workbench& bench) {
  bench.shell.pictureEdit.settings.table = identityTable();
}

void interpolateConversionTable(Workbench& bench, int from, int to) {
  interpolateTable(bench.shell.pictureEdit.settings.table, from, to);
}

void finishPictureEditing(Workbench& bench) {
  EditSession& session = memoryOf(bench).session;
  if (!session.snapshot.empty()) deleteFile(session.snapshot);
  session = EditSession{};
  bench.pictures.editing = false;
}

int editOperate(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  const EditSettings& settings = memoryOf(bench).settings;
  const std::optional<Operand> operand = parseOperand(settings.operand);
  if (!operand) {
    user.tell(Icon::Warning, text::tr(kBadOperand));
    return -1;
  }
  if (const char* refusal = operandRefusal(settings.operation, *operand)) {
    user.tell(Icon::Warning, text::tr(refusal));
    return -1;
  }
  applyTable(editedPlane(bench), settings.range,
             operationTable(settings.operation, *operand, settings.grey));
  return changed(bench, user, busy, progress);
}

int editFlip(Workbench& bench, EditFlip flip, UserPort& user, BusyPort& busy,
             ProgressPort& progress) {
  const CoordinateRange& range = memoryOf(bench).settings.range;
  const char* refusal = flip == EditFlip::Horizontal ? flipHorizontal(editedPlane(bench), range)
                                                     : flipVertical(editedPlane(bench), range);
  return refusedOrChanged(refusal, bench, user, busy, progress);
}

int editInvert(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  applyTable(editedPlane(bench), memoryOf(bench).settings.range, inversionTable());
  return changed(bench, user, busy, progress);
}

int editRotate(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  PictureEditMemory& memory = memoryOf(bench);
  const char* refusal =
      rotateRectangle(editedPlane(bench), memory.settings.range, memory.settings.angle, memory.work,
                      bench.workers.parallelFor());
  return refusedOrChanged(refusal, bench, user, busy, progress);
}

int editShift(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  PictureEditMemory& memory = memoryOf(bench);
  const EditSettings& s = memory.settings;
  const int division = bench.options.ShiftUnit;
  const ShiftAmount amount{s.right, s.pixelsX, std::clamp(s.stepsX, 0, division - 1),
                           s.down,  s.pixelsY, std::clamp(s.stepsY, 0, division - 1)};
  const char* refusal =
      shiftRectangle(editedPlane(bench), s.range, division, bench.options.ShiftInterpolation,
                     amount, memory.work, bench.workers.parallelFor());
  return refusedOrChanged(refusal, bench, user, busy, progress);
}

int editConvert(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  const EditSettings& settings = memoryOf(bench).settings;
  applyTable(editedPlane(bench), settings.range, settings.table);
  return changed(bench, user, busy, progress);
}

bool editSetCell(Workbench& bench, int x, int y, bool rightButton) {
  PictureEditMemory& memory = memoryOf(bench);
  const std::uint8_t value =
      clickValue(rightButton ? memory.settings.rightValue : memory.settings.leftValue);
  if (!setPixel(editedPlane(bench), x, y, value)) return false;
  memory.session.changedCells.insert({x, y});
  memory.session.modified = true;
  return true;
}

void refreshAfterEdit(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  refreshPictures(bench, user, busy, progress);
}

}  // namespace vemla
