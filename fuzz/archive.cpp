// Reading archive files: the input is the whole file. The directory, every item's description
// and content (into small buffers) and an append are tried; no read may report more content
// than its buffer holds, and the directory must agree with the count it reports.
#include "gallery/archive.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One folder for the whole run; each input rewrites its file.
  static const std::string folder = [] {
    // Appending syncs the file; in memory (/dev/shm) that costs nothing.
    char memory[] = "/dev/shm/vemla-fuzz-archive-XXXXXX";
    if (mkdtemp(memory) != nullptr) return std::string(memory);
    char pattern[] = "/tmp/vemla-fuzz-archive-XXXXXX";
    return std::string(mkdtemp(pattern) != nullptr ? pattern : "/tmp");
  }();
  const std::string path = folder + "/input.vla";
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }

  std::vector<vemla::ArchiveItemInfo> items;
  const int count = vemla::readArchiveDirectory(path, items);
  if (count > vemla::kArchiveMaxItems) __builtin_trap();
  if (count >= 0 && items.size() != static_cast<std::size_t>(count)) __builtin_trap();

  constexpr std::size_t kCapacity = 1 << 16;
  std::vector<std::uint8_t> buffer(kCapacity), work(kCapacity);
  const int numbers = count > 0 ? std::min(count, 8) : 2;
  for (int number = 0; number <= numbers; ++number) {
    vemla::ArchiveItemRead read;
    const int result = vemla::readArchiveItem(path, number, read, buffer, work);
    if (result == 0) {
      const std::int64_t content = read.info.contentBytes();
      if (content < 0 || static_cast<std::uint64_t>(content) > kCapacity) __builtin_trap();
      // A readable item is listed alike by the directory.
      if (count >= 0 && number >= 1 && number <= count &&
          !(items[static_cast<std::size_t>(number - 1)] == read.info)) {
        __builtin_trap();
      }
    }
  }

  vemla::ArchiveItemInfo item;
  item.kind = vemla::kSlotData;
  item.width = 3;
  const std::uint8_t three[3] = {1, 2, 3};
  const int appended = vemla::appendArchiveItem(path, item, three, work);
  if (appended > 0) {
    vemla::ArchiveItemRead read;
    if (vemla::readArchiveItem(path, appended, read, buffer, work) != 0 || buffer[2] != 3) {
      __builtin_trap();
    }
  }
  std::remove(path.c_str());
  return 0;
}
