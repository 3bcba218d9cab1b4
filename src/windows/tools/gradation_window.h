#pragma once
// The gradation value tool's windows: the tool window in the tool area (the 17 x 17 grid and
// its controls), the pair window "（階調値）イメージ１" and the operator dialog "ｵﾍﾟﾚｰﾀ%d". They
// paint the block the workbench computed after the last rendering and send every control to
// the core.
#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>

#include "tools/tool_words.h"
#include "workbench/workbench.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vemla {

// One painted block: the tool window's, or the pair window's (image 1 in pair display).
class GradationGridView : public QWidget {
 public:
  GradationGridView(Workbench& bench, bool pairWindow, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  Workbench& bench_;
  bool pairWindow_;
};

// "ｵﾍﾟﾚｰﾀ%d": nine coefficient fields and "絶対値"; "ＯＫ" stores them, closing discards.
class OperatorDialog : public QDialog {
 public:
  OperatorDialog(Workbench& bench, int number, QWidget* parent);

 private:
  void store();
  Workbench& bench_;
  int number_;
  std::array<QLineEdit*, 9> fields_{};
  QCheckBox* absolute_ = nullptr;
};

class GradationWindow : public QWidget, public WorkbenchListener {
 public:
  GradationWindow(Workbench& bench, QWidget* parent);
  ~GradationWindow() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();

  QWidget* pairWindow() const { return pairWindow_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void change(void (*edit)(tools::GradationWord&));
  void setMode(int mode);
  void openOperator(int number);
  void showPairWindow(bool shown);

  Workbench& bench_;
  GradationGridView* grid_ = nullptr;
  QPushButton* swap_ = nullptr;
  QPushButton* hex_ = nullptr;
  QPushButton* pair_ = nullptr;
  std::array<QRadioButton*, 5> modes_{};
  QPointer<QWidget> pairWindow_;
  // Where the pair window sat relative to the main window when it last closed (this session).
  std::optional<QPoint> pairOffset_;
};

}  // namespace vemla
