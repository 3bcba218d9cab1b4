#pragma once
// The language of every text a person reads. The system's own texts are Japanese and are the
// keys of one gettext catalogue ("vemla"); English is that catalogue's translation. While the
// program speaks Japanese, tr() gives its argument back untouched, so the Japanese program shows
// exactly the bytes of its source.
//
// Texts are marked where they are written: tr("…") where a text is shown at once (ui("…") in
// the windows), N_("…") where a text goes into a table or constant and is translated where it
// is shown (tr(entry.text)).
// scripts/catalogue extracts both marks into po/vemla.pot and checks po/en.po against it.
#include <string>
#include <string_view>

namespace vemla::text {

enum class Language { Japanese, English };

// The operator's stored choice (the option "表示言語"), in the order of its list.
enum class LanguageChoice { Automatic = 0, Japanese = 1, English = 2 };

// Marks a text for the catalogue without translating it: tables and constants hold the Japanese
// text, and the place that shows it calls tr().
constexpr const char* N_(const char* text) {
  return text;
}

// `text` in the language in use: the catalogue's English when English is in use and the
// catalogue has the text, else `text` itself (the pointer it was given).
const char* tr(const char* text);
std::string_view tr(std::string_view text);
inline std::string tr(const std::string& text) {
  return std::string(tr(std::string_view(text)));
}

// `text` where the same Japanese word needs another English word in one place: the catalogue
// holds that translation under `context` (a msgctxt), extracted by scripts/catalogue.
const char* trIn(const char* context, const char* text);

// `text` translated only when `translated`: for the texts that the windows show and vemla-cli
// writes in its fixed, language-independent output.
inline const char* trWhen(bool translated, const char* text) {
  return translated ? tr(text) : text;
}

Language language();

// The environment variables that choose a language, as read at start.
struct LanguageEnvironment {
  std::string vemlaLang;  // VEMLA_LANG: "ja" or "en" wins over everything else
  std::string language, lcAll, lcMessages, lang;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
  static LanguageEnvironment current();
};

// VEMLA_LANG when it says "ja" or "en"; else the stored choice unless it is automatic; else the
// first of LANGUAGE, LC_ALL, LC_MESSAGES, LANG that is set: Japanese for "ja…", "C", "POSIX"
// (the system's own texts), English for any other language. Nothing set gives Japanese.
Language chooseLanguage(const LanguageEnvironment& environment, LanguageChoice stored);

// Where the compiled catalogue lies: "<program folder>/locale" in a build tree, else
// "<program folder>/../share/locale" as installed. Empty when neither holds it.
std::string catalogueFolder();

// Speaks `wanted` from now on. English needs the catalogue "en/LC_MESSAGES/vemla.mo" under
// `folder`; without it the program stays Japanese and this returns false. Call it at start,
// before any thread runs and before any text is built.
bool useLanguage(Language wanted, const std::string& folder);

}  // namespace vemla::text
