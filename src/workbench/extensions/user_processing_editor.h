#pragma once
// The editor of the user simple image processing entries ("ﾕｰｻﾞ簡易画像処理の編集"): the
// checks an entry passes before it is stored, and the editing session behind the dialog (edit
// copy, selection, add, change, delete, save, cancel) working on the workbench's table.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/user_info.h"
#include "ports/ports.h"
#include "workbench/extensions/entry_editing.h"
#include "workbench/workbench.h"

namespace vemla {

inline constexpr int kUserProcessingSlots = kUserEntryCount;
inline constexpr std::size_t kMaxProcessingNameLength = 31;
inline constexpr int kFilterGridSide = 9;

namespace msg::user_processing {
inline constexpr const char* kSecondCopyEditQuestion = entry_editing::kSecondCopyEditQuestion;
inline constexpr const char* kEditsLostQuestion = entry_editing::kEditsLostQuestion;
inline constexpr const char* kEditingLostQuestion = entry_editing::kEditingLostQuestion;
inline constexpr const char* kNoMoreEntries = text::N_("これ以上追加できません");
inline constexpr const char* kNoProcessingName = text::N_("画像処理名の指定がありません");
inline constexpr const char* kNoProcessingExpression = text::N_("画像処理式の指定がありません");
inline constexpr const char* kDuplicateProcessingName = text::N_("画像処理名が重複しています");
inline constexpr const char* kExpressionTooLong = text::N_("画像処理の式が長すぎます");
inline constexpr const char* kExpressionWrong = text::N_("画像処理の式に誤りがあります");
inline constexpr const char* kElementTooLong =
    text::N_("ﾌｨﾙﾀ要素の文字列が長すぎます\n (X,Y)=(%2d,%2d)");
inline constexpr const char* kElementWrong =
    text::N_("ﾌｨﾙﾀ要素の指定に誤りがあります\n (X,Y)=(%2d,%2d)");
inline constexpr const char* kNoElement = text::N_("ﾌｨﾙﾀ要素の指定が１つもありません");
inline constexpr const char* kDivisorWrong = text::N_("補正の除数に誤りがあります");
inline constexpr const char* kProcessingInUse =
    text::N_("ｲﾒｰｼﾞにﾕｰｻﾞの画像処理が選択されている場合は当機能が実行できません");
// A name the user information file cannot hold (more than 31 bytes there, or a character its
// code page lacks) is refused rather than stored cut or emptied.
inline constexpr const char* kProcessingNameTooLong = text::N_("画像処理名が長すぎます");
inline constexpr const char* kProcessingNameUnstorable =
    text::N_("画像処理名に使用できない文字が含まれています");
}  // namespace msg::user_processing

// What the fixed fields of the user information file count: the bytes of the text in the
// file's code page (the UTF-8 bytes when the code page cannot hold it, which are never fewer).
std::size_t storedLength(std::string_view text);

// A filter element as the operator typed it, with its spaces removed.
std::string cleanFilterElement(std::string_view text);

enum class ElementCheck { Empty, Valid, TooLong, Malformed };
// An element after cleaning: empty; valid (an optional sign, then digits with at most one
// point, and a point needs a digit after it; a lone sign is valid and weighs 0); longer than
// `maxLength` (tested first); or malformed.
ElementCheck checkFilterElement(std::string_view cleaned, std::size_t maxLength = 10);

// The checks of "追加", "変更", "更新" and "OK" in their order; the first failure gives its
// message. `changing` is the slot being changed, or -1 when the entry is added. On success
// the entry to store is returned: `edit` with its element texts cleaned and marked in use.
struct EntryValidation {
  std::optional<std::string> message;
  UserProcessingEntry entry;
};
EntryValidation validateProcessingEntry(
    const UserProcessingEntry& edit,
    const std::array<UserProcessingEntry, kUserProcessingSlots>& table, int changing);

// The editing session of one opening of the dialog. It edits bench.userEntries.processing
// and the entries' colour kinds of the image control, recreates the images that show a changed
// entry, and writes the user information file on "更新" and "OK" (never in a second copy).
// `selection` is the selected slot kept between openings (-1: none).
class UserProcessingEditing final : public EntryEditing<UserProcessingEntry> {
 public:
  UserProcessingEditing(Workbench& bench, int& selection, UserPort& user, BusyPort& busy,
                        ProgressPort& progress);

  // "全ｸﾘｱ": every element text empty, nothing else.
  void clearElements();

 private:
  std::optional<std::string> validate(UserProcessingEntry& candidate, int changing) override;
  void prepareSlot(std::size_t slot) override;
  std::optional<std::string> removalRefusal() const override;
  void moveCarried(std::size_t to, std::size_t from) override;
  void clearCarried(std::size_t slot) override;
  void showChanged(int slot) override;
  void redoImage(ImageSlot image) override;

  BusyPort& busy_;
  ProgressPort& progress_;
};

}  // namespace vemla
