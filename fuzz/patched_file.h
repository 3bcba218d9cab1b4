#pragma once
// Edits a valid file as a fuzz input says. Files of tens of kilobytes are far longer than
// libFuzzer mutates usefully, and random bytes never form their magic and layout; starting
// from a valid file and changing a few places at a time reaches every field instead.
//
// The input: one byte picks the starting file (modulo how many there are), then up to
// kMaxEdits edits, each an operation byte, a 3-byte little-endian offset (modulo the file's
// current length) and what the operation needs:
//   op % 4 == 0  write: a count byte, then 1 + count % 16 bytes, placed at the offset
//   op % 4 == 1  integer: 4 bytes placed at the offset rounded down to a multiple of 4 (the
//                files' integer fields all start on one)
//   op % 4 == 2  fill: a 2-byte little-endian count and a value; 1 + count % 2048 bytes of it
//   op % 4 == 3  truncate the file at the offset
// Writes and fills stop at the end of the file; an input that runs out ends the edits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vemla::fuzzing {

inline constexpr int kMaxEdits = 32;

class EditScript {
 public:
  explicit EditScript(std::span<const std::uint8_t> input) : input_(input) {}
  bool done() const { return at_ >= input_.size(); }
  std::uint8_t byte() { return done() ? 0 : input_[at_++]; }
  std::size_t number(int bytes) {
    std::size_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::size_t>(byte()) << (8 * i);
    return value;
  }

 private:
  std::span<const std::uint8_t> input_;
  std::size_t at_ = 0;
};

inline std::vector<std::uint8_t> patchedFile(
    std::span<const std::vector<std::uint8_t>> startingFiles, std::span<const std::uint8_t> input) {
  EditScript script(input);
  std::vector<std::uint8_t> file = startingFiles[script.byte() % startingFiles.size()];
  for (int edit = 0; edit < kMaxEdits && !script.done() && !file.empty(); ++edit) {
    const std::uint8_t op = script.byte();
    std::size_t offset = script.number(3) % file.size();
    switch (op % 4) {
      case 0: {
        const std::size_t count = 1 + script.byte() % 16;
        for (std::size_t i = 0; i < count; ++i) {
          const std::uint8_t value = script.byte();
          if (offset + i < file.size()) file[offset + i] = value;
        }
        break;
      }
      case 1:
        offset -= offset % 4;
        for (std::size_t i = 0; i < 4; ++i) {
          const std::uint8_t value = script.byte();
          if (offset + i < file.size()) file[offset + i] = value;
        }
        break;
      case 2: {
        const std::size_t count = 1 + script.number(2) % 2048;
        const std::uint8_t value = script.byte();
        std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(offset),
                    std::min(count, file.size() - offset), value);
        break;
      }
      default:
        file.resize(offset);
        break;
    }
  }
  return file;
}

}  // namespace vemla::fuzzing
