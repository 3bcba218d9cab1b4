#include "windows/editors/explanation_dialog.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/main/ui_text.h"

namespace vemla {

using text::N_;

ExplanationDialog::ExplanationDialog(const QString& text, QWidget* parent) : QDialog(parent) {
  setObjectName("Explanation");
  setWindowTitle(ui(N_("説明")));
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("text");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setPlainText(text);
  const QFontMetrics metrics(text_->font());
  text_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('M')) * 60,
                        metrics.lineSpacing() * 24);
  layout->addWidget(text_);
  auto* close = new QPushButton("OK", this);
  close->setObjectName("close");
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(close, 0, Qt::AlignHCenter);
}

QString ExplanationDialog::text() const {
  return text_->toPlainText();
}

ExplanationDialog* showExplanation(QWidget* parent, const std::string& text) {
  auto* dialog = new ExplanationDialog(QString::fromStdString(text), parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
  return dialog;
}

}  // namespace vemla
