#include "workbench/settings/settings_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "options/option_sheet_rules.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"
#include "workbench/commands/command_handlers.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// A workbench started as the program starts: defaults, the header's size, the store, the load.
void start(Workbench& bench, const std::string& folder, bool secondCopy, UserPort& user) {
  bench.settings.folder = folder;
  bench.secondCopy = secondCopy;
  ASSERT_TRUE(startWorkbench(bench, user, {folder, std::nullopt, !secondCopy}));
  loadSettingsAtStart(bench, user);
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SettingsSession, FirstCopyCreatesTheFilesAndOptionsAndHistorySurviveARestart) {
  TempDir dir;
  FakeUserPort user;
  {
    Workbench bench;
    start(bench, dir.path(), false, user);
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"VemlaAinf.dat", "VemlaGinf.dat", "VemlaPinf.dat",
                                        "VemlaUinf.dat"}));
    bench.options.MaxPictureWidth = 2048;  // configured for the next start
    bench.options.ShiftUnit = 32;
    bench.options.GalleryCount = 24;
    bench.options.ArchiveExpandStartSlot = 20;  // valid only with the larger gallery
    bench.options.RawDefaultWidth = 300;
    bench.options.carryOver.KeepGrid = true;
    bench.options.SixteenBit = {SixteenBitRule::Window, 100, 4095};  // the program's own file
    bench.shell.fileHistory.history[0] = {1, {"/p/1.bmp", "/p/2.bmp"}};
    bench.shell.fileHistory.history[1] = {1, {"/p/café.bmp", ""}};  // not stored exactly: left out
    bench.control.validRange.kind = kValidMargin;
    bench.control.validRange.margin = 5;
    ASSERT_TRUE(saveSettingsAtShutdown(bench, user));
  }
  Workbench again;
  start(again, dir.path(), false, user);
  EXPECT_EQ(again.options.MaxPictureWidth, 2048);
  EXPECT_EQ(again.options.ShiftUnit, 32);
  EXPECT_EQ(again.options.GalleryCount, 24);
  EXPECT_EQ(again.options.ArchiveExpandStartSlot, 20);
  EXPECT_TRUE(again.options.carryOver.KeepGrid);
  EXPECT_EQ(again.options.SixteenBit, (SixteenBitConversion{SixteenBitRule::Window, 100, 4095}));
  EXPECT_EQ(again.pictures.rawSize, (RawSize{300, 512, 0}));
  EXPECT_EQ(again.shell.fileHistory.history[0].names[1], "/p/2.bmp");
  EXPECT_EQ(again.shell.fileHistory.history[1], HistoryEntry{});
  EXPECT_EQ(again.control.validRange.kind, kValidMargin);
  EXPECT_EQ(again.control.validRange.margin, 5);
  EXPECT_TRUE(user.messages.empty());
}

// The memo's default is stored as a name in the program folder, so a copied folder writes its
// own memo; an absolute name, as older versions stored the default, is used as it is.
TEST(SettingsSession, ACopiedProgramFolderWritesItsOwnMemo) {
  TempDir original, copy;
  FakeUserPort user;
  {
    Workbench bench;
    start(bench, original.path(), false, user);
    ASSERT_TRUE(saveSettingsAtShutdown(bench, user));
  }
  std::filesystem::copy_file(original.file("VemlaPinf.dat"), copy.file("VemlaPinf.dat"));
  {
    Workbench copied;
    start(copied, copy.path(), false, user);
    EXPECT_EQ(memoPath(copied), copy.file("VemlaMemo.txt"));
    copied.options.MemoFile = original.file("old memo.txt");
    ASSERT_TRUE(saveSettingsAtShutdown(copied, user));
  }
  Workbench again;
  start(again, copy.path(), false, user);
  EXPECT_EQ(memoPath(again), original.file("old memo.txt"));
}

TEST(SettingsSession, SecondCopyNeverCreatesOrWritesSettingsFiles) {
  TempDir dir;
  FakeUserPort user;
  Workbench second;
  start(second, dir.path(), true, user);
  EXPECT_TRUE(folderEntries(dir.path()).empty());
  second.options.ShiftUnit = 2;
  EXPECT_TRUE(saveSettingsAtShutdown(second, user));
  EXPECT_TRUE(saveProgramSettingsNow(second, user));
  EXPECT_TRUE(saveUserInfoNow(second, user));
  EXPECT_TRUE(folderEntries(dir.path()).empty());
}

TEST(SettingsSession, SecondCopyReadsTheFirstCopysSettings) {
  TempDir dir;
  FakeUserPort user;
  Workbench first;
  start(first, dir.path(), false, user);
  first.options.PixelSizeX = 0.25;
  ASSERT_TRUE(saveProgramSettingsNow(first, user));
  const std::vector<std::uint8_t> before = readBytes(dir.file("VemlaPinf.dat"));

  Workbench second;
  start(second, dir.path(), true, user);
  EXPECT_EQ(second.options.PixelSizeX, 0.25);
  second.options.PixelSizeX = 4.0;
  saveSettingsAtShutdown(second, user);
  EXPECT_EQ(readBytes(dir.file("VemlaPinf.dat")), before);
}

TEST(SettingsSession, DamagedFileIsReportedOnceAndKeptWhenFirstReplaced) {
  TempDir dir;
  FakeUserPort user;
  writeBytes(dir.file("VemlaUinf.dat"), {'V', 'I', 'U', '1', 1, 2, 3});
  Workbench bench;
  start(bench, dir.path(), false, user);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙの読み込みができません\n" + dir.file("VemlaUinf.dat"));
  ASSERT_TRUE(saveSettingsAtShutdown(bench, user));
  EXPECT_EQ(readBytes(dir.file("VemlaUinf.dat.bad")),
            (std::vector<std::uint8_t>{'V', 'I', 'U', '1', 1, 2, 3}));
  EXPECT_EQ(readBytes(dir.file("VemlaUinf.dat")).size(), 68448u);
}

// The option sheet's apply and close: a plain change is live at once and written on closing; a
// gallery count is held back until closing, which then asks for the restart and writes nothing.
TEST(SettingsSession, OptionSheetSavesAPlainChangeAndRestartsForTheGalleryCount) {
  TempDir dir;
  FakeUserPort user;
  NoBusyPort busy;
  NoProgressPort progress;
  Workbench bench;
  start(bench, dir.path(), false, user);
  const Options atOpen = bench.options;
  Options pending = atOpen;
  pending.GridColour1 = rgb(1, 2, 3);
  unsigned effects = applyOptionSheet(bench, pending, user, busy, progress);
  EXPECT_EQ(bench.options.GridColour1, rgb(1, 2, 3));
  EXPECT_FALSE(closeOptionSheet(bench, atOpen, pending, effects, user));
  {
    Workbench again;
    start(again, dir.path(), false, user);
    EXPECT_EQ(again.options.GridColour1, rgb(1, 2, 3));
  }

  const Options reopened = bench.options;
  pending = reopened;
  pending.GalleryCount = 24;
  pending.DragMinimumMove = 9;
  effects = applyOptionSheet(bench, pending, user, busy, progress);
  EXPECT_EQ(bench.options.GalleryCount, 16);
  EXPECT_TRUE(closeOptionSheet(bench, reopened, pending, effects, user));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, kRestartMessage);
  EXPECT_EQ(bench.options.GalleryCount, 24);
  Workbench again;
  start(again, dir.path(), false, user);
  EXPECT_EQ(again.options.DragMinimumMove, Options{}.DragMinimumMove);  // written at the end
}

// The fields the subsystems own are taken into their live records at start and put back at
// shutdown: a file with every one of them set (words with bits the tools do not interpret, a
// text export a damaged file left) comes back byte for byte, and a change made while running
// reaches the file.
TEST(SettingsSession, LiveRecordsLeaveEveryByteOfTheFilesAsRead) {
  TempDir dir;
  FakeUserPort user;
  {
    Workbench created;
    start(created, dir.path(), false, user);
    ASSERT_TRUE(saveSettingsAtShutdown(created, user));  // the control words as written
  }
  ProgramSettings program;
  ASSERT_EQ(decodeProgramSettings(readBytes(dir.file(kProgramSettingsFile)), program),
            LoadStatus::Loaded);
  ProgramRecord& r = program.record;
  r.lastFiles = {{"/a/1.bmp", "/a/2.bmp"}, "/a/saved.bmp", "/a/text.txt"};
  r.textExport = {7, -4};
  r.customColours[15] = 0xFFFFFF;
  r.gradationTool.state = 3 | 8 | (1 << 12);
  r.gradationTool.operators[3][4] = 8;
  r.gradationTool.absolute[2] = 0;
  r.profileTool = 2 | (1 << 7) | (20 << 8) | (200 << 16);
  r.launcher = {"/usr/bin/prog", "<P1> <OUT>", {"", "", "", "f4"}, 1, 1, 2, 0, 1, 1, 1};
  r.launcherReserved[575] = 0x5A;
  r.stateMemory = {0, 1, "/s/state.vic"};
  r.stateMemoryReserved[0] = 1;
  r.lastDialogRatios = {0.5, 0.25, 0.25};
  r.window = {10, 20, 1300, 1100};
  r.reducedMeasureWarningShown = 1;
  const std::vector<std::uint8_t> programBytes = encodeProgramSettings(program);
  writeBytes(dir.file(kProgramSettingsFile), programBytes);
  UserEntries entries;
  UserInfo info;
  info.history[0] = {1, {"/p/1.bmp", "/p/2.bmp"}};
  info.recent[15] = {1, 640, 480, 32, "/p/r.raw"};
  info.colourAssociation[539] = 1;
  const std::vector<std::uint8_t> userBytes = encodeUserInfo(entries, info);
  writeBytes(dir.file(kUserInformationFile), userBytes);
  {
    Workbench bench;
    start(bench, dir.path(), false, user);
    EXPECT_EQ(bench.tools.gradationWord, (tools::GradationWord{3, true, false, false, false}));
    EXPECT_EQ(bench.tools.profileWord.lower, 20);
    EXPECT_EQ(bench.shell.pictureDialogs.storedTextExport, TextExportMemory{});
    EXPECT_EQ(bench.launcher, r.launcher);
    EXPECT_EQ(bench.shell.fileHistory.recent[15].name, "/p/r.raw");
    ASSERT_TRUE(saveSettingsAtShutdown(bench, user));
    EXPECT_EQ(readBytes(dir.file(kProgramSettingsFile)), programBytes);
    EXPECT_EQ(readBytes(dir.file(kUserInformationFile)), userBytes);

    bench.tools.gradationWord.dark = true;
    bench.shell.stateMemory.lastFile = "/s/other.vic";
    ASSERT_TRUE(saveSettingsAtShutdown(bench, user));
  }
  Workbench again;
  start(again, dir.path(), false, user);
  EXPECT_EQ(again.tools.gradationWord, (tools::GradationWord{3, true, true, false, false}));
  EXPECT_EQ(again.shell.stateMemory, (StateMemorySettings{0, 1, "/s/other.vic"}));
  EXPECT_EQ(again.tools.gradationOperators[3].coefficients[4], 8);
  EXPECT_TRUE(user.messages.empty());
}

TEST(SettingsSession, NoFolderMeansNoFiles) {
  FakeUserPort user;
  Workbench bench;
  loadSettingsAtStart(bench, user);
  EXPECT_TRUE(saveSettingsAtShutdown(bench, user));
  EXPECT_EQ(bench.pictures.rawSize, RawSize{});
}

}  // namespace
}  // namespace vemla::persist
