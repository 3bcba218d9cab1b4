#pragma once
// Which of the two pictures, or of the two images, something concerns. The operator sees them
// numbered 1 and 2, arrays of two keep them at 0 and 1, and the picture store at planes of
// their own; these types name them, so that an index and a number can never be mixed up. Every
// array of two indexed by a picture or an image is indexed through index().
#include <array>
#include <cstddef>

namespace vemla {

enum class PictureSlot : unsigned char { First, Second };  // Picture 1, Picture 2
enum class ImageSlot : unsigned char { First, Second };    // Image 1, Image 2

inline constexpr std::array<PictureSlot, 2> kPictureSlots{PictureSlot::First, PictureSlot::Second};
inline constexpr std::array<ImageSlot, 2> kImageSlots{ImageSlot::First, ImageSlot::Second};

// The position in an array of two: 0 or 1.
constexpr std::size_t index(PictureSlot slot) {
  return slot == PictureSlot::Second ? 1 : 0;
}
constexpr std::size_t index(ImageSlot slot) {
  return slot == ImageSlot::Second ? 1 : 0;
}

// The number the operator reads in texts: 1 or 2.
constexpr int number(PictureSlot slot) {
  return slot == PictureSlot::Second ? 2 : 1;
}
constexpr int number(ImageSlot slot) {
  return slot == ImageSlot::Second ? 2 : 1;
}

constexpr PictureSlot other(PictureSlot slot) {
  return slot == PictureSlot::Second ? PictureSlot::First : PictureSlot::Second;
}
constexpr ImageSlot other(ImageSlot slot) {
  return slot == ImageSlot::Second ? ImageSlot::First : ImageSlot::Second;
}

}  // namespace vemla
