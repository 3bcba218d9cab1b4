#include "workbench/editing/grey_value_text.h"

#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr const char* kOpenFailed = text::N_("ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました");
constexpr const char* kWriteFailed = text::N_("ﾌｧｲﾙの書き込みができません\n%s");

}  // namespace

bool writeGreyValueFile(Workbench& bench, const TextExportSettings& settings,
                        const std::string& path, UserPort& user) {
  const int width = bench.pictures.width;
  if (auto problem = checkExportRectangle(settings.rectangle, width, bench.pictures.height)) {
    user.tell(Icon::Warning, *problem);
    return false;
  }
  const std::uint8_t* plane = bench.store.plane(textExportPlane(settings.source));
  switch (writeGreyValueText(path, plane, width, settings.rectangle, settings.separator)) {
    case ExportStatus::Written:
      return true;
    case ExportStatus::OpenFailed:
      user.tell(Icon::Warning, text::tr(kOpenFailed));
      return false;
    case ExportStatus::WriteFailed:
      user.tell(Icon::Error, text::format(text::tr(kWriteFailed), path.c_str()));
      return false;
  }
  return false;
}

}  // namespace vemla
