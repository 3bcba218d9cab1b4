#include "windows/panes/pane_menus.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include "windows/main/ui_text.h"
#include "workbench/view/pane_texts.h"

namespace vemla {
namespace {

// Menu texts (already in the language in use) are shown as they are: an "&" in a user-given
// name is not a mnemonic.
QString menuText(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool hasLocalFiles(const QMimeData* data) {
  return !localFilesOf(data).empty();
}

}  // namespace

void fillPaneMenu(QMenu& menu, const std::vector<PaneMenuItem>& items) {
  for (const PaneMenuItem& item : items) {
    if (item.separator()) {
      menu.addSeparator();
      continue;
    }
    if (item.command == PaneCommand::None) {
      QMenu* submenu = menu.addMenu(menuText(item.text));
      fillPaneMenu(*submenu, item.submenu);
      submenu->menuAction()->setEnabled(item.enabled);
      continue;
    }
    QAction* action = menu.addAction(menuText(item.text));
    action->setData(QVariantList{static_cast<int>(item.command), item.argument});
    action->setEnabled(item.enabled);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
  }
}

std::pair<PaneCommand, int> paneCommandOf(const QAction* action) {
  if (action == nullptr) return {PaneCommand::None, 0};
  const QVariantList data = action->data().toList();
  if (data.size() != 2) return {PaneCommand::None, 0};
  return {static_cast<PaneCommand>(data[0].toInt()), data[1].toInt()};
}

PaneWidget::PaneWidget(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                       PaneHost& host, Pane pane, QWidget* parent)
    : QWidget(parent),
      bench_(bench),
      user_(user),
      busy_(busy),
      progress_(progress),
      host_(host),
      pane_(pane) {
  setAcceptDrops(true);
}

QAction* PaneWidget::runMenu(QMenu& menu, const QPoint& globalPos) {
  return runner_ ? runner_(menu, globalPos) : menu.exec(globalPos);
}

void PaneWidget::openMenu(const QPoint& localPos, PaneMenuContext context) {
  menuFiles_ = vemla::clipboardFiles();
  menuPos_ = mapToGlobal(localPos);
  context.clipboardHasFiles = !menuFiles_.empty();
  QMenu menu(this);
  fillPaneMenu(menu, paneMenu(bench_, pane_, context));
  const auto [command, argument] = paneCommandOf(runMenu(menu, menuPos_));
  PaneCall call{bench_, pane_, context, user_, busy_, progress_, this, argument};
  runPaneCommand(call, command);
  if (isImagePane(pane_)) setFocus();
}

void PaneWidget::openRecent(PictureSlot picture, int entry) {
  host_.requestOpenRecent(picture, entry);
}

void PaneWidget::showPaneHelp() {
  host_.showHelp(this,
                 QString::fromStdString(paneHelpText(bench_, pane_, host_.grabScrollEnabled())));
}

void PaneWidget::viewPane() {
  host_.viewPane(pane_);
}

void PaneWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (hasLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void PaneWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (hasLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void PaneWidget::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = localFilesOf(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  const DropDecision decision = decideDrop(files, pane_, bench_.pictures.picturesPresent);
  const QPoint globalPos = mapToGlobal(event->position().toPoint());
  // The question and the open run after the drop has finished.
  QTimer::singleShot(0, this, [this, decision, globalPos] { carryOut(decision, globalPos); });
}

DropChoice PaneWidget::askDropChoice(const QPoint& globalPos) {
  QMenu menu(this);
  QAction* alone = menu.addAction(ui(kDropAloneText));
  QAction* replace = menu.addAction(ui(kDropReplaceText));
  menu.addSeparator();
  menu.addAction(ui(kDropCancelText));
  const QAction* chosen = runMenu(menu, globalPos);
  if (chosen == alone) return DropChoice::Alone;
  if (chosen == replace) return DropChoice::Replace;
  return DropChoice::Cancel;
}

void PaneWidget::carryOut(const DropDecision& decision, const QPoint& globalPos) {
  switch (decision.action) {
    case DropAction::Nothing:
      return;
    case DropAction::OpenArchive:
      host_.requestOpenArchive(QString::fromStdString(decision.archive));
      return;
    case DropAction::Ask:
      if (decision.names.empty()) return;
      carryOut(resolveDropChoice(decision.names[index(PictureSlot::First)], pane_, askDropChoice(globalPos), bench_),
               globalPos);
      return;
    case DropAction::Open: {
      QStringList names;
      for (const std::string& name : decision.names) names << QString::fromStdString(name);
      host_.requestOpen(names, decision.mode, true);
      return;
    }
  }
}

}  // namespace vemla
