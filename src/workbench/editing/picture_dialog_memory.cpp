#include "workbench/editing/picture_dialog_memory.h"

#include <algorithm>

namespace vemla {

TextExportSettings initialTextExport(const Workbench& bench) {
  const auto& stored = bench.settings.program.textExport;
  TextExportSettings settings;
  // The record comes from a file: a source outside the four choices falls back to "画像1".
  settings.source = stored[0] >= 0 && stored[0] < kTextExportSources ? stored[0] : 0;
  settings.halfSize = std::max(stored[1], 0);
  settings.rectangle = cursorRectangle(bench.view.centreX, bench.view.centreY, settings.halfSize,
                                       bench.pictures.width, bench.pictures.height);
  return settings;
}

void storeTextExport(Workbench& bench, const TextExportSettings& settings) {
  bench.settings.program.textExport = {settings.source, std::max(settings.halfSize, 0)};
}

}  // namespace vemla
