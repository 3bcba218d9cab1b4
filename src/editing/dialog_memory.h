#pragma once
// What the small picture dialogs remember from one use to the next: the size change mode and
// the text export fields while the program runs, the text export's stored part across runs.
// Held by the workbench.
#include <optional>
#include <string>

#include "processing/rect.h"

namespace vemla {

enum class ResizeMode : int {
  CropOrPad = 0,  // "左上位置を基準とし\n切り出しや貼り付け\nを行う"
  Scale = 1,      // "新しいｻｲｽﾞにあわせて\n膨張／収縮を行う"
};

// The text export dialog's fields.
struct TextExportSettings {
  int source = 0;  // 0 "画像1", 1 "画像2", 2 "ｲﾒｰｼﾞ1", 3 "ｲﾒｰｼﾞ2"
  Rect rectangle{};
  int halfSize = 0;  // n of "ｶｰｿﾙを中心に ± n 画素"
  std::string separator = ",";
  bool operator==(const TextExportSettings&) const = default;
};

// The text export's source and half size as the settings keep them from one run to the next.
struct TextExportMemory {
  int source = 0;
  int halfSize = 0;
  bool operator==(const TextExportMemory&) const = default;
};

struct PictureDialogMemory {
  ResizeMode resizeMode = ResizeMode::CropOrPad;
  TextExportMemory storedTextExport;
  std::optional<TextExportSettings> textExport;  // nullopt until the dialog was first opened
};

}  // namespace vemla
