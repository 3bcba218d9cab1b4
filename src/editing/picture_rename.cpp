#include "editing/picture_rename.h"

#include "picture/messages.h"
#include "picture/picture_state.h"
#include "text/cp932.h"

namespace vemla {

std::string renameTitle(PictureSlot picture) {
  return std::string("画像") + (picture == PictureSlot::Second ? "２" : "１") + "名称の設定";
}

std::string renameFieldText(const std::string& currentName) {
  if (!isPseudoName(currentName)) return {};
  std::string_view inner(currentName);
  inner.remove_prefix(1);
  if (!inner.empty() && inner.back() == '>') inner.remove_suffix(1);
  return std::string(inner);
}

std::optional<std::string> checkRenameText(std::string_view text) {
  // A control character (a zero byte above all) would cut or break the name where it is stored
  // and shown.
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::string(msg::kNameUnstorable);
  }
  switch (text::checkFixedField(text, kRenameTextLimit + 1)) {
    case text::FieldStatus::Ok:
      return std::nullopt;
    case text::FieldStatus::TooLong:
      return std::string(msg::kNameTooLong);
    case text::FieldStatus::NotRepresentable:
      return std::string(msg::kNameUnstorable);
  }
  return std::string(msg::kNameUnstorable);
}

}  // namespace vemla
