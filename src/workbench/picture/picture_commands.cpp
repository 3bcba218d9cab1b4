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
#include "workbench/commands/command_ids.h"
#include "workbench/commands/command_line.h"
#include "workbench/commands/command_state.h"
#include "workbench/commands/file_history.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr const char* kOverwriteQuestion = "画像%sを上書きしてもよいですか\n%s";
constexpr const char* kOverwriteFailed = "上書きできません";
constexpr const char* kSaveFailed = "保存できません";
constexpr std::array<const char*, 2> kPictureDigits{"１", "２"};
constexpr std::array<const char*, 2> kFileInformationBlocks{
    "（画像１）\n%s\n　　更新日時：%4d/%02d/%02d %2d:%02d\n",
    "（画像２）\n%s\n　　更新日時：%4d/%02d/%02d %2d:%02d\n"};
constexpr const char* kFileInformationSize = "大きさ　%d x %d";
constexpr int kPaneSide = ViewState::kPaneSize;
// The last-used name of the save-as file dialog.
constexpr std::size_t kSaveAsLastFile = 2;

bool validIndex(int index) {
  return index == 0 || index == 1;
}

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
    user.tell(Icon::Warning, msg::kEditingCommand);
    return false;
  }
  return true;
}

// Steps after a successful open of the pictures in `opened`: names, last-used names, recent
// pictures, history, and the user information file.
void recordOpen(Workbench& bench, UserPort& user, std::array<bool, 2> opened, bool recordHistory) {
  PictureState& state = bench.pictures;
  persist::SettingsState& settings = bench.settings;
  for (int index = 0; index < 2; ++index) {
    const std::string& name = state.pictures[at(index)].name;
    bench.shell.pendingNames[at(index)] = name;
    if (!opened[at(index)]) continue;
    if (isRealFileName(name)) settings.program.lastFiles[at(index)] = name;
    recordRecentPicture(settings.user, name, state.width, state.height, state.rawSize.offset);
  }
  if (recordHistory) {
    recordCombination(settings.user, state.pictures[0].name, state.pictures[1].name);
  }
  persist::saveUserInfoNow(bench, user);
}

// Replaces pictures by images: every image's pixels, colours and kind name are taken before
// any picture changes, so crossing the images over is safe.
int replacePicturesByImages(Workbench& bench, UserPort& user, BusyPort& busy,
                            ProgressPort& progress,
                            const std::vector<std::pair<int, int>>& imageToPicture) {
  if (!mayChangePictures(bench, user)) return -1;
  for (const auto& [image, picture] : imageToPicture) {
    if (!validIndex(image) || !validIndex(picture)) return -1;
  }
  struct Taken {
    Palette palette;
    std::string name;
  };
  std::vector<Taken> taken;
  for (const auto& [image, picture] : imageToPicture) {
    taken.push_back({imageDisplayPalette(bench, image), pseudoName(kindNameOf(bench, image + 1))});
  }
  const std::size_t bytes = pictureBytes(bench);
  for (std::size_t i = 0; i < imageToPicture.size(); ++i) {
    const auto [image, picture] = imageToPicture[i];
    std::memcpy(bench.store.plane(kPicture1 + picture), bench.store.plane(kImage1 + image), bytes);
    PictureMeta& meta = bench.pictures.pictures[at(picture)];
    meta.palette = taken[i].palette;
    meta.drawingPalette = taken[i].palette;
    meta.headers = buildBitmapHeaders(1, bench.pictures.width, bench.pictures.height);
    meta.name = std::move(taken[i].name);
  }
  updateTitles(bench, {true, true});
  refreshPictures(bench, user, busy, progress);
  return 0;
}

}  // namespace

int openPendingNames(Workbench& bench, UserPort& user, BusyPort& /*busy*/,
                     ProgressPort& /*progress*/, int mode, bool recordHistory) {
  if (mode != kOpenBoth && mode != kOpenPicture1 && mode != kOpenPicture2) return -1;
  const std::array<bool, 2> opens{mode != kOpenPicture2, mode != kOpenPicture1};
  // Copies: the pending names are rewritten after the open.
  const std::array<std::string, 2> names = bench.shell.pendingNames;
  for (int index = 0; index < 2; ++index) {
    if (opens[at(index)] && !nameFitsField(names[at(index)], user)) return -1;
  }
  // openPictureFiles runs the after-open refresh (titles, images, listeners) itself.
  if (openPictureFiles(bench, user, opens[0] ? &names[0] : nullptr, opens[1] ? &names[1] : nullptr,
                       mode != kOpenBoth) != 0) {
    return -1;
  }
  recordOpen(bench, user, opens, recordHistory);
  return 0;
}

int openRecentPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                      int picture, int entry) {
  if (!validIndex(picture) || entry < 0 || entry >= kRecentPictureCount) return -1;
  // A copy: opening reorders the list.
  const persist::RecentPicture recent = bench.settings.user.recent[at(entry)];
  if (recent.used != 1 || recent.name.empty()) return -1;

  PictureState& state = bench.pictures;
  const bool replaceOnly =
      state.picturesPresent && recent.width == state.width && recent.height == state.height;
  const int other = 1 - picture;
  bench.shell.pendingNames[at(picture)] = recent.name;
  if (!replaceOnly) bench.shell.pendingNames[at(other)].clear();

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
  const int mode = !replaceOnly ? kOpenBoth : picture == 0 ? kOpenPicture1 : kOpenPicture2;
  const int result = openPendingNames(bench, user, busy, progress, mode, false);
  // A refusal before the open must not leave the request for the next open.
  state.skipRawDialogOnce = false;
  if (result != 0 && useStoredSize) state.rawSize = previousSize;
  return result;
}

int openHistoryEntry(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     int entry) {
  if (entry < 0 || entry >= kHistoryEntryCount) return -1;
  const persist::HistoryEntry& history = bench.settings.user.history[at(entry)];
  if (history.used != 1) return -1;
  bench.shell.pendingNames = history.names;
  return openPendingNames(bench, user, busy, progress, kOpenBoth, true);
}

int reopenPictures(Workbench& bench, UserPort& user, BusyPort& /*busy*/, ProgressPort& /*progress*/,
                   int which) {
  const std::array<std::string, 2> names{bench.pictures.pictures[0].name,
                                         bench.pictures.pictures[1].name};
  switch (which) {
    case 0:
      if (!isRealFileName(names[0]) || !isRealFileName(names[1])) return -1;
      return openPictureFiles(bench, user, &names[0], &names[1], false);
    case 1:
      if (!isRealFileName(names[0])) return -1;
      return openPictureFiles(bench, user, &names[0], nullptr, !names[1].empty());
    case 2:
      if (!isRealFileName(names[1])) return -1;
      return openPictureFiles(bench, user, nullptr, &names[1], !names[0].empty());
    default:
      return -1;
  }
}

int swapPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress) {
  if (!mayChangePictures(bench, user)) return -1;
  std::uint8_t* first = bench.store.plane(kPicture1);
  std::swap_ranges(first, first + pictureBytes(bench), bench.store.plane(kPicture2));
  std::swap(bench.pictures.pictures[0], bench.pictures.pictures[1]);
  updateTitles(bench, {true, true});
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int copyPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                int from) {
  if (!validIndex(from) || !mayChangePictures(bench, user)) return -1;
  const int to = 1 - from;
  std::memcpy(bench.store.plane(kPicture1 + to), bench.store.plane(kPicture1 + from),
              pictureBytes(bench));
  PictureMeta& target = bench.pictures.pictures[at(to)];
  const PictureMeta& source = bench.pictures.pictures[at(from)];
  target.palette = source.palette;
  target.drawingPalette = source.palette;
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int imageToPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                   int image, int picture) {
  return replacePicturesByImages(bench, user, busy, progress, {{image, picture}});
}

int imagesToPictures(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     bool crossed) {
  return replacePicturesByImages(bench, user, busy, progress,
                                 {{0, crossed ? 1 : 0}, {1, crossed ? 0 : 1}});
}

int greyScalePicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     int picture) {
  if (!validIndex(picture) || !mayChangePictures(bench, user)) return -1;
  PictureMeta& meta = bench.pictures.pictures[at(picture)];
  meta.palette = greyRamp();
  meta.drawingPalette = meta.palette;
  refreshPictures(bench, user, busy, progress);
  return 0;
}

int clearPicture(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                 int picture) {
  if (!validIndex(picture)) return -1;
  const auto& pictures = bench.pictures.pictures;
  if (pictures[0].name.empty() || pictures[1].name.empty()) return -1;
  if (!mayChangePictures(bench, user)) return -1;
  std::memset(bench.store.plane(kPicture1 + picture), 0, pictureBytes(bench));
  PictureMeta& meta = bench.pictures.pictures[at(picture)];
  meta.name.clear();
  meta.palette = greyRamp();
  meta.drawingPalette = meta.palette;
  meta.headers = buildBitmapHeaders(1, bench.pictures.width, bench.pictures.height);
  // As after an open of this picture alone: only its title is rebuilt.
  updateTitles(bench, {picture == 0, picture == 1});
  refreshPictures(bench, user, busy, progress);
  return 0;
}

std::optional<std::string> fileInformationText(const Workbench& bench) {
  std::string text;
  for (int index = 0; index < 2; ++index) {
    const std::string& name = bench.pictures.pictures[at(index)].name;
    if (!isRealFileName(name)) continue;
    const std::optional<LocalDateTime> time = lastWriteTime(name);
    if (!time) continue;
    text += text::format(kFileInformationBlocks[at(index)], name.c_str(), time->year, time->month,
                         time->day, time->hour, time->minute);
  }
  if (text.empty()) return std::nullopt;
  return text + text::format(kFileInformationSize, bench.pictures.width, bench.pictures.height);
}

int overwritePicture(Workbench& bench, UserPort& user, int picture) {
  if (!validIndex(picture) || !bench.pictures.picturesPresent) return -1;
  const PictureMeta& meta = bench.pictures.pictures[at(picture)];
  if (!isRealFileName(meta.name)) return -1;
  if (!user.askYesNo(
          text::format(kOverwriteQuestion, kPictureDigits[at(picture)], meta.name.c_str()))) {
    return 1;
  }
  if (writePictureFile(meta.name, bench.pictures.width, bench.pictures.height, 1,
                       bench.store.plane(kShifted1 + picture), &meta.palette) != 0) {
    user.tell(Icon::Warning, kOverwriteFailed);
    return -1;
  }
  return 0;
}

int savePictureAs(Workbench& bench, UserPort& user, int picture, const std::string& path) {
  if (!validIndex(picture) || !bench.pictures.picturesPresent || path.empty()) return -1;
  // The path becomes the picture's name, which must fit its field.
  if (!nameFitsField(path, user)) return -1;
  PictureMeta& meta = bench.pictures.pictures[at(picture)];
  const Palette palette = bench.options.SaveBitmapAsGrey ? greyRamp() : meta.palette;
  if (writePictureFile(path, bench.pictures.width, bench.pictures.height, 1,
                       bench.store.plane(kShifted1 + picture), &palette) != 0) {
    user.tell(Icon::Warning, kSaveFailed);
    return -1;
  }
  meta.name = path;
  bench.settings.program.lastFiles[kSaveAsLastFile] = path;
  updateTitles(bench, {true, true});
  return 0;
}

int saveImageAs(Workbench& bench, UserPort& user, int image, const std::string& path) {
  if (!validIndex(image) || !bench.pictures.picturesPresent || path.empty()) return -1;
  int result = -1;
  if (bench.shell.saveDisplayedImage) {
    const PaneRaster& pane = bench.view.panes[at(image)];
    const std::size_t paneBytes = static_cast<std::size_t>(kPaneSide) * kPaneSide;
    if (pane.rendered() && pane.shown.size() == paneBytes) {
      const Palette palette = paletteOf(pane.colours);
      result = writePictureFile(path, kPaneSide, kPaneSide, 1, pane.shown.data(), &palette);
    }
  } else {
    const Palette palette =
        bench.options.SaveBitmapAsGrey ? greyRamp() : imageDisplayPalette(bench, image);
    result = writePictureFile(path, bench.pictures.width, bench.pictures.height, 1,
                              bench.store.plane(kImage1 + image), &palette);
  }
  if (result != 0) {
    user.tell(Icon::Warning, kSaveFailed);
    return -1;
  }
  bench.settings.program.lastFiles[kSaveAsLastFile] = path;
  return 0;
}

Palette imageDisplayPalette(const Workbench& bench, int image) {
  return paletteOf(paneColourTable(paneColoursOf(bench, image + 1)));
}

PasteDecision pasteDecision(const std::vector<std::string>& files, int command,
                            const std::array<std::string, 2>& currentNames) {
  PasteDecision decision;
  if (files.empty()) return decision;
  switch (command) {
    case kPaste:
      if (nameEndsWithExtension(files[0], ".vla")) {
        decision.action = PasteDecision::Action::OpenArchive;
        decision.archivePath = files[0];
        return decision;
      }
      decision.pendingNames = {files[0], files.size() > 1 ? files[1] : std::string()};
      decision.mode = kOpenBoth;
      break;
    case kPasteToPicture1:
      decision.pendingNames = {files[0], currentNames[1]};
      decision.mode = kOpenPicture1;
      break;
    case kPasteToPicture2:
      decision.pendingNames = {currentNames[0], files[0]};
      decision.mode = kOpenPicture2;
      break;
    default:
      return decision;
  }
  decision.action = PasteDecision::Action::OpenPictures;
  return decision;
}

}  // namespace vemla
