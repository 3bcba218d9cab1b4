#include "workbench/commands/file_history.h"

#include <algorithm>
#include <limits>

#include "picture/file_names.h"
#include "picture/picture_file.h"
#include "picture/picture_state.h"
#include "text/cp932.h"
#include "text/format.h"
#include "workbench/commands/command_ids.h"
#include "workbench/commands/command_state.h"

namespace vemla {
namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Moves the elements of `list` in [0, from) down by one, dropping element `from`, and puts
// `top` at index 0. With `from` the last index this drops the oldest entry.
template <typename Entry, std::size_t N>
void putOnTop(std::array<Entry, N>& list, std::size_t from, Entry top) {
  std::move_backward(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(from),
                     list.begin() + static_cast<std::ptrdiff_t>(from) + 1);
  list[0] = std::move(top);
}

}  // namespace

bool sameFileName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool recordCombination(persist::FileHistory& info, const std::string& name1,
                       const std::string& name2) {
  if (isPseudoName(name1) || isPseudoName(name2)) return false;
  if (name1.empty() && name2.empty()) return false;
  auto& history = info.history;
  std::size_t from = history.size() - 1;
  for (std::size_t i = 0; i < history.size(); ++i) {
    const auto& names = history[i].names;
    if (history[i].used == 1 && sameFileName(names[index(PictureSlot::First)], name1) &&
        sameFileName(names[index(PictureSlot::Second)], name2)) {
      from = i;
      break;
    }
  }
  persist::HistoryEntry entry;
  entry.used = 1;
  entry.names = {name1, name2};
  putOnTop(history, from, std::move(entry));
  return true;
}

bool recordRecentPicture(persist::FileHistory& info, const std::string& name, int width, int height,
                         std::int64_t rawOffset) {
  if (!isPictureName(name) && !isRawName(name)) return false;
  const std::int64_t offset = isRawName(name) ? rawOffset : 0;
  if (offset < 0 || offset > std::numeric_limits<std::int32_t>::max()) return false;
  auto& recent = info.recent;
  std::size_t from = recent.size() - 1;
  for (std::size_t i = 0; i < recent.size(); ++i) {
    if (recent[i].used == 1 && sameFileName(recent[i].name, name)) {
      from = i;
      break;
    }
  }
  persist::RecentPicture entry;
  entry.used = 1;
  entry.width = width;
  entry.height = height;
  entry.rawOffset = static_cast<std::int32_t>(offset);
  entry.name = name;
  putOnTop(recent, from, std::move(entry));
  return true;
}

void recordOpenedFile(LastFiles& files, PictureSlot picture, const std::string& name) {
  if (isRealFileName(name)) files.openPicture[index(picture)] = name;
}

void recordGreyValueTextFile(LastFiles& files, const std::string& name) {
  if (text::checkFixedField(name, kNameFieldBytes) == text::FieldStatus::Ok) {
    files.greyValueText = name;
  }
}

void clearHistory(persist::FileHistory& info) {
  info.history = {};
  info.recent = {};
}

std::vector<MenuItem> historyMenuItems(const persist::FileHistory& info) {
  std::vector<MenuItem> items;
  for (std::size_t i = 0; i < info.history.size(); ++i) {
    const persist::HistoryEntry& entry = info.history[i];
    if (entry.used != 1) continue;
    const int number = static_cast<int>(i) + 1;
    const int firstId = kFirstHistoryItem + 2 * static_cast<int>(i);
    const std::string& first = entry.names[index(PictureSlot::First)];
    const std::string& second = entry.names[index(PictureSlot::Second)];
    if (!first.empty()) items.push_back({firstId, text::format("%2d. %s", number, first.c_str())});
    if (!second.empty()) {
      items.push_back({firstId + 1, first.empty() ? text::format("%2d. %s", number, second.c_str())
                                                  : "    " + second});
    }
  }
  return items;
}

int historyEntryOfCommand(int id) {
  return isHistoryItem(id) ? (id - kFirstHistoryItem) / 2 : -1;
}

}  // namespace vemla
