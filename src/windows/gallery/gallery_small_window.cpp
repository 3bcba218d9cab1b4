#include "windows/gallery/gallery_small_window.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "gallery/gallery.h"
#include "gallery/thumbnail.h"
#include "windows/main/quick_help.h"
#include "windows/main/ui_text.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {

using text::N_;
namespace {

constexpr int kPreviewSide = static_cast<int>(kThumbnailSide);

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* numberField(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  label->setAlignment(Qt::AlignCenter);
  label->setFixedSize(label->fontMetrics().horizontalAdvance("888") + 6,
                      label->fontMetrics().height() + 8);
  return label;
}

}  // namespace

GallerySmallWindow::GallerySmallWindow(Workbench& bench, GalleryWindow& gallery, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      bench_(bench),
      gallery_(gallery) {
  setObjectName("GallerySmall");
  setWindowTitle(ui(N_("ギャラリー")));
  auto* strip = new QHBoxLayout(this);
  strip->setContentsMargins(2, 2, 2, 2);
  strip->setSpacing(1);
  const QString numberHelp =
      ui(N_("左ﾎﾞﾀﾝを押している間ｷﾞｬﾗﾘｰの画像を表示します\n"
            "押したままﾏｳｽを画像に移すと表示が残り、ｻﾑﾈｲﾙと同じ操作ができます\n"
            "右ｸﾘｯｸで拡張機能のﾒﾆｭｰを開きます"));
  for (int slot = 0; slot < persist::kGallerySlots; ++slot) {
    QLabel* number = numberField(QString::number(slot + 1), this);
    number->setObjectName(QString("small%1").arg(slot + 1));
    setQuickHelp(number, numberHelp);
    number->installEventFilter(this);
    strip->addWidget(number);
    numbers_.push_back(number);
  }
  all_ = numberField("All", this);
  all_->setObjectName("all");
  all_->setFixedWidth(all_->fontMetrics().horizontalAdvance("All") + 12);
  setQuickHelp(all_, ui(N_("ｷﾞｬﾗﾘｰの一覧を表示します\n"
                           "右ｸﾘｯｸでｷﾞｬﾗﾘｰ全体の機能のﾒﾆｭｰを開きます")));
  all_->installEventFilter(this);
  strip->addWidget(all_);
  preview_ = new GallerySlotPreview(bench_, gallery_, this);
}

QLabel* GallerySmallWindow::numberLabel(int slot) const {
  if (slot < 0) return all_;
  return slot < static_cast<int>(numbers_.size()) ? numbers_[static_cast<std::size_t>(slot)]
                                                  : nullptr;
}

void GallerySmallWindow::refresh() {
  const int count = galleryCount(bench_);
  for (int slot = 0; slot < static_cast<int>(numbers_.size()); ++slot) {
    QLabel* number = numbers_[static_cast<std::size_t>(slot)];
    number->setVisible(slot < count);
    if (const persist::GallerySlot* record = gallerySlotRecord(bench_, slot)) {
      number->setToolTip(fromUtf8(slotListLine(slot, *record, true)));
    }
  }
  adjustSize();
  if (preview_->isVisible()) preview_->update();
}

bool GallerySmallWindow::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick) {
    return QWidget::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint global = mouse->globalPosition().toPoint();
  if (watched == all_) {
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
      gallery_.listWindow()->show();
      gallery_.listWindow()->raise();
    } else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
      gallery_.galleryMenu(this)->exec(global);
    }
    return true;
  }
  const auto found = std::find(numbers_.begin(), numbers_.end(), watched);
  if (found == numbers_.end()) return QWidget::eventFilter(watched, event);
  const int slot = static_cast<int>(found - numbers_.begin());
  if (mouse->button() == Qt::LeftButton && type != QEvent::MouseButtonRelease) {
    preview_->showSlot(slot, *found);
  } else if (mouse->button() == Qt::LeftButton) {
    // Released on the preview (the pointer slid into it): it stays for the thumbnail's actions.
    if (!preview_->isVisible() || !preview_->frameGeometry().contains(global)) preview_->hide();
  } else if (mouse->button() == Qt::RightButton && type == QEvent::MouseButtonPress) {
    preview_->hide();
    gallery_.slotMenu(slot, this, GalleryForm::Small)->exec(global);
  }
  return true;
}

void GallerySmallWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMaximized()) return;
  // Maximising the small form gives the normal form.
  setWindowState(windowState() & ~Qt::WindowMaximized);
  QMetaObject::invokeMethod(
      &gallery_, [this] { gallery_.setForm(GalleryForm::Normal); }, Qt::QueuedConnection);
}

void GallerySmallWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  gallery_.formMoved(this);
}

void GallerySmallWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
  gallery_.updateShown();
}

void GallerySmallWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  preview_->hide();
  gallery_.updateShown();
}

// ---------------------------------------------------------------------------------------------

GallerySlotPreview::GallerySlotPreview(Workbench& bench, GalleryWindow& gallery, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      bench_(bench),
      gallery_(gallery) {
  setObjectName("GalleryPreview");
  // The keyboard focus stays where it was (the image pane).
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAcceptDrops(true);
  setFixedSize(kPreviewSide + 4, kPreviewSide + fontMetrics().height() + 8);
  setQuickHelp(this,
               ui(N_("右ｸﾘｯｸで拡張機能のﾒﾆｭｰ、ﾀﾞﾌﾞﾙｸﾘｯｸで画像はView、ﾃﾞｰﾀはｱﾌﾟﾘｹｰｼｮﾝで開きます\n"
                     "ﾌｧｲﾙをﾄﾞﾛｯﾌﾟすると、このｷﾞｬﾗﾘｰから順に読み込みます")));
}

void GallerySlotPreview::showSlot(int slot, QWidget* anchor) {
  slot_ = slot;
  QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height() + 2));
  if (const QScreen* screen = anchor->screen()) {
    const QRect area = screen->availableGeometry();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
  }
  move(at);
  show();
  raise();
  update();
}

void GallerySlotPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const persist::GallerySlot* record = gallerySlotRecord(bench_, slot_);
  if (record == nullptr) return;
  const int line = fontMetrics().height() + 4;
  painter.setPen(Qt::white);
  painter.drawText(QRect(2, 2, width() - 4, line), Qt::AlignLeft | Qt::AlignVCenter,
                   fromUtf8(slotListLine(slot_, *record, true)));
  const QRect picture(2, line + 2, kPreviewSide, kPreviewSide);
  const QImage image = slotThumbnailImage(bench_, slot_, kPreviewSide);
  if (!image.isNull()) {
    painter.drawImage(picture, image);
    return;
  }
  painter.setPen(Qt::gray);
  painter.drawText(picture, Qt::AlignCenter,
                   record->kind == kSlotEmpty  ? "Idle"
                   : record->kind == kSlotData ? "Data"
                                               : "Over");
}

void GallerySlotPreview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton || slot_ < 0) return;
  inMenu_ = true;
  gallery_.slotMenu(slot_, this, GalleryForm::Small)->exec(event->globalPosition().toPoint());
  inMenu_ = false;
}

void GallerySlotPreview::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && slot_ >= 0) gallery_.openSlot(slot_);
}

void GallerySlotPreview::leaveEvent(QEvent*) {
  if (!inMenu_) hide();
}

void GallerySlotPreview::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) hide();
}

void GallerySlotPreview::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void GallerySlotPreview::dropEvent(QDropEvent* event) {
  if (slot_ < 0) return;
  event->acceptProposedAction();
  gallery_.dropFiles(slot_, event->mimeData());
  update();
}

}  // namespace vemla
