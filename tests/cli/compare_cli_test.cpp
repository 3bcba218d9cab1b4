#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "picture/messages.h"
#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr int kSide = 64;
// The defect of the defect pairs: 5 x 5 pixels at (40, 30) of TEST, 90 grey levels brighter.
constexpr int kDefectX = 40, kDefectY = 30;

// A smooth scene, its value at a real position; moved pictures sample it moved.
double scene(double x, double y) {
  return 128 + 50 * std::sin(x * 0.35 + 0.15 * y) + 40 * std::cos(y * 0.27 - 0.1 * x);
}

class CompareCli : public ::testing::Test {
 protected:
  // The scene moved right by dx and down by dy, optionally with the defect.
  std::string picture(const std::string& path, double dx, double dy, bool defect = false) {
    writeBytes(path, makeBitmap(
                         kSide, -kSide, 8,
                         [&](int x, int y) {
                           int value = static_cast<int>(std::lround(scene(x - dx, y - dy)));
                           if (defect && x >= kDefectX && x < kDefectX + 5 && y >= kDefectY &&
                               y < kDefectY + 5) {
                             value = std::min(255, value + 90);
                           }
                           return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value)};
                         },
                         256));
    return path;
  }
  // An 8-bit picture of any size whose pixel (x, y) is value(x, y).
  static std::string written(const std::string& path, int width, int height,
                             const std::function<int(int, int)>& value) {
    writeBytes(path, makeBitmap(
                         width, -height, 8,
                         [&](int x, int y) {
                           return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value(x, y))};
                         },
                         256));
    return path;
  }
  static nlohmann::json lastObject(const std::string& out) {
    return nlohmann::json::parse(out.substr(out.rfind('{')));
  }
  std::string folder(const std::string& name) {
    std::filesystem::create_directory(dir.file(name));
    return dir.file(name);
  }
  static std::string readText(const std::string& path) {
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
  }
  TempDir dir;
};

TEST_F(CompareCli, IdenticalMovedAndUnalignedPairs) {
  const std::string ref = picture(dir.file("ref.bmp"), 0, 0);
  const std::string same = picture(dir.file("same.bmp"), 0, 0);
  const std::string moved = picture(dir.file("moved.bmp"), 1.25, -0.5);

  CliRun result = run({"compare", ref, same});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "shift=左右：なし,上下：なし max=0 mean=0.0000 over=0 area=0.000000\n");

  // Picture 2 moved right and up is moved back left and down by the alignment.
  result = run({"compare", ref, moved, "--threshold", "8"});
  ASSERT_EQ(result.status, 0) << result.err << result.out;
  EXPECT_EQ(result.out.rfind("shift=左：1+4/16,下：0+8/16 max=", 0), 0u) << result.out;

  result = run({"compare", ref, moved, "--threshold", "8", "--no-align"});
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_EQ(result.out.rfind("shift=左右：なし,上下：なし max=", 0), 0u) << result.out;
  // The mean limit alone decides once it is given.
  result = run({"compare", ref, moved, "--no-align", "--max-mean", "255"});
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(CompareCli, UsageErrorsAndAFailedOpenAreToldApartFromADifference) {
  const std::string ref = picture(dir.file("ref.bmp"), 0, 0);
  EXPECT_EQ(run({"compare", ref, ref, "--kind", "2"}).status, 2);
  EXPECT_EQ(run({"compare", ref, ref, "--no-align", "--align", "fast"}).status, 2);
  EXPECT_EQ(run({"compare", ref, ref, "--max-area", "1.5"}).status, 2);
  EXPECT_EQ(run({"compare", ref, dir.path()}).status, 2);
  const CliRun missing = run({"compare", ref, dir.file("none.bmp")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.bmp"), std::string::npos) << missing.err;
}

TEST_F(CompareCli, FoldersNameMissingAndUnreadableFilesAndPrintJson) {
  const std::string refs = folder("ref"), tests = folder("out");
  picture(refs + "/a.bmp", 0, 0);
  picture(tests + "/a.bmp", 1.25, -0.5);
  picture(refs + "/b.bmp", 0, 0);
  picture(tests + "/b.bmp", 1.25, -0.5, true);
  picture(refs + "/c.bmp", 0, 0);
  writeBytes(tests + "/c.bmp", {'B', 'M', 1, 2, 3});
  picture(refs + "/only-ref.bmp", 0, 0);
  picture(tests + "/only-out.bmp", 0, 0);

  const CliRun lines = run({"compare", refs, tests, "--threshold", "8"});
  EXPECT_EQ(lines.status, 1);
  EXPECT_TRUE(std::regex_search(lines.out, std::regex("^a\\.bmp shift=\\S+ max=\\d+ mean=[0-9.]+ "
                                                      "over=\\d+ area=[0-9.]+ ok\n"
                                                      "b\\.bmp shift=.* exceeds\n"
                                                      "pairs=2 exceeds=1\n$")))
      << lines.out;
  for (const char* named : {"c.bmp: ", "only-ref.bmp: missing in", "only-out.bmp: missing in"}) {
    EXPECT_NE(lines.err.find(named), std::string::npos) << named << '\n' << lines.err;
  }

  std::filesystem::remove(refs + "/c.bmp");
  std::filesystem::remove(tests + "/c.bmp");
  std::filesystem::remove(refs + "/only-ref.bmp");
  std::filesystem::remove(tests + "/only-out.bmp");
  // A Latin-1 file name is no UTF-8, yet the system opens it, so the workbench does; its object
  // names it with the bytes replaced instead of ending the program.
  picture(refs + "/\xe9t\xe9.bmp", 0, 0);
  picture(tests + "/\xe9t\xe9.bmp", 0, 0);
  const CliRun json = run({"compare", refs, tests, "--threshold", "8", "--json"});
  EXPECT_EQ(json.status, 3) << json.err;
  std::istringstream objects(json.out);
  std::vector<nlohmann::json> parsed;
  for (std::string line; std::getline(objects, line);)
    parsed.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(parsed.size(), 4u);
  EXPECT_EQ(parsed[0]["name"], "a.bmp");
  EXPECT_EQ(parsed[0]["verdict"], "ok");
  EXPECT_EQ(parsed[1]["verdict"], "exceeds");
  EXPECT_GT(parsed[1]["over"].get<int>(), 20);
  EXPECT_EQ(parsed[1]["shift"][0], "左：1+4/16");
  EXPECT_EQ(parsed[2]["name"], "\xef\xbf\xbdt\xef\xbf\xbd.bmp");
  EXPECT_EQ(parsed[2]["verdict"], "ok");
  EXPECT_EQ(parsed[3], (nlohmann::json{{"pairs", 3}, {"exceeds", 1}, {"failed", 0}}));
}

TEST_F(CompareCli, ReportOutlinesTheDefectAndPutsTheWorstPairFirst) {
  const std::string refs = folder("ref"), tests = folder("out");
  const std::string oddName = "a<b&c>.bmp";  // sorts first, yet is the better pair
  picture(refs + "/" + oddName, 0, 0);
  picture(tests + "/" + oddName, 1.25, -0.5);
  picture(refs + "/defect.bmp", 0, 0);
  picture(tests + "/defect.bmp", 1.25, -0.5, true);
  const std::string report = dir.file("report");
  const CliRun result = run({"compare", refs, tests, "--threshold", "8", "--report", report});
  ASSERT_EQ(result.status, 3) << result.err;

  const std::string html = readText(report + "/index.html");
  EXPECT_EQ(html.find("a<b"), std::string::npos);
  const auto summary = html.find("<tbody>");
  const auto worst = html.find("defect.bmp</a>", summary);
  const auto better = html.find("a&lt;b&amp;c&gt;.bmp</a>", summary);
  ASSERT_NE(worst, std::string::npos);
  ASSERT_NE(better, std::string::npos);
  EXPECT_LT(worst, better);
  EXPECT_EQ(html.find("http"), std::string::npos);  // nothing fetched from elsewhere
  // The one script flips the blink views; the swipe views work by CSS alone.
  const auto script = html.find("<script");
  ASSERT_NE(script, std::string::npos);
  EXPECT_EQ(html.find("<script", script + 1), std::string::npos);
  EXPECT_EQ(html.find("src", script), std::string::npos);
  EXPECT_NE(html.find("resize:horizontal"), std::string::npos);
  EXPECT_NE(html.find("<div class=\"swipe-first\"><img src=\"pair-2-aligned-reference.png\""),
            std::string::npos);
  EXPECT_NE(html.find("<img class=\"second\" src=\"pair-2-aligned-test.png\""), std::string::npos);

  // Every picture the page names is a PNG of the pair's size.
  const std::regex image("<img (?:class=\"\\w+\" )?src=\"([^\"]+)\"");
  int images = 0;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), image);
       it != std::sregex_iterator(); ++it, ++images) {
    const QImage png(QString::fromStdString(report + "/" + (*it)[1].str()), "PNG");
    EXPECT_EQ(png.size(), QSize(kSide, kSide)) << (*it)[1];
  }
  EXPECT_EQ(images, 14);  // REF, TEST, difference, two in the swipe and two in the blink

  // The defect's pair (section 2) outlines one region, where the 5 x 5 defect moved by the
  // alignment (1.25 left, 0.5 down) lies, give or take the interpolation's reach.
  const std::string section = html.substr(html.find("<section id=\"pair-2\""));
  std::smatch box;
  ASSERT_TRUE(std::regex_search(section, box,
                                std::regex("data-regions=\"1\"><rect class=\"region\" "
                                           "data-box=\"(\\d+),(\\d+),(\\d+),(\\d+)\"")))
      << section.substr(0, 600);
  EXPECT_NEAR(std::stoi(box[1]), kDefectX - 1.25, 1.5);
  EXPECT_NEAR(std::stoi(box[2]), kDefectY + 0.5, 1.5);
  EXPECT_NEAR(std::stoi(box[3]), kDefectX + 4 - 1.25, 1.5);
  EXPECT_NEAR(std::stoi(box[4]), kDefectY + 4 + 0.5, 1.5);
  EXPECT_NE(section.find("<svg class=\"profile\""), std::string::npos);
}

TEST_F(CompareCli, IgnoredRectanglesAndMasksLeaveTheirPixelsOut) {
  const std::string ref = picture(dir.file("ref.bmp"), 0, 0);
  const std::string test = picture(dir.file("test.bmp"), 0, 0, true);
  // Masks of REF's size: only column 42 compared, and column 42 left out.
  const std::string column =
      written(dir.file("column.bmp"), kSide, kSide, [](int x, int) { return x == 42 ? 200 : 0; });
  const std::string notColumn =
      written(dir.file("not-column.bmp"), kSide, kSide, [](int x, int) { return x == 42 ? 0 : 1; });
  const int all = kSide * kSide;
  // The defect covers 40..44 x 30..34: 25 pixels over the threshold.
  const struct {
    std::vector<std::string> flags;
    int over, pixels, status;
  } cases[] = {
      {{}, 25, all, 3},
      {{"--ignore", "40,30,44,34"}, 0, all - 25, 0},
      {{"--ignore", "40,30,44,33"}, 5, all - 20, 3},       // the defect's last row is outside
      {{"--ignore", "41,28,50,40"}, 5, all - 10 * 13, 3},  // and its first column
      // Two rectangles, the second clipped to 43..63 x 25..34.
      {{"--ignore", "40,30,42,34", "--ignore", "43,25,70,34"}, 0, all - 15 - 21 * 10, 0},
      {{"--mask", column}, 5, kSide, 3},
      {{"--mask", notColumn, "--ignore", "40,30,41,34", "--ignore", "43,30,44,34"},
       0,
       all - kSide - 10 - 10,
       0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"compare",     ref, test,    "--no-align",
                                   "--threshold", "8", "--json"};
    words.insert(words.end(), c.flags.begin(), c.flags.end());
    const CliRun result = run(words);
    const std::string label = ::testing::PrintToString(c.flags);
    ASSERT_EQ(result.status, c.status) << label << result.err << result.out;
    const nlohmann::json object = lastObject(result.out);
    EXPECT_EQ(object["over"], c.over) << label;
    EXPECT_EQ(object["pixels"], c.pixels) << label;
    EXPECT_DOUBLE_EQ(object["area"].get<double>(), double(c.over) / c.pixels) << label;
  }
  const CliRun clipped =
      run({"compare", ref, test, "--no-align", "--json", "--ignore", "43,25,70,34"});
  EXPECT_EQ(lastObject(clipped.out)["ignored"], nlohmann::json::parse("[[43,25,63,34]]"));

  const std::string small = written(dir.file("small.bmp"), 32, 32, [](int, int) { return 1; });
  const CliRun otherSize = run({"compare", ref, test, "--mask", small});
  EXPECT_EQ(otherSize.status, 1);
  EXPECT_NE(otherSize.err.find(msg::kSizesDiffer), std::string::npos) << otherSize.err;
  EXPECT_EQ(run({"compare", ref, test, "--mask", dir.file("none.bmp")}).status, 1);
  for (const char* wrong : {"64,0,70,5", "-9,-9,-1,70", "5,5,4,9", "1,2,3", "1,2,3,x"}) {
    EXPECT_EQ(run({"compare", ref, test, "--ignore", wrong}).status, 2) << wrong;
  }
  EXPECT_EQ(run({"compare", ref, test, "--min-ssim", "1.5"}).status, 2);
}

TEST_F(CompareCli, SsimOfItselfOfItsNegativeAndPastAnIgnoredDefect) {
  // The 12 x 10 ramp and its negative, whose similarity scikit-image gives as -0.858708347325
  // (see the kernel's test).
  const auto ramp = [](int x, int y) { return (x * 20 + y * 7) % 256; };
  const std::string positive = written(dir.file("ramp.bmp"), 12, 10, ramp);
  const std::string negative =
      written(dir.file("negative.bmp"), 12, 10, [&](int x, int y) { return 255 - ramp(x, y); });
  const std::string ref = picture(dir.file("ref.bmp"), 0, 0);
  const std::string test = picture(dir.file("test.bmp"), 0, 0, true);
  const struct {
    std::vector<std::string> words;
    const char* ssim;
    int status;
  } cases[] = {
      {{ref, ref, "--ssim"}, "1.000000", 0},
      {{positive, negative, "--no-align", "--ssim", "--max-mean", "255"}, "-0.858708", 0},
      {{positive, negative, "--no-align", "--min-ssim", "-0.86"}, "-0.858708", 0},
      {{positive, negative, "--no-align", "--min-ssim", "-0.85"}, "-0.858708", 3},
      // Only the windows wholly of compared pixels count: none of them sees the defect.
      {{ref, test, "--no-align", "--ssim", "--ignore", "40,30,44,34"}, "1.000000", 0},
      {{ref, test, "--no-align", "--min-ssim", "0.9"}, nullptr, 0},
      {{ref, test, "--no-align", "--min-ssim", "0.999"}, nullptr, 3},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"compare"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const CliRun result = run(words);
    const std::string label = ::testing::PrintToString(c.words);
    EXPECT_EQ(result.status, c.status) << label << result.err << result.out;
    std::smatch ssim;
    ASSERT_TRUE(std::regex_search(result.out, ssim, std::regex(" ssim=(-?[0-9.]+)\n$")))
        << label << result.out;
    if (c.ssim) EXPECT_EQ(ssim[1], c.ssim) << label;
  }
}

TEST_F(CompareCli, FoldersLeaveTheSameRectangleOutOfEveryPairInEveryOutput) {
  const std::string refs = folder("ref"), tests = folder("out");
  for (const char* name : {"/a.bmp", "/b.bmp"}) {
    picture(refs + name, 0, 0);
    picture(tests + name, 0, 0, true);
  }
  const std::string report = dir.file("report");
  const std::vector<std::string> words{"compare", refs,       tests,  "--no-align", "--ssim",
                                       "--json",  "--report", report, "--ignore",   "40,30,44,34"};
  const CliRun result = run(words);
  ASSERT_EQ(result.status, 0) << result.err << result.out;
  std::istringstream objects(result.out);
  for (const char* name : {"a.bmp", "b.bmp"}) {
    std::string line;
    std::getline(objects, line);
    const nlohmann::json object = nlohmann::json::parse(line);
    EXPECT_EQ(object["name"], name);
    EXPECT_EQ(object["max"], 0);
    EXPECT_EQ(object["ignored"], nlohmann::json::parse("[[40,30,44,34]]"));
    EXPECT_EQ(object["ssim"], 1.0);
  }
  const std::string html = readText(report + "/index.html");
  for (const char* pair : {"pair-1-", "pair-2-"}) {
    EXPECT_NE(html.find(std::string("<rect class=\"ignored\" fill=\"url(#") + pair +
                        "hatch)\" data-box=\"40,30,44,34\""),
              std::string::npos)
        << pair;
  }
  EXPECT_NE(html.find("<th>ssim</th><td>1.000000</td>"), std::string::npos);
  // The text lines: the same pairs exceed without the rectangle.
  const CliRun unmasked = run({"compare", refs, tests, "--no-align", "--ssim"});
  EXPECT_EQ(unmasked.status, 3);
  EXPECT_TRUE(std::regex_search(unmasked.out,
                                std::regex("^a\\.bmp shift=\\S+ max=\\d+ mean=[0-9.]+ over=25 "
                                           "area=[0-9.]+ ssim=0\\.\\d{6} exceeds\n")))
      << unmasked.out;
}

}  // namespace
}  // namespace vemla::cli
