#include "cli/verbs.h"
#include "extensions/calculator.h"
#include "text/translate.h"

namespace vemla::cli {
namespace {

int calc(const Arguments& args, Context& io) {
  if (args.positional.size() != 1) throw UsageError("calc takes one EXPR");
  const HexMode hex = args.has("--signed-hex") ? HexMode::Signed : HexMode::Unsigned;
  const std::string result = calculatorResultText(args.positional[0], hex);
  if (result == kCalculatorErrorText) {
    io.err << text::tr(kCalculatorErrorText) << '\n';
    return 1;
  }
  io.out << result << '\n';
  return 0;
}

}  // namespace

Command calcCommand() {
  return {
      "calc",
      "evaluate an expression as the calculator does",
      "usage: vemla-cli calc EXPR [--signed-hex]\n"
      "  Evaluates EXPR as the calculator's \"計算\" button does and prints the result field's\n"
      "  text: the value with trailing zeros cut, and for an integer in range its 32-bit\n"
      "  pattern, e.g. '1024   (0x400)'. A syntax error, or a result longer than the field's\n"
      "  254 characters, prints \"式に誤りがあります\" on stderr (exit 1).\n"
      "  --signed-hex    read hexadecimal constants as signed (0xff is -1, 0x0ff is 255)\n",
      {},
      {"--signed-hex"},
      calc};
}

}  // namespace vemla::cli
