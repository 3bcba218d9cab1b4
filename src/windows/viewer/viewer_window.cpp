#include "windows/viewer/viewer_window.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>

#include "picture/file_names.h"
#include "picture/picture_file.h"
#include "text/format.h"
#include "windows/main/clipboard_files.h"
#include "windows/main/drawn_icons.h"
#include "windows/main/ui_text.h"

namespace vemla {
namespace {

using text::N_;

constexpr int kWheelNotch = 120;
constexpr int kCellWidth = 24, kCellHeight = 14;
constexpr int kTableMargin = 4;

constexpr const char* kShowGradation = N_("階調値の表示");
constexpr const char* kStandardView = N_("標準の表示状態へ戻す");
constexpr const char* kMarkCentre = N_("中心位置の表示を行う");
constexpr const char* kMaximise = N_("ｳｨﾝﾄﾞｳｻｲｽﾞの最大化");
constexpr const char* kPaste = N_("貼り付け");
constexpr const char* kHelp = N_("機能説明");
constexpr const char* kCancel = N_("キャンセル");
constexpr const char* kClosesOnKey = N_("※何かのｷｰを押下するとｳｨﾝﾄﾞｳがｸﾛｰｽﾞします");
constexpr const char* kStandAloneKeys = N_("※ｷｰ押下  ESC:終了、その他:続行(VemLA立ち上げ)");

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

bool isModifierOnly(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Grey-value table

GradationTableWindow::GradationTableWindow(QWidget* owner) : QDialog(owner) {
  setObjectName("ViewerGradation");
  QFont font("Monospace");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(kCellHeight - 3);
  setFont(font);
  const int side = kGradationCells + 1;
  setFixedSize(side * kCellWidth + 2 * kTableMargin, side * kCellHeight + 2 * kTableMargin);
}

void GradationTableWindow::setTable(const GradationTable& table) {
  table_ = table;
  setWindowTitle(fromUtf8(table.title));
  update();
}

void GradationTableWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const auto cell = [](int column, int row) {
    return QRect(kTableMargin + column * kCellWidth, kTableMargin + row * kCellHeight, kCellWidth,
                 kCellHeight);
  };
  constexpr int kCentre = kGradationCells / 2 + 1;
  painter.fillRect(cell(kCentre, 0).united(cell(kCentre, kGradationCells)), QColor(255, 255, 192));
  painter.fillRect(cell(0, kCentre).united(cell(kGradationCells, kCentre)), QColor(255, 255, 192));
  char text[16];
  for (int i = 0; i < kGradationCells; ++i) {
    std::snprintf(text, sizeof text, "%3d", table_.columnHeaders[static_cast<std::size_t>(i)]);
    painter.setPen(Qt::darkBlue);
    painter.drawText(cell(i + 1, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    std::snprintf(text, sizeof text, "%3d", table_.rowHeaders[static_cast<std::size_t>(i)]);
    painter.drawText(cell(0, i + 1), Qt::AlignRight | Qt::AlignVCenter, text);
    painter.setPen(Qt::black);
    for (int j = 0; j < kGradationCells; ++j) {
      painter.drawText(
          cell(j + 1, i + 1), Qt::AlignRight | Qt::AlignVCenter,
          fromUtf8(gradationCellText(
              table_.values[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)])));
    }
  }
}

void GradationTableWindow::keyPressEvent(QKeyEvent* event) {
  emit keyPressed(event);
}

// ---------------------------------------------------------------------------------------------
// Viewer

ViewerWindow::ViewerWindow(const Options& options, UserPort& user, QWidget* owner)
    : QWidget(owner, Qt::Window), options_(options), user_(user) {
  setObjectName("VemlaImage");
  setWindowIcon(viewerIcon());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(64, 64);
}

void ViewerWindow::setStandAlone(bool standAlone) {
  standAlone_ = standAlone;
  if (!image_.empty())
    setWindowTitle(fromUtf8(viewerTitle(zoom_, options_.ViewerWheelZoomOnly, standAlone_)));
}

QSize ViewerWindow::screenSize() const {
  if (screen_.isValid()) return screen_;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->size() : QSize(1024, 768);
}

int ViewerWindow::report(const std::string& failure) {
  if (failure.empty()) {
    present();
    return 0;
  }
  user_.tell(Icon::Warning, failure, "Vemla");
  return -1;
}

int ViewerWindow::openMemory(const std::uint8_t* pixels, int width, int height,
                             const std::array<std::uint32_t, 256>& palette) {
  return report(loadViewerMemory(pixels, width, height, palette, options_.MaxPictureWidth,
                                 options_.MaxPictureHeight, image_));
}

int ViewerWindow::openBitmap(const std::string& path) {
  return report(loadViewerBitmap(path, options_.MaxPictureWidth, options_.MaxPictureHeight, image_,
                                 options_.SixteenBit));
}

int ViewerWindow::openSlot(const std::string& path, int width, int height, int bytesPerPixel,
                           const Palette& palette) {
  return report(loadViewerSlot(path, width, height, bytesPerPixel, palette,
                               options_.MaxPictureWidth, options_.MaxPictureHeight, image_));
}

int ViewerWindow::openContent(std::span<const std::uint8_t> content, int width, int height,
                              int bytesPerPixel, const Palette& palette) {
  return report(loadViewerContent(content, width, height, bytesPerPixel, palette,
                                  options_.MaxPictureWidth, options_.MaxPictureHeight, image_));
}

int ViewerWindow::openRaw(const std::string& path, const RawSize& size) {
  const int result = report(
      loadViewerRaw(path, size, options_.MaxPictureWidth, options_.MaxPictureHeight, image_));
  if (result == 0) lastRaw_ = size;
  return result;
}

int ViewerWindow::openFile(const std::string& path) {
  if (isPictureName(path)) return openBitmap(path);
  if (isRawName(path)) {
    const QFileInfo file(fromUtf8(path));
    const std::optional<RawSize> size =
        user_.askRawSize(path, file.exists() ? file.size() : 0, lastRaw_.value_or(RawSize{}));
    if (!size) return -1;
    return openRaw(path, *size);
  }
  user_.tell(Icon::Warning, text::format(text::tr(kViewerCannotView), path.c_str()), "Vemla");
  return -1;
}

// A new picture takes its opening zoom and centre; a shown window only grows.
void ViewerWindow::present() {
  const QSize screen = screenSize();
  const std::optional<ViewerOpening> opening =
      viewerOpening(image_.width, image_.height, {screen.width(), screen.height()},
                    {options_.MaxPictureWidth, options_.MaxPictureHeight});
  if (!opening) return;  // the loaders refuse pictures without pixels
  opening_ = *opening;
  const bool shown = isVisible();
  if (shown) {
    resize(std::max(width(), opening_.window.width), std::max(height(), opening_.window.height));
  } else {
    resize(opening_.window.width, opening_.window.height);
    move(opening_.windowX, opening_.windowY);
  }
  setView(opening_.zoom, opening_.centreX, opening_.centreY);
  if (!shown) {
    show();
    if (image_.bytesPerPixel == 1 && options_.ViewerShowGradation) toggleTable();
  } else if (image_.bytesPerPixel != 1 && table_ != nullptr) {
    table_->close();
  }
  raise();
  activateWindow();
  setFocus();
}

void ViewerWindow::setView(int zoom, int centreX, int centreY) {
  zoom_ = zoom;
  centreX_ = std::clamp(centreX, 0, std::max(0, image_.width - 1));
  centreY_ = std::clamp(centreY, 0, std::max(0, image_.height - 1));
  setWindowTitle(fromUtf8(viewerTitle(zoom_, options_.ViewerWheelZoomOnly, standAlone_)));
  refreshTable();
  update();
}

void ViewerWindow::refreshTable() {
  if (table_ == nullptr || !table_->isVisible()) return;
  table_->setTable(vemla::gradationTable(image_.picture(), centreX_, centreY_));
}

void ViewerWindow::placeTable() {
  if (table_ == nullptr) return;
  const QRect viewer = frameGeometry();
  const QSize screen = screenSize();
  const int tableWidth = table_->frameGeometry().width();
  int x = viewer.right() + 1;
  if (x + tableWidth > screen.width()) x = std::max(0, viewer.left() - tableWidth);
  table_->move(x, viewer.top());
}

void ViewerWindow::toggleTable() {
  if (table_ != nullptr && table_->isVisible()) {
    table_->close();
    return;
  }
  if (image_.bytesPerPixel != 1 || image_.empty()) return;
  if (table_ == nullptr) {
    table_ = new GradationTableWindow(this);
    table_->setModal(false);
    connect(table_, &GradationTableWindow::keyPressed, this, &ViewerWindow::pressedKey);
  }
  table_->show();
  placeTable();
  refreshTable();
  activateWindow();
}

void ViewerWindow::paintEvent(QPaintEvent*) {
  if (client_.size() != size()) client_ = QImage(size(), QImage::Format_RGB32);
  auto* pixels = reinterpret_cast<std::uint32_t*>(client_.bits());
  const int stride = static_cast<int>(client_.bytesPerLine() / 4);
  paintViewer(image_.picture(), zoom_, centreX_, centreY_, width(), height(), pixels, stride);
  QPainter painter(this);
  painter.drawImage(0, 0, client_);
  if (markCentre_ && !image_.empty()) {
    // A red square around the centre pixel's block (at least 7 pixels), with a cross inside.
    const int block = std::max(1, zoom_);
    const std::int64_t firstX = firstVisible(centreX_, width(), zoom_);
    const std::int64_t firstY = firstVisible(centreY_, height(), zoom_);
    const int u = zoom_ >= 1 ? static_cast<int>((centreX_ - firstX) * zoom_) : width() / 2;
    const int v = zoom_ >= 1 ? static_cast<int>((centreY_ - firstY) * zoom_) : height() / 2;
    const int half = std::max(3, block / 2 + 2);
    const QPoint middle(u + block / 2, v + block / 2);
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.drawRect(QRect(middle - QPoint(half, half), QSize(2 * half, 2 * half)));
    painter.drawLine(middle - QPoint(half + 4, 0), middle + QPoint(half + 4, 0));
    painter.drawLine(middle - QPoint(0, half + 4), middle + QPoint(0, half + 4));
  }
}

void ViewerWindow::zoomAt(QPoint at, bool in) {
  const int next = in ? zoomIn(zoom_) : zoomOut(zoom_);
  if (next == zoom_ || image_.empty()) return;
  setView(next, clickedCentre(at.x(), centreX_, width(), zoom_, image_.width),
          clickedCentre(at.y(), centreY_, height(), zoom_, image_.height));
}

void ViewerWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool wheelOnly = options_.ViewerWheelZoomOnly;
  if (event->button() == Qt::LeftButton) {
    if (!wheelOnly) zoomAt(at, true);
  } else if (event->button() == Qt::RightButton) {
    if (wheelOnly || (event->modifiers() & Qt::ControlModifier) != 0) {
      openMenu(at);
    } else {
      zoomAt(at, false);
    }
  }
}

void ViewerWindow::wheelEvent(QWheelEvent* event) {
  wheelRemainder_ += event->angleDelta().y();
  while (wheelRemainder_ >= kWheelNotch || wheelRemainder_ <= -kWheelNotch) {
    const bool towardsUser = wheelRemainder_ < 0;
    wheelRemainder_ += towardsUser ? kWheelNotch : -kWheelNotch;
    const int next = towardsUser ? zoomOut(zoom_) : zoomIn(zoom_);
    if (next != zoom_) setView(next, centreX_, centreY_);
  }
  event->accept();
}

void ViewerWindow::openMenu(QPoint at) {
  QMenu menu(this);
  QAction* gradation = menu.addAction(ui(kShowGradation));
  gradation->setCheckable(true);
  gradation->setChecked(table_ != nullptr && table_->isVisible());
  gradation->setEnabled(image_.bytesPerPixel == 1 && !image_.empty());
  QAction* standard = menu.addAction(ui(kStandardView));
  QAction* mark = menu.addAction(ui(kMarkCentre));
  mark->setCheckable(true);
  mark->setChecked(markCentre_);
  QAction* maximise = menu.addAction(ui(kMaximise));
  const std::vector<std::string> files =
      clipboardFiles_ ? clipboardFiles_() : std::vector<std::string>{};
  QAction* paste = menu.addAction(ui(kPaste));
  paste->setEnabled(!files.empty());
  menu.addSeparator();
  QAction* help = menu.addAction(ui(kHelp));
  menu.addAction(ui(kCancel));
  const QPoint global = mapToGlobal(at);
  const QAction* chosen = runner_ ? runner_(menu, global) : menu.exec(global);
  if (chosen == nullptr) return;
  if (chosen == gradation) {
    toggleTable();
  } else if (chosen == standard) {
    setView(opening_.zoom, opening_.centreX, opening_.centreY);
  } else if (chosen == mark) {
    markCentre_ = !markCentre_;
    update();
  } else if (chosen == maximise) {
    const QSize screen = screenSize();
    const int largestWidth = std::min(screen.width() - 64, options_.MaxPictureWidth);
    const int largestHeight = std::min(screen.height() - 64, options_.MaxPictureHeight);
    resize(std::max(64, largestWidth), std::max(64, largestHeight));
    move(std::max(0, (screen.width() - width()) / 2),
         std::max(0, (screen.height() - height()) / 2));
  } else if (chosen == paste && !files.empty()) {
    const std::string file = files.front();
    QTimer::singleShot(0, this, [this, file] { openFile(file); });
  } else if (chosen == help && help_) {
    std::string text = viewerTitle(zoom_, options_.ViewerWheelZoomOnly, standAlone_);
    text.append("\n").append(text::tr(standAlone_ ? kStandAloneKeys : kClosesOnKey));
    help_(this, fromUtf8(text));
  }
}

void ViewerWindow::pressedKey(QKeyEvent* event) {
  if (isModifierOnly(event->key())) return;
  event->accept();
  standAloneOutcome_ = event->key() != Qt::Key_Escape;
  close();
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
  pressedKey(event);
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!localFilesOf(event->mimeData()).empty()) event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = localFilesOf(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  const std::string file = files.front();
  // The raw size dialog or a message never runs inside the drop.
  QTimer::singleShot(0, this, [this, file] { openFile(file); });
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  if (table_ != nullptr) table_->close();
  QWidget::closeEvent(event);
  // Closed any other way (the window's close button), the stand-alone viewer ends the program.
  if (standAlone_) {
    standAlone_ = false;
    emit standAloneEnded(standAloneOutcome_.value_or(false));
  }
}

void ViewerWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (table_ != nullptr && table_->isVisible()) placeTable();
}

void ViewerWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (table_ != nullptr && table_->isVisible()) placeTable();
}

}  // namespace vemla
