#include "workbench/editing/picture_editing.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "picture/file_helpers.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"

namespace vemla {
namespace {

class PictureEditing : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    bench.settings.folder = folder.path();
    openPictures(
        16, 12, [](int x, int y) { return 1 + x + 16 * y; }, everywhere(77));
  }
  EditSettings& settings() { return bench.shell.pictureEdit.settings; }
  const EditSession& session() { return bench.shell.pictureEdit.session; }
  Bytes plane(int index) {
    const std::uint8_t* p = bench.store.plane(index);
    return Bytes(p, p + 16 * 12);
  }
  int operate(const char* operand, EditOperation operation = EditOperation::Set) {
    settings().operation = operation;
    settings().operand = operand;
    return editOperate(bench, user, progress, progress);
  }

  testing::TempDir folder;
};

TEST_F(PictureEditing, EditsRefreshAndUndoRestoresTheSnapshotExactly) {
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::Second, user), 0);
  EXPECT_TRUE(bench.pictures.editing);
  const std::string snapshot = session().snapshot;
  EXPECT_TRUE(std::filesystem::path(snapshot).filename().string().starts_with("$VE"));
  EXPECT_EQ(temporaryNameOwner(std::filesystem::path(snapshot).filename().string()), getpid());
  EXPECT_EQ(fileSize(snapshot), 16 * 12);
  EXPECT_FALSE(session().modified);

  const int refreshes = listener.pictures;
  settings().range = {true, false, {2, 3, 5, 4}};
  ASSERT_EQ(operate("10", EditOperation::Add), 0);
  EXPECT_TRUE(session().modified);
  EXPECT_EQ(listener.pictures, refreshes + 1);
  EXPECT_EQ(pixel(kPicture2, 2, 3), 87);
  EXPECT_EQ(pixel(kShifted2, 5, 4), 87);  // the refresh chain ran
  EXPECT_EQ(pixel(kPicture2, 6, 3), 77);
  EXPECT_EQ(plane(kPicture1), picture1);

  user.yesNoAnswers = {false, true};
  EXPECT_EQ(undoPictureEdits(bench, user, progress, progress), -1);  // declined
  EXPECT_EQ(pixel(kPicture2, 2, 3), 87);
  EXPECT_EQ(undoPictureEdits(bench, user, progress, progress), 1);
  EXPECT_EQ(plane(kPicture2), picture2);
  EXPECT_EQ(user.questions, (std::vector<std::string>(2, msg::kEditsLost)));
  EXPECT_EQ(undoPictureEdits(bench, user, progress, progress), 0);  // nothing to undo, no question

  finishPictureEditing(bench);
  EXPECT_FALSE(bench.pictures.editing);
  EXPECT_FALSE(fileExists(snapshot));
}

TEST_F(PictureEditing, NoEditingStateWhenTheFirstSnapshotCannotBeWritten) {
  bench.settings.folder = folder.file("missing");
  EXPECT_EQ(startPictureEditing(bench, PictureSlot::First, user), -1);
  EXPECT_EQ(user.onlyMessage(), msg::kSnapshotWriteFailed);
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_FALSE(bench.pictures.editing);
}

TEST_F(PictureEditing, FailedUpdateKeepsTheOldSnapshotAndTheModifiedFlag) {
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  const std::string snapshot = session().snapshot, aside = folder.file("aside");
  ASSERT_EQ(operate("0"), 0);
  std::filesystem::rename(snapshot, aside);
  std::filesystem::create_directory(snapshot);  // a folder cannot be replaced
  EXPECT_EQ(updatePictureSnapshot(bench, user), -1);
  EXPECT_EQ(user.onlyMessage(), msg::kSnapshotWriteFailed);
  EXPECT_TRUE(session().modified);
  std::filesystem::remove(snapshot);
  std::filesystem::rename(aside, snapshot);
  user.yesNoAnswers = {true};
  EXPECT_EQ(undoPictureEdits(bench, user, progress, progress), 1);
  EXPECT_EQ(plane(kPicture1), picture1);

  ASSERT_EQ(operate("9"), 0);
  EXPECT_EQ(updatePictureSnapshot(bench, user), 0);
  EXPECT_FALSE(session().modified);
  EXPECT_EQ(readWholeFile(snapshot, 1000), Bytes(16 * 12, 9));
}

TEST_F(PictureEditing, ATruncatedOrGrownSnapshotLeavesThePictureAndTheSessionAsTheyAre) {
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  ASSERT_EQ(operate("5"), 0);
  for (const std::size_t size : {std::size_t{16 * 12 - 1}, std::size_t{16 * 12 + 1}}) {
    std::filesystem::resize_file(session().snapshot, size);
    user.messages.clear();
    user.yesNoAnswers = {true, true};
    EXPECT_EQ(undoPictureEdits(bench, user, progress, progress), -1);
    EXPECT_EQ(user.onlyMessage(), msg::kSnapshotReadFailed);
    EXPECT_EQ(plane(kPicture1), Bytes(16 * 12, 5));
    EXPECT_FALSE(cancelPictureEditing(bench, user, progress, progress));  // stays open
    EXPECT_TRUE(bench.pictures.editing);
  }
}

TEST_F(PictureEditing, RefusalsChangeNothingAndRunNoRefresh) {
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  const int refreshes = listener.pictures;
  EXPECT_EQ(operate("1e3"), -1);
  EXPECT_EQ(operate("0", EditOperation::Divide), -1);
  settings().range = {true, true, {1, 1, 2, 2}};
  EXPECT_EQ(editRotate(bench, user, progress, progress), -1);
  ASSERT_EQ(user.messages.size(), 3u);
  EXPECT_EQ(user.messages[0].text, kBadOperand);
  EXPECT_EQ(user.messages[1].text, kDivisionByZero);
  EXPECT_EQ(user.messages[2].text, kOutsideRefused);
  EXPECT_EQ(listener.pictures, refreshes);
  EXPECT_FALSE(session().modified);
  EXPECT_EQ(plane(kPicture1), picture1);
  EXPECT_TRUE(cancelPictureEditing(bench, user, progress, progress));  // unmodified: no question
}

TEST_F(PictureEditing, DirectEntryStaysInsideThePictureWhileDragging) {
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  settings().leftValue = "0x10";
  settings().rightValue = "300";
  for (int x = -2; x <= 1; ++x) editSetCell(bench, x, 0, false);   // across the left edge
  for (int y = 10; y <= 13; ++y) editSetCell(bench, 15, y, true);  // across the bottom
  EXPECT_FALSE(editSetCell(bench, 16, 11, true));
  EXPECT_EQ(session().changedCells,
            (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {15, 10}, {15, 11}}));
  EXPECT_EQ(pixel(kPicture1, 0, 0), 16);
  EXPECT_EQ(pixel(kPicture1, 15, 11), 255);
  EXPECT_TRUE(session().modified);
  ASSERT_EQ(updatePictureSnapshot(bench, user), 0);
  EXPECT_TRUE(session().changedCells.empty());
}

TEST_F(PictureEditing, TheRectangleBecomesTheWholePictureAfterASizeChange) {
  settings().range = {true, false, {1, 1, 3, 3}};
  bench.shell.pictureEdit.openedWidth = 16;
  bench.shell.pictureEdit.openedHeight = 12;
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  EXPECT_EQ(settings().range.rectangle, (Rect{1, 1, 3, 3}));
  finishPictureEditing(bench);
  openPictures(20, 8, everywhere(1), everywhere(2));
  ASSERT_EQ(startPictureEditing(bench, PictureSlot::First, user), 0);
  EXPECT_EQ(settings().range.rectangle, (Rect{0, 0, 19, 7}));
  finishPictureEditing(bench);
}

TEST_F(PictureEditing, TheRangeResetTakesTheWholePictureAndTheFullGreyRangeOnly) {
  settings().range = {true, true, {1, 1, 3, 3}};
  settings().grey = {true, true, 10, 20};
  settings().operand = "7";
  resetEditRanges(bench);
  EXPECT_EQ(settings().range.rectangle, (Rect{0, 0, 15, 11}));
  EXPECT_TRUE(settings().range.on && settings().range.outside);
  EXPECT_EQ(settings().grey.lower, 0);
  EXPECT_EQ(settings().grey.upper, 255);
  EXPECT_TRUE(settings().grey.on && settings().grey.outside);
  EXPECT_EQ(settings().operand, "7");
}

TEST_F(PictureEditing, TheConversionTableInterpolatesAndResetsToNoConversion) {
  settings().table[100] = 0;
  settings().table[104] = 40;
  interpolateConversionTable(bench, 100, 104);
  EXPECT_EQ(settings().table[102], 20);
  EXPECT_EQ(settings().table[105], 105);
  resetConversionTable(bench);
  EXPECT_EQ(settings().table, identityTable());
  setEditHexadecimal(bench, true);
  EXPECT_TRUE(settings().hexadecimal);
}

}  // namespace
}  // namespace vemla
