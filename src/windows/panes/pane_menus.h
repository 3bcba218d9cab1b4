#pragma once
// What the four panes share: the pop-up menu built from the core's menu model, the commands
// the window carries out itself (paste, help), and dropped files. A drop never runs a menu or
// an open inside the drop event: the decision is queued and carried out afterwards.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "windows/panes/pane_host.h"
#include "workbench/view/pane_drops.h"
#include "workbench/view/pane_input.h"

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

// The local files named by dropped or copied data, in order, as UTF-8 paths; other URLs are
// left out.
std::vector<std::string> localFilesOf(const QMimeData* data);

class PaneWidget : public QWidget {
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
  void carryOut(const DropDecision& decision, const QPoint& globalPos);
  // The question of a drop of one file on a picture pane.
  DropChoice askDropChoice(const QPoint& globalPos);

  Pane pane_;
  MenuRunner runner_;
};

}  // namespace vemla
