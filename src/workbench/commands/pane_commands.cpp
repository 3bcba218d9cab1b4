#include "workbench/commands/pane_commands.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "gallery/gallery.h"
#include "persist/exchange_file.h"
#include "picture/file_names.h"
#include "processing/image_kinds.h"
#include "processing/reduced_display.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/picture/exchange_commands.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/colour_controls.h"
#include "workbench/view/comparison_view.h"
#include "workbench/view/display_marks.h"
#include "workbench/view/kind_choices.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

using text::N_;
using Choices = std::vector<std::pair<std::string, int>>;

constexpr int kMarkCount = 4;

// ---- Facts the rules read ----

bool present(const Workbench& bench) {
  return bench.pictures.picturesPresent;
}

bool bothPicturesNamed(const Workbench& bench) {
  return std::ranges::none_of(pictureNames(bench.pictures),
                              [](const std::string& name) { return name.empty(); });
}

bool showsReducedNow(const Workbench& bench) {
  return showsReduced(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
}

const PaneComparison& comparisonOf(const Workbench& bench, Pane pane) {
  return bench.view.comparison[index(imageOfPane(pane))];
}

// The colour kind stored for image `image`'s current kind or user processing entry.
int colourAssociationOf(const Workbench& bench, ImageSlot image) {
  const std::size_t at = index(image);
  const ImageControlSelections& selections = bench.images.selections;
  const int kind = bench.images.kind[at];
  if (kind >= 0 && kind < static_cast<int>(selections.kindColours[at].size())) {
    return selections.kindColours[at][static_cast<std::size_t>(kind)];
  }
  const int entry = bench.images.userEntry[at];
  if (kind == kUserProcessingKind && entry >= 0 && entry < kUserEntryCount) {
    return selections.userProcessingColours[at][static_cast<std::size_t>(entry)];
  }
  return kColourGrey;
}

bool anyRecentPicture(const Workbench& bench) {
  return std::ranges::any_of(bench.shell.fileHistory.recent, [](const persist::RecentPicture& picture) {
    return picture.used == 1;
  });
}

// ---- Rules ----

bool scopeOn(const PaneSituation& s) {
  return s.bench.shell.imageScope;
}
bool scopeShows(const PaneSituation& s) {
  return s.bench.options.ScopeMagnification == s.argument;
}
bool canPaste(const PaneSituation& s) {
  return s.context.clipboardHasFiles && !s.bench.pictures.editing;
}
bool canPasteReplacing(const PaneSituation& s) {
  return s.context.clipboardHasFiles && !s.bench.pictures.editing && present(s.bench);
}
bool notEditing(const PaneSituation& s) {
  return !s.bench.pictures.editing;
}
bool recentOffered(const PaneSituation& s) {
  return anyRecentPicture(s.bench) && !s.bench.pictures.editing;
}
bool canClear(const PaneSituation& s) {
  return present(s.bench) && !s.bench.pictures.editing && bothPicturesNamed(s.bench);
}
bool picturesOpen(const PaneSituation& s) {
  return present(s.bench);
}
bool exchangeOffered(const PaneSituation& s) {
  return !s.bench.pictures.editing && persist::exchangeItemPresent(s.bench.settings.folder);
}
bool galleryInUse(const PaneSituation& s) {
  return galleryCount(s.bench) > 0;
}
bool galleryTakes(const PaneSituation& s) {
  return present(s.bench) && galleryCount(s.bench) > 0;
}
bool slotHoldsPicture(const PaneSituation& s) {
  const persist::HeldGallery* gallery = liveGallery(s.bench);
  return gallery != nullptr && s.argument >= 0 && s.argument < galleryCount(s.bench) &&
         gallery->info.slotRecords[static_cast<std::size_t>(s.argument)].kind == kSlotPicture;
}
bool cellClicked(const PaneSituation& s) {
  return present(s.bench) && s.context.cell.has_value();
}
bool markValid(const PaneSituation& s) {
  return present(s.bench) && s.argument >= 0 && s.argument < kMarkCount &&
         s.bench.images.marks[static_cast<std::size_t>(s.argument)].valid != 0;
}
bool kindShown(const PaneSituation& s) {
  return s.argument == kindChoiceIndex(kindChoices(s.bench), s.bench, imageOfPane(s.pane));
}
bool colourShown(const PaneSituation& s) {
  return colourAssociationOf(s.bench, imageOfPane(s.pane)) == s.argument;
}
bool canReduce(const PaneSituation& s) {
  return present(s.bench) && !fitsPane(s.bench.pictures.width, s.bench.pictures.height);
}
bool reducedShown(const PaneSituation& s) {
  return showsReducedNow(s.bench);
}
bool magnificationShown(const PaneSituation& s) {
  return !showsReducedNow(s.bench) && s.bench.view.magnification == s.argument;
}
bool interpolating(const PaneSituation& s) {
  return s.bench.view.zoomInterpolation;
}
bool colourShownOn(const PaneSituation& s) {
  return s.bench.view.colourDisplay;
}
bool blinking(const PaneSituation& s) {
  return comparisonOf(s.bench, s.pane).mode == ComparisonMode::Blink;
}
bool swiping(const PaneSituation& s) {
  return comparisonOf(s.bench, s.pane).mode == ComparisonMode::Swipe;
}
bool dividerHorizontal(const PaneSituation& s) {
  return comparisonOf(s.bench, s.pane).horizontal;
}

// ---- Handlers ----

// A handler that takes its item's argument as a typed value.
template <class Value, bool (*Handler)(PaneCall&, Value)>
bool with(PaneCall& call) {
  return Handler(call, Value{call.argument});
}

bool scopeMagnification(PaneCall& call, MagnificationFactor value) {
  if (!call.bench.shell.imageScope || value.factor < 1 || value.factor > 64) return false;
  call.bench.options.ScopeMagnification = value.factor;
  return true;
}

// The pastes of the clipboard's files: `Which` is PasteAlone, PasteReplace or Paste.
template <PaneCommand Which>
bool paste(PaneCall& call) {
  if (call.host == nullptr) return false;
  const DropDecision decision =
      decidePaste(call.host->clipboardFiles(), call.pane, Which, call.bench);
  if (decision.action == DropAction::Nothing) return false;
  call.host->openPasted(decision);
  return true;
}

bool pasteFromHistory(PaneCall& call, RecentEntry value) {
  if (call.host == nullptr) return false;
  call.host->openRecent(pictureOfPane(call.pane), value.entry);
  return true;
}

bool clear(PaneCall& call) {
  return !isImagePane(call.pane) && call.bench.pictures.picturesPresent &&
         clearPicture(call.bench, call.user, call.busy, call.progress, pictureOfPane(call.pane)) ==
             0;
}

bool vlaCopy(PaneCall& call) {
  return copyPaneToExchange(call.bench, call.user, call.pane) == 0;
}

bool vlaPaste(PaneCall& call) {
  return pasteExchangeToPane(call.bench, call.user, call.pane) == 0;
}

bool galleryCopyTo(PaneCall& call, SlotNumber value) {
  Workbench& bench = call.bench;
  if (!bench.pictures.picturesPresent) return false;
  const Pane pane = call.pane;
  const int result =
      isImagePane(pane)
          ? storeImageInSlot(bench, call.user, value.slot, imageOfPane(pane),
                             imageDisplayPalette(bench, imageOfPane(pane)))
          : storeWorkbenchPictureInSlot(bench, call.user, value.slot, pictureOfPane(pane));
  // The gallery windows show the new content.
  bench.notifyPicturesChanged();
  return result == 0;
}

bool galleryCopyFrom(PaneCall& call, SlotNumber value) {
  return copySlotToPicture(call.bench, call.user, value.slot, pictureOfPane(call.pane)) == 0;
}

bool view(PaneCall& call) {
  if (call.host == nullptr) return false;
  call.host->viewPane();
  return true;
}

bool help(PaneCall& call) {
  if (call.host == nullptr) return false;
  call.host->showPaneHelp();
  return true;
}

bool storeMark(PaneCall& call, MarkNumber value) {
  if (!call.bench.pictures.picturesPresent || value.mark < 0 || value.mark >= kMarkCount) {
    return false;
  }
  storeDisplayMark(call.bench, value.mark);
  return true;
}

bool moveToMark(PaneCall& call, MarkNumber value) {
  return restoreDisplayMark(call.bench, value.mark);
}

bool centre(PaneCall& call) {
  if (!call.bench.pictures.picturesPresent || !call.context.cell) return false;
  placeCursorAtCell(call.bench, *call.context.cell, true);
  return true;
}

// The kind request: nothing when the image already shows the row, except the user program's
// result, which may have changed.
bool imageKind(PaneCall& call, KindRow value) {
  return requestKind(call.bench, imageOfPane(call.pane), value.row, call.user, call.busy,
                     call.progress);
}

bool colourKind(PaneCall& call, ColourKindNumber value) {
  if (!isColourKind(value.kind)) return false;
  chooseColourKind(call.bench, imageOfPane(call.pane), value.kind);
  return true;
}

bool magnification(PaneCall& call, MagnificationFactor value) {
  if (value.factor < 1 || value.factor > kMaxMagnification) return false;
  setMagnification(call.bench, value.factor);
  return true;
}

// As the magnification controls: the measurement tool's warning comes with it.
bool reducedDisplay(PaneCall& call) {
  return enterReducedDisplay(call.bench, call.user,
                             call.bench.tools.active == tools::Tool::Measurement);
}

bool interpolation(PaneCall& call) {
  setZoomInterpolation(call.bench, !call.bench.view.zoomInterpolation);
  return true;
}

bool colourDisplay(PaneCall& call) {
  setColourDisplay(call.bench, !call.bench.view.colourDisplay);
  return true;
}

template <ComparisonMode Mode>
bool comparison(PaneCall& call) {
  if (!call.bench.pictures.picturesPresent) return false;
  toggleComparisonMode(call.bench, imageOfPane(call.pane), Mode, call.user, call.busy,
                       call.progress);
  return true;
}

bool horizontalDivider(PaneCall& call) {
  const PaneComparison& now = comparisonOf(call.bench, call.pane);
  if (now.mode != ComparisonMode::Swipe) return false;
  setSwipeHorizontal(call.bench, imageOfPane(call.pane), !now.horizontal);
  return true;
}

bool nothing(PaneCall&) {
  return false;
}

using C = PaneCommand;
// clang-format off
constexpr PaneCommandRow kPaneCommands[] = {
    {C::ScopeMagnification, scopeOn, scopeShows, with<MagnificationFactor, scopeMagnification>},
    {C::PasteAlone, canPaste, nullptr, paste<C::PasteAlone>},
    {C::PasteReplace, canPasteReplacing, nullptr, paste<C::PasteReplace>},
    {C::Paste, canPaste, nullptr, paste<C::Paste>},
    {C::PasteFromHistory, notEditing, nullptr, with<RecentEntry, pasteFromHistory>},
    {C::Clear, canClear, nullptr, clear},
    {C::VlaCopy, picturesOpen, nullptr, vlaCopy},
    {C::VlaPaste, exchangeOffered, nullptr, vlaPaste},
    {C::GalleryCopyTo, nullptr, nullptr, with<SlotNumber, galleryCopyTo>},
    {C::GalleryCopyFrom, slotHoldsPicture, nullptr, with<SlotNumber, galleryCopyFrom>},
    {C::View, picturesOpen, nullptr, view},
    {C::Help, nullptr, nullptr, help},
    {C::Cancel, nullptr, nullptr, nothing},
    {C::StoreMark, picturesOpen, nullptr, with<MarkNumber, storeMark>, true},
    {C::MoveToMark, markValid, nullptr, with<MarkNumber, moveToMark>, true},
    {C::Centre, cellClicked, nullptr, centre, true},
    {C::ImageKind, nullptr, kindShown, with<KindRow, imageKind>, true},
    {C::ColourKind, nullptr, colourShown, with<ColourKindNumber, colourKind>, true},
    {C::Magnification, nullptr, magnificationShown, with<MagnificationFactor, magnification>, true},
    {C::ReducedDisplay, canReduce, reducedShown, reducedDisplay, true},
    {C::Interpolation, nullptr, interpolating, interpolation, true},
    {C::ColourDisplay, nullptr, colourShownOn, colourDisplay, true},
    {C::Blink, picturesOpen, blinking, comparison<ComparisonMode::Blink>, true},
    {C::Swipe, picturesOpen, swiping, comparison<ComparisonMode::Swipe>, true},
    {C::HorizontalDivider, swiping, dividerHorizontal, horizontalDivider, true},
};
// clang-format on

// ---- The items made when a menu opens ----

// The rows of the kind selectors: the built-in kinds, then the user processing entries in use.
Choices kindItems(const Workbench& bench, Pane) {
  Choices items;
  for (KindChoice& choice : kindChoices(bench)) {
    items.emplace_back(std::move(choice.name), static_cast<int>(items.size()));
  }
  return items;
}

constexpr std::array<const char*, 4> kColourKindNames{N_("ｸﾞﾚｰｽｹｰﾙ"), N_("標準ｶﾗｰ"), N_("差分ｶﾗｰ"),
                                                      N_("ｵﾌｾｯﾄｶﾗｰ")};

Choices colourItems(const Workbench& bench, Pane) {
  Choices items;
  for (int kind = 0; kind < static_cast<int>(kColourKindNames.size()); ++kind) {
    items.emplace_back(text::tr(kColourKindNames[static_cast<std::size_t>(kind)]), kind);
  }
  for (int table = 0; table < kUserEntryCount; ++table) {
    const UserColourEntry& colours = bench.userEntries.colours[static_cast<std::size_t>(table)];
    if (colours.inUse != 0) items.emplace_back(colours.name, kFirstUserColour + table);
  }
  return items;
}

// "倍率　1/%s": the reduced display's factor for the pictures open.
Choices reducedItem(const Workbench& bench, Pane) {
  return {{std::string(text::tr("倍率　1/"))
               .append(reductionText(bench.pictures.width, bench.pictures.height)),
           0}};
}

// "履歴から貼り付け": the recent single pictures, newest first, "%2d. %s (%dx%d%s)" with
// " Top:%d" for the start offset of a raw file; the argument is the entry.
Choices recentItems(const Workbench& bench, Pane) {
  Choices items;
  const auto& recent = bench.shell.fileHistory.recent;
  for (std::size_t entry = 0; entry < recent.size(); ++entry) {
    const persist::RecentPicture& picture = recent[entry];
    if (picture.used != 1) continue;
    const std::string top =
        isRawName(picture.name) ? text::format(" Top:%d", picture.rawOffset) : std::string();
    items.emplace_back(
        text::format("%2d. %s (%dx%d%s)", static_cast<int>(items.size()) + 1, picture.name.c_str(),
                     picture.width, picture.height, top.c_str()),
        static_cast<int>(entry));
  }
  return items;
}

// Every slot in use, the argument being the slot.
Choices slotItems(const Workbench& bench, Pane) {
  Choices items;
  const persist::HeldGallery* gallery = liveGallery(bench);
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    items.emplace_back(
        slotMenuLine(slot, gallery->info.slotRecords[static_cast<std::size_t>(slot)]), slot);
  }
  return items;
}

// ---- The menus ----

using L = PaneMenuLine;
constexpr L kSeparator{};

constexpr L kScopeLines[] = {
    {N_("倍率　Ｘ１"), C::ScopeMagnification, 1},  {N_("倍率　Ｘ２"), C::ScopeMagnification, 2},
    {N_("倍率　Ｘ４"), C::ScopeMagnification, 4},  {N_("倍率　Ｘ８"), C::ScopeMagnification, 8},
    {N_("倍率　Ｘ16"), C::ScopeMagnification, 16}, {N_("倍率　Ｘ32"), C::ScopeMagnification, 32},
    {N_("倍率　Ｘ64"), C::ScopeMagnification, 64},
};
// The image scope's magnification, available while the image scope is switched on.
constexpr L kScopeMenu{N_("ｲﾒｰｼﾞｽｺｰﾌﾟ倍率"), C::None, 0, kScopeLines, nullptr, scopeOn};
constexpr L kRecentMenu{N_("履歴から貼り付け"), C::PasteFromHistory, 0, {}, recentItems,
                        recentOffered};

constexpr L kPictureLines[] = {
    kScopeMenu,
    kSeparator,
    {N_("貼り付け(単独で開く)"), C::PasteAlone},
    {N_("貼り付け(入れ替える)"), C::PasteReplace},
    kRecentMenu,
    {N_("クリア"), C::Clear},
};

constexpr L kMarkLines[] = {
    {N_("マーク１設定"), C::StoreMark, 0},
    {N_("マーク２設定"), C::StoreMark, 1},
    {N_("マーク３設定"), C::StoreMark, 2},
    {N_("マーク４設定"), C::StoreMark, 3},
    kSeparator,
    {N_("マーク１移動"), C::MoveToMark, 0},
    {N_("マーク２移動"), C::MoveToMark, 1},
    {N_("マーク３移動"), C::MoveToMark, 2},
    {N_("マーク４移動"), C::MoveToMark, 3},
};

constexpr L kImageLines[] = {
    {N_("中心へ移動"), C::Centre},
    {N_("マーク"), C::None, 0, kMarkLines},
    kSeparator,
    {N_("イメージ"), C::ImageKind, 0, {}, kindItems},
    {N_("カラー"), C::ColourKind, 0, {}, colourItems},
    kSeparator,
    {nullptr, C::ReducedDisplay, 0, {}, reducedItem},
    {N_("倍率　Ｘ１"), C::Magnification, 1},
    {N_("倍率　Ｘ２"), C::Magnification, 2},
    {N_("倍率　Ｘ４"), C::Magnification, 4},
    {N_("倍率　Ｘ８"), C::Magnification, 8},
    {N_("倍率　Ｘ16"), C::Magnification, 16},
    {N_("倍率　Ｘ32"), C::Magnification, 32},
    {N_("倍率　Ｘ64"), C::Magnification, 64},
    kSeparator,
    {N_("補間"), C::Interpolation},
    {N_("カラー表示"), C::ColourDisplay},
    kSeparator,
    {N_("交互表示"), C::Blink},
    {N_("分割表示"), C::Swipe},
    {N_("分割を横にする"), C::HorizontalDivider},
    kSeparator,
    kScopeMenu,
    kSeparator,
    {N_("貼り付け"), C::Paste},
    kRecentMenu,
};

// "ギャラリー間コピー": every slot in use as a target of "ギャラリーへコピー" (while pictures are
// open) and as a source of "ギャラリーからコピー" (pictures only).
constexpr L kGalleryCopyLines[] = {
    {N_("ギャラリーへコピー"), C::GalleryCopyTo, 0, {}, slotItems, galleryTakes},
    {N_("ギャラリーからコピー"), C::GalleryCopyFrom, 0, {}, slotItems, galleryInUse},
};

// The lines both kinds of pane end with: exchange file, gallery, viewer, help, cancel.
constexpr L kTailLines[] = {
    kSeparator,
    {N_("コピー　　(Vla内)"), C::VlaCopy},
    {N_("貼り付け(Vla内)"), C::VlaPaste},
    {N_("ギャラリー間コピー"), C::None, 0, kGalleryCopyLines, nullptr, galleryInUse},
    {N_("Ｖｉｅｗ"), C::View},
    kSeparator,
    {N_("機能説明"), C::Help},
    {N_("キャンセル"), C::Cancel},
};

// ---- Building ----

struct Builder {
  const Workbench& bench;
  Pane pane;
  const PaneMenuContext& context;

  bool holds(PaneRule rule, int argument) const {
    return rule(PaneSituation{bench, pane, context, argument});
  }

  PaneMenuItem item(std::string text, PaneCommand command, int argument) const {
    const PaneCommandRow* row = findPaneCommand(command);
    PaneMenuItem entry;
    entry.text = std::move(text);
    entry.command = command;
    entry.argument = argument;
    entry.enabled = row->enabled == nullptr || holds(row->enabled, argument);
    entry.checkable = row->checked != nullptr;
    entry.checked = entry.checkable && holds(row->checked, argument);
    return entry;
  }

  void add(std::span<const PaneMenuLine> lines, std::vector<PaneMenuItem>& menu) const {
    for (const PaneMenuLine& line : lines) add(line, menu);
  }

  void add(const PaneMenuLine& line, std::vector<PaneMenuItem>& menu) const {
    if (line.text == nullptr && line.choices == nullptr) {
      menu.emplace_back();  // a separator
      return;
    }
    std::vector<PaneMenuItem> items;
    add(line.submenu, items);
    if (line.choices != nullptr) {
      for (auto& [text, argument] : line.choices(bench, pane)) {
        items.push_back(item(std::move(text), line.command, argument));
      }
    }
    if (line.text == nullptr) {  // the choices inline
      std::ranges::move(items, std::back_inserter(menu));
      return;
    }
    if (line.submenu.empty() && line.choices == nullptr) {
      menu.push_back(item(text::tr(line.text), line.command, line.argument));
      return;
    }
    PaneMenuItem submenu;
    submenu.text = text::tr(line.text);
    submenu.enabled = line.submenuEnabled == nullptr || holds(line.submenuEnabled, 0);
    submenu.submenu = std::move(items);
    menu.push_back(std::move(submenu));
  }
};

}  // namespace

std::span<const PaneCommandRow> paneCommandTable() {
  return kPaneCommands;
}

const PaneCommandRow* findPaneCommand(PaneCommand command) {
  const auto found = std::ranges::find(kPaneCommands, command, &PaneCommandRow::command);
  return found == std::end(kPaneCommands) ? nullptr : &*found;
}

std::span<const PaneMenuLine> picturePaneLines() {
  return kPictureLines;
}
std::span<const PaneMenuLine> imagePaneLines() {
  return kImageLines;
}
std::span<const PaneMenuLine> paneMenuTail() {
  return kTailLines;
}

std::vector<PaneMenuItem> paneMenu(const Workbench& bench, Pane pane,
                                   const PaneMenuContext& context) {
  const Builder builder{bench, pane, context};
  std::vector<PaneMenuItem> menu;
  builder.add(isImagePane(pane) ? imagePaneLines() : picturePaneLines(), menu);
  builder.add(paneMenuTail(), menu);
  return menu;
}

bool runPaneCommand(PaneCall& call, PaneCommand command) {
  const PaneCommandRow* row = findPaneCommand(command);
  if (row == nullptr || (row->imagePanesOnly && !isImagePane(call.pane))) return false;
  return row->run(call);
}

bool runPaneCommand(Workbench& bench, Pane pane, PaneCommand command, int argument,
                    const PaneMenuContext& context, UserPort& user, BusyPort& busy,
                    ProgressPort& progress) {
  PaneCall call{bench, pane, context, user, busy, progress, nullptr, argument};
  return runPaneCommand(call, command);
}

void chooseColourKind(Workbench& bench, ImageSlot image, int colourKind) {
  if (!isColourKind(colourKind)) return;
  if (bench.options.PopupColourTurnsColourOn) bench.view.colourDisplay = true;
  setColourAssociation(bench, image, colourKind);  // repaints both panes
}

}  // namespace vemla
