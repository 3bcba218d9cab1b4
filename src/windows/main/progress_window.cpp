#include "windows/main/progress_window.h"

#include <QApplication>
#include <QProgressDialog>

namespace vemla {

ProgressWindow::~ProgressWindow() {
  delete dialog_;
}

void ProgressWindow::setText(std::string_view text) {
  text_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (dialog_ != nullptr) dialog_->setLabelText(text_);
}

void ProgressWindow::start(int total) {
  if (dialog_ == nullptr) {
    dialog_ = new QProgressDialog(parent_);
    dialog_->setObjectName("Progress");
    dialog_->setWindowTitle("Vemla");
    dialog_->setCancelButton(nullptr);  // the work it shows cannot be interrupted
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
  }
  dialog_->setLabelText(text_);
  dialog_->setRange(0, total > 0 ? total : 0);
  dialog_->setValue(0);
  dialog_->show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::report(int count) {
  if (dialog_ == nullptr) return;
  dialog_->setValue(std::min(count, dialog_->maximum()));
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::finish() {
  if (dialog_ == nullptr || !dialog_->isVisible()) return;
  dialog_->hide();
  QApplication::restoreOverrideCursor();
}

void WaitCursor::begin() {
  if (depth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WaitCursor::end() {
  if (depth_ > 0 && --depth_ == 0) QApplication::restoreOverrideCursor();
}

}  // namespace vemla
