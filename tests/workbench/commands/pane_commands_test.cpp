#include "workbench/commands/pane_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/workbench_fixture.h"
#include "workbench/picture/prepare_pictures.h"

namespace vemla {
namespace {

void collectCommands(std::span<const PaneMenuLine> lines, std::set<PaneCommand>& used) {
  for (const PaneMenuLine& line : lines) {
    if (line.command != PaneCommand::None) {
      EXPECT_NE(findPaneCommand(line.command), nullptr) << static_cast<int>(line.command);
      used.insert(line.command);
    }
    collectCommands(line.submenu, used);
  }
}

// A menu line without a row would fail when the menu opens; a row no menu offers is dead.
TEST(PaneCommandTable, EveryRowOnceAndEveryMenuLineHasItsRow) {
  std::set<PaneCommand> rows;
  for (const PaneCommandRow& row : paneCommandTable()) {
    EXPECT_TRUE(rows.insert(row.command).second) << static_cast<int>(row.command);
    EXPECT_NE(row.run, nullptr) << static_cast<int>(row.command);
  }
  std::set<PaneCommand> used;
  collectCommands(picturePaneLines(), used);
  collectCommands(imagePaneLines(), used);
  collectCommands(paneMenuTail(), used);
  EXPECT_EQ(used, rows);
  EXPECT_EQ(findPaneCommand(PaneCommand::None), nullptr);
}

// What the window does for a pane command, as the host saw it.
class RecordingPaneHost final : public PaneCommandHost {
 public:
  std::vector<std::string> clipboardFiles() const override { return files; }
  void openPasted(const DropDecision& decision) override {
    seen = "open";
    for (const std::string& name : decision.names) seen += " [" + name + "]";
    seen += " mode " + std::to_string(static_cast<int>(decision.mode));
  }
  void openRecent(PictureSlot picture, int entry) override {
    seen = "recent " + std::to_string(number(picture)) + " " + std::to_string(entry);
  }
  void showPaneHelp() override { seen = "help"; }
  void viewPane() override { seen = "view"; }

  std::vector<std::string> files;
  std::string seen;
};

class PaneCommands : public testing::WorkbenchFixture {
 protected:
  bool run(Pane pane, PaneCommand command, int argument = 0) {
    const PaneMenuContext context;
    PaneCall call{bench, pane, context, user, busy, progress, &host, argument};
    return runPaneCommand(call, command);
  }

  NoBusyPort busy;
  RecordingPaneHost host;
};

TEST_F(PaneCommands, CommandsOfTheWindowReachTheHost) {
  MemoryPictures names;
  names.names = {"/p/one.bmp", "/p/two.bmp"};
  openPictures(16, 8, everywhere(1), everywhere(2), names);
  host.files = {"/p/new.bmp", "/p/other.bmp"};
  struct Case {
    Pane pane;
    PaneCommand command;
    int argument;
    const char* seen;
  };
  const Case cases[] = {
      {Pane::Picture1, PaneCommand::PasteAlone, 0, "open [/p/new.bmp] [] mode 0"},
      {Pane::Picture2, PaneCommand::PasteReplace, 0, "open [/p/one.bmp] [/p/new.bmp] mode 2"},
      {Pane::Image2, PaneCommand::Paste, 0, "open [/p/new.bmp] [/p/other.bmp] mode 0"},
      {Pane::Picture2, PaneCommand::PasteFromHistory, 3, "recent 2 3"},
      {Pane::Image1, PaneCommand::PasteFromHistory, 5, "recent 1 5"},
      {Pane::Image1, PaneCommand::Help, 0, "help"},
      {Pane::Picture2, PaneCommand::View, 0, "view"},
  };
  for (const Case& c : cases) {
    host.seen.clear();
    EXPECT_TRUE(run(c.pane, c.command, c.argument)) << c.seen;
    EXPECT_EQ(host.seen, c.seen);
  }
  // Nothing to paste: nothing opens.
  host.files.clear();
  host.seen.clear();
  EXPECT_FALSE(run(Pane::Image1, PaneCommand::Paste));
  EXPECT_EQ(host.seen, "");
}

}  // namespace
}  // namespace vemla
