// The user colour table text format: whatever the bytes, reading ends with a table or a line
// number, never a crash; the result does not depend on how the bytes are split into blocks;
// a table that was read writes out and reads back unchanged.
#include <cstdint>
#include <span>
#include <string>

#include "extensions/user_colours.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  vemla::MemorySource whole(bytes);
  const vemla::ColourFileRead read = vemla::readColourTableText(whole);
  check(read.status == vemla::ColourFileStatus::Read ||
        (read.status == vemla::ColourFileStatus::FormatError && read.failingLine >= 1 &&
         read.failingLine <= vemla::kColourTableLines));

  // The same bytes fed in blocks whose sizes come from the first byte.
  vemla::ColourTextReader reader;
  const std::size_t step = size == 0 ? 1 : data[0] % 7 + 1;
  for (std::size_t at = 0; at < size; at += step) {
    if (!reader.feed(bytes.subspan(at, std::min(step, size - at)))) break;
  }
  reader.finish();
  check(reader.complete() == (read.status == vemla::ColourFileStatus::Read));
  if (!reader.complete()) {
    check(reader.failingLine() == read.failingLine);
    return 0;
  }
  check(reader.table() == read.table);
  const std::string text = vemla::colourTableText(read.table);
  vemla::MemorySource again(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  const vemla::ColourFileRead reread = vemla::readColourTableText(again);
  check(reread.status == vemla::ColourFileStatus::Read && reread.table == read.table);
  return 0;
}
