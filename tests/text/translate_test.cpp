// The language choice (VEMLA_LANG, the stored option, the locale variables) and the catalogue
// lookup in both languages.
#include <gtest/gtest.h>

#include <cstring>

#include "text/translate.h"

namespace vemla::text {
namespace {

TEST(Translate, LanguageFollowsVemlaLangThenTheStoredChoiceThenTheLocale) {
  using L = Language;
  using C = LanguageChoice;
  struct Case {
    LanguageEnvironment environment;
    C stored;
    L expected;
  };
  const Case cases[] = {
      {{}, C::Automatic, L::Japanese},  // nothing set: the system's own texts
      {{"en", "ja", "", "", ""}, C::Japanese, L::English},
      {{"ja", "", "", "", "en_US.UTF-8"}, C::English, L::Japanese},
      {{"fr", "", "", "", "en_US.UTF-8"}, C::Japanese, L::Japanese},  // an unknown VEMLA_LANG
      {{"", "", "", "", "C.UTF-8"}, C::English, L::English},
      {{"", "", "", "", "en_GB.UTF-8"}, C::Automatic, L::English},
      {{"", "", "", "", "de_DE.UTF-8"}, C::Automatic, L::English},
      {{"", "", "", "", "ja_JP.UTF-8"}, C::Automatic, L::Japanese},
      {{"", "", "", "", "C"}, C::Automatic, L::Japanese},
      {{"", "", "", "", "POSIX"}, C::Automatic, L::Japanese},
      // The first variable that is set decides, in the order LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
      {{"", "de:ja", "ja_JP.UTF-8", "", ""}, C::Automatic, L::English},
      {{"", "", "C.UTF-8", "en_US.UTF-8", "en_US.UTF-8"}, C::Automatic, L::Japanese},
      {{"", "", "", "ja_JP.UTF-8", "en_US.UTF-8"}, C::Automatic, L::Japanese},
      {{"", "", "", "", "ja"}, C::Automatic, L::Japanese},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chooseLanguage(c.environment, c.stored), c.expected)
        << c.environment.vemlaLang << '|' << c.environment.language << '|'
        << c.environment.lcAll << '|' << c.environment.lcMessages << '|' << c.environment.lang;
  }
}

TEST(Translate, JapaneseGivesTheTextBackAndEnglishTheCatalogues) {
  ASSERT_EQ(language(), Language::Japanese);
  const char* key = "自動";
  EXPECT_EQ(tr(key), key);  // the very bytes of the source
  EXPECT_FALSE(useLanguage(Language::English, "/nonexistent"));
  EXPECT_EQ(language(), Language::Japanese);

  ASSERT_TRUE(useLanguage(Language::English, VEMLA_CATALOGUE));
  EXPECT_STREQ(tr(key), "Automatic");
  EXPECT_EQ(tr(std::string_view(key)), "Automatic");
  const char* unknown = "カタログにない文";
  EXPECT_EQ(tr(unknown), unknown);
  EXPECT_STREQ(tr(""), "");  // never the catalogue's header
  EXPECT_EQ(tr(std::string_view()), "");
  ASSERT_TRUE(useLanguage(Language::Japanese, {}));
  EXPECT_EQ(tr(key), key);
}

}  // namespace
}  // namespace vemla::text
