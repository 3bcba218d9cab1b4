#pragma once
// The measurement tool's window in the tool area: the results table of both images with their
// differences and the "基準" values the four "▼" copy into, and the controls of function,
// length mode, edge level, area shape, range extraction link and volume base. The shapes are
// entered and drawn in the image panes; the workbench measures them after every rendering.
#include <QWidget>
#include <array>

#include "workbench/workbench.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QSlider;
class QSpinBox;
class QTableWidget;

namespace vemla {

class MeasurementWindow : public QWidget, public WorkbenchListener {
 public:
  MeasurementWindow(Workbench& bench, QWidget* parent);
  ~MeasurementWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();

 private:
  void buildTable();
  void buildControls();
  template <typename Edit>
  void change(Edit edit);
  void copyTable();

  Workbench& bench_;
  QTableWidget* table_ = nullptr;
  QButtonGroup* function_ = nullptr;
  QButtonGroup* lengthMode_ = nullptr;
  QButtonGroup* direction_ = nullptr;
  QButtonGroup* shape_ = nullptr;
  QButtonGroup* base_ = nullptr;
  QCheckBox* link_ = nullptr;
  QSlider* edgeSlider_ = nullptr;
  QSpinBox* edgeLevel_ = nullptr;
};

}  // namespace vemla
