#include "windows/tools/gradation_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "windows/main/screen_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/tools/gradation_tool.h"

namespace vemla {
namespace {

using text::N_;
using tools::kGradationCellHeight;
using tools::kGradationCellWidth;
using tools::kGradationGridTop;
using tools::kGradationSpan;

constexpr int kGridHeight = kGradationGridTop + kGradationSpan * kGradationCellHeight + 2;

constexpr std::array<const char*, 4> kOperatorResultHelp{
    N_("ｵﾍﾟﾚｰﾀ1の演算結果の表示を行います"), N_("ｵﾍﾟﾚｰﾀ2の演算結果の表示を行います"),
    N_("ｵﾍﾟﾚｰﾀ3の演算結果の表示を行います"), N_("ｵﾍﾟﾚｰﾀ4の演算結果の表示を行います")};
constexpr std::array<const char*, 4> kOperatorEditHelp{
    N_("ｵﾍﾟﾚｰﾀ1の演算内容を指定できます"), N_("ｵﾍﾟﾚｰﾀ2の演算内容を指定できます"),
    N_("ｵﾍﾟﾚｰﾀ3の演算内容を指定できます"), N_("ｵﾍﾟﾚｰﾀ4の演算内容を指定できます")};
constexpr std::array<const char*, 4> kOperatorKeys{N_("Ｆ１"), N_("Ｆ２"), N_("Ｆ３"), N_("Ｆ４")};

QFont gridFont(const QWidget* widget) {
  QFont font = widget->font();
  font.setFamily("monospace");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(11);
  return font;
}

}  // namespace

// ---- The grid ----

GradationGridView::GradationGridView(Workbench& bench, bool pairWindow, QWidget* parent)
    : QWidget(parent), bench_(bench), pairWindow_(pairWindow) {
  setObjectName(pairWindow ? "GradationPairGrid" : "GradationGrid");
  const int left = pairWindow ? tools::kGradationPairGridLeft : tools::kGradationGridLeft;
  setFixedSize(left + kGradationSpan * kGradationCellWidth + 4, kGridHeight);
}

void GradationGridView::paintEvent(QPaintEvent*) {
  const tools::GradationContent& content = bench_.tools.gradation;
  const tools::GradationWord settings = gradationSettings(bench_);
  const QColor paper = settings.dark ? Qt::black : Qt::white;
  const QColor ink = settings.dark ? QColor(220, 220, 220) : Qt::black;
  const QColor cursorInk = settings.dark ? QColor(255, 255, 0) : QColor(0, 0, 255);
  QPainter painter(this);
  painter.fillRect(rect(), paper);
  const auto& grid = pairWindow_ ? content.pairGrid : content.grid;
  if (!grid) return;
  painter.setFont(gridFont(this));
  const int left = pairWindow_ ? tools::kGradationPairGridLeft : tools::kGradationGridLeft;
  const int ascent = painter.fontMetrics().ascent();
  const bool cursorShown = bench_.view.cursorShown;
  const auto text = [&](int x, int y, const std::string& s, const QColor& colour) {
    painter.setPen(colour);
    painter.drawText(x, y + ascent, QString::fromStdString(s));
  };
  const int top = kGradationGridTop;
  for (int i = 0; i < kGradationSpan; ++i) {
    const bool cursorLine = cursorShown && i == tools::kGradationHalfSpan;
    text(left + i * kGradationCellWidth, top - kGradationCellHeight - 2, grid->columnHeaders[i],
         cursorLine ? cursorInk : ink);
    text(left - kGradationCellWidth + 3, top + i * kGradationCellHeight, grid->rowHeaders[i],
         cursorLine ? cursorInk : ink);
  }
  for (int r = 0; r < kGradationSpan; ++r) {
    for (int c = 0; c < kGradationSpan; ++c) {
      const tools::GradationCell& cell = grid->cells[r][c];
      QColor colour = ink;
      if (cursorShown && (r == tools::kGradationHalfSpan || c == tools::kGradationHalfSpan)) {
        colour = cursorInk;
      }
      if (cell.value && ((content.highlightMax && cell.value == grid->max) ||
                         (content.highlightMin && cell.value == grid->min))) {
        colour = Qt::red;
      }
      text(left + c * kGradationCellWidth, top + r * kGradationCellHeight, cell.text, colour);
    }
  }
}

void GradationGridView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint at = event->position().toPoint();
  if (const auto cell = tools::gradationCellAt(at.x(), at.y(), pairWindow_)) {
    clickGradationCell(bench_, *cell);
  }
}

void GradationGridView::contextMenuEvent(QContextMenuEvent* event) {
  const auto& grid = pairWindow_ ? bench_.tools.gradation.pairGrid : bench_.tools.gradation.grid;
  if (!grid) return;
  QMenu menu(this);
  QAction* copy = menu.addAction(ui(N_("コピー")));
  if (menu.exec(event->globalPos()) == copy) {
    QApplication::clipboard()->setText(QString::fromStdString(tools::gradationGridText(*grid)));
  }
}

// ---- The operator dialog ----

OperatorDialog::OperatorDialog(Workbench& bench, int number, QWidget* parent)
    : QDialog(parent), bench_(bench), number_(number) {
  setObjectName("OperatorDialog");
  setWindowTitle(ui(N_("ｵﾍﾟﾚｰﾀ%1")).arg(number));
  auto* grid = new QGridLayout(this);
  const tools::GradationOperator op = gradationOperator(bench, number);
  const int digits = fontMetrics().horizontalAdvance(QStringLiteral("-2147483648  "));
  for (int i = 0; i < 9; ++i) {
    fields_[i] = controls::lineEdit(this, "", nullptr, false);
    fields_[i]->setObjectName(QString("Coefficient%1").arg(i + 1));
    fields_[i]->setText(QString::number(op.coefficients[i]));
    fields_[i]->setFixedWidth(digits);
    grid->addWidget(fields_[i], i / 3, i % 3);
  }
  absolute_ = controls::checkBox(this, N_("絶対値"), "Absolute", nullptr);
  absolute_->setChecked(op.absolute);
  grid->addWidget(absolute_, 3, 0, 1, 2);
  auto* ok = controls::pushButton(this, N_("ＯＫ"), "OK", nullptr);
  grid->addWidget(ok, 3, 2);
  connect(ok, &QPushButton::clicked, this, [this] {
    store();
    accept();
  });
}

void OperatorDialog::store() {
  tools::GradationOperator op;
  for (int i = 0; i < 9; ++i)
    op.coefficients[i] = tools::coefficientOfText(controls::editText(fields_[i]));
  op.absolute = absolute_->isChecked();
  setGradationOperator(bench_, number_, op);
}

// ---- The tool window ----

GradationWindow::GradationWindow(Workbench& bench, QWidget* parent)
    : QWidget(parent), bench_(bench) {
  setObjectName("GradationValues");
  controls::setCompactFont(this);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(1);
  grid_ = new GradationGridView(bench, false, this);
  column->addWidget(grid_);

  auto* first = new QHBoxLayout();
  auto* second = new QHBoxLayout();
  for (auto* row : {first, second}) {
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(2);
    column->addLayout(row);
  }
  auto* background =
      controls::pushButton(this, "■□", "Background", N_("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞの色を切り替えます"));
  connect(background, &QPushButton::clicked, this,
          [this] { change([](tools::GradationWord& s) { s.dark = !s.dark; }); });
  first->addWidget(background);
  auto* group = new QButtonGroup(this);
  modes_[0] = controls::radioButton(this, N_("階調"), "GreyValues", N_("階調値の表示を行います"));
  group->addButton(modes_[0], 0);
  first->addWidget(modes_[0]);
  for (int k = 1; k <= 4; ++k) {
    modes_[k] = controls::radioButton(this, "", "", kOperatorResultHelp[k - 1]);
    modes_[k]->setObjectName(QString("Operator%1").arg(k));
    group->addButton(modes_[k], k);
    first->addWidget(modes_[k]);
    auto* edit = controls::pushButton(this, kOperatorKeys[k - 1], "", kOperatorEditHelp[k - 1]);
    edit->setObjectName(QString("EditOperator%1").arg(k));
    first->addWidget(edit);
    connect(edit, &QPushButton::clicked, this, [this, k] { openOperator(k); });
  }
  connect(group, &QButtonGroup::idClicked, this, [this](int mode) { setMode(mode); });
  first->addStretch();

  auto* maximum = controls::pushButton(this, N_("最大"), "Maximum",
                                       N_("表示数値内の最大値が色を変えて表示されます"));
  auto* minimum = controls::pushButton(this, N_("最小"), "Minimum",
                                       N_("表示数値内の最小値が色を変えて表示されます"));
  connect(maximum, &QPushButton::clicked, this,
          [this] { highlightGradationExtreme(bench_, true); });
  connect(minimum, &QPushButton::clicked, this,
          [this] { highlightGradationExtreme(bench_, false); });
  swap_ = controls::pushButton(this, "⇔", "Swap",
                               N_("表示位置を変更せずに表示対象となるｲﾒｰｼﾞを切り替えます"));
  connect(swap_, &QPushButton::clicked, this,
          [this] { change([](tools::GradationWord& s) { s.secondImage = !s.secondImage; }); });
  hex_ = controls::pushButton(this, N_("16進"), "Hex", N_("10進数と16進数の表示を切り替えます"));
  hex_->setCheckable(true);
  connect(hex_, &QPushButton::clicked, this,
          [this] { change([](tools::GradationWord& s) { s.hex = !s.hex; }); });
  pair_ = controls::pushButton(this, N_("ﾍﾟｱ表示"), "Pair", N_("ｲﾒｰｼﾞ1とｲﾒｰｼﾞ2の両方を表示します"));
  pair_->setCheckable(true);
  connect(pair_, &QPushButton::clicked, this,
          [this] { change([](tools::GradationWord& s) { s.pair = !s.pair; }); });
  for (QPushButton* button : {maximum, minimum, swap_, hex_, pair_}) second->addWidget(button);
  second->addStretch();
  // The grid takes its full height; the two rows of controls share what the tool area leaves,
  // each as high as its text needs, so none lies over the block's last row.
  column->setSpacing(0);
  const int rowHeight = fontMetrics().height() + 6;
  for (QAbstractButton* control : findChildren<QAbstractButton*>()) {
    control->setFixedHeight(rowHeight);
  }
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

GradationWindow::~GradationWindow() {
  bench_.removeListener(this);
  delete pairWindow_;
}

void GradationWindow::change(void (*edit)(tools::GradationWord&)) {
  tools::GradationWord settings = gradationSettings(bench_);
  edit(settings);
  setGradationSettings(bench_, settings);
}

void GradationWindow::setMode(int mode) {
  tools::GradationWord settings = gradationSettings(bench_);
  settings.mode = mode;
  setGradationSettings(bench_, settings);
}

void GradationWindow::openOperator(int number) {
  auto* dialog = new OperatorDialog(bench_, number, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void GradationWindow::refresh() {
  const tools::GradationWord settings = gradationSettings(bench_);
  const bool pair = settings.pair && bench_.tools.active == tools::Tool::Gradation;
  modes_[settings.mode]->setChecked(true);
  hex_->setChecked(settings.hex);
  pair_->setChecked(pair);
  swap_->setEnabled(!pair);
  showPairWindow(pair);
  grid_->update();
  if (pairWindow_) pairWindow_->update();
}

bool GradationWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pairWindow_ && event->type() == QEvent::Close) {
    change([](tools::GradationWord& s) { s.pair = false; });
  }
  return QWidget::eventFilter(watched, event);
}

void GradationWindow::showPairWindow(bool shown) {
  QWidget* main = window();
  if (!shown) {
    if (pairWindow_) {
      pairOffset_ = pairWindow_->pos() - main->pos();
      // Later, not now: this may run inside the window's own close event or its button's click.
      pairWindow_->hide();
      pairWindow_->deleteLater();
      pairWindow_ = nullptr;
    }
    return;
  }
  if (pairWindow_) return;
  auto* pair = new QWidget(main, Qt::Tool);
  pair->setObjectName("GradationPair");
  pair->setWindowTitle(ui(N_("（階調値）イメージ１")));
  controls::setCompactFont(pair);
  auto* column = new QVBoxLayout(pair);
  column->setContentsMargins(0, 0, 0, 4);
  column->addWidget(new GradationGridView(bench_, true, pair));
  auto* close = controls::pushButton(pair, N_("閉じる"), "Close", nullptr);
  column->addWidget(close, 0, Qt::AlignHCenter);
  connect(close, &QPushButton::clicked, this,
          [this] { change([](tools::GradationWord& s) { s.pair = false; }); });
  // Closed from its title bar it ends pair display, as "閉じる" does.
  pair->installEventFilter(this);
  pair->adjustSize();
  // The first time just to the left of the main window, then where it was last closed; moved
  // in wholly onto the screen (a main window at the screen's left edge leaves no room there).
  const QPoint offset = pairOffset_.value_or(QPoint(-pair->width(), 0));
  pair->move(main->pos() + offset);
  pairWindow_ = pair;
  pair->show();
  const QScreen* screen = main->screen();
  moveWhollyInto(*pair, main->pos() + offset,
                 screen != nullptr ? screen->availableGeometry() : QRect());
}

}  // namespace vemla
