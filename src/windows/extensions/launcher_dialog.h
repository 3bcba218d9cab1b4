#pragma once
// The dialog "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの起動(EXE)": program, argument template, the operator's four files,
// exchange format, output and destination, the switches, the placeholder legend and the result
// list; its buttons run, confirm, commit, restore from and save to a launch file.
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "extensions/launcher.h"
#include "ports/ports.h"
#include "windows/main/file_dialogs.h"
#include "workbench/extensions/user_program.h"
#include "workbench/workbench.h"

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vemla {

class LauncherDialog : public QDialog {
  Q_OBJECT
 public:
  // `openForEditing` opens a file for editing ("編集", and "メモ" with the memo's path).
  LauncherDialog(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                 ProgramRunnerPort& runner, FileDialogs dialogs,
                 std::function<void(const QString&)> openForEditing, QWidget* parent = nullptr);

  QLineEdit* programField() const { return program_; }
  QLineEdit* templateField() const { return template_; }
  QLineEdit* fileField(int n) const { return files_.at(static_cast<std::size_t>(n)); }
  QListWidget* resultList() const { return results_; }
  QPushButton* button(const char* objectName) const;

  // The controls' values; nothing (after "ﾌｧｲﾙ名が長すぎます" or the unstorable-character
  // message) when a text does not fit its 512-byte field.
  std::optional<LauncherSettings> settingsFromControls();

 private:
  void buildControls();
  QGridLayout* buildPaths();
  QHBoxLayout* buildSwitches();
  QHBoxLayout* buildButtons();
  void addQuickHelp();
  void showSettings(const LauncherSettings& settings);
  void updateSwitches();
  void run();
  void confirm();
  bool commit();
  void restore();
  void save();
  void finish();
  void showResultMenu(const QPoint& at);

  Workbench& bench_;
  UserPort& user_;
  BusyPort& busy_;
  ProgressPort& progress_;
  ProgramRunnerPort& runner_;
  FileDialogs dialogs_;
  std::function<void(const QString&)> openForEditing_;
  QLineEdit* program_ = nullptr;
  QLineEdit* template_ = nullptr;
  std::array<QLineEdit*, 4> files_{};
  QRadioButton* bitmap_ = nullptr;
  QRadioButton* raw_ = nullptr;
  QCheckBox* output_ = nullptr;
  std::array<QRadioButton*, 3> destination_{};
  QCheckBox* console_ = nullptr;
  QCheckBox* showOutput_ = nullptr;
  QCheckBox* timing_ = nullptr;
  QCheckBox* close_ = nullptr;
  QListWidget* results_ = nullptr;
};

// 40043: the launcher dialog, modal, on the committed launch settings.
void runUserProgramDialog(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                          ProgressPort& progress, const FileDialogs& dialogs,
                          const std::function<void(const QString&)>& openForEditing);

}  // namespace vemla
