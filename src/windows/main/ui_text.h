#pragma once
// Texts a person reads, as Qt strings in the language in use (text/translate.h). Data that is
// not words (file names, titles the operator stored, numbers) goes through QString::fromUtf8.
#include <QString>
#include <string>
#include <string_view>

#include "text/translate.h"

namespace vemla {

inline QString ui(const char* text) {
  return QString::fromUtf8(text::tr(text));
}
inline QString ui(std::string_view text) {
  const std::string_view shown = text::tr(text);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}
inline QString ui(const std::string& text) {
  return ui(std::string_view(text));
}

}  // namespace vemla
