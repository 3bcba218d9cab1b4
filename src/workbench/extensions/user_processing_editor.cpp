#include "workbench/extensions/user_processing_editor.h"

#include <algorithm>

#include "extensions/expression.h"
#include "extensions/user_processing.h"
#include "processing/image_kinds.h"
#include "text/cp932.h"
#include "text/decimal_text.h"
#include "text/format.h"
#include "text/translate.h"
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

std::optional<std::string> checkName(const std::string& name) {
  if (name.empty()) return text::tr(m::kNoProcessingName);
  const std::optional<std::string> stored = text::utf8ToCp932(name);
  if (!stored) return text::tr(m::kProcessingNameUnstorable);
  if (stored->size() > kMaxProcessingNameLength) return text::tr(m::kProcessingNameTooLong);
  return std::nullopt;
}

std::optional<std::string> checkExpression(const std::string& expression) {
  if (storedLength(expression) > kMaxExpressionLength) return text::tr(m::kExpressionTooLong);
  const std::optional<PixelReferences> extracted = extractPixelReferences(expression);
  if (!extracted || !compileExpression(extracted->text, ExpressionVariant::Image,
                                       static_cast<int>(extracted->references.size()))) {
    return text::tr(m::kExpressionWrong);
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
          return text::format(text::tr(m::kElementTooLong), x, y);
        case ElementCheck::Malformed:
          return text::format(text::tr(m::kElementWrong), x, y);
      }
    }
  }
  if (!anyElement) return text::tr(m::kNoElement);
  if (entry.correction == 1 &&
      (entry.divisor.empty() || text::readLeadingNumber(entry.divisor) == 0)) {
    return text::tr(m::kDivisorWrong);
  }
  // A divisor the file's field cannot hold would be stored cut or emptied.
  if (!text::utf8ToCp932(entry.divisor) || storedLength(entry.divisor) > kMaxFilterDivisorLength) {
    return text::tr(m::kDivisorWrong);
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
    return refuse(text::tr(m::kNoMoreEntries));
  }
  if (const auto problem = checkName(edit.name)) return refuse(*problem);
  if (edit.form == kFormExpression && edit.expression.empty()) {
    return refuse(text::tr(m::kNoProcessingExpression));
  }
  for (int slot = 0; slot < kUserProcessingSlots; ++slot) {
    const UserProcessingEntry& other = table[static_cast<std::size_t>(slot)];
    if (slot != changing && inUse(other) && other.name == edit.name) {
      return refuse(text::tr(m::kDuplicateProcessingName));
    }
  }
  if (edit.form == kFormExpression) {
    if (const auto problem = checkExpression(edit.expression)) return refuse(*problem);
  } else if (edit.form == kFormFilter) {
    if (const auto problem = checkFilter(result.entry)) return refuse(*problem);
  } else {
    return refuse(text::tr(m::kNoProcessingExpression));
  }
  result.entry.inUse = 1;
  return result;
}

// ---- The editing session

UserProcessingEditing::UserProcessingEditing(Workbench& bench, int& selection, UserPort& user,
                                             BusyPort& busy, ProgressPort& progress)
    : EntryEditing(bench, bench.userEntries.processing, selection, user),
      busy_(busy),
      progress_(progress) {
  open();
}

void UserProcessingEditing::clearElements() {
  for (std::string& element : edit_.elements) element.clear();
}

std::optional<std::string> UserProcessingEditing::validate(UserProcessingEntry& candidate,
                                                           int changing) {
  EntryValidation checked = validateProcessingEntry(candidate, table_, changing);
  if (checked.message) return checked.message;
  candidate = std::move(checked.entry);
  return std::nullopt;
}

void UserProcessingEditing::prepareSlot(std::size_t slot) {
  for (auto& perImage : bench_.images.selections.userProcessingColours) perImage[slot] = 0;
}

std::optional<std::string> UserProcessingEditing::removalRefusal() const {
  if (std::ranges::any_of(bench_.images.kind,
                          [](int kind) { return kind == kUserProcessingKind; })) {
    return text::tr(m::kProcessingInUse);
  }
  return std::nullopt;
}

void UserProcessingEditing::moveCarried(std::size_t to, std::size_t from) {
  for (auto& perImage : bench_.images.selections.userProcessingColours) {
    perImage[to] = perImage[from];
  }
}

void UserProcessingEditing::clearCarried(std::size_t slot) {
  for (auto& perImage : bench_.images.selections.userProcessingColours) perImage[slot] = 0;
}

void UserProcessingEditing::showChanged(int slot) {
  for (ImageSlot image : kImageSlots) {
    if (bench_.images.kind[index(image)] == kUserProcessingKind &&
        bench_.images.userEntry[index(image)] == slot) {
      redoImage(image);
    }
  }
}

void UserProcessingEditing::redoImage(ImageSlot image) {
  if (!bench_.pictures.picturesPresent) return;
  createImage(bench_, image, true, true, user_, busy_, progress_);
  markRedone(image);
}

}  // namespace vemla
