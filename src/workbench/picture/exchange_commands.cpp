#include "workbench/picture/exchange_commands.h"

#include "persist/exchange_file.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/picture/rgb_ratio_memory.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

int copyPaneToExchange(const Workbench& bench, UserPort& user, Pane pane) {
  if (!bench.pictures.picturesPresent) return -1;
  persist::ExchangeItem item;
  item.kind = persist::kExchangePicture;
  item.width = bench.pictures.width;
  item.height = bench.pictures.height;
  const std::uint8_t* pixels = nullptr;
  if (isImagePane(pane)) {
    const ImageSlot image = imageOfPane(pane);
    item.title = kindNameOf(bench, image);
    item.palette = imageDisplayPalette(bench, image);
    pixels = bench.store.plane(imagePlane(image));
  } else {
    const PictureSlot picture = pictureOfPane(pane);
    const PictureMeta& meta = bench.pictures.pictures[index(picture)];
    item.title = meta.name;
    item.palette = meta.palette;
    pixels = bench.store.plane(shiftedPlane(picture));
  }
  item.payload.assign(pixels, pixels + static_cast<std::size_t>(item.width) * item.height);
  return persist::writeExchangeItem(bench.settings.folder, item, user);
}

int pasteExchangeToPane(Workbench& bench, UserPort& user, Pane pane) {
  if (bench.pictures.editing) return -1;
  persist::ExchangeRequest request;
  request.pictureOnly = true;
  request.convertTo8Bit = true;
  request.maxWidth = bench.store.maxWidth();
  request.maxHeight = bench.store.maxHeight();
  request.trueColourMode = bench.options.TrueColourOpenMode;
  request.askRatio = bench.options.AskRatioPerFile;
  request.ratios = bench.options.GreyRatio;
  persist::ExchangeItem item;
  RgbRatioMemory memory(bench, user);
  const int kind = persist::readExchangeItem(bench.settings.folder, request, memory, item);
  if (kind != persist::kExchangePicture) return -1;

  // The other picture is kept at the same size and cleared at another one.
  const std::size_t at = index(pictureOfPane(pane));
  MemoryPictures pictures;
  pictures.width = item.width;
  pictures.height = item.height;
  pictures.pixels[at] = item.payload.data();
  pictures.palettes[at] = &item.palette;
  pictures.names[at] = isPseudoName(item.title) ? item.title : pseudoName(item.title);
  if (bench.pictures.picturesPresent && item.width == bench.pictures.width &&
      item.height == bench.pictures.height) {  // the view stays where it was
    pictures.centreX = bench.view.centreX;
    pictures.centreY = bench.view.centreY;
  }
  return setPicturesFromMemory(bench, user, pictures) == 0 ? 0 : -1;
}

}  // namespace vemla
