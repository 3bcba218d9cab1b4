#include "tools/gradation_values.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "text/format.h"

namespace vemla::tools {
namespace {

constexpr const char* kOutsideCell = " ‥ ";
constexpr const char* kOutsideRow = " ‥";
constexpr const char* kBorderCell = " ---";

bool inside(int position, int size) {
  return position >= 0 && position < size;
}

}  // namespace

int operatorValue(const std::uint8_t* image, int width, int x, int y, const GradationOperator& op) {
  std::int64_t sum = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    const std::uint8_t* row = image + static_cast<std::ptrdiff_t>(y + dy) * width + x;
    for (int dx = -1; dx <= 1; ++dx) {
      sum += static_cast<std::int64_t>(op.coefficients[(dy + 1) * 3 + dx + 1]) * row[dx];
    }
  }
  if (op.absolute && sum < 0) sum = -sum;
  return static_cast<int>(std::clamp<std::int64_t>(sum, 0, 255));
}

GradationGrid gradationGrid(const GradationRequest& request) {
  GradationGrid grid;
  grid.firstColumn = request.firstColumn;
  grid.firstRow = request.firstRow;
  const int width = request.width, height = request.height;
  for (int i = 0; i < kGradationSpan; ++i) {
    const int column = request.firstColumn + i, row = request.firstRow + i;
    // " %3d" prints a column from 1000 on as its digits after one blank.
    grid.columnHeaders[i] = inside(column, width) ? text::format(" %3d", column) : kOutsideCell;
    grid.rowHeaders[i] = inside(row, height) ? text::format("%3d", row) : kOutsideRow;
  }
  const char* format = request.hex ? "  %02X" : " %3d";
  for (int r = 0; r < kGradationSpan; ++r) {
    const int y = request.firstRow + r;
    for (int c = 0; c < kGradationSpan; ++c) {
      const int x = request.firstColumn + c;
      GradationCell& cell = grid.cells[r][c];
      if (!inside(x, width) || !inside(y, height)) {
        cell.text = kOutsideCell;
        continue;
      }
      if (request.op != nullptr) {
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
          cell.text = kBorderCell;
          continue;
        }
        cell.value = operatorValue(request.image, width, x, y, *request.op);
      } else {
        cell.value = request.image[static_cast<std::ptrdiff_t>(y) * width + x];
      }
      cell.text = text::format(format, *cell.value);
      grid.max = std::max(grid.max.value_or(*cell.value), *cell.value);
      grid.min = std::min(grid.min.value_or(*cell.value), *cell.value);
    }
  }
  return grid;
}

std::string gradationGridText(const GradationGrid& grid) {
  const auto trimmed = [](const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
  };
  std::string out;
  for (const std::string& header : grid.columnHeaders) {
    out += '\t';
    out += trimmed(header);
  }
  out += "\n";
  for (int r = 0; r < kGradationSpan; ++r) {
    out += trimmed(grid.rowHeaders[r]);
    for (const GradationCell& cell : grid.cells[r]) {
      out += '\t';
      out += trimmed(cell.text);
    }
    out += "\n";
  }
  return out;
}

std::int32_t coefficientOfText(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<GridCell> gradationCellAt(int x, int y, bool pairWindow) {
  const int left = pairWindow ? kGradationPairGridLeft : kGradationGridLeft;
  const int dx = x - left, dy = y - kGradationGridTop;
  if (dx < 0 || dy < 0) return std::nullopt;
  const GridCell cell{dx / kGradationCellWidth, dy / kGradationCellHeight};
  if (cell.column >= kGradationSpan || cell.row >= kGradationSpan) return std::nullopt;
  return cell;
}

}  // namespace vemla::tools
