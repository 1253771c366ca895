#include "settings/captain_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_keys.h"
#include "settings/settings_test_util.h"

namespace {

using settings_test::readBytes;
using settings_test::writeBytes;

// What the options window loads and what the battle reads are the same level.
TEST(CaptainLevel, NormalWithoutItsGroupAndForNumbersThatAreNoLevel) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  EXPECT_EQ(loadCaptainLevel(store, file), kStufeNormal);  // no file at all
  for (const auto& [text, level] :
       std::vector<std::pair<std::string, int>>{{"[Allgemein]\r\nGegneranzahl=3\r\n", 0},
                                                {"[Computergegner]\r\nStufe=-1\r\n", -1},
                                                {"[Computergegner]\r\nStufe=1\r\n", 1},
                                                {"[Computergegner]\r\nStufe=2\r\n", 0},
                                                {"[Computergegner]\r\nStufe=-7\r\n", 0},
                                                {"[Computergegner]\r\nStufe=Schwer\r\n", 0}}) {
    writeBytes(file, text);
    EXPECT_EQ(loadCaptainLevel(store, file), level) << text;
    Spiel spiel;
    spiel.Kapitaensstufe = 5;
    readBattleSettings(spiel, store, file);
    EXPECT_EQ(spiel.Kapitaensstufe, level) << text;
  }
}

TEST(CaptainLevel, ASaveWritesItsGroupOnlyForALevelOtherThanTheFileHolds) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  const std::string spiel = "[Allgemein]\r\nOption = 1\r\n";
  writeBytes(file, spiel);
  EXPECT_TRUE(saveCaptainLevel(store, kStufeNormal, file));
  EXPECT_EQ(readBytes(file), spiel);  // the default: the file stays the game's own
  EXPECT_TRUE(saveCaptainLevel(store, kStufeSchwer, file));
  EXPECT_EQ(readBytes(file), spiel + "[Computergegner]\r\nStufe = 1\r\n");
  EXPECT_TRUE(saveCaptainLevel(store, kStufeLeicht, file));
  EXPECT_EQ(loadCaptainLevel(store, file), kStufeLeicht);
  EXPECT_TRUE(saveCaptainLevel(store, kStufeNormal, file));  // back: written, not dropped
  EXPECT_EQ(loadCaptainLevel(store, file), kStufeNormal);
}

}  // namespace
