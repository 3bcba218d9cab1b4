#pragma once
// "ギャラリーの保存" and "ギャラリーへ展開": a file chooser for the archive with a panel beside it,
// as "Ｖｌａファイルを開く" has. The save panel lists every slot (multiple selection, none: all)
// with "空きのｴﾝﾄﾘは保存しない" and "既存ﾌｧｲﾙ時は追加で書き込む" (enabled while the chosen name
// is an existing archive); the expand panel has "展開する開始位置", "空きのｴﾝﾄﾘは展開しない" and
// the chosen file's items. The rules and messages are the archive flows'.
#include <QDialog>
#include <functional>

#include "ports/ports.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/workbench.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QListWidget;

namespace vemla {

class GallerySaveForm final : public QDialog {
  Q_OBJECT
 public:
  GallerySaveForm(QWidget* parent, const Workbench& bench);
  // The chosen file, slots and choices; the append choice only while it is enabled.
  SaveSlotsRequest request() const;

  QFileDialog* fileChooser() const { return files_; }
  QListWidget* slotList() const { return slots_; }
  QCheckBox* skipEmptyBox() const { return skipEmpty_; }
  QCheckBox* appendBox() const { return append_; }

 private:
  void nameChanged(const QString& path);

  QString chosen_;
  QFileDialog* files_;
  QListWidget* slots_;
  QCheckBox* skipEmpty_;
  QCheckBox* append_;
};

class GalleryExpandForm final : public QDialog {
  Q_OBJECT
 public:
  GalleryExpandForm(QWidget* parent, const Workbench& bench, int startSlot);
  // Lists the items of `path` (nothing when it is not a readable archive) and selects the
  // numbers of the option ArchiveExpandNumbers.
  void showArchive(const QString& path);
  // Called with the listed file and the 1-based number of a double-clicked line.
  void setItemOpener(std::function<void(const std::string& path, int number)> opener) {
    opener_ = std::move(opener);
  }
  // The listed file, its item count, the selected numbers (none: every item), the start slot
  // and the empty-item choice.
  ExpandRequest request() const;

  QFileDialog* fileChooser() const { return files_; }
  QListWidget* itemList() const { return items_; }
  QComboBox* startSlotBox() const { return startSlot_; }
  QCheckBox* skipEmptyBox() const { return skipEmpty_; }

 private:
  bool isListed(const QString& path) const;

  const Workbench& bench_;
  QString listedPath_;
  int listedCount_ = -1;
  std::function<void(const std::string& path, int number)> opener_;
  QFileDialog* files_;
  QComboBox* startSlot_;
  QCheckBox* skipEmpty_;
  QListWidget* items_;
};

// "保存" and "展開" of the gallery: refused with "現在ＶｅｍＬＡファイルの選択中です" while either
// dialog is open; otherwise the dialog is shown (window-modal) and, once accepted, the flow runs
// with its choices and `done` is called. `openItem` takes the expand list's double clicks.
// Whether one of the two dialogs is open.
bool archiveDialogOpen();
void saveGalleryToArchive(QWidget* parent, Workbench& bench, UserPort& user, ProgressPort& progress,
                          BusyPort& busy, std::function<void()> done);
void expandArchiveToGallery(QWidget* parent, Workbench& bench, UserPort& user,
                            ProgressPort& progress, BusyPort& busy, int startSlot,
                            std::function<void(const std::string& path, int number)> openItem,
                            std::function<void()> done);

}  // namespace vemla
