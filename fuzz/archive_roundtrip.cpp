// Writing archive items: the input chooses each item's kind, size, bytes per pixel, title and
// content and the work buffer's size (so both compressed and stored items occur); every item
// appended must read back exactly as it was given.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gallery/archive.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
  bool done() const { return position_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = [] {
    // Appending syncs the file; in memory (/dev/shm) that costs nothing.
    char memory[] = "/dev/shm/vemla-fuzz-roundtrip-XXXXXX";
    if (mkdtemp(memory) != nullptr) return std::string(memory);
    char pattern[] = "/tmp/vemla-fuzz-roundtrip-XXXXXX";
    return std::string(mkdtemp(pattern) != nullptr ? pattern : "/tmp");
  }();
  const std::string path = folder + "/written.vla";
  if (vemla::createArchive(path) != 0) return 0;

  Input input(data, size);
  std::vector<std::pair<vemla::ArchiveItemInfo, std::vector<std::uint8_t>>> written;
  for (int round = 0; round < 6 && !input.done(); ++round) {
    vemla::ArchiveItemInfo item;
    item.kind = input.byte() % 3;
    static constexpr int kBytesPerPixel[4] = {1, 3, 4, 1};
    item.bytesPerPixel = item.kind == vemla::kSlotPicture ? kBytesPerPixel[input.byte() % 4] : 1;
    item.width = 1 + input.byte() % 40;
    item.height = item.kind == vemla::kSlotPicture ? 1 + input.byte() % 40 : 1;
    if (item.kind == vemla::kSlotData && input.byte() % 4 == 0) item.width = 0;
    const int titleLength = input.byte() % 8;
    for (int i = 0; i < titleLength; ++i) item.title += static_cast<char>('a' + input.byte() % 26);
    item.hasPalette = item.kind == vemla::kSlotPicture && input.byte() % 2 == 0;
    if (item.hasPalette) {
      for (std::size_t i = 0; i < item.palette.size(); ++i)
        item.palette[i] = static_cast<std::uint8_t>(i * 5);
    }
    const std::size_t workBytes = input.byte() % 2 == 0 ? 64 : 1 << 16;
    const std::int64_t bytes = item.contentBytes();
    std::vector<std::uint8_t> content(static_cast<std::size_t>(bytes));
    const std::uint8_t seed = input.byte();
    const std::uint8_t step = input.byte() % 4;
    for (std::size_t i = 0; i < content.size(); ++i) {
      content[i] = step == 0 ? input.byte() : static_cast<std::uint8_t>(seed + i / step);
    }
    std::vector<std::uint8_t> work(workBytes);
    const int count = vemla::appendArchiveItem(path, item, content, work);
    if (count != static_cast<int>(written.size()) + 1) __builtin_trap();
    if (item.kind == vemla::kSlotEmpty) {
      item = vemla::ArchiveItemInfo{};
      content.clear();
    }
    if (item.kind == vemla::kSlotPicture && !item.hasPalette) {
      item.hasPalette = true;
      item.palette = vemla::greyRamp();
    }
    written.emplace_back(item, content);
  }

  std::vector<std::uint8_t> buffer(1 << 16), work(1 << 16);
  for (std::size_t k = 0; k < written.size(); ++k) {
    vemla::ArchiveItemRead read;
    if (vemla::readArchiveItem(path, static_cast<int>(k) + 1, read, buffer, work) != 0)
      __builtin_trap();
    const auto& [item, content] = written[k];
    if (!(read.info == item)) __builtin_trap();
    if (!std::equal(content.begin(), content.end(), buffer.begin())) __builtin_trap();
  }
  std::vector<vemla::ArchiveItemInfo> items;
  if (vemla::readArchiveDirectory(path, items) != static_cast<int>(written.size()))
    __builtin_trap();
  std::remove(path.c_str());
  return 0;
}
