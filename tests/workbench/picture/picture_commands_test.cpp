#include "workbench/picture/picture_commands.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "persist/user_info.h"
#include "processing/image_kinds.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/commands/command_ids.h"
#include "workbench/commands/file_history.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

namespace fs = std::filesystem;
using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr std::size_t kPaletteStart = 54;
constexpr std::size_t kPixelStart = 1078;

// Pixel (x, y) of the test pictures: (x + 3 y + seed) mod 256.
std::uint8_t valueAt(int x, int y, int seed) {
  return static_cast<std::uint8_t>(x + 3 * y + seed);
}

// Pixel (x, y) of an 8-bit bitmap file of width w (a multiple of 4) and height h, bottom-up.
std::uint8_t filePixel(const std::vector<std::uint8_t>& file, int w, int h, int x, int y) {
  return file.at(kPixelStart + static_cast<std::size_t>(h - 1 - y) * w + x);
}

class PictureCommands : public testing::WorkbenchFixture {
 protected:
  PictureCommands() : WorkbenchFixture(256) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WorkbenchFixture::SetUp());
    bench.settings.folder = dir.file("home");
    fs::create_directory(bench.settings.folder);
  }
  std::string bitmap(const std::string& name, int width, int height, int seed) {
    const std::string path = dir.file(name);
    writeBytes(path, makeBitmap(width, height, 8, [seed](int x, int y) {
                 return std::vector<std::uint8_t>{valueAt(x, y, seed)};
               }));
    return path;
  }
  int open(const std::string& a, const std::string& b, OpenMode mode = OpenMode::Both,
           bool history = true) {
    return openPictureNames(bench, user, progress, progress, {a, b}, mode, history);
  }
  const persist::FileHistory& info() const { return bench.shell.fileHistory; }
  std::optional<persist::UserInfo> savedInfo() const {
    const std::string path = bench.settings.folder + "/VemlaUinf.dat";
    if (!fs::exists(path)) return std::nullopt;
    UserEntries entries;
    persist::UserInfo saved;
    if (persist::decodeUserInfo(readBytes(path), entries, saved) != persist::LoadStatus::Loaded) {
      return std::nullopt;
    }
    return saved;
  }

  TempDir dir;
};

TEST_F(PictureCommands, OpenBothRecordsNamesRecentPicturesHistoryAndTheUserFile) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 5);
  ASSERT_EQ(open(a, b), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(pixel(kPicture2, 2, 1), 2 + 3 + 5);
  EXPECT_EQ(bench.shell.lastFiles.openPicture, (std::array<std::string, 2>{a, b}));
  // Picture 1 first, then Picture 2 on top.
  EXPECT_EQ(info().recent[0], (persist::RecentPicture{1, 16, 8, 0, b}));
  EXPECT_EQ(info().recent[1], (persist::RecentPicture{1, 16, 8, 0, a}));
  EXPECT_EQ(info().history[0], (persist::HistoryEntry{1, {a, b}}));
  EXPECT_EQ(bench.titles.main, "a.bmp b.bmp - Vemla");

  // The same two files again: still one history entry, and the file says so too.
  ASSERT_EQ(open(a, b), 0);
  EXPECT_EQ(info().history[1].used, 0);
  const auto saved = savedInfo();
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->history, info().history);
  EXPECT_EQ(saved->recent, info().recent);
}

TEST_F(PictureCommands, OpenPictureOneKeepsPictureTwoAndIgnoresItsName) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 5);
  ASSERT_EQ(open(a, b), 0);
  const std::string c = bitmap("c.bmp", 16, 8, 9);
  ASSERT_EQ(open(c, std::string(600, 'x') + ".bmp", OpenMode::FirstOnly), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(pixel(kPicture1, 1, 1), 1 + 3 + 9);
  EXPECT_EQ(pixel(kPicture2, 1, 1), 1 + 3 + 5);
  EXPECT_EQ(bench.pictures.pictures[1].name, b);
  EXPECT_EQ(info().history[0], (persist::HistoryEntry{1, {c, b}}));
  EXPECT_EQ(info().recent[0].name, c);
  EXPECT_EQ(info().recent[1].name, b);
  EXPECT_EQ(info().recent[2].name, a);
  EXPECT_EQ(info().recent[3].used, 0);
}

TEST_F(PictureCommands, NameTooLongIsRefusedBeforeAnythingIsRead) {
  // A true-colour first picture would ask for its RGB ratios when read; the fake port fails
  // the test on that prompt, so the refusal must come first.
  bench.options.TrueColourOpenMode = kTrueColourGrey;
  bench.options.AskRatioPerFile = true;
  const std::string colour = dir.file("colour.bmp");
  writeBytes(colour, makeBitmap(8, 8, 24, [](int, int) {
               return std::vector<std::uint8_t>{1, 2, 3};
             }));
  EXPECT_EQ(open(colour, "/" + std::string(520, 'n') + ".bmp"), -1);
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙ名が長すぎます");
  EXPECT_TRUE(user.ratioPrompts.empty());
  EXPECT_FALSE(bench.pictures.picturesPresent);
  EXPECT_FALSE(savedInfo().has_value());
}

TEST_F(PictureCommands, WithoutHistoryOnlyTheRecentPicturesChange) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), "", OpenMode::Both, false), 0);
  EXPECT_EQ(info().history[0].used, 0);
  EXPECT_EQ(info().recent[0].name, dir.file("a.bmp"));
  EXPECT_EQ(info().recent[1].used, 0);  // the cleared Picture 2 has no name
}

TEST_F(PictureCommands, SecondCopyKeepsTheHistoryInMemoryOnly) {
  bench.secondCopy = true;
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), bitmap("b.bmp", 16, 8, 1)), 0);
  EXPECT_EQ(info().history[0].used, 1);
  EXPECT_FALSE(fs::exists(bench.settings.folder + "/VemlaUinf.dat"));
}

TEST_F(PictureCommands, FailedOpenRecordsNothing) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), bitmap("b.bmp", 16, 8, 1)), 0);
  const persist::FileHistory before = info();
  EXPECT_EQ(open(bitmap("c.bmp", 16, 8, 0), bitmap("d.bmp", 20, 8, 1)), -1);
  EXPECT_EQ(user.onlyMessage(), "画像ｻｲｽﾞが異なります");
  EXPECT_EQ(info(), before);
}

TEST_F(PictureCommands, HistoryEntryOpensBothAndMovesToTheTop) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  const std::string c = bitmap("c.bmp", 16, 8, 2);
  ASSERT_EQ(open(a, b), 0);
  ASSERT_EQ(open(c, ""), 0);
  ASSERT_EQ(openHistoryEntry(bench, user, progress, progress, historyEntryOfCommand(653)), 0);
  EXPECT_EQ(bench.pictures.pictures[0].name, a);
  EXPECT_EQ(bench.pictures.pictures[1].name, b);
  EXPECT_EQ(info().history[0], (persist::HistoryEntry{1, {a, b}}));
  EXPECT_EQ(info().history[1], (persist::HistoryEntry{1, {c, ""}}));
  EXPECT_EQ(openHistoryEntry(bench, user, progress, progress, 5), -1);  // unused entry
  EXPECT_EQ(openHistoryEntry(bench, user, progress, progress, 16), -1);
}

class RecentPictures : public PictureCommands {
 protected:
  // A raw file of 16 x 8 pixels after a 3-byte prefix: pixel (x, y) is x + 3 y + seed.
  std::string raw(const std::string& name, int seed) {
    std::vector<std::uint8_t> bytes{0xEE, 0xEE, 0xEE};
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 16; ++x) bytes.push_back(valueAt(x, y, seed));
    }
    const std::string path = dir.file(name);
    writeBytes(path, bytes);
    return path;
  }
  void putRecent(int entry, const persist::RecentPicture& recent) {
    bench.shell.fileHistory.recent[static_cast<std::size_t>(entry)] = recent;
  }
};

TEST_F(RecentPictures, StoredRawSizeReplacesTheDialog) {
  const std::string r = raw("r.raw", 40);
  putRecent(0, {1, 16, 8, 3, r});
  ASSERT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::First, 0), 0);
  EXPECT_TRUE(user.rawPrompts.empty());
  EXPECT_EQ(bench.pictures.width, 16);
  EXPECT_EQ(pixel(kPicture1, 0, 0), 40);
  EXPECT_EQ(pixel(kPicture1, 15, 7), 15 + 21 + 40);
  EXPECT_EQ(pixel(kPicture2, 15, 7), 0);
  EXPECT_EQ(info().history[0].used, 0);  // not entered in the history
  EXPECT_EQ(info().recent[0], (persist::RecentPicture{1, 16, 8, 3, r}));
  EXPECT_FALSE(bench.pictures.skipRawDialogOnce);
}

TEST_F(RecentPictures, BadStoredSizeAsksTheRawDialog) {
  const std::string r = raw("r.raw", 40);
  putRecent(2, {1, 4, 8, 3, r});  // width below 8
  user.rawAnswers.push_back(RawSize{16, 8, 3});
  ASSERT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::Second, 2), 0);
  ASSERT_EQ(user.rawPrompts.size(), 1u);
  EXPECT_EQ(user.rawPrompts[0].file, "r.raw");
  EXPECT_EQ(pixel(kPicture2, 1, 0), 41);
  EXPECT_EQ(bench.pictures.pictures[1].name, r);
  EXPECT_EQ(bench.pictures.pictures[0].name, "");
  // The entry goes to the top with the size actually used.
  EXPECT_EQ(info().recent[0], (persist::RecentPicture{1, 16, 8, 3, r}));

  putRecent(1, {1, 16, 8, -1, r});          // negative offset
  user.rawAnswers.push_back(std::nullopt);  // cancelled: nothing opened
  EXPECT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::First, 1), -1);
  EXPECT_EQ(user.rawPrompts.size(), 2u);
  putRecent(1, {1, 16, 300, 0, r});  // higher than the maximum of 256
  user.rawAnswers.push_back(std::nullopt);
  EXPECT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::First, 1), -1);
  EXPECT_EQ(user.rawPrompts.size(), 3u);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(RecentPictures, SameSizeReplacesOnlyThatPicture) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  ASSERT_EQ(open(a, b), 0);
  const std::string r = raw("r.raw", 40);
  putRecent(5, {1, 16, 8, 3, r});
  ASSERT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::Second, 5), 0);
  EXPECT_EQ(pixel(kPicture1, 2, 0), 2);  // kept
  EXPECT_EQ(pixel(kPicture2, 2, 0), 42);
  EXPECT_EQ(bench.pictures.pictures[0].name, a);
  EXPECT_EQ(info().history[0], (persist::HistoryEntry{1, {a, b}}));  // unchanged

  // Another size: both are opened, the other picture all zero.
  const std::string big = bitmap("big.bmp", 20, 8, 7);
  putRecent(0, {1, 20, 8, 0, big});
  ASSERT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::First, 0), 0);
  EXPECT_EQ(bench.pictures.width, 20);
  EXPECT_EQ(pixel(kPicture2, 2, 0), 0);
  EXPECT_EQ(bench.pictures.pictures[1].name, "");
  EXPECT_EQ(openRecentPicture(bench, user, progress, progress, PictureSlot::First, 9),
            -1);  // unused entry
}

TEST_F(PictureCommands, ReopenReadsTheFilesAgainWithoutTouchingHistory) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  ASSERT_EQ(open(a, b), 0);
  const persist::FileHistory before = info();
  bitmap("a.bmp", 16, 8, 100);
  bitmap("b.bmp", 16, 8, 200);
  ASSERT_EQ(reopenPictures(bench, user, progress, progress, PictureSlot::First), 0);
  EXPECT_EQ(pixel(kPicture1, 0, 0), 100);
  EXPECT_EQ(pixel(kPicture2, 0, 0), 1);  // kept
  ASSERT_EQ(reopenPictures(bench, user, progress, progress, std::nullopt), 0);
  EXPECT_EQ(pixel(kPicture2, 0, 0), 200);
  EXPECT_EQ(info(), before);
}

TEST_F(PictureCommands, ReopenClearsTheOtherPictureWhenItHasNoName) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  ASSERT_EQ(open(a, ""), 0);
  bench.store.plane(kPicture2)[5] = 77;
  ASSERT_EQ(reopenPictures(bench, user, progress, progress, PictureSlot::First), 0);
  EXPECT_EQ(bench.store.plane(kPicture2)[5], 0);
  EXPECT_EQ(reopenPictures(bench, user, progress, progress, PictureSlot::Second),
            -1);  // no name to reopen
  EXPECT_EQ(reopenPictures(bench, user, progress, progress, std::nullopt), -1);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(PictureCommands, SwapExchangesPixelsPalettesNamesAndTitles) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  ASSERT_EQ(open(a, b), 0);
  bench.pictures.pictures[1].palette = greyRamp();
  ASSERT_EQ(swapPictures(bench, user, progress, progress), 0);
  EXPECT_EQ(pixel(kPicture1, 3, 2), 3 + 6 + 1);
  EXPECT_EQ(pixel(kPicture2, 3, 2), 3 + 6);
  EXPECT_EQ(bench.pictures.pictures[0].name, b);
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
  EXPECT_EQ(bench.pictures.pictures[1].palette[4 * 10 + 1], 245);  // the file's (10, 245, 5)
  EXPECT_EQ(bench.titles.pane[0], "画像１(b.bmp)");
  EXPECT_EQ(bench.titles.main, "b.bmp a.bmp - Vemla");
  // Image 1 shows Picture 1 and was recreated.
  EXPECT_EQ(pixel(kImage1, 3, 2), 3 + 6 + 1);
}

TEST_F(PictureCommands, CopyPictureKeepsTheNames) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  ASSERT_EQ(open(a, b), 0);
  bench.pictures.pictures[1].palette = greyRamp();
  ASSERT_EQ(copyPicture(bench, user, progress, progress, PictureSlot::Second), 0);
  EXPECT_EQ(pixel(kPicture1, 4, 4), 4 + 12 + 1);
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
  EXPECT_EQ(bench.pictures.pictures[0].name, a);
  EXPECT_EQ(pixel(kImage1, 4, 4), 4 + 12 + 1);
}

TEST_F(PictureCommands, ImageToPictureTakesThePixelsAndAPseudoName) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 10);
  ASSERT_EQ(open(a, b), 0);
  bench.images.kind = {kKindAverage, kKindDifference};
  refreshPictures(bench, user);
  // Image 1 = (p + p + 10) / 2 = p + 5; Image 2 = |p - (p + 10)| = 10 (no wrap for small p).
  const ColourTable shown = bench.view.panes[0].colours;
  ASSERT_EQ(imageToPicture(bench, user, progress, progress, ImageSlot::First, PictureSlot::Second),
            0);
  EXPECT_EQ(pixel(kPicture2, 1, 1), 1 + 3 + 5);
  EXPECT_EQ(bench.pictures.pictures[1].name, "<平均>");
  // The picture takes the colours Image 1 was shown with (grid off): with the colour display
  // off that is the grey table through the contrast curve, which keeps 0 and 128.
  const Palette& palette = bench.pictures.pictures[1].palette;
  for (int g : {0, 77, 128, 255}) {
    const std::size_t i = static_cast<std::size_t>(g);
    EXPECT_EQ(palette[4 * i], shown[i].blue) << g;
    EXPECT_EQ(palette[4 * i + 1], shown[i].green) << g;
    EXPECT_EQ(palette[4 * i + 2], shown[i].red) << g;
    EXPECT_EQ(palette[4 * i + 3], 0) << g;
  }
  EXPECT_EQ(palette[4 * 128], 128);
  EXPECT_EQ(palette[0], 0);
  EXPECT_EQ(bench.titles.pane[1], "画像２<平均>");
  EXPECT_EQ(bench.titles.main, "a.bmp - Vemla");
  // Image 2 was recreated from the new pictures: |p - (p + 5)| = 5.
  EXPECT_EQ(pixel(kImage2, 1, 1), 5);
}

TEST_F(PictureCommands, ImagesToPicturesCrossedUsesTheImagesBeforeEitherChanges) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), bitmap("b.bmp", 16, 8, 10)), 0);
  bench.images.kind = {kKindAverage, kKindDifference};
  refreshPictures(bench, user);
  ASSERT_EQ(imagesToPictures(bench, user, progress, progress, true), 0);
  EXPECT_EQ(pixel(kPicture1, 2, 0), 10);     // was Image 2
  EXPECT_EQ(pixel(kPicture2, 2, 0), 2 + 5);  // was Image 1
  EXPECT_EQ(bench.pictures.pictures[0].name, "<階調差>");
  EXPECT_EQ(bench.pictures.pictures[1].name, "<平均>");
  EXPECT_EQ(bench.titles.main, "Vemla");
}

TEST_F(PictureCommands, GreyScaleChangesOnlyThePalette) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), ""), 0);
  ASSERT_NE(bench.pictures.pictures[0].palette, greyRamp());
  ASSERT_EQ(greyScalePicture(bench, user, progress, progress, PictureSlot::First), 0);
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
  EXPECT_EQ(bench.pictures.pictures[0].drawingPalette, greyRamp());
  EXPECT_EQ(pixel(kPicture1, 5, 5), 5 + 15);
}

TEST_F(PictureCommands, ClearNeedsBothNames) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  ASSERT_EQ(open(a, b), 0);
  ASSERT_EQ(clearPicture(bench, user, progress, progress, PictureSlot::First), 0);
  EXPECT_EQ(pixel(kPicture1, 5, 5), 0);
  EXPECT_EQ(bench.pictures.pictures[0].name, "");
  EXPECT_EQ(bench.pictures.pictures[0].palette, greyRamp());
  EXPECT_EQ(bench.titles.pane[0], "画像１");
  EXPECT_EQ(bench.titles.pane[1], "画像２(b.bmp)");
  // Now Picture 1 has no name: clearing Picture 2 is refused.
  EXPECT_EQ(clearPicture(bench, user, progress, progress, PictureSlot::Second), -1);
  EXPECT_EQ(pixel(kPicture2, 5, 5), 5 + 15 + 1);
}

TEST_F(PictureCommands, EditingRefusesPictureChanges) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), bitmap("b.bmp", 16, 8, 1)), 0);
  bench.pictures.editing = true;
  EXPECT_EQ(swapPictures(bench, user, progress, progress), -1);
  EXPECT_EQ(greyScalePicture(bench, user, progress, progress, PictureSlot::Second), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "画像の編集中はこの機能が使用できません");
  EXPECT_EQ(pixel(kPicture1, 1, 0), 1);
}

TEST_F(PictureCommands, CommandsWithoutPicturesDoNothing) {
  EXPECT_EQ(swapPictures(bench, user, progress, progress), -1);
  EXPECT_EQ(copyPicture(bench, user, progress, progress, PictureSlot::First), -1);
  EXPECT_EQ(imagesToPictures(bench, user, progress, progress, false), -1);
  EXPECT_EQ(savePictureAs(bench, user, PictureSlot::First, dir.file("x.bmp")), -1);
  EXPECT_EQ(saveImageAs(bench, user, ImageSlot::First, dir.file("x.bmp")), -1);
  EXPECT_EQ(overwritePicture(bench, user, PictureSlot::First), -1);
  EXPECT_EQ(fileInformationText(bench), std::nullopt);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_FALSE(fs::exists(dir.file("x.bmp")));
}

class SavingPictures : public PictureCommands {
 protected:
  // Pictures 16 x 8 as if received from the network, named "<Import1>" and "<Import2>".
  void importPictures() {
    MemoryPictures pictures;
    pictures.names = {"<Import1>", "<Import2>"};
    openPictures(
        16, 8, [](int x, int y) { return valueAt(x, y, 0); }, everywhere(9), pictures);
  }
};

TEST_F(SavingPictures, ImportedPictureIsSavedAsButNotOverwritten) {
  importPictures();
  EXPECT_EQ(overwritePicture(bench, user, PictureSlot::First), -1);
  EXPECT_TRUE(user.questions.empty());

  const std::string path = dir.file("saved.bmp");
  ASSERT_EQ(savePictureAs(bench, user, PictureSlot::First, path), 0);
  EXPECT_TRUE(user.messages.empty());
  const auto file = readBytes(path);
  ASSERT_EQ(file.size(), kPixelStart + 16 * 8);
  EXPECT_EQ(filePixel(file, 16, 8, 0, 0), 0);
  EXPECT_EQ(filePixel(file, 16, 8, 15, 7), 15 + 21);
  EXPECT_EQ(file[kPaletteStart + 4 * 200 + 2], 200);  // grey ramp: SaveBitmapAsGrey is on
  EXPECT_EQ(bench.pictures.pictures[0].name, path);
  EXPECT_EQ(bench.titles.pane[0], "画像１(saved.bmp)");
  EXPECT_EQ(bench.titles.pane[1], "画像２<Import2>");
  EXPECT_EQ(bench.titles.main, "saved.bmp - Vemla");
  EXPECT_EQ(info().history[0].used, 0);

  // Now it has a real name and can be overwritten.
  bench.store.plane(kShifted1)[0] = 123;
  user.yesNoAnswers.push_back(true);
  ASSERT_EQ(overwritePicture(bench, user, PictureSlot::First), 0);
  EXPECT_EQ(user.questions.back(), "画像１を上書きしてもよいですか\n" + path);
  EXPECT_EQ(filePixel(readBytes(path), 16, 8, 0, 0), 123);
}

TEST_F(SavingPictures, SaveAsRawWithThePicturesPaletteOption) {
  importPictures();
  bench.options.SaveBitmapAsGrey = false;
  const std::string path = dir.file("two.RAW");
  ASSERT_EQ(savePictureAs(bench, user, PictureSlot::Second, path), 0);
  EXPECT_EQ(readBytes(path), std::vector<std::uint8_t>(16 * 8, 9));
  EXPECT_EQ(bench.shell.lastFiles.saveAs, path);
}

TEST_F(SavingPictures, SaveAsFailureKeepsTheName) {
  importPictures();
  EXPECT_EQ(savePictureAs(bench, user, PictureSlot::First, dir.file("no-such-folder/x.bmp")), -1);
  EXPECT_EQ(savePictureAs(bench, user, PictureSlot::First, dir.file("x.txt")), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "保存できません");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_EQ(bench.pictures.pictures[0].name, "<Import1>");
  // A path that does not fit the name field is refused before writing.
  user.messages.clear();
  const std::string longPath = dir.file(std::string(600, 'l') + ".bmp");
  EXPECT_EQ(savePictureAs(bench, user, PictureSlot::First, longPath), -1);
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙ名が長すぎます");
}

TEST_F(PictureCommands, OverwriteWritesTheShiftedPictureWithItsPalette) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  ASSERT_EQ(open(a, bitmap("b.bmp", 16, 8, 1)), 0);
  const auto original = readBytes(a);
  bench.store.plane(kShifted1)[3 * 16 + 2] = 250;  // (2, 3)

  user.yesNoAnswers.push_back(false);
  EXPECT_EQ(overwritePicture(bench, user, PictureSlot::First), 1);
  EXPECT_EQ(readBytes(a), original);

  user.yesNoAnswers.push_back(true);
  ASSERT_EQ(overwritePicture(bench, user, PictureSlot::First), 0);
  const auto rewritten = readBytes(a);
  ASSERT_EQ(rewritten.size(), original.size());
  EXPECT_EQ(filePixel(rewritten, 16, 8, 2, 3), 250);
  EXPECT_EQ(filePixel(rewritten, 16, 8, 3, 3), 3 + 9);
  // The file's own palette went back with it: entry 10 is (10, 245, 5, 0).
  EXPECT_EQ(std::vector<std::uint8_t>(rewritten.begin() + kPaletteStart + 40,
                                      rewritten.begin() + kPaletteStart + 44),
            (std::vector<std::uint8_t>{10, 245, 5, 0}));
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(PictureCommands, OverwriteFailureKeepsWhatIsThere) {
  const std::string sub = dir.file("sub");
  fs::create_directory(sub);
  writeBytes(sub + "/a.bmp", makeBitmap(16, 8, 8, [](int x, int) {
               return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x)};
             }));
  ASSERT_EQ(open(sub + "/a.bmp", bitmap("b.bmp", 16, 8, 1)), 0);
  const auto original = readBytes(sub + "/a.bmp");

  // Without write permission on the folder no temporary file can be made (root ignores it).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);
    user.yesNoAnswers.push_back(true);
    EXPECT_EQ(overwritePicture(bench, user, PictureSlot::First), -1);
    EXPECT_EQ(user.onlyMessage(), "上書きできません");
    EXPECT_EQ(readBytes(sub + "/a.bmp"), original);
    ::chmod(sub.c_str(), 0755);
    user.messages.clear();
  }

  // A folder where the file was is never replaced.
  fs::remove(sub + "/a.bmp");
  fs::create_directory(sub + "/a.bmp");
  fs::create_directory(sub + "/a.bmp/inside");
  user.yesNoAnswers.push_back(true);
  EXPECT_EQ(overwritePicture(bench, user, PictureSlot::First), -1);
  EXPECT_EQ(user.onlyMessage(), "上書きできません");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_TRUE(fs::is_directory(sub + "/a.bmp/inside"));
  // Only the folder is left in sub: no temporary file stayed behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(sub), fs::directory_iterator()), 1);
}

TEST_F(PictureCommands, SaveImageWritesTheBufferOrTheDisplayedPane) {
  ASSERT_EQ(open(bitmap("a.bmp", 16, 8, 0), bitmap("b.bmp", 16, 8, 10)), 0);
  bench.images.kind = {kKindPicture1, kKindAverage};
  refreshPictures(bench, user);
  const std::string path = dir.file("image2.bmp");
  ASSERT_EQ(saveImageAs(bench, user, ImageSlot::Second, path), 0);
  auto file = readBytes(path);
  ASSERT_EQ(file.size(), kPixelStart + 16 * 8);
  EXPECT_EQ(filePixel(file, 16, 8, 4, 2), 4 + 6 + 5);

  // As displayed: the 512 x 512 pane, rows top-down in the pane, with its colour table.
  bench.shell.saveDisplayedImage = true;
  const std::string shown = dir.file("shown.bmp");
  ASSERT_EQ(saveImageAs(bench, user, ImageSlot::Second, shown), 0);
  file = readBytes(shown);
  ASSERT_EQ(file.size(), kPixelStart + 512 * 512);
  const PaneRaster& pane = bench.view.panes[1];
  EXPECT_EQ(filePixel(file, 512, 512, 0, 0), pane.shown[0]);
  EXPECT_EQ(filePixel(file, 512, 512, 300, 7), pane.shown[7 * 512 + 300]);
  const Rgb entry = pane.colours[77];
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + kPaletteStart + 4 * 77,
                                      file.begin() + kPaletteStart + 4 * 78),
            (std::vector<std::uint8_t>{entry.blue, entry.green, entry.red, 0}));
  EXPECT_TRUE(user.messages.empty());

  EXPECT_EQ(saveImageAs(bench, user, ImageSlot::First, dir.file("missing/x.bmp")), -1);
  EXPECT_EQ(user.onlyMessage(), "保存できません");
}

TEST_F(PictureCommands, FileInformationShowsRealNamesWithTheirTimes) {
  const std::string a = bitmap("a.bmp", 16, 8, 0);
  const std::string b = bitmap("b.bmp", 16, 8, 1);
  const auto setTime = [](const std::string& path, int hour) {
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 4;
    local.tm_hour = hour;
    local.tm_min = 6;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  };
  setTime(a, 5);
  setTime(b, 15);
  ASSERT_EQ(open(a, b), 0);
  EXPECT_EQ(fileInformationText(bench), "（画像１）\n" + a +
                                            "\n　　更新日時：2021/03/04  5:06\n（画像２）\n" + b +
                                            "\n　　更新日時：2021/03/04 15:06\n大きさ　16 x 8");
  bench.pictures.pictures[0].name = "<Import1>";
  EXPECT_EQ(fileInformationText(bench),
            "（画像２）\n" + b + "\n　　更新日時：2021/03/04 15:06\n大きさ　16 x 8");
}

TEST(PasteDecision, ClipboardFilesBecomeNamesToOpenOrAnArchive) {
  const std::array<std::string, 2> current{"/p/cur1.bmp", "/p/cur2.bmp"};
  PasteDecision d = pasteDecision({"/p/x.bmp", "/p/y.raw", "/p/z.bmp"}, std::nullopt, current);
  EXPECT_EQ(d.action, PasteDecision::Action::OpenPictures);
  EXPECT_EQ(d.names, (std::array<std::string, 2>{"/p/x.bmp", "/p/y.raw"}));
  EXPECT_EQ(d.mode, OpenMode::Both);

  d = pasteDecision({"/p/x.bmp"}, std::nullopt, current);
  EXPECT_EQ(d.names, (std::array<std::string, 2>{"/p/x.bmp", ""}));

  d = pasteDecision({"/p/set.Vla", "/p/y.bmp"}, std::nullopt, current);
  EXPECT_EQ(d.action, PasteDecision::Action::OpenArchive);
  EXPECT_EQ(d.archivePath, "/p/set.Vla");

  d = pasteDecision({"/p/x.bmp", "/p/y.bmp"}, PictureSlot::First, current);
  EXPECT_EQ(d.names, (std::array<std::string, 2>{"/p/x.bmp", "/p/cur2.bmp"}));
  EXPECT_EQ(d.mode, OpenMode::FirstOnly);

  d = pasteDecision({"/p/x.bmp"}, PictureSlot::Second, current);
  EXPECT_EQ(d.names, (std::array<std::string, 2>{"/p/cur1.bmp", "/p/x.bmp"}));
  EXPECT_EQ(d.mode, OpenMode::SecondOnly);

  EXPECT_EQ(pasteDecision({}, std::nullopt, current).action, PasteDecision::Action::Nothing);
}

TEST(OpenMode, EachModeOpensItsSlots) {
  for (PictureSlot slot : kPictureSlots) {
    EXPECT_TRUE(opens(openingOnly(slot), slot));
    EXPECT_FALSE(opens(openingOnly(slot), other(slot)));
    EXPECT_TRUE(opens(OpenMode::Both, slot));
  }
}

}  // namespace
}  // namespace vemla
