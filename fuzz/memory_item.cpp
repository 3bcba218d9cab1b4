// Reading a file into a memory item: the first byte chooses how the file is named (bitmap,
// raw, data) and the request's flags; the rest is the file's content. The dialogs answer from
// the next bytes, so sizes, offsets and cancels are exercised too.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "picture/memory_item.h"

namespace {

class ScriptedPort final : public vemla::UserPort {
 public:
  explicit ScriptedPort(std::uint8_t seed) : seed_(seed) {}
  void tell(vemla::Icon, std::string_view, std::string_view) override {}
  bool askYesNo(std::string_view) override { return false; }
  vemla::Answer askYesNoCancel(std::string_view, vemla::Icon) override { return vemla::Answer::Cancel; }
  std::optional<vemla::RawSize> askRawSize(std::string_view, std::int64_t bytes, vemla::RawSize) override {
    if (seed_ & 0x80) return std::nullopt;
    return vemla::RawSize{1 + (seed_ & 0x3F), 1 + ((seed_ >> 2) & 0x3F), (seed_ & 1) ? bytes / 2 : 0};
  }
  std::optional<vemla::RgbRatio> askRgbRatio(std::string_view, vemla::RgbRatio initial) override {
    if (seed_ & 0x40) return std::nullopt;
    return initial;
  }

 private:
  std::uint8_t seed_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const char* const kExtensions[] = {".bmp", ".raw", ".dat", ".BMP"};
  const std::uint8_t choice = data[0];
  // One folder for the whole run; each input rewrites its file.
  static const std::string folder = [] {
    char pattern[] = "/tmp/vemla-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern) != nullptr ? pattern : "/tmp");
  }();
  const std::string path = folder + "/item" + kExtensions[choice & 3];
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data + 2, 1, size - 2, file);
    std::fclose(file);
  }

  constexpr int kMax = 64;
  vemla::MemoryItemRequest request;
  request.name = path;
  request.maxWidth = request.maxHeight = kMax;
  request.convertTo8Bit = choice & 4;
  request.noData = choice & 8;
  request.trueColourMode = (choice >> 4) & 1;
  request.askRatio = choice & 0x20;
  std::vector<std::uint8_t> destination(4 * kMax * kMax), scratch(4 * kMax * kMax);
  ScriptedPort user(data[1]);
  vemla::RawSize rawSize;
  vemla::MemoryItem item;
  const int result =
      vemla::readFileIntoMemoryItem(request, user, rawSize, destination, scratch, item);
  if (result == 0 && item.kind != vemla::kItemData) {
    // A picture that was read must fit the destination it claims to fill.
    const std::size_t bytes = static_cast<std::size_t>(item.width) * item.height * item.bytesPerPixel;
    if (bytes > destination.size()) __builtin_trap();
  }
  std::remove(path.c_str());
  return 0;
}
