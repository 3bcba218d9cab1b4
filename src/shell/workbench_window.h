#pragma once
#include <QMainWindow>
#include <array>

#include "workbench/workbench.h"

class QLabel;

namespace vemla {

// The main window: Picture 1 and Picture 2 side by side under their pane titles, refreshed
// whenever the workbench reports new pictures.
class WorkbenchWindow : public QMainWindow, public WorkbenchListener {
  Q_OBJECT
 public:
  WorkbenchWindow(Workbench& bench, UserPort& user, QWidget* parent = nullptr);
  ~WorkbenchWindow() override;

  void picturesChanged() override;
  // Opens up to two named pictures as the command line does.
  int openNames(const QStringList& names);

  QLabel* paneTitle(int index) const { return titles_[index]; }
  QLabel* pane(int index) const { return panes_[index]; }

 private:
  void chooseAndOpen();
  Workbench& bench_;
  UserPort& user_;
  std::array<QLabel*, 2> titles_{};
  std::array<QLabel*, 2> panes_{};
};

}  // namespace vemla
