#pragma once
// The dialog "ﾕｰｻﾞ簡易画像処理の編集": the list of entries, the name, the filter grid with its
// picture, correction and divisor, the expression, and the buttons that add, change, delete,
// save and close. It shows the editing session's edit copy and hands every button to it.
#include <QDialog>
#include <array>
#include <memory>

#include "ports/ports.h"
#include "workbench/extensions/user_processing_editor.h"
#include "workbench/workbench.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace vemla {

// 40005: in a second copy first asks "多重起動されたﾌﾟﾛｸﾞﾗﾑのため編集\nした内容がﾌｧｲﾙには
// 保存されません\n続行しますか" (Yes/No); then the editor, modal. After a change the images
// that show a changed entry are recreated.
void editUserProcessing(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                        ProgressPort& progress);

class UserProcessingEditorDialog : public QDialog {
  Q_OBJECT
 public:
  // `selection` is the selected entry's slot kept between openings (-1: none).
  UserProcessingEditorDialog(Workbench& bench, int& selection, UserPort& user, BusyPort& busy,
                             ProgressPort& progress, QWidget* parent = nullptr);
  ~UserProcessingEditorDialog() override;

  const UserProcessingEditing& session() const { return *session_; }
  QComboBox* entryList() const { return list_; }
  QLineEdit* nameField() const { return name_; }
  // The element at horizontal offset x and vertical offset y, both -4 .. 4.
  QLineEdit* element(int x, int y) const;
  QLineEdit* divisorField() const { return divisor_; }
  QPlainTextEdit* expressionField() const { return expression_; }

  // "ｷｬﾝｾﾙ", Esc and the close button: closes unless the operator keeps the changes.
  void reject() override;

 private:
  void buildControls();
  void buildChoice(QVBoxLayout* layout);
  void buildFilter(QVBoxLayout* layout);
  void buildExpression(QVBoxLayout* layout);
  void buildButtons(QVBoxLayout* layout);
  void addQuickHelp();
  void readControls();
  void showEdit();
  void fillList();
  void updateFormControls();
  void chooseRow(int row);
  // Reads the controls, runs `step` on the session and shows the result when it did something.
  template <typename Step>
  bool run(Step step);

  std::unique_ptr<UserProcessingEditing> session_;
  QComboBox* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QRadioButton* filterForm_ = nullptr;
  QRadioButton* expressionForm_ = nullptr;
  std::array<QLineEdit*, 81> elements_{};
  QRadioButton* picture1_ = nullptr;
  QRadioButton* picture2_ = nullptr;
  QCheckBox* correction_ = nullptr;
  QLineEdit* divisor_ = nullptr;
  QPushButton* clearAll_ = nullptr;
  QPushButton* explain_ = nullptr;
  QPlainTextEdit* expression_ = nullptr;
  QWidget* filterArea_ = nullptr;
  QWidget* expressionArea_ = nullptr;
};

}  // namespace vemla
