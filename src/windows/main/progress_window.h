#pragma once
// The progress window of long work (text, total, count, finish): a bar of whole percent that
// never moves backwards, or a busy animation when the total is not known; finishing empties
// the text and resets the bar. A wait for another program (an export, an import) has a
// "ｷｬﾝｾﾙ" button and takes the operator's clicks while it shows. And the wait cursor around
// work without a count. Both keep the window responsive enough to repaint while they show.
#include <QPointer>
#include <QWidget>

#include "ports/ports.h"

class QProgressDialog;

namespace vemla {

class ProgressWindow final : public ProgressPort {
 public:
  explicit ProgressWindow(QWidget* parent) : parent_(parent) {}
  ~ProgressWindow() override;
  void setText(std::string_view text) override;
  void start(int total) override;
  void report(int count) override;
  void finish() override;
  void startWait() override;
  bool keepWaiting() override;

 private:
  void show(int total, bool cancellable);
  QWidget* starter() const;

  QPointer<QWidget> parent_;
  QPointer<QProgressDialog> dialog_;  // a child of the window that started the work
  QString text_;
  int total_ = 0;
  bool overriding_ = false;  // this window's cursor is on the override stack
};

class WaitCursor final : public BusyPort {
 public:
  void begin() override;
  void end() override;

 private:
  int depth_ = 0;
};

}  // namespace vemla
