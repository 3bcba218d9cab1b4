#include "windows/tools/profile_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "text/format.h"
#include "windows/main/qt_user_port.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "windows/tools/held_spin_box.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::kPlotHeight;
using tools::kPlotLeft;
using tools::kPlotTop;
using tools::kPlotWidth;

struct PlotColours {
  QColor paper, frame, grid, heavyGrid, text;
};
PlotColours plotColours(bool dark) {
  if (dark) {
    return {Qt::black, QColor(200, 200, 200), QColor(50, 50, 50), QColor(100, 100, 100), Qt::white};
  }
  return {Qt::white, Qt::black, QColor(225, 225, 225), QColor(170, 170, 170), Qt::black};
}

// A spin box as wide as four digits and its arrows.
QSpinBox* narrowSpinBox(QWidget* parent, const char* name, int lowest, int highest) {
  QSpinBox* spin = controls::spinBox(parent, name, lowest, highest);
  spin->setFixedWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 28);
  return spin;
}

// The brightest a profile line may be on white paper (luma, 0..255).
constexpr int kLightestOnWhite = 128;

}  // namespace

QColor profilePen(const Options& options, ImageSlot image, bool darkBackground) {
  const std::uint32_t colour =
      image == ImageSlot::First ? options.ProfileColour1 : options.ProfileColour2;
  const int red = static_cast<int>(colour & 0xFF), green = static_cast<int>(colour >> 8 & 0xFF),
            blue = static_cast<int>(colour >> 16 & 0xFF);
  const int luma = (299 * red + 587 * green + 114 * blue) / 1000;
  if (darkBackground || luma <= kLightestOnWhite) return QColor(red, green, blue);
  // Every channel scaled by the same factor: the hue stays, the line reads on white.
  const auto darken = [luma](int channel) { return channel * kLightestOnWhite / luma; };
  return QColor(darken(red), darken(green), darken(blue));
}

// ---- The graph ----

ProfilePlot::ProfilePlot(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName("ProfilePlot");
  setGeometry(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
}

void ProfilePlot::paintEvent(QPaintEvent*) {
  const tools::ProfileWord settings = profileSettings(bench_);
  const PlotColours colours = plotColours(settings.dark);
  const tools::ProfileContent& content = bench_.tools.profileContent;
  QPainter painter(this);
  painter.fillRect(rect(), colours.paper);
  const auto row = [&](int value) {
    return std::min(kPlotHeight - 1,
                    tools::plotRow(value, settings.lower, settings.upper) - kPlotTop);
  };
  for (const tools::GridLine& line :
       tools::horizontalGridLines(settings.lower, settings.upper, profileGreyStep(bench_))) {
    painter.setPen(line.heavy ? colours.heavyGrid : colours.grid);
    painter.drawLine(0, line.at - kPlotTop, kPlotWidth - 1, line.at - kPlotTop);
  }
  for (const tools::GridLine& line :
       tools::verticalGridLines(profilePixelSpacing(bench_), bench_.tools.profile.gridOffset)) {
    painter.setPen(line.heavy ? colours.heavyGrid : colours.grid);
    painter.drawLine(line.at, 0, line.at, kPlotHeight - 1);
  }
  for (ImageSlot image : kImageSlots) {
    const auto& profile = content.images[index(image)];
    if (!profile || profile->values.empty()) continue;
    QPolygon polyline;
    for (std::size_t i = 0; i < profile->values.size(); ++i) {
      polyline << QPoint(static_cast<int>(i), row(profile->values[i]));
    }
    painter.setPen(profilePen(bench_.options, image, settings.dark));
    painter.drawPolyline(polyline);
  }
  const auto direction = static_cast<tools::ProfileDirection>(settings.direction);
  if (bench_.view.cursorShown && direction != tools::ProfileDirection::Arbitrary) {
    const ViewPoint cursor = cursorViewPointOf(bench_);
    const int at = (direction == tools::ProfileDirection::X ? cursor.x : cursor.y) -
                   tools::kProfileFirstViewPixel;
    painter.setPen(colours.text);
    painter.drawLine(at, 0, at, 7);
  }
  const tools::ProfileSession& session = bench_.tools.profile;
  if (settings.readout && session.marks > 0) {
    const int first = session.markColumns[0];
    painter.setPen(colours.text);
    int textAt = first;
    if (session.marks == 1) {
      painter.drawLine(first, 0, first, kPlotHeight - 1);
    } else {
      const int second = session.markColumns[1];
      const int middle = kPlotHeight / 2;
      painter.drawLine(first, middle, second, middle);
      painter.drawLine(first, middle - 4, first, middle + 4);
      painter.drawLine(second, middle - 4, second, middle + 4);
      textAt = std::min(first, second);
    }
    const QString text = QString::fromStdString(profileReadout(bench_, true));
    const int width = painter.fontMetrics().horizontalAdvance(text);
    // The text stays inside the graph: beside the mark, or on its other side near the edge.
    const int x = textAt + 4 + width < kPlotWidth ? textAt + 4 : std::max(0, textAt - 4 - width);
    painter.drawText(x, painter.fontMetrics().ascent() + 2, text);
  }
  painter.setPen(colours.frame);
  painter.drawRect(0, 0, kPlotWidth - 1, kPlotHeight - 1);
}

void ProfilePlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint at = event->position().toPoint();
  clickProfileGraph(bench_, at.x() + kPlotLeft, at.y() + kPlotTop,
                    event->button() == Qt::RightButton);
}

// ---- The window ----

ProfileWindow::ProfileWindow(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName("Profile");
  controls::setCompactFont(this);
  plot_ = new ProfilePlot(bench, this);
  buildControls();
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

ProfileWindow::~ProfileWindow() {
  bench_.removeListener(this);
}

void ProfileWindow::buildControls() {
  buildHeader();
  // Below the graph.
  auto* area = new QWidget(this);
  area->setGeometry(0, kPlotTop + kPlotHeight + 2, 517, 296 - kPlotTop - kPlotHeight - 2);
  QGridLayout* grid = controls::compactGrid(area);
  buildChoices(area, grid);
  buildRangeAndGrid(area, grid);
  buildActions(area, grid);
}

void ProfileWindow::buildHeader() {
  using text::N_;
  // Above the graph: background, read-out switch and the MAX/MIN fields.
  auto* background =
      controls::pushButton(this, "■□", "Background", N_("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞの色を切り替えます"));
  background->setGeometry(kPlotLeft, 2, 28, 20);
  connect(background, &QPushButton::clicked, this, [this] {
    tools::ProfileWord settings = profileSettings(bench_);
    settings.dark = !settings.dark;
    setProfileSettings(bench_, settings);
  });
  readout_ =
      controls::checkBox(this, N_("階調/距離情報の表示"), "Readout",
                         N_("ﾌﾟﾛﾌｧｲﾙ表示域のﾏｳｽｸﾘｯｸによる階調値や\n距離の表示有無を切り替えます"));
  readout_->move(40, 3);
  readout_->adjustSize();
  connect(readout_, &QCheckBox::clicked, this, [this](bool on) {
    tools::ProfileWord settings = profileSettings(bench_);
    settings.readout = on;
    setProfileSettings(bench_, settings);
  });
  const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
  int x = readout_->geometry().right() + 8;
  const char* names[4] = {"Max1", "Min1", "Max2", "Min2"};
  const char* labels[4] = {"1 MAX", "MIN", "2 MAX", "MIN"};
  for (int i = 0; i < 4; ++i) {
    auto* label = controls::plainLabel(this, labels[i]);
    label->adjustSize();
    label->move(x, 5);
    x += label->width() + 2;
    extremes_[i] = controls::lineEdit(this, names[i], nullptr, true);
    extremes_[i]->setGeometry(x, 2, fieldWidth + 8, 19);
    x += fieldWidth + 14;
  }
}

void ProfileWindow::buildChoices(QWidget* area, QGridLayout* grid) {
  using controls::radioButton;
  using text::N_;
  auto* directionGroup = new QButtonGroup(this);
  const char* directionTexts[3] = {" X ", " Y ", N_("任意")};
  const char* directionNames[3] = {"DirectionX", "DirectionY", "DirectionArbitrary"};
  grid->addWidget(controls::plainLabel(area, N_("方向")), 0, 0);
  for (int i = 0; i < 3; ++i) {
    directions_[i] = radioButton(
        area, directionTexts[i], directionNames[i],
        i == 2 ? N_("任意方向のﾌﾟﾛﾌｧｲﾙ表示を行います\nｲﾒｰｼﾞｳｨﾝﾄﾞｳ内でﾏｳｽ左ｸﾘｯｸした位置から\n"
                    "再度左ｸﾘｯｸした位置までが表示されます")
               : nullptr);
    directionGroup->addButton(directions_[i], i);
    grid->addWidget(directions_[i], 0, 1 + i);
  }
  connect(directionGroup, &QButtonGroup::idClicked, this, [this](int direction) {
    tools::ProfileWord settings = profileSettings(bench_);
    settings.direction = direction;
    setProfileSettings(bench_, settings);
  });
  auto* shownGroup = new QButtonGroup(this);
  const char* shownTexts[3] = {N_("両方"), N_("ｲﾒｰｼﾞ1"), N_("ｲﾒｰｼﾞ2")};
  const char* shownNames[3] = {"ShowBoth", "ShowImage1", "ShowImage2"};
  grid->addWidget(controls::plainLabel(area, N_("表示")), 0, 4);
  for (int i = 0; i < 3; ++i) {
    shown_[i] = radioButton(area, shownTexts[i], shownNames[i], nullptr);
    shownGroup->addButton(shown_[i], i);
    grid->addWidget(shown_[i], 0, 5 + i);
  }
  connect(shownGroup, &QButtonGroup::idClicked, this, [this](int shown) {
    tools::ProfileWord settings = profileSettings(bench_);
    settings.shown = shown;
    setProfileSettings(bench_, settings);
  });
}

void ProfileWindow::buildRangeAndGrid(QWidget* area, QGridLayout* grid) {
  using text::N_;
  grid->addWidget(controls::plainLabel(area, N_("階調値範囲")), 1, 0, 1, 2);
  lowerSlider_ = controls::slider(area, "LowerSlider", 0, 254);
  upperSlider_ = controls::slider(area, "UpperSlider", 1, 255);
  lower_ = narrowSpinBox(area, "Lower", 0, 254);
  upper_ = narrowSpinBox(area, "Upper", 1, 255);
  grid->addWidget(lowerSlider_, 1, 2, 1, 2);
  grid->addWidget(lower_, 1, 4);
  grid->addWidget(upperSlider_, 1, 5, 1, 2);
  grid->addWidget(upper_, 1, 7);
  connect(lowerSlider_, &QSlider::valueChanged, this, [this](int v) { setBound(false, v); });
  connect(upperSlider_, &QSlider::valueChanged, this, [this](int v) { setBound(true, v); });

  grid->addWidget(controls::plainLabel(area, N_("グリッド")), 2, 0);
  greyStep_ = narrowSpinBox(area, "GreyStep", 1, 255);
  pixelStep_ = narrowSpinBox(area, "PixelStep", 1, 512);
  // Held for more than eight steps the grid moves by half the magnification.
  gridMove_ = new HeldSpinBox(
      8, [this] { return std::max(1, bench_.view.magnification / 2); }, area);
  gridMove_->setObjectName("GridMove");
  gridMove_->setRange(-1000000, 1000000);
  gridMove_->setFixedWidth(gridMove_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 28);
  gridMove_->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  grid->addWidget(greyStep_, 2, 1);
  grid->addWidget(pixelStep_, 2, 2);
  grid->addWidget(controls::plainLabel(area, N_("グリッド移動")), 2, 3);
  grid->addWidget(gridMove_, 2, 4);
  connect(gridMove_, &QSpinBox::valueChanged, this, [this](int value) {
    moveProfileGrid(bench_, value - gridMoveValue_);
    gridMoveValue_ = value;
  });
}

void ProfileWindow::buildActions(QWidget* area, QGridLayout* grid) {
  using controls::pushButton;
  using text::N_;
  auto* automatic =
      pushButton(area, N_("自動"), "Automatic",
                 N_("表示されているﾌﾟﾛﾌｧｲﾙの最大及び最小の階調値より\n表示する階調値範囲の"
                    "最適値を自動で求めます\nﾌﾟﾛﾌｧｲﾙ表示は該当の範囲に切り替わります"));
  connect(automatic, &QPushButton::clicked, this, [this] { automaticProfileRange(bench_); });
  fullAuto_ =
      controls::checkBox(area, N_("全自動"), "FullAuto",
                         N_("表示位置が切り替わるたび最適な\n階調値範囲で自動表示されます"));
  connect(fullAuto_, &QCheckBox::clicked, this, [this](bool on) {
    tools::ProfileWord settings = profileSettings(bench_);
    settings.fullAuto = on;
    setProfileSettings(bench_, settings);
  });
  auto* redraw = pushButton(area, N_("再表示"), "Redraw", nullptr);
  connect(redraw, &QPushButton::clicked, this, [this] { applyFields(); });
  auto* reset =
      pushButton(area, N_("ﾘｾｯﾄ"), "Reset",
                 N_("表示階調値範囲が0～255へｸﾞﾘｯﾄﾞの表示幅が\n『ｵﾌﾟｼｮﾝ情報-ﾂｰﾙ関連』で指定さ"
                    "れた値に\n初期化されます"));
  connect(reset, &QPushButton::clicked, this, [this] { resetProfile(bench_); });
  grid->addWidget(automatic, 2, 5);
  grid->addWidget(fullAuto_, 2, 6);
  grid->addWidget(redraw, 3, 5);
  grid->addWidget(reset, 3, 6);
  saveCsv_ = pushButton(area, N_("CSVで保存"), "SaveCsv",
                        N_("表示されているﾌﾟﾛﾌｧｲﾙの階調値をCSVﾌｧｲﾙに保存します"));
  connect(saveCsv_, &QPushButton::clicked, this, [this] { saveCsv(); });
  grid->addWidget(saveCsv_, 3, 0, 1, 2);
}

void ProfileWindow::saveCsv() {
  const QString title = ui(text::N_("CSVで保存"));
  const QString name = chooseFile_ ? chooseFile_(title)
                                   : QFileDialog::getSaveFileName(this, title, QString(),
                                                                  QStringLiteral("CSV (*.csv)"));
  if (name.isEmpty()) return;
  QtUserPort user(window(), bench_.options);
  saveProfileCsv(bench_, name.toStdString(), user);
}

void ProfileWindow::setBound(bool upper, int value) {
  tools::ProfileWord settings = profileSettings(bench_);
  // The sliders never cross: the lower stays at least one below the upper.
  if (upper) {
    settings.upper = std::max(value, settings.lower + 1);
  } else {
    settings.lower = std::min(value, settings.upper - 1);
  }
  setProfileSettings(bench_, settings);
}

void ProfileWindow::applyFields() {
  tools::ProfileWord settings = profileSettings(bench_);
  settings.lower = lower_->value();
  settings.upper = std::max(upper_->value(), settings.lower + 1);
  setProfileSettings(bench_, settings);
  setProfileGrid(bench_, greyStep_->value(), pixelStep_->value());
}

void ProfileWindow::refresh() {
  const tools::ProfileWord settings = profileSettings(bench_);
  const tools::ProfileContent& content = bench_.tools.profileContent;
  for (QWidget* control : std::initializer_list<QWidget*>{lowerSlider_, upperSlider_, lower_,
                                                          upper_, greyStep_, pixelStep_}) {
    control->blockSignals(true);
  }
  directions_[settings.direction]->setChecked(true);
  shown_[settings.shown]->setChecked(true);
  lowerSlider_->setValue(settings.lower);
  upperSlider_->setValue(settings.upper);
  lower_->setValue(settings.lower);
  upper_->setValue(settings.upper);
  greyStep_->setValue(profileGreyStep(bench_));
  pixelStep_->setValue(profilePixelStep(bench_));
  fullAuto_->setChecked(settings.fullAuto);
  readout_->setChecked(settings.readout);
  for (QWidget* control : std::initializer_list<QWidget*>{lowerSlider_, upperSlider_, lower_,
                                                          upper_, greyStep_, pixelStep_}) {
    control->blockSignals(false);
  }
  for (ImageSlot image : kImageSlots) {
    const auto& profile = content.images[index(image)];
    const bool drawn = profile && profile->max;
    extremes_[2 * index(image)]->setText(
        QString::fromStdString(drawn ? text::format("%3d", *profile->max) : "   "));
    extremes_[2 * index(image) + 1]->setText(
        QString::fromStdString(drawn ? text::format("%3d", *profile->min) : "   "));
  }
  saveCsv_->setEnabled(!content.points.empty());
  plot_->update();
}

}  // namespace vemla
