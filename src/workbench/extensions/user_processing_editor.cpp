#include "workbench/extensions/user_processing_editor.h"

#include <algorithm>

#include "extensions/decimal_text.h"
#include "extensions/expression.h"
#include "extensions/user_processing.h"
#include "processing/image_kinds.h"
#include "text/cp932.h"
#include "text/format.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

namespace m = msg::user_processing;
using Table = std::array<UserProcessingEntry, kUserProcessingSlots>;

constexpr int kFormFilter = 0;
constexpr int kFormExpression = 1;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool inUse(const UserProcessingEntry& entry) {
  return entry.inUse == 1;
}

// Whether two entries hold the same definition, whatever their in-use marks say.
bool sameDefinition(UserProcessingEntry a, const UserProcessingEntry& b) {
  a.inUse = b.inUse;
  return a == b;
}

std::optional<std::string> checkName(const std::string& name) {
  if (name.empty()) return m::kNoProcessingName;
  const std::optional<std::string> stored = text::utf8ToCp932(name);
  if (!stored) return m::kProcessingNameUnstorable;
  if (stored->size() > kMaxProcessingNameLength) return m::kProcessingNameTooLong;
  return std::nullopt;
}

std::optional<std::string> checkExpression(const std::string& expression) {
  if (storedLength(expression) > kMaxExpressionLength) return m::kExpressionTooLong;
  const std::optional<PixelReferences> extracted = extractPixelReferences(expression);
  if (!extracted || !compileExpression(extracted->text, ExpressionVariant::Image,
                                       static_cast<int>(extracted->references.size()))) {
    return m::kExpressionWrong;
  }
  return std::nullopt;
}

// Cleans the elements of `entry` in place, row by row and left to right.
std::optional<std::string> checkFilter(UserProcessingEntry& entry) {
  bool anyElement = false;
  for (int row = 0; row < kFilterGridSide; ++row) {
    for (int column = 0; column < kFilterGridSide; ++column) {
      std::string& element =
          entry.elements[static_cast<std::size_t>(row * kFilterGridSide + column)];
      element = cleanFilterElement(element);
      const int x = column - kFilterGridSide / 2, y = row - kFilterGridSide / 2;
      switch (checkFilterElement(element, kMaxFilterElementLength)) {
        case ElementCheck::Empty:
          break;
        case ElementCheck::Valid:
          anyElement = true;
          break;
        case ElementCheck::TooLong:
          return text::format(m::kElementTooLong, x, y);
        case ElementCheck::Malformed:
          return text::format(m::kElementWrong, x, y);
      }
    }
  }
  if (!anyElement) return m::kNoElement;
  if (entry.correction == 1 && (entry.divisor.empty() || readLeadingNumber(entry.divisor) == 0)) {
    return m::kDivisorWrong;
  }
  // A divisor the file's field cannot hold would be stored cut or emptied.
  if (!text::utf8ToCp932(entry.divisor) || storedLength(entry.divisor) > kMaxFilterDivisorLength) {
    return m::kDivisorWrong;
  }
  return std::nullopt;
}

}  // namespace

std::size_t storedLength(std::string_view text) {
  const std::optional<std::string> stored = text::utf8ToCp932(text);
  return stored ? stored->size() : text.size();
}

std::string cleanFilterElement(std::string_view text) {
  std::string cleaned;
  for (const char c : text) {
    if (c != ' ') cleaned += c;
  }
  return cleaned;
}

ElementCheck checkFilterElement(std::string_view cleaned, std::size_t maxLength) {
  if (cleaned.empty()) return ElementCheck::Empty;
  if (storedLength(cleaned) > maxLength) return ElementCheck::TooLong;
  std::size_t i = cleaned[0] == '+' || cleaned[0] == '-' ? 1 : 0;
  bool point = false;
  for (; i < cleaned.size(); ++i) {
    if (isDigit(cleaned[i])) continue;
    if (cleaned[i] != '.' || point) return ElementCheck::Malformed;
    // Every point needs a digit after it, in every element alike.
    if (i + 1 >= cleaned.size() || !isDigit(cleaned[i + 1])) return ElementCheck::Malformed;
    point = true;
  }
  return ElementCheck::Valid;
}

EntryValidation validateProcessingEntry(const UserProcessingEntry& edit, const Table& table,
                                        int changing) {
  EntryValidation result{std::nullopt, edit};
  const auto refuse = [&](std::string message) {
    result.message = std::move(message);
    result.entry = edit;
    return result;
  };
  if (changing < 0 && std::all_of(table.begin(), table.end(), inUse)) {
    return refuse(m::kNoMoreEntries);
  }
  if (const auto problem = checkName(edit.name)) return refuse(*problem);
  if (edit.form == kFormExpression && edit.expression.empty()) {
    return refuse(m::kNoProcessingExpression);
  }
  for (int slot = 0; slot < kUserProcessingSlots; ++slot) {
    const UserProcessingEntry& other = table[static_cast<std::size_t>(slot)];
    if (slot != changing && inUse(other) && other.name == edit.name) {
      return refuse(m::kDuplicateProcessingName);
    }
  }
  if (edit.form == kFormExpression) {
    if (const auto problem = checkExpression(edit.expression)) return refuse(*problem);
  } else if (edit.form == kFormFilter) {
    if (const auto problem = checkFilter(result.entry)) return refuse(*problem);
  } else {
    return refuse(m::kNoProcessingExpression);
  }
  result.entry.inUse = 1;
  return result;
}

// ---- The editing session

UserProcessingEditing::UserProcessingEditing(Workbench& bench, int& selection, UserPort& user,
                                             BusyPort& busy, ProgressPort& progress)
    : bench_(bench), selection_(selection), user_(user), busy_(busy), progress_(progress) {
  const std::vector<int> used = usedSlots();
  if (std::find(used.begin(), used.end(), selection_) == used.end()) {
    selection_ = used.empty() ? -1 : used.front();
  }
  load(selection_);
  markSaved();
}

Table& UserProcessingEditing::table() {
  return bench_.userEntries.processing;
}

std::array<std::array<std::int32_t, kUserProcessingSlots>, 2>& UserProcessingEditing::colours() {
  return bench_.images.selections.userProcessingColours;
}

std::vector<int> UserProcessingEditing::usedSlots() const {
  std::vector<int> used;
  const Table& entries = bench_.userEntries.processing;
  for (int slot = 0; slot < kUserProcessingSlots; ++slot) {
    if (inUse(entries[static_cast<std::size_t>(slot)])) used.push_back(slot);
  }
  return used;
}

std::vector<std::string> UserProcessingEditing::names() const {
  std::vector<std::string> list;
  for (const int slot : usedSlots()) {
    list.push_back(bench_.userEntries.processing[static_cast<std::size_t>(slot)].name);
  }
  return list;
}

int UserProcessingEditing::selectedRow() const {
  const std::vector<int> used = usedSlots();
  const auto found = std::find(used.begin(), used.end(), selection_);
  return found == used.end() ? -1 : static_cast<int>(found - used.begin());
}

void UserProcessingEditing::load(int slot) {
  edit_ = slot >= 0 ? table()[static_cast<std::size_t>(slot)] : UserProcessingEntry{};
}

bool UserProcessingEditing::choose(int row) {
  const std::vector<int> used = usedSlots();
  if (row < 0 || row >= static_cast<int>(used.size())) return false;
  const int slot = used[static_cast<std::size_t>(row)];
  if (slot == selection_) return true;
  const UserProcessingEntry stored =
      selection_ >= 0 ? table()[static_cast<std::size_t>(selection_)] : UserProcessingEntry{};
  if (!sameDefinition(edit_, stored) && !user_.askYesNo(m::kEditingLostQuestion)) return false;
  selection_ = slot;
  load(slot);
  return true;
}

void UserProcessingEditing::clearElements() {
  for (std::string& element : edit_.elements) element.clear();
}

bool UserProcessingEditing::store(const UserProcessingEntry& entry, int slot) {
  table()[static_cast<std::size_t>(slot)] = entry;
  edit_ = entry;
  selection_ = slot;
  modified_ = true;
  recreateImagesShowing(slot);
  bench_.notifyPicturesChanged();
  return true;
}

bool UserProcessingEditing::add() {
  const EntryValidation checked = validateProcessingEntry(edit_, table(), -1);
  if (checked.message) {
    user_.tell(Icon::Warning, *checked.message);
    return false;
  }
  const auto free = std::find_if(table().begin(), table().end(),
                                 [](const UserProcessingEntry& entry) { return !inUse(entry); });
  const auto slot = static_cast<std::size_t>(free - table().begin());
  for (auto& perImage : colours()) perImage[slot] = 0;
  return store(checked.entry, static_cast<int>(slot));
}

bool UserProcessingEditing::change() {
  if (selection_ < 0) return add();
  const UserProcessingEntry& stored = table()[static_cast<std::size_t>(selection_)];
  UserProcessingEntry candidate = edit_;
  candidate.inUse = 1;
  if (candidate == stored) return true;
  const EntryValidation checked = validateProcessingEntry(edit_, table(), selection_);
  if (checked.message) {
    user_.tell(Icon::Warning, *checked.message);
    return false;
  }
  return store(checked.entry, selection_);
}

bool UserProcessingEditing::save() {
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

bool UserProcessingEditing::finish() {
  return save();
}

bool UserProcessingEditing::remove() {
  if (selection_ < 0) return false;
  if (std::ranges::any_of(bench_.images.kind,
                          [](int kind) { return kind == kUserProcessingKind; })) {
    user_.tell(Icon::Warning, m::kProcessingInUse);
    return false;
  }
  const int row = selectedRow();
  Table& entries = table();
  auto& kinds = colours();
  for (int slot = selection_; slot + 1 < kUserProcessingSlots; ++slot) {
    const auto to = static_cast<std::size_t>(slot), from = to + 1;
    entries[to] = entries[from];
    for (auto& perImage : kinds) perImage[to] = perImage[from];
  }
  entries.back() = UserProcessingEntry{};
  for (auto& perImage : kinds) perImage.back() = 0;

  const std::vector<int> used = usedSlots();
  if (used.empty()) {
    selection_ = -1;
  } else {
    selection_ = used[static_cast<std::size_t>(std::min(row, static_cast<int>(used.size()) - 1))];
  }
  load(selection_);
  modified_ = true;
  bench_.notifyPicturesChanged();
  return true;
}

bool UserProcessingEditing::cancel() {
  if (modified_) {
    if (!user_.askYesNo(m::kEditsLostQuestion)) return false;
    table() = saved_.table;
    colours() = saved_.colours;
    for (ImageSlot image : kImageSlots) {
      if (recomputed_[index(image)]) recreateImage(image);
    }
    bench_.notifyPicturesChanged();
  }
  selection_ = saved_.selection;
  return true;
}

void UserProcessingEditing::recreateImagesShowing(int slot) {
  for (ImageSlot image : kImageSlots) {
    if (bench_.images.kind[index(image)] == kUserProcessingKind &&
        bench_.images.userEntry[index(image)] == slot) {
      recreateImage(image);
    }
  }
}

void UserProcessingEditing::recreateImage(ImageSlot image) {
  if (!bench_.pictures.picturesPresent) return;
  createImage(bench_, image, true, true, user_, busy_, progress_);
  recomputed_[index(image)] = true;
}

void UserProcessingEditing::markSaved() {
  modified_ = false;
  recomputed_ = {false, false};
  saved_ = Saved{table(), colours(), selection_};
}

}  // namespace vemla
