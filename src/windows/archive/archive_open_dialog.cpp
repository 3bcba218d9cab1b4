#include "windows/archive/archive_open_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "gallery/archive.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {

using text::N_;
namespace {

QListWidget* itemList(QWidget* parent, const char* objectName) {
  auto* list = new QListWidget(parent);
  list->setObjectName(objectName);
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  return list;
}

}  // namespace

ArchiveOpenForm::ArchiveOpenForm(QWidget* parent, const Workbench& bench,
                                 const ArchiveOpenChoice& initial)
    : QDialog(parent), bench_(bench), initial_(initial) {
  setObjectName("ArchiveOpenDialog");
  setWindowTitle(ui(N_("Ｖｌａファイルを開く")));
  auto* layout = new QHBoxLayout(this);

  // The file chooser is embedded as a plain widget so that the panel sits beside it.
  files_ = new QFileDialog(this);
  files_->setObjectName("archiveFiles");
  files_->setOption(QFileDialog::DontUseNativeDialog);
  files_->setWindowFlags(Qt::Widget);
  files_->setFileMode(QFileDialog::ExistingFile);
  files_->setAcceptMode(QFileDialog::AcceptOpen);
  files_->setNameFilter(ui(N_("VLAﾌｧｲﾙ (*.vla)")));
  // Archives written elsewhere may end in ".VLA".
  files_->setFilter(files_->filter() & ~QDir::CaseSensitive);
  layout->addWidget(files_, 1);

  auto* panel = new QVBoxLayout;
  panel->addWidget(
      new QLabel(ui(N_("画像として開く情報の選択（１つ／２つを選択して下さい）")), this));
  pictures_ = itemList(this, "pictureItems");
  panel->addWidget(pictures_, 1);

  expand_ = controls::checkBox(this, N_("ｷﾞｬﾗﾘｰへの展開を行う"), "expandToGallery", nullptr);
  panel->addWidget(expand_);
  auto* startRow = new QHBoxLayout;
  startRow->addWidget(new QLabel(ui(N_("展開する開始位置")), this));
  startSlot_ = new QComboBox(this);
  startSlot_->setObjectName("expandStartSlot");
  startRow->addWidget(startSlot_);
  startRow->addStretch();
  panel->addLayout(startRow);
  skipEmpty_ = controls::checkBox(this, N_("空きのｴﾝﾄﾘは展開しない"), "skipEmpty", nullptr);
  panel->addWidget(skipEmpty_);
  expandItems_ = itemList(this, "expandItems");
  panel->addWidget(expandItems_, 1);
  layout->addLayout(panel);

  const int slotCount = galleryCount(bench_);
  for (int slot = 1; slot <= slotCount; ++slot) startSlot_->addItem(QString("#%1").arg(slot));
  startSlot_->setCurrentIndex(slotCount > 0 ? std::clamp(initial.startSlot, 0, slotCount - 1) : -1);
  expand_->setChecked(slotCount > 0 && initial.expand);
  skipEmpty_->setChecked(initial.skipEmpty);
  for (QWidget* control :
       std::initializer_list<QWidget*>{expand_, startSlot_, skipEmpty_, expandItems_}) {
    control->setEnabled(slotCount > 0);
  }

  // The chooser reports its current file again when its folder has loaded; the listed file
  // keeps the operator's selections then.
  connect(files_, &QFileDialog::currentChanged, this, [this](const QString& path) {
    if (QFileInfo(path).isFile() && !isListed(path)) showArchive(path);
  });
  // A name typed into the chooser's field lists its file as soon as it names one.
  if (auto* nameField = files_->findChild<QLineEdit*>("fileNameEdit")) {
    connect(nameField, &QLineEdit::textChanged, this, [this](const QString& text) {
      const QString path = QFileInfo(text).isAbsolute() ? text : files_->directory().filePath(text);
      if (!text.isEmpty() && QFileInfo(path).isFile() && !isListed(path)) showArchive(path);
    });
  }
  connect(files_, &QFileDialog::fileSelected, this, &ArchiveOpenForm::fileChosen);
  connect(files_, &QFileDialog::rejected, this, &QDialog::reject);

  if (!initial.path.empty()) {
    const QString path = QString::fromStdString(initial.path);
    const QFileInfo info(path);
    files_->setDirectory(info.absolutePath());
    files_->selectFile(info.fileName());
    showArchive(path);
  }
}

void ArchiveOpenForm::showArchive(const QString& path) {
  listedPath_ = path;
  std::vector<ArchiveItemInfo> items;
  const int count = readArchiveDirectory(path.toStdString(), items);
  listedCount_ = count >= 0 ? count : -1;
  pictures_->clear();
  expandItems_->clear();
  const SlotLimits limits = slotLimits(bench_.options);
  for (std::size_t index = 0; index < items.size(); ++index) {
    const QString line =
        QString::fromStdString(archiveListLine(static_cast<int>(index) + 1, items[index], limits));
    pictures_->addItem(line);
    expandItems_->addItem(line);
  }
  selectNumbers(pictures_, {initial_.picture1, initial_.picture2});
  selectNumbers(expandItems_, initial_.expandNumbers);
}

ArchiveOpenChoice ArchiveOpenForm::choice() const {
  ArchiveOpenChoice chosen;
  chosen.path = listedPath_.toStdString();
  chosen.itemCount = listedCount_;
  takePictureSelection(selectedNumbers(pictures_), chosen);
  chosen.expand = expand_->isEnabled() && expand_->isChecked();
  chosen.startSlot = std::max(startSlot_->currentIndex(), 0);
  chosen.skipEmpty = skipEmpty_->isChecked();
  chosen.expandNumbers = selectedNumbers(expandItems_);
  return chosen;
}

bool ArchiveOpenForm::isListed(const QString& path) const {
  return !listedPath_.isEmpty() &&
         QFileInfo(path).absoluteFilePath() == QFileInfo(listedPath_).absoluteFilePath();
}

void ArchiveOpenForm::fileChosen(const QString& path) {
  if (!isListed(path)) showArchive(path);
  accept();
}

void ArchiveOpenForm::selectNumbers(QListWidget* list, const std::vector<int>& numbers) {
  for (const int number : numbers) {
    if (number >= 1 && number <= list->count()) list->item(number - 1)->setSelected(true);
  }
}

std::vector<int> ArchiveOpenForm::selectedNumbers(const QListWidget* list) {
  std::vector<int> numbers;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->isSelected()) numbers.push_back(row + 1);
  }
  return numbers;
}

ArchiveOpenWindow::ArchiveOpenWindow(QWidget* parent, Workbench& bench)
    : parent_(parent), bench_(bench) {}

std::optional<ArchiveOpenChoice> ArchiveOpenWindow::chooseArchiveItems(
    const ArchiveOpenChoice& initial) {
  ArchiveOpenForm form(parent_.data(), bench_, initial);
  const bool accepted = run_ ? run_(form) : form.exec() == QDialog::Accepted;
  if (!accepted) return std::nullopt;
  return form.choice();
}

}  // namespace vemla
