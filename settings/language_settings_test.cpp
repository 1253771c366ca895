#include "settings/language_settings.h"

#include <gtest/gtest.h>

#include "settings/settings_test_util.h"

namespace {

using settings_test::readBytes;
using settings_test::writeBytes;

TEST(LanguageChoice, StoredOnlyOnceChangedAndReadBackWithinItsThreeValues) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  const std::string spiel = "[Allgemein]\r\nOption = 1\r\n";
  writeBytes(file, spiel);
  EXPECT_TRUE(saveLanguageChoice(store, kLanguageAutomatic, file));
  EXPECT_EQ(readBytes(file), spiel);  // the game's own file, untouched
  EXPECT_TRUE(saveLanguageChoice(store, kLanguageEnglish, file));
  EXPECT_EQ(readBytes(file), spiel + "[Sprache]\r\nSprache = 2\r\n");
  EXPECT_EQ(loadLanguageChoice(store, file), kLanguageEnglish);
  writeBytes(file, "[Sprache]\r\nSprache = 7\r\n");
  EXPECT_EQ(loadLanguageChoice(store, file), kLanguageAutomatic);
}

}  // namespace
