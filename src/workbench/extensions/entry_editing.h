#pragma once
// The editing session shared by the editors of the user entries (user simple image processing,
// user colour images): a table of 16 entries packed at the front, an edit copy of the selected
// entry, the selection kept between openings, a modified flag, two flags recording which images
// were redone, and a snapshot taken at opening and at each save that "ｷｬﾝｾﾙ" restores. The
// editors add what differs: the checks, what an entry carries in the image control, which
// images show an entry and how they are redone.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "processing/image_control.h"
#include "text/translate.h"
#include "workbench/settings/settings_session.h"
#include "workbench/workbench.h"

namespace vemla {

namespace msg::entry_editing {
inline constexpr const char* kSecondCopyEditQuestion =
    text::N_("多重起動されたﾌﾟﾛｸﾞﾗﾑのため編集\nした内容がﾌｧｲﾙには保存されません\n続行しますか");
inline constexpr const char* kEditsLostQuestion = text::N_("編集した内容が失われますがよいですか");
inline constexpr const char* kEditingLostQuestion =
    text::N_("編集中の情報が失われますがよいですか");
}  // namespace msg::entry_editing

template <typename Entry>
class EntryEditing {
 public:
  using Table = std::array<Entry, kUserEntryCount>;

  virtual ~EntryEditing() = default;
  EntryEditing(const EntryEditing&) = delete;
  EntryEditing& operator=(const EntryEditing&) = delete;

  // The entries in use, in table order: their slots and names (the list).
  std::vector<int> usedSlots() const {
    std::vector<int> used;
    for (int slot = 0; slot < kUserEntryCount; ++slot) {
      if (inUse(table_[static_cast<std::size_t>(slot)])) used.push_back(slot);
    }
    return used;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> list;
    for (const int slot : usedSlots()) list.push_back(table_[static_cast<std::size_t>(slot)].name);
    return list;
  }
  // The list row of the selected slot, -1 when none is selected.
  int selectedRow() const {
    const std::vector<int> used = usedSlots();
    const auto found = std::find(used.begin(), used.end(), selection_);
    return found == used.end() ? -1 : static_cast<int>(found - used.begin());
  }
  int selectedSlot() const { return selection_; }

  const Entry& edit() const { return edit_; }
  // The controls' values read into the edit copy.
  void setEdit(const Entry& edit) { edit_ = edit; }
  bool modified() const { return modified_; }
  bool recomputed(ImageSlot image) const { return recomputed_[index(image)]; }

  // Choosing list row `row`: when the edit copy differs from the selected entry, the operator
  // is asked first; false (the selection stays) on a no or a row outside the list.
  bool choose(int row) {
    const std::vector<int> used = usedSlots();
    if (row < 0 || row >= static_cast<int>(used.size())) return false;
    const int slot = used[static_cast<std::size_t>(row)];
    if (slot == selection_) return true;
    const Entry stored = selection_ >= 0 ? table_[static_cast<std::size_t>(selection_)] : Entry{};
    if (!sameDefinition(edit_, stored) &&
        !user_.askYesNo(text::tr(msg::entry_editing::kEditingLostQuestion))) {
      return false;
    }
    selection_ = slot;
    load(slot);
    return true;
  }

  // "追加" (also "変更" with nothing selected). False when refused.
  bool add() {
    Entry checked = edit_;
    if (const std::optional<std::string> problem = validate(checked, -1)) {
      user_.tell(Icon::Warning, *problem);
      return false;
    }
    const auto free = std::find_if(table_.begin(), table_.end(),
                                   [](const Entry& entry) { return !inUse(entry); });
    const auto slot = static_cast<std::size_t>(free - table_.begin());
    prepareSlot(slot);
    return store(checked, static_cast<int>(slot));
  }
  // "変更". False when refused; true also when nothing differed and nothing was stored.
  bool change() {
    if (selection_ < 0) return add();
    const Entry& stored = table_[static_cast<std::size_t>(selection_)];
    Entry checked = edit_;
    checked.inUse = 1;
    if (checked == stored) return true;
    if (const std::optional<std::string> problem = validate(checked, selection_)) {
      user_.tell(Icon::Warning, *problem);
      return false;
    }
    return store(checked, selection_);
  }
  // "更新": as "変更", or as "追加" when nothing is selected and a name was typed, then the user
  // information file is written (never by a second copy). False (nothing written) when refused.
  bool save() {
    bool stored = true;
    if (selection_ >= 0) {
      stored = change();
    } else if (!edit_.name.empty()) {
      stored = add();
    }
    if (!stored) return false;
    persist::saveUserInfoNow(bench_, user_);
    markSaved();
    return true;
  }
  // "OK": as "更新"; true when the dialog closes.
  bool finish() { return save(); }
  // "削除": the later entries move up with what they carry in the image control; the selection
  // stays on its row or moves to the previous one. False when nothing was deleted.
  bool remove() {
    if (selection_ < 0) return false;
    if (const std::optional<std::string> refusal = removalRefusal()) {
      user_.tell(Icon::Warning, *refusal);
      return false;
    }
    const int row = selectedRow();
    for (int slot = selection_; slot + 1 < kUserEntryCount; ++slot) {
      const auto to = static_cast<std::size_t>(slot);
      table_[to] = table_[to + 1];
      moveCarried(to, to + 1);
    }
    table_.back() = Entry{};
    clearCarried(table_.size() - 1);
    const std::vector<int> used = usedSlots();
    selection_ = used.empty()
                     ? -1
                     : used[static_cast<std::size_t>(std::min(row, static_cast<int>(used.size()) - 1))];
    load(selection_);
    modified_ = true;
    bench_.notifyPicturesChanged();
    return true;
  }
  // "ｷｬﾝｾﾙ", Esc or the close button: true when the dialog closes. After a yes to the question
  // the table, what the entries carry in the image control and the selection return to their
  // state at opening or at the last save, and the images redone since then are redone again.
  bool cancel() {
    if (modified_) {
      if (!user_.askYesNo(text::tr(msg::entry_editing::kEditsLostQuestion))) return false;
      table_ = saved_.table;
      bench_.images.selections = saved_.selections;
      for (ImageSlot image : kImageSlots) {
        if (recomputed_[index(image)]) redoImage(image);
      }
      bench_.notifyPicturesChanged();
    }
    selection_ = saved_.selection;
    return true;
  }

 protected:
  EntryEditing(Workbench& bench, Table& table, int& selection, UserPort& user)
      : bench_(bench), table_(table), selection_(selection), user_(user) {}

  // Called by the editor's constructor once its own members are ready.
  void open() {
    const std::vector<int> used = usedSlots();
    if (std::find(used.begin(), used.end(), selection_) == used.end()) {
      selection_ = used.empty() ? -1 : used.front();
    }
    load(selection_);
    markSaved();
  }

  // The checks before storing `candidate` (which they may tidy) into slot `changing`, or into
  // a free slot when -1: the message of the first failure.
  virtual std::optional<std::string> validate(Entry& candidate, int changing) = 0;
  // What a newly added entry starts with in the image control.
  virtual void prepareSlot(std::size_t slot) = 0;
  virtual std::optional<std::string> removalRefusal() const = 0;
  virtual void moveCarried(std::size_t to, std::size_t from) = 0;
  virtual void clearCarried(std::size_t slot) = 0;
  // The images that show the entry in `slot` are redone after it changed.
  virtual void showChanged(int slot) = 0;
  virtual void redoImage(ImageSlot image) = 0;

  void markRedone(ImageSlot image) { recomputed_[index(image)] = true; }

  Workbench& bench_;
  Table& table_;
  int& selection_;
  UserPort& user_;
  Entry edit_;

 private:
  static bool inUse(const Entry& entry) { return entry.inUse == 1; }
  // Whether two entries hold the same definition, whatever their in-use marks say.
  static bool sameDefinition(Entry a, const Entry& b) {
    a.inUse = b.inUse;
    return a == b;
  }
  void load(int slot) { edit_ = slot >= 0 ? table_[static_cast<std::size_t>(slot)] : Entry{}; }
  bool store(Entry entry, int slot) {
    entry.inUse = 1;
    table_[static_cast<std::size_t>(slot)] = entry;
    edit_ = entry;
    selection_ = slot;
    modified_ = true;
    showChanged(slot);
    bench_.notifyPicturesChanged();
    return true;
  }
  void markSaved() {
    modified_ = false;
    recomputed_ = {false, false};
    saved_ = Saved{table_, bench_.images.selections, selection_};
  }

  struct Saved {
    Table table;
    ImageControlSelections selections;
    int selection = -1;
  };
  bool modified_ = false;
  std::array<bool, 2> recomputed_{false, false};
  Saved saved_;
};

}  // namespace vemla
