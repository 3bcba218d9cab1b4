#include "windows/main/progress_window.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "windows/main/ui_text.h"

namespace vemla {

ProgressWindow::~ProgressWindow() {
  if (overriding_) QApplication::restoreOverrideCursor();
  delete dialog_.data();
}

void ProgressWindow::setText(std::string_view text) {
  text_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (dialog_ != nullptr) dialog_->setLabelText(text_);
}

void ProgressWindow::start(int total) {
  show(total, false);
}

void ProgressWindow::startWait() {
  show(0, true);
}

// The window that started the work: the topmost modal dialog (the exchange dialog, the
// launcher), else the active window, else the main window.
QWidget* ProgressWindow::starter() const {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != dialog_) return modal;
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active != dialog_) return active;
  return parent_;
}

void ProgressWindow::show(int total, bool cancellable) {
  // Shown again while it shows, it stays where it is; otherwise it belongs to (is transient
  // for, and lies above) the window that started the work.
  QWidget* owner = dialog_ != nullptr && dialog_->isVisible() ? dialog_->parentWidget() : starter();
  if (dialog_ != nullptr && dialog_->parentWidget() != owner) {
    dialog_->setParent(owner, dialog_->windowFlags());
  }
  if (dialog_ == nullptr) {
    dialog_ = new QProgressDialog(owner);
    dialog_->setObjectName("Progress");
    dialog_->setWindowTitle("Vemla");
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
  }
  // Work of the program itself cannot be interrupted; a wait for another program can.
  if (cancellable) {
    dialog_->setCancelButtonText(ui(text::N_("ｷｬﾝｾﾙ")));
  } else {
    dialog_->setCancelButton(nullptr);
  }
  dialog_->reset();  // forgets an earlier cancel
  dialog_->setLabelText(text_);
  // The bar counts whole percent; work without a known total shows the busy animation.
  total_ = total;
  dialog_->setRange(0, total > 0 ? 100 : 0);
  dialog_->setValue(0);
  dialog_->show();
  dialog_->raise();
  // Over a wait that can be cancelled the pointer stays usable (arrow with the busy sign).
  const Qt::CursorShape cursor = cancellable ? Qt::BusyCursor : Qt::WaitCursor;
  if (overriding_) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    overriding_ = true;
  }
  QApplication::processEvents(cancellable ? QEventLoop::AllEvents
                                          : QEventLoop::ExcludeUserInputEvents);
}

bool ProgressWindow::keepWaiting() {
  if (dialog_ == nullptr) return true;
  // The dialog is application modal: the clicks it lets through are its own "ｷｬﾝｾﾙ" (which
  // also hides it).
  QApplication::processEvents(QEventLoop::AllEvents);
  return !dialog_->wasCanceled();
}

void ProgressWindow::report(int count) {
  if (dialog_ == nullptr) return;
  if (total_ > 0) {
    // count * 100 in 64 bits; the bar advances in whole percent and never moves backwards.
    const auto percent =
        static_cast<int>(std::clamp<std::int64_t>(std::int64_t{count} * 100 / total_, 0, 100));
    if (percent > dialog_->value()) dialog_->setValue(percent);
  }
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::finish() {
  text_.clear();
  total_ = 0;
  if (dialog_ == nullptr) return;
  dialog_->setLabelText(text_);
  dialog_->setValue(0);
  dialog_->hide();
  // Back to the main window: the dialog that started the work may go now.
  if (dialog_->parentWidget() != parent_) dialog_->setParent(parent_, dialog_->windowFlags());
  if (std::exchange(overriding_, false)) QApplication::restoreOverrideCursor();
}

void WaitCursor::begin() {
  if (depth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WaitCursor::end() {
  if (depth_ > 0 && --depth_ == 0) QApplication::restoreOverrideCursor();
}

}  // namespace vemla
