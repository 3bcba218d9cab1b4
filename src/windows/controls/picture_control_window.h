#pragma once
// The picture control window ("画像制御情報"): the valid range, the manual shift with its
// direction buttons, amounts, direction pad, marks and reference position "S", and the
// automatic alignment. Every command changes the picture control record through the core and,
// when that alters the shifted pictures, runs the refresh chain, which repaints the panes and
// refreshes this window through the workbench listener.
#include <QWidget>
#include <array>

#include "processing/manual_shift.h"
#include "workbench/workbench.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vemla {

class DirectionPad;

class PictureControlWindow : public QWidget, public WorkbenchListener {
  Q_OBJECT
 public:
  static constexpr int kWidth = 313, kHeight = 355;
  PictureControlWindow(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                       QWidget* parent);
  ~PictureControlWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  // Shows the picture control record: checks, selections, amounts, marks, the alignment result
  // and which buttons can act. Edits the operator is typing into keep their text until the
  // value they show changes.
  void refresh();

 private:
  void buildValidRange(QWidget* group);
  void buildManualShift(QWidget* group);
  void buildShiftSwitches(QWidget* group, QHBoxLayout* top);
  void buildShiftAmounts(QWidget* group, QGridLayout* grid);
  void buildShiftMarks(QWidget* group, QGridLayout* grid);
  void buildReference(QWidget* group, QHBoxLayout* reference);
  void buildAlignment(QWidget* group);
  // Runs one command: reads the alignment range edits first (they are taken whenever any
  // command of the window runs), then `change`; when it returns true and pictures are loaded
  // the pictures are prepared again and the images recreated.
  template <typename Change>
  void run(Change change);
  void readRangeEdits();
  ShiftContext shiftContext() const;
  int division() const;
  void fillDivisionLists();
  // Sizes the fields, selectors and small buttons for their longest texts in the window's font.
  void fitFields();

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  int listedDivision_ = 0;  // n the sub-step, pad-step and precision lists were filled for

  // "有効範囲情報"
  QButtonGroup* validKinds_ = nullptr;
  QLineEdit* pictureWidth_ = nullptr;
  QLineEdit* pictureHeight_ = nullptr;
  std::array<QLineEdit*, 4> rectangle_{};  // left, top, right, bottom
  QPushButton* takeTopLeft_ = nullptr;
  QPushButton* takeBottomRight_ = nullptr;
  QLineEdit* margin_ = nullptr;
  QPushButton* validApply_ = nullptr;

  // "手動"
  QCheckBox* manual_ = nullptr;
  QButtonGroup* manualTarget_ = nullptr;
  std::array<QPushButton*, 4> directionButtons_{};  // left, right, up, down
  QLineEdit* wholeX_ = nullptr;
  QLineEdit* wholeY_ = nullptr;
  QComboBox* stepsX_ = nullptr;
  QComboBox* stepsY_ = nullptr;
  QLabel* divisionLabel_ = nullptr;
  DirectionPad* pad_ = nullptr;
  QComboBox* padStep_ = nullptr;
  std::array<QPushButton*, 2> markRestore_{};
  std::array<QPushButton*, 2> markStore_{};
  std::array<std::array<QLineEdit*, 2>, 2> markTexts_{};
  QPushButton* referenceShift_ = nullptr;
  QPushButton* referenceStore_ = nullptr;
  std::array<QLineEdit*, 2> reference_{};
  QPushButton* copyAutomatic_ = nullptr;

  // "ｱﾗｲﾒﾝﾄ情報"
  QCheckBox* automatic_ = nullptr;
  QComboBox* criterion_ = nullptr;
  QComboBox* precision_ = nullptr;
  QLineEdit* searchRange_ = nullptr;
  QButtonGroup* alignTarget_ = nullptr;
  QLineEdit* cursorRange_ = nullptr;
  QPushButton* runAtCursor_ = nullptr;
  QPushButton* rerun_ = nullptr;
  QLineEdit* result_ = nullptr;

  // What the edits showed last, so that refresh leaves text being typed alone.
  ValidRangeSetting shownValidRange_{};
  ShiftSetting shownSetting_{};
  std::array<int, 2> shownRanges_{-1, -1};
  bool shownOnce_ = false;
};

}  // namespace vemla
