#pragma once
// Short-lived work memory of the gallery and archive operations: uninitialised, so that pages a
// small item never touches cost nothing, and null instead of an exception when it cannot be had.
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <span>

namespace vemla {

class WorkMemory {
 public:
  explicit WorkMemory(std::uint64_t bytes) {
    if (bytes > std::numeric_limits<std::size_t>::max() / 2) return;
    const std::size_t size = static_cast<std::size_t>(bytes);
    block_.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (block_) size_ = size;
  }
  bool ok() const { return block_ != nullptr; }
  std::span<std::uint8_t> span() { return {block_.get(), size_}; }
  std::uint8_t* data() { return block_.get(); }

 private:
  std::unique_ptr<std::uint8_t[]> block_;
  std::size_t size_ = 0;
};

}  // namespace vemla
