#include "windows/dialogs/picture_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "editing/picture_rename.h"
#include "editing/small_dialogs.h"
#include "options/option_sheet_rules.h"
#include "picture/messages.h"
#include "windows/main/ui_text.h"
#include "workbench/commands/file_history.h"
#include "workbench/editing/grey_value_text.h"
#include "workbench/editing/picture_size_change.h"

namespace vemla {
namespace {

using text::N_;

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int readField(const QLineEdit* field) {
  return readIntegerField(field->text().toStdString());
}

// "OK" (the default: Enter in a field presses it) and "ｷｬﾝｾﾙ" in a row at the bottom.
void addOkCancel(QDialog* dialog, QBoxLayout* layout) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  QPushButton* ok = dialogButton("OK", "ok", dialog);
  ok->setDefault(true);
  QPushButton* cancel = dialogButton(ui(N_("ｷｬﾝｾﾙ")), "cancel", dialog);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(ok);
  row->addWidget(cancel);
  layout->addLayout(row);
}

QLineEdit* numberField(const QString& objectName, int value, QWidget* parent) {
  auto* field = new QLineEdit(QString::number(value), parent);
  field->setObjectName(objectName);
  return field;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

SizeChangeDialog::SizeChangeDialog(UserPort& user, int width, int height, ResizeMode mode,
                                   int maxWidth, int maxHeight, QWidget* parent)
    : ConfirmingDialog(user, parent),
      width_(width),
      height_(height),
      initialMode_(mode),
      maxWidth_(maxWidth),
      maxHeight_(maxHeight) {
  setObjectName("SizeChangeDialog");
  setWindowTitle(ui(kSizeChangeTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  widthField_ = numberField("width", width, this);
  heightField_ = numberField("height", height, this);
  form->addRow(ui(N_("幅")), widthField_);
  form->addRow(ui(N_("高さ")), heightField_);
  layout->addLayout(form);
  auto* crop = new QRadioButton(ui(N_("左上位置を基準とし\n切り出しや貼り付け\nを行う")), this);
  crop->setObjectName("cropOrPad");
  scale_ = new QRadioButton(ui(N_("新しいｻｲｽﾞにあわせて\n膨張／収縮を行う")), this);
  scale_->setObjectName("scale");
  (mode == ResizeMode::Scale ? scale_ : crop)->setChecked(true);
  layout->addWidget(crop);
  layout->addWidget(scale_);
  addOkCancel(this, layout);
}

ResizeMode SizeChangeDialog::mode() const {
  return scale_->isChecked() ? ResizeMode::Scale : ResizeMode::CropOrPad;
}

void SizeChangeDialog::accept() {
  const int width = readField(widthField_);
  const int height = readField(heightField_);
  if (auto problem = checkPictureSize(width, height, maxWidth_, maxHeight_)) {
    user_.tell(Icon::Warning, *problem);
    return;
  }
  width_ = width;
  height_ = height;
  QDialog::accept();
}

bool SizeChangeDialog::edited() const {
  return widthField_->text() != QString::number(width_) ||
         heightField_->text() != QString::number(height_) || mode() != initialMode_;
}

// ---------------------------------------------------------------------------------------------

RenameDialog::RenameDialog(UserPort& user, PictureSlot picture, const std::string& currentName,
                           QWidget* parent)
    : ConfirmingDialog(user, parent), initial_(qt(renameFieldText(currentName))) {
  setObjectName("RenameDialog");
  setWindowTitle(qt(renameTitle(picture)));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  field_ = new QLineEdit(initial_, this);
  field_->setObjectName("name");
  field_->setMaxLength(kRenameTextLimit);
  // The name the menu command "ﾀｲﾄﾙ名称の変更" gives the picture's pseudo-name.
  form->addRow(ui(N_("ﾀｲﾄﾙ名称")), field_);
  layout->addLayout(form);
  addOkCancel(this, layout);
}

std::string RenameDialog::text() const {
  return field_->text().toStdString();
}

void RenameDialog::accept() {
  if (auto problem = checkRenameText(text())) {
    user_.tell(Icon::Warning, *problem);
    return;
  }
  QDialog::accept();
}

bool RenameDialog::edited() const {
  return field_->text() != initial_;
}

// ---------------------------------------------------------------------------------------------

TextExportDialog::TextExportDialog(Workbench& bench, UserPort& user,
                                   const TextExportSettings& initial, QWidget* parent)
    : QDialog(parent), bench_(bench), user_(user) {
  setObjectName("TextExportDialog");
  setWindowTitle(ui(kTextExportTitle));
  chooseFile_ = [this](const QString& title, const QString& start) {
    return QFileDialog::getSaveFileName(this, title, start, ui(kTextExportFilter));
  };
  auto* layout = new QVBoxLayout(this);

  auto* sourceBox = new QGroupBox(this);
  auto* sourceRow = new QHBoxLayout(sourceBox);
  sources_ = new QButtonGroup(this);
  for (int source = 0; source < kTextExportSources; ++source) {
    auto* button = new QRadioButton(ui(textExportSourceName(source)), sourceBox);
    button->setObjectName(QString("source%1").arg(source));
    sources_->addButton(button, source);
    sourceRow->addWidget(button);
  }
  layout->addWidget(sourceBox);

  auto* corners = new QFormLayout;
  left_ = numberField("left", 0, this);
  top_ = numberField("top", 0, this);
  right_ = numberField("right", 0, this);
  bottom_ = numberField("bottom", 0, this);
  auto* topLeft = new QHBoxLayout;
  topLeft->addWidget(left_);
  topLeft->addWidget(top_);
  auto* bottomRight = new QHBoxLayout;
  bottomRight->addWidget(right_);
  bottomRight->addWidget(bottom_);
  corners->addRow(ui(N_("左上")), topLeft);
  corners->addRow(ui(N_("右下")), bottomRight);
  layout->addLayout(corners);

  auto* around = new QHBoxLayout;
  QPushButton* take = dialogButton(QString::fromUtf8("≪"), "takeCursor", this);
  connect(take, &QPushButton::clicked, this, &TextExportDialog::takeCursorRectangle);
  halfSize_ = numberField("halfSize", 0, this);
  around->addWidget(take);
  around->addWidget(new QLabel(ui(N_("ｶｰｿﾙを中心に")), this));
  around->addWidget(new QLabel(QString::fromUtf8("±"), this));
  around->addWidget(halfSize_);
  around->addWidget(new QLabel(ui(N_("画素")), this));
  layout->addLayout(around);

  auto* separatorRow = new QFormLayout;
  separator_ = new QLineEdit(this);
  separator_->setObjectName("separator");
  separator_->setMaxLength(kSeparatorLimit);
  separatorRow->addRow(ui(N_("ｾﾊﾟﾚｰﾄ文字")), separator_);
  layout->addLayout(separatorRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  // Enter runs the export, the dialog's one action; "≪" answers only its own click.
  QPushButton* run = dialogButton(ui(N_("実行")), "execute", this);
  run->setDefault(true);
  QPushButton* close = dialogButton(ui(N_("終了")), "close", this);
  connect(run, &QPushButton::clicked, this, &TextExportDialog::execute);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(run);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  showSettings(initial);
}

void TextExportDialog::showSettings(const TextExportSettings& settings) {
  QAbstractButton* source = sources_->button(settings.source);
  if (source == nullptr) source = sources_->button(0);
  source->setChecked(true);
  left_->setText(QString::number(settings.rectangle.left));
  top_->setText(QString::number(settings.rectangle.top));
  right_->setText(QString::number(settings.rectangle.right));
  bottom_->setText(QString::number(settings.rectangle.bottom));
  halfSize_->setText(QString::number(settings.halfSize));
  separator_->setText(qt(settings.separator));
}

TextExportSettings TextExportDialog::settings() const {
  TextExportSettings settings;
  settings.source = std::max(sources_->checkedId(), 0);
  settings.rectangle = {readField(left_), readField(top_), readField(right_), readField(bottom_)};
  settings.halfSize = readField(halfSize_);
  settings.separator = separator_->text().toStdString();
  return settings;
}

void TextExportDialog::takeCursorRectangle() {
  const Rect rectangle =
      cursorRectangle(bench_.view.centreX, bench_.view.centreY, readField(halfSize_),
                      bench_.pictures.width, bench_.pictures.height);
  left_->setText(QString::number(rectangle.left));
  top_->setText(QString::number(rectangle.top));
  right_->setText(QString::number(rectangle.right));
  bottom_->setText(QString::number(rectangle.bottom));
}

void TextExportDialog::execute() {
  const TextExportSettings current = settings();
  if (auto problem =
          checkExportRectangle(current.rectangle, bench_.pictures.width, bench_.pictures.height)) {
    user_.tell(Icon::Warning, *problem);
    return;
  }
  const QString path = chooseFile_(qt(exportFileDialogTitle(current.source, current.rectangle)),
                                   qt(bench_.shell.lastFiles.greyValueText));
  if (path.isEmpty()) return;
  const std::string chosen = path.toStdString();
  recordGreyValueTextFile(bench_.shell.lastFiles, chosen);
  writeGreyValueFile(bench_, current, chosen, user_);
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<SizeChangeDialog> makeSizeChangeDialog(QWidget* parent, Workbench& bench,
                                                       UserPort& user) {
  if (!bench.pictures.picturesPresent) return nullptr;
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditingCommand));
    return nullptr;
  }
  return std::make_unique<SizeChangeDialog>(
      user, bench.pictures.width, bench.pictures.height, bench.shell.pictureDialogs.resizeMode,
      bench.store.maxWidth(), bench.store.maxHeight(), parent);
}

void finishSizeChange(const SizeChangeDialog& dialog, Workbench& bench, UserPort& user,
                      BusyPort& busy, ProgressPort& progress) {
  rememberResizeMode(bench, dialog.mode());
  resizePictures(bench, dialog.newWidth(), dialog.newHeight(), dialog.mode(), user, busy, progress);
}

void changePictureSize(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                       ProgressPort& progress) {
  const std::unique_ptr<SizeChangeDialog> dialog = makeSizeChangeDialog(parent, bench, user);
  if (dialog && dialog->exec() == QDialog::Accepted) {
    finishSizeChange(*dialog, bench, user, busy, progress);
  }
}

std::unique_ptr<RenameDialog> makeRenameDialog(QWidget* parent, Workbench& bench,
                                               PictureSlot picture, UserPort& user) {
  if (!bench.pictures.picturesPresent) return nullptr;
  return std::make_unique<RenameDialog>(user, picture, bench.pictures.pictures[index(picture)].name,
                                        parent);
}

std::optional<std::string> askPictureName(QWidget* parent, Workbench& bench, PictureSlot picture,
                                          UserPort& user) {
  const std::unique_ptr<RenameDialog> dialog = makeRenameDialog(parent, bench, picture, user);
  if (!dialog || dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->text();
}

std::unique_ptr<TextExportDialog> makeTextExportDialog(QWidget* parent, Workbench& bench,
                                                       UserPort& user) {
  if (!bench.pictures.picturesPresent) return nullptr;
  return std::make_unique<TextExportDialog>(bench, user, textExportOnOpen(bench), parent);
}

void finishTextExport(const TextExportDialog& dialog, Workbench& bench) {
  storeTextExport(bench, dialog.settings());
}

void exportGreyValues(QWidget* parent, Workbench& bench, UserPort& user) {
  const std::unique_ptr<TextExportDialog> dialog = makeTextExportDialog(parent, bench, user);
  if (!dialog) return;
  dialog->exec();
  finishTextExport(*dialog, bench);
}

}  // namespace vemla
