#pragma once
// What the four panes share: the pop-up menu built from the core's menu model and carried out
// through its rows (the pane being the host of the commands that need the window: paste, help,
// the viewer), and dropped files. A drop never runs a menu or
// an open inside the drop event: the decision is queued and carried out afterwards.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "windows/main/clipboard_files.h"
#include "windows/panes/pane_host.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/view/pane_drops.h"

class QAction;
class QMenu;
class QMimeData;

namespace vemla {

// Shows `menu` at a screen point and returns the chosen action (null: none). The panes use
// QMenu::exec; tests answer with the item they pick.
using MenuRunner = std::function<QAction*(QMenu& menu, const QPoint& globalPos)>;

// Adds the items of the core menu model to `menu`; every action carries its command.
void fillPaneMenu(QMenu& menu, const std::vector<PaneMenuItem>& items);
// The command and argument of an action made by fillPaneMenu (None for others).
std::pair<PaneCommand, int> paneCommandOf(const QAction* action);

class PaneWidget : public QWidget, private PaneCommandHost {
  Q_OBJECT
 public:
  PaneWidget(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
             PaneHost& host, Pane pane, QWidget* parent);

  Pane pane() const { return pane_; }
  void setMenuRunner(MenuRunner runner) { runner_ = std::move(runner); }

 protected:
  // Opens the pane menu at `localPos` and carries out the chosen item.
  void openMenu(const QPoint& localPos, PaneMenuContext context);

  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  PaneHost& host_;

 private:
  QAction* runMenu(QMenu& menu, const QPoint& globalPos);
  // PaneCommandHost, while a menu is open.
  std::vector<std::string> clipboardFiles() const override { return menuFiles_; }
  void openPasted(const DropDecision& decision) override { carryOut(decision, menuPos_); }
  void openRecent(PictureSlot picture, int entry) override;
  void showPaneHelp() override;
  void viewPane() override;
  void carryOut(const DropDecision& decision, const QPoint& globalPos);
  // The question of a drop of one file on a picture pane.
  DropChoice askDropChoice(const QPoint& globalPos);

  Pane pane_;
  MenuRunner runner_;
  std::vector<std::string> menuFiles_;  // the clipboard's files when the menu opened
  QPoint menuPos_;                      // where the menu opened
};

}  // namespace vemla
