#include "cli/tool_views.h"

#include <cstring>

#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "text/format.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {

bool checkToolInput(const std::string& name, Context& io) {
  // A file of another type is a refused open, as in the workbench, not a usage error.
  if (!isBitmapName(name)) {
    io.err << text::format(msg::kWithName, msg::kUnsupported, name.c_str()) << '\n';
    return false;
  }
  const int bits = probeBitmap(name);
  if (bits == 24 || bits == 32) {
    io.err << name << " must be an 8-bit .bmp, not " << bits << "-bit\n";
    return false;
  }
  return true;
}

ViewPoint renderToolView(Workbench& bench, int picture, const Arguments& args) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  std::memcpy(bench.store.plane(kImage1), bench.store.plane(picture),
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bench.images.fill[0] = 0;
  if (const auto value = args.value("--fill"))
    bench.images.fill[0] = static_cast<std::uint8_t>(parseInt(*value, 0, 255, "--fill"));
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

}  // namespace vemla::cli
