#pragma once
// The image control window ("イメージ制御情報"): what Image 1 and Image 2 show (kind buttons and
// selectors) and how (magnification, interpolation, colours, range extraction, grid), the
// cursor position with its pad, marks and hand-over file, and each image's statistics with the
// Max/Min search. Every control calls a core operation; the panes repaint through the
// workbench listener, which also refreshes this window.
#include <QAbstractSpinBox>
#include <QSpinBox>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "workbench/view/range_extraction.h"
#include "workbench/workbench.h"

class QCheckBox;
class QHBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QDoubleSpinBox;
class QPushButton;
class QSlider;
class QVBoxLayout;

namespace vemla {

class DirectionPad;

// Up and down arrows without a value (the magnification spin): each step, held or not, is
// reported and the window decides what it means.
class StepArrows : public QAbstractSpinBox {
  Q_OBJECT
 public:
  explicit StepArrows(QWidget* parent = nullptr);
  void stepBy(int steps) override;

 signals:
  void stepped(bool up);

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

// A range bound spin: while an arrow is held it steps by 1 ten times, then by 10, until it is
// released.
class RangeSpin : public QSpinBox {
 public:
  explicit RangeSpin(QWidget* parent = nullptr);
  void stepBy(int steps) override;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  RangeSpinSteps steps_;
};

class ImageControlWindow : public QWidget, public WorkbenchListener {
  Q_OBJECT
 public:
  static constexpr int kWidth = 437, kHeight = 388;
  ImageControlWindow(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     QWidget* parent);
  ~ImageControlWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  // A flip shows the other picture's statistics.
  void viewFlipped(ImageSlot image) override { showStatistics(image); }
  // Shows the view state, kinds, colours, marks and statistics, and enables the controls that
  // need pictures. The position edits keep text being typed until the cursor moves.
  void refresh();

  // Whether the measurement tool is open, asked when the reduced display is entered (the
  // operator is warned once then). Without a query it counts as closed.
  void setMeasurementToolQuery(std::function<bool()> query) {
    measurementToolOpen_ = std::move(query);
  }

  // The colour selectors (the image and the selector's row) and the magnification spin.
  void requestColour(ImageSlot image, int row);
  void stepMagnification(bool up);

 private:
  // Each adds its rows to the window's column; the magnification slider shares the first kind
  // row.
  QHBoxLayout* buildKinds(QWidget* area);
  void buildMagnification(QWidget* area, QHBoxLayout* sliderRow);
  void buildPosition(QWidget* area);
  void buildMarks(QWidget* area, QVBoxLayout* layout);
  // "交互" and "分割" of each image and the blink rate.
  void buildComparison(QWidget* area);
  void showStatistics(ImageSlot image);
  // The parts of refresh: the rows of each image, the view settings, the cursor and its marks.
  void refreshImageRows();
  void refreshView();
  void refreshCursor();
  void buildStatistics(QWidget* area);
  void buildColours(QWidget* area);
  void buildRanges(QWidget* area);
  bool measurementToolOpen() const { return measurementToolOpen_ && measurementToolOpen_(); }
  void redisplay(int x, int y);

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  std::function<bool()> measurementToolOpen_;

  // Kinds
  std::array<QComboBox*, 2> kindSelectors_{};
  std::array<std::array<QPushButton*, 2>, 2> comparisonButtons_{};  // [image][blink, swipe]
  QDoubleSpinBox* blinkRate_ = nullptr;
  std::array<std::vector<std::string>, 2> listedKinds_{};
  // Magnification
  QSlider* magnificationSlider_ = nullptr;
  QLineEdit* magnificationValue_ = nullptr;
  StepArrows* magnificationSpin_ = nullptr;
  QCheckBox* interpolation_ = nullptr;
  QCheckBox* blankInvalid_ = nullptr;
  // Position, cursor and marks
  QLineEdit* positionX_ = nullptr;
  QLineEdit* positionY_ = nullptr;
  std::array<int, 2> shownPosition_{-1, -1};
  QPushButton* redisplay_ = nullptr;
  QPushButton* saveCursor_ = nullptr;
  QPushButton* loadCursor_ = nullptr;
  QCheckBox* cursorShown_ = nullptr;
  QCheckBox* fineMovement_ = nullptr;
  DirectionPad* cursorPad_ = nullptr;
  std::array<QPushButton*, 4> markRestore_{};
  std::array<QPushButton*, 4> markStore_{};
  std::array<std::array<QLineEdit*, 2>, 4> markTexts_{};
  // Statistics
  std::array<QPushButton*, 2> maxButtons_{};
  std::array<QPushButton*, 2> minButtons_{};
  std::array<std::array<QLineEdit*, 4>, 2> statistics_{};  // max, min, mean, sum
  // Grid
  QCheckBox* grid_ = nullptr;
  QSpinBox* gridWidth_ = nullptr;
  DirectionPad* gridPad_ = nullptr;
  // Colours
  QCheckBox* colour_ = nullptr;
  QCheckBox* palette_ = nullptr;
  std::array<QComboBox*, 2> colourSelectors_{};
  std::array<std::vector<std::string>, 2> listedColours_{};
  std::array<QSlider*, 2> intensity_{};
  std::array<QSlider*, 2> brightness_{};
  // Range extraction
  std::array<QCheckBox*, 2> rangeOn_{};
  QCheckBox* rangeLinked_ = nullptr;
  std::array<std::array<QSlider*, 2>, 2> rangeSliders_{};  // [image][lower, upper]
  std::array<std::array<RangeSpin*, 2>, 2> rangeSpins_{};
};

}  // namespace vemla
