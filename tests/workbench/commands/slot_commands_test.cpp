#include "workbench/commands/slot_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

}  // namespace
}  // namespace vemla
