#include "workbench/view/pane_drops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbench/view/pane_fixture.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/view/pane_numbers.h"

namespace vemla {
namespace {

using PaneDrops = PanePictures;

TEST_F(PaneDrops, DropDecisions) {
  // Three files: the first two as a pair, on any pane.
  const DropDecision pair{DropAction::Open, {}, {"a.bmp", "b.bmp"}, OpenMode::Both};
  EXPECT_EQ(decideDrop({"a.bmp", "b.bmp", "c.bmp"}, Pane::Picture2, true), pair);
  EXPECT_EQ(decideDrop({"a.bmp", "b.bmp", "c.bmp"}, Pane::Image1, false), pair);
  // An archive first goes to the archive flow, whatever follows.
  EXPECT_EQ(decideDrop({"set.VLA", "b.bmp"}, Pane::Picture1, true),
            (DropDecision{DropAction::OpenArchive, "set.VLA", {}, OpenMode::Both}));
  // A ".vla" second is not an archive request.
  EXPECT_EQ(decideDrop({"a.bmp", "b.vla"}, Pane::Picture1, true).action, DropAction::Open);
  // One file: alone without pictures or on an image pane; asked on a picture pane.
  const DropDecision alone{DropAction::Open, {}, {"a.bmp", ""}, OpenMode::Both};
  EXPECT_EQ(decideDrop({"a.bmp"}, Pane::Picture1, false), alone);
  EXPECT_EQ(decideDrop({"a.bmp"}, Pane::Image2, true), alone);
  EXPECT_EQ(decideDrop({"a.bmp"}, Pane::Picture2, true).action, DropAction::Ask);
  EXPECT_EQ(decideDrop({}, Pane::Picture1, true).action, DropAction::Nothing);
}

TEST_F(PaneDrops, TheAnswerToADropKeepsTheOtherPicture) {
  open(64, 64);
  EXPECT_EQ(resolveDropChoice("new.bmp", Pane::Picture2, DropChoice::Replace, bench),
            (DropDecision{DropAction::Open, {}, {"/p/one.bmp", "new.bmp"}, OpenMode::SecondOnly}));
  EXPECT_EQ(resolveDropChoice("new.bmp", Pane::Picture1, DropChoice::Replace, bench),
            (DropDecision{DropAction::Open, {}, {"new.bmp", "/p/two.bmp"}, OpenMode::FirstOnly}));
  EXPECT_EQ(resolveDropChoice("new.bmp", Pane::Picture1, DropChoice::Alone, bench),
            (DropDecision{DropAction::Open, {}, {"new.bmp", ""}, OpenMode::Both}));
  EXPECT_EQ(resolveDropChoice("new.bmp", Pane::Picture1, DropChoice::Cancel, bench).action,
            DropAction::Nothing);
}

TEST_F(PaneDrops, PasteCommands) {
  open(64, 64);
  const std::vector<std::string> files{"x.bmp", "y.bmp"};
  EXPECT_EQ(decidePaste(files, Pane::Picture1, PaneCommand::PasteAlone, bench),
            (DropDecision{DropAction::Open, {}, {"x.bmp", ""}, OpenMode::Both}));
  EXPECT_EQ(decidePaste(files, Pane::Picture2, PaneCommand::PasteReplace, bench),
            (DropDecision{DropAction::Open, {}, {"/p/one.bmp", "x.bmp"}, OpenMode::SecondOnly}));
  EXPECT_EQ(decidePaste(files, Pane::Image1, PaneCommand::Paste, bench),
            (DropDecision{DropAction::Open, {}, {"x.bmp", "y.bmp"}, OpenMode::Both}));
  EXPECT_EQ(decidePaste({"a.vla"}, Pane::Picture1, PaneCommand::PasteReplace, bench).action,
            DropAction::OpenArchive);
  EXPECT_EQ(decidePaste({}, Pane::Image1, PaneCommand::Paste, bench).action, DropAction::Nothing);
}

}  // namespace
}  // namespace vemla
