#pragma once
// The four panes and what each one shows.
#include "picture/picture_slot.h"

namespace vemla {

// The picture panes Port1, Port2, then the image panes Image1, Image2.
enum class Pane : unsigned char { Picture1, Picture2, Image1, Image2 };

constexpr bool isImagePane(Pane pane) {
  return pane == Pane::Image1 || pane == Pane::Image2;
}
// The picture a picture pane shows, and the picture a paste into any pane replaces: Port1 and
// Image1 stand for Picture 1, Port2 and Image2 for Picture 2.
constexpr PictureSlot pictureOfPane(Pane pane) {
  return pane == Pane::Picture2 || pane == Pane::Image2 ? PictureSlot::Second : PictureSlot::First;
}
// The image an image pane shows.
constexpr ImageSlot imageOfPane(Pane pane) {
  return pane == Pane::Image2 ? ImageSlot::Second : ImageSlot::First;
}
// The pane that shows a picture or an image.
constexpr Pane paneOf(PictureSlot picture) {
  return picture == PictureSlot::First ? Pane::Picture1 : Pane::Picture2;
}
constexpr Pane paneOf(ImageSlot image) {
  return image == ImageSlot::First ? Pane::Image1 : Pane::Image2;
}

}  // namespace vemla
