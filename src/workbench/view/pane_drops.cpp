#include "workbench/view/pane_drops.h"

#include <array>

#include "picture/file_names.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/view/pane_numbers.h"

namespace vemla {
namespace {

DropDecision openNames(std::string first, std::string second, OpenMode mode) {
  DropDecision decision;
  decision.action = DropAction::Open;
  decision.names = {std::move(first), std::move(second)};
  decision.mode = mode;
  return decision;
}

bool isArchiveName(const std::string& name) {
  return nameEndsWithExtension(name, ".vla");
}

}  // namespace

DropDecision decideDrop(const std::vector<std::string>& files, Pane pane, bool picturesPresent) {
  DropDecision decision;
  if (files.empty()) return decision;
  if (isArchiveName(files[0])) {
    decision.action = DropAction::OpenArchive;
    decision.archive = files[0];
    return decision;
  }
  if (files.size() >= 2) return openNames(files[0], files[1], OpenMode::Both);
  if (!isImagePane(pane) && picturesPresent) {
    decision.action = DropAction::Ask;
    decision.names = {files[0]};
    return decision;
  }
  return openNames(files[0], {}, OpenMode::Both);
}

DropDecision resolveDropChoice(const std::string& file, Pane pane, DropChoice choice,
                               const Workbench& bench) {
  if (choice == DropChoice::Cancel) return {};
  if (choice == DropChoice::Replace && !isImagePane(pane)) {
    const PictureSlot picture = pictureOfPane(pane);
    std::array<std::string, 2> names = pictureNames(bench.pictures);
    names[index(picture)] = file;
    return openNames(names[index(PictureSlot::First)], names[index(PictureSlot::Second)],
                     openingOnly(picture));
  }
  return openNames(file, {}, OpenMode::Both);
}

DropDecision decidePaste(const std::vector<std::string>& files, Pane pane, PaneCommand command,
                         const Workbench& bench) {
  if (files.empty()) return {};
  switch (command) {
    case PaneCommand::PasteAlone:
      return decideDrop({files[0]}, Pane::Image1, false);
    case PaneCommand::PasteReplace:
      if (isArchiveName(files[0]) || !bench.pictures.picturesPresent) {
        return decideDrop({files[0]}, Pane::Image1, false);
      }
      return resolveDropChoice(files[0], pane, DropChoice::Replace, bench);
    case PaneCommand::Paste:
      return decideDrop(files, Pane::Image1, false);
    default:
      return {};
  }
}

}  // namespace vemla
