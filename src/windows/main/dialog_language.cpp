#include "windows/main/dialog_language.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QListView>
#include <QLocale>
#include <QTranslator>
#include <QTreeView>
#include <algorithm>

#include "text/translate.h"

namespace vemla {
namespace {

// The columns of Qt's file system model.
constexpr int kSizeColumn = 1, kTypeColumn = 2;

// The type column in Japanese: a folder, a file by its extension, or a file without one.
class JapaneseFileTypes final : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || index.column() != kTypeColumn) {
      return QIdentityProxyModel::data(index, role);
    }
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr) return QIdentityProxyModel::data(index, role);
    const QFileInfo info = files->fileInfo(mapToSource(index));
    if (info.isDir()) return QString::fromUtf8("フォルダ");
    const QString suffix = info.suffix().toUpper();
    if (suffix.isEmpty()) return QString::fromUtf8("ファイル");
    return QString::fromUtf8("%1 ファイル").arg(suffix);
  }
};

// The widest size text the model can show: bytes below 1 KB, or a fraction of a larger unit.
int widestSizeText(const QFontMetrics& metrics) {
  const QLocale locale;
  int widest = metrics.horizontalAdvance(
      QCoreApplication::translate("QFileSystemModel", "%1 bytes").arg(locale.toString(1023)));
  for (const qint64 bytes : {qint64{1023} << 10, qint64{1023} << 20, qint64{1023} << 30}) {
    widest =
        std::max(widest, metrics.horizontalAdvance(locale.formattedDataSize(bytes * 999 / 1000)));
  }
  return widest;
}

}  // namespace

bool installDialogTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

bool FileDialogDress::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* dialog = qobject_cast<QFileDialog*>(watched)) dress(dialog);
  }
  return false;
}

void FileDialogDress::dress(QFileDialog* dialog) {
  // In English the file system model's own type names are the right ones.
  if (text::language() == text::Language::Japanese && dialog->proxyModel() == nullptr) {
    dialog->setProxyModel(new JapaneseFileTypes(dialog));
  }
  if (auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
    const QFontMetrics metrics(details->font());
    QHeaderView* header = details->header();
    const int margin = 2 * metrics.horizontalAdvance(QLatin1Char('0')) + 8;
    header->resizeSection(
        kSizeColumn, std::max(header->sectionSize(kSizeColumn), widestSizeText(metrics) + margin));
  }
  // The sidebar at least as wide as its widest place (its icon, the gaps and its name);
  // the names come in as the file system model reads the places, so it is fitted again then.
  if (auto* sidebar = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
      sidebar != nullptr && sidebar->model() != nullptr) {
    const auto fit = [sidebar] {
      // The widest place as the list's own delegate lays it out: icon, gaps and name.
      const int wanted = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() + 4;
      if (sidebar->minimumWidth() < wanted) sidebar->setMinimumWidth(wanted);
    };
    fit();
    if (!sidebar->property("vemlaFitted").toBool()) {
      sidebar->setProperty("vemlaFitted", true);
      QAbstractItemModel* places = sidebar->model();
      QObject::connect(places, &QAbstractItemModel::dataChanged, sidebar, fit);
      QObject::connect(places, &QAbstractItemModel::rowsInserted, sidebar, fit);
    }
  }
}

}  // namespace vemla
