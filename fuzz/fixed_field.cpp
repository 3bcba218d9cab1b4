// Reads arbitrary bytes as a CP932 fixed field and writes what was read back into a field:
// a text that was read must always be writable again, fit the same field, and read back
// unchanged, and the written field must be zero after the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "text/cp932.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the field size (0 … 255, or the whole input for 255), so fields are
  // cut at every position, in the middle of double-byte characters too.
  const std::size_t wanted = data[0] == 255 ? size - 1 : data[0];
  const std::span<const std::uint8_t> field(data + 1, std::min<std::size_t>(wanted, size - 1));

  const std::optional<std::string> text = vemla::text::readFixedField(field);
  if (!text) return 0;
  check(text->find('\0') == std::string::npos);

  // The text came from the bytes before the first zero, so it fits a field of that length
  // plus one; when the field held a terminator it fits the field itself.
  const std::size_t used =
      static_cast<std::size_t>(std::find(field.begin(), field.end(), 0) - field.begin());
  std::vector<std::uint8_t> rewritten(used + 1, 0xEE);
  check(vemla::text::checkFixedField(*text, rewritten.size()) == vemla::text::FieldStatus::Ok);
  check(vemla::text::writeFixedField(rewritten, *text) == vemla::text::FieldStatus::Ok);
  check(rewritten.back() == 0);
  check(vemla::text::readFixedField(rewritten) == text);

  // One byte less than the text needs is refused and leaves the field as it was.
  if (used > 0) {
    std::vector<std::uint8_t> small(used, 0xEE);
    check(vemla::text::writeFixedField(small, *text) == vemla::text::FieldStatus::TooLong);
    check(std::all_of(small.begin(), small.end(), [](std::uint8_t b) { return b == 0xEE; }));
  }
  return 0;
}
