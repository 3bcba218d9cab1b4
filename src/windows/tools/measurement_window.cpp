#include "windows/tools/measurement_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QVBoxLayout>

#include "windows/main/quick_help.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "windows/tools/held_spin_box.h"
#include "workbench/tools/measurement_tool.h"

namespace vemla {
namespace {

using controls::utf8;
using text::N_;

constexpr int kEdgeLevelLow = 1, kEdgeLevelHigh = 128;

struct Choice {
  const char* text;
  const char* name;
  const char* help;
};

constexpr std::array<Choice, 2> kLengthModes{{
    {N_("手動"), "Manual",
     N_("ｲﾒｰｼﾞをﾏｳｽ左ｸﾘｯｸした位置から\n再度左ｸﾘｯｸした位置までの距離を測定します")},
    {N_("自動"), "Automatic",
     N_("ｲﾒｰｼﾞをﾏｳｽ左ｸﾘｯｸした位置から指定方向にｴｯｼﾞの\n"
        "探索が行い両ｴｯｼﾞ間の距離を自動で測定します")},
}};
constexpr std::array<Choice, 2> kDirections{{
    {N_("Ｘ方向"), "AlongX", N_("自動測長時のｴｯｼﾞの探索をＸ方向に行います")},
    {N_("Ｙ方向"), "AlongY", N_("自動測長時のｴｯｼﾞの探索をＹ方向に行います")},
}};
constexpr std::array<Choice, 2> kShapes{{
    {N_("矩形"), "Rectangle",
     N_("ｲﾒｰｼﾞをﾏｳｽ左ｸﾘｯｸした位置から\n再度左ｸﾘｯｸした位置までの矩形内を測定します")},
    {N_("任意"), "Polygon",
     N_("ｲﾒｰｼﾞをﾏｳｽ左ｸﾘｯｸした位置を頂点とする多角形内を測定します\n"
        "ﾀﾞﾌﾞﾙｸﾘｯｸで多角形が閉じられます")},
}};
// In the order of tools::VolumeBase.
constexpr std::array<Choice, 4> kBases{{
    {N_("０基準"), "BaseZero",
     N_("範囲抽出情報と連動した場合に体積は\n階調値０を基準として測定されます\n"
        "※ｴﾘｱ内の対象範囲合計値に一致")},
    {N_("255基準"), "BaseFull",
     N_("範囲抽出情報と連動した場合に体積は\n階調値255を基準として測定されます\n"
        "※面積ｘ255－ｴﾘｱ内の対象範囲合計値")},
    {N_("範囲下位"), "BaseLower",
     N_("範囲抽出情報と連動した場合に体積は\n範囲下位の値を基準として測定されます\n"
        "※ｴﾘｱ内の対象範囲合計値－面積ｘ範囲下位値")},
    {N_("範囲上位"), "BaseUpper",
     N_("範囲抽出情報と連動した場合に体積は\n範囲上位の値を基準として測定されます\n"
        "※面積ｘ255－ｴﾘｱ内の対象範囲合計値\n　　－（255-範囲上位）ｘ面積")},
}};
constexpr const char* kEdgeLevelHelp =
    N_("自動測長時にｴｯｼﾞ部分とみなすｴｯｼﾞ強度を指定します\n"
       "値が小さいほどなだらかな部分もｴｯｼﾞとみなされます");

// A group of exclusive choices with ids 0, 1, … added to `grid` from (row, column) rightwards.
template <std::size_t N>
QButtonGroup* choices(QWidget* area, QGridLayout* grid, const std::array<Choice, N>& list, int row,
                      int column) {
  auto* group = new QButtonGroup(area);
  for (std::size_t i = 0; i < N; ++i) {
    auto* radio = controls::radioButton(area, list[i].text, list[i].name, list[i].help);
    group->addButton(radio, static_cast<int>(i));
    grid->addWidget(radio, row, column + static_cast<int>(i));
  }
  return group;
}

}  // namespace

MeasurementWindow::MeasurementWindow(Workbench& bench, QWidget* parent)
    : QWidget(parent), bench_(bench) {
  setObjectName("Measurement");
  controls::setCompactFont(this);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(1, 1, 1, 1);
  column->setSpacing(2);
  buildTable();
  column->addWidget(table_);
  buildControls();
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

MeasurementWindow::~MeasurementWindow() {
  bench_.removeListener(this);
}

void MeasurementWindow::buildTable() {
  table_ = new QTableWidget(kMeasureTableRows, kMeasureTableColumns + 1, this);
  table_->setObjectName("MeasureTable");
  setQuickHelp(table_, ui(N_("ｲﾒｰｼﾞ1とｲﾒｰｼﾞ2の測定値とその差、\n"
                             "基準値と基準値からの差が表示されます\n"
                             "▼で現在の測定値が基準値になります\n"
                             "右ｸﾘｯｸで表をｺﾋﾟｰできます")));
  table_->horizontalHeader()->hide();
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A size smaller than the controls' so that seven values of "-00000.0000" fit across.
  QFont font = table_->font();
  font.setPixelSize(10);
  table_->setFont(font);
  const QFontMetrics metrics = table_->fontMetrics();
  const int rowHeight = metrics.height() + 1;
  QHeaderView* rows = table_->verticalHeader();
  rows->setMinimumSectionSize(rowHeight);
  rows->setDefaultSectionSize(rowHeight);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  // Column 0 holds the "▼" of each quantity, column 1 the row names (as wide as the widest),
  // then seven values wide enough for "00000.0000" or "ｲﾒｰｼﾞ1Ｘ".
  const int arrowWidth = metrics.horizontalAdvance(utf8("▼")) + 8;
  const int valueWidth = std::max(metrics.horizontalAdvance(QStringLiteral("00000.0000")),
                                  metrics.horizontalAdvance(ui(N_("ｲﾒｰｼﾞ1Ｘ")))) +
                         4;
  int nameWidth = 0;
  for (const auto& row : measureTable(bench_)) {
    nameWidth = std::max(nameWidth, metrics.horizontalAdvance(QString::fromStdString(row[0])));
  }
  table_->setColumnWidth(0, arrowWidth);
  table_->setColumnWidth(1, nameWidth + 8);
  for (int c = 2; c <= kMeasureTableColumns; ++c) table_->setColumnWidth(c, valueWidth);
  for (int row = 0; row < kMeasureTableRows; ++row) {
    for (int c = 1; c <= kMeasureTableColumns; ++c) {
      auto* item = new QTableWidgetItem();
      item->setTextAlignment(c == 1 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, c, item);
    }
  }
  for (std::size_t i = 0; i < kMeasureCopyRows.size(); ++i) {
    auto* copy = controls::pushButton(table_, "▼", "", N_("現在の測定値を基準値にｺﾋﾟｰします"));
    copy->setObjectName(QString("CopyReference%1").arg(i + 1));
    copy->setMinimumWidth(0);
    copy->setFixedSize(arrowWidth, rowHeight);
    table_->setCellWidget(kMeasureCopyRows[i], 0, copy);
    connect(copy, &QPushButton::clicked, this,
            [this, i] { copyMeasureReference(bench_, static_cast<int>(i)); });
  }
  int width = 2 * table_->frameWidth(), height = 2 * table_->frameWidth();
  for (int c = 0; c <= kMeasureTableColumns; ++c) width += table_->columnWidth(c);
  height += kMeasureTableRows * rowHeight;
  table_->setFixedSize(width, height);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    QAction* copy = menu.addAction(ui(N_("コピー")));
    if (menu.exec(table_->viewport()->mapToGlobal(at)) == copy) copyTable();
  });
}

void MeasurementWindow::copyTable() {
  QApplication::clipboard()->setText(
      QString::fromStdString(measureTableText(measureTable(bench_))));
}

void MeasurementWindow::buildControls() {
  auto* area = new QWidget(this);
  layout()->addWidget(area);
  auto* grid = controls::compactGrid(area);

  function_ = new QButtonGroup(area);
  auto* length = controls::pushButton(area, N_("測長"), "Length", N_("ｲﾒｰｼﾞ上の距離を測定します"));
  auto* areaButton =
      controls::pushButton(area, N_("面積\n体積\n重心"), "Area",
                           N_("ｲﾒｰｼﾞ上で指定した範囲の\n面積、体積、重心を測定します"));
  for (QPushButton* button : {length, areaButton}) {
    button->setCheckable(true);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  }
  function_->addButton(length, 0);
  function_->addButton(areaButton, 1);
  grid->addWidget(length, 0, 0, 2, 1);
  grid->addWidget(areaButton, 2, 0, 2, 1);

  // The length: mode and direction, then the edge level.
  lengthMode_ = choices(area, grid, kLengthModes, 0, 1);
  direction_ = choices(area, grid, kDirections, 0, 3);
  grid->addWidget(controls::plainLabel(area, N_("ｴｯｼﾞﾚﾍﾞﾙ")), 1, 1);
  edgeSlider_ =
      controls::slider(area, "EdgeLevelSlider", kEdgeLevelLow, kEdgeLevelHigh, kEdgeLevelHelp);
  grid->addWidget(edgeSlider_, 1, 2, 1, 2);
  // Held for more than ten steps the arrows step by 5.
  edgeLevel_ = new HeldSpinBox(
      10, [] { return 5; }, area);
  edgeLevel_->setObjectName("EdgeLevel");
  edgeLevel_->setRange(kEdgeLevelLow, kEdgeLevelHigh);
  edgeLevel_->setFixedWidth(edgeLevel_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                            28);
  setQuickHelp(edgeLevel_, ui(kEdgeLevelHelp));
  grid->addWidget(edgeLevel_, 1, 4);
  auto* reset = controls::pushButton(area, N_("ﾘｾｯﾄ"), "ResetEdgeLevel",
                                     N_("ｴｯｼﾞﾚﾍﾞﾙを『ｵﾌﾟｼｮﾝ情報-ﾂｰﾙ関連』で\n"
                                        "指定された値に初期化します"));
  grid->addWidget(reset, 1, 5);

  // The area: shape, the link to range extraction and the volume base.
  shape_ = choices(area, grid, kShapes, 2, 1);
  link_ = controls::checkBox(
      area, N_("範囲抽出情報\nに連動させる"), "Link",
      N_("範囲抽出情報で指定された階調値範囲内の\n画素のみを測定の対象とします"));
  grid->addWidget(link_, 2, 3, 1, 3, Qt::AlignLeft);
  base_ = choices(area, grid, kBases, 3, 1);
  grid->setColumnStretch(6, 1);

  const auto setting = [this](auto member) {
    return
        [this, member](int id) { change([&](tools::MeasureSettings& s) { s.*member = id != 0; }); };
  };
  connect(function_, &QButtonGroup::idClicked, this, setting(&tools::MeasureSettings::area));
  connect(lengthMode_, &QButtonGroup::idClicked, this, setting(&tools::MeasureSettings::automatic));
  connect(direction_, &QButtonGroup::idClicked, this, setting(&tools::MeasureSettings::alongY));
  connect(shape_, &QButtonGroup::idClicked, this, setting(&tools::MeasureSettings::polygon));
  connect(link_, &QCheckBox::clicked, this,
          [this](bool on) { change([&](tools::MeasureSettings& s) { s.link = on; }); });
  connect(base_, &QButtonGroup::idClicked, this, [this](int id) {
    change([&](tools::MeasureSettings& s) { s.base = static_cast<tools::VolumeBase>(id); });
  });
  const auto setLevel = [this](int level) {
    if (level == measureEdgeLevel(bench_)) return;
    change([&](tools::MeasureSettings& s) { s.edgeLevel = level; });
  };
  connect(edgeSlider_, &QSlider::valueChanged, this, setLevel);
  connect(edgeLevel_, &QSpinBox::valueChanged, this, setLevel);
  connect(reset, &QPushButton::clicked, this,
          [this] { change([](tools::MeasureSettings& s) { s.edgeLevel = 0; }); });
}

template <typename Edit>
void MeasurementWindow::change(Edit edit) {
  tools::MeasureSettings settings = bench_.tools.measure.settings;
  edit(settings);
  setMeasureSettings(bench_, settings);
}

void MeasurementWindow::refresh() {
  const tools::MeasureSettings& settings = bench_.tools.measure.settings;
  const QSignalBlocker sliderBlock(edgeSlider_), levelBlock(edgeLevel_);
  function_->button(settings.area ? 1 : 0)->setChecked(true);
  lengthMode_->button(settings.automatic ? 1 : 0)->setChecked(true);
  direction_->button(settings.alongY ? 1 : 0)->setChecked(true);
  shape_->button(settings.polygon ? 1 : 0)->setChecked(true);
  base_->button(static_cast<int>(settings.base))->setChecked(true);
  link_->setChecked(settings.link);
  const int level = measureEdgeLevel(bench_);
  edgeSlider_->setValue(level);
  edgeLevel_->setValue(level);
  // Each function's own controls act only while it is chosen; the bases need the link.
  for (QAbstractButton* button : lengthMode_->buttons()) button->setEnabled(!settings.area);
  for (QAbstractButton* button : direction_->buttons()) {
    button->setEnabled(!settings.area && settings.automatic);
  }
  edgeSlider_->setEnabled(!settings.area && settings.automatic);
  edgeLevel_->setEnabled(!settings.area && settings.automatic);
  for (QAbstractButton* button : shape_->buttons()) button->setEnabled(settings.area);
  link_->setEnabled(settings.area);
  for (QAbstractButton* button : base_->buttons())
    button->setEnabled(settings.area && settings.link);

  const MeasureTable table = measureTable(bench_);
  for (int row = 0; row < kMeasureTableRows; ++row) {
    for (int c = 0; c < kMeasureTableColumns; ++c) {
      table_->item(row, c + 1)->setText(QString::fromStdString(table[row][c]));
    }
  }
}

}  // namespace vemla
