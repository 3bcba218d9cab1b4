#pragma once
// Checks and texts of the raw file size dialog and the RGB ratio dialog; the windows show them,
// core and vemla-cli validate with the same rules.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "picture/picture_slot.h"
#include "ports/ports.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kRawSizeTitle = text::N_("RAW ﾌｧｲﾙ情報");
// Asked by "ｷｬﾝｾﾙ" (and Esc, and the window's close button) of a dialog whose fields were
// edited.
inline constexpr const char* kDiscardEditsQuestion =
    text::N_("編集した内容が失われますがよいですか");

// nullopt when 8 <= width <= maxWidth and 8 <= height <= maxHeight, else the range message
// "幅／高さの指定に誤りがあります(8ｘ8～…)" that the raw size and size change dialogs show.
std::optional<std::string> checkPictureSize(int width, int height, int maxWidth, int maxHeight);
// nullopt when the size is acceptable, else the message the dialog shows.
std::optional<std::string> checkRawSize(const RawSize& size, int maxWidth, int maxHeight);
std::string rawSizeHelpText(int maxWidth, int maxHeight);
std::string rawFileBytesText(std::int64_t bytes);  // "%dﾊﾞｲﾄ"

// "TrueColor RGB比" followed by "(ﾌｧｲﾙ1)", "(ﾌｧｲﾙ2)", a file name or nothing.
std::string rgbRatioTitle(std::string_view suffix);
std::string rgbRatioFileSuffix(PictureSlot picture);  // "(ﾌｧｲﾙ1)" / "(ﾌｧｲﾙ2)"
// A ratio as the dialog shows it: "%f", then shortened (1.000000 -> 1.0, 0.299000 -> 0.299).
// Written and read with a point whatever the process locale is.
std::string formatRatio(double ratio);
// A field read as a decimal number; text that is not a number reads as 0.
double parseRatioField(std::string_view text);

inline constexpr RgbRatio kRedOnly{1.0, 0.0, 0.0};
inline constexpr RgbRatio kGreenOnly{0.0, 1.0, 0.0};
inline constexpr RgbRatio kBlueOnly{0.0, 0.0, 1.0};

}  // namespace vemla
