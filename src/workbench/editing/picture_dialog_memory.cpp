#include "workbench/editing/picture_dialog_memory.h"

#include <algorithm>

namespace vemla {

TextExportSettings initialTextExport(const Workbench& bench) {
  const TextExportMemory& stored = bench.shell.pictureDialogs.storedTextExport;
  TextExportSettings settings;
  settings.source = stored.source;
  settings.halfSize = stored.halfSize;
  settings.rectangle = cursorRectangle(bench.view.centreX, bench.view.centreY, settings.halfSize,
                                       bench.pictures.width, bench.pictures.height);
  return settings;
}

const TextExportSettings& textExportOnOpen(Workbench& bench) {
  PictureDialogMemory& memory = bench.shell.pictureDialogs;
  if (!memory.textExport) memory.textExport = initialTextExport(bench);
  return *memory.textExport;
}

void storeTextExport(Workbench& bench, const TextExportSettings& settings) {
  PictureDialogMemory& memory = bench.shell.pictureDialogs;
  memory.textExport = settings;
  memory.storedTextExport = {settings.source, std::max(settings.halfSize, 0)};
}

void rememberResizeMode(Workbench& bench, ResizeMode mode) {
  bench.shell.pictureDialogs.resizeMode = mode;
}

}  // namespace vemla
