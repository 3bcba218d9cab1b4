#pragma once
// The picture edit dialog "画像%sの編集": a modeless dialog over the workbench's editing state.
// Its fields are the kept edit settings; each button reads them (correcting wrong numbers to
// the nearest valid value), runs one editing operation and shows the result. The 17 x 17 value
// grid follows the cursor and takes direct entry with the mouse or, with "ｷｰ入力を可能とする",
// the keyboard. "階調値の変換" is its own small dialog.
#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>

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
class QScrollBar;
class QVBoxLayout;

namespace vemla {

// The value grid: 17 x 17 cells around the cursor, headed by their column and row numbers.
class EditGrid : public QWidget {
  Q_OBJECT
 public:
  EditGrid(Workbench& bench, QWidget* parent);
  QSize sizeHint() const override;
  // The picture position under a point of the widget; nullopt on the headings.
  std::optional<QPoint> cellAt(QPoint point) const;
  QRect cellRect(int column, int row) const;

 signals:
  // A button set the pixel under `position` (the window refreshes once per event-loop turn).
  void entered(QPoint position, bool rightButton);
  void cursorMoved(int dx, int dy);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int cellWidth() const;
  int cellHeight() const;
  Workbench& bench_;
};

class PictureEditDialog : public QDialog, public WorkbenchListener {
  Q_OBJECT
 public:
  PictureEditDialog(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                    QWidget* parent);
  ~PictureEditDialog() override;

  void picturesChanged() override { refreshGrid(); }
  void panesChanged() override { refreshGrid(); }

  // Shows the settings and the edited picture's number in the title.
  void present();
  // "ｷｬﾝｾﾙ" (also Esc and the close button): true when editing ended.
  bool cancel();

 signals:
  // The editing state ended ("終了" or "ｷｬﾝｾﾙ"): the main window's commands come back.
  void editingEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void build();
  void buildRange(QVBoxLayout* column);
  void buildGreyRange(QVBoxLayout* column);
  void buildOperation(QVBoxLayout* column);
  void buildGeometry(QVBoxLayout* column);
  void buildShift(QWidget* geometry, QGridLayout* geometryGrid);
  void buildSession(QVBoxLayout* column);
  void buildEntry(QHBoxLayout* layout);
  void showSettings();
  void readFields();  // the fields into the settings, corrected, shown back
  void run(int (*action)(Workbench&, UserPort&, BusyPort&, ProgressPort&));
  void enter(QPoint position, bool rightButton);
  void refreshGrid();
  void finish();
  void showConversion();

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  bool refreshPending_ = false;

  QCheckBox* rangeOn_ = nullptr;
  QRadioButton* rangeInside_ = nullptr;
  QRadioButton* rangeOutside_ = nullptr;
  std::array<QLineEdit*, 4> corners_{};  // left, top, right, bottom
  QCheckBox* greyOn_ = nullptr;
  QRadioButton* greyInside_ = nullptr;
  QRadioButton* greyOutside_ = nullptr;
  QLineEdit* greyLower_ = nullptr;
  QLineEdit* greyUpper_ = nullptr;
  QButtonGroup* operations_ = nullptr;
  QLineEdit* operand_ = nullptr;
  QLineEdit* angle_ = nullptr;
  QRadioButton* left_ = nullptr;
  QRadioButton* right_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QLineEdit* pixelsX_ = nullptr;
  QLineEdit* pixelsY_ = nullptr;
  QComboBox* stepsX_ = nullptr;
  QComboBox* stepsY_ = nullptr;
  QLineEdit* leftValue_ = nullptr;
  QLineEdit* rightValue_ = nullptr;
  QCheckBox* hexadecimal_ = nullptr;
  QCheckBox* keyEntry_ = nullptr;
  EditGrid* grid_ = nullptr;
};

// "階調値の変換": the conversion table in 10 x 10 fields scrolled in tens, "補間", "ﾘｾｯﾄ",
// "実行" and "終了".
class GreyConversionDialog : public QDialog {
  Q_OBJECT
 public:
  GreyConversionDialog(Workbench& bench, std::function<void()> execute, QWidget* parent);
  // The first grey value of the top row, 0..160 in tens.
  void scrollTo(int start);
  QLineEdit* field(int row, int column) const { return fields_[row * 10 + column]; }

 private:
  void showTable();
  void storeField(int index);
  Workbench& bench_;
  std::function<void()> execute_;
  int start_ = 0;
  std::array<QLineEdit*, 100> fields_{};
  std::array<QLabel*, 10> rowLabels_{};
  QScrollBar* scroll_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
};

// 40034 / 40035: begins editing `picture` and shows the dialog, unless the snapshot could not
// be written. The dialog is a child of `parent` (one at a time); `ended` runs each time the
// editing state ends (message 5002).
PictureEditDialog* editPicture(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                               ProgressPort& progress, PictureSlot picture,
                               const std::function<void()>& ended);
// The dialog of `parent`, if one was made.
PictureEditDialog* pictureEditDialog(QWidget* parent);

}  // namespace vemla
