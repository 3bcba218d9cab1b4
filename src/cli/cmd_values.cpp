#include <climits>

#include "cli/tool_views.h"
#include "cli/verbs.h"
#include "text/format.h"
#include "workbench/tools/gradation_tool.h"
#include "workbench/tools/tool_frame.h"

namespace vemla::cli {
namespace {

int values(const Arguments& args, Context& io) {
  if (args.positional.size() != 1) throw UsageError("values takes IMAGE");
  int number = 0;
  if (const auto op = args.value("--operator")) number = parseInt(*op, 1, 4, "--operator");
  if (number == 0 && (args.has("--coefficients") || args.has("--absolute")))
    throw UsageError("--coefficients and --absolute need --operator");
  std::vector<int> coefficients;
  if (const auto list = args.value("--coefficients"))
    coefficients = parseIntList(*list, INT_MIN, INT_MAX, 9, 9, "--coefficients");
  int absolute = 1;
  if (const auto flag = args.value("--absolute")) absolute = parseInt(*flag, 0, 1, "--absolute");

  Workbench bench;
  if (!openToolImages(args.positional, args, bench, io)) return 1;
  selectTool(bench, tools::Tool::Gradation);
  if (number > 0) {
    tools::GradationOperator op = gradationOperator(bench, number);
    if (!coefficients.empty())
      std::copy(coefficients.begin(), coefficients.end(), op.coefficients.begin());
    op.absolute = absolute != 0;
    setGradationOperator(bench, number, op);
  }
  tools::GradationWord settings = gradationSettings(bench);
  settings.mode = number;
  settings.hex = args.has("--hex");
  setGradationSettings(bench, settings);

  const tools::GradationGrid& grid = *bench.tools.gradation.grid;
  std::string line = "   ";
  for (const std::string& header : grid.columnHeaders) line += header;
  io.out << line << '\n';
  for (int r = 0; r < tools::kGradationSpan; ++r) {
    line = grid.rowHeaders[r];
    for (const tools::GradationCell& cell : grid.cells[r]) line += cell.text;
    io.out << line << '\n';
  }
  const auto number_or_none = [](std::optional<int> value) {
    return value ? std::to_string(*value) : std::string("none");
  };
  io.out << "max=" << number_or_none(grid.max) << " min=" << number_or_none(grid.min) << '\n';
  return 0;
}

}  // namespace

Command valuesCommand() {
  return {"values",
          "the gradation value tool's 17 x 17 block around the cursor",
          "usage: vemla-cli values IMAGE [OPTIONS]\n"
          "  IMAGE is an 8-bit picture whose pixels are the image values. Prints the 17 x 17\n"
          "  block of columns X-8..X+8 and rows Y-8..Y+8 as the gradation value tool paints it:\n"
          "  the column numbers, 17 rows (row number and cells), then max=%d min=%d.\n"
          "  --cursor X,Y                  cursor position (default the centre W/2,H/2)\n"
          "  --operator K                  operator K (1..4) instead of grey values\n"
          "  --coefficients C1,...,C9      its nine signed 32-bit coefficients, row by row\n"
          "                                (default operator K's factory coefficients)\n"
          "  --absolute 0|1                its absolute-value flag (default 1)\n"
          "  --hex                         cells in hexadecimal\n"
          "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
          "multiples of 4\n"
          "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
          "win)\n",
          {"--cursor", "--operator", "--coefficients", "--absolute", "--max"},
          {"--hex"},
          values};
}

}  // namespace vemla::cli
