#include "windows/tools/partial_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "text/format.h"
#include "text/translate.h"
#include "windows/main/quick_help.h"
#include "windows/main/widget_factory.h"
#include "windows/tools/profile_window.h"
#include "windows/tools/relief_window.h"
#include "workbench/tools/partial_tool.h"

namespace vemla {
namespace {

using tools::kPartSize;

constexpr int kToolWidth = 517, kToolHeight = 296;
constexpr int kControlsTop = kPartSize + 2;

const char* const kColourHelp = text::N_(
    "基準ｲﾒｰｼﾞと比較ｲﾒｰｼﾞの差ｲﾒｰｼﾞをｶﾗｰで表示します\n表示色は「ｲﾒｰｼﾞ制御情報」で「階調差」"
    "「ｵﾌｾｯﾄ差」に\n各々関連付けされている色が使用されます");
const char* const kReferenceHelp = text::N_(
    "ｲﾒｰｼﾞに表示されている範囲を基準ｲﾒｰｼﾞとして取り込みます\n指定(ﾁｪｯｸ)されている間は随時取り"
    "込みが行われます");
const char* const kComparisonHelp =
    text::N_("比較ｲﾒｰｼﾞの取り込みが再度行われた時点でｼﾌﾄ量が\n０にｸﾘｱされます");

// The part shown at each place: the reference, the comparison as shifted, the difference.
const std::uint8_t* partPixels(const Workbench& bench, int index) {
  const tools::PartialToolState& state = bench.tools.partial;
  switch (index) {
    case 0:
      return state.comparison.reference.pixels.data();
    case 1:
      return state.comparison.work.shifted.size() == tools::kPartPixels
                 ? state.comparison.work.shifted.data()
                 : state.comparison.comparison.pixels.data();
    default:
      return state.comparison.difference.shown.data();
  }
}

}  // namespace

// ---- The read-out ----

PartialReadoutView::PartialReadoutView(Workbench& bench, QWidget* parent)
    : QWidget(parent), bench_(bench) {
  setObjectName("PartialReadout");
  setGeometry(tools::kPartialPlotLeft, kControlsTop, kPartSize, kToolHeight - kControlsTop);
}

void PartialReadoutView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const tools::PartialToolState& state = bench_.tools.partial;
  if (state.clickedPart < 0) return;
  const tools::PartialState& c = state.comparison;
  const std::uint8_t* clicked =
      state.clickedPart == 2 ? c.difference.stored.data() : partPixels(bench_, state.clickedPart);
  painter.setPen(Qt::black);
  if (!state.profileReadout) {
    const auto rows = tools::readoutRows(clicked, state.clicked);
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    painter.setFont(font);
    const int line = painter.fontMetrics().height();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      painter.drawText(2, 4 + static_cast<int>(r) * line + painter.fontMetrics().ascent(),
                       QString::fromStdString(rows[r]));
    }
    return;
  }
  // The profile: plot rows are counted from the tool window's top.
  const int top = tools::kPartialPlotTop - kControlsTop;
  painter.translate(0, top - tools::kPartialPlotTop);
  for (const tools::GridLine& line :
       tools::partialHorizontalLines(state.bounds, bench_.options.PartialCompareGridY)) {
    painter.setPen(line.heavy ? QColor(170, 170, 170) : QColor(225, 225, 225));
    painter.drawLine(0, line.at, kPartSize - 1, line.at);
  }
  for (const tools::GridLine& line :
       tools::partialVerticalLines(bench_.options.PartialCompareGridX)) {
    painter.setPen(line.heavy ? QColor(170, 170, 170) : QColor(225, 225, 225));
    painter.drawLine(line.at, tools::kPartialPlotTop, line.at,
                     tools::kPartialPlotTop + tools::kPartialPlotHeight);
  }
  const auto drawLine = [&](const std::uint8_t* part, bool column, const QColor& colour) {
    const std::vector<std::uint8_t> values = tools::partLine(part, state.clicked, column);
    QPolygon polyline;
    for (std::size_t i = 0; i < values.size(); ++i) {
      polyline << QPoint(static_cast<int>(i), tools::partialPlotRow(values[i], state.bounds));
    }
    painter.setPen(colour);
    painter.drawPolyline(polyline);
  };
  for (const bool column : {false, true}) {
    if ((column && state.profileDirection == 0) || (!column && state.profileDirection == 1))
      continue;
    if (state.clickedPart == 2) {
      drawLine(c.difference.stored.data(), column, Qt::blue);
    } else {
      // The reference in image 1's profile colour, the comparison in image 2's, on white.
      drawLine(partPixels(bench_, 0), column, profilePen(bench_.options, ImageSlot::First, false));
      drawLine(partPixels(bench_, 1), column, profilePen(bench_.options, ImageSlot::Second, false));
    }
  }
  painter.setPen(Qt::black);
  painter.drawRect(0, tools::kPartialPlotTop, kPartSize - 1, tools::kPartialPlotHeight);
}

// ---- The window ----

PartialWindow::PartialWindow(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName("PartialComparison");
  controls::setCompactFont(this);
  for (int i = 0; i < 3; ++i) {
    auto* part = new ToolRasterView(bench.options, this);
    const char* names[3] = {"ReferencePart", "ComparisonPart", "DifferencePart"};
    part->setObjectName(names[i]);
    part->setGeometry(i * (kPartSize + 1), 0, kPartSize, kPartSize);
    part->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    parts_[static_cast<std::size_t>(i)] = part;
  }
  readout_ = new PartialReadoutView(bench, this);
  buildControls();
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

PartialWindow::~PartialWindow() {
  bench_.removeListener(this);
}

void PartialWindow::buildControls() {
  // Left of the read-out: taking and the difference.
  auto* left = new QWidget(this);
  left->setGeometry(0, kControlsTop, kPartSize, kToolHeight - kControlsTop);
  buildDifference(left);
  // Right of the read-out: which image, the read-out settings and the shift.
  auto* right = new QWidget(this);
  right->setGeometry(2 * (kPartSize + 1), kControlsTop, kToolWidth - 2 * (kPartSize + 1),
                     kToolHeight - kControlsTop);
  QGridLayout* grid = controls::compactGrid(right);
  buildReadout(right, grid);
  buildShift(right, grid);
}

void PartialWindow::buildDifference(QWidget* left) {
  using namespace controls;
  using text::N_;
  auto* grid = compactGrid(left);
  takeReference_ = checkBox(left, N_("基準ｲﾒｰｼﾞの取り込み"), "TakeReference", kReferenceHelp);
  takeComparison_ = checkBox(left, N_("比較ｲﾒｰｼﾞの取り込み"), "TakeComparison", kComparisonHelp);
  grid->addWidget(takeReference_, 0, 0, 1, 4);
  grid->addWidget(takeComparison_, 1, 0, 1, 4);
  connect(takeReference_, &QCheckBox::clicked, this,
          [this](bool on) { setPartialTaking(bench_, true, on); });
  connect(takeComparison_, &QCheckBox::clicked, this,
          [this](bool on) { setPartialTaking(bench_, false, on); });
  auto* modeGroup = new QButtonGroup(this);
  modes_[0] = radioButton(left, N_("階調差"), "GreyDifference", nullptr);
  modes_[1] = radioButton(left, N_("ｵﾌｾｯﾄ差"), "OffsetDifference", nullptr);
  modeGroup->addButton(modes_[0], 0);
  modeGroup->addButton(modes_[1], 1);
  grid->addWidget(modes_[0], 2, 0, 1, 2);
  grid->addWidget(modes_[1], 2, 2, 1, 2);
  connect(modeGroup, &QButtonGroup::idClicked, this, [this] { changeSettings(); });
  colourDisplay_ = checkBox(left, N_("ｶﾗｰ表示"), "ColourDisplay", kColourHelp);
  grid->addWidget(colourDisplay_, 3, 0, 1, 2);
  connect(colourDisplay_, &QCheckBox::clicked, this, [this] { changeSettings(); });
  auto* reset = pushButton(left, N_("ﾘｾｯﾄ"), "ResetDifference", nullptr);
  grid->addWidget(reset, 3, 2, 1, 2);
  connect(reset, &QPushButton::clicked, this, [this] {
    PartialSettings settings = partialSettings(bench_);
    settings.strength = tools::kNeutralStrength;
    settings.brightness = tools::kNeutralDifferenceBrightness;
    setPartialSettings(bench_, settings);
  });
  strength_ = slider(left, "Strength", 0, tools::kMaxStrength);
  brightness_ = slider(left, "Brightness", 0, tools::kMaxDifferenceBrightness);
  grid->addWidget(plainLabel(left, N_("差の強度")), 4, 0, 1, 2);
  grid->addWidget(strength_, 4, 2, 1, 2);
  grid->addWidget(plainLabel(left, N_("表示輝度")), 5, 0, 1, 2);
  grid->addWidget(brightness_, 5, 2, 1, 2);
  connect(strength_, &QSlider::valueChanged, this, [this] { changeSettings(); });
  connect(brightness_, &QSlider::valueChanged, this, [this] { changeSettings(); });
  max_ = lineEdit(left, "Max", nullptr, true);
  min_ = lineEdit(left, "Min", nullptr, true);
  fitEdit(max_, QStringLiteral("000"));
  fitEdit(min_, QStringLiteral("000"));
  grid->addWidget(plainLabel(left, "Max"), 6, 0);
  grid->addWidget(max_, 6, 1);
  grid->addWidget(plainLabel(left, "Min"), 6, 2);
  grid->addWidget(min_, 6, 3);
}

void PartialWindow::buildReadout(QWidget* right, QGridLayout* grid) {
  using namespace controls;
  using text::N_;
  swap_ = pushButton(right, "⇔", "Swap", nullptr);
  grid->addWidget(swap_, 0, 0);
  connect(swap_, &QPushButton::clicked, this, [this] {
    PartialSettings settings = partialSettings(bench_);
    settings.secondImage = !settings.secondImage;
    setPartialSettings(bench_, settings);
  });
  auto* kindGroup = new QButtonGroup(this);
  readoutKinds_[0] = radioButton(right, N_("階調値"), "ReadoutValues", nullptr);
  readoutKinds_[1] = radioButton(right, N_("ﾌﾟﾛﾌｧｲﾙ"), "ReadoutProfile", nullptr);
  kindGroup->addButton(readoutKinds_[0], 0);
  kindGroup->addButton(readoutKinds_[1], 1);
  grid->addWidget(readoutKinds_[0], 0, 1, 1, 2);
  grid->addWidget(readoutKinds_[1], 0, 3, 1, 2);
  connect(kindGroup, &QButtonGroup::idClicked, this, [this] { changeReadout(); });
  auto* directionGroup = new QButtonGroup(this);
  const char* directionTexts[3] = {N_("Ｘ"), N_("Ｙ"), "XY"};
  const char* directionNames[3] = {"ReadoutX", "ReadoutY", "ReadoutXY"};
  for (int i = 0; i < 3; ++i) {
    directions_[static_cast<std::size_t>(i)] =
        radioButton(right, directionTexts[i], directionNames[i], nullptr);
    directionGroup->addButton(directions_[static_cast<std::size_t>(i)], i);
    grid->addWidget(directions_[static_cast<std::size_t>(i)], 1, i, 1, 1);
  }
  range_ = checkBox(right, N_("範囲"), "RangeMarks", nullptr);
  grid->addWidget(range_, 1, 3, 1, 2);
  connect(directionGroup, &QButtonGroup::idClicked, this, [this] { changeReadout(); });
  connect(range_, &QCheckBox::clicked, this, [this] { changeReadout(); });
  lowerSlider_ = slider(right, "LowerSlider", 0, 254);
  upperSlider_ = slider(right, "UpperSlider", 1, 255);
  lower_ = spinBox(right, "Lower", 0, 254);
  upper_ = spinBox(right, "Upper", 1, 255);
  grid->addWidget(lowerSlider_, 2, 0, 1, 3);
  grid->addWidget(lower_, 2, 3, 1, 2);
  grid->addWidget(upperSlider_, 3, 0, 1, 3);
  grid->addWidget(upper_, 3, 3, 1, 2);
  // The slider and the field of a bound move together; the bounds never cross.
  const auto bound = [this](bool upper, int value) {
    PartialReadout readout = partialReadout(bench_);
    if (upper) {
      readout.bounds.upper = std::max(value, readout.bounds.lower + 1);
    } else {
      readout.bounds.lower = std::min(value, readout.bounds.upper - 1);
    }
    setPartialReadout(bench_, readout);
  };
  connect(lowerSlider_, &QSlider::valueChanged, this, [bound](int v) { bound(false, v); });
  connect(upperSlider_, &QSlider::valueChanged, this, [bound](int v) { bound(true, v); });
  connect(lower_, &QSpinBox::valueChanged, this, [bound](int v) { bound(false, v); });
  connect(upper_, &QSpinBox::valueChanged, this, [bound](int v) { bound(true, v); });
}

void PartialWindow::buildShift(QWidget* right, QGridLayout* grid) {
  const char* shiftTexts[5] = {"←", "→", "↑", "↓", text::N_("ｸﾘｱ")};
  const char* shiftNames[5] = {"ShiftLeft", "ShiftRight", "ShiftUp", "ShiftDown", "ShiftClear"};
  for (int i = 0; i < 5; ++i) {
    auto* button = controls::pushButton(right, shiftTexts[i], shiftNames[i], nullptr);
    shifts_[static_cast<std::size_t>(i)] = button;
    grid->addWidget(button, 4, i);
    connect(button, &QPushButton::clicked, this,
            [this, i] { pressPartialShift(bench_, static_cast<tools::ShiftButton>(i)); });
  }
  shiftX_ = controls::plainLabel(right, "(x) 0+0");
  shiftX_->setObjectName("ShiftX");
  shiftY_ = controls::plainLabel(right, "(y) 0+0");
  shiftY_->setObjectName("ShiftY");
  grid->addWidget(shiftX_, 5, 0, 1, 3);
  grid->addWidget(shiftY_, 5, 3, 1, 2);
}

void PartialWindow::changeSettings() {
  PartialSettings settings = partialSettings(bench_);
  settings.mode =
      modes_[1]->isChecked() ? tools::DifferenceMode::Offset : tools::DifferenceMode::Grey;
  settings.colourDisplay = colourDisplay_->isChecked();
  settings.strength = strength_->value();
  settings.brightness = brightness_->value();
  if (settings == partialSettings(bench_)) return;
  setPartialSettings(bench_, settings);
}

void PartialWindow::changeReadout() {
  PartialReadout readout = partialReadout(bench_);
  readout.profile = readoutKinds_[1]->isChecked();
  for (int i = 0; i < 3; ++i) {
    if (directions_[static_cast<std::size_t>(i)]->isChecked()) readout.direction = i;
  }
  readout.rangeMarks = range_->isChecked();
  setPartialReadout(bench_, readout);
}

void PartialWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!clickPartial(bench_, at.x(), at.y())) QWidget::mousePressEvent(event);
}

void PartialWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();  // shown again: the parts and settings as they are now
}

void PartialWindow::refresh() {
  const tools::PartialToolState& state = bench_.tools.partial;
  const tools::PartialState& c = state.comparison;
  const PartialSettings settings = partialSettings(bench_);
  const PartialReadout readout = partialReadout(bench_);
  const QList<QWidget*> quiet{strength_, brightness_, lowerSlider_, upperSlider_, lower_, upper_};
  for (QWidget* control : quiet) control->blockSignals(true);
  takeReference_->setChecked(c.takingReference);
  takeComparison_->setChecked(c.takingComparison);
  modes_[settings.mode == tools::DifferenceMode::Offset ? 1 : 0]->setChecked(true);
  colourDisplay_->setChecked(settings.colourDisplay);
  strength_->setValue(settings.strength);
  brightness_->setValue(settings.brightness);
  readoutKinds_[readout.profile ? 1 : 0]->setChecked(true);
  directions_[static_cast<std::size_t>(readout.direction)]->setChecked(true);
  range_->setChecked(readout.rangeMarks);
  lowerSlider_->setValue(readout.bounds.lower);
  upperSlider_->setValue(readout.bounds.upper);
  lower_->setValue(readout.bounds.lower);
  upper_->setValue(readout.bounds.upper);
  for (QWidget* control : quiet) control->blockSignals(false);

  const auto& difference = c.difference;
  max_->setText(difference.max ? QString::number(*difference.max) : QString());
  min_->setText(difference.min ? QString::number(*difference.min) : QString());
  shiftX_->setText(QString::fromStdString(partialShiftText(bench_, false)));
  shiftY_->setText(QString::fromStdString(partialShiftText(bench_, true)));
  const bool shiftable = c.comparison.taken && !c.takingComparison;
  const QString help = QString::fromStdString(partialShiftHelp(bench_));
  for (QPushButton* button : shifts_) {
    button->setEnabled(shiftable);
    setQuickHelp(button, help);
  }
  parts_[0]->setRaster(partPixels(bench_, 0), kPartSize, kPartSize, c.reference.colours);
  parts_[1]->setRaster(partPixels(bench_, 1), kPartSize, kPartSize, c.comparison.colours);
  parts_[2]->setRaster(partPixels(bench_, 2), kPartSize, kPartSize, state.differenceColours);
  QList<QLine> marks;
  if (readout.rangeMarks && state.clickedPart >= 0) {
    const ViewPoint at = state.clicked;
    if (readout.profile) {
      if (readout.direction != 1) marks << QLine(0, at.y, kPartSize - 1, at.y);
      if (readout.direction != 0) marks << QLine(at.x, 0, at.x, kPartSize - 1);
    } else {
      const int half = tools::kReadoutSpan / 2;
      const QRect area(at.x - half - 1, at.y - half - 1, tools::kReadoutSpan + 1,
                       tools::kReadoutSpan + 1);
      marks << QLine(area.topLeft(), area.topRight()) << QLine(area.topRight(), area.bottomRight())
            << QLine(area.bottomRight(), area.bottomLeft())
            << QLine(area.bottomLeft(), area.topLeft());
    }
  }
  for (ToolRasterView* part : parts_) part->setMarks(marks);
  readout_->update();
}

}  // namespace vemla
