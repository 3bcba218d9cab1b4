// Settings of the picture control, the image control and the RGB-ratio dialog that the program
// settings file carries from one run to the next.
#include <gtest/gtest.h>

#include <cstring>

#include "persist/program_settings.h"
#include "processing/colour_tables.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/settings_session.h"

namespace vemla {
namespace {

using testing::FakeUserPort;
using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr std::size_t kControlWordsAt = persist::kProgramHeaderBytes + 3064;
constexpr std::size_t kValidRangeAt = persist::kProgramHeaderBytes + 11656;

void start(Workbench& bench, const std::string& folder, UserPort& user) {
  bench.settings.folder = folder;
  ASSERT_TRUE(persist::startWorkbench(bench, user, {folder, std::nullopt, true}));
  persist::loadSettingsAtStart(bench, user);
}

// Overwrites `words` 32-bit words of the saved VemlaPinf.dat from byte `at`.
void patchWords(const TempDir& dir, std::size_t at, const std::vector<std::int32_t>& words) {
  std::vector<std::uint8_t> bytes = readBytes(dir.file("VemlaPinf.dat"));
  ASSERT_GE(bytes.size(), at + 4 * words.size());
  std::memcpy(bytes.data() + at, words.data(), 4 * words.size());  // little-endian host
  writeBytes(dir.file("VemlaPinf.dat"), bytes);
}

std::string trueColourBitmap(const TempDir& dir) {
  const std::string path = dir.file("colour.bmp");
  writeBytes(path, makeBitmap(8, 8, 24, [](int x, int) {
               return std::vector<std::uint8_t>{10, 20, static_cast<std::uint8_t>(30 + x)};
             }));
  return path;
}

TEST(RememberedSettings, AlignmentSettingsAndImageControlSwitchesSurviveARestart) {
  TempDir dir;
  FakeUserPort user;
  const AlignmentSettings chosen{false, kAlignStandard, 4, 12, 0, 100};
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.control.alignment = chosen;
    bench.view.cursorShown = false;
    bench.view.fineMovement = true;
    bench.view.colourBars = true;
    bench.images.blankInvalid = true;
    ASSERT_TRUE(persist::saveSettingsAtShutdown(bench, user));
  }
  Workbench again;
  start(again, dir.path(), user);
  EXPECT_EQ(again.control.alignment, chosen);
  EXPECT_FALSE(again.view.cursorShown);
  EXPECT_TRUE(again.view.fineMovement);
  EXPECT_TRUE(again.view.colourBars);
  EXPECT_TRUE(again.images.blankInvalid);

  // The opposite switches come back as well.
  again.view.cursorShown = true;
  again.view.fineMovement = false;
  again.view.colourBars = false;
  again.images.blankInvalid = false;
  ASSERT_TRUE(persist::saveProgramSettingsNow(again, user));
  Workbench third;
  start(third, dir.path(), user);
  EXPECT_TRUE(third.view.cursorShown);
  EXPECT_FALSE(third.view.fineMovement);
  EXPECT_FALSE(third.view.colourBars);
  EXPECT_FALSE(third.images.blankInvalid);
  EXPECT_TRUE(user.messages.empty());
}

TEST(RememberedSettings, StoredControlWordsAreCorrectedIntoTheirRanges) {
  TempDir dir;
  FakeUserPort user;
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.options.ShiftUnit = 8;
    ASSERT_TRUE(persist::saveProgramSettingsNow(bench, user));
  }
  // Criterion 7, precision 64 with n = 8, range 99, target 5, cursor range 99999, every bit.
  patchWords(dir, kControlWordsAt, {7, 64, 99, 5, 99999, -1});
  {
    Workbench bench;
    start(bench, dir.path(), user);
    EXPECT_EQ(bench.control.alignment, (AlignmentSettings{false, kAlignFast, 8, 32, 1, 1024}));
    EXPECT_TRUE(bench.view.cursorShown && bench.view.fineMovement && bench.view.colourBars &&
                bench.images.blankInvalid);
  }
  patchWords(dir, kControlWordsAt, {0, 3, -4, 0, -9, 0x10});
  {
    Workbench bench;
    start(bench, dir.path(), user);
    EXPECT_EQ(bench.control.alignment, (AlignmentSettings{false, kAlignFast, 2, 1, 0, 0}));
    EXPECT_FALSE(bench.view.cursorShown || bench.view.fineMovement || bench.view.colourBars ||
                 bench.images.blankInvalid);
  }
  // Six zero words (a file from before these were kept) leave the factory values.
  patchWords(dir, kControlWordsAt, {0, 0, 0, 0, 0, 0});
  Workbench bench;
  start(bench, dir.path(), user);
  EXPECT_EQ(bench.control.alignment, AlignmentSettings{});
  EXPECT_TRUE(bench.view.cursorShown);
  EXPECT_TRUE(user.messages.empty());
}

// The dialog opens on the ratios confirmed last, also after a restart; a cancel keeps them.
TEST(RememberedSettings, RgbRatioDialogOpensOnTheLastConfirmedRatios) {
  TempDir dir;
  FakeUserPort user;
  const RgbRatio confirmed{0.25, 0.5, 0.125};
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.options.TrueColourOpenMode = kTrueColourGrey;
    const std::string path = trueColourBitmap(dir);
    user.ratioAnswers.push_back(confirmed);
    ASSERT_EQ(openPictureFiles(bench, user, &path, nullptr, OpenMode::Both), 0);
    user.ratioAnswers.push_back(std::nullopt);
    EXPECT_EQ(openPictureFiles(bench, user, nullptr, &path, OpenMode::SecondOnly), -1);
    ASSERT_EQ(user.ratioPrompts.size(), 2u);
    EXPECT_EQ(user.ratioPrompts[0].initial, RgbRatio{});
    EXPECT_EQ(user.ratioPrompts[1].initial, confirmed);
    ASSERT_TRUE(persist::saveSettingsAtShutdown(bench, user));
  }
  Workbench again;
  start(again, dir.path(), user);
  const std::string path = trueColourBitmap(dir);
  user.ratioAnswers.push_back(RgbRatio{1.0, 0.0, 0.0});
  ASSERT_EQ(openPictureFiles(again, user, &path, nullptr, OpenMode::Both), 0);
  ASSERT_EQ(user.ratioPrompts.size(), 3u);
  EXPECT_EQ(user.ratioPrompts[2].initial, confirmed);
  EXPECT_EQ(again.pictures.pictures[0].name, path);
}

// A "範囲指定" rectangle restored from the settings belongs to the picture size it was set for.
TEST(RememberedSettings, StoredValidRectangleIsKeptAtItsSizeAndResetAtAnother) {
  TempDir dir;
  FakeUserPort user;
  const Rect stored{5, 6, 30, 20};
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.control.validRange = {kValidRectangle, 64, 48, stored, 0};
    ASSERT_TRUE(persist::saveProgramSettingsNow(bench, user));
  }
  const std::vector<std::uint8_t> saved = readBytes(dir.file("VemlaPinf.dat"));
  std::int32_t setFor[2];
  std::memcpy(setFor, saved.data() + kValidRangeAt + 4, sizeof setFor);
  EXPECT_EQ(setFor[0], 64);
  EXPECT_EQ(setFor[1], 48);

  const std::vector<std::uint8_t> pixels(64 * 48, 9);
  const std::string bitmap = dir.file("a.bmp");
  writeBytes(bitmap, makeBitmap(64, 48, 8, [](int, int) { return std::vector<std::uint8_t>{9}; }));
  {  // opened from files at the size it was set for
    Workbench bench;
    start(bench, dir.path(), user);
    bench.options.carryOver.KeepValidRangeMode = true;
    ASSERT_EQ(openPictureFiles(bench, user, &bitmap, &bitmap, OpenMode::Both), 0);
    EXPECT_EQ(bench.control.validRange.rectangle, stored);
    EXPECT_EQ(bench.control.validRectangles[0], stored);
  }
  Workbench bench;
  start(bench, dir.path(), user);
  MemoryPictures memory;
  memory.width = 64;
  memory.height = 48;
  memory.pixels = {pixels.data(), pixels.data()};
  ASSERT_EQ(setPicturesFromMemory(bench, user, memory), 0);  // from memory at that size
  EXPECT_EQ(bench.control.validRange.rectangle, stored);

  memory.width = 32;  // another size: the whole picture, now set for 32 x 48
  ASSERT_EQ(setPicturesFromMemory(bench, user, memory), 0);
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 31, 47}));
  EXPECT_EQ(bench.control.validRange.setWidth, 32);
  EXPECT_EQ(bench.control.validRange.setHeight, 48);
  memory.width = 64;  // back at the first size the whole picture follows
  ASSERT_EQ(setPicturesFromMemory(bench, user, memory), 0);
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 63, 47}));
  EXPECT_TRUE(user.messages.empty());
}

// Colour associations naming a user colour table that the user information no longer has are
// all reset at the next start, with a warning; associations of registered tables are kept.
TEST(RememberedSettings, AssociationsOfAnUnregisteredUserColourAreResetAtStart) {
  TempDir dir;
  FakeUserPort user;
  const int userColour = kFirstUserColour + 2;
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.userEntries.colours[2].inUse = 1;
    bench.userEntries.colours[2].name = "heat";
    bench.images.selections.kindColours[1][3] = userColour;
    bench.images.selections.userProcessingColours[0][5] = userColour;
    bench.images.selections.intensity[kColourStandard] = 5;
    ASSERT_TRUE(persist::saveSettingsAtShutdown(bench, user));
  }
  {
    Workbench kept;
    start(kept, dir.path(), user);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(kept.images.selections.kindColours[1][3], userColour);
    kept.userEntries.colours[2] = UserColourEntry{};  // the table goes, the settings stay
    ASSERT_TRUE(persist::saveSettingsAtShutdown(kept, user));
  }
  Workbench reset;
  start(reset, dir.path(), user);
  EXPECT_EQ(user.onlyMessage(), "ﾕｰｻﾞ情報のﾌｧｲﾙに矛盾があるため\nｶﾗｰの関連付けを初期化しました");
  const ImageControlSelections defaults;
  EXPECT_EQ(reset.images.selections.kindColours, defaults.kindColours);
  EXPECT_EQ(reset.images.selections.userProcessingColours, defaults.userProcessingColours);
  EXPECT_EQ(reset.images.selections.intensity[kColourStandard], 5);
}

// A colour entry freed on load as damaged counts as missing: its associations are reset.
TEST(RememberedSettings, AssociationOfADamagedUserColourIsResetAtStart) {
  TempDir dir;
  FakeUserPort user;
  {
    Workbench bench;
    start(bench, dir.path(), user);
    bench.userEntries.colours[0] = {1, "first", {}};
    bench.userEntries.colours[1] = {1, "second", {}};
    bench.images.selections.kindColours[0][2] = kFirstUserColour + 1;
    ASSERT_TRUE(persist::saveSettingsAtShutdown(bench, user));
  }
  const std::string file = dir.file("VemlaUinf.dat");
  std::vector<std::uint8_t> bytes = testing::readBytes(file);
  bytes[30084 + 808] = 7;  // entry 1's in-use flag
  testing::writeBytes(file, bytes);
  Workbench reset;
  start(reset, dir.path(), user);
  EXPECT_EQ(user.onlyMessage(), "ﾕｰｻﾞ情報のﾌｧｲﾙに矛盾があるため\nｶﾗｰの関連付けを初期化しました");
  EXPECT_EQ(reset.userEntries.colours[0].name, "first");
  EXPECT_EQ(reset.userEntries.colours[1], UserColourEntry{});
  EXPECT_EQ(reset.images.selections.kindColours, ImageControlSelections{}.kindColours);
}

}  // namespace
}  // namespace vemla
