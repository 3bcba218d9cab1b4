#pragma once
// The picture store: one zero-filled block of 16 planes of MaxPictureWidth x MaxPictureHeight
// bytes, allocated once at start-up and never resized. Only the first W * H bytes of a plane
// are meaningful; pixel (x, y) is at plane + y * W + x. The block starts on a cache line, so
// that the kernels' whole-line loads and stores of a picture do not straddle two lines.
// The block is anonymous memory reserved at start-up, on a 2 MiB boundary and asked for huge
// pages: its pages arrive zero-filled when first touched, so a plane that an operation never
// touches costs nothing, and one that it does comes in 2 MiB at a time where the system
// allows. Planes are therefore never cleared by writing zeros over them (see clear).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <utility>

#include "picture/picture_slot.h"
#include "ports/ports.h"

namespace vemla {

enum Plane : int {
  kPicture1 = 0,   // unshifted Picture 1
  kPicture2 = 1,   // unshifted Picture 2
  kShifted1 = 2,   // shifted Picture 1
  kShifted2 = 3,   // shifted Picture 2
  kImage1 = 4,     // derived image buffer of Image 1
  kImage2 = 5,     // derived image buffer of Image 2
  kUserResult = 6, // result of the external user program
  kRead1 = 7,      // read buffer of Picture 1, scratch
  kRead2 = 8,      // read buffer of Picture 2, scratch
  kScratch2 = 9,   // two scratch planes 9-10
  kScratch4 = 11,  // four scratch planes 11-14 (true-colour decoding, settings work area)
  kScratch1 = 15,  // scratch plane
  kPlaneCount = 16,
};

// The planes of a picture (unshifted, shifted, read buffer) and of an image.
constexpr Plane unshiftedPlane(PictureSlot slot) {
  return slot == PictureSlot::Second ? kPicture2 : kPicture1;
}
constexpr Plane shiftedPlane(PictureSlot slot) {
  return slot == PictureSlot::Second ? kShifted2 : kShifted1;
}
constexpr Plane readPlane(PictureSlot slot) {
  return slot == PictureSlot::Second ? kRead2 : kRead1;
}
constexpr Plane imagePlane(ImageSlot slot) {
  return slot == ImageSlot::Second ? kImage2 : kImage1;
}

// Cache lines, and the first line-aligned address at or after `p` (a block asked for
// kCacheLine - 1 bytes more holds its bytes from there).
inline constexpr std::size_t kCacheLine = 64;
inline std::uint8_t* onCacheLine(std::uint8_t* p) {
  return p + (kCacheLine - reinterpret_cast<std::uintptr_t>(p) % kCacheLine) % kCacheLine;
}

class PictureStore {
 public:
  // Returns a zero-filled block of `bytes` bytes from defaultAllocate, or nullptr. Tests
  // inject failures.
  using Allocator = std::function<std::uint8_t*(std::size_t bytes)>;
  static std::uint8_t* defaultAllocate(std::size_t bytes);
  // Where the block starts: a multiple of this, so that planes of a multiple of it in size
  // each start on a huge page.
  static constexpr std::size_t kBlockAlignment = std::size_t{2} << 20;

  // Allocates the block once; false when it cannot be obtained (the store stays empty).
  bool allocate(int maxWidth, int maxHeight, const Allocator& allocator = defaultAllocate);
  bool allocated() const { return block_ != nullptr; }

  int maxWidth() const { return maxWidth_; }
  int maxHeight() const { return maxHeight_; }
  std::size_t planeBytes() const { return planeBytes_; }

  std::uint8_t* plane(int index) { return base_ + offset(index); }
  const std::uint8_t* plane(int index) const { return base_ + offset(index); }
  // A plane may stand for another: until `own(index)`, plane(index) gives the pixels of plane
  // `shown`. The shifted pictures do this when no shift applies, instead of holding a copy.
  void alias(int index, int shown) { shown_[at(index)] = shown_[at(shown)]; }
  void own(int index) { shown_[at(index)] = home_[at(index)]; }
  // Exchanges the pixels of two planes without moving a byte (an open makes the picture just
  // read the picture this way). Each of them gets its own pixels back from own().
  void exchange(int first, int second) {
    std::swap(home_[at(first)], home_[at(second)]);
    own(first);
    own(second);
  }
  // `count` consecutive planes starting at `first` as one span (planes that are their own).
  std::span<std::uint8_t> planes(int first, int count = 1) {
    return {plane(first), static_cast<std::size_t>(count) * planeBytes_};
  }
  // Sets `count` consecutive planes starting at `first` to zero. Whole pages are handed back
  // to the system, which gives them again zero-filled when next touched: clearing a plane
  // nobody reads afterwards faults nothing in.
  void clear(int first, int count = 1);

 private:
  struct Free {
    std::size_t bytes;
    void operator()(std::uint8_t* p) const;
  };
  static std::size_t at(int index) { return static_cast<std::size_t>(index); }
  std::size_t offset(int index) const {
    return static_cast<std::size_t>(shown_[at(index)]) * planeBytes_;
  }

  std::unique_ptr<std::uint8_t, Free> block_;
  // Where in the block each plane's own pixels lie, and the pixels it shows now.
  std::array<int, kPlaneCount> home_{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  std::array<int, kPlaneCount> shown_ = home_;
  std::uint8_t* base_ = nullptr;  // the first cache line of block_
  int maxWidth_ = 0;
  int maxHeight_ = 0;
  std::size_t planeBytes_ = 0;
};

// Start-up sizing: tries the configured maximum; when that fails above 1024 x 1024 it falls back
// to 1024 x 1024 and tells the operator. Returns false (after "資源(ﾒﾓﾘ)が不足しています") when
// not even that can be had, and the program must end.
bool allocatePictureStore(PictureStore& store, int maxWidth, int maxHeight, UserPort& user,
                          const PictureStore::Allocator& allocator = PictureStore::defaultAllocate);

}  // namespace vemla
