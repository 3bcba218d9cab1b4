#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "platform/loopback_peer.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::freePort;
using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun run(std::vector<std::string> words) {
  std::ostringstream out, err;
  const int status = runCli(words, out, err);
  return {status, out.str(), err.str()};
}

class ExportImport : public ::testing::Test {
 protected:
  void SetUp() override {
    // Picture 1 is 10 x + y, picture 2 is 200 - x - y (x, y from the top left), 9 x 8.
    picture1 = dir.file("p1.bmp");
    picture2 = dir.file("p2.bmp");
    writeBytes(picture1, makeBitmap(9, 8, 8, [](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(10 * x + y)};
               }));
    writeBytes(picture2, makeBitmap(9, 8, 8, [](int x, int y) {
                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(200 - x - y)};
               }));
    port = std::to_string(freePort());
  }

  // Runs the export in a thread and the import here; the import retries until the export
  // listens, so neither needs to wait for the other.
  std::pair<CliRun, CliRun> exchange(std::vector<std::string> exportWords,
                                     std::vector<std::string> importWords) {
    CliRun exported;
    std::thread exporter([&] { exported = run(exportWords); });
    const CliRun imported = run(importWords);
    exporter.join();
    return {exported, imported};
  }

  TempDir dir;
  std::string picture1, picture2, port;
};

TEST_F(ExportImport, ExportAndImportInteroperateOverLoopback) {
  const std::string out1 = dir.file("in1.raw"), out2 = dir.file("in2.bmp");
  const auto [exported, imported] =
      exchange({"export", picture1, picture2, "--password", "Pass word", "--port", port,
                "--timeout", "5", "--position", "2,3", "--mag", "4"},
               {"import", "127.0.0.1", out1, out2, "--password", "Pass word", "--port", port,
                "--timeout", "5", "--user", "tester"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(exported.out, "exported to=127.0.0.1 user=tester\n");
  EXPECT_EQ(imported.out, "size=9x8 position=2,3 mag=4 reduced=0\n");

  const std::vector<std::uint8_t> raw = readBytes(out1);
  ASSERT_EQ(raw.size(), 72u);
  EXPECT_EQ(raw[0], 0);
  EXPECT_EQ(raw[3 * 9 + 5], 53);  // x 5, y 3
  EXPECT_EQ(raw[71], 87);         // x 8, y 7

  // The bitmap carries picture 2's palette, entry i = (i, 255 - i, i / 2, 0); its first stored
  // row is the bottom row y 7.
  const std::vector<std::uint8_t> bitmap = readBytes(out2);
  ASSERT_EQ(bitmap.size(), 1078u + 12u * 8u);
  EXPECT_EQ(bitmap[54 + 4 * 100 + 0], 100);
  EXPECT_EQ(bitmap[54 + 4 * 100 + 1], 155);
  EXPECT_EQ(bitmap[54 + 4 * 100 + 2], 50);
  EXPECT_EQ(bitmap[1078 + 0], 200 - 7);
  EXPECT_EQ(bitmap[1078 + 12 * 7 + 8], 200 - 8);  // top row, x 8
}

TEST_F(ExportImport, ExportSendsTheCentreAndTheReducedFlagByDefault) {
  const auto [exported, imported] =
      exchange({"export", picture1, picture2, "--password", "x", "--port", port, "--timeout", "5",
                "--reduced"},
               {"import", "127.0.0.1", dir.file("a.raw"), dir.file("b.raw"), "--password", "x",
                "--port", port, "--timeout", "5"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "size=9x8 position=4,4 mag=1 reduced=1\n");
}

TEST_F(ExportImport, AWrongPasswordFailsOnBothSidesWithTheirMessages) {
  const std::string out1 = dir.file("in1.raw");
  const auto [exported, imported] = exchange(
      {"export", picture1, picture2, "--password", "Secret", "--port", port, "--timeout", "5"},
      {"import", "127.0.0.1", out1, dir.file("in2.raw"), "--password", "secret", "--port", port,
       "--timeout", "5"});
  EXPECT_EQ(exported.status, 1);
  EXPECT_EQ(exported.err, "Import要求がありましたがﾊﾟｽﾜｰﾄﾞが一致していません\n");
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.err, "Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります\n");
  EXPECT_FALSE(std::filesystem::exists(out1));
}

TEST_F(ExportImport, ImportTimesOutWithTheWorkbenchMessage) {
  const auto start = std::chrono::steady_clock::now();
  const CliRun imported = run({"import", "127.0.0.1", dir.file("a.raw"), dir.file("b.raw"),
                               "--password", "x", "--port", port, "--timeout", "1"});
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.err, "タイムアウトが発生しました\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
}

TEST_F(ExportImport, RefusesEmptyPasswordsWithTheWorkbenchMessages) {
  const CliRun exported = run({"export", picture1, picture2, "--password", "", "--port", port});
  EXPECT_EQ(exported.status, 1);
  EXPECT_EQ(exported.err,
            "Import許可を与えるためのﾊﾟｽﾜｰﾄﾞが設定されていません\n"
            "「ｵﾌﾟｼｮﾝ情報の設定-通信」でﾊﾟｽﾜｰﾄﾞを設定して下さい\n");
  const CliRun imported = run({"import", "127.0.0.1", dir.file("a.raw"), dir.file("b.raw"),
                               "--password", "", "--port", port});
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.err, "Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい\n");
}

TEST_F(ExportImport, RefusesAnOutputKindBeforeConnecting) {
  const CliRun imported = run({"import", "127.0.0.1", dir.file("a.jpg"), dir.file("b.raw"),
                               "--password", "x", "--port", port, "--timeout", "30"});
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.err, "ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです\n" + dir.file("a.jpg") + "\n");
}

TEST_F(ExportImport, OutOfRangeValuesAreUsageErrors) {
  const std::string a = dir.file("a.raw"), b = dir.file("b.raw");
  const std::vector<std::vector<std::string>> wrong{
      {"export", picture1, picture2, "--port", port},  // no password
      {"export", picture1, picture2, "--password", "x", "--port", "0"},
      {"export", picture1, picture2, "--password", "x", "--port", "65536"},
      {"export", picture1, picture2, "--password", "x", "--timeout", "0"},
      {"export", picture1, picture2, "--password", "x", "--timeout", "3601"},
      {"export", picture1, picture2, "--password", "x", "--mag", "65"},
      {"export", picture1, picture2, "--password", "x", "--mag", "2", "--reduced"},
      {"export", picture1, picture2, "--password", "x", "--position", "9,0"},  // outside 9 x 8
      {"export", picture1, picture2, "--password", "x", "--position", "-1,0"},
      {"export", picture1, picture2, "--password", std::string(63, 'p')},  // 62 bytes at most
      {"import", "127.0.0.1", a, b},
      {"import", "127.0.0.1", a, b, "--password", std::string(64, 'p')},
      {"import", "127.0.0.1", a, b, "--password", "x", "--user", std::string(256, 'u')},
      {"import", "1.2.3", a, b, "--password", "x"},
      {"import", "1.2.3.256", a, b, "--password", "x"},
      {"import", "1.2.3.4.5", a, b, "--password", "x"},
      {"import", "localhost", a, b, "--password", "x"},
      {"import", "1..2.3", a, b, "--password", "x"},
      {"import", "127.0.0.1", a, b, "--password", "x", "--timeout", "3601"},
  };
  for (const auto& words : wrong) {
    const CliRun result = run(words);
    EXPECT_EQ(result.status, 2) << words[0] << " " << words[words.size() - 1] << ": " << result.err;
  }
}

}  // namespace
}  // namespace vemla::cli
