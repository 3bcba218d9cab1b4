#pragma once
// The numbers of the four panes and what each one shows.
#include "picture/picture_slot.h"

namespace vemla {

// Pane numbers: the picture panes Port1, Port2, then the image panes Image1, Image2.
inline constexpr int kPanePicture1 = 0;
inline constexpr int kPanePicture2 = 1;
inline constexpr int kPaneImage1 = 2;
inline constexpr int kPaneImage2 = 3;
inline bool isImagePane(int pane) {
  return pane == kPaneImage1 || pane == kPaneImage2;
}
// The picture a picture pane shows, and the picture a paste into any pane replaces: Port1 and
// Image1 stand for Picture 1, Port2 and Image2 for Picture 2.
inline PictureSlot pictureOfPane(int pane) {
  return pane == kPanePicture2 || pane == kPaneImage2 ? PictureSlot::Second : PictureSlot::First;
}
// The image an image pane shows.
inline ImageSlot imageOfPane(int pane) {
  return pane == kPaneImage2 ? ImageSlot::Second : ImageSlot::First;
}
// The pane that shows a picture or an image.
inline int paneOf(PictureSlot picture) {
  return picture == PictureSlot::First ? kPanePicture1 : kPanePicture2;
}
inline int paneOf(ImageSlot image) {
  return image == ImageSlot::First ? kPaneImage1 : kPaneImage2;
}

}  // namespace vemla
