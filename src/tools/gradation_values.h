#pragma once
// The gradation value tool's 17 x 17 block: the header texts, the cell texts and values of an
// image around the cursor, in grey values or as the result of a 3 x 3 operator, and the
// largest and smallest value printed. The block starts 8 columns and rows before the cursor
// and is not limited to the image: positions outside it print " ‥ ".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vemla::tools {

inline constexpr int kGradationSpan = 17;
inline constexpr int kGradationHalfSpan = 8;

// Nine coefficients in row order (top-left … bottom-right) and the absolute-value flag.
struct GradationOperator {
  std::array<std::int32_t, 9> coefficients{};
  bool absolute = true;
};

// The four operators of a fresh settings file: two differences along the axes and two along
// the diagonals, as absolute values.
inline constexpr std::array<GradationOperator, 4> kDefaultGradationOperators{{
    {{0, 0, 0, 1, 0, -1, 0, 0, 0}, true},
    {{0, 1, 0, 0, 0, 0, 0, -1, 0}, true},
    {{0, 0, -1, 0, 0, 0, 1, 0, 0}, true},
    {{1, 0, 0, 0, 0, 0, 0, 0, -1}, true},
}};

struct GradationRequest {
  const std::uint8_t* image = nullptr;  // width x height, rows top-down
  int width = 0, height = 0;
  int firstColumn = 0, firstRow = 0;      // the block's top-left image position
  const GradationOperator* op = nullptr;  // null: grey values
  bool hex = false;
};

struct GradationCell {
  std::string text;
  std::optional<int> value;  // none outside the image and on an operator's border cells
};

struct GradationGrid {
  int firstColumn = 0, firstRow = 0;
  std::array<std::string, kGradationSpan> columnHeaders, rowHeaders;
  std::array<std::array<GradationCell, kGradationSpan>, kGradationSpan> cells;  // [row][column]
  std::optional<int> max, min;  // of the printed values; none when no value was printed
};

GradationGrid gradationGrid(const GradationRequest& request);

// The block as tab-separated text for the clipboard ("コピー"): a header line of the column
// numbers after an empty first field, then one line per row, the row number first; every text
// without its blanks.
std::string gradationGridText(const GradationGrid& grid);

// The operator's result at (x, y), which must have all eight neighbours inside the image: the
// sum of coefficient x grey value in 64 bits (nine products of a 32-bit coefficient and a
// value up to 255 cannot overflow it), made absolute when the flag says so, then limited to
// 0..255.
int operatorValue(const std::uint8_t* image, int width, int x, int y, const GradationOperator& op);

// An operator dialog field: a signed decimal integer (blanks around it allowed). A field that
// is not a number, or whose value does not fit 32 bits, stores 0.
std::int32_t coefficientOfText(std::string_view text);

// The grid cell under a point of the tool window (`pairWindow`: the pair window, whose grid
// starts 6 pixels further right). Cells are 27 pixels apart across and 13 down, starting at
// (36, 29); none outside the 17 x 17 cells.
struct GridCell {
  int column = 0, row = 0;
  bool operator==(const GridCell&) const = default;
};
inline constexpr int kGradationGridLeft = 36, kGradationPairGridLeft = 42;
inline constexpr int kGradationGridTop = 29;
inline constexpr int kGradationCellWidth = 27, kGradationCellHeight = 13;
std::optional<GridCell> gradationCellAt(int x, int y, bool pairWindow);

}  // namespace vemla::tools
