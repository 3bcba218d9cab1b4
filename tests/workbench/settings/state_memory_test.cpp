#include "workbench/settings/state_memory.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "persist/small_tables.h"
#include "picture/file_helpers.h"
#include "picture/little_endian.h"
#include "processing/colour_tables.h"
#include "processing/image_kinds.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/view/colour_controls.h"

namespace vemla {
namespace {

using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

constexpr int kW = 40, kH = 24;

// A second workbench on the same program folder, as another running copy.
struct OtherCopy {
  Workbench bench;
  testing::FakeUserPort user;
  explicit OtherCopy(const std::string& folder, int side = 64) {
    bench.store.allocate(side, side);
    bench.settings.folder = folder;
  }
};

class StateMemory : public testing::WorkbenchFixture {
 protected:
  StateMemory() : WorkbenchFixture(64) {}
  void SetUp() override {
    WorkbenchFixture::SetUp();
    bench.settings.folder = dir.path();
    MemoryPictures more;
    more.names = {"/pictures/a.bmp", "<memo>"};
    Palette tinted = greyRamp();
    tinted[5] = 77;
    more.palettes = {&tinted, nullptr};
    openPictures(
        kW, kH, [](int x, int y) { return x * 3 + y; }, [](int x, int y) { return x ^ y; }, more);
    std::memset(bench.store.plane(kUserResult), 9, kW * kH);
    bench.view.magnification = 4;
    bench.view.centreX = 7;
    bench.view.centreY = 5;
    bench.view.grid = true;
    bench.view.gridWidth = 3;
    bench.view.range[1] = {20, 30};
    bench.control.alignment.precision = 8;
    bench.images.marks[2] = {1, 3, 4};
  }
  // What a refusal must leave as it was.
  struct Snapshot {
    Bytes planes;
    PictureState pictures;
    int magnification;
    bool operator==(const Snapshot& o) const {
      return planes == o.planes && pictureNames(pictures) == pictureNames(o.pictures) &&
             pictures.pictures[0].palette == o.pictures.pictures[0].palette &&
             pictures.width == o.pictures.width && pictures.height == o.pictures.height &&
             magnification == o.magnification;
    }
  };
  Snapshot snapshot() const {
    Bytes planes;
    for (const int plane : {kPicture1, kPicture2, kUserResult}) {
      planes.insert(planes.end(), bench.store.plane(plane), bench.store.plane(plane) + kW * kH);
    }
    return {planes, bench.pictures, bench.view.magnification};
  }
  Bytes fileBytes(const std::string& path) {
    return readWholeFile(path, 1 << 22).value_or(Bytes{});
  }
  void setTime(const std::string& path) {  // 2024-03-05 06:07:08 local time
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 6, t.tm_min = 7, t.tm_sec = 8;
    t.tm_isdst = -1;
    const timeval times[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
  }

  TempDir dir;
};

TEST_F(StateMemory, RestoreInAFreshWorkbenchThenStoreGivesTheSameBytes) {
  ASSERT_TRUE(storeStateNamed(bench, user, dir.file("a.vic")));
  EXPECT_EQ(bench.shell.stateMemory.lastFile, dir.file("a.vic"));

  OtherCopy other(dir.path());
  other.bench.shell.stateMemory.confirm = 0;
  ASSERT_EQ(restoreStateNamed(other.bench, other.user, dir.file("a.vic")), 0);
  EXPECT_TRUE(other.user.messages.empty());
  EXPECT_EQ(other.bench.pictures.width, kW);
  EXPECT_EQ(pictureNames(other.bench.pictures), pictureNames(bench.pictures));
  EXPECT_EQ(other.bench.pictures.pictures[0].palette, bench.pictures.pictures[0].palette);
  EXPECT_EQ(0, std::memcmp(other.bench.store.plane(kUserResult), bench.store.plane(kUserResult),
                           kW * kH));
  EXPECT_EQ(other.bench.view.gridWidth, 3);
  EXPECT_EQ(other.bench.images.marks, bench.images.marks);
  EXPECT_EQ(other.bench.pictures.picturesPresent, true);
  EXPECT_EQ(other.bench.titles.pane[0], "画像１(a.bmp)");

  ASSERT_TRUE(saveState(other.bench, dir.file("b.vic")));
  EXPECT_EQ(fileBytes(dir.file("b.vic")), fileBytes(dir.file("a.vic")));
}

TEST_F(StateMemory, RefusalsTellAndChangeNothing) {
  ASSERT_TRUE(saveState(bench, dir.file("good.vic")));
  const Bytes good = fileBytes(dir.file("good.vic"));
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    const char* message;
  };
  const auto putAt = [](std::size_t offset, std::int32_t value) {
    return [=](Bytes& b) { little_endian::putI32(b.data() + 4 + offset, value); };
  };
  const Case cases[] = {
      {"too large for this store", putAt(4, 65), msg::kStateTooLarge},
      {"width 7", putAt(4, 7), msg::kStateNotStateFile},
      {"W = H = -8",
       [&](Bytes& b) {
         putAt(4, -8)(b);
         putAt(8, -8)(b);
       },
       msg::kStateNotStateFile},
      {"short planes", [](Bytes& b) { b.resize(b.size() - 10); }, msg::kStateRestoreFailed},
      {"VIX0", [](Bytes& b) { b[2] = 'X'; }, msg::kStateNotStateFile},
      {"unterminated name", [](Bytes& b) { std::memset(b.data() + 16, 'n', 512); },
       msg::kStateNotStateFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = good;
    c.damage(bytes);
    testing::writeBytes(dir.file("bad.vic"), bytes);
    const Snapshot before = snapshot();
    user.messages.clear();
    bench.shell.stateMemory.confirm = 0;
    const std::optional<int> result = restoreStateNamed(bench, user, dir.file("bad.vic"));
    ASSERT_TRUE(result);
    EXPECT_LT(*result, 0);
    EXPECT_EQ(user.onlyMessage(), c.message);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_NE(bench.shell.stateMemory.lastFile, dir.file("bad.vic"));
  }
}

TEST_F(StateMemory, WarningsComeInOneBoxInOrderAndFallBack) {
  bench.userEntries.processing[3].inUse = 1;
  bench.userEntries.processing[3].name = "edge";
  bench.userEntries.colours[2].inUse = 1;
  bench.userEntries.colours[2].name = "heat";
  bench.images.kind = {kUserProcessingKind, 2};
  bench.images.userEntry = {3, 0};
  setColourAssociation(bench, ImageSlot::Second, kFirstUserColour + 2);
  ASSERT_TRUE(saveState(bench, dir.file("a.vic")));

  OtherCopy other(dir.path());
  other.bench.shell.stateMemory.confirm = 0;
  other.bench.options.ShiftUnit = 32;
  ASSERT_EQ(restoreStateNamed(other.bench, other.user, dir.file("a.vic")),
            kStateDivisionChanged | kStateProcessingMissing1 | kStateColourMissing2);
  EXPECT_EQ(other.user.onlyMessage(),
            "ｼﾌﾄのｻﾌﾞﾋﾟｸｾﾙ精度が一致しないためｱﾗｲﾒﾝﾄ情報が回復できません（記憶時:1/16)\n"
            "記憶されたﾕｰｻﾞ簡易画像処理が存在しないためｲﾒｰｼﾞの回復ができません\n"
            "記憶されたﾕｰｻﾞｶﾗｰ情報が存在しないためｶﾗｰの回復ができません\n");
  EXPECT_EQ(other.bench.images.kind, (std::array<int, 2>{0, 2}));
  EXPECT_EQ(associatedColourKind(other.bench, ImageSlot::Second), kColourGrey);
  EXPECT_FALSE(other.bench.control.alignmentResult.valid);
  EXPECT_EQ(other.bench.pictures.width, kW);  // pictures and display are restored

  // The entries found again by name, at other places.
  other.bench.userEntries.processing[9].inUse = 1;
  other.bench.userEntries.processing[9].name = "edge";
  other.bench.userEntries.colours[0].inUse = 1;
  other.bench.userEntries.colours[0].name = "heat";
  other.bench.options.ShiftUnit = 16;
  EXPECT_EQ(restoreStateNamed(other.bench, other.user, dir.file("a.vic")), 0);
  EXPECT_EQ(other.bench.images.userEntry[0], 9);
  EXPECT_EQ(associatedColourKind(other.bench, ImageSlot::Second), kFirstUserColour);
}

TEST_F(StateMemory, DisplayOnlyChangesOnlyKindsAndColours) {
  bench.images.kind = {3, 4};
  setColourAssociation(bench, ImageSlot::First, 2);
  ASSERT_TRUE(saveState(bench, dir.file("a.vic")));
  bench.images.kind = {0, 1};
  openPictures(16, 16, everywhere(1), everywhere(2));
  const Snapshot before = snapshot();
  bench.shell.stateMemory = {0, 1, ""};
  EXPECT_EQ(restoreStateNamed(bench, user, dir.file("a.vic")), 0);
  EXPECT_EQ(bench.images.kind, (std::array<int, 2>{3, 4}));
  EXPECT_EQ(associatedColourKind(bench, ImageSlot::First), 2);
  EXPECT_TRUE(snapshot() == before);
  EXPECT_EQ(bench.pictures.width, 16);
}

TEST_F(StateMemory, QuestionAndListTexts) {
  setColourAssociation(bench, ImageSlot::First, kColourGrey);
  setColourAssociation(bench, ImageSlot::Second, kColourOffset);
  bench.shell.stateMemory.confirm = 1;
  ASSERT_TRUE(storeStateInSlot(bench, user, 1));
  const std::string path = persist::stateSlotPath(dir.path(), bench.settings.stateSlots[1].file);
  setTime(path);
  user.yesNoAnswers = {false};
  EXPECT_EQ(restoreStateFromSlot(bench, user, 1), std::nullopt);
  EXPECT_EQ(user.questions.back(),
            "以下の情報で状態の回復を行ってもよいですか\n"
            "（記憶日時）2024/03/05  6:07:08\n"
            "（画像１）/pictures/a.bmp\n"
            "（画像２）<memo>\n"
            "（大きさ）40 x 24  （位置）(  7,  5)\n"
            "（ｲﾒｰｼﾞ1）" +
                std::string(imageKindTable()[0].name) +
                "\n（ｶﾗｰ1）　ｸﾞﾚｰｽｹｰﾙ\n"
                "（ｲﾒｰｼﾞ2）" +
                std::string(imageKindTable()[1].name) + "\n（ｶﾗｰ2）  ｵﾌｾｯﾄｶﾗｰ\n");

  // A slot whose file is damaged lists as such; the list skips empty slots.
  ASSERT_TRUE(storeStateInSlot(bench, user, 3));
  testing::writeBytes(persist::stateSlotPath(dir.path(), bench.settings.stateSlots[3].file), {1});
  showStateSlotList(bench, user);
  ASSERT_FALSE(user.messages.empty());
  EXPECT_EQ(user.messages.back().title, msg::kStateListTitle);
  EXPECT_EQ(user.messages.back().text,
            "(2) 記憶日時 : 2024/03/05  6:07:08\n"
            "    （画像１）/pictures/a.bmp\n"
            "    （画像２）<memo>\n"
            "    （大きさ）40 x 24  （位置）(  7,  5)\n"
            "    （ｲﾒｰｼﾞ1）" +
                std::string(imageKindTable()[0].name) +
                "\n    （ｶﾗｰ1）　ｸﾞﾚｰｽｹｰﾙ\n"
                "    （ｲﾒｰｼﾞ2）" +
                std::string(imageKindTable()[1].name) +
                "\n    （ｶﾗｰ2） ｵﾌｾｯﾄｶﾗｰ\n"
                "(4) 記憶情報ﾌｧｲﾙに異常があります\n");
}

TEST_F(StateMemory, CopiesStoringAtOnceKeepEachOthersSlots) {
  OtherCopy other(dir.path());
  other.bench.pictures = bench.pictures;
  // Both read the empty table before either stores.
  rereadStateSlots(bench);
  rereadStateSlots(other.bench);
  ASSERT_TRUE(storeStateInSlot(bench, user, 0));
  ASSERT_TRUE(storeStateInSlot(other.bench, other.user, 1));
  const persist::StateSlotTable table = persist::readStateSlots(dir.path());
  EXPECT_EQ(table[0].used, 1);
  EXPECT_EQ(table[1].used, 1);
  EXPECT_NE(table[0].file, table[1].file);

  // Overwriting keeps the slot's file name; with the confirmation on, No keeps the file.
  const std::string first = table[0].file;
  bench.shell.stateMemory.confirm = 1;
  user.yesNoAnswers = {false, true};
  EXPECT_FALSE(storeStateInSlot(bench, user, 0));
  EXPECT_TRUE(storeStateInSlot(bench, user, 0));
  EXPECT_EQ(user.questions, (std::vector<std::string>(2, msg::kStateOverwrite)));
  EXPECT_EQ(persist::readStateSlots(dir.path())[0].file, first);
  EXPECT_EQ(filesWithPrefix(dir.path(), "~VS").size(), 2u);
}

TEST_F(StateMemory, FailedStoreTellsAndKeepsTheSlot) {
  // The slot's file cannot be replaced: its name is taken by a folder.
  std::filesystem::create_directory(dir.file("~VSbusy"));
  persist::StateSlotTable table;
  table[0] = {1, "~VSbusy"};
  ASSERT_TRUE(persist::writeStateSlots(dir.path(), table, user));
  bench.shell.stateMemory.confirm = 0;
  EXPECT_FALSE(storeStateInSlot(bench, user, 0));
  EXPECT_EQ(user.onlyMessage(), msg::kStateStoreFailed);
  EXPECT_EQ(persist::readStateSlots(dir.path()), table);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("~VSbusy")));
}

TEST_F(StateMemory, ForeignSlotEntriesAreNeverTouched) {
  const std::string outside = dir.file("sub/~VSx.tmp");
  std::filesystem::create_directory(dir.file("sub"));
  for (const std::string& name : {std::string("VemlaPinf.dat"), outside}) {
    testing::writeBytes(name[0] == '/' ? name : dir.file(name), {1, 2});
  }
  persist::StateSlotTable table;
  table[0] = {1, "../x"};
  table[1] = {1, outside};
  table[2] = {1, "VemlaPinf.dat"};
  table[3] = {1, dir.file("VemlaPinf.dat")};
  ASSERT_TRUE(persist::writeStateSlots(dir.path(), table, user));
  EXPECT_EQ(persist::readStateSlots(dir.path()), persist::StateSlotTable{});
  user.yesNoAnswers = {true};
  EXPECT_TRUE(clearStateSlots(bench, user));
  EXPECT_TRUE(fileExists(outside));
  EXPECT_TRUE(fileExists(dir.file("VemlaPinf.dat")));
}

TEST_F(StateMemory, StartUpEmptiesVanishedSlotsAndOnlyTheFirstCopyDeletesOrphans) {
  ASSERT_TRUE(storeStateInSlot(bench, user, 0));
  ASSERT_TRUE(storeStateInSlot(bench, user, 2));
  deleteFile(persist::stateSlotPath(dir.path(), bench.settings.stateSlots[2].file));
  testing::writeBytes(dir.file("~VSorphan.tmp"), {1});
  testing::writeBytes(dir.file("~VGother.tmp"), {1});

  OtherCopy second(dir.path());
  second.bench.secondCopy = true;
  repairStateSlotsAtStart(second.bench, second.user);
  EXPECT_TRUE(fileExists(dir.file("~VSorphan.tmp")));
  EXPECT_EQ(persist::readStateSlots(dir.path())[2].used, 0);

  OtherCopy first(dir.path());
  repairStateSlotsAtStart(first.bench, first.user);
  EXPECT_FALSE(fileExists(dir.file("~VSorphan.tmp")));
  EXPECT_TRUE(fileExists(dir.file("~VGother.tmp")));
  EXPECT_EQ(first.bench.settings.stateSlots[0].used, 1);
  EXPECT_TRUE(
      fileExists(persist::stateSlotPath(dir.path(), first.bench.settings.stateSlots[0].file)));
}

}  // namespace
}  // namespace vemla
