#include "workbench/gallery/archive_flows.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <thread>

#include "editing/small_dialogs.h"
#include "gallery/messages.h"
#include "gallery/work_memory.h"
#include "picture/byte_source.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "picture/true_colour.h"
#include "processing/ordered_parallel.h"
#include "processing/viewer_file.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/slot_content.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/rgb_ratio_memory.h"

namespace vemla {
namespace {

int compressionThreads(int requested) {
  if (requested > 0) return requested;
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(cores), 1, 4);
}

// Brackets an operation with the wait cursor and the progress window.
class ProgressScope {
 public:
  ProgressScope(ProgressPort& progress, BusyPort& busy, const char* text, int total)
      : progress_(progress), busy_(busy) {
    busy_.begin();
    progress_.setText(text);
    progress_.start(total);
  }
  ~ProgressScope() {
    progress_.finish();
    busy_.end();
  }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  ProgressPort& progress_;
  BusyPort& busy_;
};

// ---- Saving slots ------------------------------------------------------------------------

// One chosen slot, made ready for appending on a worker thread.
struct SlotItem {
  enum class Fate { Skip, Over, Append } fate = Fate::Skip;
  int status = 0;  // 0, or why the save must end
  WorkMemory content{0};
  WorkMemory work{0};
  PreparedArchiveItem prepared;
};

// Reads exactly the slot's content size from its file.
bool readSlotFile(const std::string& path, std::span<std::uint8_t> buffer) {
  FileSource in(path);
  return in.isOpen() && in.read(buffer.data(), buffer.size()) == buffer.size();
}

SlotItem prepareSlot(const persist::GallerySlot& record, const std::string& path, bool skipEmpty,
                     const SlotLimits& limits) {
  SlotItem item;
  if (record.kind == kSlotOver) {
    item.fate = SlotItem::Fate::Over;
    return item;
  }
  if (record.kind == kSlotEmpty) {
    if (skipEmpty) return item;
    item.fate = SlotItem::Fate::Append;
    item.status = prepareArchiveItem(ArchiveItemInfo{}, {}, {}, item.prepared);
    return item;
  }
  item.fate = SlotItem::Fate::Append;
  const std::int64_t bytes = slotContentBytes(record);
  if (bytes < 0 || static_cast<std::uint64_t>(bytes) > limits.dataLimit()) {
    item.status = kSlotFailed;
    return item;
  }
  item.content = WorkMemory(static_cast<std::uint64_t>(bytes));
  // The work buffer has the capacity of the data limit, as for every caller; it is not
  // initialised, so only the pages the stream fills are ever touched.
  item.work = WorkMemory(limits.dataLimit());
  if (!item.content.ok() || !item.work.ok() ||
      !readSlotFile(path, item.content.span().first(static_cast<std::size_t>(bytes)))) {
    item.status = kSlotFailed;
    return item;
  }
  ArchiveItemInfo info;
  info.kind = record.kind;
  info.width = record.width;
  info.height = record.kind == kSlotData ? 1 : record.height;
  info.bytesPerPixel = record.kind == kSlotData ? 1 : slotBytesPerPixel(record);
  info.title = record.title;
  info.hasPalette = record.kind == kSlotPicture;
  info.palette = record.palette;
  item.status = prepareArchiveItem(info, item.content.span(), item.work.span(), item.prepared);
  return item;
}

void tellSaveResult(UserPort& user, int result, bool overSkipped) {
  if (result < 0 && result != kArchiveFull) {
    user.tell(Icon::Error, text::format(text::tr(msg::kSaveFailedCode), result));
  }
  std::string warnings;
  if (result == kArchiveFull) warnings += text::format(text::tr(msg::kSaveLimitWarning), kArchiveMaxItems);
  if (overSkipped) warnings += text::tr(msg::kSaveOverWarning);
  if (!warnings.empty()) user.tell(Icon::Warning, warnings);
}

// ---- Expanding items ---------------------------------------------------------------------

void tellArchiveError(UserPort& user, int result, const char* otherwise) {
  if (result == kArchiveNotArchive) {
    user.tell(Icon::Warning, text::tr(msg::kNotArchive));
  } else {
    user.tell(Icon::Error, text::tr(otherwise));
  }
}

// ---- Opening as pictures -----------------------------------------------------------------

enum class Problem { None, Missing, NotPicture1, OutOfRange1, NotPicture2, OutOfRange2, Differ };

const char* optionReason(Problem problem) {
  switch (problem) {
    case Problem::Missing:
      return text::tr(msg::kNumberMissing);
    case Problem::NotPicture1:
      return text::tr(msg::kNumber1NotPicture);
    case Problem::OutOfRange1:
      return text::tr(msg::kNumber1OutOfRange);
    case Problem::NotPicture2:
      return text::tr(msg::kNumber2NotPicture);
    case Problem::OutOfRange2:
      return text::tr(msg::kNumber2OutOfRange);
    case Problem::Differ:
      return text::tr(msg::kNumbersDiffer);
    case Problem::None:
      break;
  }
  return "";
}

std::string dialogReason(Problem problem, const SlotLimits& limits) {
  switch (problem) {
    case Problem::NotPicture1:
    case Problem::NotPicture2:
      return text::tr(msg::kChosenNotPicture);
    case Problem::OutOfRange1:
    case Problem::OutOfRange2:
      return text::format(text::tr(msg::kChosenOutOfRange), kMinPictureSize, kMinPictureSize, limits.maxWidth,
                          limits.maxHeight);
    case Problem::Differ:
      return text::tr(msg::kChosenSizesDiffer);
    default:
      return text::tr(msg::kNumberMissing);
  }
}

// Checks the chosen picture numbers in the order of the rules: every number exists, picture 1 is
// a picture within the limits, then picture 2, then both have the same size. `status` takes a
// read failure.
Problem checkPictureNumbers(const ArchiveOpenChoice& choice, int count, const SlotLimits& limits,
                            int& status) {
  status = 0;
  const std::array<int, 2> numbers{choice.picture1, choice.picture2};
  for (const int number : numbers) {
    if (number < 0 || number > count) return Problem::Missing;
  }
  std::array<ArchiveItemInfo, 2> items;
  for (std::size_t k = 0; k < 2; ++k) {
    if (numbers[k] == 0) continue;
    ArchiveItemRead read;
    status = readArchiveItem(choice.path, numbers[k], read);
    if (status != 0) return Problem::None;
    items[k] = read.info;
    if (items[k].kind != kSlotPicture) return k == 0 ? Problem::NotPicture1 : Problem::NotPicture2;
    if (!limits.pictureFits(items[k].width, items[k].height)) {
      return k == 0 ? Problem::OutOfRange1 : Problem::OutOfRange2;
    }
  }
  if (numbers[0] != 0 && numbers[1] != 0 &&
      (items[0].width != items[1].width || items[0].height != items[1].height)) {
    return Problem::Differ;
  }
  return Problem::None;
}

// One chosen picture read and made 8-bit.
struct OpenedPicture {
  WorkMemory pixels{0};
  Palette palette = greyRamp();
  std::string name;
  int width = 0;
  int height = 0;
};

// Reads item `number` into `picture`; 0, 1 when the ratio dialog was cancelled, or the archive
// result after its message.
int readPicture(Workbench& bench, UserPort& user, const std::string& path, int number,
                PictureSlot slot, std::span<std::uint8_t> content, std::span<std::uint8_t> work,
                OpenedPicture& picture) {
  ArchiveItemRead read;
  const int result = readArchiveItem(path, number, read, content, work);
  if (result != 0) {
    tellArchiveError(user, result, msg::kArchivePictureReadFailed);
    return result;
  }
  const ArchiveItemInfo& info = read.info;
  const std::size_t pixels =
      static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
  picture.pixels = WorkMemory(pixels);
  if (!picture.pixels.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  picture.width = info.width;
  picture.height = info.height;
  // Named with the stored form of an untitled item's word, since the name may become a
  // slot's title. Built by appending: gcc 12 at -O3 misreports "literal" + std::string as an overlapping copy.
  picture.name = std::string("<").append(titleOrUntitled(info.title)).append(">");
  if (info.bytesPerPixel == 1) {
    std::memcpy(picture.pixels.data(), content.data(), pixels);
    picture.palette = info.palette;
    return 0;
  }
  RgbRatioMemory memory(bench, user);
  return trueColourTo8Bit(bench.options.TrueColourOpenMode, bench.options.AskRatioPerFile,
                          bench.options.GreyRatio, memory, rgbRatioFileSuffix(slot), content.data(),
                          info.bytesPerPixel, info.width, info.height, picture.pixels.data(),
                          picture.palette)
             ? 0
             : kSlotAbandoned;
}

}  // namespace

std::string archiveListLine(int number, const ArchiveItemInfo& item, const SlotLimits& limits) {
  const std::string title = shownTitle(item.title);
  const char* mark = item.bytesPerPixel >= 3 ? msg::kTrueColourMark : "";
  switch (item.kind) {
    case kSlotPicture:
      return text::format(limits.pictureFits(item.width, item.height) ? text::tr(msg::kListPicture)
                                                                      : msg::kListOverPicture,
                          number, title.c_str(), mark, item.width, item.height);
    case kSlotData:
      return text::format(text::tr(static_cast<std::uint64_t>(item.width) <= limits.dataLimit()
                                       ? msg::kListData
                                       : msg::kListOverData),
                          number, title.c_str(), item.width);
    default:
      return text::format(text::tr(msg::kListEmpty), number);
  }
}

void rememberSaveChoices(Workbench& bench, bool skipEmpty, bool append) {
  bench.gallery.saveSkipEmpty = skipEmpty;
  bench.gallery.saveAppend = append;
}

namespace {

// The chosen slots that exist, in order and once each; none chosen means every slot.
std::vector<int> slotsToSave(const std::vector<int>& requested, int count) {
  std::vector<int> chosen;
  for (const int slot : requested) {
    if (slot >= 0 && slot < count) chosen.push_back(slot);
  }
  if (requested.empty()) {
    for (int slot = 0; slot < count; ++slot) chosen.push_back(slot);
  }
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

// Where the items are appended: the existing archive when it is appended to, else a new
// archive built in a replacement of the file that takes its place only when complete. An
// existing file is appended to only when its directory can be read; one that cannot be read is
// never replaced behind the operator's back. 0, or the failure already told.
int openSaveTarget(UserPort& user, const SaveSlotsRequest& request,
                   std::optional<FileReplacement>& replacement, std::string& target) {
  bool createNew = true;
  std::error_code error;
  if (request.append && std::filesystem::exists(request.path, error)) {
    std::vector<ArchiveItemInfo> items;
    const int existing = readArchiveDirectory(request.path, items);
    if (existing < 0) {
      tellSaveResult(user, existing, false);
      return existing;
    }
    createNew = existing == 0;
  }
  target = request.path;
  if (createNew) {
    const auto header = emptyArchiveHeader();
    replacement.emplace(request.path);
    if (!replacement->isOpen() || !replacement->write(header.data(), header.size())) {
      tellSaveResult(user, kArchiveCannotOpen, false);
      return kArchiveCannotOpen;
    }
    target = replacement->temporaryPath();
  }
  return 0;
}

// Prepares the chosen slots on worker threads and appends them to `target` in order, with the
// progress window. The first failure ends it; `overSkipped` tells of slots too large to keep.
int appendSlotsToArchive(const Workbench& bench, ProgressPort& progress, BusyPort& busy,
                         const SaveSlotsRequest& request, const std::vector<int>& chosen,
                         const std::string& target, bool& overSkipped) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  std::vector<persist::GallerySlot> records;
  for (const int slot : chosen)
    records.push_back(gallery->info.slotRecords[static_cast<std::size_t>(slot)]);
  const SlotLimits limits = slotLimits(bench.options);
  const std::string& folder = bench.settings.folder;
  int result = 0;
  ProgressScope scope(progress, busy, text::tr(msg::kSaveProgress), static_cast<int>(chosen.size()));
  runInOrder<SlotItem>(
      static_cast<int>(chosen.size()), compressionThreads(request.threads),
      [&](int i) {
        // A worker thread must not throw: running out of memory ends the save like a
        // slot file that cannot be read.
        try {
          return prepareSlot(records[static_cast<std::size_t>(i)],
                             slotFilePath(folder, chosen[static_cast<std::size_t>(i)]),
                             request.skipEmpty, limits);
        } catch (const std::bad_alloc&) {
          SlotItem failed;
          failed.fate = SlotItem::Fate::Append;
          failed.status = kSlotFailed;
          return failed;
        }
      },
      [&](int i, SlotItem& item) {
        progress.report(i + 1);
        if (item.fate == SlotItem::Fate::Over) overSkipped = true;
        if (item.fate != SlotItem::Fate::Append) return true;
        result = item.status != 0 ? item.status : appendPreparedArchiveItem(target, item.prepared);
        return result >= 0;
      });
  return result;
}

}  // namespace

int saveSlotsToArchive(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                       const SaveSlotsRequest& request) {
  if (liveGallery(bench) == nullptr) return kSlotNotUsable;
  const std::vector<int> chosen = slotsToSave(request.chosenSlots, galleryCount(bench));
  std::optional<FileReplacement> replacement;
  std::string target;
  if (const int opened = openSaveTarget(user, request, replacement, target); opened != 0) {
    return opened;
  }
  bool overSkipped = false;
  int result = appendSlotsToArchive(bench, progress, busy, request, chosen, target, overSkipped);
  if (replacement) {
    // The new archive replaces the file only when it is complete (a full archive counts: every
    // item in it is whole); an uncommitted replacement is removed.
    const bool keep = result >= 0 || result == kArchiveFull;
    if (keep && !replacement->commit()) result = kArchiveBroken;
  }
  tellSaveResult(user, result, overSkipped);
  return result;
}

namespace {

// The chosen item numbers that exist in an archive of `count` items; none chosen means all.
std::vector<int> itemsToExpand(const std::vector<int>& requested, int count) {
  std::vector<int> numbers;
  for (const int number : requested) {
    if (number >= 1 && number <= count) numbers.push_back(number);
  }
  if (requested.empty()) {
    for (int number = 1; number <= count; ++number) numbers.push_back(number);
  }
  return numbers;
}

// Where an expansion stands: the next slot to fill, the first failure, and whether the
// gallery ran out of slots or items were too large for a slot.
struct ExpandProgress {
  int slot = 0;
  int result = 0;
  bool full = false;
  bool over = false;
};

// Puts the read item `info` (content in `content`) into `slot`. False when it cannot be kept.
bool placeItemInSlot(Workbench& bench, int slot, const ArchiveItemInfo& info,
                     std::span<std::uint8_t> content) {
  if (info.kind == kSlotPicture) {
    SlotPicture picture;
    picture.pixels = content;
    picture.width = info.width;
    picture.height = info.height;
    picture.bytesPerPixel = info.bytesPerPixel;
    picture.palette = &info.palette;
    picture.title = info.title;
    return placePictureInSlot(bench, slot, picture);
  }
  return placeDataInSlot(bench, slot, content.first(static_cast<std::size_t>(info.width)),
                         info.title);
}

// Reads the items `numbers` one by one into the slots from `state.slot` on, with the progress
// window. An empty item empties its slot unless empty items are skipped; an item too large for a
// slot is passed over.
void expandItemsIntoSlots(Workbench& bench, ProgressPort& progress, BusyPort& busy,
                          const ExpandRequest& request, const std::vector<int>& numbers,
                          WorkMemory& content, WorkMemory& work, ExpandProgress& state) {
  persist::HeldGallery* gallery = liveGallery(bench);
  const int count = galleryCount(bench);
  const SlotLimits limits = slotLimits(bench.options);
  ProgressScope scope(progress, busy, text::tr(msg::kExpandProgress), static_cast<int>(numbers.size()));
  for (std::size_t index = 0; index < numbers.size(); ++index) {
    if (state.slot >= count) {
      state.full = true;
      return;
    }
    ArchiveItemRead read;
    state.result = readArchiveItem(request.path, numbers[index], read, content.span(), work.span());
    progress.report(static_cast<int>(index) + 1);
    const ArchiveItemInfo& info = read.info;
    if (state.result == kArchiveTooLarge ||
        (state.result == 0 && info.kind == kSlotPicture &&
         !limits.pictureFits(info.width, info.height))) {
      state.over = true;
      state.result = 0;
      continue;
    }
    if (state.result != 0) return;
    if (info.kind == kSlotEmpty) {
      if (request.skipEmpty) continue;
      gallery->info.slotRecords[static_cast<std::size_t>(state.slot)].kind = kSlotEmpty;
      bench.gallery.associations[static_cast<std::size_t>(state.slot)] = {};
      ++state.slot;
      continue;
    }
    if (!placeItemInSlot(bench, state.slot, info, content.span())) {
      state.result = kSlotFailed;
      return;
    }
    ++state.slot;
  }
}

}  // namespace

int expandArchiveItems(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                       const ExpandRequest& request) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr) return kSlotAbandoned;
  ArchiveItemRead head;
  if (const int result = readArchiveItem(request.path, 0, head); result != 0) {
    tellArchiveError(user, result, msg::kExpandFailed);
    return result;
  }
  if (head.count == 0 || (request.expectedCount >= 0 && request.expectedCount != head.count)) {
    return kSlotAbandoned;
  }
  const std::vector<int> numbers = itemsToExpand(request.numbers, head.count);
  if (numbers.empty()) return kSlotAbandoned;

  const int count = galleryCount(bench);
  const SlotLimits limits = slotLimits(bench.options);
  WorkMemory content(limits.dataLimit());
  WorkMemory work(limits.dataLimit());
  if (!content.ok() || !work.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  const int start = request.startSlot >= 0 && request.startSlot < count ? request.startSlot : 0;
  // The slots the items may fill are emptied in VemlaGinf.dat once, before their files change.
  std::vector<int> filled;
  for (int slot = start; slot < count && filled.size() < numbers.size(); ++slot) {
    filled.push_back(slot);
  }
  if (!releaseSlotsOnDisk(bench, filled)) {
    tellArchiveError(user, kArchiveBroken, msg::kExpandFailed);
    return kSlotFailed;
  }
  ExpandProgress state;
  state.slot = start;
  expandItemsIntoSlots(bench, progress, busy, request, numbers, content, work, state);

  if (state.result < 0) tellArchiveError(user, state.result, msg::kExpandFailed);
  std::string warnings;
  if (state.full) warnings += text::tr(msg::kExpandFullWarning);
  if (state.over) warnings += text::tr(msg::kExpandOverWarning);
  if (!warnings.empty()) user.tell(Icon::Warning, warnings);
  gallery->info.header.firstShownSlot = std::clamp(start / 4 * 4, 0, std::max(count - 4, 0));
  saveGalleryNow(bench, user);
  return state.result;
}

std::optional<ArchiveItemOpening> openArchiveItem(Workbench& bench, UserPort& user,
                                                  const std::string& path, int number) {
  ArchiveItemOpening opening;
  ArchiveItemRead head;
  if (const int result = readArchiveItem(path, number, head); result != 0) {
    tellArchiveError(user, result, msg::kArchivePictureReadFailed);
    return std::nullopt;
  }
  opening.info = head.info;
  const ArchiveItemInfo& info = opening.info;
  if (info.kind == kSlotEmpty) return std::nullopt;
  const SlotLimits limits = slotLimits(bench.options);
  // The compressed stream may not exceed the largest content either.
  WorkMemory work(limits.dataLimit());
  const auto readContent = [&](std::span<std::uint8_t> buffer) {
    ArchiveItemRead read;
    const int result = readArchiveItem(path, number, read, buffer, work.span());
    return work.ok() && result == 0 && read.info.kind == info.kind &&
           read.info.width == info.width && read.info.height == info.height &&
           read.info.bytesPerPixel == info.bytesPerPixel;
  };
  if (info.kind == kSlotData) {
    if (static_cast<std::uint64_t>(std::max(info.width, 0)) > limits.dataLimit()) {
      user.tell(Icon::Warning, text::tr(msg::kDataLimitExceeded));
      return std::nullopt;
    }
    opening.data = writeDataForOpening(bench, user, info.title,
                                       static_cast<std::uint64_t>(info.width), readContent);
    if (!opening.data) return std::nullopt;
    return opening;
  }
  if (info.width > bench.options.MaxPictureWidth || info.height > bench.options.MaxPictureHeight) {
    user.tell(Icon::Warning, text::tr(kViewerTooLarge));
    return std::nullopt;
  }
  const std::uint64_t bytes = static_cast<std::uint64_t>(std::max(info.width, 0)) *
                              static_cast<std::uint64_t>(std::max(info.height, 0)) *
                              static_cast<std::uint64_t>(info.bytesPerPixel);
  opening.content = WorkMemory(bytes);
  if (!opening.content.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return std::nullopt;
  }
  if (bytes == 0 || !readContent(opening.content.span())) {
    user.tell(Icon::Error, text::tr(msg::kArchivePictureReadFailed));
    return std::nullopt;
  }
  return opening;
}

void takePictureSelection(std::vector<int> selected, ArchiveOpenChoice& choice) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  choice.picture1 = selected.size() > 0 ? selected[0] : 0;
  choice.picture2 = selected.size() > 1 ? selected[1] : 0;
}

ArchiveOpenChoice choiceFromOptions(const Workbench& bench, const std::string& path) {
  const Options& options = bench.options;
  ArchiveOpenChoice choice;
  choice.path = path;
  choice.picture1 = options.ArchiveOpenPicture1 ? options.ArchivePicture1Number + 1 : 0;
  choice.picture2 = options.ArchiveOpenPicture2 ? options.ArchivePicture2Number + 1 : 0;
  choice.expand = options.ArchiveExpandToGallery && galleryCount(bench) > 0;
  choice.startSlot = options.ArchiveExpandStartSlot;
  choice.skipEmpty = options.ArchiveSkipEmpty;
  for (int i = 0; i < kArchiveMaxItems; ++i) {
    if (options.ArchiveExpandNumbers[static_cast<std::size_t>(i)])
      choice.expandNumbers.push_back(i + 1);
  }
  return choice;
}

namespace {

// Settles which items of the archive to open: the options' choice, or the selection dialog's
// when the path was not given, the options ask for it on a drop, or the operator chooses it
// after the options' numbers did not fit the archive. 0 with `choice` and the archive's `head`,
// kSlotAbandoned when cancelled, or the failure already told.
int settleArchiveChoice(Workbench& bench, UserPort& user, ArchiveOpenDialog& dialog,
                        const std::string& path, bool pathKnown, ArchiveOpenChoice& choice,
                        ArchiveItemRead& head) {
  const SlotLimits limits = slotLimits(bench.options);
  bool useDialog = !pathKnown || bench.options.ArchiveSelectOnDrop;
  choice = choiceFromOptions(bench, path);
  ArchiveOpenChoice initial = bench.gallery.lastOpenChoice.value_or(choice);
  if (pathKnown || initial.path.empty()) initial.path = path;
  if (galleryCount(bench) == 0) initial.expand = false;
  for (;;) {
    if (useDialog) {
      const std::optional<ArchiveOpenChoice> chosen = dialog.chooseArchiveItems(initial);
      if (!chosen) return kSlotAbandoned;
      choice = *chosen;
      bench.gallery.lastOpenChoice = choice;
      initial = choice;
    }
    if (const int result = readArchiveItem(choice.path, 0, head); result != 0) {
      tellArchiveError(user, result, msg::kArchivePictureReadFailed);
      return result;
    }
    if (choice.itemCount >= 0 && choice.itemCount != head.count) return kSlotAbandoned;
    int status = 0;
    const Problem problem = checkPictureNumbers(choice, head.count, limits, status);
    if (status != 0) {
      tellArchiveError(user, status, msg::kArchivePictureReadFailed);
      return status;
    }
    if (problem == Problem::None) return 0;
    if (useDialog) {
      user.tell(Icon::Warning, dialogReason(problem, limits));
      continue;
    }
    const Answer answer = user.askYesNoCancel(
        text::format(text::tr(msg::kOptionNumbersInconsistent), optionReason(problem)), Icon::Warning);
    if (answer == Answer::Cancel) return kSlotAbandoned;
    if (answer == Answer::Yes) {
      useDialog = true;
      initial = choice;
      continue;
    }
    choice.picture1 = choice.picture2 = 0;
    return 0;
  }
}

// Opens the chosen items as Picture 1 and Picture 2 (an item number 0 opens nothing there).
int openChosenPictures(Workbench& bench, UserPort& user, const ArchiveOpenChoice& choice) {
  const SlotLimits limits = slotLimits(bench.options);
  WorkMemory content(limits.dataLimit());
  WorkMemory work(limits.dataLimit());
  if (!content.ok() || !work.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  std::array<OpenedPicture, 2> opened;
  MemoryPictures pictures;
  const std::array<int, 2> numbers{choice.picture1, choice.picture2};
  for (PictureSlot slot : kPictureSlots) {
    const std::size_t k = index(slot);
    if (numbers[k] == 0) continue;
    const int result = readPicture(bench, user, choice.path, numbers[k], slot, content.span(),
                                   work.span(), opened[k]);
    if (result != 0) return result;
    pictures.width = opened[k].width;
    pictures.height = opened[k].height;
    pictures.pixels[k] = opened[k].pixels.data();
    pictures.palettes[k] = &opened[k].palette;
    pictures.names[k] = opened[k].name;
  }
  return setPicturesFromMemory(bench, user, pictures) != 0 ? kSlotFailed : 0;
}

}  // namespace

int openArchiveAsPictures(Workbench& bench, UserPort& user, ProgressPort& progress, BusyPort& busy,
                          ArchiveOpenDialog& dialog, const std::string& path, bool pathKnown) {
  // An archive open replaces the pictures the edit dialog works on.
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditing));
    return kSlotFailed;
  }
  ArchiveOpenChoice choice;
  ArchiveItemRead head;
  if (const int settled = settleArchiveChoice(bench, user, dialog, path, pathKnown, choice, head);
      settled != 0) {
    return settled;
  }
  if (choice.picture1 != 0 || choice.picture2 != 0) {
    if (const int opened = openChosenPictures(bench, user, choice); opened != 0) return opened;
  }

  if (!choice.expand || galleryCount(bench) == 0) return 0;
  ExpandRequest expand;
  expand.path = choice.path;
  expand.numbers = choice.expandNumbers;
  expand.startSlot = choice.startSlot;
  expand.skipEmpty = choice.skipEmpty;
  expand.expectedCount = head.count;
  const int result = expandArchiveItems(bench, user, progress, busy, expand);
  return result == kSlotAbandoned ? 0 : result;
}

}  // namespace vemla
