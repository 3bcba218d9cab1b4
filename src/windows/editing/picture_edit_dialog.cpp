#include "windows/editing/picture_edit_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/editing/picture_editing.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// The buttons of the operations, in the order of EditOperation, with their help texts.
struct OperationButton {
  const char* text;
  const char* help;
};
constexpr std::array<OperationButton, kEditOperationCount> kOperationButtons{{
    {text::N_("代入"), text::N_("階調値を指定された値に置き換えます(=)")},
    {text::N_("加算"), text::N_("階調値に指定された値を加算します(+=)")},
    {text::N_("減算"), text::N_("階調値から指定された値を減算します(-=)")},
    {text::N_("乗算"), text::N_("階調値に指定された値を乗算します(*=)")},
    {text::N_("除算"), text::N_("階調値を指定された値で除算します(/=)")},
    {text::N_("剰余"), text::N_("階調値を指定された値で除算した余りにします(%=)")},
    {"AND", text::N_("階調値を指定された値とAND(論理積)します(&=)")},
    {"OR", text::N_("階調値を指定された値とOR(論理和)します(|=)")},
    {"XOR", text::N_("階調値を指定された値とXOR(排他的論理和)します(^=)")},
}};

// A wrong entry is corrected silently to the nearest valid value (no number at all: `low`),
// and shown corrected.
int corrected(QLineEdit* field, int low, int high) {
  bool ok = false;
  const long long value = field->text().trimmed().toLongLong(&ok);
  const int result = ok ? static_cast<int>(std::clamp<long long>(value, low, high)) : low;
  field->setText(QString::number(result));
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The value grid

EditGrid::EditGrid(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName("EditGrid");
  setMouseTracking(false);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setQuickHelp(this,
               ui(text::N_("ｶｰｿﾙ周辺の階調値です\n左ｸﾘｯｸ／右ｸﾘｯｸで指定された値を書き込みます\n"
                           "ﾄﾞﾗｯｸﾞで通過したｾﾙへ続けて書き込みます")));
}

int EditGrid::cellWidth() const {
  // " 255" and a heading up to "4095", with a little room between the columns.
  return fontMetrics().horizontalAdvance(QString("4444")) + 4;
}
int EditGrid::cellHeight() const {
  return fontMetrics().height() + 2;
}

QSize EditGrid::sizeHint() const {
  return {cellWidth() * (kEditGridCells + 1) + 1, cellHeight() * (kEditGridCells + 1) + 1};
}

QRect EditGrid::cellRect(int column, int row) const {
  return {cellWidth() * (column + 1), cellHeight() * (row + 1), cellWidth(), cellHeight()};
}

std::optional<QPoint> EditGrid::cellAt(QPoint point) const {
  const int column = point.x() / cellWidth() - 1, row = point.y() / cellHeight() - 1;
  if (point.x() < 0 || point.y() < 0 || column < 0 || row < 0 || column >= kEditGridCells ||
      row >= kEditGridCells)
    return std::nullopt;
  return QPoint(bench_.view.centreX - kEditGridHalf + column,
                bench_.view.centreY - kEditGridHalf + row);
}

void EditGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  const PictureEditMemory& memory = bench_.shell.pictureEdit;
  const EditPlane plane = editedPlane(bench_);
  const bool hex = memory.settings.hexadecimal;
  const int x0 = bench_.view.centreX - kEditGridHalf, y0 = bench_.view.centreY - kEditGridHalf;
  const auto heading = [&](int value, int limit) {
    return value < 0 || value >= limit ? QStringLiteral(" ‥ ") : QString::number(value);
  };
  painter.setPen(palette().color(QPalette::PlaceholderText));
  for (int i = 0; i < kEditGridCells; ++i) {
    painter.drawText(cellRect(i, -1), Qt::AlignRight | Qt::AlignVCenter,
                     heading(x0 + i, plane.width));
    painter.drawText(cellRect(-1, i), Qt::AlignRight | Qt::AlignVCenter,
                     heading(y0 + i, plane.height));
  }
  for (int row = 0; row < kEditGridCells; ++row) {
    for (int column = 0; column < kEditGridCells; ++column) {
      const int x = x0 + column, y = y0 + row;
      const bool changed = memory.session.changedCells.count({x, y}) != 0;
      painter.setPen(changed ? QColor(Qt::red) : palette().color(QPalette::Text));
      painter.drawText(cellRect(column, row), Qt::AlignRight | Qt::AlignVCenter,
                       QString::fromStdString(editCellText(plane, x, y, hex)));
    }
  }
  painter.setPen(palette().color(QPalette::Highlight));
  painter.drawRect(cellRect(kEditGridHalf, kEditGridHalf).adjusted(0, 0, -1, -1));
}

void EditGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  if (const auto cell = cellAt(event->position().toPoint()))
    emit entered(*cell, event->button() == Qt::RightButton);
}

void EditGrid::mouseMoveEvent(QMouseEvent* event) {
  const bool left = event->buttons() & Qt::LeftButton, right = event->buttons() & Qt::RightButton;
  if (!left && !right) return;
  if (const auto cell = cellAt(event->position().toPoint())) emit entered(*cell, !left);
}

void EditGrid::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      emit cursorMoved(-1, 0);
      return;
    case Qt::Key_Right:
      emit cursorMoved(1, 0);
      return;
    case Qt::Key_Up:
      emit cursorMoved(0, -1);
      return;
    case Qt::Key_Down:
      emit cursorMoved(0, 1);
      return;
    case Qt::Key_Space:
      emit entered(QPoint(bench_.view.centreX, bench_.view.centreY),
                   (event->modifiers() & Qt::ShiftModifier) != 0);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

// ---------------------------------------------------------------------------------------------
// The dialog

PictureEditDialog::PictureEditDialog(Workbench& bench, UserPort& user, BusyPort& busy,
                                     ProgressPort& progress, QWidget* parent)
    : QDialog(parent), bench_(bench), user_(user), busy_(busy), progress_(progress) {
  setObjectName("PictureEdit");
  setModal(false);
  controls::setCompactFont(
      this);  // the small font of the control windows, so that it fits 1024 x 768
  build();
  bench_.addListener(this);
}

PictureEditDialog::~PictureEditDialog() {
  bench_.removeListener(this);
}

void PictureEditDialog::build() {
  auto* layout = new QHBoxLayout(this);
  auto* column = new QVBoxLayout;
  layout->addLayout(column);
  buildRange(column);
  buildGreyRange(column);
  buildOperation(column);
  buildGeometry(column);
  buildSession(column);
  buildEntry(layout);
}

void PictureEditDialog::buildRange(QVBoxLayout* column) {
  // "座標範囲"
  using controls::radioButton;
  auto* range = new QGroupBox(this);
  auto* rangeGrid = new QGridLayout(range);
  rangeOn_ = controls::checkBox(range, text::N_("座標範囲"), "RangeOn",
                                text::N_("指定された範囲に対してのみ\n編集機能が実行されます"));
  rangeInside_ =
      radioButton(range, text::N_("範囲内"), "RangeInside", text::N_("座標範囲の内側を編集します"));
  rangeOutside_ = radioButton(range, text::N_("範囲外"), "RangeOutside",
                              text::N_("座標範囲の外側を編集します\n(演算実行と階調反転のみ)"));
  rangeGrid->addWidget(rangeOn_, 0, 0, 1, 2);
  rangeGrid->addWidget(rangeInside_, 0, 2, 1, 2);
  rangeGrid->addWidget(rangeOutside_, 0, 4, 1, 2);
  const char* cornerNames[4] = {"Left", "Top", "Right", "Bottom"};
  for (int i = 0; i < 4; ++i)
    corners_[i] = controls::numberEdit(
        range, cornerNames[i], 4095,
        i < 2 ? text::N_("座標範囲の左上の座標です") : text::N_("座標範囲の右下の座標です"));
  for (int corner = 0; corner < 2; ++corner) {
    const int row = 1 + corner;
    rangeGrid->addWidget(
        new QLabel(ui(corner == 0 ? text::N_("左上 X") : text::N_("右下 X")), range), row, 0);
    rangeGrid->addWidget(corners_[corner * 2], row, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Y"), range), row, 2);
    rangeGrid->addWidget(corners_[corner * 2 + 1], row, 3);
    auto* take = controls::dialogButton(range, "≪", corner == 0 ? "TakeTopLeft" : "TakeBottomRight",
                                        text::N_("現在のｶｰｿﾙ位置を座標範囲の角にします"));
    controls::fitButton(take);
    rangeGrid->addWidget(take, row, 4);
    connect(take, &QPushButton::clicked, this, [this, corner] {
      corners_[corner * 2]->setText(QString::number(bench_.view.centreX));
      corners_[corner * 2 + 1]->setText(QString::number(bench_.view.centreY));
      readFields();
    });
  }
  column->addWidget(range);
}

void PictureEditDialog::buildGreyRange(QVBoxLayout* column) {
  // "階調範囲(演算実行時のみ有効)"
  auto* grey = new QGroupBox(this);
  auto* greyGrid = new QGridLayout(grey);
  greyOn_ =
      controls::checkBox(grey, text::N_("階調範囲(演算実行時のみ有効)"), "GreyOn",
                         text::N_("指定された階調範囲の画素に対してのみ\n演算が実行されます"));
  greyInside_ = controls::radioButton(grey, text::N_("範囲内"), "GreyInside", nullptr);
  greyOutside_ = controls::radioButton(grey, text::N_("範囲外"), "GreyOutside", nullptr);
  greyLower_ = controls::numberEdit(grey, "GreyLower", 255, text::N_("階調範囲の下限です(0～255)"));
  greyUpper_ = controls::numberEdit(grey, "GreyUpper", 255, text::N_("階調範囲の上限です(0～255)"));
  greyGrid->addWidget(greyOn_, 0, 0, 1, 4);
  greyGrid->addWidget(greyInside_, 1, 0);
  greyGrid->addWidget(greyOutside_, 1, 1);
  greyGrid->addWidget(greyLower_, 1, 2);
  greyGrid->addWidget(greyUpper_, 1, 3);
  column->addWidget(grey);
}

void PictureEditDialog::buildOperation(QVBoxLayout* column) {
  // The operations, the value and "演算実行"
  auto* operation = new QGroupBox(this);
  auto* operationGrid = new QGridLayout(operation);
  operations_ = new QButtonGroup(this);
  for (int i = 0; i < kEditOperationCount; ++i) {
    auto* choice = controls::radioButton(operation, kOperationButtons[i].text,
                                         QString("Operation%1").arg(i), kOperationButtons[i].help);
    operations_->addButton(choice, i);
    operationGrid->addWidget(choice, i / 5, i % 5);
  }
  operand_ = new QLineEdit(operation);
  operand_->setObjectName("Operand");
  operand_->setMaxLength(static_cast<int>(kMaxOperandText));
  operand_->setMinimumWidth(editWidthFor(operand_, QString(12, QChar('8'))));
  setQuickHelp(operand_,
               ui(text::N_("各演算処理で用いる値を指定します\n10進数 16進数(0x指定) 浮動小数の\n"
                           "指定が可能です")));
  operationGrid->addWidget(operand_, 2, 0, 1, 3);
  auto* operate = controls::dialogButton(operation, text::N_("演算実行"), "Operate",
                                         text::N_("指定された演算を実行します"));
  operationGrid->addWidget(operate, 2, 3, 1, 2);
  connect(operate, &QPushButton::clicked, this, [this] { run(editOperate); });
  column->addWidget(operation);
}

void PictureEditDialog::buildGeometry(QVBoxLayout* column) {
  // "反転", "回転" and "ｼﾌﾄ"
  using controls::dialogButton;
  auto* geometry = new QGroupBox(this);
  auto* geometryGrid = new QGridLayout(geometry);
  geometryGrid->addWidget(new QLabel(ui(text::N_("反転")), geometry), 0, 0);
  auto* flipX = dialogButton(geometry, text::N_("左右"), "FlipHorizontal",
                             text::N_("座標範囲内を左右反転します"));
  auto* flipY = dialogButton(geometry, text::N_("上下"), "FlipVertical",
                             text::N_("座標範囲内を上下反転します"));
  auto* invert = dialogButton(geometry, text::trIn("picture edit", "階調"), "Invert",
                              text::N_("座標範囲の階調値を反転します(255-v)"));
  geometryGrid->addWidget(flipX, 0, 1);
  geometryGrid->addWidget(flipY, 0, 2);
  geometryGrid->addWidget(invert, 0, 3);
  connect(flipX, &QPushButton::clicked, this, [this] {
    run([](Workbench& b, UserPort& u, BusyPort& w, ProgressPort& p) {
      return editFlip(b, EditFlip::Horizontal, u, w, p);
    });
  });
  connect(flipY, &QPushButton::clicked, this, [this] {
    run([](Workbench& b, UserPort& u, BusyPort& w, ProgressPort& p) {
      return editFlip(b, EditFlip::Vertical, u, w, p);
    });
  });
  connect(invert, &QPushButton::clicked, this, [this] { run(editInvert); });
  auto* rotate = dialogButton(geometry, text::N_("回転"), "Rotate",
                              text::N_("座標範囲内を指定角度だけ時計方向へ回転します"));
  angle_ = controls::numberEdit(geometry, "Angle", kMaxRotationAngle,
                                text::N_("回転角度を 0～359°の範囲で指定します"));
  geometryGrid->addWidget(rotate, 1, 0);
  geometryGrid->addWidget(angle_, 1, 1);
  geometryGrid->addWidget(new QLabel(QStringLiteral("°"), geometry), 1, 2);
  connect(rotate, &QPushButton::clicked, this, [this] { run(editRotate); });
  buildShift(geometry, geometryGrid);
  column->addWidget(geometry);
}

void PictureEditDialog::buildShift(QWidget* geometry, QGridLayout* geometryGrid) {
  using controls::radioButton;
  auto* shift = controls::dialogButton(geometry, text::N_("ｼﾌﾄ"), "Shift",
                                       text::N_("座標範囲内を指定された量だけｼﾌﾄします"));
  connect(shift, &QPushButton::clicked, this, [this] { run(editShift); });
  constexpr const char* kDirectionHelp = text::N_("ｼﾌﾄする方向です");
  left_ = radioButton(geometry, "←", "ShiftLeft", kDirectionHelp);
  right_ = radioButton(geometry, "→", "ShiftRight", kDirectionHelp);
  up_ = radioButton(geometry, "↑", "ShiftUp", kDirectionHelp);
  down_ = radioButton(geometry, "↓", "ShiftDown", kDirectionHelp);
  auto* horizontal = new QButtonGroup(this);
  horizontal->addButton(left_);
  horizontal->addButton(right_);
  auto* vertical = new QButtonGroup(this);
  vertical->addButton(up_);
  vertical->addButton(down_);
  constexpr const char* kPixelsHelp = text::N_("ｼﾌﾄする画素数です");
  pixelsX_ = controls::numberEdit(geometry, "PixelsX", 4096, kPixelsHelp);
  pixelsY_ = controls::numberEdit(geometry, "PixelsY", 4096, kPixelsHelp);
  constexpr const char* kStepsHelp = text::N_("ｻﾌﾞﾋﾟｸｾﾙ単位のｼﾌﾄ量です(1/n画素)");
  stepsX_ = new QComboBox(geometry);
  stepsY_ = new QComboBox(geometry);
  stepsX_->setObjectName("StepsX");
  stepsY_->setObjectName("StepsY");
  for (QComboBox* steps : {stepsX_, stepsY_}) setQuickHelp(steps, ui(kStepsHelp));
  geometryGrid->addWidget(shift, 2, 0);
  geometryGrid->addWidget(left_, 2, 1);
  geometryGrid->addWidget(right_, 2, 2);
  geometryGrid->addWidget(pixelsX_, 2, 3);
  geometryGrid->addWidget(stepsX_, 2, 4);
  geometryGrid->addWidget(up_, 3, 1);
  geometryGrid->addWidget(down_, 3, 2);
  geometryGrid->addWidget(pixelsY_, 3, 3);
  geometryGrid->addWidget(stepsY_, 3, 4);
}

void PictureEditDialog::buildSession(QVBoxLayout* column) {
  // The buttons of the session
  using controls::dialogButton;
  auto* session = new QGridLayout;
  auto* redisplay = dialogButton(this, text::N_("再表示"), "Redisplay",
                                 text::N_("入力された値を読み込み再表示します"));
  auto* reset =
      dialogButton(this, text::N_("範囲情報ﾘｾｯﾄ"), "ResetRange",
                   text::N_("座標範囲を画像のｻｲｽﾞ全体へ\n階調範囲を0～255へ初期化します"));
  auto* conversion = dialogButton(this, text::N_("階調値の変換"), "Conversion",
                                  text::N_("階調値の変換表を編集し実行します"));
  auto* update =
      dialogButton(this, text::N_("更新"), "Update", text::N_("編集した内容を確定します"));
  auto* undo = dialogButton(this, text::N_("やり直し"), "Undo",
                            text::N_("編集開始／更新された時の内容へ戻ります"));
  auto* cancel =
      dialogButton(this, text::N_("ｷｬﾝｾﾙ"), "Cancel", text::N_("編集した内容を破棄して終了します"));
  auto* finish =
      dialogButton(this, text::N_("終了"), "Finish", text::N_("編集した内容を確定して終了します"));
  session->addWidget(redisplay, 0, 0);
  session->addWidget(reset, 0, 1);
  session->addWidget(conversion, 0, 2);
  session->addWidget(update, 1, 0);
  session->addWidget(undo, 1, 1);
  session->addWidget(cancel, 1, 2);
  session->addWidget(finish, 1, 3);
  column->addLayout(session);
  column->addStretch();
  connect(redisplay, &QPushButton::clicked, this, [this] {
    readFields();
    refreshGrid();
  });
  connect(reset, &QPushButton::clicked, this, [this] {
    resetEditRanges(bench_);
    showSettings();
  });
  connect(conversion, &QPushButton::clicked, this, &PictureEditDialog::showConversion);
  connect(update, &QPushButton::clicked, this, [this] {
    updatePictureSnapshot(bench_, user_);
    refreshGrid();
  });
  connect(undo, &QPushButton::clicked, this, [this] {
    undoPictureEdits(bench_, user_, busy_, progress_);
    refreshGrid();
  });
  connect(cancel, &QPushButton::clicked, this, [this] { this->cancel(); });
  connect(finish, &QPushButton::clicked, this, &PictureEditDialog::finish);
}

void PictureEditDialog::buildEntry(QHBoxLayout* layout) {
  // The grid and its entry values
  auto* entry = new QVBoxLayout;
  layout->addLayout(entry);
  auto* values = new QHBoxLayout;
  leftValue_ = new QLineEdit(this);
  rightValue_ = new QLineEdit(this);
  leftValue_->setObjectName("LeftValue");
  rightValue_->setObjectName("RightValue");
  for (QLineEdit* value : {leftValue_, rightValue_}) {
    value->setMaxLength(static_cast<int>(kMaxClickValueText));
    value->setFixedWidth(editWidthFor(value, QStringLiteral("0xFFFF")));
    connect(value, &QLineEdit::editingFinished, this, &PictureEditDialog::readFields);
  }
  setQuickHelp(leftValue_, ui(text::N_("左ｸﾘｯｸで書き込む値です\n10進数 16進数(0x指定)で0～255")));
  setQuickHelp(rightValue_, ui(text::N_("右ｸﾘｯｸで書き込む値です\n10進数 16進数(0x指定)で0～255")));
  values->addWidget(new QLabel(ui(text::N_("左ｸﾘｯｸ")), this));
  values->addWidget(leftValue_);
  values->addWidget(new QLabel(ui(text::N_("右ｸﾘｯｸ")), this));
  values->addWidget(rightValue_);
  hexadecimal_ = controls::checkBox(this, text::N_("16進表示"), "Hexadecimal",
                                    text::N_("階調値を16進数で表示します"));
  connect(hexadecimal_, &QCheckBox::toggled, this, [this](bool on) {
    setEditHexadecimal(bench_, on);
    refreshGrid();
  });
  keyEntry_ = controls::checkBox(
      this, text::N_("ｷｰ入力を可能とする"), "KeyEntry",
      text::N_("矢印ｷｰでｶｰｿﾙを移動し\nｽﾍﾟｰｽｷｰで左ｸﾘｯｸの値\nShift+ｽﾍﾟｰｽｷｰで右ｸﾘｯｸの値を"
               "書き込みます"));
  values->addWidget(hexadecimal_);
  values->addWidget(keyEntry_);
  values->addStretch();
  entry->addLayout(values);
  grid_ = new EditGrid(bench_, this);
  entry->addWidget(grid_);
  entry->addStretch();
  connect(keyEntry_, &QCheckBox::toggled, this, [this](bool on) {
    grid_->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (on) grid_->setFocus();
  });
  connect(grid_, &EditGrid::entered, this, &PictureEditDialog::enter);
  connect(grid_, &EditGrid::cursorMoved, this, [this](int dx, int dy) {
    setCursorPosition(bench_, bench_.view.centreX + dx, bench_.view.centreY + dy);
    refreshGrid();
  });
}

void PictureEditDialog::present() {
  const PictureSlot picture = bench_.shell.pictureEdit.session.picture;
  setWindowTitle(ui(picture == PictureSlot::First ? kEditTitle1 : kEditTitle2));
  const int division = bench_.options.ShiftUnit;
  for (QComboBox* steps : {stepsX_, stepsY_}) {
    steps->clear();
    for (int i = 0; i < division; ++i) steps->addItem(QString::number(i));
  }
  showSettings();
  show();
  raise();
  activateWindow();
}

void PictureEditDialog::showSettings() {
  const EditSettings& s = bench_.shell.pictureEdit.settings;
  rangeOn_->setChecked(s.range.on);
  (s.range.outside ? rangeOutside_ : rangeInside_)->setChecked(true);
  const Rect& r = s.range.rectangle;
  const int corners[4] = {r.left, r.top, r.right, r.bottom};
  for (int i = 0; i < 4; ++i) corners_[i]->setText(QString::number(corners[i]));
  greyOn_->setChecked(s.grey.on);
  (s.grey.outside ? greyOutside_ : greyInside_)->setChecked(true);
  greyLower_->setText(QString::number(s.grey.lower));
  greyUpper_->setText(QString::number(s.grey.upper));
  operations_->button(static_cast<int>(s.operation))->setChecked(true);
  operand_->setText(QString::fromStdString(s.operand));
  angle_->setText(QString::number(s.angle));
  (s.right ? right_ : left_)->setChecked(true);
  (s.down ? down_ : up_)->setChecked(true);
  pixelsX_->setText(QString::number(s.pixelsX));
  pixelsY_->setText(QString::number(s.pixelsY));
  stepsX_->setCurrentIndex(std::min(s.stepsX, stepsX_->count() - 1));
  stepsY_->setCurrentIndex(std::min(s.stepsY, stepsY_->count() - 1));
  leftValue_->setText(QString::fromStdString(s.leftValue));
  rightValue_->setText(QString::fromStdString(s.rightValue));
  hexadecimal_->setChecked(s.hexadecimal);
  refreshGrid();
}

void PictureEditDialog::readFields() {
  EditSettings& s = bench_.shell.pictureEdit.settings;
  const int width = bench_.pictures.width, height = bench_.pictures.height;
  s.range.on = rangeOn_->isChecked();
  s.range.outside = rangeOutside_->isChecked();
  const int left = corrected(corners_[0], 0, width - 1);
  const int top = corrected(corners_[1], 0, height - 1);
  // The bottom-right corner is never left of or above the top-left one.
  s.range.rectangle = {left, top, corrected(corners_[2], left, width - 1),
                       corrected(corners_[3], top, height - 1)};
  s.grey.on = greyOn_->isChecked();
  s.grey.outside = greyOutside_->isChecked();
  s.grey.lower = corrected(greyLower_, 0, 255);
  s.grey.upper = corrected(greyUpper_, 0, 255);
  if (s.grey.lower > s.grey.upper) {
    std::swap(s.grey.lower, s.grey.upper);
    greyLower_->setText(QString::number(s.grey.lower));
    greyUpper_->setText(QString::number(s.grey.upper));
  }
  s.operation = static_cast<EditOperation>(std::max(0, operations_->checkedId()));
  s.operand = operand_->text().toStdString();
  s.angle = corrected(angle_, 0, kMaxRotationAngle);
  s.right = right_->isChecked();
  s.down = down_->isChecked();
  s.pixelsX = corrected(pixelsX_, 0, width);
  s.pixelsY = corrected(pixelsY_, 0, height);
  s.stepsX = std::max(0, stepsX_->currentIndex());
  s.stepsY = std::max(0, stepsY_->currentIndex());
  s.leftValue = leftValue_->text().toStdString();
  s.rightValue = rightValue_->text().toStdString();
}

void PictureEditDialog::run(int (*action)(Workbench&, UserPort&, BusyPort&, ProgressPort&)) {
  readFields();
  action(bench_, user_, busy_, progress_);
  refreshGrid();
}

void PictureEditDialog::enter(QPoint position, bool rightButton) {
  readFields();
  if (!editSetCell(bench_, position.x(), position.y(), rightButton)) return;
  grid_->update();
  // The cells of one drag share one refresh per turn of the event loop.
  if (refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshPending_ = false;
    if (bench_.pictures.editing) refreshAfterEdit(bench_, user_, busy_, progress_);
  });
}

void PictureEditDialog::refreshGrid() {
  if (grid_ != nullptr) grid_->update();
}

bool PictureEditDialog::cancel() {
  if (!bench_.pictures.editing) return true;
  readFields();
  if (!cancelPictureEditing(bench_, user_, busy_, progress_)) return false;
  hide();
  emit editingEnded();
  return true;
}

void PictureEditDialog::finish() {
  readFields();
  finishPictureEditing(bench_);
  hide();
  emit editingEnded();
}

void PictureEditDialog::reject() {
  cancel();
}

void PictureEditDialog::closeEvent(QCloseEvent* event) {
  if (cancel())
    event->accept();
  else
    event->ignore();
}

void PictureEditDialog::showConversion() {
  readFields();
  auto* dialog = findChild<GreyConversionDialog*>("GreyConversion", Qt::FindDirectChildrenOnly);
  if (dialog == nullptr)
    dialog = new GreyConversionDialog(
        bench_, [this] { run(editConvert); }, this);
  dialog->show();
  dialog->raise();
}

// ---------------------------------------------------------------------------------------------
// "階調値の変換"

GreyConversionDialog::GreyConversionDialog(Workbench& bench, std::function<void()> execute,
                                           QWidget* parent)
    : QDialog(parent), bench_(bench), execute_(std::move(execute)) {
  setObjectName("GreyConversion");
  setWindowTitle(ui(text::N_("階調値の変換")));
  auto* layout = new QVBoxLayout(this);
  auto* table = new QGridLayout;
  layout->addLayout(table);
  for (int column = 0; column < 10; ++column) {
    auto* heading = new QLabel(QString("+%1").arg(column), this);
    heading->setAlignment(Qt::AlignCenter);
    table->addWidget(heading, 0, column + 1);
  }
  for (int row = 0; row < 10; ++row) {
    rowLabels_[row] = new QLabel(this);
    rowLabels_[row]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("250")) + 4);
    table->addWidget(rowLabels_[row], row + 1, 0);
    for (int column = 0; column < 10; ++column) {
      const int index = row * 10 + column;
      QLineEdit*& field = fields_[index];
      field = controls::numberEdit(this, QString("Entry%1%2").arg(row).arg(column), 255,
                                   text::N_("変換後の階調値です(0～255)"));
      table->addWidget(field, row + 1, column + 1);
      connect(field, &QLineEdit::editingFinished, this, [this, index] { storeField(index); });
    }
  }
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName("Scroll");
  scroll_->setRange(0, 16);
  scroll_->setPageStep(10);
  table->addWidget(scroll_, 1, 11, 10, 1);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int tens) { scrollTo(tens * 10); });

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  from_ = controls::numberEdit(this, "From", 255, text::N_("補間の開始階調値です"));
  to_ = controls::numberEdit(this, "To", 255, text::N_("補間の終了階調値です"));
  from_->setText("0");
  to_->setText("255");
  using controls::dialogButton;
  auto* interpolate = dialogButton(this, text::N_("補間"), "Interpolate",
                                   text::N_("開始と終了の間の変換値を直線で補間します"));
  auto* reset =
      dialogButton(this, text::N_("ﾘｾｯﾄ"), "Reset", text::N_("変換表を無変換の状態に戻します"));
  auto* run = dialogButton(this, text::N_("実行"), "Execute",
                           text::N_("座標範囲内の階調値を変換表で変換します"));
  auto* close = dialogButton(this, text::N_("終了"), "Close", text::N_("変換表を保持して閉じます"));
  buttons->addWidget(from_);
  buttons->addWidget(new QLabel(ui(text::N_("～")), this));
  buttons->addWidget(to_);
  buttons->addWidget(interpolate);
  buttons->addWidget(reset);
  buttons->addWidget(run);
  buttons->addWidget(close);
  connect(interpolate, &QPushButton::clicked, this, [this] {
    interpolateConversionTable(bench_, corrected(from_, 0, 255), corrected(to_, 0, 255));
    showTable();
  });
  connect(reset, &QPushButton::clicked, this, [this] {
    resetConversionTable(bench_);
    showTable();
  });
  connect(run, &QPushButton::clicked, this, [this] { execute_(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  showTable();
}

void GreyConversionDialog::scrollTo(int start) {
  start_ = std::clamp(start / 10 * 10, 0, 160);
  if (scroll_->value() != start_ / 10) scroll_->setValue(start_ / 10);
  showTable();
}

void GreyConversionDialog::showTable() {
  const GreyTable& table = bench_.shell.pictureEdit.settings.table;
  for (int row = 0; row < 10; ++row) {
    rowLabels_[row]->setText(QString::number(start_ + row * 10));
    for (int column = 0; column < 10; ++column) {
      const int grey = start_ + row * 10 + column;
      QLineEdit* field = fields_[row * 10 + column];
      field->setEnabled(grey <= 255);
      field->setText(grey <= 255 ? QString::number(table[grey]) : QString());
    }
  }
}

void GreyConversionDialog::storeField(int index) {
  const int grey = start_ + index;
  if (grey > 255) return;
  bench_.shell.pictureEdit.settings.table[grey] =
      static_cast<std::uint8_t>(corrected(fields_[index], 0, 255));
}

// ---------------------------------------------------------------------------------------------

PictureEditDialog* pictureEditDialog(QWidget* parent) {
  return parent->findChild<PictureEditDialog*>("PictureEdit", Qt::FindDirectChildrenOnly);
}

PictureEditDialog* editPicture(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                               ProgressPort& progress, PictureSlot picture,
                               const std::function<void()>& ended) {
  if (startPictureEditing(bench, picture, user) != 0) return nullptr;
  PictureEditDialog* dialog = pictureEditDialog(parent);
  if (dialog == nullptr) {
    dialog = new PictureEditDialog(bench, user, busy, progress, parent);
    QObject::connect(dialog, &PictureEditDialog::editingEnded, parent, ended);
  }
  dialog->present();
  return dialog;
}

}  // namespace vemla
