#pragma once
// The profile tool's window in the tool area: the 492 x 160 graph of the profiles the
// workbench sampled after the last rendering, with grid, cursor mark and read-out, the MAX/MIN
// fields and the controls of direction, shown images, grey range and grid.
#include <QColor>
#include <QWidget>
#include <array>
#include <functional>

#include "workbench/workbench.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace vemla {

// The pen of a profile of `image` in the colour of "ﾌﾟﾛﾌｧｲﾙ表示色" (ProfileColour1/2): as set on a
// dark background; on a light one a colour too light to read on white is darkened, keeping its
// hue. The profile graph and the partial comparison's read-out both draw with it.
QColor profilePen(const Options& options, ImageSlot image, bool darkBackground);

class ProfilePlot : public QWidget {
 public:
  ProfilePlot(Workbench& bench, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Workbench& bench_;
};

class ProfileWindow : public QWidget, public WorkbenchListener {
 public:
  ProfileWindow(Workbench& bench, QWidget* parent);
  ~ProfileWindow() override;

  // Asks where "CSVで保存" writes (a file dialog unless replaced); empty: not saved.
  using FileChooser = std::function<QString(const QString& title)>;
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();

 private:
  void buildControls();
  void buildHeader();
  void buildChoices(QWidget* area, QGridLayout* grid);
  void buildRangeAndGrid(QWidget* area, QGridLayout* grid);
  void buildActions(QWidget* area, QGridLayout* grid);
  void applyFields();
  void setBound(bool upper, int value);
  void saveCsv();

  Workbench& bench_;
  ProfilePlot* plot_ = nullptr;
  std::array<QLineEdit*, 4> extremes_{};  // image 1 MAX, MIN, image 2 MAX, MIN
  std::array<QRadioButton*, 3> directions_{};
  std::array<QRadioButton*, 3> shown_{};
  QSlider* lowerSlider_ = nullptr;
  QSlider* upperSlider_ = nullptr;
  QSpinBox* lower_ = nullptr;
  QSpinBox* upper_ = nullptr;
  QSpinBox* greyStep_ = nullptr;
  QSpinBox* pixelStep_ = nullptr;
  QSpinBox* gridMove_ = nullptr;
  QCheckBox* fullAuto_ = nullptr;
  QCheckBox* readout_ = nullptr;
  QPushButton* saveCsv_ = nullptr;
  int gridMoveValue_ = 0;
  FileChooser chooseFile_;
};

}  // namespace vemla
