#pragma once
// The main window "Vemla": the menu MAINMENU and the toolbar built from the command table, the
// fixed 1280 x 1024 layout of title strips, panes and control windows (inside the scrolling base
// window "BaseWinName" on a smaller screen), and the requests through which the panes ask for
// pictures to be opened. Every command is carried out by its handler in the command table; the
// window answers what only it can (its dialogs, the clipboard, its own windows) and keeps the
// menu and toolbar states.
#include <QDesktopServices>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <optional>

#include "windows/editors/user_colour_editor.h"
#include "windows/main/file_dialogs.h"
#include "windows/main/progress_window.h"
#include "windows/panes/pane_host.h"
#include "workbench/commands/command_table.h"
#include "workbench/commands/window_layout.h"
#include "workbench/workbench.h"

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;

namespace vemla {

class PicturePane;
class ImagePane;
class QuickHelp;
class GalleryWindow;
class BaseWindow;
class ImageScopeWindow;
class ViewerWindow;

// How the window asks for a picture's pseudo-name ("画像%s名称の設定"): the entered text, or
// nullopt when cancelled. Tests replace it.
using NameDialog = std::function<std::optional<QString>(PictureSlot picture)>;

class WorkbenchWindow : public QMainWindow,
                        public WorkbenchListener,
                        public PaneHost,
                        private CommandHost {
  Q_OBJECT
 public:
  // `screen` is the available screen area the layout is fitted into.
  WorkbenchWindow(Workbench& bench, UserPort& user, QSize screen, QWidget* parent = nullptr);
  ~WorkbenchWindow() override;

  // WorkbenchListener
  void picturesChanged() override;
  void panesChanged() override;
  void toolsChanged() override;
  void viewFlipped(ImageSlot image) override;

  // PaneHost: every request runs later from the event loop, never inside the caller.
  void requestOpen(const QStringList& names, OpenMode mode, bool recordHistory) override;
  void requestOpenArchive(const QString& path) override;
  void requestOpenRecent(PictureSlot picture, int entry) override;
  void showHelp(QWidget* anchor, const QString& text) override;
  bool grabScrollEnabled() const override;
  void grabScroll(QPoint delta) override;
  void showScope(ScopeSource source, QPoint globalPos, int x, int y) override;
  void viewPane(Pane pane) override;
  // The viewer, made on first use.
  ViewerWindow& viewer();

  // Carries out command `id` at once (menu, toolbar and tests); an unavailable one does nothing.
  void runCommand(int id);
  // The menu item and the toolbar button of a command (null when it has none).
  QAction* menuAction(int id) const;
  QAction* toolbarAction(int id) const;
  // Re-evaluates the menu and toolbar states (also done when a menu opens).
  void updateCommandStates();
  CommandSituation situation() const;
  using CommandHost::handlesInWindow;

  void setFileDialogs(FileDialogs dialogs) { dialogs_ = std::move(dialogs); }
  // The page "概要-Web" opens; empty disables the command. Found beside the program at start.
  void setOverviewPage(const QString& path);
  // Hands a file to the desktop's application for it ("メモ", "概要-Web"); false when there is
  // none. QDesktopServices by default.
  void setDesktopOpener(std::function<bool(const QUrl&)> opener) {
    openExternally_ = std::move(opener);
  }
  void setNameDialog(NameDialog dialog) { nameDialog_ = std::move(dialog); }
  // The colour dialog of the user colour editor; QColorDialog by default.
  void setColourChooser(decltype(UserColourEditorDialogs::chooseColour) chooser) {
    colourChooser_ = std::move(chooser);
  }
  QuickHelp& quickHelp() const { return *quickHelp_; }
  ImageScopeWindow& imageScope() const { return *scope_; }
  bool usesBaseWindow() const { return baseWindow_ != nullptr; }
  LayoutOffset layoutOffset() const { return offset_; }
  LayoutOffset scrollRange() const { return range_; }
  QWidget* layoutElement(const char* name) const;
  QLabel* titleStrip(int index) const { return strips_[index]; }
  PicturePane* picturePane(PictureSlot picture) const { return picturePanes_[index(picture)]; }
  ImagePane* imagePane(ImageSlot image) const { return imagePanes_[index(image)]; }
  QMenu* fileMenu() const { return fileMenu_; }

  // The shutdown's window rectangle (the screen decides whether the current one is kept).
  void saveWindowRectangle();

 signals:
  // The option sheet changed something that needs a new start; the window is closing.
  void restartNeeded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Mouse moves over the layout's own area (outside panes and control windows) close the
  // image scope.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // CommandHost
  std::vector<std::string> chooseFilesToOpen(std::string_view title,
                                             std::span<const char* const> filters, bool several,
                                             const std::string& start) override;
  std::string chooseFileToSave(std::string_view title, std::span<const char* const> filters,
                               const std::string& start) override;
  std::vector<std::string> clipboardFiles() const override;
  std::optional<std::string> askPictureName(PictureSlot picture) override;
  std::optional<ArchiveOpenChoice> chooseArchiveItems(const ArchiveOpenChoice& initial) override;

  // The handlers of the commands the window carries out itself.
  void registerWindowHandlers();
  // Runs `work` from the event loop once no command or request is running.
  void whenIdle(std::function<void()> work);
  // The fixed layout: the frame (toolbar, canvas, the base window on a smaller screen), then
  // one widget per element of the layout table.
  void buildLayout(QSize screen);
  void buildFrame(QSize screen);
  QWidget* makeTitleStrip(const LayoutElement& element, int strip);
  QWidget* makePane(const LayoutElement& element);
  QWidget* makeControlWindow(const LayoutElement& element);
  void buildMenus();
  void buildToolbar();
  void addCommand(QMenu* menu, const Command& command);
  // The menu of `place`; a submenu is made in its parent on first use.
  QMenu* menuOf(Menu place);
  void rebuildHistoryMenu();
  void setLayoutOffset(LayoutOffset offset);
  void baseViewportResized(QSize viewport);
  void openMemo();
  UserColourEditorDialogs userColourDialogs();
  // Opens a file for editing (openFileForEditing): the desktop's application unless the file
  // is a program, a script or a desktop entry, else the built-in editor.
  void openForEditing(const QString& path);
  // 40114: the gallery window, made on first use, shown or hidden.
  void toggleGallery();
  // The gallery window, made on first use.
  GalleryWindow& galleryWindow();
  // 40111: where a gallery form of this frame size stands at the standard position.
  QPoint galleryHome(QSize frame) const;
  QRect galleryScreenArea() const;
  // A data item of the gallery written for opening: a program is started, an own association
  // gets the file, anything else opens for editing.
  void openGalleryData(int slot, const QString& path, const QString& application, bool program);
  void placeElements();
  void refreshTitles();
  void afterPictureCommand();
  void openArchive(const QString& path, bool pathKnown);
  void editOptions();

  Workbench& bench_;
  UserPort& user_;
  ProgressWindow progress_;
  WaitCursor busy_;
  QuickHelp* quickHelp_ = nullptr;
  ImageScopeWindow* scope_ = nullptr;
  QPointer<ViewerWindow> viewer_;
  FileDialogs dialogs_;
  GalleryWindow* gallery_ = nullptr;
  QSize screen_;  // the screen area the layout was fitted into
  NameDialog nameDialog_;

  QWidget* canvas_ = nullptr;         // carries the layout (the base window's viewport or the
                                      // central widget)
  BaseWindow* baseWindow_ = nullptr;  // "BaseWinName", only on a smaller screen
  QToolBar* toolbar_ = nullptr;
  LayoutOffset offset_{};
  QString overviewPage_;
  std::function<bool(const QUrl&)> openExternally_ = QDesktopServices::openUrl;
  decltype(UserColourEditorDialogs::chooseColour) colourChooser_;
  LayoutOffset range_{};      // the scroll range in use
  LayoutOffset ruleRange_{};  // the least range, from the screen size
  std::map<std::string, QWidget*> elements_;
  std::array<QLabel*, 8> strips_{};
  std::array<PicturePane*, 2> picturePanes_{};
  std::array<ImagePane*, 2> imagePanes_{};

  std::map<int, QAction*> menuActions_;
  std::map<int, QAction*> toolbarActions_;
  std::map<Menu, QMenu*> menus_;
  QMenu* fileMenu_ = nullptr;
  std::vector<QAction*> historyActions_;
  int running_ = 0;      // commands and requests in progress (the progress window lets events in)
  bool closed_ = false;  // once closed, a command that closed it has nothing left to refresh
};

}  // namespace vemla
