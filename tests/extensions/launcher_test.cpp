// The launcher's argument builder, launch file, result list and output read-back.
#include "extensions/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "extensions/launcher_messages.h"
#include "picture/bitmap.h"
#include "support/picture_encoders.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

// Eight gallery slots; slot 3 holds a true-colour picture.
LaunchInputs inputs() {
  LaunchInputs in;
  in.width = 640;
  in.height = 480;
  in.cursorX = 12;
  in.cursorY = 34;
  in.gallerySlots = 8;
  in.slotIsGreyPicture = [](int slot) { return slot != 3; };
  return in;
}

// The "確認" lines of a template, or the builder's message.
std::vector<std::string> confirm(const std::string& arguments, int output = 0,
                                 const std::string& file1 = "") {
  LauncherSettings settings;
  settings.program = "/opt/my tools/prog";
  settings.arguments = arguments;
  settings.output = output;
  settings.files[0] = file1;
  const LaunchBuild build = buildLaunchPlan(settings, inputs());
  if (!build.message.empty()) return {build.message};
  return confirmationLines(build.plan, launchExtension(settings));
}

TEST(LaunchTemplate, QuotesGroupBlanksAndValuesStayInTheirElement) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(confirm(""), Lines{"argv[0]:/opt/my tools/prog"});
  EXPECT_EQ(confirm("<p1>   -o<OUT>"),
            (Lines{"argv[0]:/opt/my tools/prog", "argv[1]:画像1のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmp",
                   "argv[2]:-o出力先のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmp"}));
  EXPECT_EQ(confirm("\"a  b\" \"\" x\"<P1>\"y"),
            (Lines{"argv[0]:/opt/my tools/prog", "argv[1]:a  b", "argv[2]:", "argv[3]:x<P1>y"}));
  // A substituted value is never split or interpreted, whatever it holds.
  EXPECT_EQ(confirm("-f<F1>", 0, "a b $(x);\"'"),
            (Lines{"argv[0]:/opt/my tools/prog", "argv[1]:-fa b $(x);\"'"}));
  EXPECT_EQ(confirm("<SX>x<sy> <CX>,<CY> a<b <I2><G2 >"),
            (Lines{"argv[0]:/opt/my tools/prog", "argv[1]:640x480", "argv[2]:12,34", "argv[3]:a<b",
                   "argv[4]:ｲﾒｰｼﾞ2のﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmpｷﾞｬﾗﾘｰのﾃﾝﾎﾟﾗﾘﾌｧｲﾙ.bmp"}));
}

TEST(LaunchTemplate, FirstErrorStopsTheBuild) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(confirm("<F2>"), Lines{"引数の <F2> が示すﾌｧｲﾙ名に誤りがあります"});
  for (const char* bad : {"<G0>", "<G9>", "<G 3>", "<G3", "<G99999999999>"}) {
    EXPECT_EQ(confirm(bad), Lines{launcher_msg::kBadGalleryNumber}) << bad;
  }
  EXPECT_EQ(confirm("<G3>"), Lines{launcher_msg::kGalleryNotGrey});
  EXPECT_EQ(confirm("<OUT> <out>"), Lines{launcher_msg::kTwoOutputs});
  EXPECT_EQ(confirm("<P1>", 1), Lines{launcher_msg::kOutputNeeded});
  LauncherSettings empty;
  EXPECT_EQ(buildLaunchPlan(empty, inputs()).message, launcher_msg::kBadProgram);
}

TEST(LaunchTemplate, ArgumentsNameTheWrittenFiles) {
  LauncherSettings settings;
  settings.program = "prog";
  settings.arguments = "<P2> -o <OUT>";
  settings.format = 1;
  const LaunchBuild build = buildLaunchPlan(settings, inputs());
  ASSERT_EQ(build.plan.files.size(), 2u);
  EXPECT_EQ(build.plan.outputFile, 1);
  EXPECT_EQ(launchArguments(build.plan, {"/f/$VU1-a.raw", "/f/$VU1-b.raw"}),
            (std::vector<std::string>{"prog", "/f/$VU1-a.raw", "-o", "/f/$VU1-b.raw"}));
}

TEST(LaunchFile, RoundTripAndForeignFiles) {
  LauncherSettings settings;
  settings.program = "/usr/bin/prog";
  settings.arguments = "<P1> <OUT>";
  settings.files = {"a", "", "ｶﾞｲﾄﾞ.txt", "d"};
  settings.format = 1;
  settings.output = 1;
  settings.destination = 2;
  settings.timing = 1;
  auto bytes = encodeLaunchFile(settings);
  LauncherSettings read;
  ASSERT_EQ(decodeLaunchFile(bytes, read), LaunchFileStatus::Ok);
  EXPECT_EQ(read, settings);

  // Any fourth magic byte; switches out of range read as 0.
  bytes[3] = '9';
  bytes[3076] = 7;     // format
  bytes[3084] = 3;     // destination
  bytes[3103] = 0x80;  // close: negative
  ASSERT_EQ(decodeLaunchFile(bytes, read), LaunchFileStatus::Ok);
  EXPECT_EQ(read.format, 0);
  EXPECT_EQ(read.destination, 0);
  EXPECT_EQ(read.close, 0);
  EXPECT_EQ(read.output, 1);

  // Foreign files change nothing.
  const LauncherSettings before = read;
  auto foreign = bytes;
  foreign[2] = 'X';
  EXPECT_EQ(decodeLaunchFile(foreign, read), LaunchFileStatus::NotLaunchFile);
  foreign = bytes;
  std::fill(foreign.begin() + 516, foreign.begin() + 1028, 'a');  // template without NUL
  EXPECT_EQ(decodeLaunchFile(foreign, read), LaunchFileStatus::NotLaunchFile);
  foreign = bytes;
  foreign[4] = 0x80;  // a lone lead byte: not CP932
  foreign[5] = 0;
  EXPECT_EQ(decodeLaunchFile(foreign, read), LaunchFileStatus::NotLaunchFile);
  EXPECT_EQ(decodeLaunchFile(std::span(bytes).first(3103), read), LaunchFileStatus::Short);
  EXPECT_EQ(read, before);
}

TEST(LaunchResultList, WarningTimeOutputsAndRule) {
  const ProgramOutput output{"a\r\nb\n\nc", "e\n", 42};
  EXPECT_EQ(resultLines(output, true, true, true),
            (std::vector<std::string>{launcher_msg::kNoOutput, "（処理時間） 42(msec)", "a", "b",
                                      "", "c", "---------------------------------", "e"}));
  EXPECT_EQ(resultLines({"x\n", "", 0}, false, false, true), std::vector<std::string>{"x"});
  EXPECT_TRUE(resultLines(output, false, false, false).empty());
}

// A failure is listed after the time, and its standard error is shown even when the outputs
// are not.
TEST(LaunchResultList, AFailedProgramShowsItsStatusAndStandardError) {
  using Lines = std::vector<std::string>;
  const std::string rule = "---------------------------------";
  struct Case {
    int exitStatus, signal;
    bool showOutput;
    Lines expected;
  };
  const Case cases[] = {
      {3, 0, false, {"（処理時間） 7(msec)", "（終了ｺｰﾄﾞ） 3", rule, "e"}},
      {3, 0, true, {"（処理時間） 7(msec)", "（終了ｺｰﾄﾞ） 3", "o", rule, "e"}},
      {0, 15, false, {"（処理時間） 7(msec)", "（異常終了） ｼｸﾞﾅﾙ 15", rule, "e"}},
      {0, 0, false, {"（処理時間） 7(msec)"}},
  };
  for (const Case& c : cases) {
    const ProgramOutput output{"o\n", "e\n", 7, c.exitStatus, c.signal};
    EXPECT_EQ(resultLines(output, false, true, c.showOutput), c.expected)
        << c.exitStatus << " " << c.signal << " " << c.showOutput;
  }
}

// Output files of a 4 x 2 picture pair.
class LaunchOutput : public ::testing::Test {
 protected:
  std::string read(const std::vector<std::uint8_t>& file, bool raw) {
    writeBytes(path, file);
    pixels.assign(8, 0);
    return readLaunchOutput(path, raw, 4, 2, RgbRatio{}, pixels);
  }
  static std::vector<std::uint8_t> bitmap(int width, int height, int bits) {
    return makeBitmap(width, height, bits, [bits](int x, int y) {
      return std::vector<std::uint8_t>(static_cast<std::size_t>(bits / 8),
                                       static_cast<std::uint8_t>(10 * y + x));
    });
  }
  TempDir dir;
  std::string path = dir.file("out");
  std::vector<std::uint8_t> pixels;
};

TEST_F(LaunchOutput, TakesExactSizesAndConvertsOtherPalettes) {
  EXPECT_EQ(read({1, 2, 3, 4, 5, 6, 7, 8}, true), "");
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  // The test bitmaps' palette entry i is (blue i, green 255 - i, red i / 2): grey through the
  // standard ratios, truncated.
  EXPECT_EQ(read(bitmap(4, 2, 8), false), "");
  auto grey = [](int i) {
    return static_cast<std::uint8_t>((255 - i) * 0.587 + i * 0.114 + (i / 2) * 0.299);
  };
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{grey(0), grey(1), grey(2), grey(3), grey(10),
                                               grey(11), grey(12), grey(13)}));
  // A grey-ramp bitmap is taken byte for byte.
  const std::vector<std::uint8_t> values{0, 1, 2, 3, 200, 201, 202, 255};
  ASSERT_EQ(writeBitmap(path + ".bmp", 4, 2, 1, values.data(), nullptr), 0);
  EXPECT_EQ(read(testing::readBytes(path + ".bmp"), false), "");
  EXPECT_EQ(pixels, values);
  // So is a grey PNG (the program's output may be any picture file, told by its first bytes).
  EXPECT_EQ(read(testing::encodePng({.width = 4, .height = 2},
                                    std::vector<std::uint16_t>(values.begin(), values.end())),
                 false),
            "");
  EXPECT_EQ(pixels, values);
}

TEST_F(LaunchOutput, RefusesWrongFilesWithTheirMessages) {
  EXPECT_EQ(read({1, 2, 3, 4, 5, 6, 7}, true),
            "出力されたRAWﾌｧｲﾙの読み込みに失敗しました\n" + path);
  EXPECT_EQ(read({1, 2, 3, 4, 5, 6, 7, 8, 9}, true),
            "出力されたRAWﾌｧｲﾙの読み込みに失敗しました\n" + path);
  EXPECT_EQ(read(bitmap(4, 3, 8), false),
            "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙのｻｲｽﾞが状態と一致しません\nX:4 Y:2 で作成して下さい");
  EXPECT_EQ(read(bitmap(4, 2, 24), false), "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが256色ではありません\n" + path);
  // Bytes no picture reader knows, even fewer than a bitmap header.
  EXPECT_EQ(read({'P', 'K', 0, 0}, false),
            "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙはｻﾎﾟｰﾄされていない形式です\n" + path);
  auto truncated = bitmap(4, 2, 8);
  truncated.resize(truncated.size() - 1);
  EXPECT_EQ(read(truncated, false), "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙの読み込みに失敗しました\n" + path);
  // A FIFO is not waited on.
  const std::string fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readLaunchOutput(fifo, true, 4, 2, RgbRatio{}, pixels),
            "出力されたRAWﾌｧｲﾙの読み込みに失敗しました\n" + fifo);
}

}  // namespace
}  // namespace vemla
