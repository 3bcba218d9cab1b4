#include "workbench/commands/file_history.h"

#include <gtest/gtest.h>

#include <string>

namespace vemla {
namespace {

using persist::UserInfo;

std::string nth(int i) {
  return "/p/a" + std::to_string(i) + ".bmp";
}

TEST(FileHistory, SamePairTwiceKeepsOneEntryAtTheTop) {
  UserInfo info;
  EXPECT_TRUE(recordCombination(info, "/p/a.bmp", "/p/b.bmp"));
  EXPECT_TRUE(recordCombination(info, "/p/c.bmp", ""));
  EXPECT_TRUE(recordCombination(info, "/p/a.bmp", "/p/b.bmp"));
  EXPECT_EQ(info.history[0].used, 1);
  EXPECT_EQ(info.history[0].names[0], "/p/a.bmp");
  EXPECT_EQ(info.history[0].names[1], "/p/b.bmp");
  EXPECT_EQ(info.history[1].names[0], "/p/c.bmp");
  EXPECT_EQ(info.history[2].used, 0);
}

TEST(FileHistory, MatchIgnoresCaseAndTakesTheNewSpelling) {
  UserInfo info;
  recordCombination(info, "/P/A.BMP", "/p/b.bmp");
  recordCombination(info, "/p/x.bmp", "/p/y.bmp");
  recordCombination(info, "/p/a.bmp", "/P/B.Bmp");
  EXPECT_EQ(info.history[0].names[0], "/p/a.bmp");
  EXPECT_EQ(info.history[0].names[1], "/P/B.Bmp");
  EXPECT_EQ(info.history[1].names[0], "/p/x.bmp");
  EXPECT_EQ(info.history[2].used, 0);
  // Only both names together make a match: the same first name with another second is new.
  recordCombination(info, "/p/a.bmp", "/p/other.bmp");
  EXPECT_EQ(info.history[0].names[1], "/p/other.bmp");
  EXPECT_EQ(info.history[1].names[1], "/P/B.Bmp");
  EXPECT_EQ(info.history[2].names[0], "/p/x.bmp");
}

TEST(FileHistory, SeventeenthCombinationDropsTheOldest) {
  UserInfo info;
  for (int i = 1; i <= 17; ++i) recordCombination(info, nth(i), "");
  EXPECT_EQ(info.history[0].names[0], nth(17));
  EXPECT_EQ(info.history[15].names[0], nth(2));  // nth(1) fell out
  for (const auto& entry : info.history) EXPECT_EQ(entry.used, 1);
  // Moving the oldest remaining entry to the top loses nothing else.
  recordCombination(info, nth(2), "");
  EXPECT_EQ(info.history[0].names[0], nth(2));
  EXPECT_EQ(info.history[1].names[0], nth(17));
  EXPECT_EQ(info.history[15].names[0], nth(3));
}

TEST(FileHistory, PseudoNamesAndEmptyPairsAreNeverRecorded) {
  UserInfo info;
  EXPECT_FALSE(recordCombination(info, "<Import1>", "<Import2>"));
  EXPECT_FALSE(recordCombination(info, "/p/a.bmp", "<平均>"));
  EXPECT_FALSE(recordCombination(info, "", ""));
  EXPECT_EQ(info.history[0].used, 0);
  EXPECT_TRUE(recordCombination(info, "", "/p/b.raw"));
  EXPECT_EQ(info.history[0].names[1], "/p/b.raw");
}

TEST(RecentPictureList, KeepsOnlyBitmapAndRawNamesNewestFirst) {
  UserInfo info;
  EXPECT_TRUE(recordRecentPicture(info, "/p/a.bmp", 64, 32, 99));
  EXPECT_TRUE(recordRecentPicture(info, "/p/b.RAW", 16, 8, 100));
  EXPECT_FALSE(recordRecentPicture(info, "/p/c.vla", 16, 8, 0));
  EXPECT_FALSE(recordRecentPicture(info, "<Import1>", 16, 8, 0));
  EXPECT_FALSE(recordRecentPicture(info, ".raw", 16, 8, 0));
  EXPECT_EQ(info.recent[0], (persist::RecentPicture{1, 16, 8, 100, "/p/b.RAW"}));
  // A bitmap has no start offset.
  EXPECT_EQ(info.recent[1], (persist::RecentPicture{1, 64, 32, 0, "/p/a.bmp"}));
  EXPECT_EQ(info.recent[2].used, 0);
}

TEST(RecentPictureList, EqualNameIsRemovedFirstAndSixteenAreKept) {
  UserInfo info;
  for (int i = 1; i <= 16; ++i) recordRecentPicture(info, nth(i), 8, 8, 0);
  recordRecentPicture(info, "/P/A5.bmp", 10, 12, 0);
  EXPECT_EQ(info.recent[0].name, "/P/A5.bmp");
  EXPECT_EQ(info.recent[0].width, 10);
  // a5 left its place: a16 .. a6 then a4 .. a1, nothing dropped.
  EXPECT_EQ(info.recent[1].name, nth(16));
  EXPECT_EQ(info.recent[11].name, nth(6));
  EXPECT_EQ(info.recent[12].name, nth(4));
  EXPECT_EQ(info.recent[15].name, nth(1));
  recordRecentPicture(info, nth(17), 8, 8, 0);
  EXPECT_EQ(info.recent[15].name, nth(2));
}

TEST(RecentPictureList, RefusesOffsetsTheFieldCannotHold) {
  UserInfo info;
  EXPECT_FALSE(recordRecentPicture(info, "/p/big.raw", 8, 8, 0x80000000LL));
  EXPECT_FALSE(recordRecentPicture(info, "/p/neg.raw", 8, 8, -1));
  EXPECT_TRUE(recordRecentPicture(info, "/p/max.raw", 8, 8, 0x7FFFFFFFLL));
  EXPECT_EQ(info.recent[0].rawOffset, 0x7FFFFFFF);
  EXPECT_EQ(info.recent[1].used, 0);
}

TEST(FileHistory, ClearEmptiesHistoryAndRecentPictures) {
  UserInfo info;
  info.colourAssociation[3] = 1;
  recordCombination(info, "/p/a.bmp", "/p/b.bmp");
  recordRecentPicture(info, "/p/a.bmp", 8, 8, 0);
  clearHistory(info);
  EXPECT_EQ(info.history, UserInfo{}.history);
  EXPECT_EQ(info.recent, UserInfo{}.recent);
  EXPECT_EQ(info.colourAssociation[3], 1);  // the rest of the user information stays
}

TEST(HistoryMenu, ItemTextsAndIdentifiers) {
  UserInfo info;
  recordCombination(info, "", "/p/only2.bmp");        // will be entry 3
  recordCombination(info, "/p/only1.raw", "");        // entry 2
  recordCombination(info, "/p/a&b.bmp", "/p/c.bmp");  // entry 1
  for (int i = 4; i <= 10; ++i) recordCombination(info, nth(i), "");
  // Entries, newest first: a10 .. a4 (1..7), then a&b/c (8), only1 (9), only2 (10).
  const std::vector<MenuItem> items = historyMenuItems(info);
  ASSERT_EQ(items.size(), 11u);
  EXPECT_EQ(items[0].id, 651);
  EXPECT_EQ(items[0].text, " 1. /p/a10.bmp");
  EXPECT_EQ(items[6].id, 651 + 2 * 6);
  EXPECT_EQ(items[6].text, " 7. /p/a4.bmp");
  EXPECT_EQ(items[7].id, 665);
  EXPECT_EQ(items[7].text, " 8. /p/a&b.bmp");
  EXPECT_EQ(items[8].id, 666);
  EXPECT_EQ(items[8].text, "    /p/c.bmp");
  EXPECT_EQ(items[9].id, 667);
  EXPECT_EQ(items[9].text, " 9. /p/only1.raw");
  // An empty Picture 1 name: the Picture 2 item carries the number.
  EXPECT_EQ(items[10].id, 670);
  EXPECT_EQ(items[10].text, "10. /p/only2.bmp");
}

TEST(HistoryMenu, CommandsMapToEntries) {
  EXPECT_EQ(historyEntryOfCommand(651), 0);
  EXPECT_EQ(historyEntryOfCommand(652), 0);
  EXPECT_EQ(historyEntryOfCommand(653), 1);
  EXPECT_EQ(historyEntryOfCommand(681), 15);
  EXPECT_EQ(historyEntryOfCommand(682), 15);
  EXPECT_EQ(historyEntryOfCommand(650), -1);
  EXPECT_EQ(historyEntryOfCommand(683), -1);
  EXPECT_EQ(historyEntryOfCommand(40001), -1);
}

TEST(HistoryMenu, UnusedEntriesGiveNoItems) {
  UserInfo info;
  EXPECT_TRUE(historyMenuItems(info).empty());
  info.history[2] = {1, {"/p/x.bmp", ""}};  // a gap left by a hand-edited file
  const auto items = historyMenuItems(info);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].id, 655);
  EXPECT_EQ(items[0].text, " 3. /p/x.bmp");
}

}  // namespace
}  // namespace vemla
