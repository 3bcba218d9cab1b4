#pragma once
// The option sheet "ｵﾌﾟｼｮﾝ情報": seven pages built from the option table (page, group, label,
// range), one binding per control, edited as a working copy. "一時設定" corrects and shows the
// fields, "更新" applies them, "OK" applies and closes, "ｷｬﾝｾﾙ" (and Esc, and the close button)
// asks before edits are lost. Closing after a change of the maximum picture size, the gallery count
// or the display-position lock tells the operator that a restart is needed and takes the held-back
// values over.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "options/option_table.h"
#include "options/options.h"
#include "ports/ports.h"
#include "windows/dialogs/confirming_dialog.h"
#include "workbench/workbench.h"

class QAbstractButton;
class QFormLayout;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace vemla {

// Runs the option sheet modally; applies on "更新"/"OK". Returns true when a change needs a
// restart (the caller then closes the main window).
bool editOptions(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                 ProgressPort& progress);

class OptionSheet : public ConfirmingDialog {
  Q_OBJECT
 public:
  // The colour chooser: the current colour (0x00BBGGRR) and the 16 custom colours, which it
  // may change; nullopt when cancelled.
  using ColourChooser = std::function<std::optional<std::uint32_t>(
      std::uint32_t initial, std::array<std::uint32_t, 16>& customColours)>;
  // The memo file chooser: (current name) -> chosen name, empty when cancelled.
  using FileChooser = std::function<QString(const QString& current)>;
  // The 3D view's current X angle, Z angle, luminance, wire width and polygon width.
  using View3DValues = std::array<int, 5>;

  OptionSheet(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
              QWidget* parent = nullptr);

  void setColourChooser(ColourChooser chooser) { chooseColour_ = std::move(chooser); }
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  // "現在値" is enabled only while a 3D view can supply its values.
  void setCurrentView3D(std::function<std::optional<View3DValues>()> current);

  // "一時設定", "更新" and the close outcome.
  void correctFields();
  void apply();
  void accept() override;
  void done(int result) override;
  bool restartRequested() const { return restartRequested_; }
  // The values the sheet holds (corrected, not yet applied where the fields were not).
  const Options& pending() const { return pending_; }

 protected:
  bool edited() const override;

 private:
  // One control and its binding to its option: `show` puts a value into the widgets, `read`
  // takes what they hold.
  struct Control {
    QWidget* widget = nullptr;  // the control that is enabled or disabled
    std::function<void(const Options&)> show;
    std::function<void(Options&)> read;
    std::array<QLineEdit*, 3> channels{};  // colour R, G, B
    QLabel* swatch = nullptr;
    std::uint32_t colour = 0;
    QString shownText;  // real fields: the text last shown and its exact value
    double shownValue = 0.0;
  };
  struct ControlBuilder;  // makes the control of an option by the option's type

  void buildPage(OptionPage page, QTabWidget* tabs);
  void addToolButtons(const QString& group, QFormLayout* form, QWidget* parent);
  void readFields(Options& into) const;
  void showFields(const Options& values);
  void showColour(Control& control, std::uint32_t colour);
  void updateEnabling();
  void chooseColour(Control& control);
  void setToolValues(void (*reset)(Options&));
  void takeCurrentView3D();

  Workbench& bench_;
  BusyPort& busy_;
  ProgressPort& progress_;
  ColourChooser chooseColour_;
  FileChooser chooseFile_;
  std::function<std::optional<View3DValues>()> currentView3D_;
  std::map<std::string, Control, std::less<>> controls_;
  QAbstractButton* view3DCurrent_ = nullptr;
  const Options atOpen_;  // live values when the sheet opened
  Options pending_;       // what the fields showed last (corrected)
  Options baseline_;      // the fields as of the last apply (or the opening)
  unsigned effects_ = 0;  // every apply's effect flags together
  bool restartRequested_ = false;
  bool finished_ = false;
};

}  // namespace vemla
