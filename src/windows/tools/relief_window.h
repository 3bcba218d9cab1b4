#pragma once
// The 3D tool's window in the tool area: the 336 x 286 relief drawn by the workbench after the
// last rendering, and its controls ("視点", "表示ﾓｰﾄﾞ", the vertical sliders and switches);
// and the `_3DImage` window of the whole display. Sliders redraw at once.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>

#include "windows/main/qt_user_port.h"
#include "workbench/workbench.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace vemla {

// A raster of a tool with its colour table, and "画像を保存" in its context menu.
class ToolRasterView : public QWidget {
 public:
  ToolRasterView(const Options& options, QWidget* parent);
  void setRaster(const std::uint8_t* pixels, int width, int height, const ColourTable& colours);
  const QImage& image() const { return image_; }
  // Lines drawn over the raster (the partial comparison's "範囲" marks); none by default.
  void setMarks(const QList<QLine>& marks);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QtUserPort user_;
  QImage image_;
  QList<QLine> marks_;
};

class ReliefWholeWindow : public QWidget {
 public:
  ReliefWholeWindow(Workbench& bench, QWidget* parent);
  void refresh();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Workbench& bench_;
  ToolRasterView* view_ = nullptr;
};

class ReliefWindow : public QWidget, public WorkbenchListener {
 public:
  ReliefWindow(Workbench& bench, QWidget* parent);
  ~ReliefWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();
  ReliefWholeWindow* wholeWindow() const { return whole_.data(); }

 private:
  void buildControls();
  void buildViewpoint(QWidget* area, QGridLayout* grid);
  void buildMode(QWidget* area, QGridLayout* grid);
  void buildSwitches(QWidget* area, QGridLayout* grid);
  void changeSetting(int which, int value);
  void applyFields();

  Workbench& bench_;
  ToolRasterView* output_ = nullptr;
  QPointer<ReliefWholeWindow> whole_;  // owned by the main window
  QSlider* angleXSlider_ = nullptr;
  QSlider* angleZSlider_ = nullptr;
  QSpinBox* angleX_ = nullptr;
  QSpinBox* angleZ_ = nullptr;
  std::array<QRadioButton*, 3> modes_{};
  QLabel* modeValueLabel_ = nullptr;
  QSlider* modeValue_ = nullptr;
  QSlider* base_ = nullptr;
  QSlider* ratio_ = nullptr;
  QSlider* depth_ = nullptr;
  QCheckBox* viewDirection_ = nullptr;
  QCheckBox* wholeBox_ = nullptr;
  QCheckBox* otherPane_ = nullptr;
  QCheckBox* invert_ = nullptr;
};

}  // namespace vemla
