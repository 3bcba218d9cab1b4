#include "windows/editors/memo_editor.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <string>

#include "picture/file_helpers.h"
#include "ports/ports.h"
#include "text/cp932.h"
#include "windows/editors/plain_text_field.h"
#include "windows/main/ui_text.h"

namespace vemla {

using text::N_;
namespace {

// A memo is a text of a person's notes; anything longer is not one.
constexpr std::uint64_t kLongestMemo = 16 * 1024 * 1024;

std::string nameOf(const QString& path) {
  return path.toStdString();
}

}  // namespace

MemoEditor::MemoEditor(const QString& path, UserPort& user, QWidget* parent, const QString& title)
    : QDialog(parent), path_(path), user_(user) {
  setObjectName("MemoEditor");
  setWindowTitle(title + QString::fromUtf8(" - ") + path);
  setAttribute(Qt::WA_DeleteOnClose);
  text_ = new PlainTextField(this);
  text_->setObjectName("memo");
  save_ = new QPushButton(ui(N_("保存(&S)")), this);
  save_->setObjectName("save");
  auto* close = new QPushButton(ui(N_("閉じる")), this);
  close->setObjectName("close");
  connect(save_, &QPushButton::clicked, this, &MemoEditor::save);
  connect(close, &QPushButton::clicked, this, &MemoEditor::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save_);
  buttons->addWidget(close);
  auto* column = new QVBoxLayout(this);
  column->addWidget(text_, 1);
  column->addLayout(buttons);
  // About 80 columns by 25 lines of the editor's font.
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QString(80, 'x')) + 40, metrics.lineSpacing() * 25 + 60);

  if (!fileExists(nameOf(path))) return;  // a new memo
  const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(nameOf(path), kLongestMemo);
  std::optional<QString> shown;
  if (bytes) {
    const std::string raw(bytes->begin(), bytes->end());
    const QString utf8 = QString::fromUtf8(raw);
    if (utf8.toUtf8() == QByteArray::fromStdString(raw)) {
      shown = utf8;
    } else if (const std::optional<std::string> converted = text::cp932ToUtf8(raw)) {
      shown = QString::fromStdString(*converted);
    }
  }
  if (!shown) {
    user_.tell(Icon::Warning, text::tr("ﾒﾓﾌｧｲﾙを読み込めません\n") + nameOf(path));
    text_->setReadOnly(true);
    save_->setEnabled(false);
    return;
  }
  text_->setPlainText(*shown);
  text_->document()->setModified(false);
}

bool MemoEditor::save() {
  const QByteArray bytes = text_->toPlainText().toUtf8();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  if (!writeFileAtomically(nameOf(path_), {data, static_cast<std::size_t>(bytes.size())})) {
    user_.tell(Icon::Error, text::tr("ﾒﾓﾌｧｲﾙを保存できません\n") + nameOf(path_));
    return false;
  }
  text_->document()->setModified(false);
  return true;
}

void MemoEditor::reject() {
  if (text_->document()->isModified()) {
    switch (user_.askYesNoCancel(text::tr("ﾒﾓが変更されています\n保存しますか"), Icon::Question)) {
      case Answer::Yes:
        if (!save()) return;
        break;
      case Answer::No:
        break;
      case Answer::Cancel:
        return;
    }
  }
  QDialog::reject();
}

}  // namespace vemla
