// Reads arbitrary text as the picture edit dialog's value field and as a click value. Whatever
// the text, it is refused or gives a finite operand: an integer within 32 bits (0x7FFFFFFF at
// most in hexadecimal) or a fraction; every operation the refusal rules let through gives a
// table of grey values, and a click value is a grey value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editing/edit_value.h"
#include "editing/picture_edit.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)vemla::clickValue(text);
  const auto operand = vemla::parseOperand(text);
  if (!operand) return 0;
  check(text.size() <= vemla::kMaxOperandText);
  check(std::isfinite(operand->real));
  if (!operand->fraction) check(operand->real == static_cast<double>(operand->integer));
  for (int i = 0; i < vemla::kEditOperationCount; ++i) {
    const auto operation = static_cast<vemla::EditOperation>(i);
    if (vemla::operandRefusal(operation, *operand) != nullptr) continue;
    const vemla::GreyTable table = vemla::operationTable(operation, *operand, {true, true, 10, 20});
    for (int v = 10; v <= 20; ++v) check(table[static_cast<std::size_t>(v)] == v);
  }
  return 0;
}
