#include "editing/picture_rename.h"

#include "picture/messages.h"
#include "picture/picture_state.h"
#include "text/cp932.h"
#include "text/translate.h"

namespace vemla {

std::string renameTitle(PictureSlot picture) {
  return picture == PictureSlot::Second ? text::tr("画像２名称の設定")
                                        : text::tr("画像１名称の設定");
}

std::string renameFieldText(const std::string& currentName) {
  if (!isPseudoName(currentName)) return {};
  std::string_view inner(currentName);
  inner.remove_prefix(1);
  if (!inner.empty() && inner.back() == '>') inner.remove_suffix(1);
  return std::string(inner);
}

std::optional<std::string> checkRenameText(std::string_view text) {
  if (text::utf8ToCp932Replacing(text).size() > static_cast<std::size_t>(kRenameTextLimit)) {
    return std::string(text::tr(msg::kNameTooLong));
  }
  return std::nullopt;
}

std::string storedRenameText(std::string_view text, bool* replaced) {
  std::string plain(text);
  bool control = false;
  for (char& c : plain) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      c = '?';
      control = true;
    }
  }
  std::string stored = text::storableText(plain, replaced);
  *replaced = *replaced || control;
  return stored;
}

}  // namespace vemla
