#include "workbench/extensions/user_colour_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "processing/image_kinds.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

UserColourEntry entry(const std::string& name, std::uint8_t red0) {
  UserColourEntry e;
  e.inUse = 1;
  e.name = name;
  e.table[0] = red0;
  return e;
}

class ColourEditing : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    bench.settings.folder = folder.path();
  }
  std::array<UserColourEntry, kUserEntryCount>& table() { return bench.userEntries.colours; }
  ImageControlSelections& selections() { return bench.images.selections; }
  // Three tables "a", "b", "c" with intensities 3, 4, 5 and brightness 30, 40, 50.
  void threeTables() {
    for (std::size_t i = 0; i < 3; ++i) {
      table()[i] = entry(std::string(1, static_cast<char>('a' + i)), static_cast<std::uint8_t>(i));
      selections().intensity[16 + i] = static_cast<int>(i) + 3;
      selections().brightness[16 + i] = static_cast<int>(i + 3) * 10;
    }
  }
  bool fileWritten() const { return std::filesystem::exists(folder.file("VemlaUinf.dat")); }
  testing::TempDir folder;
};

TEST_F(ColourEditing, AddingTakesTheFirstFreeSlotWithDefaultIntensityAndBrightness) {
  threeTables();
  table()[1] = {};
  selections().intensity[17] = 9;
  UserColourEditing editing(bench, user);
  editing.setEdit(entry("new", 77));
  ASSERT_TRUE(editing.add());
  EXPECT_EQ(table()[1].name, "new");
  EXPECT_EQ(table()[1].table[0], 77);
  EXPECT_EQ(selections().intensity[17], 1);
  EXPECT_EQ(selections().brightness[17], 128);
  EXPECT_EQ(editing.selectedSlot(), 1);
  EXPECT_TRUE(editing.modified());
  EXPECT_FALSE(fileWritten());  // only "更新" and "OK" write

  for (auto& e : table()) e = entry("x" + std::to_string(&e - table().data()), 0);
  editing.setEdit(entry("", 0));
  EXPECT_FALSE(editing.add());
  EXPECT_EQ(user.onlyMessage(), "これ以上追加できません");
}

TEST_F(ColourEditing, DeletingMovesLaterTablesUpOrIsRefusedWhileAssociated) {
  threeTables();
  bench.shell.userColourEditor.selection = 0;
  UserColourEditing editing(bench, user);
  selections().kindColours[1][kBuiltInKindCount - 1] = kFirstUserColour + 2;
  EXPECT_FALSE(editing.remove());
  EXPECT_EQ(user.onlyMessage(),
            "ｲﾒｰｼﾞ作成処理でﾕｰｻﾞｶﾗｰを指定している場合は削除できません\n「設定-ｶﾗｰ情報の初期化」"
            "で関連付けをﾘｾｯﾄしてください");
  // An association of a user processing entry that is not in use does not count.
  selections().kindColours[1][kBuiltInKindCount - 1] = kColourGrey;
  selections().userProcessingColours[0][4] = kFirstUserColour;
  ASSERT_TRUE(editing.remove());
  EXPECT_EQ(editing.names(), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(table()[1].table[0], 2);
  EXPECT_EQ(selections().intensity[16], 4);
  EXPECT_EQ(selections().brightness[17], 50);
  EXPECT_EQ(selections().intensity[18], 1);
  EXPECT_EQ(editing.edit().name, "b");
  bench.userEntries.processing[4].inUse = 1;
  EXPECT_FALSE(editing.remove());
}

// "ｷｬﾝｾﾙ" with a yes takes the tables, intensities and brightness back from memory, never from
// the file (there is none here to read).
TEST_F(ColourEditing, CancelRestoresTheSnapshotOfTheLastSave) {
  threeTables();
  UserColourEditing editing(bench, user);
  editing.setEdit(entry("a", 200));
  ASSERT_TRUE(editing.save());
  ASSERT_TRUE(fileWritten());
  std::filesystem::remove(folder.file("VemlaUinf.dat"));
  const auto saved = table();
  editing.setEdit(entry("added", 1));
  ASSERT_TRUE(editing.add());
  ASSERT_TRUE(editing.choose(0));
  ASSERT_TRUE(editing.remove());
  user.yesNoAnswers = {false, true};
  EXPECT_FALSE(editing.cancel());
  EXPECT_TRUE(editing.cancel());
  EXPECT_EQ(table(), saved);
  EXPECT_EQ(selections().intensity[17], 4);
  EXPECT_EQ(selections().brightness[18], 50);
  EXPECT_EQ(bench.shell.userColourEditor.selection, 0);
}

TEST_F(ColourEditing, ASecondCopyStoresButNeverWrites) {
  bench.secondCopy = true;
  UserColourEditing editing(bench, user);
  editing.setEdit(entry("t", 5));
  ASSERT_TRUE(editing.finish());
  EXPECT_EQ(table()[0].name, "t");
  EXPECT_FALSE(fileWritten());
}

TEST_F(ColourEditing, ChangingATableShownRepaintsThePaneAtOnce) {
  threeTables();
  openPictures(8, 8, everywhere(0), everywhere(0));
  selections().kindColours[0][static_cast<std::size_t>(bench.images.kind[0])] =
      kFirstUserColour + 1;
  selections().brightness[17] = 128;
  bench.view.colourDisplay = true;
  paintPanes(bench);
  bench.shell.userColourEditor.selection = 1;
  UserColourEditing editing(bench, user);
  UserColourEntry edit = editing.edit();
  edit.table[0] = 99;  // red at grey 0
  editing.setEdit(edit);
  ASSERT_TRUE(editing.change());
  EXPECT_EQ(bench.view.panes[0].colours[0].red, 99);
  EXPECT_TRUE(editing.recomputed(ImageSlot::First));
  EXPECT_FALSE(editing.recomputed(ImageSlot::Second));
}

TEST_F(ColourEditing, ReadingAFileAsksToEditABadOneAndKeepsTheTable) {
  UserColourEditing editing(bench, user);
  const std::string bad = folder.file("bad.txt");
  testing::writeBytes(bad, {'1', ',', '2', '\n'});
  user.yesNoCancelAnswers = {Answer::Yes, Answer::No};
  EXPECT_EQ(editing.readFile(bad), UserColourEditing::ReadOutcome::Edit);
  EXPECT_EQ(editing.readFile(bad), UserColourEditing::ReadOutcome::Refused);
  ASSERT_EQ(user.questions.size(), 2u);
  EXPECT_EQ(user.questions[0].substr(0, 70),
            ("ﾌｧｲﾙのﾌｫｰﾏｯﾄに誤りがあります(ﾗｲﾝ番号：1)\n" + bad).substr(0, 70));
  EXPECT_EQ(editing.edit().table, UserColourTable{});
  EXPECT_EQ(bench.shell.userColourEditor.path, bad);

  ASSERT_TRUE(editing.writeFile(folder.file("out.txt")));
  EXPECT_EQ(editing.readFile(folder.file("out.txt")), UserColourEditing::ReadOutcome::Read);
  EXPECT_FALSE(editing.writeFile(folder.file("none/out.txt")));
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙの書き込みができません\n" + folder.file("none/out.txt"));
}

}  // namespace
}  // namespace vemla
