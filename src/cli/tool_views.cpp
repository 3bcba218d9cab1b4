#include "cli/tool_views.h"

#include <cstring>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "text/format.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

std::uint8_t fillValue(const Arguments& args) {
  const auto value = args.value("--fill");
  return value ? static_cast<std::uint8_t>(parseInt(*value, 0, 255, "--fill")) : 0;
}

}  // namespace

ViewPoint renderToolView(Workbench& bench, int picture, const Arguments& args) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  std::memcpy(bench.store.plane(kImage1), bench.store.plane(picture),
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bench.images.fill[index(ImageSlot::First)] = fillValue(args);
  renderImage(bench, ImageSlot::First, false);
  const ViewState& view = bench.view;
  return cursorViewPoint(width, height, view.centreX, view.centreY, view.fineX, view.fineY,
                         viewSettingsOf(bench), view.placement);
}

std::string toolMagnificationText(const Workbench& bench) {
  const std::string text =
      magnificationText(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
  return text.rfind('x', 0) == 0 ? text.substr(1) : text;
}

std::vector<int> parseIntList(const std::string& text, int low, int high, std::size_t minCount,
                              std::size_t maxCount, const std::string& what) {
  std::vector<int> values;
  std::size_t from = 0;
  while (true) {
    const std::size_t comma = text.find(',', from);
    values.push_back(parseInt(text.substr(from, comma - from), low, high, what));
    if (values.size() > maxCount) break;
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  if (values.size() < minCount || values.size() > maxCount) {
    throw UsageError(what + ": expected " +
                     (minCount == maxCount
                          ? std::to_string(minCount)
                          : std::to_string(minCount) + " to " + std::to_string(maxCount)) +
                     " numbers");
  }
  return values;
}

bool openToolImages(const std::vector<std::string>& files, const Arguments& args, Workbench& bench,
                    Context& io) {
  const ReadFlags readFlags = parseReadFlags(args);
  const std::uint8_t fill = fillValue(args);
  double pixelSizeX = readFlags.options.PixelSizeX, pixelSizeY = readFlags.options.PixelSizeY;
  if (const auto sizes = args.value("--pixel-size")) {
    const auto comma = sizes->find(',');
    if (comma == std::string::npos) throw UsageError("--pixel-size: expected PX,PY");
    pixelSizeX = parseReal(sizes->substr(0, comma), "--pixel-size");
    pixelSizeY = parseReal(sizes->substr(comma + 1), "--pixel-size");
    if (!(pixelSizeX > 0) || !(pixelSizeY > 0)) throw UsageError("--pixel-size must be above 0");
  }
  for (const std::string& file : files) {
    if (!checkEightBitBitmap(file, io)) return false;
  }
  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  if (!prepareWorkbench(bench, readFlags, user)) return false;
  const std::string* second = files.size() > 1 ? &files[1] : nullptr;
  if (openPictureFiles(bench, user, &files[0], second, OpenMode::Both) != 0) return false;
  applyViewFlags(args, bench);
  bench.options.PixelSizeX = pixelSizeX;
  bench.options.PixelSizeY = pixelSizeY;
  const std::size_t bytes = static_cast<std::size_t>(bench.pictures.width) *
                            static_cast<std::size_t>(bench.pictures.height);
  for (ImageSlot image : kImageSlots) {
    const Plane picture = image == ImageSlot::First ? kPicture1 : kPicture2;
    std::memcpy(bench.store.plane(imagePlane(image)), bench.store.plane(picture), bytes);
    bench.images.fill[index(image)] = fill;
    renderImage(bench, image, false);
  }
  return true;
}

}  // namespace vemla::cli
