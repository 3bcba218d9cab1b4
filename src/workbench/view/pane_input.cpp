#include "workbench/view/pane_input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

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

constexpr int kMarkCount = 4;

bool bothPicturesNamed(const Workbench& bench) {
  return std::ranges::none_of(pictureNames(bench.pictures),
                              [](const std::string& name) { return name.empty(); });
}

// The cursor takes the cell; the view is re-centred when asked and always in the reduced
// display, else only the cross moves.
void placeCursorAtCell(Workbench& bench, const PaneCell& cell, bool centre) {
  ViewState& view = bench.view;
  view.centreX = cell.x;
  view.centreY = cell.y;
  view.fineX = cell.fineX;
  view.fineY = cell.fineY;
  if (centre || cell.reduced) {
    renderPanes(bench, false);
  } else {
    bench.notifyPanesChanged();
  }
}

// One axis of a slide: the picture point `cursor` comes to cell `cell` of the view. Where the
// picture is larger than the pane the extraction origin moves first; the magnified window takes
// what the origin's limits leave.
void slideAxis(int size, int cursor, int cell, int visible, int& origin, int& window) {
  if (size > kViewSize) origin = std::clamp(cursor - cell - window, 0, size - kViewSize);
  window = std::clamp(cursor - cell - origin, 0, kViewSize - visible);
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

// ---- Menu building ----

PaneMenuItem item(std::string text, PaneCommand command, int argument = 0, bool enabled = true) {
  PaneMenuItem entry;
  entry.text = std::move(text);
  entry.command = command;
  entry.argument = argument;
  entry.enabled = enabled;
  return entry;
}
PaneMenuItem checkItem(std::string text, PaneCommand command, int argument, bool enabled,
                       bool checked) {
  PaneMenuItem entry = item(std::move(text), command, argument, enabled);
  entry.checkable = true;
  entry.checked = checked;
  return entry;
}
PaneMenuItem submenu(std::string text, std::vector<PaneMenuItem> items, bool enabled = true) {
  PaneMenuItem entry = item(std::move(text), PaneCommand::None, 0, enabled);
  entry.submenu = std::move(items);
  return entry;
}
PaneMenuItem separatorItem() {
  return PaneMenuItem{};
}

struct MagnificationChoice {
  const char* text;
  int value;
};
constexpr std::array<MagnificationChoice, 7> kMagnificationChoices{{{N_("倍率　Ｘ１"), 1},
                                                                    {N_("倍率　Ｘ２"), 2},
                                                                    {N_("倍率　Ｘ４"), 4},
                                                                    {N_("倍率　Ｘ８"), 8},
                                                                    {N_("倍率　Ｘ16"), 16},
                                                                    {N_("倍率　Ｘ32"), 32},
                                                                    {N_("倍率　Ｘ64"), 64}}};
constexpr std::array<const char*, 4> kColourKindNames{N_("ｸﾞﾚｰｽｹｰﾙ"), N_("標準ｶﾗｰ"), N_("差分ｶﾗｰ"),
                                                      N_("ｵﾌｾｯﾄｶﾗｰ")};
constexpr std::array<const char*, kMarkCount> kStoreMarkTexts{
    N_("マーク１設定"), N_("マーク２設定"), N_("マーク３設定"), N_("マーク４設定")};
constexpr std::array<const char*, kMarkCount> kMoveToMarkTexts{
    N_("マーク１移動"), N_("マーク２移動"), N_("マーク３移動"), N_("マーク４移動")};

// The image scope's magnification, available while the image scope is switched on.
PaneMenuItem scopeMenu(const Workbench& bench) {
  const bool on = bench.shell.imageScope;
  std::vector<PaneMenuItem> items;
  for (const MagnificationChoice& choice : kMagnificationChoices) {
    items.push_back(checkItem(text::tr(choice.text), PaneCommand::ScopeMagnification, choice.value,
                              on, bench.options.ScopeMagnification == choice.value));
  }
  return submenu(text::tr("ｲﾒｰｼﾞｽｺｰﾌﾟ倍率"), std::move(items), on);
}

// "ギャラリー間コピー": every slot in use as a target of "ギャラリーへコピー" (while pictures are
// open) and as a source of "ギャラリーからコピー" (pictures only); the argument is the slot.
PaneMenuItem galleryCopyMenu(const Workbench& bench) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  const int count = galleryCount(bench);
  std::vector<PaneMenuItem> to;
  std::vector<PaneMenuItem> from;
  for (int slot = 0; slot < count; ++slot) {
    const persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
    const std::string line = slotMenuLine(slot, record);
    to.push_back(item(line, PaneCommand::GalleryCopyTo, slot, true));
    from.push_back(item(line, PaneCommand::GalleryCopyFrom, slot, record.kind == kSlotPicture));
  }
  const bool present = bench.pictures.picturesPresent;
  return submenu(text::tr("ギャラリー間コピー"),
                 {submenu(text::tr("ギャラリーへコピー"), std::move(to), present && count > 0),
                  submenu(text::tr("ギャラリーからコピー"), std::move(from), count > 0)},
                 count > 0);
}

// The items both kinds of pane end with: exchange file, gallery, viewer, help, cancel.
void appendCommonTail(const Workbench& bench, std::vector<PaneMenuItem>& menu) {
  menu.push_back(separatorItem());
  menu.push_back(
      item(text::tr("コピー　　(Vla内)"), PaneCommand::VlaCopy, 0, bench.pictures.picturesPresent));
  menu.push_back(
      item(text::tr("貼り付け(Vla内)"), PaneCommand::VlaPaste, 0,
           !bench.pictures.editing && persist::exchangeItemPresent(bench.settings.folder)));
  menu.push_back(galleryCopyMenu(bench));
  menu.push_back(item(text::tr("Ｖｉｅｗ"), PaneCommand::View, 0, bench.pictures.picturesPresent));
  menu.push_back(separatorItem());
  menu.push_back(item(text::tr("機能説明"), PaneCommand::Help));
  menu.push_back(item(text::tr("キャンセル"), PaneCommand::Cancel));
}

// "履歴から貼り付け": the recent single pictures, newest first, "%2d. %s (%dx%d%s)" with
// " Top:%d" for the start offset of a raw file.
PaneMenuItem recentMenu(const Workbench& bench) {
  std::vector<PaneMenuItem> items;
  const auto& recent = bench.shell.fileHistory.recent;
  for (std::size_t entry = 0; entry < recent.size(); ++entry) {
    const persist::RecentPicture& picture = recent[entry];
    if (picture.used != 1) continue;
    const std::string top =
        isRawName(picture.name) ? text::format(" Top:%d", picture.rawOffset) : std::string();
    items.push_back(
        item(text::format("%2d. %s (%dx%d%s)", static_cast<int>(items.size()) + 1,
                          picture.name.c_str(), picture.width, picture.height, top.c_str()),
             PaneCommand::PasteFromHistory, static_cast<int>(entry), !bench.pictures.editing));
  }
  const bool any = !items.empty();
  return submenu(text::tr("履歴から貼り付け"), std::move(items), any && !bench.pictures.editing);
}

std::vector<PaneMenuItem> picturePaneMenu(const Workbench& bench, const PaneMenuContext& context) {
  const bool present = bench.pictures.picturesPresent;
  const bool editing = bench.pictures.editing;
  const bool paste = context.clipboardHasFiles && !editing;
  std::vector<PaneMenuItem> menu;
  menu.push_back(scopeMenu(bench));
  menu.push_back(separatorItem());
  menu.push_back(item(text::tr("貼り付け(単独で開く)"), PaneCommand::PasteAlone, 0, paste));
  menu.push_back(
      item(text::tr("貼り付け(入れ替える)"), PaneCommand::PasteReplace, 0, paste && present));
  menu.push_back(recentMenu(bench));
  menu.push_back(item(text::tr("クリア"), PaneCommand::Clear, 0,
                      present && !editing && bothPicturesNamed(bench)));
  appendCommonTail(bench, menu);
  return menu;
}

// The rows of the kind selectors: the built-in kinds, then the user processing entries in use;
// each item carries its row.
std::vector<PaneMenuItem> kindMenu(const Workbench& bench, ImageSlot image) {
  const std::vector<KindChoice> choices = kindChoices(bench);
  const int shown = kindChoiceIndex(choices, bench, image);
  std::vector<PaneMenuItem> items;
  for (std::size_t row = 0; row < choices.size(); ++row) {
    const int at = static_cast<int>(row);
    items.push_back(checkItem(choices[row].name, PaneCommand::ImageKind, at, true, at == shown));
  }
  return items;
}

std::vector<PaneMenuItem> colourMenu(const Workbench& bench, ImageSlot image) {
  const int current = colourAssociationOf(bench, image);
  std::vector<PaneMenuItem> items;
  for (int kind = 0; kind < static_cast<int>(kColourKindNames.size()); ++kind) {
    items.push_back(checkItem(text::tr(kColourKindNames[static_cast<std::size_t>(kind)]),
                              PaneCommand::ColourKind, kind, true, current == kind));
  }
  for (int table = 0; table < kUserEntryCount; ++table) {
    const UserColourEntry& colours = bench.userEntries.colours[static_cast<std::size_t>(table)];
    if (colours.inUse == 0) continue;
    const int kind = kFirstUserColour + table;
    items.push_back(checkItem(colours.name, PaneCommand::ColourKind, kind, true, current == kind));
  }
  return items;
}

std::vector<PaneMenuItem> markMenu(const Workbench& bench) {
  const bool present = bench.pictures.picturesPresent;
  std::vector<PaneMenuItem> items;
  for (int mark = 0; mark < kMarkCount; ++mark) {
    items.push_back(item(text::tr(kStoreMarkTexts[static_cast<std::size_t>(mark)]),
                         PaneCommand::StoreMark, mark, present));
  }
  items.push_back(separatorItem());
  for (int mark = 0; mark < kMarkCount; ++mark) {
    const bool valid = bench.images.marks[static_cast<std::size_t>(mark)].valid != 0;
    items.push_back(item(text::tr(kMoveToMarkTexts[static_cast<std::size_t>(mark)]),
                         PaneCommand::MoveToMark, mark, present && valid));
  }
  return items;
}

std::vector<PaneMenuItem> imagePaneMenu(const Workbench& bench, int pane,
                                        const PaneMenuContext& context) {
  const ImageSlot image = imageOfPane(pane);
  const bool present = bench.pictures.picturesPresent;
  const int width = bench.pictures.width, height = bench.pictures.height;
  const ViewState& view = bench.view;
  const bool reduced = showsReduced(viewSettingsOf(bench), width, height);
  std::vector<PaneMenuItem> menu;
  menu.push_back(
      item(text::tr("中心へ移動"), PaneCommand::Centre, 0, present && context.cell.has_value()));
  menu.push_back(submenu(text::tr("マーク"), markMenu(bench)));
  menu.push_back(separatorItem());
  menu.push_back(submenu(text::tr("イメージ"), kindMenu(bench, image)));
  menu.push_back(submenu(text::tr("カラー"), colourMenu(bench, image)));
  menu.push_back(separatorItem());
  menu.push_back(checkItem(std::string(text::tr("倍率　1/")).append(reductionText(width, height)),
                           PaneCommand::ReducedDisplay, 0, present && !fitsPane(width, height),
                           reduced));
  for (const MagnificationChoice& choice : kMagnificationChoices) {
    menu.push_back(checkItem(text::tr(choice.text), PaneCommand::Magnification, choice.value, true,
                             !reduced && view.magnification == choice.value));
  }
  menu.push_back(separatorItem());
  menu.push_back(
      checkItem(text::tr("補間"), PaneCommand::Interpolation, 0, true, view.zoomInterpolation));
  menu.push_back(
      checkItem(text::tr("カラー表示"), PaneCommand::ColourDisplay, 0, true, view.colourDisplay));
  menu.push_back(separatorItem());
  const PaneComparison& comparison = view.comparison[index(image)];
  menu.push_back(checkItem(text::tr("交互表示"), PaneCommand::Blink, 0, present,
                           comparison.mode == ComparisonMode::Blink));
  menu.push_back(checkItem(text::tr("分割表示"), PaneCommand::Swipe, 0, present,
                           comparison.mode == ComparisonMode::Swipe));
  menu.push_back(checkItem(text::tr("分割を横にする"), PaneCommand::HorizontalDivider, 0,
                           comparison.mode == ComparisonMode::Swipe, comparison.horizontal));
  menu.push_back(separatorItem());
  menu.push_back(scopeMenu(bench));
  menu.push_back(separatorItem());
  menu.push_back(item(text::tr("貼り付け"), PaneCommand::Paste, 0,
                      context.clipboardHasFiles && !bench.pictures.editing));
  menu.push_back(recentMenu(bench));
  appendCommonTail(bench, menu);
  return menu;
}

DropDecision openNames(std::string first, std::string second, int mode) {
  DropDecision decision;
  decision.action = DropAction::Open;
  decision.names = {std::move(first), std::move(second)};
  decision.mode = mode;
  return decision;
}

bool isArchiveName(const std::string& name) {
  return nameEndsWithExtension(name, ".vla");
}

// ---- Help texts ----

constexpr const char* kPictureHelp =
    N_("・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
       "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
       "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
       "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
       "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n");
constexpr const char* kImageKindHelp = N_("（%s）：%s\n\n");
constexpr const char* kImageHelpHead = N_(
    "・表示画像（ｼﾌﾄされた画像）を基に「ｲﾒｰｼﾞ制御情報」の条件で画像処理されたｲﾒｰｼﾞが表示されます\n"
    "・ﾏｳｽの左ｸﾘｯｸでｶｰｿﾙ位置の変更ができ、ｸﾘｯｸした状態でﾏｳｽをﾄﾞﾛｰｲﾝｸﾞすると表示ｲﾒｰｼﾞがｽﾗｲﾄﾞします\n"
    "　※画像の全体が表示されている場合はｽﾗｲﾄﾞしません\n");
constexpr const char* kImageHelpGrabScroll =
    N_("・ﾏｳｽﾎｲｰﾙを押下した状態や、Shift/"
       "Ctrlｷｰ+左ｸﾘｯｸした状態ではﾏｳｽの移動により表示位置全体の移動が可能です\n");
constexpr const char* kImageHelpShiftClick =
    N_("　※Shiftｷｰを押下した状態で左ｸﾘｯｸした場合はｸﾘｯｸ位置が中心に移動します\n");
constexpr const char* kImageHelpTail = N_(
    "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n"
    "　※『ｵﾌﾟｼｮﾝ情報-ﾕｰｻﾞ制御』で動作の変更が可能です\n"
    "・ｷｰﾎﾞｰﾄﾞのｶｰｿﾙｷｰ（←、→、↑、↓）でｶｰｿﾙ位置の移動ができます\n"
    "・ﾏｳｽﾎｲｰﾙの回転で表示倍率の変更が可能です\n"
    "　※ｷｰ押下やﾎｲｰﾙが有効でない場合は「ｲﾒｰｼﾞ制御情報」の再表示を押下して下さい\n"
    "　※ｸｲｯｸ(状況依存)ﾍﾙﾌﾟを表示中はｷｰ押下やﾎｲｰﾙが有効とならない場合があります\n"
    "・「ｲﾒｰｼﾞ制御情報-ｶﾗｰ情報」でﾊﾟﾚｯﾄを指定すると階調値とｶﾗｰの対応(ﾊﾟﾚｯﾄ情報)が表示されます\n");

}  // namespace

// ---- Clicks ----

std::optional<PaneCell> imagePaneCell(int width, int height, const ViewSettings& settings,
                                      const ViewPlacement& placement, int u, int v) {
  if (width <= 0 || height <= 0 || u < 0 || v < 0 || u >= kViewSize || v >= kViewSize) {
    return std::nullopt;
  }
  if (showsReduced(settings, width, height)) {
    const ReducedGeometry geometry = reducedGeometry(width, height);
    const int du = u - geometry.left, dv = v - geometry.top;
    if (du < 0 || dv < 0 || du >= geometry.width || dv >= geometry.height) return std::nullopt;
    return PaneCell{static_cast<int>(static_cast<long long>(du) * width / geometry.width),
                    static_cast<int>(static_cast<long long>(dv) * height / geometry.height), 0, 0,
                    true};
  }
  const int m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const ViewPlacement kept = keptPlacement(placement, m);
  const long long x = static_cast<long long>(kept.originX) + kept.windowColumn + u / m;
  const long long y = static_cast<long long>(kept.originY) + kept.windowRow + v / m;
  if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  return PaneCell{static_cast<int>(x), static_cast<int>(y), u % m, v % m, false};
}

std::optional<PaneCell> imagePaneCellOf(const Workbench& bench, int u, int v) {
  if (!bench.pictures.picturesPresent) return std::nullopt;
  return imagePaneCell(bench.pictures.width, bench.pictures.height, viewSettingsOf(bench),
                       bench.view.placement, u, v);
}

bool clickImagePane(Workbench& bench, int u, int v, bool centre) {
  const std::optional<PaneCell> cell = imagePaneCellOf(bench, u, v);
  if (!cell) return false;
  placeCursorAtCell(bench, *cell, centre);
  return true;
}

bool clickThumbnail(Workbench& bench, const PictureThumbnail& thumbnail, int u, int v) {
  if (!bench.pictures.picturesPresent) return false;
  const std::optional<PicturePoint> point =
      thumbnailPicturePoint(thumbnail, bench.pictures.width, bench.pictures.height, u, v);
  if (!point) return false;
  setCursorPosition(bench, point->x, point->y);
  return true;
}

// ---- Drag sliding ----

bool viewCanSlide(int width, int height, const ViewSettings& settings) {
  if (showsReduced(settings, width, height)) return false;
  return settings.magnification > 1 || width > kViewSize || height > kViewSize;
}

std::optional<ViewPlacement> slidPlacement(int width, int height, const ViewSettings& settings,
                                           const ViewPlacement& placement, int cursorX, int cursorY,
                                           const DragState& drag, int u, int v, int minimumMove) {
  if (!viewCanSlide(width, height, settings)) return std::nullopt;
  if (std::abs(u - drag.lastU) < minimumMove && std::abs(v - drag.lastV) < minimumMove) {
    return std::nullopt;
  }
  const std::optional<PaneCell> cell = imagePaneCell(width, height, settings, placement, u, v);
  if (!cell || (cell->x == cursorX && cell->y == cursorY)) return std::nullopt;
  const int m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const int visible = visibleCells(m);
  const ViewPlacement kept = keptPlacement(placement, m);
  ViewPlacement slid = kept;
  slideAxis(width, cursorX, u / m, visible, slid.originX, slid.windowColumn);
  slideAxis(height, cursorY, v / m, visible, slid.originY, slid.windowRow);
  if (slid == kept) return std::nullopt;
  return slid;
}

bool slideView(Workbench& bench, DragState& drag, int u, int v) {
  if (!drag.active || !bench.pictures.picturesPresent || !bench.options.DragMovesImage) {
    return false;
  }
  const std::optional<ViewPlacement> slid = slidPlacement(
      bench.pictures.width, bench.pictures.height, viewSettingsOf(bench), bench.view.placement,
      bench.view.centreX, bench.view.centreY, drag, u, v, bench.options.DragMinimumMove);
  if (!slid) return false;
  bench.view.placement = *slid;
  drag.lastU = u;
  drag.lastV = v;
  renderPanes(bench, true);
  return true;
}

// ---- Dropped files ----

DropDecision decideDrop(const std::vector<std::string>& files, int pane, bool picturesPresent) {
  DropDecision decision;
  if (files.empty()) return decision;
  if (isArchiveName(files[0])) {
    decision.action = DropAction::OpenArchive;
    decision.archive = files[0];
    return decision;
  }
  if (files.size() >= 2) return openNames(files[0], files[1], kOpenBoth);
  if (!isImagePane(pane) && picturesPresent) {
    decision.action = DropAction::Ask;
    decision.names = {files[0]};
    return decision;
  }
  return openNames(files[0], {}, kOpenBoth);
}

DropDecision resolveDropChoice(const std::string& file, int pane, DropChoice choice,
                               const Workbench& bench) {
  if (choice == DropChoice::Cancel) return {};
  if (choice == DropChoice::Replace && !isImagePane(pane)) {
    const PictureSlot picture = pictureOfPane(pane);
    std::array<std::string, 2> names = pictureNames(bench.pictures);
    names[index(picture)] = file;
    return openNames(names[index(PictureSlot::First)], names[index(PictureSlot::Second)],
                     openModeOf(picture));
  }
  return openNames(file, {}, kOpenBoth);
}

DropDecision decidePaste(const std::vector<std::string>& files, int pane, PaneCommand command,
                         const Workbench& bench) {
  if (files.empty()) return {};
  switch (command) {
    case PaneCommand::PasteAlone:
      return decideDrop({files[0]}, kPaneImage1, false);
    case PaneCommand::PasteReplace:
      if (isArchiveName(files[0]) || !bench.pictures.picturesPresent) {
        return decideDrop({files[0]}, kPaneImage1, false);
      }
      return resolveDropChoice(files[0], pane, DropChoice::Replace, bench);
    case PaneCommand::Paste:
      return decideDrop(files, kPaneImage1, false);
    default:
      return {};
  }
}

// ---- Pane menus ----

std::vector<PaneMenuItem> paneMenu(const Workbench& bench, int pane,
                                   const PaneMenuContext& context) {
  return isImagePane(pane) ? imagePaneMenu(bench, pane, context) : picturePaneMenu(bench, context);
}

bool runPaneCommand(Workbench& bench, int pane, PaneCommand command, int argument,
                    const PaneMenuContext& context, UserPort& user, BusyPort& busy,
                    ProgressPort& progress) {
  if (command == PaneCommand::VlaCopy) return copyPaneToExchange(bench, user, pane) == 0;
  if (command == PaneCommand::VlaPaste) return pasteExchangeToPane(bench, user, pane) == 0;
  if (command == PaneCommand::GalleryCopyTo) {
    if (!bench.pictures.picturesPresent) return false;
    const int result =
        isImagePane(pane) ? storeImageInSlot(bench, user, argument, imageOfPane(pane),
                                             imageDisplayPalette(bench, imageOfPane(pane)))
                          : storeWorkbenchPictureInSlot(bench, user, argument, pictureOfPane(pane));
    // The gallery windows show the new content.
    bench.notifyPicturesChanged();
    return result == 0;
  }
  if (command == PaneCommand::GalleryCopyFrom) {
    return copySlotToPicture(bench, user, argument, pictureOfPane(pane)) == 0;
  }
  if (command == PaneCommand::ScopeMagnification) {
    if (!bench.shell.imageScope || argument < 1 || argument > 64) return false;
    bench.options.ScopeMagnification = argument;
    return true;
  }
  if (command == PaneCommand::Clear) {
    return !isImagePane(pane) && bench.pictures.picturesPresent &&
           clearPicture(bench, user, busy, progress, pictureOfPane(pane)) == 0;
  }
  if (!isImagePane(pane)) return false;
  const ImageSlot image = imageOfPane(pane);
  ViewState& view = bench.view;
  switch (command) {
    case PaneCommand::StoreMark:
      if (!bench.pictures.picturesPresent || argument < 0 || argument >= kMarkCount) return false;
      storeDisplayMark(bench, argument);
      return true;
    case PaneCommand::MoveToMark:
      return restoreDisplayMark(bench, argument);
    case PaneCommand::Centre:
      if (!bench.pictures.picturesPresent || !context.cell) return false;
      placeCursorAtCell(bench, *context.cell, true);
      return true;
    case PaneCommand::ImageKind:
      // The kind request: nothing when the image already shows the row, except the user
      // program's result, which may have changed.
      return requestKind(bench, image, argument, user, busy, progress);
    case PaneCommand::ColourKind:
      if (!isColourKind(argument)) return false;
      chooseColourKind(bench, image, argument);
      return true;
    case PaneCommand::Magnification:
      if (argument < 1 || argument > kMaxMagnification) return false;
      setMagnification(bench, argument);
      return true;
    case PaneCommand::ReducedDisplay:
      // As the magnification controls: the measurement tool's warning comes with it.
      return enterReducedDisplay(bench, user, bench.tools.active == tools::Tool::Measurement);
    case PaneCommand::Interpolation:
      setZoomInterpolation(bench, !view.zoomInterpolation);
      return true;
    case PaneCommand::ColourDisplay:
      setColourDisplay(bench, !view.colourDisplay);
      return true;
    case PaneCommand::Blink:
    case PaneCommand::Swipe:
      if (!bench.pictures.picturesPresent) return false;
      toggleComparisonMode(
          bench, image,
          command == PaneCommand::Blink ? ComparisonMode::Blink : ComparisonMode::Swipe, user, busy,
          progress);
      return true;
    case PaneCommand::HorizontalDivider: {
      const PaneComparison& comparison = view.comparison[index(image)];
      if (comparison.mode != ComparisonMode::Swipe) return false;
      setSwipeHorizontal(bench, image, !comparison.horizontal);
      return true;
    }
    default:
      return false;
  }
}

void chooseColourKind(Workbench& bench, ImageSlot image, int colourKind) {
  if (!isColourKind(colourKind)) return;
  if (bench.options.PopupColourTurnsColourOn) bench.view.colourDisplay = true;
  setColourAssociation(bench, image, colourKind);  // repaints both panes
}

// ---- Texts ----

std::string paneTitleText(const Workbench& bench, int pane) {
  if (isImagePane(pane)) return imageLabelOf(bench, imageOfPane(pane));
  return bench.titles.pane[index(pictureOfPane(pane))];
}

std::string paneHelpText(const Workbench& bench, int pane, bool grabScrollEnabled) {
  if (!isImagePane(pane)) return text::tr(kPictureHelp);
  std::string help;
  if (bench.pictures.picturesPresent) {
    const ImageSlot image = imageOfPane(pane);
    const int kind = bench.images.kind[index(image)];
    const char* description = isBuiltInKind(kind)
                                  ? imageKindTable()[static_cast<std::size_t>(kind)].description
                                  : kUserProcessingDescription;
    help = text::format(text::tr(kImageKindHelp), shownKindNameOf(bench, image).c_str(),
                        text::tr(description));
  }
  help += text::tr(kImageHelpHead);
  help += text::tr(grabScrollEnabled ? kImageHelpGrabScroll : kImageHelpShiftClick);
  help += text::tr(kImageHelpTail);
  return help;
}

}  // namespace vemla
