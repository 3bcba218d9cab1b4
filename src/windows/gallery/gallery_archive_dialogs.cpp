#include "windows/gallery/gallery_archive_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gallery/archive.h"
#include "gallery/gallery.h"
#include "gallery/messages.h"
#include "windows/main/ui_text.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {

using text::N_;
namespace {

// The archive chooser, embedded as a plain widget so that the panel sits beside it.
QFileDialog* archiveChooser(QWidget* parent, QFileDialog::AcceptMode mode) {
  auto* files = new QFileDialog(parent);
  files->setObjectName("archiveFiles");
  files->setOption(QFileDialog::DontUseNativeDialog);
  files->setWindowFlags(Qt::Widget);
  files->setAcceptMode(mode);
  files->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
  files->setNameFilter(ui(N_("VLAﾌｧｲﾙ (*.vla)")));
  files->setDefaultSuffix("vla");
  // Archives written elsewhere may end in ".VLA".
  files->setFilter(files->filter() & ~QDir::CaseSensitive);
  return files;
}

QListWidget* numberedList(QWidget* parent, const char* objectName) {
  auto* list = new QListWidget(parent);
  list->setObjectName(objectName);
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  return list;
}

// "全解除" under a list.
QPushButton* clearButton(QWidget* parent, QListWidget* list) {
  auto* button = new QPushButton(ui(N_("全解除")), parent);
  button->setObjectName("clearSelection");
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, list, &QListWidget::clearSelection);
  return button;
}

std::vector<int> selectedRows(const QListWidget* list) {
  std::vector<int> rows;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->isSelected()) rows.push_back(row);
  }
  return rows;
}

// The path a name typed into the chooser's field stands for.
QString typedPath(const QFileDialog* files, const QString& text) {
  if (text.isEmpty()) return {};
  return QFileInfo(text).isAbsolute() ? text : files->directory().filePath(text);
}

void whenNameTyped(QFileDialog* files, QObject* receiver, std::function<void(QString)> changed) {
  if (auto* nameField = files->findChild<QLineEdit*>("fileNameEdit")) {
    QObject::connect(nameField, &QLineEdit::textChanged, receiver,
                     [files, changed](const QString& text) { changed(typedPath(files, text)); });
  }
}

bool isArchive(const QString& path) {
  if (!QFileInfo(path).isFile()) return false;
  std::vector<ArchiveItemInfo> items;
  return readArchiveDirectory(path.toStdString(), items) >= 0;
}

// "ギャラリーの保存" or "ギャラリーへ展開" is open (there is one gallery in a process).
bool archiveDialogShown = false;

// Shows the dialog `make` gives and runs `run` once it is accepted, unless one of the two
// dialogs is open already.
template <typename Form, typename Make, typename Run>
void showArchiveDialog(UserPort& user, Make make, Run run) {
  if (archiveDialogShown) {
    user.tell(Icon::Warning, text::tr(msg::kArchiveDialogBusy));
    return;
  }
  Form* form = make();
  archiveDialogShown = true;
  // The flow runs with the dialog hidden but still counted as open, so that the progress
  // window's events cannot start another one.
  QObject::connect(form, &QDialog::finished, form, [form, run](int result) {
    if (result == QDialog::Accepted) run(*form);
    archiveDialogShown = false;
    form->deleteLater();
  });
  form->open();
}

}  // namespace

// ---- "ギャラリーの保存" --------------------------------------------------------------------

GallerySaveForm::GallerySaveForm(QWidget* parent, const Workbench& bench) : QDialog(parent) {
  setObjectName("GallerySave");
  setWindowTitle(ui(N_("ギャラリーの保存")));
  auto* layout = new QHBoxLayout(this);
  files_ = archiveChooser(this, QFileDialog::AcceptSave);
  layout->addWidget(files_, 1);

  auto* panel = new QVBoxLayout;
  slots_ = numberedList(this, "slotItems");
  const persist::HeldGallery* gallery = liveGallery(bench);
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    slots_->addItem(QString::fromStdString(
        slotListLine(slot, gallery->info.slotRecords[static_cast<std::size_t>(slot)], true)));
  }
  panel->addWidget(slots_, 1);
  panel->addWidget(clearButton(this, slots_), 0, Qt::AlignLeft);
  skipEmpty_ = new QCheckBox(ui(N_("空きのｴﾝﾄﾘは保存しない")), this);
  skipEmpty_->setObjectName("skipEmpty");
  skipEmpty_->setChecked(bench.gallery.saveSkipEmpty);
  panel->addWidget(skipEmpty_);
  append_ = new QCheckBox(ui(N_("既存ﾌｧｲﾙ時は追加で書き込む")), this);
  append_->setObjectName("append");
  append_->setChecked(bench.gallery.saveAppend);
  append_->setEnabled(false);
  panel->addWidget(append_);
  layout->addLayout(panel);

  connect(files_, &QFileDialog::currentChanged, this, &GallerySaveForm::nameChanged);
  whenNameTyped(files_, this, [this](const QString& path) { nameChanged(path); });
  // Appending to an archive replaces nothing: the chooser asks before overwriting only when the
  // file would be made anew.
  connect(append_, &QCheckBox::toggled, this, [this] {
    files_->setOption(QFileDialog::DontConfirmOverwrite,
                      append_->isEnabled() && append_->isChecked());
  });
  connect(files_, &QFileDialog::fileSelected, this, [this](const QString& path) {
    chosen_ = path;
    nameChanged(path);
    accept();
  });
  connect(files_, &QFileDialog::rejected, this, &QDialog::reject);
}

void GallerySaveForm::nameChanged(const QString& path) {
  append_->setEnabled(isArchive(path));
  files_->setOption(QFileDialog::DontConfirmOverwrite,
                    append_->isEnabled() && append_->isChecked());
}

SaveSlotsRequest GallerySaveForm::request() const {
  SaveSlotsRequest request;
  request.path = chosen_.toStdString();
  request.chosenSlots = selectedRows(slots_);
  request.skipEmpty = skipEmpty_->isChecked();
  request.append = append_->isEnabled() && append_->isChecked();
  return request;
}

// ---- "ギャラリーへ展開" --------------------------------------------------------------------

GalleryExpandForm::GalleryExpandForm(QWidget* parent, const Workbench& bench, int startSlot)
    : QDialog(parent), bench_(bench) {
  setObjectName("GalleryExpand");
  setWindowTitle(ui(N_("ギャラリーへ展開")));
  auto* layout = new QHBoxLayout(this);
  files_ = archiveChooser(this, QFileDialog::AcceptOpen);
  layout->addWidget(files_, 1);

  auto* panel = new QVBoxLayout;
  auto* startRow = new QHBoxLayout;
  auto* startLabel = new QLabel(ui(N_("展開する開始位置")), this);
  startRow->addWidget(startLabel);
  startSlot_ = new QComboBox(this);
  startSlot_->setObjectName("expandStartSlot");
  startLabel->setBuddy(startSlot_);
  const int count = galleryCount(bench);
  for (int slot = 1; slot <= count; ++slot) startSlot_->addItem(QString("#%1").arg(slot));
  startSlot_->setCurrentIndex(count > 0 ? std::clamp(startSlot, 0, count - 1) : -1);
  startRow->addWidget(startSlot_);
  startRow->addStretch();
  panel->addLayout(startRow);
  skipEmpty_ = new QCheckBox(ui(N_("空きのｴﾝﾄﾘは展開しない")), this);
  skipEmpty_->setObjectName("skipEmpty");
  skipEmpty_->setChecked(bench.options.ArchiveSkipEmpty);
  panel->addWidget(skipEmpty_);
  items_ = numberedList(this, "expandItems");
  panel->addWidget(items_, 1);
  panel->addWidget(clearButton(this, items_), 0, Qt::AlignLeft);
  layout->addLayout(panel);

  // The chooser reports its current file again when its folder has loaded; the listed file
  // keeps the operator's selections then.
  connect(files_, &QFileDialog::currentChanged, this, [this](const QString& path) {
    if (QFileInfo(path).isFile() && !isListed(path)) showArchive(path);
  });
  whenNameTyped(files_, this, [this](const QString& path) {
    if (QFileInfo(path).isFile() && !isListed(path)) showArchive(path);
  });
  connect(files_, &QFileDialog::fileSelected, this, [this](const QString& path) {
    if (!isListed(path)) showArchive(path);
    accept();
  });
  connect(files_, &QFileDialog::rejected, this, &QDialog::reject);
  // A double click shows the line's picture or opens its data; the item stays as selected as
  // it was before the click.
  connect(items_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    item->setSelected(!item->isSelected());
    if (opener_ && !listedPath_.isEmpty())
      opener_(listedPath_.toStdString(), items_->row(item) + 1);
  });
}

void GalleryExpandForm::showArchive(const QString& path) {
  listedPath_ = path;
  std::vector<ArchiveItemInfo> items;
  const int count = readArchiveDirectory(path.toStdString(), items);
  listedCount_ = count >= 0 ? count : -1;
  items_->clear();
  const SlotLimits limits = slotLimits(bench_.options);
  for (std::size_t index = 0; index < items.size(); ++index) {
    items_->addItem(
        QString::fromStdString(archiveListLine(static_cast<int>(index) + 1, items[index], limits)));
    items_->item(static_cast<int>(index))
        ->setSelected(index < bench_.options.ArchiveExpandNumbers.size() &&
                      bench_.options.ArchiveExpandNumbers[index]);
  }
}

ExpandRequest GalleryExpandForm::request() const {
  ExpandRequest request;
  request.path = listedPath_.toStdString();
  for (const int row : selectedRows(items_)) request.numbers.push_back(row + 1);
  request.startSlot = std::max(startSlot_->currentIndex(), 0);
  request.skipEmpty = skipEmpty_->isChecked();
  request.expectedCount = listedCount_;
  return request;
}

bool GalleryExpandForm::isListed(const QString& path) const {
  return !listedPath_.isEmpty() &&
         QFileInfo(path).absoluteFilePath() == QFileInfo(listedPath_).absoluteFilePath();
}

// ---- Starting them -----------------------------------------------------------------------

bool archiveDialogOpen() {
  return archiveDialogShown;
}

void saveGalleryToArchive(QWidget* parent, Workbench& bench, UserPort& user, ProgressPort& progress,
                          BusyPort& busy, std::function<void()> done) {
  showArchiveDialog<GallerySaveForm>(
      user, [&] { return new GallerySaveForm(parent, bench); },
      [&bench, &user, &progress, &busy, done](GallerySaveForm& form) {
        const SaveSlotsRequest request = form.request();
        rememberSaveChoices(bench, request.skipEmpty, form.appendBox()->isChecked());
        if (!request.path.empty()) saveSlotsToArchive(bench, user, progress, busy, request);
        if (done) done();
      });
}

void expandArchiveToGallery(QWidget* parent, Workbench& bench, UserPort& user,
                            ProgressPort& progress, BusyPort& busy, int startSlot,
                            std::function<void(const std::string& path, int number)> openItem,
                            std::function<void()> done) {
  showArchiveDialog<GalleryExpandForm>(
      user,
      [&] {
        auto* form = new GalleryExpandForm(parent, bench, startSlot);
        form->setItemOpener(std::move(openItem));
        return form;
      },
      [&bench, &user, &progress, &busy, done](GalleryExpandForm& form) {
        const ExpandRequest request = form.request();
        // An archive without items gives nothing to do; a file that could not be listed is
        // handed on so that the flow tells why.
        if (request.expectedCount != 0) expandArchiveItems(bench, user, progress, busy, request);
        if (done) done();
      });
}

}  // namespace vemla
