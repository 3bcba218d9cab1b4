#include "workbench/picture/exchange_commands.h"

#include "persist/exchange_file.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

int copyPaneToExchange(const Workbench& bench, UserPort& user, int pane) {
  if (!bench.pictures.picturesPresent || pane < 0 || pane > 3) return -1;
  const int index = pane % 2;
  const bool image = pane >= 2;
  persist::ExchangeItem item;
  item.kind = persist::kExchangePicture;
  item.width = bench.pictures.width;
  item.height = bench.pictures.height;
  item.title = image ? kindNameOf(bench, index + 1) : bench.pictures.pictures[index].name;
  item.palette = image ? imageDisplayPalette(bench, index) : bench.pictures.pictures[index].palette;
  const std::uint8_t* pixels = bench.store.plane(image ? (index == 0 ? kImage1 : kImage2)
                                                       : (index == 0 ? kShifted1 : kShifted2));
  item.payload.assign(pixels, pixels + static_cast<std::size_t>(item.width) * item.height);
  return persist::writeExchangeItem(bench.settings.folder, item, user);
}

int pasteExchangeToPane(Workbench& bench, UserPort& user, int pane) {
  if (pane < 0 || pane > 3 || bench.pictures.editing) return -1;
  persist::ExchangeRequest request;
  request.pictureOnly = true;
  request.convertTo8Bit = true;
  request.maxWidth = bench.store.maxWidth();
  request.maxHeight = bench.store.maxHeight();
  request.trueColourMode = bench.options.TrueColourOpenMode;
  request.askRatio = bench.options.AskRatioPerFile;
  request.ratios = bench.options.GreyRatio;
  persist::ExchangeItem item;
  const int kind = persist::readExchangeItem(bench.settings.folder, request, user, item);
  if (kind != persist::kExchangePicture) return -1;

  // The other picture is kept at the same size and cleared at another one.
  const int index = pane % 2;
  MemoryPictures pictures;
  pictures.width = item.width;
  pictures.height = item.height;
  pictures.pixels[index] = item.payload.data();
  pictures.palettes[index] = &item.palette;
  pictures.names[index] = isPseudoName(item.title) ? item.title : pseudoName(item.title);
  if (bench.pictures.picturesPresent && item.width == bench.pictures.width &&
      item.height == bench.pictures.height) {  // the view stays where it was
    pictures.centreX = bench.view.centreX;
    pictures.centreY = bench.view.centreY;
  }
  return setPicturesFromMemory(bench, user, pictures) == 0 ? 0 : -1;
}

}  // namespace vemla
