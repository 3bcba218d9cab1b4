#include "workbench/commands/command_line.h"

#include "picture/file_names.h"
#include "picture/picture_file.h"
#include "picture/picture_slot.h"
#include "workbench/picture/open_pictures.h"

namespace vemla {
namespace {

constexpr int kArchiveClass = 3;
constexpr int kRawClass = 2;

}  // namespace

CommandLineNames commandLineNames(const std::vector<std::string>& args, UserPort& user) {
  CommandLineNames result;
  for (std::size_t i = 0; i < args.size() && i < result.names.size(); ++i) {
    if (!nameFitsField(args[i], user)) return {};
    result.names[i] = args[i];
  }
  const std::string& first = result.names[index(PictureSlot::First)];
  if (classifyName(first) == kArchiveClass) {
    result.archivePath = first;
    result.names = {};
  }
  return result;
}

bool isViewerHandOver(const std::array<std::string, 2>& names) {
  const std::string& first = names[index(PictureSlot::First)];
  return names[index(PictureSlot::Second)].empty() &&
         (isPictureName(first) || classifyName(first) == kRawClass);
}

}  // namespace vemla
