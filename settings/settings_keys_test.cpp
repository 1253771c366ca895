#include "settings/settings_keys.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <filesystem>
#include <limits>

#include "settings/settings_test_util.h"

namespace {

using settings_test::crlfLines;
using settings_test::readBytes;
using settings_test::writeBytes;

std::string editorGroup(std::string_view name) {
  return crlfLines({"[" + std::string(name) + "]", "Beschleunigung = 0.015000",
                    "TopSpeed = 2.000000", "SchussTempo = 4.000000", "Health = 100.000000",
                    "KanonenAnzahl = 40.000000", "Nachladezeit = 0.150000",
                    "Man\xF6vrierf\xE4higkeit = 0.500000", "Schaden = 1.000000"});
}

const std::string kDefaultOptions =
    crlfLines({"[Allgemein]", "Option = 1", "Sound = 1", "Reichweite = 100",
               "SchussLautst\xE4rke = 20", "TrefferLautst\xE4rke = 20", "Gegneranzahl = 1"});

std::array<SchiffsTyp, kKlassenAnzahl> defaultClasses() {
  std::array<SchiffsTyp, kKlassenAnzahl> classes;
  classes.fill(defaultShipClass());
  return classes;
}

std::string allEditorGroups() {
  std::string out;
  for (std::string_view group : kKlassenGruppen) out += editorGroup(group);
  return out;
}

class SettingsKeysTest : public ::testing::Test {
 protected:
  settings_test::TempDir dir;
  std::string file = dir.file();
  SettingsStore store;
  Spiel game;
};

TEST_F(SettingsKeysTest, FirstBattleWithoutFileUsesDefaultsAndLeavesAnEmptyFile) {
  readBattleSettings(game, store, file);
  EXPECT_EQ(std::memcmp(&game.Schiffstabelle, defaultClasses().data(), sizeof(SchiffsTyp) * 8), 0);
  EXPECT_EQ(game.Schiffstabelle[5].Beschleunigung, 0.015f);
  EXPECT_EQ(game.Schiffstabelle[0].Manoevrierfaehigkeit, 0.5f);
  const std::array<int32_t, 6> options = {game.Option,
                                          game.Reichweite,
                                          game.Sound,
                                          game.SchussLautstaerke,
                                          game.TrefferLautstaerke,
                                          game.Gegneranzahl};
  EXPECT_EQ(options, (std::array<int32_t, 6>{1, 100, 1, 20, 20, 1}));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(readBytes(file), "");
}

TEST_F(SettingsKeysTest, EditorThenOptionsSaveGivesExactBytes) {
  writeBytes(file, "");
  EXPECT_TRUE(saveShipClasses(store, defaultClasses(), file));
  saveOptions(store, GameOptions{}, file);
  EXPECT_EQ(readBytes(file), allEditorGroups() + kDefaultOptions);
}

TEST_F(SettingsKeysTest, OptionsThenEditorSaveGivesExactBytes) {
  saveOptions(store, GameOptions{}, file);
  EXPECT_EQ(readBytes(file), kDefaultOptions);
  EXPECT_TRUE(saveShipClasses(store, defaultClasses(), file));
  EXPECT_EQ(readBytes(file), kDefaultOptions + allEditorGroups());
}

// Before the first battle there is no file yet: the editor's save creates it, like the options'.
TEST_F(SettingsKeysTest, EditorSaveWithoutFileCreatesIt) {
  EXPECT_TRUE(saveShipClasses(store, defaultClasses(), file));
  EXPECT_EQ(readBytes(file), allEditorGroups());
}

// Health, SchussTempo and KanonenAnzahl of the first two classes are read as whole numbers
// at battle start (the leading digits: 2.7 gives 2, not 3); everything else keeps its fraction.
TEST_F(SettingsKeysTest, FirstTwoClassesReadWholeNumbersAtBattleStart) {
  std::string content;
  for (std::string_view group : kKlassenGruppen) {
    content += "[" + std::string(group) + "]\n";
    for (const ClassKey& key : kClassKeys) content += std::string(key.key) + " = 2.7\n";
  }
  writeBytes(file, content);
  readBattleSettings(game, store, file);
  const std::array<SchiffsTyp, kKlassenAnzahl> shown = loadShipClasses(store, file);
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
    const SchiffsTyp& typ = game.Schiffstabelle[klasse];
    const float whole = klasse < 2 ? 2.0f : 2.7f;
    EXPECT_EQ(typ.Health, whole) << klasse;
    EXPECT_EQ(typ.SchussTempo, whole) << klasse;
    EXPECT_EQ(typ.KanonenAnzahl, whole) << klasse;
    for (float kept : {typ.Beschleunigung, typ.TopSpeed, typ.Nachladezeit, typ.Schaden,
                       typ.Manoevrierfaehigkeit}) {
      EXPECT_EQ(kept, 2.7f) << klasse;
    }
    for (const ClassKey& key : kClassKeys) EXPECT_EQ(shown[klasse].*key.field, 2.7f) << klasse;
  }
}

TEST_F(SettingsKeysTest, SavedClassesReadBack) {
  writeBytes(file, "");
  std::array<SchiffsTyp, kKlassenAnzahl> classes = defaultClasses();
  classes[7].Manoevrierfaehigkeit = 1.25f;
  classes[3].Schaden = -2.0f;
  classes[5].Health = std::numeric_limits<float>::infinity();
  classes[6].TopSpeed = -std::numeric_limits<float>::infinity();
  ASSERT_TRUE(saveShipClasses(store, classes, file));
  const std::array<SchiffsTyp, kKlassenAnzahl> loaded = loadShipClasses(store, file);
  EXPECT_EQ(std::memcmp(&loaded, &classes, sizeof classes), 0);
}

TEST_F(SettingsKeysTest, OptionsAreStoredAsTheyAre) {
  const GameOptions odd{0, -20, 2, 150, 0, 7};
  saveOptions(store, odd, file);
  const GameOptions loaded = loadOptions(store, file);
  EXPECT_EQ(std::memcmp(&loaded, &odd, sizeof odd), 0);
  readBattleSettings(game, store, file);
  EXPECT_EQ(game.Gegneranzahl, 7);
  EXPECT_EQ(game.Reichweite, -20);
}

// Hand-edited class values are never NaN; beyond the float range they become infinite,
// as a float conversion rounds them, and the launcher shows them as "+Infinity".
TEST_F(SettingsKeysTest, WildClassValuesAreNeverNaN) {
  writeBytes(file,
             "[Schiff_3]\nHealth = inf\nTopSpeed = 1e50\nSchaden = -1e99\n"
             "Beschleunigung = nan\nNachladezeit = 1e30\n");
  readBattleSettings(game, store, file);
  const SchiffsTyp& typ = game.Schiffstabelle[2];
  EXPECT_EQ(typ.Health, 0.0f);
  EXPECT_EQ(typ.TopSpeed, std::numeric_limits<float>::infinity());
  EXPECT_EQ(typ.Schaden, -std::numeric_limits<float>::infinity());
  EXPECT_EQ(typ.Beschleunigung, 0.0f);
  EXPECT_EQ(typ.Nachladezeit, 1e30f);
}

}  // namespace

namespace {

TEST_F(SettingsKeysTest, OwnKeysLiveInTheirOwnGroupAndOnlyPlayableOnesAreTaken) {
  const std::string spec = allEditorGroups() + kDefaultOptions;
  writeBytes(file, spec);
  EXPECT_EQ(loadKeyBindings(store, file), kDefaultKeyBindings);
  EXPECT_EQ(readBytes(file), spec);  // reading adds nothing

  KeyBindings own = kDefaultKeyBindings;
  own[0][0] = 12;  // I
  own[1][5] = 44;  // space
  saveKeyBindings(store, own, file);
  const std::string saved = readBytes(file);
  EXPECT_EQ(saved.substr(0, spec.size()), spec);  // the other groups keep their bytes
  EXPECT_NE(saved.find("[Tasten]\r\nSpieler1Beschleunigen = 12\r\n"), std::string::npos);
  EXPECT_EQ(loadKeyBindings(store, file), own);

  // Hand-edited: no key, a key reserved for the game, beyond every key, a fraction.
  writeBytes(file, crlfLines({"[Tasten]", "Spieler1Beschleunigen = 0", "Spieler1Bremsen = 40",
                              "Spieler1Links = 99999", "Spieler1Rechts = -7", "Spieler2Links = 19",
                              "Spieler2Rechts = 16.7"}));
  KeyBindings expected = kDefaultKeyBindings;
  expected[1][3] = 16;
  EXPECT_EQ(loadKeyBindings(store, file), expected);
}

}  // namespace
