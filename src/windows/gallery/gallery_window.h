#pragma once
// The gallery's normal form "ギャラリー": one page of four slots (thumbnail, "開く", the four "←",
// the two "⇒", copy/move/swap towards a target, title and size), the strip of slot numbers and
// the bottom row; and the list window "ギャラリーの一覧" of every slot. Both open the slot pop-up
// menu "拡張機能" on a right click. The widgets only show the gallery and call its operations.
// GalleryWindow also owns the small form (gallery_small_window.h) and switches between the two;
// the form, its place and "close after copy" live in the gallery header.
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <span>

#include "gallery/archive.h"
#include "ports/ports.h"
#include "windows/main/file_dialogs.h"
#include "workbench/commands/slot_commands.h"
#include "workbench/workbench.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QTimer;

namespace vemla {

class GalleryListWindow;
class GallerySmallWindow;

// The two forms of the gallery, as the gallery header stores them.
enum class GalleryForm { Normal = 0, Small = 1 };

// What the gallery asks of the main window.
struct GalleryHost {
  // Message 5004: copy slot `slot` (0-based) into a picture, queued behind the current event.
  std::function<void(int slot, PictureSlot picture)> copyToPicture;
  // "Ｖｉｅｗ" of a picture slot.
  std::function<void(int slot)> viewSlot;
  // A picture of the expand list (an archive item): content as a slot file holds it.
  std::function<void(std::span<const std::uint8_t> content, const ArchiveItemInfo& item)>
      viewPicture;
  // A data item written for opening (slot -1: an archive item): start it as the desktop or its
  // association says.
  std::function<void(int slot, const QString& path, const QString& application, bool program)>
      openData;
  FileDialogs dialogs;
  // The gallery was shown or hidden (its own close box included), for 40114's check mark.
  std::function<void()> shownChanged;
  // Where "標準位置" puts a form of this frame size (its top-left corner, frame included).
  std::function<QPoint(QSize frame)> homePosition;
  // The screen area a restored position must lie in; empty: any position is kept.
  QRect screenArea;
  // Gives a pop-up menu's items their quick help.
  std::function<void(QMenu*)> watchMenu;
  // The progress window and wait cursor of the archive flows (none: not shown).
  ProgressPort* progress = nullptr;
  BusyPort* busy = nullptr;
};

class GalleryWindow : public QWidget, public WorkbenchListener, private SlotCommandHost {
  Q_OBJECT
 public:
  GalleryWindow(Workbench& bench, UserPort& user, GalleryHost host, QWidget* parent = nullptr);
  ~GalleryWindow() override;

  // Shows the page that holds `slot`.
  void showSlot(int slot);
  int firstShownSlot() const;
  // Rebuilds every control from the gallery.
  void refresh();
  // The slot pop-up menu for `slot`, its items enabled by the gallery's rules. Opened from the
  // small form it has no "ﾌｧｲﾙから開く" and "ﾀｲﾄﾙの変更" but the check item
  // "ｺﾋﾟｰ後ｳｨﾝﾄﾞｳを閉じる".
  std::unique_ptr<QMenu> slotMenu(int slot, QWidget* parent,
                                  GalleryForm from = GalleryForm::Normal);
  // The functions of the whole gallery (the normal form's bottom row) as a pop-up menu.
  std::unique_ptr<QMenu> galleryMenu(QWidget* parent);
  // "Ｖｉｅｗ" or opening the data with its application, as a double click does.
  void openSlot(int slot);

  // The form the header keeps; switching moves the new form to the old one's place and shows it
  // when the gallery is shown. The header is saved at once.
  GalleryForm form() const;
  void setForm(GalleryForm form);
  // Shows the current form (placed where the header says, or at the standard position when the
  // stored place is unset or off the screen) or hides every gallery window.
  void showGallery();
  void hideGallery() override;
  bool galleryShown() const;
  // 40111: the current form, shown, to the standard position.
  void moveHome();
  bool closeAfterCopy() const override;
  void setCloseAfterCopy(bool on) override;
  GallerySmallWindow* smallForm() const { return small_; }
  // Writes a pending change of page or position now.
  void saveHeaderNow();
  // Records where a form now stands (the header's window position); saved shortly after.
  void formMoved(QWidget* form);
  // Keeps the workbench's "shown" in step with the forms.
  void updateShown();
  GalleryListWindow* listWindow() const { return list_; }
  // Files dropped on slot `slot` (a thumbnail or a list cell): stored from that slot on, as
  // many as slots remain, up to the first failure.
  void dropFiles(int slot, const QMimeData* data);
  // "編集", "保存" and "展開" (also from the pop-up menus).
  void editGallery();
  void saveToArchive();
  void expandFromArchive();
  // A double-clicked line of the expand list: a picture to the viewer, data to its application.
  void openArchiveLine(const std::string& path, int number);

  // WorkbenchListener
  void picturesChanged() override { refresh(); }

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct SlotControls {
    QLabel* thumbnail = nullptr;
    QLabel* number = nullptr;
    QLineEdit* title = nullptr;
    QLineEdit* size = nullptr;
    QButtonGroup* mode = nullptr;
    QComboBox* target = nullptr;
    std::vector<QPushButton*> buttons;  // enabled with the gallery's rules
  };
  QWidget* buildSlot(int position);
  // The parts of a slot's box, each on its row of `grid`.
  QPushButton* addSlotButton(SlotControls& c, QWidget* box, const char* text, const QString& help,
                             std::function<void()> run);
  void buildSourceRow(SlotControls& c, QWidget* box, QGridLayout* grid, int position);
  void buildTargetRow(SlotControls& c, QWidget* box, QGridLayout* grid, int position);
  void buildTransferRows(SlotControls& c, QWidget* box, QGridLayout* grid, int position);
  void buildTitleRows(SlotControls& c, QWidget* box, QGridLayout* grid, int position);
  void setPage(int first);
  void afterOperation();
  int slotAt(int position) const { return firstShownSlot() + position; }
  // Carries out a slot command on `slot` and shows the gallery after it.
  void runSlotCommand(int slot, SlotCommand command, bool fromSmallForm = false);
  void addTransferMenu(QMenu& menu, int slot, const SlotLabel& label);
  void addFormItem(QMenu& menu);

  // SlotCommandHost
  bool viewerAvailable() const override { return static_cast<bool>(host_.viewSlot); }
  void viewSlot(int slot) override;
  void openData(int slot, const DataOpening& opening) override;
  std::string chooseSaveName(int slot, const persist::GallerySlot& record) override;
  std::string chooseFileToLoad(int slot) override;
  std::vector<std::string> clipboardFiles() const override;
  void combineRgb(int slot) override;
  void editTitle(int slot) override;
  std::optional<int> chooseAssociationToReplace(
      const std::vector<std::string>& extensions) override;
  std::string chooseApplication(const std::string& extension, const std::string& current) override;
  void copyToPicture(int slot, PictureSlot picture) override;
  QWidget* formWidget(GalleryForm which);

  Workbench& bench_;
  UserPort& user_;
  GalleryHost host_;
  std::array<SlotControls, 4> slots_{};
  std::vector<QPushButton*> numbers_;
  GalleryListWindow* list_ = nullptr;
  GallerySmallWindow* small_ = nullptr;
  QTimer* headerSave_ = nullptr;  // page and position changes are written a moment later
  bool placed_ = false;           // a form has been placed since start
};

// "ギャラリーの一覧": eight cells of 72 x 96 a row, " %2d " over a 64 x 64 reduction of the
// thumbnail, or "Idle", "Data", "Over".
class GalleryListWindow : public QWidget {
  Q_OBJECT
 public:
  GalleryListWindow(Workbench& bench, GalleryWindow& gallery, QWidget* parent = nullptr);
  // The slot under a point of the window, or -1.
  int slotAt(QPoint at) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  Workbench& bench_;
  GalleryWindow& gallery_;
};

// The slot's thumbnail through its palette, `side` pixels square; null unless a picture.
QImage slotThumbnailImage(const Workbench& bench, int slot, int side);
// Slot `slot`'s record; null without a gallery or outside it.
const persist::GallerySlot* gallerySlotRecord(const Workbench& bench, int slot);

// The text of "説明".
extern const char* const kGalleryExplanation;

}  // namespace vemla
