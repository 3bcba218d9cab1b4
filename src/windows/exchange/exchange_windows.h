#pragma once
// The Export command and the import dialog "Ｉｍｐｏｒｔ". The table rules, checks, request and
// messages are the core's (net/export_targets.h, net/transfer_messages.h); the transfer itself
// is platform::serve / platform::fetch, which show the waiting window through the ports.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "platform/picture_transfer.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vemla {

// "Ｉｍｐｏｒｔ": the registered exporters, the target's name, address and password, and the
// buttons "実行", "登録", "削除", "ｷｬﾝｾﾙ". "登録" and "削除" change
// bench.importer.targets at once. "実行" checks the fields and fetches the pair;
// a failure is told and the dialog stays open; a pair that passes its checks closes the dialog
// with success and is kept in received().
class ImportDialog final : public QDialog {
  Q_OBJECT
 public:
  ImportDialog(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
               ProgressPort& progress);

  // The pair of the successful "実行".
  const platform::FetchResult& received() const { return received_; }

  QComboBox* targetNames() const { return names_; }
  QLineEdit* targetName() const { return name_; }
  QLineEdit* octet(int index) const { return octets_[static_cast<std::size_t>(index)]; }
  QLineEdit* password() const { return password_; }
  QPushButton* executeButton() const { return execute_; }
  QPushButton* registerButton() const { return register_; }
  QPushButton* deleteButton() const { return delete_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void execute();
  void registerEntered();
  void deleteSelected();
  void showTarget(const net::ExportTarget& target);
  net::ExportTarget enteredTarget() const;
  void refreshNames();
  std::string userName() const;

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  platform::FetchResult received_;
  QComboBox* names_;
  QLineEdit* name_;
  std::array<QLineEdit*, 4> octets_{};
  QLineEdit* password_;
  QPushButton* execute_;
  QPushButton* register_;
  QPushButton* delete_;
  QPushButton* cancel_;
};

// Command 40046 "Export": asks "表示中の画像をExportします\nよろしいですか", refuses without an
// ImportPassword, then serves the displayed pair once on NetworkPort with ExportTimeout and
// tells the outcome. Every message goes through `user` and the waiting window through the
// ports; no widget is made here.
void exportPictures(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress);

// Command 40047 "Import": the dialog "Ｉｍｐｏｒｔ"; when it closes with success the received
// pair is opened as "<Import1>" and "<Import2>" (palettes, position and magnification as the
// Import options say). Nothing changes when the dialog is cancelled.
void importPictures(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress);

// How importPictures runs its dialog: modally in the program; a test drives the shown dialog
// itself and returns whether it was accepted.
using ImportDialogRun = std::function<bool(ImportDialog&)>;
void importPictures(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress, const ImportDialogRun& run);

}  // namespace vemla
