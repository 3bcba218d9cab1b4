#include "editing/grey_value_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr std::array<const char*, kTextExportSources> kSourceNames{
    text::N_("画像1"), text::N_("画像2"), text::N_("ｲﾒｰｼﾞ1"), text::N_("ｲﾒｰｼﾞ2")};
constexpr std::array<int, kTextExportSources> kSourcePlanes{kShifted1, kShifted2, kImage1, kImage2};

constexpr const char* kBadRectangle = text::N_("指定の範囲に誤りがあります");

int sourceIndex(int source) {
  return std::clamp(source, 0, kTextExportSources - 1);
}

}  // namespace

const char* textExportSourceName(int source) {
  return kSourceNames[static_cast<std::size_t>(sourceIndex(source))];
}

int textExportPlane(int source) {
  return kSourcePlanes[static_cast<std::size_t>(sourceIndex(source))];
}

Rect cursorRectangle(int cursorX, int cursorY, int halfSize, int width, int height) {
  // 64 bits: the half size is whatever the operator typed.
  const std::int64_t n = std::max(halfSize, 0);
  const auto limited = [](std::int64_t value, int size) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::max(size - 1, 0)));
  };
  return {limited(cursorX - n, width), limited(cursorY - n, height), limited(cursorX + n, width),
          limited(cursorY + n, height)};
}

std::optional<std::string> checkExportRectangle(const Rect& r, int width, int height) {
  const bool inside = 0 <= r.left && r.left <= r.right && r.right < width && 0 <= r.top &&
                      r.top <= r.bottom && r.bottom < height;
  if (inside) return std::nullopt;
  return std::string(text::tr(kBadRectangle));
}

std::string exportFileDialogTitle(int source, const Rect& r) {
  return text::format(text::tr("階調値ﾃｷｽﾄ保存ﾌｧｲﾙの選択(%s:%d x %d)"),
                      text::tr(textExportSourceName(source)), r.right - r.left + 1,
                      r.bottom - r.top + 1);
}

bool produceGreyValueText(const std::uint8_t* plane, int width, const Rect& r,
                          std::string_view separator, const ByteSink& sink) {
  std::string line;
  for (int y = r.top; y <= r.bottom; ++y) {
    line.clear();
    const std::uint8_t* row = plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = r.left; x <= r.right; ++x) {
      if (x != r.left) line += separator;
      char value[8];
      const int length = std::snprintf(value, sizeof value, "%3d", row[x]);
      line.append(value, static_cast<std::size_t>(length));
    }
    line += '\n';
    if (!sink(line.data(), line.size())) return false;
  }
  return true;
}

ExportStatus writeGreyValueText(const std::string& path, const std::uint8_t* plane, int width,
                                const Rect& rectangle, std::string_view separator) {
  // The producer only runs once the temporary file exists: a failure before it is one of
  // opening, any later one of writing, flushing or closing.
  bool opened = false;
  const bool written = writeFileAtomically(path, [&](const ByteSink& sink) {
    opened = true;
    return produceGreyValueText(plane, width, rectangle, separator, sink);
  });
  if (written) return ExportStatus::Written;
  return opened ? ExportStatus::WriteFailed : ExportStatus::OpenFailed;
}

}  // namespace vemla
