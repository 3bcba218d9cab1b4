#pragma once
// The partial comparison window in the tool area: the reference part, the comparison part and
// their difference side by side (168 pixels each), the read-out under them (7 x 7 values or a
// profile), and the controls of taking, difference, read-out and shift.
#include <QWidget>
#include <array>

#include "workbench/workbench.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace vemla {

class ToolRasterView;

// The read-out area: the 7 x 7 values or the profile plot.
class PartialReadoutView : public QWidget {
 public:
  PartialReadoutView(Workbench& bench, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Workbench& bench_;
};

class PartialWindow : public QWidget, public WorkbenchListener {
 public:
  PartialWindow(Workbench& bench, QWidget* parent);
  ~PartialWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void buildDifference(QWidget* left);
  void buildReadout(QWidget* right, QGridLayout* grid);
  void buildShift(QWidget* right, QGridLayout* grid);
  void changeSettings();
  void changeReadout();

  Workbench& bench_;
  std::array<ToolRasterView*, 3> parts_{};
  PartialReadoutView* readout_ = nullptr;
  QCheckBox* takeReference_ = nullptr;
  QCheckBox* takeComparison_ = nullptr;
  std::array<QRadioButton*, 2> modes_{};
  QCheckBox* colourDisplay_ = nullptr;
  QSlider* strength_ = nullptr;
  QSlider* brightness_ = nullptr;
  QLineEdit* max_ = nullptr;
  QLineEdit* min_ = nullptr;
  QPushButton* swap_ = nullptr;
  std::array<QRadioButton*, 2> readoutKinds_{};
  std::array<QRadioButton*, 3> directions_{};
  QSlider* lowerSlider_ = nullptr;
  QSlider* upperSlider_ = nullptr;
  QSpinBox* lower_ = nullptr;
  QSpinBox* upper_ = nullptr;
  QCheckBox* range_ = nullptr;
  std::array<QPushButton*, 5> shifts_{};  // left, right, up, down, clear
  QLabel* shiftX_ = nullptr;
  QLabel* shiftY_ = nullptr;
};

}  // namespace vemla
