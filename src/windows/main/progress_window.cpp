#include "windows/main/progress_window.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <cstdint>

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
  // The bar counts whole percent; work without a known total shows the busy animation.
  total_ = total;
  dialog_->setRange(0, total > 0 ? 100 : 0);
  dialog_->setValue(0);
  dialog_->show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
  if (!dialog_->isVisible()) return;
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
