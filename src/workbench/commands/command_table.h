#pragma once
// The main window's command table: one row per menu item and toolbar button with its
// identifier, its place in the menu, its texts, its toolbar face, when it is enabled and
// checked, and the handler that carries it out. The menus, the toolbar, the quick help and the
// dispatch all read this table, so a new command is one row and its handler.
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ports.h"
#include "text/translate.h"
#include "workbench/commands/command_ids.h"
#include "workbench/commands/command_state.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/workbench.h"

namespace vemla {

// What only the main window can supply to a command: the operator's answers in the window's
// own dialogs, the clipboard, and the work that belongs to the windows. The archive selection
// dialog ("Ｖｌａファイルを開く") is its base. Implemented by the main window.
class CommandHost : public ArchiveOpenDialog {
 public:
  // An open dialog (one name, or several with `several`) and a save dialog, starting at
  // `start`; `filters` are entries such as "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)". Empty when cancelled.
  virtual std::vector<std::string> chooseFilesToOpen(std::string_view title,
                                                     std::span<const char* const> filters,
                                                     bool several, const std::string& start) = 0;
  virtual std::string chooseFileToSave(std::string_view title, std::span<const char* const> filters,
                                       const std::string& start) = 0;
  // The local files the clipboard holds, in order.
  virtual std::vector<std::string> clipboardFiles() const = 0;
  // "画像%s名称の設定": the text `picture`'s pseudo-name is to take, nullopt when cancelled.
  virtual std::optional<std::string> askPictureName(PictureSlot picture) = 0;
  // A command whose whole work belongs to the windows (a dialog window of its own, the
  // version box, the memo opened by its application, a corner of the layout, closing the
  // main window): its row says `inWindow`, and the handler the window registered for it runs.
  // Nothing for a command without one.
  void runInWindow(int command);
  bool handlesInWindow(int command) const;

 protected:
  // The window's handler of command `command` (a later one replaces it).
  void handleInWindow(int command, std::function<void()> handler);

 private:
  std::map<int, std::function<void()>> windowHandlers_;
};

// What a handler works with.
struct CommandContext {
  Workbench& bench;
  UserPort& user;
  BusyPort& busy;
  ProgressPort& progress;
  CommandHost& host;
};

using CommandRule = bool (*)(const CommandSituation&);
using CommandHandler = void (*)(CommandContext&);

// The menus of MAINMENU and their submenus; None for a toolbar-only command.
enum class Menu {
  File,
  Edit,
  Picture,
  User,
  Communication,
  State,
  Settings,
  Tools,
  Help,
  ReplaceOne,      // File: 40103, 40104
  Overwrite,       // File: 40008, 40009
  SaveAs,          // File: 40011-40014, 40037
  Reopen,          // File: 40027-40029
  CopyPictures,    // Picture: 40030, 40031
  CopyFromImages,  // Picture: 40015-40020
  GreyScale,       // Picture: 40021, 40022
  Rename,          // Picture: 40088, 40089
  None,
};

struct Command {
  int id = 0;
  Menu menu = Menu::None;
  bool separatorBefore = false;  // a separator precedes it in its menu
  // The menu text ("&" marks the access key); for a toolbar-only command its button's tip.
  const char* text = nullptr;
  const char* help = nullptr;  // quick help; null: none
  // The toolbar button's face: the name of its drawing, src/windows/main/icons/<glyph>.svg;
  // null: not on the toolbar.
  const char* glyph = nullptr;
  // The toolbar button's tip where the menu text alone does not say what it does; null: the
  // menu text.
  const char* tip = nullptr;
  // The toolbar keeps the button enabled whatever `enabled` says.
  bool toolbarAlwaysEnabled = false;
  CommandRule enabled = nullptr;  // null: always enabled
  CommandRule checked = nullptr;  // null: not a check item
  CommandHandler run = nullptr;   // null: its subsystem is not there yet; shown disabled
  // The window carries it out (CommandHost::runInWindow) instead of `run`.
  bool inWindow = false;
};

// A menu of MAINMENU (parent None) or a submenu. A submenu sits in its parent where its first
// command is; it is enabled by its own rule or, without one, while any of its commands is.
inline constexpr int kMenuHelpOffset = 24;  // the help pop-up's distance below the cursor
struct MenuEntry {
  Menu menu = Menu::None;
  Menu parent = Menu::None;
  bool separatorBefore = false;  // a separator precedes the submenu in its parent
  const char* text = nullptr;
  const char* help = nullptr;
  int helpOffset = kMenuHelpOffset;
  CommandRule enabled = nullptr;
};

// The rows in menu order: File, Edit, Picture, …, Help, then the toolbar-only commands.
std::span<const Command> commandTable();
// The row of `id`; null for an identifier that is not in the table (history items included).
const Command* findCommand(int id);
// The menus in menu-bar order, then the submenus.
std::span<const MenuEntry> menuTable();
const MenuEntry& menuEntry(Menu menu);

// Quick help of every history item.
inline constexpr const char* kHistoryHelpText = text::N_(
    "開いたﾌｧｲﾙの履歴が最大で16個の組み合わせで表示されます\n選択することによりその組み合わせでﾌｧｲﾙ"
    "が開きます");
// Quick-help text of a menu item (history items included); null when it has none.
const char* commandHelpText(int id);

// Menu rules, evaluated each time a menu opens. History items (651-682) are enabled unless
// editing. An identifier that is no command is disabled and unchecked.
bool commandEnabled(int id, const CommandSituation& situation);
bool commandChecked(int id, const CommandSituation& situation);
bool isCheckCommand(int id);
bool menuEnabled(Menu menu, const CommandSituation& situation);
// Toolbar rules: a button follows its menu rule unless the toolbar keeps it always enabled.
bool toolbarEnabled(int id, const CommandSituation& situation);
bool toolbarChecked(int id, const CommandSituation& situation);

// Whether the command has a handler or is carried out by the window (history items always do).
bool commandAvailable(int id);
// Carries out command `id` (a history item opens its entry); nothing for an unavailable one.
void runCommand(int id, CommandContext& context);

// The toolbar from left to right; 0 stands for a separator. While the layout sits in the
// scrolling base window, a separator and the four corner buttons follow.
inline constexpr int kToolbarSeparator = 0;
std::span<const int> toolbarLayout();
inline constexpr std::array<int, 4> kToolbarCornerButtons{kLayoutTopLeft, kLayoutTopRight,
                                                          kLayoutBottomLeft, kLayoutBottomRight};

}  // namespace vemla
