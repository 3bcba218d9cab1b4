#pragma once
// "説明": a rule text shown read-only until the operator closes it.
#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace vemla {

class ExplanationDialog : public QDialog {
  Q_OBJECT
 public:
  ExplanationDialog(const QString& text, QWidget* parent = nullptr);
  QString text() const;

 private:
  QPlainTextEdit* text_;
};

// Opens the dialog over `parent` without waiting for it (it blocks `parent`'s window while it
// is open and deletes itself when closed) and returns it.
ExplanationDialog* showExplanation(QWidget* parent, const std::string& text);

}  // namespace vemla
