#pragma once
// Files dropped on the panes or pasted through their menus: what is opened, and how.
#include <string>
#include <vector>

#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/workbench.h"

namespace vemla {

enum class PaneCommand : int;

enum class DropAction {
  Nothing,
  OpenArchive,  // `archive` through the archive open flow
  Ask,          // one file on a picture pane with pictures loaded: open alone or replace?
  Open,         // `names` with `mode` (0 both, 1 Picture 1 keeping 2, 2 Picture 2 keeping 1)
};
struct DropDecision {
  DropAction action = DropAction::Nothing;
  std::string archive;
  std::vector<std::string> names;  // Picture 1, Picture 2 (empty: none)
  OpenMode mode = OpenMode::Both;
  bool operator==(const DropDecision&) const = default;
};
// Files dropped on pane `pane`: an archive first opens the archive; two or more files open
// the first two as Picture 1 and Picture 2; one file opens alone, except on a picture pane
// while pictures are loaded, where the operator is asked.
DropDecision decideDrop(const std::vector<std::string>& files, Pane pane, bool picturesPresent);

// The answer to the question of a drop: "画像を単独で開く", "画像を入れ替える", "キャンセル".
enum class DropChoice { Alone, Replace, Cancel };
inline constexpr const char* kDropAloneText = text::N_("画像を単独で開く");
inline constexpr const char* kDropReplaceText = text::N_("画像を入れ替える");
inline constexpr const char* kDropCancelText = text::N_("キャンセル");
// Alone: the file as Picture 1, no Picture 2. Replace: the file in place of picture pane
// `pane`'s picture, the other picture's name kept (mode 1 or 2). Cancel: nothing.
DropDecision resolveDropChoice(const std::string& file, Pane pane, DropChoice choice,
                               const Workbench& bench);

// The paste commands of the pane menus with the clipboard's files: an archive first opens the
// archive; PasteAlone opens the first file alone, PasteReplace puts it in place of the picture
// pane's picture keeping the other, Paste (image panes) opens the first two files as the main
// paste does. Nothing without files. `pane` is the menu's pane number.
DropDecision decidePaste(const std::vector<std::string>& files, Pane pane, PaneCommand command,
                         const Workbench& bench);

}  // namespace vemla
