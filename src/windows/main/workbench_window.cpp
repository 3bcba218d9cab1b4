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
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "persist/exchange_file.h"
#include "persist/user_info.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "processing/manual_shift.h"
#include "windows/archive/archive_open_dialog.h"
#include "windows/controls/image_control_window.h"
#include "windows/controls/picture_control_window.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/dialogs/picture_dialogs.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/main/quick_help.h"
#include "windows/panes/colour_bar.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/commands/file_history.h"
#include "workbench/editing/picture_rename.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/display_marks.h"
#include "workbench/view/pane_input.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

// The scrolling base window: its scroll bars have exactly the ranges of the layout rule, and
// scrolling moves the whole layout by the offset.
class BaseWindow final : public QAbstractScrollArea {
 public:
  BaseWindow(QWidget* parent, std::function<void(LayoutOffset)> moved)
      : QAbstractScrollArea(parent), moved_(std::move(moved)) {
    setObjectName("BaseWinName");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  void setRange(LayoutOffset range) {
    horizontalScrollBar()->setRange(0, range.dx);
    verticalScrollBar()->setRange(0, range.dy);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
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

 private:
  std::function<void(LayoutOffset)> moved_;
};

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The commands wired to a subsystem that exists. The others are shown disabled.
// clang-format off
constexpr int kAvailableCommands[] = {
    kOpenTwo, kOpenOne, kExit, kOverwrite1, kOverwrite2, kSaveAsPicture1, kSaveAsPicture2,
    kSaveAsImage1, kSaveAsImage2, kFileInformation, kGreyValueText, kReopenBoth, kReopen1,
    kReopen2, kReplace1, kReplace2, kOpenArchive, kSaveDisplayed, kPaste, kPasteToPicture1,
    kPasteToPicture2, kImage1ToPicture1, kImage1ToPicture2, kImage2ToPicture1,
    kImage2ToPicture2, kImagesToPictures, kImagesToPicturesCrossed, kGreyScale1, kGreyScale2,
    kCopy1To2, kCopy2To1, kResize, kSwap, kRename1, kRename2, kOptions, kClearHistory,
    kClearShiftMarks, kClearDisplayMarks, kClearExchangeFile, kMemo, kVersion, kQuickHelp,
    kLayoutTopLeft, kLayoutTopRight, kLayoutBottomLeft, kLayoutBottomRight, kExport, kImport,
    kUserProcessing, kCalculator};
// clang-format on

// A small button face with a short label; the toolbar's looks are ours to choose.
QIcon glyphIcon(const QString& glyph) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QFont font = painter.font();
  font.setPixelSize(glyph.size() > 1 ? 10 : 14);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
  return QIcon(pixmap);
}

struct ToolbarGlyph {
  int id;
  const char* glyph;
};
constexpr ToolbarGlyph kToolbarGlyphs[] = {
    {kOpenTwo, "2"},
    {kOpenOne, "1"},
    {kOpenArchive, "V"},
    {kOverwrite1, "S1"},
    {kOverwrite2, "S2"},
    {kEdit1, "E1"},
    {kEdit2, "E2"},
    {kPaste, "P"},
    {kPasteToPicture1, "P1"},
    {kPasteToPicture2, "P2"},
    {kSwap, "⇄"},
    {kImage1ToPicture1, "I1"},
    {kImage2ToPicture2, "I2"},
    {kUserProgram, "U"},
    {kOptions, "O"},
    {kImageScope, "◎"},
    {kGallery, "G"},
    {kQuickHelp, "?"},
    {kCalculator, "C"},
    {kLayoutTopLeft, "◤"},
    {kLayoutTopRight, "◥"},
    {kLayoutBottomLeft, "◣"},
    {kLayoutBottomRight, "◢"},
};

QString toolbarGlyph(int id) {
  for (const ToolbarGlyph& entry : kToolbarGlyphs) {
    if (entry.id == id) return QString::fromUtf8(entry.glyph);
  }
  return QString();
}

bool isCheckCommand(int id) {
  return id == kImageScope || id == kGallery || id == kQuickHelp || id == kSaveDisplayed ||
         id == kConfirmStates || id == kRestoreFormOnly || id == kGradationTool ||
         id == kProfileTool || id == k3DTool || id == kMeasurementTool ||
         id == kPartialComparisonTool || (id >= kRememberState1 && id <= kRememberState4);
}

QString menuTextOf(int id) {
  const CommandText* text = findCommandText(id);
  return text != nullptr && text->menuText != nullptr ? QString::fromUtf8(text->menuText)
                                                      : QString();
}

QString plainMenuText(int id) {
  QString text = menuTextOf(id);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\(&.）|&")));
  return text;
}

const char* const kPictureStripHelp =
    "・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
    "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
    "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
    "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
    "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n";

// The title strips of the layout table: the pictures' strips first, then the images'.
constexpr std::size_t kFirstPictureStrip = 0;
constexpr std::size_t kFirstImageStrip = 2;

// Escapes "&" so that a file name shows as it is in a menu.
QString menuSafe(const std::string& text) {
  return fromUtf8(text).replace("&", "&&");
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(Workbench& bench, UserPort& user, QSize screen, QWidget* parent)
    : QMainWindow(parent), bench_(bench), user_(user), progress_(this) {
  setObjectName("Vemla");
  setWindowTitle(fromUtf8(bench_.titles.main));
  available_.insert(std::begin(kAvailableCommands), std::end(kAvailableCommands));
  quickHelp_ = new QuickHelp(this, bench_.shell.quickHelp);
  dialogs_.open = [this](const QString& title, const QString& filters, bool multiple,
                         const QString& start) {
    if (multiple) return QFileDialog::getOpenFileNames(this, title, start, filters);
    const QString name = QFileDialog::getOpenFileName(this, title, start, filters);
    return name.isEmpty() ? QStringList() : QStringList{name};
  };
  dialogs_.save = [this](const QString& title, const QString& filters, const QString& start) {
    return QFileDialog::getSaveFileName(this, title, start, filters);
  };
  nameDialog_ = [this](PictureSlot picture) -> std::optional<QString> {
    const std::optional<std::string> text = askPictureName(this, bench_, picture, user_);
    if (!text) return std::nullopt;
    return fromUtf8(*text);
  };
  buildLayout(screen);
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
}

// ---------------------------------------------------------------------------------------------
// Layout

void WorkbenchWindow::buildLayout(QSize screen) {
  const bool inBase =
      vemla::usesBaseWindow(screen.width(), screen.height(), bench_.options.LockDisplayPosition);
  auto* central = new QWidget(this);
  central->setObjectName("VemlaClient");
  toolbar_ = new QToolBar(central);
  toolbar_->setObjectName("Toolbar");
  toolbar_->setIconSize(QSize(24, 24));
  toolbar_->setGeometry(0, 0, kLayoutWidth, 28);
  if (inBase) {
    range_ = baseScrollRange(screen.width(), screen.height());
    baseWindow_ = new BaseWindow(central, [this](LayoutOffset offset) { setLayoutOffset(offset); });
    baseWindow_->setRange(range_);
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
    resize(std::min(screen.width(), kLayoutWidth), std::min(screen.height(), kLayoutHeight));
  } else {
    canvas_ = central;
    central->setFixedSize(kLayoutWidth, kLayoutHeight);
  }
  canvas_->setObjectName("Layout");
  toolbar_->raise();
  setCentralWidget(central);

  int strip = 0;
  for (const LayoutElement& element : kLayoutElements) {
    QWidget* widget = nullptr;
    const std::string name = element.name;
    switch (element.kind) {
      case LayoutElement::Kind::TitleStrip: {
        auto* label = new QLabel(fromUtf8(element.name), canvas_);
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        label->setIndent(4);
        label->setObjectName(QString("TitleStrip%1").arg(strip));
        strips_[strip++] = label;
        widget = label;
        break;
      }
      case LayoutElement::Kind::Pane: {
        // The pane sits centred in a sunken frame of the table's size; "Port2" and "Image2"
        // show the second picture and image.
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
        widget = frame;
        break;
      }
      case LayoutElement::Kind::ControlWindow: {
        if (name == "PictureControl") {
          widget = new PictureControlWindow(bench_, user_, busy_, progress_, canvas_);
        } else if (name == "ImageControl") {
          widget = new ImageControlWindow(bench_, user_, busy_, progress_, canvas_);
        } else {
          // Tool area and the strip below the picture control: frames until their windows come.
          auto* frame = new QFrame(canvas_);
          frame->setFrameShape(QFrame::StyledPanel);
          frame->setObjectName(fromUtf8(element.name));
          widget = frame;
        }
        break;
      }
    }
    elements_[name] = widget;
  }
  for (PictureSlot picture : kPictureSlots) {
    setQuickHelp(strips_[kFirstPictureStrip + index(picture)],
                 QString::fromUtf8(kPictureStripHelp));
  }

  placeElements();
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

QAction* WorkbenchWindow::addCommand(QMenu* menu, int id) {
  auto* action = menu->addAction(menuTextOf(id));
  action->setObjectName(QString::number(id));
  action->setCheckable(isCheckCommand(id));
  if (const char* help = commandHelpText(id)) setQuickHelpOn(action, QString::fromUtf8(help));
  connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
  menuActions_[id] = action;
  return action;
}

QMenu* WorkbenchWindow::addSubmenu(QMenu* menu, Submenu submenu) {
  const SubmenuText& text = submenuText(submenu);
  QMenu* child = menu->addMenu(QString::fromUtf8(text.menuText));
  setQuickHelpOn(child->menuAction(), QString::fromUtf8(text.helpText), text.helpOffset);
  quickHelp_->watchMenu(child);
  submenus_[submenu] = child;
  return child;
}

void WorkbenchWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MAINMENU");
  const auto topMenu = [&](const char* title) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    quickHelp_->watchMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, &WorkbenchWindow::updateCommandStates);
    return menu;
  };

  fileMenu_ = topMenu("ﾌｧｲﾙ(&F)");
  addCommand(fileMenu_, kOpenTwo);
  addCommand(fileMenu_, kOpenOne);
  QMenu* replace = addSubmenu(fileMenu_, Submenu::ReplaceOne);
  addCommand(replace, kReplace1);
  addCommand(replace, kReplace2);
  addCommand(fileMenu_, kOpenArchive);
  fileMenu_->addSeparator();
  QMenu* overwrite = addSubmenu(fileMenu_, Submenu::Overwrite);
  addCommand(overwrite, kOverwrite1);
  addCommand(overwrite, kOverwrite2);
  QMenu* saveAs = addSubmenu(fileMenu_, Submenu::SaveAs);
  for (int id : {kSaveAsPicture1, kSaveAsPicture2, kSaveAsImage1, kSaveAsImage2}) {
    addCommand(saveAs, id);
  }
  saveAs->addSeparator();
  addCommand(saveAs, kGreyValueText);
  addCommand(fileMenu_, kSaveDisplayed);
  fileMenu_->addSeparator();
  QMenu* reopen = addSubmenu(fileMenu_, Submenu::Reopen);
  for (int id : {kReopenBoth, kReopen1, kReopen2}) addCommand(reopen, id);
  addCommand(fileMenu_, kFileInformation);
  fileMenu_->addSeparator();
  addCommand(fileMenu_, kExit);

  QMenu* edit = topMenu("編集(&E)");
  for (int id : {kPaste, kPasteToPicture1, kPasteToPicture2}) addCommand(edit, id);
  edit->addSeparator();
  addCommand(edit, kEdit1);
  addCommand(edit, kEdit2);

  QMenu* picture = topMenu("画像(&P)");
  addCommand(picture, kResize);
  addCommand(picture, kSwap);
  QMenu* copy = addSubmenu(picture, Submenu::CopyPictures);
  addCommand(copy, kCopy1To2);
  addCommand(copy, kCopy2To1);
  QMenu* fromImages = addSubmenu(picture, Submenu::CopyFromImages);
  for (int id = kImage1ToPicture1; id <= kImagesToPicturesCrossed; ++id) {
    if (id == kImagesToPictures) fromImages->addSeparator();
    addCommand(fromImages, id);
  }
  QMenu* grey = addSubmenu(picture, Submenu::GreyScale);
  addCommand(grey, kGreyScale1);
  addCommand(grey, kGreyScale2);
  QMenu* rename = addSubmenu(picture, Submenu::Rename);
  addCommand(rename, kRename1);
  addCommand(rename, kRename2);

  QMenu* userMenu = topMenu("ﾕｰｻﾞ(&U)");
  for (int id : {kUserProcessing, kUserColours, kUserProgram}) addCommand(userMenu, id);

  QMenu* network = topMenu("通信(&N)");
  addCommand(network, kExport);
  addCommand(network, kImport);

  QMenu* state = topMenu("状態(&S)");
  for (int id = kRememberState1; id <= kRememberState4; ++id) addCommand(state, id);
  state->addSeparator();
  for (int id = kRestoreState1; id <= kRestoreState4; ++id) addCommand(state, id);
  state->addSeparator();
  addCommand(state, kSaveStateFile);
  addCommand(state, kRestoreStateFile);
  state->addSeparator();
  addCommand(state, kClearStates);
  addCommand(state, kStateList);
  state->addSeparator();
  addCommand(state, kConfirmStates);
  addCommand(state, kRestoreFormOnly);

  QMenu* settings = topMenu("設定(&O)");
  addCommand(settings, kOptions);
  settings->addSeparator();
  for (int id :
       {kClearHistory, kResetColours, kClearShiftMarks, kClearDisplayMarks, kClearExchangeFile}) {
    addCommand(settings, id);
  }
  settings->addSeparator();
  addCommand(settings, kGalleryHome);

  QMenu* tools = topMenu("ﾂｰﾙ(&T)");
  for (int id : {kGradationTool, kProfileTool, k3DTool, kMeasurementTool, kPartialComparisonTool}) {
    addCommand(tools, id);
  }
  tools->addSeparator();
  addCommand(tools, kImageScope);
  addCommand(tools, kGallery);
  tools->addSeparator();
  addCommand(tools, kCalculator);
  addCommand(tools, kMemo);

  QMenu* help = topMenu("ﾍﾙﾌﾟ(&H)");
  addCommand(help, kQuickHelp);
  help->addSeparator();
  addCommand(help, kWebPage);
  addCommand(help, kVersion);
}

void WorkbenchWindow::buildToolbar() {
  const auto addButton = [this](int id) {
    QString tip = plainMenuText(id);
    for (std::size_t corner = 0; corner < kToolbarCornerButtons.size(); ++corner) {
      if (kToolbarCornerButtons[corner] == id) tip = QString::fromUtf8(kLayoutButtonTexts[corner]);
    }
    QAction* action = toolbar_->addAction(glyphIcon(toolbarGlyph(id)), tip);
    action->setObjectName(QString("tool%1").arg(id));
    action->setCheckable(isToolbarCheckButton(id));
    if (const char* help = commandHelpText(id)) setQuickHelpOn(action, QString::fromUtf8(help));
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    toolbarActions_[id] = action;
  };
  for (int id : kToolbarLayout) {
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
  const std::vector<MenuItem> items = historyMenuItems(bench_.settings.user);
  if (items.empty()) return;
  QAction* separator = fileMenu_->addSeparator();
  separator->setObjectName(QString::number(kHistorySeparator));
  historyActions_.push_back(separator);
  for (const MenuItem& item : items) {
    QAction* action = fileMenu_->addAction(menuSafe(item.text));
    action->setObjectName(QString::number(item.id));
    setQuickHelpOn(action, QString::fromUtf8(kHistoryHelpText));
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

bool WorkbenchWindow::commandAvailable(int id) const {
  return isHistoryItem(id) || available_.contains(id);
}

std::vector<std::string> WorkbenchWindow::clipboardFiles() const {
  std::vector<std::string> files;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  }
  return files;
}

CommandSituation WorkbenchWindow::situation() const {
  CommandSituation facts = situationOf(bench_);
  facts.clipboardHasFiles = !clipboardFiles().empty();
  facts.exchangeFileExists = persist::exchangeItemPresent(bench_.settings.folder);
  facts.baseWindowInUse = baseWindow_ != nullptr;
  return facts;
}

void WorkbenchWindow::updateCommandStates() {
  const CommandSituation facts = situation();
  for (const auto& [id, action] : menuActions_) {
    action->setEnabled(commandAvailable(id) && commandEnabled(id, facts));
    if (action->isCheckable()) action->setChecked(commandChecked(id, facts));
  }
  for (const auto& [submenu, menu] : submenus_) {
    menu->menuAction()->setEnabled(submenuEnabled(submenu, facts));
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
  setWindowTitle(fromUtf8(bench_.titles.main));
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
  refreshTitles();
  for (PicturePane* pane : picturePanes_) pane->refresh();
  for (ImagePane* pane : imagePanes_) pane->refresh();
  updateCommandStates();
}

void WorkbenchWindow::panesChanged() {
  refreshTitles();
  for (PicturePane* pane : picturePanes_) pane->refresh();
  for (ImagePane* pane : imagePanes_) pane->refresh();
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

void WorkbenchWindow::requestOpen(const QStringList& names, int mode, bool recordHistory) {
  const std::array<std::string, 2> pending{names.value(0).toStdString(),
                                           names.value(1).toStdString()};
  whenIdle([this, pending, mode, recordHistory] {
    bench_.shell.pendingNames = pending;
    openPending(mode, recordHistory);
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

int WorkbenchWindow::openPending(int mode, bool recordHistory) {
  const int result = openPendingNames(bench_, user_, busy_, progress_, mode, recordHistory);
  afterPictureCommand();
  return result;
}

void WorkbenchWindow::openArchive(const QString& path, bool pathKnown) {
  // From the menu the selection dialog itself chooses the file (it starts from the last one).
  ArchiveOpenWindow dialog(this, bench_);
  openArchiveAsPictures(bench_, user_, progress_, busy_, dialog, path.toStdString(), pathKnown);
  afterPictureCommand();
}

// ---------------------------------------------------------------------------------------------
// Commands

QString WorkbenchWindow::fileFilters() const {
  return QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp);;RAWﾌｧｲﾙ (*.raw);;全てのﾌｧｲﾙ (*)");
}

void WorkbenchWindow::askAndRun(const char* question, const std::function<void()>& action) {
  if (user_.askYesNo(question)) action();
}

void WorkbenchWindow::runCommand(int id) {
  if (!commandAvailable(id)) return;
  ++running_;
  runCommandNow(id);
  --running_;
}

void WorkbenchWindow::runCommandNow(int id) {
  quickHelp_->close();
  if (isHistoryItem(id)) {
    openHistoryEntry(bench_, user_, busy_, progress_, historyEntryOfCommand(id));
    afterPictureCommand();
    return;
  }
  if (const auto corner = layoutOffsetOfCommand(id, range_)) {
    setLayoutOffset(*corner);
    return;
  }
  switch (id) {
    case kOpenTwo:
      openTwoByDialog();
      break;
    case kOpenOne:
      openOneByDialog();
      break;
    case kReplace1:
      replaceOneByDialog(PictureSlot::First);
      break;
    case kReplace2:
      replaceOneByDialog(PictureSlot::Second);
      break;
    case kOpenArchive:
      openArchive(QString(), false);
      break;
    case kOverwrite1:
      overwritePicture(bench_, user_, PictureSlot::First);
      break;
    case kOverwrite2:
      overwritePicture(bench_, user_, PictureSlot::Second);
      break;
    case kSaveAsPicture1:
    case kSaveAsPicture2:
    case kSaveAsImage1:
    case kSaveAsImage2:
      saveAs(id);
      break;
    case kSaveDisplayed:
      bench_.shell.saveDisplayedImage = !bench_.shell.saveDisplayedImage;
      break;
    case kGreyValueText:
      exportGreyValues(this, bench_, user_);
      break;
    case kFileInformation:
      showFileInformation();
      break;
    case kReopenBoth:
      reopenPictures(bench_, user_, busy_, progress_, std::nullopt);
      break;
    case kReopen1:
      reopenPictures(bench_, user_, busy_, progress_, PictureSlot::First);
      break;
    case kReopen2:
      reopenPictures(bench_, user_, busy_, progress_, PictureSlot::Second);
      break;
    case kExit:
      close();
      return;
    case kPaste:
    case kPasteToPicture1:
    case kPasteToPicture2:
      paste(id);
      return;
    case kResize:
      changePictureSize(this, bench_, user_, busy_, progress_);
      break;
    case kSwap:
      swapPictures(bench_, user_, busy_, progress_);
      break;
    case kCopy1To2:
      copyPicture(bench_, user_, busy_, progress_, PictureSlot::First);
      break;
    case kCopy2To1:
      copyPicture(bench_, user_, busy_, progress_, PictureSlot::Second);
      break;
    case kImage1ToPicture1:
      imageToPicture(bench_, user_, busy_, progress_, ImageSlot::First, PictureSlot::First);
      break;
    case kImage1ToPicture2:
      imageToPicture(bench_, user_, busy_, progress_, ImageSlot::First, PictureSlot::Second);
      break;
    case kImage2ToPicture1:
      imageToPicture(bench_, user_, busy_, progress_, ImageSlot::Second, PictureSlot::First);
      break;
    case kImage2ToPicture2:
      imageToPicture(bench_, user_, busy_, progress_, ImageSlot::Second, PictureSlot::Second);
      break;
    case kImagesToPictures:
      imagesToPictures(bench_, user_, busy_, progress_, false);
      break;
    case kImagesToPicturesCrossed:
      imagesToPictures(bench_, user_, busy_, progress_, true);
      break;
    case kGreyScale1:
      greyScalePicture(bench_, user_, busy_, progress_, PictureSlot::First);
      break;
    case kGreyScale2:
      greyScalePicture(bench_, user_, busy_, progress_, PictureSlot::Second);
      break;
    case kRename1:
      rename(PictureSlot::First);
      break;
    case kRename2:
      rename(PictureSlot::Second);
      break;
    case kOptions:
      editOptions();
      return;
    case kClearHistory:
      askAndRun("ﾌｧｲﾙの履歴をｸﾘｱしてもよいですか", [this] {
        clearHistory(bench_.settings.user);
        if (!bench_.secondCopy) {
          persist::saveUserInfo(bench_.settings.folder, bench_.settings.user, user_,
                                bench_.settings.keepBad.user);
        }
      });
      break;
    case kClearShiftMarks:
      askAndRun("手動ｼﾌﾄのﾏｰｸ情報をｸﾘｱしてもよいですか", [this] {
        clearMarks(bench_.control);
        bench_.notifyPanesChanged();
      });
      break;
    case kClearDisplayMarks:
      askAndRun("表示位置のﾏｰｸ情報をｸﾘｱしてもよいですか", [this] { clearDisplayMarks(bench_); });
      break;
    case kClearExchangeFile:
      askAndRun("Vla内ｺﾋﾟｰ&ﾍﾟｰｽﾄﾌｧｲﾙ情報をｸﾘｱしてもよいですか",
                [this] { persist::deleteExchangeFile(bench_.settings.folder); });
      break;
    case kExport:
      exportPictures(this, bench_, user_, busy_, progress_);
      break;
    case kImport:
      importPictures(this, bench_, user_, busy_, progress_);
      break;
    case kUserProcessing:
      editUserProcessing(this, bench_, user_, busy_, progress_);
      break;
    case kCalculator:
      showCalculator(this, bench_);
      break;
    case kMemo:
      openMemo();
      break;
    case kVersion:
      showVersion();
      break;
    case kQuickHelp:
      bench_.shell.quickHelp = !bench_.shell.quickHelp;
      if (!bench_.shell.quickHelp) quickHelp_->close();
      break;
    default:
      break;
  }
  afterPictureCommand();
}

void WorkbenchWindow::openTwoByDialog() {
  QStringList names = dialogs_.open(
      QString::fromUtf8("画像１－画像２ﾌｧｲﾙの選択"), fileFilters(), true,
      fromUtf8(bench_.settings.program.lastFiles.openPicture[index(PictureSlot::First)]));
  if (names.isEmpty()) return;
  if (names.size() > 2) {
    user_.tell(Icon::Warning, "指定のﾌｧｲﾙ数が多すぎます");
    return;
  }
  if (nameEndsWithExtension(names.front().toStdString(), ".vla")) {
    openArchive(names.front(), true);
    return;
  }
  if (names.size() == 1) {
    const QStringList second = dialogs_.open(
        QString::fromUtf8("画像２ﾌｧｲﾙの選択"), fileFilters(), false,
        fromUtf8(bench_.settings.program.lastFiles.openPicture[index(PictureSlot::Second)]));
    if (second.isEmpty()) return;
    names << second.front();
  }
  bench_.shell.pendingNames = {names[0].toStdString(), names[1].toStdString()};
  openPending(kOpenBoth, true);
}

void WorkbenchWindow::openOneByDialog() {
  const QStringList names = dialogs_.open(
      QString::fromUtf8("画像ﾌｧｲﾙの選択"), fileFilters(), false,
      fromUtf8(bench_.settings.program.lastFiles.openPicture[index(PictureSlot::First)]));
  if (names.isEmpty()) return;
  bench_.shell.pendingNames = {names.front().toStdString(), std::string()};
  openPending(kOpenBoth, true);
}

void WorkbenchWindow::replaceOneByDialog(PictureSlot picture) {
  const QString title =
      QString::fromUtf8("画像ﾌｧｲﾙの選択") + QString(" (%1)へ入れ替え").arg(number(picture));
  const QStringList names =
      dialogs_.open(title, fileFilters(), false,
                    fromUtf8(bench_.settings.program.lastFiles.openPicture[index(picture)]));
  if (names.isEmpty()) return;
  bench_.shell.pendingNames = pictureNames(bench_.pictures);
  bench_.shell.pendingNames[index(picture)] = names.front().toStdString();
  openPending(openModeOf(picture), true);
}

void WorkbenchWindow::rename(PictureSlot picture) {
  if (const std::optional<QString> text = nameDialog_(picture)) {
    setPseudoName(bench_, picture, text->toStdString(), user_);
  }
}

void WorkbenchWindow::saveAs(int id) {
  const bool image = id == kSaveAsImage1 || id == kSaveAsImage2;
  const bool first = id == kSaveAsPicture1 || id == kSaveAsImage1;
  const char* what = image ? (first ? "イメージ１" : "イメージ２") : (first ? "画像１" : "画像２");
  const QString title = QString::fromUtf8("名前を付けて保存（%1）").arg(QString::fromUtf8(what));
  const QString path =
      dialogs_.save(title, QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp);;RAWﾌｧｲﾙ (*.raw)"),
                    fromUtf8(bench_.settings.program.lastFiles.saveAs));
  if (path.isEmpty()) return;
  // Either writer makes the path the save-as dialog's last file when it succeeds.
  if (image) {
    saveImageAs(bench_, user_, first ? ImageSlot::First : ImageSlot::Second, path.toStdString());
  } else {
    savePictureAs(bench_, user_, first ? PictureSlot::First : PictureSlot::Second,
                  path.toStdString());
  }
}

void WorkbenchWindow::paste(int id) {
  std::optional<PictureSlot> into;
  if (id == kPasteToPicture1) into = PictureSlot::First;
  if (id == kPasteToPicture2) into = PictureSlot::Second;
  const PasteDecision decision =
      pasteDecision(clipboardFiles(), into, pictureNames(bench_.pictures));
  switch (decision.action) {
    case PasteDecision::Action::Nothing:
      break;
    case PasteDecision::Action::OpenArchive:
      openArchive(fromUtf8(decision.archivePath), true);
      break;
    case PasteDecision::Action::OpenPictures:
      bench_.shell.pendingNames = decision.pendingNames;
      openPending(decision.mode, true);
      break;
  }
  afterPictureCommand();
}

void WorkbenchWindow::showFileInformation() {
  if (const auto text = fileInformationText(bench_)) {
    user_.tell(Icon::Info, *text, kFileInformationTitle);
  }
}

void WorkbenchWindow::openMemo() {
  std::string memo = bench_.options.MemoFile;
  if (!memo.empty() && memo.front() != '/') memo = bench_.settings.folder + "/" + memo;
  QDesktopServices::openUrl(QUrl::fromLocalFile(fromUtf8(memo)));
}

void WorkbenchWindow::showVersion() {
  user_.tell(Icon::Info, "Vemla " VEMLA_VERSION_TEXT "\n２つの8ﾋﾞｯﾄ濃淡画像の比較ﾂｰﾙ",
             "ﾊﾞｰｼﾞｮﾝ情報");
}

void WorkbenchWindow::editOptions() {
  if (vemla::editOptions(this, bench_, user_, busy_, progress_)) {
    emit restartNeeded();
    close();
    return;
  }
  // Options that change only what the windows show (colours, help texts) reach them here.
  bench_.notifyPicturesChanged();
  afterPictureCommand();
}

// ---------------------------------------------------------------------------------------------
// Window events

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  quickHelp_->close();
  saveWindowRectangle();
  event->accept();
}

void WorkbenchWindow::saveWindowRectangle() {
  const QRect frame = frameGeometry();
  const QSize screen = this->screen() != nullptr ? this->screen()->availableSize() : QSize();
  const persist::WindowRectangle current{frame.x(), frame.y(), frame.width(), frame.height()};
  if (const auto saved = savedWindowRect(current, screen.width(), screen.height())) {
    bench_.settings.program.window = *saved;
  }
}

}  // namespace vemla
