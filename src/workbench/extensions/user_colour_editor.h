#pragma once
// The editor of the user colour tables ("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞの編集"): the editing session behind the
// dialog. It edits bench.userEntries.colours and the tables' intensity and brightness in the
// image control, repaints the panes that show a changed table, and writes the user
// information file on "更新" and "OK" (never in a second copy). The editor's choices (file,
// interpolation range and channels, picker colour, last entry) live in
// bench.shell.userColourEditor.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "extensions/user_colours.h"
#include "ports/ports.h"
#include "workbench/extensions/entry_editing.h"
#include "workbench/workbench.h"

namespace vemla {

inline constexpr int kColourGridRows = 16;
inline constexpr int kLastFirstGrey = 256 - kColourGridRows;  // 240

class UserColourEditing final : public EntryEditing<UserColourEntry> {
 public:
  UserColourEditing(Workbench& bench, UserPort& user);

  UserColourEditorState& state() { return bench_.shell.userColourEditor; }

  // The first grey value shown in the edit grid, 0..240.
  int firstGrey() const { return firstGrey_; }
  void setFirstGrey(int grey);
  // One channel (0 red, 1 green, 2 blue) of the edit copy at `grey`, limited to 0..255.
  int channel(int grey, int channel) const;
  void setChannel(int grey, int channel, int value);
  void setColour(int grey, const std::array<std::uint8_t, 3>& colour);

  // "読み込み": on success the edit copy takes the file's table. A text file with a bad line
  // asks whether to edit it; Edit is returned for a yes, and the caller opens the file.
  enum class ReadOutcome { Read, Refused, Edit };
  ReadOutcome readFile(const std::string& path);
  // "退避": the edit copy's table; a failure is told and keeps the old file.
  bool writeFile(const std::string& path);
  // "補間" on the edit copy with the range and channels of the controls, which are kept
  // (limited and in order).
  void interpolate(int from, int to, const std::array<bool, 3>& channels);

 private:
  std::optional<std::string> validate(UserColourEntry& candidate, int changing) override;
  void prepareSlot(std::size_t slot) override;
  std::optional<std::string> removalRefusal() const override;
  void moveCarried(std::size_t to, std::size_t from) override;
  void clearCarried(std::size_t slot) override;
  void showChanged(int slot) override;
  void redoImage(ImageSlot image) override;

  int firstGrey_ = 0;
};

}  // namespace vemla
