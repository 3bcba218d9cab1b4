// vemla-cli image with a filter entry: cells and divisor follow the editor's rules.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

// Two 8 x 8 pictures of 200 everywhere.
class FilterCli : public ::testing::Test {
 protected:
  void SetUp() override {
    picture = dir.file("p.bmp");
    writeBytes(picture,
               makeBitmap(8, -8, 8, [](int, int) { return std::vector<std::uint8_t>{200}; }));
  }
  CliRun image(std::vector<std::string> flags) {
    std::vector<std::string> words{"image",           picture, picture, dir.file("out.raw"),
                                   "--filter-source", "1"};
    words.insert(words.end(), flags.begin(), flags.end());
    return run(words);
  }
  TempDir dir;
  std::string picture;
};

// 0.5 x 200 = 100 on all 64 pixels.
constexpr const char* kHalf = "max=100 min=100 mean=100 sum=6400 rect=0,0,7,7\n";

TEST_F(FilterCli, CellsAreReadAsTheEditorStoresThem) {
  EXPECT_EQ(image({"--filter", "0.5"}).out, kHalf);
  // Spaces inside a cell are dropped, as the editor drops them: " 0 . 5" is 0.5, not 0.
  EXPECT_EQ(image({"--filter", " 0 . 5"}).out, kHalf);
  // -200 / -2 = 100.
  EXPECT_EQ(image({"--filter", "-1", "--filter-divisor", "-2"}).out, kHalf);
}

TEST_F(FilterCli, MalformedCellsAreUsageErrors) {
  for (const char* grid :
       {"abc", "1.", "1e2", "0x10", "1.2.3", "12345678901", ",,;,,;,,", " ; ; "}) {
    const CliRun result = image({"--filter", grid});
    EXPECT_EQ(result.status, 2) << grid;
    EXPECT_EQ(result.out, "") << grid;
  }
  // The cell's offsets on the 9 x 9 grid name it: the top right of a 3 x 3 grid is (1,-1).
  EXPECT_NE(image({"--filter", "1,1,x;1,1,1;1,1,1"}).err.find("(X,Y)=(1,-1)"), std::string::npos);
}

TEST_F(FilterCli, DivisorMustBeANonZeroDecimalThatFitsItsField) {
  for (const char* divisor : {"0", "-0.0", "", "x", "0x10", "1e1", "123456789012"}) {
    EXPECT_EQ(image({"--filter", "1", "--filter-divisor", divisor}).status, 2) << divisor;
  }
  // 200 / 2.5 = 80.
  EXPECT_EQ(image({"--filter", "1", "--filter-divisor", "2.5"}).out,
            "max=80 min=80 mean=80 sum=5120 rect=0,0,7,7\n");
}

}  // namespace
}  // namespace vemla::cli
