#pragma once
#include <QMainWindow>
#include <array>

#include "workbench/workbench.h"

class QLabel;

namespace vemla {

// The main window: Picture 1 and Picture 2 under their pane titles, and Image 1 and Image 2
// rendered 512 x 512 under theirs, refreshed whenever the workbench reports new pictures or
// newly rendered panes. Until the image control window exists, Image 2 shows the absolute
// difference after every open.
class WorkbenchWindow : public QMainWindow, public WorkbenchListener {
  Q_OBJECT
 public:
  WorkbenchWindow(Workbench& bench, UserPort& user, QWidget* parent = nullptr);
  ~WorkbenchWindow() override;

  void picturesChanged() override;
  void panesChanged() override;
  // Opens up to two named pictures as the command line does.
  int openNames(const QStringList& names);

  QLabel* paneTitle(int index) const { return titles_[index]; }
  QLabel* pane(int index) const { return panes_[index]; }
  QLabel* imageTitle(int index) const { return imageTitles_[index]; }
  QLabel* imagePane(int index) const { return imagePanes_[index]; }

 private:
  void chooseAndOpen();
  Workbench& bench_;
  UserPort& user_;
  std::array<QLabel*, 2> titles_{};
  std::array<QLabel*, 2> panes_{};
  std::array<QLabel*, 2> imageTitles_{};
  std::array<QLabel*, 2> imagePanes_{};
};

}  // namespace vemla
