#include "workbench/net/picture_exchange.h"

namespace vemla::net {

std::vector<std::uint8_t> exportPayload(const Workbench& bench) {
  PairSource source;
  source.width = bench.pictures.width;
  source.height = bench.pictures.height;
  source.positionX = bench.view.centreX;
  source.positionY = bench.view.centreY;
  source.magnification = bench.view.magnification;
  source.reducedDisplay = bench.view.reducedDisplay;
  for (PictureSlot slot : kPictureSlots) {
    source.palettes[index(slot)] = &bench.pictures.pictures[index(slot)].palette;
    source.pixels[index(slot)] = bench.store.plane(unshiftedPlane(slot));
  }
  return encodePayload(source);
}

MemoryPictures importedPictures(const PairHeader& header, const std::uint8_t* pixels,
                                const Options& options) {
  MemoryPictures pictures;
  pictures.width = header.width;
  pictures.height = header.height;
  const std::size_t pictureBytes =
      static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);
  pictures.pixels = {pixels, pixels + pictureBytes};
  if (!options.ImportAsGrey) {
    for (PictureSlot slot : kPictureSlots) {
      pictures.palettes[index(slot)] = &header.palettes[index(slot)];
    }
  }
  pictures.names = {"<Import1>", "<Import2>"};
  if (options.ImportTakePosition) {
    pictures.centreX = header.positionX;
    pictures.centreY = header.positionY;
  }
  if (options.ImportTakeMagnification) {
    pictures.magnification = header.magnification;
    // Any flag other than 1 counts as off; above magnification 1 the reduced view is off anyway.
    pictures.reducedDisplay = header.reducedDisplay == 1;
  }
  return pictures;
}

}  // namespace vemla::net
