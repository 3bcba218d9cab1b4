#include "text/translate.h"

#include <libintl.h>

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vemla::text {
namespace {

constexpr const char* kDomain = "vemla";
std::atomic<bool> english{false};

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// "ja", "ja_JP.UTF-8", "C", "C.UTF-8" and "POSIX" name the system's own texts.
bool namesJapanese(std::string_view locale) {
  const std::string_view language = locale.substr(0, locale.find_first_of("_.@:"));
  return language == "ja" || language == "C" || language == "POSIX";
}

bool holdsCatalogue(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / "en" / "LC_MESSAGES" / "vemla.mo", error);
}

}  // namespace

const char* tr(const char* text) {
  if (!english.load(std::memory_order_relaxed) || text == nullptr || text[0] == '\0') return text;
  return dgettext(kDomain, text);
}

std::string_view tr(std::string_view text) {
  if (!english.load(std::memory_order_relaxed) || text.empty()) return text;
  const std::string key(text);
  const char* translated = dgettext(kDomain, key.c_str());
  // gettext gives the key itself back when the catalogue lacks it; the translation lives in the
  // loaded catalogue for the life of the program.
  return translated == key.c_str() ? text : std::string_view(translated);
}

const char* trIn(const char* context, const char* text) {
  if (!english.load(std::memory_order_relaxed) || text == nullptr || text[0] == '\0') return text;
  // gettext keys a text with a context as "context\004text".
  const std::string key = std::string(context) + '\004' + text;
  const char* translated = dgettext(kDomain, key.c_str());
  return translated == key.c_str() ? text : translated;
}

Language language() {
  return english.load(std::memory_order_relaxed) ? Language::English : Language::Japanese;
}

LanguageEnvironment LanguageEnvironment::current() {
  return {variable("VEMLA_LANG"), variable("LANGUAGE"), variable("LC_ALL"),
          variable("LC_MESSAGES"), variable("LANG")};
}

Language chooseLanguage(const LanguageEnvironment& environment, LanguageChoice stored) {
  if (environment.vemlaLang == "ja") return Language::Japanese;
  if (environment.vemlaLang == "en") return Language::English;
  if (stored == LanguageChoice::Japanese) return Language::Japanese;
  if (stored == LanguageChoice::English) return Language::English;
  // LANGUAGE is a list ("de:en"); its first entry decides. glibc ignores LANGUAGE under the C
  // locale, but a user who set it asked for that language.
  for (const std::string* value : {&environment.language, &environment.lcAll,
                                   &environment.lcMessages, &environment.lang}) {
    if (value->empty()) continue;
    const std::string_view first = std::string_view(*value).substr(0, value->find(':'));
    return namesJapanese(first) ? Language::Japanese : Language::English;
  }
  return Language::Japanese;
}

std::string catalogueFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const std::filesystem::path folder = program.parent_path();
  for (const std::filesystem::path& candidate :
       {folder / "locale", folder.parent_path() / "locale",
        folder.parent_path() / "share" / "locale"}) {
    if (holdsCatalogue(candidate)) return candidate.lexically_normal().string();
  }
  return {};
}

bool useLanguage(Language wanted, const std::string& folder) {
  if (wanted == Language::Japanese) {
    english.store(false);
    return true;
  }
  if (folder.empty() || !holdsCatalogue(folder)) return false;
  // gettext looks a catalogue up by LANGUAGE unless the messages locale is "C", which it
  // never translates; C.UTF-8 is present on every glibc system and changes nothing but the
  // messages category (numbers keep their "." everywhere).
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  if (messages == nullptr || std::string_view(messages) == "C" ||
      std::string_view(messages) == "POSIX") {
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) return false;
  }
  setenv("LANGUAGE", "en", 1);
  if (bindtextdomain(kDomain, folder.c_str()) == nullptr) return false;
  bind_textdomain_codeset(kDomain, "UTF-8");
  english.store(true);
  // A catalogue that does not load gives every text back untranslated: stay Japanese then.
  if (std::string_view(dgettext(kDomain, "")).empty()) {
    english.store(false);
    return false;
  }
  return true;
}

}  // namespace vemla::text
