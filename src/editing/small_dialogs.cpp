#include "editing/small_dialogs.h"

#include "picture/picture_state.h"
#include "text/decimal_text.h"
#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"

namespace vemla {

std::optional<std::string> checkPictureSize(int width, int height, int maxWidth, int maxHeight) {
  if (width < kMinPictureSize || width > maxWidth || height < kMinPictureSize ||
      height > maxHeight) {
    return text::format(text::tr("幅／高さの指定に誤りがあります(%dｘ%d～%dｘ%d)"), kMinPictureSize,
                        kMinPictureSize, maxWidth, maxHeight);
  }
  return std::nullopt;
}

std::optional<std::string> checkRawSize(const RawSize& size, int maxWidth, int maxHeight) {
  if (auto problem = checkPictureSize(size.width, size.height, maxWidth, maxHeight)) {
    return problem;
  }
  if (size.offset < 0) return std::string(text::tr("読み込み開始位置に誤りがあります"));
  return std::nullopt;
}

std::string rawSizeHelpText(int maxWidth, int maxHeight) {
  return text::format(
      text::tr(
          "画像ｻｲｽﾞを%dｘ%d～%dｘ%d\nの範囲で指定します\nｻｲｽﾞの範囲外のﾌｧｲﾙも\n読み込みが可能です"),
      kMinPictureSize, kMinPictureSize, maxWidth, maxHeight);
}

std::string rawFileBytesText(std::int64_t bytes) {
  return text::format(text::tr("%lldﾊﾞｲﾄ"), static_cast<long long>(bytes));
}

std::string rgbRatioTitle(std::string_view suffix) {
  return std::string(text::tr("TrueColor RGB比")).append(suffix);
}

std::string rgbRatioFileSuffix(PictureSlot picture) {
  return picture == PictureSlot::First ? text::tr("(ﾌｧｲﾙ1)") : text::tr("(ﾌｧｲﾙ2)");
}

std::string formatRatio(double ratio) {
  return text::shortenDecimal(text::fixedDecimal(ratio, 6));
}

double parseRatioField(std::string_view field) {
  return text::readLeadingNumber(field);
}

}  // namespace vemla
