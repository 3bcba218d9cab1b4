#include "windows/tools/relief_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <cstring>

#include "picture/bitmap.h"
#include "picture/messages.h"
#include "text/format.h"
#include "text/translate.h"
#include "windows/main/screen_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "windows/panes/picture_image.h"
#include "workbench/tools/relief_tool.h"

namespace vemla {
namespace {

enum Setting { kAngleX, kAngleZ, kModeValue, kBase, kRatio, kDepth };

}  // namespace

// ---- A tool raster ----

ToolRasterView::ToolRasterView(const Options& options, QWidget* parent)
    : QWidget(parent), user_(this, options) {}

void ToolRasterView::setRaster(const std::uint8_t* pixels, int width, int height,
                          const ColourTable& colours) {
  image_ = pixels == nullptr ? QImage() : pictureImage(pixels, width, height, paletteOf(colours));
  update();
}

void ToolRasterView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!image_.isNull()) painter.drawImage(0, 0, image_);
  painter.setPen(QColor(255, 64, 64));
  painter.drawLines(marks_);
}

void ToolRasterView::setMarks(const QList<QLine>& marks) {
  if (marks == marks_) return;
  marks_ = marks;
  update();
}

void ToolRasterView::contextMenuEvent(QContextMenuEvent* event) {
  if (image_.isNull()) return;
  QMenu menu(this);
  QAction* save = menu.addAction(ui(text::N_("画像を保存")));
  if (menu.exec(event->globalPos()) != save) return;
  const QString path = QFileDialog::getSaveFileName(this, ui(text::N_("画像を保存")), {},
                                                    ui(text::N_("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)")));
  if (path.isEmpty()) return;
  // Written from the shown image: its pixels are the raster, its colour table the palette.
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(image_.width()) *
                                   static_cast<std::size_t>(image_.height()));
  for (int y = 0; y < image_.height(); ++y) {
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * image_.width(),
                image_.constScanLine(y), static_cast<std::size_t>(image_.width()));
  }
  Palette palette{};
  const QList<QRgb> table = image_.colorTable();
  for (int i = 0; i < 256 && i < table.size(); ++i) {
    palette[4 * i] = static_cast<std::uint8_t>(qBlue(table[i]));
    palette[4 * i + 1] = static_cast<std::uint8_t>(qGreen(table[i]));
    palette[4 * i + 2] = static_cast<std::uint8_t>(qRed(table[i]));
  }
  const std::string name = path.toStdString();
  if (writeBitmap(name, image_.width(), image_.height(), 1, pixels.data(), &palette) != 0) {
    user_.tell(Icon::Warning,
               text::format(msg::kWithName, text::tr("保存できません"), name.c_str()));
  }
}

// ---- The whole display ----

ReliefWholeWindow::ReliefWholeWindow(Workbench& bench, QWidget* parent)
    : QWidget(parent, Qt::Window), bench_(bench) {
  setObjectName("_3DImage");
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroller = new QScrollArea(this);
  view_ = new ToolRasterView(bench.options, scroller);
  view_->setObjectName("WholeRelief");
  view_->setFixedSize(tools::kReliefWholeSize, tools::kReliefWholeSize);
  scroller->setWidget(view_);
  layout->addWidget(scroller);
  // The whole 756 x 756 when the screen has room; a 1024 x 768 screen scrolls.
  resize(tools::kReliefWholeSize + 4, tools::kReliefWholeSize + 4);
}

void ReliefWholeWindow::refresh() {
  const tools::ReliefState& state = bench_.tools.relief;
  setWindowTitle(QString::fromStdString(reliefWholeTitle(bench_)));
  const bool drawn = state.wholeRaster.size() ==
                     static_cast<std::size_t>(tools::kReliefWholeSize) * tools::kReliefWholeSize;
  view_->setRaster(drawn ? state.wholeRaster.data() : nullptr, tools::kReliefWholeSize,
              tools::kReliefWholeSize, state.wholeColours);
}

void ReliefWholeWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  ReliefSwitches switches = reliefSwitches(bench_);
  if (switches.whole) {
    switches.whole = false;
    setReliefSwitches(bench_, switches);
  }
}

// ---- The tool window ----

ReliefWindow::ReliefWindow(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName("View3D");
  controls::setCompactFont(this);
  output_ = new ToolRasterView(bench.options, this);
  output_->setObjectName("Relief");
  output_->setGeometry(0, 0, tools::kReliefWidth, tools::kReliefHeight);
  buildControls();
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

ReliefWindow::~ReliefWindow() {
  bench_.removeListener(this);
}

void ReliefWindow::buildControls() {
  auto* area = new QWidget(this);
  area->setGeometry(tools::kReliefWidth + 2, 0, 517 - tools::kReliefWidth - 2, 296);
  QGridLayout* grid = controls::compactGrid(area);
  buildViewpoint(area, grid);
  buildMode(area, grid);
  buildSwitches(area, grid);
}

void ReliefWindow::buildViewpoint(QWidget* area, QGridLayout* grid) {
  using controls::plainLabel;
  using text::N_;
  grid->addWidget(plainLabel(area, N_("視点")), 0, 0, 1, 2);
  angleXSlider_ = controls::slider(area, "AngleXSlider", 0, tools::kMaxAngleX);
  angleZSlider_ = controls::slider(area, "AngleZSlider", 0, tools::kMaxAngleZ);
  angleX_ = controls::spinBox(area, "AngleX", 0, tools::kMaxAngleX);
  angleX_->setWrapping(true);
  angleZ_ = controls::spinBox(area, "AngleZ", 0, tools::kMaxAngleZ);
  grid->addWidget(plainLabel(area, N_("Ｘ")), 1, 0);
  grid->addWidget(angleXSlider_, 1, 1, 1, 2);
  grid->addWidget(angleX_, 1, 3);
  grid->addWidget(plainLabel(area, N_("Ｚ")), 2, 0);
  grid->addWidget(angleZSlider_, 2, 1, 1, 2);
  grid->addWidget(angleZ_, 2, 3);
  connect(angleXSlider_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kAngleX, v); });
  connect(angleZSlider_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kAngleZ, v); });
  connect(angleX_, &QSpinBox::valueChanged, this, [this](int v) { changeSetting(kAngleX, v); });
  connect(angleZ_, &QSpinBox::valueChanged, this, [this](int v) { changeSetting(kAngleZ, v); });
  auto* resetView = controls::pushButton(area, N_("ﾘｾｯﾄ"), "ResetView", nullptr);
  connect(resetView, &QPushButton::clicked, this, [this] { resetReliefView(bench_); });
  grid->addWidget(resetView, 0, 2, 1, 2);
}

void ReliefWindow::buildMode(QWidget* area, QGridLayout* grid) {
  using controls::plainLabel;
  using text::N_;
  grid->addWidget(plainLabel(area, N_("表示ﾓｰﾄﾞ")), 3, 0, 1, 4);
  auto* modeGroup = new QButtonGroup(this);
  const char* modeTexts[3] = {N_("ｲﾒｰｼﾞ"), N_("ﾜｲﾔ"), N_("ﾎﾟﾘｺﾞﾝ")};
  const char* modeNames[3] = {"ModeSurface", "ModeWire", "ModePolygon"};
  for (int i = 0; i < 3; ++i) {
    modes_[static_cast<std::size_t>(i)] = controls::radioButton(area, modeTexts[i], modeNames[i], nullptr);
    modeGroup->addButton(modes_[static_cast<std::size_t>(i)], i);
    grid->addWidget(modes_[static_cast<std::size_t>(i)], 4, i == 0 ? 0 : i + 1, 1, i == 0 ? 2 : 1);
  }
  connect(modeGroup, &QButtonGroup::idClicked, this, [this](int mode) {
    tools::ReliefSettings settings = reliefSettings(bench_);
    settings.mode = static_cast<tools::ReliefMode>(mode);
    setReliefSettings(bench_, settings);
  });
  modeValueLabel_ = plainLabel(area, N_("輝度"));
  modeValue_ = controls::slider(area, "ModeValue", 0, tools::kMaxLuminance);
  auto* resetMode = controls::pushButton(area, N_("ﾘｾｯﾄ"), "ResetMode", nullptr);
  connect(modeValue_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kModeValue, v); });
  connect(resetMode, &QPushButton::clicked, this, [this] { resetReliefMode(bench_); });
  grid->addWidget(modeValueLabel_, 5, 0);
  grid->addWidget(modeValue_, 5, 1, 1, 2);
  grid->addWidget(resetMode, 5, 3);

  base_ = controls::slider(area, "BaseHeight", 0, tools::kMaxBaseHeight, nullptr, Qt::Vertical);
  ratio_ = controls::slider(area, "HeightRatio", 0, tools::kMaxHeightRatio, nullptr, Qt::Vertical);
  depth_ = controls::slider(area, "Depth", 0, tools::kMaxDepth, nullptr, Qt::Vertical);
  const std::array<std::pair<QSlider*, const char*>, 3> verticals{
      {{base_, N_("基底の高さ")}, {ratio_, N_("高さの比率")}, {depth_, N_("奥行き")}}};
  for (int i = 0; i < 3; ++i) {
    auto* label = plainLabel(area, verticals[static_cast<std::size_t>(i)].second);
    label->setWordWrap(true);
    grid->addWidget(label, 6, i == 0 ? 0 : i + 1, 1, i == 0 ? 2 : 1);
    grid->addWidget(verticals[static_cast<std::size_t>(i)].first, 7, i == 0 ? 0 : i + 1, 1,
                    i == 0 ? 2 : 1, Qt::AlignHCenter);
  }
  connect(base_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kBase, v); });
  connect(ratio_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kRatio, v); });
  connect(depth_, &QSlider::valueChanged, this, [this](int v) { changeSetting(kDepth, v); });
}

void ReliefWindow::buildSwitches(QWidget* area, QGridLayout* grid) {
  using controls::checkBox;
  using controls::pushButton;
  using text::N_;
  viewDirection_ = checkBox(area, N_("視点表示"), "ViewDirection", nullptr);
  wholeBox_ = checkBox(area, N_("全体表示"), "Whole", nullptr);
  otherPane_ = checkBox(area, N_("相手側"), "OtherPane", nullptr);
  invert_ = checkBox(area, text::trIn("3D view", "反転"), "Invert", nullptr);
  grid->addWidget(viewDirection_, 8, 0, 1, 2);
  grid->addWidget(wholeBox_, 8, 2, 1, 2);
  grid->addWidget(otherPane_, 9, 0, 1, 2);
  grid->addWidget(invert_, 9, 2, 1, 2);
  const auto switchesChanged = [this] {
    ReliefSwitches switches = reliefSwitches(bench_);
    switches.viewDirection = viewDirection_->isChecked();
    switches.whole = wholeBox_->isChecked();
    switches.otherPane = otherPane_->isChecked();
    setReliefSwitches(bench_, switches);
  };
  for (QCheckBox* box : {viewDirection_, wholeBox_, otherPane_})
    connect(box, &QCheckBox::clicked, this, switchesChanged);
  connect(invert_, &QCheckBox::clicked, this, [this](bool on) {
    tools::ReliefSettings settings = reliefSettings(bench_);
    settings.invert = on;
    setReliefSettings(bench_, settings);
  });
  auto* swap = pushButton(area, "⇔", "Swap", nullptr);
  connect(swap, &QPushButton::clicked, this, [this] {
    ReliefSwitches switches = reliefSwitches(bench_);
    switches.secondImage = !switches.secondImage;
    setReliefSwitches(bench_, switches);
  });
  auto* redraw = pushButton(area, N_("再表示"), "Redraw", nullptr);
  connect(redraw, &QPushButton::clicked, this, [this] { applyFields(); });
  grid->addWidget(swap, 10, 0, 1, 2);
  grid->addWidget(redraw, 10, 2, 1, 2);
}

void ReliefWindow::changeSetting(int which, int value) {
  tools::ReliefSettings settings = reliefSettings(bench_);
  switch (which) {
    case kAngleX:
      settings.angleX = value;
      break;
    case kAngleZ:
      settings.angleZ = value;
      break;
    case kModeValue:
      if (settings.mode == tools::ReliefMode::Surface) {
        settings.luminance = value;
      } else if (settings.mode == tools::ReliefMode::Wire) {
        settings.wireWidth = value;
      } else {
        settings.polygonWidth = value;
      }
      break;
    case kBase:
      settings.baseHeight = value;
      break;
    case kRatio:
      settings.heightRatio = value;
      break;
    case kDepth:
      settings.depth = value;
      break;
    default:
      return;
  }
  if (settings == reliefSettings(bench_)) return;
  setReliefSettings(bench_, settings);
}

void ReliefWindow::applyFields() {
  angleX_->interpretText();
  angleZ_->interpretText();
  tools::ReliefSettings settings = reliefSettings(bench_);
  settings.angleX = angleX_->value();
  settings.angleZ = angleZ_->value();
  setReliefSettings(bench_, settings);
}

void ReliefWindow::refresh() {
  const tools::ReliefSettings settings = reliefSettings(bench_);
  const tools::ReliefState& state = bench_.tools.relief;
  const QList<QWidget*> fields{angleXSlider_, angleZSlider_, angleX_, angleZ_, modeValue_,
                               base_,         ratio_,        depth_};
  for (QWidget* control : fields) control->blockSignals(true);
  angleXSlider_->setValue(settings.angleX);
  angleX_->setValue(settings.angleX);
  angleZSlider_->setValue(settings.angleZ);
  angleZ_->setValue(settings.angleZ);
  modes_[static_cast<std::size_t>(settings.mode)]->setChecked(true);
  const bool surface = settings.mode == tools::ReliefMode::Surface;
  modeValueLabel_->setText(ui(surface ? text::N_("輝度") : text::N_("幅")));
  if (surface) {
    modeValue_->setRange(0, tools::kMaxLuminance);
    modeValue_->setValue(settings.luminance);
  } else {
    modeValue_->setRange(tools::kMinReliefWidth, tools::kMaxReliefWidth);
    modeValue_->setValue(settings.mode == tools::ReliefMode::Wire ? settings.wireWidth
                                                                  : settings.polygonWidth);
  }
  base_->setValue(settings.baseHeight);
  ratio_->setValue(settings.heightRatio);
  depth_->setValue(settings.depth);
  for (QWidget* control : fields) control->blockSignals(false);
  viewDirection_->setChecked(state.viewDirection);
  wholeBox_->setChecked(state.whole);
  otherPane_->setChecked(state.otherPane);
  invert_->setChecked(settings.invert);

  const bool drawn = state.raster.size() ==
                     static_cast<std::size_t>(tools::kReliefWidth) * tools::kReliefHeight;
  output_->setRaster(drawn ? state.raster.data() : nullptr, tools::kReliefWidth, tools::kReliefHeight,
                state.colours);
  if (state.whole && whole_ == nullptr) {
    whole_ = new ReliefWholeWindow(bench_, window());
  }
  if (whole_ != nullptr) {
    if (state.whole) {
      whole_->refresh();
      if (!whole_->isVisible()) {
        if (const QScreen* screen = whole_->screen()) fitIntoArea(*whole_, screen->availableGeometry());
        whole_->show();
      }
    } else if (whole_->isVisible()) {
      whole_->hide();
    }
  }
}

}  // namespace vemla
