#include "workbench/view/pane_input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "picture/file_names.h"
#include "processing/image_kinds.h"
#include "processing/reduced_display.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/kind_choices.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

using text::N_;

// One axis of a slide: the picture point `cursor` comes to cell `cell` of the view. Where the
// picture is larger than the pane the extraction origin moves first; the magnified window takes
// what the origin's limits leave.
void slideAxis(int size, int cursor, int cell, int visible, int& origin, int& window) {
  if (size > kViewSize) origin = std::clamp(cursor - cell - window, 0, size - kViewSize);
  window = std::clamp(cursor - cell - origin, 0, kViewSize - visible);
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
