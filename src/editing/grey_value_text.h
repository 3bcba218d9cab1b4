#pragma once
// "階調値ﾃｷｽﾄ保存": the grey values of a rectangle of a picture or image written as text, one
// line per row, each value "%3d" and the values separated by the chosen separator.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editing/dialog_memory.h"
#include "picture/file_helpers.h"
#include "picture/picture_store.h"
#include "ports/ports.h"
#include "processing/rect.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kTextExportTitle = text::N_("階調値ﾃｷｽﾄ保存");
inline constexpr const char* kTextExportFilter = text::N_("ﾃｷｽﾄﾌｧｲﾙ (*.txt)");
inline constexpr int kTextExportSources = 4;
inline constexpr int kSeparatorLimit = 2;  // characters

// "画像1", "画像2", "ｲﾒｰｼﾞ1", "ｲﾒｰｼﾞ2"; the plane each source reads: the shifted pictures as the
// picture panes show them, and the image buffers.
const char* textExportSourceName(int source);
int textExportPlane(int source);

// "≪": the cursor ± n (n < 0 taken as 0), limited to the width x height picture.
Rect cursorRectangle(int cursorX, int cursorY, int halfSize, int width, int height);

// nullopt when 0 <= left <= right < width and 0 <= top <= bottom < height, else
// "指定の範囲に誤りがあります".
std::optional<std::string> checkExportRectangle(const Rect& rectangle, int width, int height);

// "階調値ﾃｷｽﾄ保存ﾌｧｲﾙの選択(%s:%d x %d)" with the source name and the rectangle's size.
std::string exportFileDialogTitle(int source, const Rect& rectangle);

// Produces the text of a checked rectangle of a plane `width` pixels wide into `sink`, one row
// at a time; false as soon as the sink refuses bytes.
bool produceGreyValueText(const std::uint8_t* plane, int width, const Rect& rectangle,
                          std::string_view separator, const ByteSink& sink);

enum class ExportStatus { Written, OpenFailed, WriteFailed };

// Writes the text file atomically: a temporary file in the target's folder replaces the target
// only after every write and the close succeeded, so a full disk leaves the previous file.
// OpenFailed when the file could not be created at all.
ExportStatus writeGreyValueText(const std::string& path, const std::uint8_t* plane, int width,
                                const Rect& rectangle, std::string_view separator);

}  // namespace vemla
