#pragma once
// The file history of opened combinations and the recent single pictures, both kept in the
// user information (VemlaUinf.dat), the File menu items built from the history, and the last
// files of the main window's file dialogs (LastFiles, kept in VemlaPinf.dat).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "persist/user_info.h"
#include "picture/last_files.h"

namespace vemla {

inline constexpr int kHistoryEntryCount = 16;
inline constexpr int kRecentPictureCount = 16;

// Names compared as the history compares them: equal ignoring the case of ASCII letters.
bool sameFileName(std::string_view a, std::string_view b);

// Puts (name1, name2) at the top of the history. An entry with the same two names (compared
// with sameFileName) moves to the top and takes the new spelling; otherwise every entry moves
// down one and the oldest falls out. A combination in which either name is a pseudo-name
// (beginning with "<"), or whose two names are both empty, is not recorded. Returns whether
// the history changed.
bool recordCombination(persist::FileHistory& info, const std::string& name1, const std::string& name2);

// Puts a ".bmp" or ".raw" picture (any case) at the top of the recent single pictures with its
// size and, for raw files, its start offset; an equal name (sameFileName) is removed first and
// the list keeps 16. Other names, and an offset that the 32-bit field cannot hold, are not
// recorded. Returns whether the list changed.
bool recordRecentPicture(persist::FileHistory& info, const std::string& name, int width, int height,
                         std::int64_t rawOffset);

// The file just opened as `picture` becomes where that picture's open dialog starts; a
// pseudo-name or an empty name leaves it as it was.
void recordOpenedFile(LastFiles& files, PictureSlot picture, const std::string& name);

// The grey-value text file just chosen becomes where its dialog starts; a name the settings'
// 512-byte field cannot hold exactly is not remembered.
void recordGreyValueTextFile(LastFiles& files, const std::string& name);

// Empties the file history and the recent single pictures.
void clearHistory(persist::FileHistory& info);

struct MenuItem {
  int id;
  std::string text;  // plain text: an "&" in a name is the menu's to escape
};

// The history items of the File menu, in order, without the separator (650) that precedes
// them: for used entry i (1-based) "%2d. %s" with the Picture 1 name (id 649 + 2i) and
// "    %s" with the Picture 2 name (id 650 + 2i); when the Picture 1 name is empty the
// Picture 2 item carries the number instead. An empty name has no item.
std::vector<MenuItem> historyMenuItems(const persist::FileHistory& info);

// The history entry (0-based) that a history item opens; -1 for any other identifier.
int historyEntryOfCommand(int id);

}  // namespace vemla
