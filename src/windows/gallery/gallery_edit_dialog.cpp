#include "windows/gallery/gallery_edit_dialog.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <array>

#include "gallery/gallery.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {

using text::N_;
namespace {

constexpr int kPerRow = 8;
constexpr int kCellWidth = 72, kCellHeight = 96;
constexpr int kThumbnailSide = 64;
constexpr int kFirstRowTop = 72;  // the first row's thumbnails; its numbers sit above them
constexpr int kWidth = 592;
constexpr int kTopStrip = 48;  // the delete square and the controls

int rowsFor(int slotCount) {
  return std::max(1, (slotCount + kPerRow - 1) / kPerRow);
}

}  // namespace

QRect GalleryEditDialog::slotArea(int slot) {
  return {8 + kCellWidth * (slot % kPerRow), kFirstRowTop + kCellHeight * (slot / kPerRow),
          kThumbnailSide, kThumbnailSide};
}

QRect GalleryEditDialog::deleteArea() {
  return {8, 8, 40, 40};
}

GalleryEditDialog* GalleryEditDialog::open(Workbench& bench, UserPort& user, QWidget* inert,
                                           std::function<void()> changed) {
  auto* dialog = new GalleryEditDialog(bench, user, inert, std::move(changed));
  if (!dialog->edit_.begin(bench, user)) {
    delete dialog;
    return nullptr;
  }
  if (inert != nullptr) {
    inert->setEnabled(false);
    // The dialog has no parent (a disabled parent would disable it too) but stays above it.
    dialog->winId();
    if (QWindow* below = inert->window()->windowHandle()) {
      dialog->windowHandle()->setTransientParent(below);
    }
  }
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  return dialog;
}

GalleryEditDialog::GalleryEditDialog(Workbench& bench, UserPort& user, QWidget* inert,
                                     std::function<void()> changed)
    : QDialog(nullptr), bench_(bench), user_(user), inert_(inert), changed_(std::move(changed)) {
  setObjectName("GalleryEdit");
  setWindowTitle(ui(N_("ギャラリーの編集")));
  setWindowModality(Qt::ApplicationModal);
  setMouseTracking(true);

  auto* controls = new QWidget(this);
  auto* row = new QHBoxLayout(controls);
  row->setContentsMargins(0, 0, 0, 0);
  mode_ = new QButtonGroup(this);
  const std::array<const char*, 3> modes{N_("ｺﾋﾟｰ"), N_("移動"), N_("入れ替え")};
  const std::array<const char*, 3> names{"editCopy", "editMove", "editSwap"};
  const std::array<const char*, 3> helps{N_("ﾄﾞﾗｯｸﾞしたｷﾞｬﾗﾘｰをﾄﾞﾛｯﾌﾟ先のｷﾞｬﾗﾘｰへｺﾋﾟｰします"),
                                         N_("ﾄﾞﾗｯｸﾞしたｷﾞｬﾗﾘｰをﾄﾞﾛｯﾌﾟ先のｷﾞｬﾗﾘｰへ移動します"),
                                         N_("ﾄﾞﾗｯｸﾞしたｷﾞｬﾗﾘｰとﾄﾞﾛｯﾌﾟ先のｷﾞｬﾗﾘｰを入れ替えます")};
  for (std::size_t i = 0; i < modes.size(); ++i) {
    auto* radio = new QRadioButton(ui(modes[i]), controls);
    radio->setObjectName(names[i]);
    setQuickHelp(radio, ui(helps[i]));
    mode_->addButton(radio, static_cast<int>(i));
    row->addWidget(radio);
  }
  mode_->button(0)->setChecked(true);
  row->addStretch();
  auto* finish = new QPushButton(ui(N_("終了")), controls);
  finish->setObjectName("finish");
  finish->setFixedWidth(buttonWidthFor(finish));
  setQuickHelp(finish, ui(N_("編集した内容を保存して終了します")));
  connect(finish, &QPushButton::clicked, this, &GalleryEditDialog::finishEdit);
  row->addWidget(finish);
  auto* cancel = new QPushButton(ui(N_("ｷｬﾝｾﾙ")), controls);
  cancel->setObjectName("cancel");
  cancel->setFixedWidth(buttonWidthFor(cancel));
  setQuickHelp(cancel, ui(N_("編集した内容を元に戻して終了します")));
  connect(cancel, &QPushButton::clicked, this, &GalleryEditDialog::reject);
  row->addWidget(cancel);
  finish->setAutoDefault(false);
  cancel->setAutoDefault(false);

  // The controls sit right of the delete square; a large font widens the dialog.
  const QSize hint = controls->sizeHint();
  const int left = deleteArea().right() + 16;
  const int width = std::max(kWidth, left + hint.width() + 8);
  controls->setGeometry(left, (kTopStrip + 8 - hint.height()) / 2, width - left - 8, hint.height());
  setFixedSize(width, kCellHeight * rowsFor(galleryCount(bench_)) + 88);
  const QScreen* screen = inert != nullptr ? inert->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) move(screen->availableGeometry().center() - rect().center());
  connect(this, &QDialog::finished, this, &GalleryEditDialog::release);
}

GalleryEditDialog::~GalleryEditDialog() {
  if (inert_) inert_->setEnabled(true);
}

int GalleryEditDialog::slotAt(QPoint at) const {
  for (int slot = 0; slot < galleryCount(bench_); ++slot) {
    if (slotArea(slot).contains(at)) return slot;
  }
  return -1;
}

SlotTransfer GalleryEditDialog::mode() const {
  return static_cast<SlotTransfer>(mode_->checkedId());
}

void GalleryEditDialog::finishEdit() {
  edit_.finish(bench_);
  accept();
}

void GalleryEditDialog::reject() {
  if (!edit_.cancel(bench_, user_)) return;
  if (changed_) changed_();
  QDialog::reject();
}

// Once closed the main window takes input again and the dialog goes.
void GalleryEditDialog::release() {
  if (inert_) {
    inert_->setEnabled(true);
    // Its focus (the image pane) comes back with it.
    inert_->activateWindow();
  }
  inert_ = nullptr;
  deleteLater();
}

void GalleryEditDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  // The delete square: a cross in a frame.
  const QRect bin = deleteArea();
  painter.setPen(QPen(Qt::darkRed, 2));
  painter.drawRect(bin.adjusted(1, 1, -1, -1));
  painter.drawLine(bin.topLeft() + QPoint(10, 10), bin.bottomRight() - QPoint(10, 10));
  painter.drawLine(bin.topRight() + QPoint(-10, 10), bin.bottomLeft() + QPoint(10, -10));
  painter.setPen(palette().windowText().color());
  const persist::HeldGallery* gallery = liveGallery(bench_);
  for (int slot = 0; slot < galleryCount(bench_); ++slot) {
    const QRect area = slotArea(slot);
    painter.drawText(QRect(area.x(), area.y() - 24, area.width(), 24), Qt::AlignCenter,
                     QString::asprintf(" %2d ", slot + 1));
    const QImage image = slotThumbnailImage(bench_, slot, kThumbnailSide);
    if (!image.isNull()) {
      painter.drawImage(area, image);
    } else {
      const int kind = gallery->info.slotRecords[static_cast<std::size_t>(slot)].kind;
      painter.drawRect(area.adjusted(0, 0, -1, -1));
      painter.drawText(area, Qt::AlignCenter,
                       kind == kSlotEmpty  ? "Idle"
                       : kind == kSlotData ? "Data"
                                           : "Over");
    }
  }
  if (dragged_ < 0) return;
  // The dragged slot and where it would land.
  painter.setPen(QPen(palette().highlight().color(), 2));
  painter.drawRect(slotArea(dragged_).adjusted(-2, -2, 2, 2));
  const int target = slotAt(dragAt_);
  if (target >= 0 && target != dragged_) painter.drawRect(slotArea(target).adjusted(-3, -3, 3, 3));
  if (deleteArea().contains(dragAt_)) painter.drawRect(deleteArea().adjusted(-3, -3, 3, 3));
}

void GalleryEditDialog::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton || slotAt(at) < 0) {
    QDialog::mousePressEvent(event);
    return;
  }
  dragged_ = slotAt(at);
  dragAt_ = at;
  setCursor(Qt::ClosedHandCursor);
  update();
}

void GalleryEditDialog::mouseMoveEvent(QMouseEvent* event) {
  if (dragged_ < 0) return;
  dragAt_ = event->position().toPoint();
  update();
}

void GalleryEditDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || dragged_ < 0) return;
  const int source = dragged_;
  const QPoint at = event->position().toPoint();
  dragged_ = -1;
  unsetCursor();
  const int target = slotAt(at);
  bool done = false;
  if (deleteArea().contains(at)) {
    done = edit_.remove(bench_, user_, source);
  } else if (target >= 0 && target != source) {
    done = edit_.drop(bench_, user_, source, target, mode()) == 0;
  }
  if (done && changed_) changed_();
  update();
}

}  // namespace vemla
