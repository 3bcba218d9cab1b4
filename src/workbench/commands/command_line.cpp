#include "workbench/commands/command_line.h"

#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "picture/picture_state.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr int kArchiveClass = 3;
constexpr int kRawClass = 2;

}  // namespace

// A name that would not fit its field is refused rather than cut: a shortened path could name
// another file. A character CP932 cannot hold is no reason to refuse (nameFitsNameField).
bool nameFitsField(const std::string& name, UserPort& user) {
  if (nameFitsNameField(name)) return true;
  user.tell(Icon::Warning, text::tr(msg::kNameTooLong));
  return false;
}

CommandLineNames commandLineNames(const std::vector<std::string>& args, UserPort& user) {
  CommandLineNames result;
  for (std::size_t i = 0; i < args.size() && i < result.names.size(); ++i) {
    if (!nameFitsField(args[i], user)) return {};
    result.names[i] = args[i];
  }
  if (classifyName(result.names[0]) == kArchiveClass) {
    result.archivePath = result.names[0];
    result.names = {};
  }
  return result;
}

bool isViewerHandOver(const std::array<std::string, 2>& names) {
  const int kind = classifyName(names[0]);
  return names[1].empty() && (isPictureName(names[0]) || kind == kRawClass);
}

}  // namespace vemla
