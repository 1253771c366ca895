#include "launcher/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(Language, TheDesktopsFirstSetVariableDecidesAndTheStoredChoiceWins) {
  using Env = std::map<std::string, std::string>;
  const struct {
    Env env;
    Language desktop;
  } cases[] = {
      {{}, Language::German},
      {{{"LANG", "C"}}, Language::German},
      {{{"LANG", "POSIX"}}, Language::German},
      {{{"LANG", "C.UTF-8"}}, Language::German},
      {{{"LANG", "en_US.UTF-8"}}, Language::English},
      {{{"LANG", "en"}}, Language::English},
      {{{"LANG", "eo_XX.UTF-8"}}, Language::German},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, Language::English},
      {{{"LC_MESSAGES", "de_AT"}, {"LC_ALL", "en_IE@euro"}}, Language::English},
      {{{"LC_ALL", "fr_FR"}, {"LANGUAGE", "en_GB:fr"}}, Language::English},
      {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "de:en"}}, Language::German},
      {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}}, Language::English},
  };
  for (const auto& c : cases) {
    const Environment env = [&c](const char* name) -> const char* {
      const auto found = c.env.find(name);
      return found == c.env.end() ? nullptr : found->second.c_str();
    };
    const std::string seen = c.env.empty() ? "nothing set" : c.env.begin()->second;
    EXPECT_EQ(desktopLanguage(env), c.desktop) << seen;
    EXPECT_EQ(chosenLanguage(kLanguageAutomatic, env), c.desktop) << seen;
    EXPECT_EQ(chosenLanguage(7, env), c.desktop) << seen;
    EXPECT_EQ(chosenLanguage(kLanguageGerman, env), Language::German) << seen;
    EXPECT_EQ(chosenLanguage(kLanguageEnglish, env), Language::English) << seen;
  }
}

TEST(Catalogue, GermanIsTheSourceAndEnglishComesFromTheEmbeddedCatalogue) {
  useLanguage(Language::English);
  EXPECT_EQ(translatedText("Launcher", "Einzelspieler"), "Single Player");
  EXPECT_EQ(translatedText("Options", "Schuss Lautstärke:"), "Shot volume:");
  EXPECT_EQ(translatedText("Launcher", "nicht im Katalog"), "nicht im Katalog");
  useLanguage(Language::German);
  EXPECT_EQ(translatedText("Options", "Schuss Lautstärke:"), "Schuss Lautstärke:");
  // Arguments go in byte for byte: a folder's name need not be UTF-8.
  EXPECT_EQ(filledIn("%1 in %2, 100%", {"Ordner \xE4", "x"}), "Ordner \xE4 in x, 100%");
}

}  // namespace
