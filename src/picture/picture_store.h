#pragma once
// The picture store: one zero-filled block of 16 planes of MaxPictureWidth x MaxPictureHeight
// bytes, allocated once at start-up and never resized. Only the first W * H bytes of a plane
// are meaningful; pixel (x, y) is at plane + y * W + x. The block starts on a cache line, so
// that the kernels' whole-line loads and stores of a picture do not straddle two lines.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

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
  // Returns a zero-filled block of `bytes` bytes, or nullptr. Tests inject failures.
  using Allocator = std::function<std::uint8_t*(std::size_t bytes)>;
  static std::uint8_t* defaultAllocate(std::size_t bytes);

  // Allocates the block once; false when it cannot be obtained (the store stays empty).
  bool allocate(int maxWidth, int maxHeight, const Allocator& allocator = defaultAllocate);
  bool allocated() const { return block_ != nullptr; }

  int maxWidth() const { return maxWidth_; }
  int maxHeight() const { return maxHeight_; }
  std::size_t planeBytes() const { return planeBytes_; }

  std::uint8_t* plane(int index) { return base_ + static_cast<std::size_t>(index) * planeBytes_; }
  const std::uint8_t* plane(int index) const {
    return base_ + static_cast<std::size_t>(index) * planeBytes_;
  }
  // `count` consecutive planes starting at `first` as one span.
  std::span<std::uint8_t> planes(int first, int count = 1) {
    return {plane(first), static_cast<std::size_t>(count) * planeBytes_};
  }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const;
  };
  std::unique_ptr<std::uint8_t, Free> block_;
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
