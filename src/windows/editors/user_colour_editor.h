#pragma once
// The dialog "ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞの編集": the list of tables, the name, the 16-row grid of red, green
// and blue with its scroll bar, the four ramps (the table and each channel), reading and
// writing a table file, the colour picker, the interpolation and the buttons that add, change,
// delete, save and close. It shows the editing session's edit copy and hands every button to
// it.
#include <QColor>
#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "ports/ports.h"
#include "windows/editors/file_editing.h"
#include "workbench/extensions/user_colour_editor.h"
#include "workbench/workbench.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QVBoxLayout;

namespace vemla {

// The dialogs the editor opens, replaced by tests.
struct UserColourEditorDialogs {
  // A file to read or to write to (empty when cancelled).
  std::function<QString(const QString& title, const QString& filters, const QString& start)> open;
  std::function<QString(const QString& title, const QString& filters, const QString& start)> save;
  // The platform's colour dialog with the 16 custom colours (0x00RRGGBB) it keeps and updates.
  std::function<std::optional<QColor>(const QColor& initial, std::array<std::uint32_t, 16>& custom)>
      chooseColour;
  DesktopOpener desktop;
  // The platform's dialogs and the desktop's open action.
  static UserColourEditorDialogs platform();
};

// 40042: in a second copy first asks "多重起動されたﾌﾟﾛｸﾞﾗﾑのため編集\nした内容がﾌｧｲﾙには
// 保存されません\n続行しますか" (Yes/No); then the editor, modal.
void editUserColours(QWidget* parent, Workbench& bench, UserPort& user,
                     const UserColourEditorDialogs& dialogs);

// One of the four strips, 256 pixels high, one row per grey value.
class ColourRamp final : public QWidget {
  Q_OBJECT
 public:
  enum class Show { Table, Red, Green, Blue };
  ColourRamp(Show show, const UserColourTable& table, QWidget* parent);
  QSize sizeHint() const override;

 signals:
  void clickedAt(int grey);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Show show_;
  const UserColourTable& table_;
};

class UserColourEditorDialog final : public QDialog {
  Q_OBJECT
 public:
  UserColourEditorDialog(Workbench& bench, UserPort& user, UserColourEditorDialogs dialogs,
                         QWidget* parent = nullptr);
  ~UserColourEditorDialog() override;

  const UserColourEditing& session() const { return *session_; }
  QComboBox* entryList() const { return list_; }
  QLineEdit* nameField() const { return name_; }
  // Grid row 0..15, channel 0 red, 1 green, 2 blue.
  QLineEdit* field(int row, int channel) const;
  QLabel* greyLabel(int row) const { return greys_[static_cast<std::size_t>(row)]; }
  QScrollBar* scrollBar() const { return scroll_; }
  QLineEdit* fromField() const { return from_; }
  QLineEdit* toField() const { return to_; }
  ColourRamp* ramp(ColourRamp::Show show) const { return ramps_[static_cast<std::size_t>(show)]; }

  // "ｷｬﾝｾﾙ", Esc and the close button: closes unless the operator keeps the changes.
  void reject() override;

 private:
  void buildControls();
  void buildEntryRow(QVBoxLayout* layout);
  void buildGrid(QHBoxLayout* middle);
  void buildRamps(QHBoxLayout* middle);
  void buildSide(QHBoxLayout* middle);
  void buildButtons(QVBoxLayout* layout);
  void readControls();
  void showEdit();
  void showGrid();
  void fillList();
  void chooseRow(int row);
  void gridEdited(int row, int channel);
  void rampClicked(ColourRamp::Show show, int grey);
  void readFile();
  void writeFile();
  void pickColour();
  void interpolate();
  template <typename Step>
  bool run(Step step);

  std::unique_ptr<UserColourEditing> session_;
  UserColourEditorDialogs dialogs_;
  UserPort& user_;
  QComboBox* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  std::array<QLabel*, kColourGridRows> greys_{};
  std::array<QLineEdit*, kColourGridRows * 3> fields_{};
  QScrollBar* scroll_ = nullptr;
  std::array<ColourRamp*, 4> ramps_{};
  std::array<QLineEdit*, 3> reference_{};
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  std::array<QCheckBox*, 3> channels_{};
};

}  // namespace vemla
