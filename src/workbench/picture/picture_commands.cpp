#include "workbench/picture/picture_commands.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "processing/colour_tables.h"
#include "text/format.h"
#include "workbench/commands/command_state.h"
#include "workbench/commands/file_history.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr const char* kOverwriteQuestion = text::N_("画像%sを上書きしてもよいですか\n%s");
constexpr const char* kOverwriteFailed = text::N_("上書きできません");
using msg::kSaveFailed;
constexpr std::array<const char*, 2> kPictureDigits{text::N_("１"), text::N_("２")};
constexpr std::array<const char*, 2> kFileInformationBlocks{
    text::N_("（画像１）\n%s\n　　更新日時：%4d/%02d/%02d %2d:%02d\n"),
    text::N_("（画像２）\n%s\n　　更新日時：%4d/%02d/%02d %2d:%02d\n")};
constexpr const char* kFileInformationSize = text::N_("大きさ　%d x %d");
constexpr int kPaneSide = ViewState::kPaneSize;

std::size_t at(int index) {
  return static_cast<std::size_t>(index);
}

std::size_t pictureBytes(const Workbench& bench) {
  return static_cast<std::size_t>(bench.pictures.width) *
         static_cast<std::size_t>(bench.pictures.height);
}

// Commands that change a picture need pictures and are refused while the edit dialog is open
// (it works on the unshifted pictures).
bool mayChangePictures(const Workbench& bench, UserPort& user) {
  if (!bench.pictures.picturesPresent) return false;
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditingCommand));
    return false;
  }
  return true;
}

// Steps after a successful open as `mode`: last-used names, recent pictures, history, and the
// user information file.
void recordOpen(Workbench& bench, UserPort& user, OpenMode mode, bool recordHistory) {
  const PictureState& state = bench.pictures;
  ShellState& shell = bench.shell;
  for (PictureSlot slot : kPictureSlots) {
    if (!opens(mode, slot)) continue;
    const std::string& name = state.pictures[index(slot)].name;
    recordOpenedFile(shell.lastFiles, slot, name);
    recordRecentPicture(shell.fileHistory, name, state.width, state.height, state.rawSize.offset);
  }
  if (recordHistory) {
    const std::array<std::string, 2> names = pictureNames(state);
    recordCombination(shell.fileHistory, names[index(PictureSlot::First)],
                      names[index(PictureSlot::Second)]);
  }
  persist::saveUserInfoNow(bench, user);
}

// Opens `names` as `mode` says.
int openNames(Workbench& bench, UserPort& user, const std::array<std::string, 2>& names,
              OpenMode mode) {
  return openPictureFiles(bench, user, &names[index(PictureSlot::First)],
                          &names[index(PictureSlot::Second)], mode);
}

// Replaces pictures by images: every image's pixels, colours and kind name are taken before
// any picture changes, so crossing the images over is safe.
int replacePicturesByImages(Workbench& bench, UserPort& user, BusyPort& busy,
                            ProgressPort& progress,
                            const std::vector<std::pair<ImageSlot, PictureSlot>>& imageToPicture) {
  if (!mayChangePictures(bench, user)) return -1;
  struct Taken {
    Palette palette;
    std::string name;
  };
  std::vector<Taken> taken;
  for (const auto& [image, picture] : imageToPicture) {
    taken.push_back({imageDisplayPalette(bench, image), pseudoName(kindNameOf(bench, image))});
  }
  const std::size_t bytes = pictureBytes(bench);
  for (std::size_t i = 0; i < imageToPicture.size(); ++i) {
    const auto [image, picture] = imageToPicture[i];
    std::memcpy(bench.store.plane(unshiftedPlane(picture)), shownImageOf(bench, image), bytes);
    PictureMeta& meta = bench.pictures.pictures[index(picture)];
    meta.palette = taken[i].palette;
    meta.drawingPalette = taken[i].palette;
    meta.headers = buildBitmapHeaders(1, bench.pictures.width, bench.pictures.height);
    meta.name = std::move(taken[i].name);
    meta.note.clear();
  }
  updateTitles(bench, {true, true});
  refreshPictures(bench, user, busy, progress);
  return 0;
}

}  // namespace

int openPictureNames(Workbench& bench, UserPort& user, BusyPort& /*busy*/,
                     ProgressPort& /*progress*/, const std::array<std::string, 2>& names,
                     OpenMode mode, bool recordHistory) {
  for (PictureSlot slot : kPictureSlots) {
    if (opens(mode, slot) && !nameFitsField(names[index(slot)], user)) return -1;
  }
  // openPictureFiles runs the after-open refresh (titles, images, listeners) itself.
  if (openNames(bench, user, names, mode) != 0) return -1;
  recordOpen(bench, user, mode, recordHistory);
  return 0;
}

int openRecentPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                      PictureSlot picture, int entry) {
  if (entry < 0 || entry >= kRecentPictureCount) return -1;
  // A copy: opening reorders the list.
  const persist::RecentPicture recent = bench.shell.fileHistory.recent[at(entry)];
  if (recent.used != 1 || recent.name.empty()) return -1;

  PictureState& state = bench.pictures;
  const bool replaceOnly =
      state.picturesPresent && recent.width == state.width && recent.height == state.height;
  // The other name is ignored when only this picture is replaced, and opens none otherwise.
  std::array<std::string, 2> names;
  names[index(picture)] = recent.name;

  const RawSize storedSize{recent.width, recent.height, recent.rawOffset};
  const bool sizeUsable = recent.width >= kMinPictureSize &&
                          recent.width <= bench.store.maxWidth() &&
                          recent.height >= kMinPictureSize &&
                          recent.height <= bench.store.maxHeight() && recent.rawOffset >= 0;
  // The stored size stands in for the raw size dialog's answer, and stays the dialog's value
  // like an answer would; a failed open leaves the previous value.
  const RawSize previousSize = state.rawSize;
  const bool useStoredSize = isRawName(recent.name) && sizeUsable;
  if (useStoredSize) {
    state.rawSize = storedSize;
    state.skipRawDialogOnce = true;
  }
  const OpenMode mode = replaceOnly ? openingOnly(picture) : OpenMode::Both;
  const int result = openPictureNames(bench, user, busy, progress, names, mode, false);
  // A refusal before the open must not leave the request for the next open.
  state.skipRawDialogOnce = false;
  if (result != 0 && useStoredSize) state.rawSize = previousSize;
  return result;
}

int openHistoryEntry(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     int entry) {
  if (entry < 0 || entry >= kHistoryEntryCount) return -1;
  const persist::HistoryEntry& history = bench.shell.fileHistory.history[at(entry)];
  if (history.used != 1) return -1;
  // A copy: opening reorders the history.
  const std::array<std::string, 2> names = history.names;
  return openPictureNames(bench, user, busy, progress, names, OpenMode::Both, true);
}

int reopenPictures(Workbench& bench, UserPort& user, BusyPort& /*busy*/, ProgressPort& /*progress*/,
                   std::optional<PictureSlot> only) {
  const std::array<std::string, 2> names = pictureNames(bench.pictures);
  if (!only) {
    if (!std::ranges::all_of(names, isRealFileName)) return -1;
    return openNames(bench, user, names, OpenMode::Both);
  }
  if (!isRealFileName(names[index(*only)])) return -1;
  // A nameless other picture is cleared: opening both reads only the named one.
  const bool keepOther = !names[index(other(*only))].empty();
  return openNames(bench, user, names, keepOther ? openingOnly(*only) : OpenMode::Both);
}

int swapPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  if (!mayChangePictures(bench, user)) return -1;
  std::uint8_t* first = bench.store.plane(kPicture1);
  std::swap_ranges(first, first + pictureBytes(bench), bench.store.plane(kPicture2));
  std::swap(bench.pictures.pictures[index(PictureSlot::First)],
            bench.pictures.pictures[index(PictureSlot::Second)]);
  updateTitles(bench, {true, true});
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int copyPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                PictureSlot from) {
  if (!mayChangePictures(bench, user)) return -1;
  const PictureSlot to = other(from);
  std::memcpy(bench.store.plane(unshiftedPlane(to)), bench.store.plane(unshiftedPlane(from)),
              pictureBytes(bench));
  PictureMeta& target = bench.pictures.pictures[index(to)];
  const PictureMeta& source = bench.pictures.pictures[index(from)];
  target.palette = source.palette;
  target.drawingPalette = source.palette;
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int imageToPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                   ImageSlot image, PictureSlot picture) {
  return replacePicturesByImages(bench, user, busy, progress, {{image, picture}});
}

int imagesToPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     bool crossed) {
  const PictureSlot first = crossed ? PictureSlot::Second : PictureSlot::First;
  return replacePicturesByImages(bench, user, busy, progress,
                                 {{ImageSlot::First, first}, {ImageSlot::Second, other(first)}});
}

int greyScalePicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     PictureSlot picture) {
  if (!mayChangePictures(bench, user)) return -1;
  PictureMeta& meta = bench.pictures.pictures[index(picture)];
  meta.palette = greyRamp();
  meta.drawingPalette = meta.palette;
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int clearPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                 PictureSlot picture) {
  const auto unnamed = [](const std::string& name) { return name.empty(); };
  if (std::ranges::any_of(pictureNames(bench.pictures), unnamed)) return -1;
  if (!mayChangePictures(bench, user)) return -1;
  std::memset(bench.store.plane(unshiftedPlane(picture)), 0, pictureBytes(bench));
  PictureMeta& meta = bench.pictures.pictures[index(picture)];
  meta.name.clear();
  meta.note.clear();
  meta.palette = greyRamp();
  meta.drawingPalette = meta.palette;
  meta.headers = buildBitmapHeaders(1, bench.pictures.width, bench.pictures.height);
  // As after an open of this picture alone: only its title is rebuilt.
  std::array<bool, 2> retitle{};
  retitle[index(picture)] = true;
  updateTitles(bench, retitle);
  refreshPictures(bench, user, busy, progress);
  return 0;
}

std::optional<std::string> fileInformationText(const Workbench& bench) {
  std::string text;
  for (PictureSlot slot : kPictureSlots) {
    const std::string& name = bench.pictures.pictures[index(slot)].name;
    if (!isRealFileName(name)) continue;
    const std::optional<LocalDateTime> time = lastWriteTime(name);
    if (!time) continue;
    text += text::format(text::tr(kFileInformationBlocks[index(slot)]), name.c_str(), time->year,
                         time->month, time->day, time->hour, time->minute);
  }
  if (text.empty()) return std::nullopt;
  return text +
         text::format(text::tr(kFileInformationSize), bench.pictures.width, bench.pictures.height);
}

int overwritePicture(Workbench& bench, UserPort& user, PictureSlot picture) {
  if (!bench.pictures.picturesPresent) return -1;
  const PictureMeta& meta = bench.pictures.pictures[index(picture)];
  if (!isRealFileName(meta.name)) return -1;
  if (!user.askYesNo(text::format(text::tr(kOverwriteQuestion),
                                  text::tr(kPictureDigits[index(picture)]), meta.name.c_str()))) {
    return 1;
  }
  if (writePictureFile(meta.name, bench.pictures.width, bench.pictures.height, 1,
                       bench.store.plane(shiftedPlane(picture)), &meta.palette) != 0) {
    user.tell(Icon::Warning, text::tr(kOverwriteFailed));
    return -1;
  }
  return 0;
}

int savePictureAs(Workbench& bench, UserPort& user, PictureSlot picture, const std::string& path) {
  if (!bench.pictures.picturesPresent || path.empty()) return -1;
  // The path becomes the picture's name, which must fit its field.
  if (!nameFitsField(path, user)) return -1;
  PictureMeta& meta = bench.pictures.pictures[index(picture)];
  const Palette palette = bench.options.SaveBitmapAsGrey ? greyRamp() : meta.palette;
  if (writePictureFile(path, bench.pictures.width, bench.pictures.height, 1,
                       bench.store.plane(shiftedPlane(picture)), &palette) != 0) {
    user.tell(Icon::Warning, text::tr(kSaveFailed));
    return -1;
  }
  meta.name = path;
  meta.note.clear();  // the file saved is the 8-bit picture itself
  bench.shell.lastFiles.saveAs = path;
  updateTitles(bench, {true, true});
  return 0;
}

int saveImageAs(Workbench& bench, UserPort& user, ImageSlot image, const std::string& path) {
  if (!bench.pictures.picturesPresent || path.empty()) return -1;
  int result = -1;
  if (bench.shell.saveDisplayedImage) {
    const PaneRaster& pane = bench.view.panes[index(image)];
    const std::size_t paneBytes = static_cast<std::size_t>(kPaneSide) * kPaneSide;
    if (pane.rendered() && pane.shown.size() == paneBytes) {
      const Palette palette = paletteOf(pane.colours);
      result = writePictureFile(path, kPaneSide, kPaneSide, 1, pane.shown.data(), &palette);
    }
  } else {
    const Palette palette =
        bench.options.SaveBitmapAsGrey ? greyRamp() : imageDisplayPalette(bench, image);
    result = writePictureFile(path, bench.pictures.width, bench.pictures.height, 1,
                              shownImageOf(bench, image), &palette);
  }
  if (result != 0) {
    user.tell(Icon::Warning, text::tr(kSaveFailed));
    return -1;
  }
  bench.shell.lastFiles.saveAs = path;
  return 0;
}

Palette imageDisplayPalette(const Workbench& bench, ImageSlot image) {
  return paletteOf(paneColourTable(paneColoursOf(bench, image)));
}

PasteDecision pasteDecision(const std::vector<std::string>& files, std::optional<PictureSlot> into,
                            const std::array<std::string, 2>& currentNames) {
  PasteDecision decision;
  if (files.empty()) return decision;
  if (into) {
    decision.names = currentNames;
    decision.names[index(*into)] = files.front();
    decision.mode = openingOnly(*into);
  } else if (nameEndsWithExtension(files[0], ".vla")) {
    decision.action = PasteDecision::Action::OpenArchive;
    decision.archivePath = files[0];
    return decision;
  } else {
    decision.names = {files[0], files.size() > 1 ? files[1] : std::string()};
    decision.mode = OpenMode::Both;
  }
  decision.action = PasteDecision::Action::OpenPictures;
  return decision;
}

}  // namespace vemla
