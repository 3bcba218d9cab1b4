#pragma once
// "Ｖｌａファイルを開く": a file chooser for the archive with a panel that lists the chosen
// file's items twice, once to pick the items opened as Picture 1 and 2 and once to pick the
// items expanded into the gallery. The rules (the list lines, which selections become the
// pictures, the checks and messages) are the core's, gallery/archive_flows.h.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <vector>

#include "gallery/gallery_state.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/workbench.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QListWidget;

namespace vemla {

// The dialog itself. It starts at `initial`: that file chosen and listed, its picture and
// expand numbers selected, the expand choices set; the expand controls are disabled while
// there is no gallery. Choosing another file lists that file with the same numbers selected.
class ArchiveOpenForm final : public QDialog {
  Q_OBJECT
 public:
  ArchiveOpenForm(QWidget* parent, const Workbench& bench, const ArchiveOpenChoice& initial);

  // Lists the items of `path` (nothing when it is not a readable archive) and selects the
  // initial numbers that exist in it.
  void showArchive(const QString& path);
  // The choice the controls make: the listed file and its item count when listed, the two
  // lowest selected picture numbers, the expand settings and the selected expand numbers
  // (none selected: every item).
  ArchiveOpenChoice choice() const;

  QFileDialog* fileChooser() const { return files_; }
  QListWidget* pictureList() const { return pictures_; }
  QListWidget* expandList() const { return expandItems_; }
  QCheckBox* expandBox() const { return expand_; }
  QComboBox* startSlotBox() const { return startSlot_; }
  QCheckBox* skipEmptyBox() const { return skipEmpty_; }

 private:
  void fileChosen(const QString& path);
  bool isListed(const QString& path) const;
  static void selectNumbers(QListWidget* list, const std::vector<int>& numbers);
  static std::vector<int> selectedNumbers(const QListWidget* list);

  const Workbench& bench_;
  ArchiveOpenChoice initial_;
  QString listedPath_;
  int listedCount_ = -1;
  QFileDialog* files_;
  QListWidget* pictures_;
  QCheckBox* expand_;
  QComboBox* startSlot_;
  QCheckBox* skipEmpty_;
  QListWidget* expandItems_;
};

// The selection dialog as openArchiveAsPictures asks it: a new form for each question, run
// modally; nullopt when the operator cancels.
class ArchiveOpenWindow final : public ArchiveOpenDialog {
 public:
  ArchiveOpenWindow(QWidget* parent, Workbench& bench);
  std::optional<ArchiveOpenChoice> chooseArchiveItems(const ArchiveOpenChoice& initial) override;

  // Replaces the modal run: a test drives the form itself and returns whether it was accepted.
  using Run = std::function<bool(ArchiveOpenForm&)>;
  void setRun(Run run) { run_ = std::move(run); }

 private:
  QPointer<QWidget> parent_;
  Workbench& bench_;
  Run run_;
};

}  // namespace vemla
