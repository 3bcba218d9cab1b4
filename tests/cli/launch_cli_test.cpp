// vemla-cli launch and the launcher's run on the workbench, with the stub program of the tests.
#include <gtest/gtest.h>

#include <filesystem>

#include "extensions/launcher_messages.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "platform/user_program.h"
#include "processing/image_kinds.h"
#include "support/cli_run.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

using vemla::testing::TempDir;

// Two 8 x 8 grey pictures and the stub as the program.
class LaunchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    picture = dir.file("p.bmp");
    const std::vector<std::uint8_t> grey(64, 100);
    ASSERT_EQ(writeBitmap(picture, 8, 8, 1, grey.data(), nullptr), 0);
  }
  CliRun launch(const std::string& arguments, std::vector<std::string> flags = {}) {
    std::vector<std::string> words{"launch",          picture,  picture,  "--program",
                                   VEMLA_LAUNCH_STUB, "--args", arguments};
    words.insert(words.end(), flags.begin(), flags.end());
    return run(words);
  }
  TempDir dir;
  std::string picture;
};

TEST_F(LaunchCli, ConfirmListsTheElementsAndRunPassesThemUnchanged) {
  const CliRun listed = launch("args <P1> \"a  b\" -c<CX>,<CY>", {"--confirm", "--cursor", "2,3"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, std::string("argv[0]:") + VEMLA_LAUNCH_STUB +
                            "\nargv[1]:args\nargv[2]:画像1のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmp\nargv[3]:a  b\n"
                            "argv[4]:-c2,3\n");

  const CliRun ran = launch("args \"a  b\" <F1> \"\"", {"--file", "1:x $(y);'\"", "--timing"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_NE(ran.out.find("（処理時間） "), std::string::npos);
  EXPECT_NE(ran.out.find("argv[1]=a  b\nargv[2]=x $(y);'\"\nargv[3]=\n"), std::string::npos)
      << ran.out;
}

TEST_F(LaunchCli, OutputIsReadBackOrRefusedWithItsMessage) {
  const std::string made = dir.file("made.bmp"), out = dir.file("out.raw");
  std::vector<std::uint8_t> values(64);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint8_t>(3 * i);
  ASSERT_EQ(writeBitmap(made, 8, 8, 1, values.data(), nullptr), 0);
  const CliRun taken = launch("copy " + made + " <OUT>", {"--output", out});
  EXPECT_EQ(taken.status, 0) << taken.err;
  EXPECT_EQ(vemla::testing::readBytes(out), values);

  const std::string wrong = dir.file("wrong.bmp");
  ASSERT_EQ(writeBitmap(wrong, 8, 4, 1, values.data(), nullptr), 0);
  const CliRun refused = launch("copy " + wrong + " <OUT>", {"--output", dir.file("o2.raw")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙのｻｲｽﾞが状態と一致しません\nX:8 Y:8 で作成して下さい\n");
  EXPECT_FALSE(fileExists(dir.file("o2.raw")));

  const CliRun none = launch("args <OUT>", {"--output", dir.file("o3.raw")});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out.substr(0, none.out.find('\n')), launcher_msg::kNoOutput);
}

// A program that exits with a status still gives its output, and the list says how it
// ended; one ended by a signal has failed and its output is not taken.
TEST_F(LaunchCli, FailedProgramsTellHowTheyEnded) {
  const std::string made = dir.file("made.bmp");
  const std::vector<std::uint8_t> values(64, 42);
  ASSERT_EQ(writeBitmap(made, 8, 8, 1, values.data(), nullptr), 0);
  struct Case {
    std::string how;
    int status;
    std::string out, err;
    bool taken;
  };
  const std::string rule = "---------------------------------\n";
  const Case cases[] = {
      {"fail 3", 0, "（終了ｺｰﾄﾞ） 3\nout\n" + rule + "failed\n", "", true},
      {"fail 0", 0, "out\n" + rule + "failed\n", "", true},
      {"signal 15", 1, "（異常終了） ｼｸﾞﾅﾙ 15\nout\n" + rule + "failed\n",
       "（異常終了） ｼｸﾞﾅﾙ 15\n", false},
  };
  for (const Case& c : cases) {
    const std::string out = dir.file("out.raw");
    std::filesystem::remove(out);
    const CliRun ran = launch(c.how + " " + made + " <OUT>", {"--output", out});
    EXPECT_EQ(ran.status, c.status) << c.how;
    EXPECT_EQ(ran.out, c.out) << c.how;
    EXPECT_EQ(ran.err, c.err) << c.how;
    EXPECT_EQ(fileExists(out), c.taken) << c.how;
    if (c.taken) EXPECT_EQ(vemla::testing::readBytes(out), values) << c.how;
  }
}

TEST_F(LaunchCli, ChattyProgramsAreCutAtTheCaptureAndBackgroundChildrenNotAwaited) {
  // --max 1024x1024: each output is kept to 1024 * 1024 - 1 bytes of the 4 MiB written.
  const CliRun flood = launch("flood 4194304", {"--max", "1024x1024"});
  EXPECT_EQ(flood.status, 0);
  const std::string kept(1024 * 1024 - 1, 'x');
  EXPECT_TRUE(flood.out == kept + "\n---------------------------------\n" + kept + "\n")
      << flood.out.size() << " bytes";

  const CliRun lines = launch("lines");
  EXPECT_EQ(lines.out, "a\nb\n---------------------------------\ne\n");

  // The child that holds the pipes prints "late" a second after the program's exit.
  const CliRun background = launch("background");
  EXPECT_EQ(background.out, "parent\n");
}

TEST_F(LaunchCli, ProgramsThatCannotStartAndBadTemplatesChangeNothing) {
  const CliRun missing =
      run({"launch", picture, picture, "--program", dir.file("no such program")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            std::string(launcher_msg::kBadProgram) + "\n" + dir.file("no such program") + "\n");
  const CliRun gallery = launch("<G1>");
  EXPECT_EQ(gallery.status, 1);
  EXPECT_EQ(gallery.err, std::string(launcher_msg::kBadGalleryNumber) + "\n");
  EXPECT_EQ(launch(std::string(512, 'a')).status, 2);
}

// On the workbench: the destination image switches to the result, the other image showing it
// is recomputed, and another live copy's temporary files are kept.
class LaunchRun : public vemla::testing::WorkbenchFixture {};

TEST_F(LaunchRun, ResultReachesTheImagesAndOtherCopiesFilesStay) {
  TempDir dir;
  bench.settings.folder = dir.path();
  const std::string othersFile = dir.file("$VU1-kept.bmp");  // process 1 is always alive
  vemla::testing::writeBytes(othersFile, {1});
  openPictures(8, 8, everywhere(100), everywhere(50));
  bench.images.kind[1] = kKindUserProgram;

  const std::string made = dir.file("made.raw");
  vemla::testing::writeBytes(made, std::vector<std::uint8_t>(64, 77));
  LauncherSettings settings;
  settings.program = VEMLA_LAUNCH_STUB;
  settings.arguments = "copy " + made + " <OUT>";
  settings.format = 1;
  settings.output = 1;
  settings.destination = 1;
  settings.close = 1;
  platform::PosixProgramRunner runner;
  const LaunchResult result = runUserProgram(bench, user, progress, progress, runner, settings);
  EXPECT_EQ(result.status, LaunchResult::Status::Ran);
  EXPECT_EQ(bench.launcher, settings);
  EXPECT_EQ(bench.images.kind[0], kKindUserProgram);
  for (Plane image : {kImage1, kImage2}) EXPECT_EQ(pixel(image, 7, 7), 77);
  EXPECT_TRUE(filesWithPrefix(dir.path(), "$VU" + std::to_string(::getpid())).empty());
  EXPECT_TRUE(fileExists(othersFile));
}

}  // namespace
}  // namespace vemla::cli
