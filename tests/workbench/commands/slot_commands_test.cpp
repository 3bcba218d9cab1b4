#include "workbench/commands/slot_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "gallery/gallery_fixture.h"
#include "gallery/slot_kind.h"

namespace vemla {
namespace {

TEST(SlotCommandTable, EveryCommandOnceWithTextsAndAHandler) {
  std::set<SlotCommand> seen;
  for (const SlotCommandRow& row : slotCommandTable()) {
    const int id = static_cast<int>(row.command);
    EXPECT_TRUE(seen.insert(row.command).second) << id;
    EXPECT_TRUE(row.text != nullptr || row.label != nullptr) << id;
    // Only "変更" is a submenu the window builds.
    EXPECT_EQ(row.run == nullptr, row.command == SlotCommand::Transfer) << id;
    EXPECT_EQ(&slotCommandRow(row.command), &row) << id;
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(SlotCommand::PasteInternal) + 1);
}

// The first item names what opening the slot does: the viewer, the data's application, or the
// data run as a program when its title ends in ".exe" in any case.
TEST(SlotCommandTable, TheFirstItemFollowsTheSlotKind) {
  struct Case {
    int kind;
    const char* title;
    const char* text;
  };
  const Case cases[] = {
      {kSlotPicture, "a.exe", "Ｖｉｅｗ"},
      {kSlotData, "tool.exe", "ｱﾌﾟﾘｹｰｼｮﾝの実行"},
      {kSlotData, "TOOL.ExE", "ｱﾌﾟﾘｹｰｼｮﾝの実行"},
      {kSlotData, "notes.txt", "ｱﾌﾟﾘｹｰｼｮﾝから開く"},
      {kSlotData, "archive.exe1", "ｱﾌﾟﾘｹｰｼｮﾝから開く"},
      {kSlotData, "exe", "ｱﾌﾟﾘｹｰｼｮﾝから開く"},
  };
  const SlotCommandRow& first = slotCommandTable().front();
  ASSERT_EQ(first.command, SlotCommand::View);
  for (const Case& c : cases) {
    persist::GallerySlot record;
    record.kind = c.kind;
    record.title = c.title;
    const SlotLabel label = slotCommandLabel(first, record);
    EXPECT_STREQ(label.text, c.text) << c.title;
    EXPECT_NE(label.help, nullptr) << c.title;
  }
}

// What the gallery window answers and does for a slot command, as the host saw it.
class RecordingSlotHost final : public SlotCommandHost {
 public:
  bool viewerAvailable() const override { return true; }
  void viewSlot(int slot) override { seen += "view " + std::to_string(slot) + ";"; }
  void openData(int slot, const DataOpening&) override {
    seen += "data " + std::to_string(slot) + ";";
  }
  std::string chooseSaveName(int, const persist::GallerySlot&) override { return {}; }
  std::string chooseFileToLoad(int) override { return {}; }
  std::vector<std::string> clipboardFiles() const override { return {}; }
  void combineRgb(int slot) override { seen += "rgb " + std::to_string(slot) + ";"; }
  void editTitle(int slot) override { seen += "title " + std::to_string(slot) + ";"; }
  std::optional<int> chooseAssociationToReplace(const std::vector<std::string>& shown) override {
    extensions = shown;
    seen += "replace?;";
    return replaced;
  }
  std::string chooseApplication(const std::string& extension, const std::string&) override {
    seen += "application for " + extension + ";";
    return application;
  }
  void copyToPicture(int slot, PictureSlot picture) override {
    seen += "to picture " + std::to_string(number(picture)) + " from " + std::to_string(slot) +
            ";";
  }
  bool closeAfterCopy() const override { return closing; }
  void setCloseAfterCopy(bool on) override { closing = on; }
  void hideGallery() override { seen += "hide;"; }

  std::string seen;
  std::vector<std::string> extensions;
  std::optional<int> replaced;
  std::string application;
  bool closing = false;
};

class SlotCommands : public testing::GalleryFixture {
 protected:
  std::string run(SlotCommand command, int slot, bool fromSmallForm = false) {
    host.seen.clear();
    SlotCall call{bench, user, host, slot, fromSmallForm};
    runSlotCommand(command, call);
    return host.seen;
  }
  RecordingSlotHost host;
};

TEST_F(SlotCommands, CopiesToAPictureCloseTheSmallFormOnlyWhenAsked) {
  ASSERT_EQ(storeGrey(2, 8, 8, "pic"), 0);
  struct Case {
    SlotCommand command;
    bool fromSmallForm;
    bool closing;
    const char* seen;
  };
  const Case cases[] = {
      {SlotCommand::CopyToPicture1, false, true, "to picture 1 from 2;"},
      {SlotCommand::CopyToPicture2, true, false, "to picture 2 from 2;"},
      {SlotCommand::CopyToPicture2, true, true, "to picture 2 from 2;hide;"},
  };
  for (const Case& c : cases) {
    host.closing = c.closing;
    EXPECT_EQ(run(c.command, 2, c.fromSmallForm), c.seen);
  }
  run(SlotCommand::CloseAfterCopy, 2, true);
  EXPECT_FALSE(host.closing);
  // Outside the gallery nothing is asked.
  EXPECT_EQ(run(SlotCommand::CopyToPicture1, 99), "");
}

// With every entry in use the operator picks the one to give up before the application.
TEST_F(SlotCommands, AnAssociationReplacesTheEntryTheOperatorPicks) {
  ASSERT_EQ(storeData(0, {1}, "table.csv"), 0);
  for (std::size_t entry = 0; entry < bench.settings.associations.size(); ++entry) {
    bench.settings.associations[entry] = {"e" + std::to_string(entry), "/bin/old"};
  }
  EXPECT_EQ(run(SlotCommand::Associate, 0), "replace?;");  // cancelled
  EXPECT_EQ(host.extensions.size(), bench.settings.associations.size());
  EXPECT_EQ(host.extensions[3], "e3");
  host.replaced = 3;
  EXPECT_EQ(run(SlotCommand::Associate, 0), "replace?;application for csv;");  // cancelled
  EXPECT_EQ(bench.settings.associations[3].extension, "e3");
  host.application = "/usr/bin/calc";
  run(SlotCommand::Associate, 0);
  EXPECT_EQ(bench.settings.associations[3],
            (persist::ExtensionAssociation{"csv", "/usr/bin/calc"}));
}

}  // namespace
}  // namespace vemla
