#include "windows/main/workbench_window.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "persist/exchange_file.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "platform/program_folder.h"
#include "windows/archive/archive_open_dialog.h"
#include "windows/controls/image_control_window.h"
#include "windows/controls/picture_control_window.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/dialogs/picture_dialogs.h"
#include "windows/editing/picture_edit_dialog.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/file_editing.h"
#include "windows/editors/memo_editor.h"
#include "windows/editors/user_colour_editor.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/extensions/launcher_dialog.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/clipboard_files.h"
#include "windows/main/drawn_icons.h"
#include "windows/main/quick_help.h"
#include "windows/main/screen_fit.h"
#include "windows/main/ui_text.h"
#include "windows/panes/colour_bar.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/image_scope_window.h"
#include "windows/panes/picture_pane.h"
#include "windows/tools/tool_area.h"
#include "windows/viewer/viewer_window.h"
#include "workbench/commands/command_handlers.h"
#include "workbench/commands/file_history.h"
#include "workbench/gallery/slot_files.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/settings/state_memory.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/view/pane_texts.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

// The scrolling base window: scrolling moves the whole layout by the offset. A dimension in
// which the layout rule gives no range has no scroll bar. `resized` reports the viewport's size,
// from which the window makes sure the layout's far edges can be reached.
class BaseWindow final : public QAbstractScrollArea {
 public:
  BaseWindow(QWidget* parent, LayoutOffset range, std::function<void(LayoutOffset)> moved,
             std::function<void(QSize)> resized)
      : QAbstractScrollArea(parent), moved_(std::move(moved)), resized_(std::move(resized)) {
    setObjectName("BaseWinName");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(range.dx > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(range.dy > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
    setRange(range);
  }
  void setRange(LayoutOffset range) {
    horizontalScrollBar()->setRange(0, range.dx);
    verticalScrollBar()->setRange(0, range.dy);
  }
  void showOffset(LayoutOffset offset) {
    const QSignalBlocker blockX(horizontalScrollBar());
    const QSignalBlocker blockY(verticalScrollBar());
    horizontalScrollBar()->setValue(offset.dx);
    verticalScrollBar()->setValue(offset.dy);
  }

 protected:
  void scrollContentsBy(int, int) override {
    moved_({horizontalScrollBar()->value(), verticalScrollBar()->value()});
  }
  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    resized_(viewport()->size());
  }

 private:
  std::function<void(LayoutOffset)> moved_;
  std::function<void(QSize)> resized_;
};

namespace {

using text::N_;

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text of a menu item without its access key: "入れ替え(&X)" -> "入れ替え", "&Swap" -> "Swap".
QString plainText(QString plain) {
  plain.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\(&.）|&")));
  return plain;
}

QString joinedFilters(std::span<const char* const> filters) {
  QStringList joined;
  for (const char* filter : filters) joined << ui(filter);
  return joined.join(";;");
}

const char* const kPictureStripHelp =
    N_("・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
       "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
       "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
       "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
       "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n");

// The title strips of the layout table: the pictures' strips first, then the images'.
constexpr std::size_t kFirstPictureStrip = 0;
constexpr std::size_t kFirstImageStrip = 2;

// Escapes "&" so that a file name shows as it is in a menu.
QString menuSafe(const std::string& text) {
  return fromUtf8(text).replace("&", "&&");
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(Workbench& bench, UserPort& user, QSize screen, QWidget* parent)
    : QMainWindow(parent), bench_(bench), user_(user), progress_(this), screen_(screen) {
  setObjectName("Vemla");
  setWindowTitle(fromUtf8(bench_.titles.main));
  quickHelp_ = new QuickHelp(this, bench_.shell.quickHelp);
  dialogs_.open = [this](const QString& title, const QString& filters, bool multiple,
                         const QString& start) {
    if (multiple) return QFileDialog::getOpenFileNames(this, title, start, filters);
    const QString name = QFileDialog::getOpenFileName(this, title, start, filters);
    return name.isEmpty() ? QStringList() : QStringList{name};
  };
  dialogs_.save = [this](const QString& title, const QString& filters, const QString& start) {
    QString filter;
    const QString name = QFileDialog::getSaveFileName(this, title, start, filters, &filter);
    return fromUtf8(withFilterExtension(name.toStdString(), filter.toStdString()));
  };
  nameDialog_ = [this](PictureSlot picture) -> std::optional<QString> {
    const std::optional<std::string> text = vemla::askPictureName(this, bench_, picture, user_);
    if (!text) return std::nullopt;
    return fromUtf8(*text);
  };
  buildLayout(screen);
  scope_ = new ImageScopeWindow(bench_, canvas_);
  scope_->setFocusTarget(imagePanes_[0]);
  canvas_->setMouseTracking(true);
  canvas_->installEventFilter(this);
  registerWindowHandlers();
  buildMenus();
  buildToolbar();
  rebuildHistoryMenu();
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
          &WorkbenchWindow::updateCommandStates);
  bench_.addListener(this);
  picturesChanged();
}

WorkbenchWindow::~WorkbenchWindow() {
  bench_.removeListener(this);
  delete viewer_;
}

// ---------------------------------------------------------------------------------------------
// Layout

void WorkbenchWindow::buildLayout(QSize screen) {
  buildFrame(screen);
  int strip = 0;
  for (const LayoutElement& element : kLayoutElements) {
    QWidget* widget = nullptr;
    switch (element.kind) {
      case LayoutElement::Kind::TitleStrip:
        widget = makeTitleStrip(element, strip++);
        break;
      case LayoutElement::Kind::Pane:
        widget = makePane(element);
        break;
      case LayoutElement::Kind::ControlWindow:
        widget = makeControlWindow(element);
        break;
    }
    elements_[element.name] = widget;
  }
  for (PictureSlot picture : kPictureSlots) {
    setQuickHelp(strips_[kFirstPictureStrip + index(picture)], ui(kPictureStripHelp));
  }
  placeElements();
}

void WorkbenchWindow::buildFrame(QSize screen) {
  const bool inBase =
      vemla::usesBaseWindow(screen.width(), screen.height(), bench_.options.LockDisplayPosition);
  auto* central = new QWidget(this);
  central->setObjectName("VemlaClient");
  toolbar_ = new QToolBar(central);
  toolbar_->setObjectName("Toolbar");
  toolbar_->setIconSize(QSize(24, 24));
  toolbar_->setGeometry(0, 0, kLayoutWidth, 28);
  if (inBase) {
    range_ = ruleRange_ = baseScrollRange(screen.width(), screen.height());
    baseWindow_ = new BaseWindow(
        central, range_, [this](LayoutOffset offset) { setLayoutOffset(offset); },
        [this](QSize viewport) { baseViewportResized(viewport); });
    canvas_ = new QWidget(baseWindow_->viewport());
    canvas_->setGeometry(0, 0, kLayoutWidth, kLayoutHeight - kBaseWindowLift);
    // The window fits the screen; the base window fills it below the toolbar, so that its
    // scroll bars stay in sight.
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(kBaseWindowX, 0, 0, 0);
    column->setSpacing(0);
    toolbar_->setFixedHeight(kBaseWindowY);
    column->addWidget(toolbar_);
    column->addWidget(baseWindow_, 1);
    // The window with its frame fits the screen.
    const QMargins frame = frameAllowance(*this);
    resize(std::min(screen.width(), kLayoutWidth) - frame.left() - frame.right(),
           std::min(screen.height(), kLayoutHeight) - frame.top() - frame.bottom());
  } else {
    canvas_ = central;
    central->setFixedSize(kLayoutWidth, kLayoutHeight);
  }
  canvas_->setObjectName("Layout");
  toolbar_->raise();
  setCentralWidget(central);
}

QWidget* WorkbenchWindow::makeTitleStrip(const LayoutElement& element, int strip) {
  auto* label = new QLabel(ui(element.name), canvas_);
  label->setTextFormat(Qt::PlainText);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Raised);
  label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  label->setIndent(4);
  label->setObjectName(QString("TitleStrip%1").arg(strip));
  strips_[strip] = label;
  return label;
}

QWidget* WorkbenchWindow::makePane(const LayoutElement& element) {
  // The pane sits centred in a sunken frame of the table's size; "Port2" and "Image2" show the
  // second picture and image.
  const std::string name = element.name;
  const bool second = name.back() == '2';
  auto* frame = new QFrame(canvas_);
  frame->setObjectName(fromUtf8(element.name) + "Frame");
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(QFrame::Sunken);
  QWidget* pane = nullptr;
  if (name.starts_with("Port")) {
    const PictureSlot picture = second ? PictureSlot::Second : PictureSlot::First;
    pane = picturePanes_[index(picture)] =
        new PicturePane(bench_, user_, busy_, progress_, *this, picture, frame);
  } else {
    const ImageSlot image = second ? ImageSlot::Second : ImageSlot::First;
    pane = imagePanes_[index(image)] =
        new ImagePane(bench_, user_, busy_, progress_, *this, image, frame);
    // The colour bar lies over the left of the image while "ﾊﾟﾚｯﾄ" is on.
    new ColourBar(bench_, image, pane);
  }
  pane->move((element.width - pane->width()) / 2, (element.height - pane->height()) / 2);
  return frame;
}

QWidget* WorkbenchWindow::makeControlWindow(const LayoutElement& element) {
  const std::string name = element.name;
  if (name == "PictureControl") {
    return new PictureControlWindow(bench_, user_, busy_, progress_, canvas_);
  }
  if (name == "ImageControl") {
    auto* imageControl = new ImageControlWindow(bench_, user_, busy_, progress_, canvas_);
    imageControl->setMeasurementToolQuery(
        [this] { return bench_.tools.active == tools::Tool::Measurement; });
    return imageControl;
  }
  if (name == "ToolInformation") return new ToolInformation(bench_, canvas_);
  if (name == "ToolSelection") {
    return new ToolSelection(
        bench_, [this](int id) { runCommand(id); }, canvas_);
  }
  // The strip below the picture control: a frame until its window comes.
  auto* frame = new QFrame(canvas_);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setObjectName(fromUtf8(element.name));
  return frame;
}

void WorkbenchWindow::placeElements() {
  for (const LayoutElement& element : kLayoutElements) {
    QWidget* widget = elements_.at(element.name);
    // Inside the base window the canvas itself moves by the offset; the elements keep their
    // lifted positions.
    const PlacedRect rect = placeElement(element, baseWindow_ != nullptr, LayoutOffset{});
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
  }
  if (baseWindow_ != nullptr) canvas_->move(-offset_.dx, -offset_.dy);
}

void WorkbenchWindow::baseViewportResized(QSize viewport) {
  // The rule's range leaves the layout's last pixels to the window frame; with the scroll bars
  // and the menu taking room, the range grows until every element can be brought into sight.
  const auto reach = [](int ruled, int needed) { return ruled > 0 ? std::max(ruled, needed) : 0; };
  range_ = {reach(ruleRange_.dx, kLayoutWidth - viewport.width()),
            reach(ruleRange_.dy, kLayoutHeight - kBaseWindowLift - viewport.height())};
  baseWindow_->setRange(range_);
  setLayoutOffset(offset_);
}

void WorkbenchWindow::setLayoutOffset(LayoutOffset offset) {
  offset_ = clampLayoutOffset(offset, range_);
  if (baseWindow_ == nullptr) return;
  baseWindow_->showOffset(offset_);
  canvas_->move(-offset_.dx, -offset_.dy);
  baseWindow_->viewport()->update();
}

QWidget* WorkbenchWindow::layoutElement(const char* name) const {
  const auto found = elements_.find(name);
  return found == elements_.end() ? nullptr : found->second;
}

bool WorkbenchWindow::grabScrollEnabled() const {
  return baseWindow_ != nullptr && !bench_.options.LockDisplayPosition;
}

void WorkbenchWindow::grabScroll(QPoint delta) {
  if (!grabScrollEnabled()) return;
  setLayoutOffset({offset_.dx - delta.x(), offset_.dy - delta.y()});
}

// ---------------------------------------------------------------------------------------------
// Menus and toolbar

void WorkbenchWindow::addCommand(QMenu* menu, const Command& command) {
  auto* action = menu->addAction(ui(command.text));
  action->setObjectName(QString::number(command.id));
  action->setCheckable(command.checked != nullptr);
  if (command.help != nullptr) setQuickHelpOn(action, ui(command.help));
  const int id = command.id;
  connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
  menuActions_[id] = action;
}

QMenu* WorkbenchWindow::menuOf(Menu place) {
  if (const auto found = menus_.find(place); found != menus_.end()) return found->second;
  const MenuEntry& entry = menuEntry(place);
  QMenu* menu = nullptr;
  if (entry.parent == Menu::None) {
    menu = menuBar()->addMenu(ui(entry.text));
    // Another running copy may have stored a state since: its checks come from the file.
    if (place == Menu::State) {
      connect(menu, &QMenu::aboutToShow, this, [this] { rereadStateSlots(bench_); });
    }
    connect(menu, &QMenu::aboutToShow, this, &WorkbenchWindow::updateCommandStates);
  } else {
    QMenu* parent = menuOf(entry.parent);
    if (entry.separatorBefore) parent->addSeparator();
    menu = parent->addMenu(ui(entry.text));
    setQuickHelpOn(menu->menuAction(), ui(entry.help), entry.helpOffset);
  }
  quickHelp_->watchMenu(menu);
  menus_[place] = menu;
  return menu;
}

void WorkbenchWindow::buildMenus() {
  menuBar()->setObjectName("MAINMENU");
  // The menu bar in the table's order, then the commands in theirs.
  for (const MenuEntry& entry : menuTable()) {
    if (entry.parent == Menu::None) menuOf(entry.menu);
  }
  for (const Command& command : commandTable()) {
    if (command.menu == Menu::None) continue;
    QMenu* menu = menuOf(command.menu);
    if (command.separatorBefore) menu->addSeparator();
    addCommand(menu, command);
  }
  fileMenu_ = menuOf(Menu::File);
  menuOf(Menu::Help)->setToolTipsVisible(true);
  setOverviewPage(fromUtf8(platform::overviewPage(platform::executableFolder(), text::language())));
}

void WorkbenchWindow::openMemo() {
  const std::string path = memoPath(bench_);
  // A memo that does not exist yet starts as an empty file, which any editor can open.
  if (!fileExists(path)) writeFileAtomically(path, std::span<const std::uint8_t>());
  openFileForEditing(this, fromUtf8(path), ui(N_("メモ")), user_, openExternally_);
}

void WorkbenchWindow::openForEditing(const QString& path) {
  openFileForEditing(this, path, ui(N_("編集")), user_, openExternally_);
}

UserColourEditorDialogs WorkbenchWindow::userColourDialogs() {
  UserColourEditorDialogs dialogs = UserColourEditorDialogs::platform();
  dialogs.open = [this](const QString& title, const QString& filters, const QString& start) {
    const QStringList chosen = dialogs_.open(title, filters, false, start);
    return chosen.isEmpty() ? QString() : chosen.front();
  };
  dialogs.save = dialogs_.save;
  dialogs.desktop = openExternally_;
  if (colourChooser_) dialogs.chooseColour = colourChooser_;
  return dialogs;
}

void WorkbenchWindow::toggleGallery() {
  GalleryWindow& gallery = galleryWindow();
  if (gallery.galleryShown()) {
    gallery.hideGallery();
  } else {
    gallery.showGallery();
  }
  updateCommandStates();
}

QPoint WorkbenchWindow::galleryHome(QSize frame) const {
  // The top-right corner of the main window, just below the top row of title strips (the
  // image panes' kind and magnification stay readable), kept on the screen.
  const QPoint corner = frameGeometry().topRight() + QPoint(1, 0);
  const QLabel* strip = strips_[kFirstImageStrip + index(ImageSlot::Second)];
  const int below = strip->mapToGlobal(QPoint(0, strip->height())).y();
  const QRect area = galleryScreenArea();
  const int x = std::clamp(corner.x() - frame.width(), area.left(),
                           std::max(area.left(), area.right() + 1 - frame.width()));
  const int y =
      std::clamp(below, area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
  return {x, y};
}

QRect WorkbenchWindow::galleryScreenArea() const {
  // The screen the layout was fitted into, and whatever else the desktop offers.
  QRect area(QPoint(0, 0), screen_);
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    area = area.united(primary->availableVirtualGeometry());
  }
  return area;
}

GalleryWindow& WorkbenchWindow::galleryWindow() {
  if (gallery_ == nullptr) {
    GalleryHost host;
    host.dialogs = dialogs_;
    host.progress = &progress_;
    host.busy = &busy_;
    host.copyToPicture = [this](int slot, PictureSlot picture) {
      // Message 5004: the copy runs once the gallery's own event is over.
      QMetaObject::invokeMethod(
          this,
          [this, slot, picture] {
            copySlotToPicture(bench_, user_, slot, picture);
            afterPictureCommand();
          },
          Qt::QueuedConnection);
    };
    host.viewSlot = [this](int slot) {
      const persist::GallerySlot& record =
          bench_.settings.gallery->info.slotRecords[static_cast<std::size_t>(slot)];
      viewer().openSlot(slotFilePath(bench_.settings.folder, slot), record.width, record.height,
                        slotBytesPerPixel(record), record.palette);
    };
    host.viewPicture = [this](std::span<const std::uint8_t> content, const ArchiveItemInfo& item) {
      viewer().openContent(content, item.width, item.height, item.bytesPerPixel, item.palette);
    };
    host.openData = [this](int slot, const QString& path, const QString& application,
                           bool program) { openGalleryData(slot, path, application, program); };
    host.homePosition = [this](QSize frame) { return galleryHome(frame); };
    host.shownChanged = [this] { updateCommandStates(); };
    host.screenArea = galleryScreenArea();
    host.watchMenu = [this](QMenu* menu) { quickHelp_->watchMenu(menu); };
    gallery_ = new GalleryWindow(bench_, user_, std::move(host), this);
  }
  return *gallery_;
}

void WorkbenchWindow::openGalleryData(int slot, const QString& path, const QString& application,
                                      bool program) {
  // Programs start directly with the path as one argument, never through a shell.
  bool started = true;
  if (program) {
    started = QProcess::startDetached(path, {});
  } else if (!application.isEmpty()) {
    started = QProcess::startDetached(application, {path});
  } else {
    openForEditing(path);
  }
  if (!started) dataOpeningFailed(bench_, user_, slot);
}

void WorkbenchWindow::setOverviewPage(const QString& path) {
  overviewPage_ = path;
  // A disabled "概要-Web" says why.
  menuActions_.at(kWebPage)->setToolTip(
      path.isEmpty() ? ui(N_("概要のﾍﾟｰｼﾞ(vemla-overview.html)がｲﾝｽﾄｰﾙされていません")) : path);
  updateCommandStates();
}

void WorkbenchWindow::buildToolbar() {
  const auto addButton = [this](int id) {
    const Command& command = *findCommand(id);
    QAction* action =
        toolbar_->addAction(toolbarIcon(command.glyph),
                            command.tip != nullptr ? ui(command.tip) : plainText(ui(command.text)));
    action->setObjectName(QString("tool%1").arg(id));
    action->setCheckable(command.checked != nullptr);
    if (command.help != nullptr) setQuickHelpOn(action, ui(command.help));
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    toolbarActions_[id] = action;
  };
  for (int id : toolbarLayout()) {
    if (id == kToolbarSeparator) {
      toolbar_->addSeparator();
    } else {
      addButton(id);
    }
  }
  if (baseWindow_ != nullptr) {
    toolbar_->addSeparator();
    for (int id : kToolbarCornerButtons) addButton(id);
  }
}

void WorkbenchWindow::rebuildHistoryMenu() {
  for (QAction* action : historyActions_) {
    fileMenu_->removeAction(action);
    delete action;
  }
  historyActions_.clear();
  const std::vector<MenuItem> items = historyMenuItems(bench_.shell.fileHistory);
  if (items.empty()) return;
  QAction* separator = fileMenu_->addSeparator();
  separator->setObjectName(QString::number(kHistorySeparator));
  historyActions_.push_back(separator);
  for (const MenuItem& item : items) {
    QAction* action = fileMenu_->addAction(menuSafe(item.text));
    action->setObjectName(QString::number(item.id));
    setQuickHelpOn(action, ui(kHistoryHelpText));
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    historyActions_.push_back(action);
  }
}

QAction* WorkbenchWindow::menuAction(int id) const {
  if (isHistoryItem(id)) {
    for (QAction* action : historyActions_) {
      if (action->objectName() == QString::number(id)) return action;
    }
    return nullptr;
  }
  const auto found = menuActions_.find(id);
  return found == menuActions_.end() ? nullptr : found->second;
}

QAction* WorkbenchWindow::toolbarAction(int id) const {
  const auto found = toolbarActions_.find(id);
  return found == toolbarActions_.end() ? nullptr : found->second;
}

std::vector<std::string> WorkbenchWindow::clipboardFiles() const {
  return vemla::clipboardFiles();
}

CommandSituation WorkbenchWindow::situation() const {
  CommandSituation facts = situationOf(bench_);
  facts.clipboardHasFiles = !clipboardFiles().empty();
  facts.exchangeFileExists = persist::exchangeItemPresent(bench_.settings.folder);
  facts.baseWindowInUse = baseWindow_ != nullptr;
  facts.overviewInstalled = !overviewPage_.isEmpty();
  return facts;
}

void WorkbenchWindow::updateCommandStates() {
  const CommandSituation facts = situation();
  for (const auto& [id, action] : menuActions_) {
    action->setEnabled(commandAvailable(id) && commandEnabled(id, facts));
    if (action->isCheckable()) action->setChecked(commandChecked(id, facts));
  }
  for (const auto& [place, menu] : menus_) {
    if (menuEntry(place).parent != Menu::None) {
      menu->menuAction()->setEnabled(menuEnabled(place, facts));
    }
  }
  for (QAction* action : historyActions_) {
    if (!action->isSeparator()) action->setEnabled(commandEnabled(kFirstHistoryItem, facts));
  }
  for (const auto& [id, action] : toolbarActions_) {
    action->setEnabled(commandAvailable(id) && toolbarEnabled(id, facts));
    if (action->isCheckable()) action->setChecked(toolbarChecked(id, facts));
  }
}

// ---------------------------------------------------------------------------------------------
// Refresh

void WorkbenchWindow::refreshTitles() {
  setWindowTitle(fromUtf8(bench_.titles.main + toolTitleSuffix(bench_)));
  for (PictureSlot picture : kPictureSlots) {
    strips_[kFirstPictureStrip + index(picture)]->setText(
        fromUtf8(bench_.titles.pane[index(picture)]));
  }
  for (ImageSlot image : kImageSlots) {
    QLabel* strip = strips_[kFirstImageStrip + index(image)];
    strip->setText(fromUtf8(imageLabelOf(bench_, image)));
    setQuickHelp(strip,
                 QString::fromStdString(paneHelpText(bench_, paneOf(image), grabScrollEnabled())));
  }
}

void WorkbenchWindow::picturesChanged() {
  if (!bench_.pictures.picturesPresent) scope_->hide();
  if (scope_->isVisible()) scope_->update();
  refreshTitles();
  for (PicturePane* pane : picturePanes_) pane->refresh();
  for (ImagePane* pane : imagePanes_) pane->refresh();
  updateCommandStates();
}

void WorkbenchWindow::panesChanged() {
  if (scope_->isVisible()) scope_->update();
  refreshTitles();
  for (PicturePane* pane : picturePanes_) pane->refresh();
  for (ImagePane* pane : imagePanes_) pane->refresh();
}

void WorkbenchWindow::viewFlipped(ImageSlot image) {
  strips_[kFirstImageStrip + index(image)]->setText(fromUtf8(imageLabelOf(bench_, image)));
  imagePanes_[index(image)]->update();
}

void WorkbenchWindow::toolsChanged() {
  refreshTitles();
  updateCommandStates();
}

void WorkbenchWindow::afterPictureCommand() {
  refreshTitles();
  rebuildHistoryMenu();
  updateCommandStates();
}

// ---------------------------------------------------------------------------------------------
// Requests of the panes and the start-up (queued: they never run inside a drop or a menu)

void WorkbenchWindow::whenIdle(std::function<void()> work) {
  // The progress window lets queued calls run while long work goes on; a request that arrives
  // then waits until that work has finished.
  QMetaObject::invokeMethod(
      this,
      [this, work = std::move(work)]() mutable {
        if (running_ > 0) {
          QTimer::singleShot(
              50, this, [this, work = std::move(work)]() mutable { whenIdle(std::move(work)); });
          return;
        }
        ++running_;
        work();
        --running_;
      },
      Qt::QueuedConnection);
}

void WorkbenchWindow::requestOpen(const QStringList& names, OpenMode mode, bool recordHistory) {
  const std::array<std::string, 2> given{names.value(0).toStdString(),
                                         names.value(1).toStdString()};
  whenIdle([this, given, mode, recordHistory] {
    openPictureNames(bench_, user_, busy_, progress_, given, mode, recordHistory);
    afterPictureCommand();
  });
}

void WorkbenchWindow::requestOpenArchive(const QString& path) {
  whenIdle([this, path] { openArchive(path, true); });
}

void WorkbenchWindow::requestOpenRecent(PictureSlot picture, int entry) {
  whenIdle([this, picture, entry] {
    openRecentPicture(bench_, user_, busy_, progress_, picture, entry);
    afterPictureCommand();
  });
}

void WorkbenchWindow::showHelp(QWidget* anchor, const QString& text) {
  quickHelp_->show(anchor, text);
}

void WorkbenchWindow::openArchive(const QString& path, bool pathKnown) {
  openArchiveAsPictures(bench_, user_, progress_, busy_, *this, path.toStdString(), pathKnown);
  afterPictureCommand();
}

// ---------------------------------------------------------------------------------------------
// Commands

void WorkbenchWindow::showScope(ScopeSource source, QPoint globalPos, int x, int y) {
  if (!bench_.shell.imageScope) return;
  const auto cornerOf = [this](const QWidget* pane) {
    const QPoint corner = pane->mapTo(canvas_, QPoint(0, 0));
    return ScopePoint{corner.x(), corner.y()};
  };
  const QPoint mouse = canvas_->mapFromGlobal(globalPos);
  const ScopePoint at = scopePlacement(source, bench_.options.ScopePosition, {mouse.x(), mouse.y()},
                                       cornerOf(imagePanes_[0]), cornerOf(imagePanes_[1]));
  scope_->showFor(source, QPoint(at.x, at.y), x, y);
}

ViewerWindow& WorkbenchWindow::viewer() {
  if (viewer_ == nullptr) {
    // Without an owner, so that a modal dialog of the gallery (whose expand list opens
    // pictures in it) does not block it; this window closes and deletes it.
    viewer_ = new ViewerWindow(bench_.options, user_);
    viewer_->setClipboardFiles([this] { return clipboardFiles(); });
    viewer_->setHelp([this](QWidget* anchor, const QString& text) { showHelp(anchor, text); });
  }
  return *viewer_;
}

void WorkbenchWindow::viewPane(Pane pane) {
  const PictureState& pictures = bench_.pictures;
  if (!pictures.picturesPresent) return;
  // The pane's buffer as an 8-bit picture with the pane's palette: the shifted picture with
  // its own palette, or the derived image with the pane's colour table.
  std::array<std::uint32_t, 256> palette{};
  const std::uint8_t* pixels = nullptr;
  if (!isImagePane(pane)) {
    const PictureSlot picture = pictureOfPane(pane);
    pixels = bench_.store.plane(shiftedPlane(picture));
    const Palette& entries = pictures.pictures[index(picture)].palette;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      palette[i] = static_cast<std::uint32_t>(entries[4 * i + 2]) << 16 |
                   static_cast<std::uint32_t>(entries[4 * i + 1]) << 8 | entries[4 * i];
    }
  } else {
    const ImageSlot image = imageOfPane(pane);
    pixels = bench_.store.plane(image == ImageSlot::First ? kImage1 : kImage2);
    const ColourTable& colours = bench_.view.panes[index(image)].colours;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      palette[i] = static_cast<std::uint32_t>(colours[i].red) << 16 |
                   static_cast<std::uint32_t>(colours[i].green) << 8 | colours[i].blue;
    }
  }
  viewer().openMemory(pixels, pictures.width, pictures.height, palette);
}

bool WorkbenchWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::MouseMove) scope_->hide();
  return QMainWindow::eventFilter(watched, event);
}

void WorkbenchWindow::runCommand(int id) {
  if (!commandAvailable(id)) return;
  ++running_;
  quickHelp_->close();
  CommandContext context{bench_, user_, busy_, progress_, *this};
  vemla::runCommand(id, context);
  --running_;
  if (!bench_.shell.imageScope) scope_->hide();
  if (!closed_) afterPictureCommand();
}

std::vector<std::string> WorkbenchWindow::chooseFilesToOpen(std::string_view title,
                                                            std::span<const char* const> filters,
                                                            bool several,
                                                            const std::string& start) {
  std::vector<std::string> names;
  for (const QString& name :
       dialogs_.open(ui(title), joinedFilters(filters), several, fromUtf8(start))) {
    names.push_back(name.toStdString());
  }
  return names;
}

std::string WorkbenchWindow::chooseFileToSave(std::string_view title,
                                              std::span<const char* const> filters,
                                              const std::string& start) {
  return dialogs_.save(ui(title), joinedFilters(filters), fromUtf8(start)).toStdString();
}

std::optional<std::string> WorkbenchWindow::askPictureName(PictureSlot picture) {
  const std::optional<QString> text = nameDialog_(picture);
  if (!text) return std::nullopt;
  return text->toStdString();
}

std::optional<ArchiveOpenChoice> WorkbenchWindow::chooseArchiveItems(
    const ArchiveOpenChoice& initial) {
  // The selection dialog starts from the last file when the menu gives none.
  ArchiveOpenWindow dialog(this, bench_);
  return dialog.chooseArchiveItems(initial);
}

void WorkbenchWindow::registerWindowHandlers() {
  handleInWindow(kGreyValueText, [this] { exportGreyValues(this, bench_, user_); });
  handleInWindow(kResize, [this] { changePictureSize(this, bench_, user_, busy_, progress_); });
  handleInWindow(kExport, [this] { exportPictures(this, bench_, user_, busy_, progress_); });
  handleInWindow(kImport, [this] { importPictures(this, bench_, user_, busy_, progress_); });
  handleInWindow(kUserProcessing,
                 [this] { editUserProcessing(this, bench_, user_, busy_, progress_); });
  handleInWindow(kGallery, [this] { toggleGallery(); });
  handleInWindow(kGalleryHome, [this] {
    galleryWindow().moveHome();
    updateCommandStates();
  });
  handleInWindow(kUserColours,
                 [this] { editUserColours(this, bench_, user_, userColourDialogs()); });
  handleInWindow(kUserProgram, [this] {
    runUserProgramDialog(this, bench_, user_, busy_, progress_, dialogs_,
                         [this](const QString& path) { openForEditing(path); });
  });
  handleInWindow(kCalculator, [this] { showCalculator(this, bench_); });
  for (PictureSlot picture : kPictureSlots) {
    handleInWindow(picture == PictureSlot::First ? kEdit1 : kEdit2, [this, picture] {
      // Message 5002 when editing ends: the commands come back, the focus to the image pane.
      editPicture(this, bench_, user_, busy_, progress_, picture, [this] {
        afterPictureCommand();
        imagePanes_[0]->setFocus();
      });
    });
  }
  handleInWindow(kOptions, [this] { editOptions(); });
  handleInWindow(kMemo, [this] { openMemo(); });
  handleInWindow(kWebPage, [this] {
    if (!openExternally_(QUrl::fromLocalFile(overviewPage_))) {
      user_.tell(Icon::Warning, std::string(text::tr("概要のﾍﾟｰｼﾞを開けませんでした\n")) +
                                    overviewPage_.toStdString());
    }
  });
  handleInWindow(kVersion, [this] {
    user_.tell(
        Icon::Info,
        std::string("Vemla " VEMLA_VERSION_TEXT "\n") + text::tr("２つの8ﾋﾞｯﾄ濃淡画像の比較ﾂｰﾙ"),
        text::tr("ﾊﾞｰｼﾞｮﾝ情報"));
  });
  handleInWindow(kExit, [this] { close(); });
  for (int corner : kToolbarCornerButtons) {
    handleInWindow(corner, [this, corner] {
      if (const auto offset = layoutOffsetOfCommand(corner, range_)) setLayoutOffset(*offset);
    });
  }
}

void WorkbenchWindow::editOptions() {
  if (vemla::editOptions(this, bench_, user_, busy_, progress_)) {
    emit restartNeeded();
    close();
    return;
  }
  // Options that change only what the windows show (colours, help texts) reach them here.
  bench_.notifyPicturesChanged();
}

// ---------------------------------------------------------------------------------------------
// Window events

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  // Closing while a picture is edited asks as the edit dialog's "ｷｬﾝｾﾙ" does.
  if (PictureEditDialog* editing = pictureEditDialog(this);
      editing != nullptr && bench_.pictures.editing && !editing->cancel()) {
    event->ignore();
    return;
  }
  quickHelp_->close();
  if (viewer_ != nullptr) viewer_->close();
  saveWindowRectangle();
  closed_ = true;
  event->accept();
}

void WorkbenchWindow::saveWindowRectangle() {
  const QRect frame = frameGeometry();
  const QSize screen = this->screen() != nullptr ? this->screen()->availableSize() : QSize();
  const persist::WindowRectangle current{frame.x(), frame.y(), frame.width(), frame.height()};
  if (const auto saved = savedWindowRect(current, screen.width(), screen.height())) {
    persist::keepWindowRectangle(bench_, *saved);
  }
}

}  // namespace vemla
