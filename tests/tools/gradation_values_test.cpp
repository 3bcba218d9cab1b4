#include "tools/gradation_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace vemla::tools {
namespace {

struct Picture {
  int width, height;
  std::vector<std::uint8_t> pixels;
  Picture(int w, int h, int value)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, value) {}
  void set(int x, int y, int value) { pixels[static_cast<std::size_t>(y) * width + x] = value; }
  GradationGrid grid(int cursorX, int cursorY, const GradationOperator* op = nullptr,
                     bool hex = false) const {
    return gradationGrid({pixels.data(), width, height, cursorX - 8, cursorY - 8, op, hex});
  }
};

GradationOperator uniform(std::int32_t coefficient, bool absolute) {
  GradationOperator op;
  op.coefficients.fill(coefficient);
  op.absolute = absolute;
  return op;
}

// At the top-left corner the block reaches 8 columns and rows before the picture: those read
// " ‥ " (" ‥" as row numbers), and an operator prints " ---" on the picture's first row and
// column, where its neighbourhood would leave the picture.
TEST(GradationGrid, CornerBlockShowsOutsideAndBorderCells) {
  Picture picture(20, 20, 7);
  picture.set(1, 1, 9);
  const GradationGrid grey = picture.grid(0, 0);
  EXPECT_EQ(grey.columnHeaders[7], " ‥ ");
  EXPECT_EQ(grey.columnHeaders[8], "   0");
  EXPECT_EQ(grey.rowHeaders[7], " ‥");
  EXPECT_EQ(grey.rowHeaders[9], "  1");
  EXPECT_EQ(grey.cells[7][8].text, " ‥ ");
  EXPECT_FALSE(grey.cells[7][8].value);
  EXPECT_EQ(grey.cells[8][8].text, "   7");
  EXPECT_EQ(grey.cells[9][9].text, "   9");
  EXPECT_EQ(grey.max, 9);
  EXPECT_EQ(grey.min, 7);

  GradationOperator leftMinusRight;
  leftMinusRight.coefficients[3] = 1;
  leftMinusRight.coefficients[5] = -1;
  const GradationGrid op = picture.grid(0, 0, &leftMinusRight);
  EXPECT_EQ(op.cells[8][8].text, " ---");
  EXPECT_EQ(op.cells[9][8].text, " ---");
  EXPECT_EQ(op.cells[9][10].text, "   2");  // |9 - 7| at (2, 1)
  EXPECT_EQ(op.cells[9][9].text, "   0");
  EXPECT_EQ(op.max, 2);
  EXPECT_EQ(op.min, 0);
}

// Sums above 255 print 255, negative ones without the absolute flag 0; nine products of
// INT32_MIN and 255 leave 32 bits far behind and must still clamp, not wrap.
TEST(GradationGrid, OperatorSumsClampAfterSixtyFourBitArithmetic) {
  Picture white(5, 5, 255);
  const struct {
    GradationOperator op;
    const char* expected;
  } cases[] = {
      {uniform(1, true), " 255"},          {uniform(-1, false), "   0"},
      {uniform(-1, true), " 255"},         {uniform(INT32_MIN, true), " 255"},
      {uniform(INT32_MIN, false), "   0"}, {uniform(INT32_MAX, false), " 255"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(white.grid(2, 2, &c.op).cells[8][8].text, c.expected);
  }
}

TEST(GradationGrid, ColumnsFromOneThousandAndHexadecimalCells) {
  Picture picture(1010, 8, 171);
  const GradationGrid grid = picture.grid(1000, 3, nullptr, true);
  EXPECT_EQ(grid.columnHeaders[7], " 999");
  EXPECT_EQ(grid.columnHeaders[8], " 1000");
  EXPECT_EQ(grid.columnHeaders[16], " 1008");
  EXPECT_EQ(grid.cells[8][8].text, "  AB");
  EXPECT_EQ(grid.cells[0][8].text, " ‥ ");  // row -5
}

TEST(GradationGrid, NothingInsideLeavesNoExtremes) {
  Picture picture(8, 8, 1);
  const GradationGrid grid = picture.grid(40, 40);
  EXPECT_FALSE(grid.max);
  EXPECT_FALSE(grid.min);
}

TEST(GradationGrid, CopiesAsTabSeparatedText) {
  Picture picture(3, 2, 5);
  const std::string text = gradationGridText(picture.grid(0, 0));
  const std::string header = text.substr(0, text.find('\n'));
  EXPECT_EQ(header.substr(0, 16), "\t‥\t‥\t‥\t‥");  // columns -8 .. -5
  EXPECT_NE(header.find("\t‥\t0\t1\t2\t‥"), std::string::npos);
  EXPECT_NE(text.find("\n0\t‥\t‥\t‥\t‥\t‥\t‥\t‥\t‥\t5\t5\t5\t‥"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);
}

TEST(GradationOperatorField, NonNumbersAndValuesBeyondThirtyTwoBitsStoreZero) {
  EXPECT_EQ(coefficientOfText("12"), 12);
  EXPECT_EQ(coefficientOfText(" -5 "), -5);
  EXPECT_EQ(coefficientOfText("+3"), 3);
  EXPECT_EQ(coefficientOfText("-2147483648"), INT32_MIN);
  EXPECT_EQ(coefficientOfText("2147483648"), 0);
  EXPECT_EQ(coefficientOfText("99999999999999999999999"), 0);
  EXPECT_EQ(coefficientOfText("1.5"), 0);
  EXPECT_EQ(coefficientOfText("abc"), 0);
  EXPECT_EQ(coefficientOfText(""), 0);
}

TEST(GradationCellAt, MapsTheSeventeenCellsOfEitherWindow) {
  EXPECT_EQ(gradationCellAt(36, 29, false), (GridCell{0, 0}));
  EXPECT_EQ(gradationCellAt(62, 41, false), (GridCell{0, 0}));
  EXPECT_EQ(gradationCellAt(63, 42, false), (GridCell{1, 1}));
  EXPECT_EQ(gradationCellAt(494, 249, false), (GridCell{16, 16}));
  EXPECT_FALSE(gradationCellAt(495, 100, false));
  EXPECT_FALSE(gradationCellAt(100, 250, false));
  EXPECT_FALSE(gradationCellAt(35, 100, false));
  EXPECT_FALSE(gradationCellAt(41, 100, true));
  EXPECT_EQ(gradationCellAt(42, 29, true), (GridCell{0, 0}));
}

}  // namespace
}  // namespace vemla::tools
