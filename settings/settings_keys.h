// What the game keeps in the settings file: the eight ship class groups, the group of
// general options, their keys and defaults, and every access of the game to them.
//
// Values come back as stored, without range checks (a hand-edited file may hold 0, negative
// or huge numbers); the code that uses them decides what is acceptable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "basis/key_bindings.h"
#include "settings/settings_store.h"
#include "state/records.h"
#include "state/spiel.h"

// Found in the working directory.
inline constexpr char kSettingsFile[] = "SchiffsEinstellungen.prefs";

// Group of class n is kKlassenGruppen[n].
inline constexpr std::array<std::string_view, kKlassenAnzahl> kKlassenGruppen = {
    "Schiff_1", "Schiff_2", "Schiff_3", "Schiff_4",
    "Schiff_5", "Schiff_6", "Schiff_7", "HMS Victory"};
inline constexpr std::string_view kAllgemeinGruppe = "Allgemein";

// One key of a class group.
struct ClassKey {
  std::string_view key;  // Latin-1
  float SchiffsTyp::*field;
  float def;
  bool integerAtBattleStart;  // read as a whole number for classes 0 and 1
};

// In the field order of SchiffsTyp.
inline constexpr std::array<ClassKey, 8> kClassKeys = {{
    {"Beschleunigung", &SchiffsTyp::Beschleunigung, 0.015f, false},
    {"TopSpeed", &SchiffsTyp::TopSpeed, 2.0f, false},
    {"Health", &SchiffsTyp::Health, 100.0f, true},
    {"SchussTempo", &SchiffsTyp::SchussTempo, 4.0f, true},
    {"KanonenAnzahl", &SchiffsTyp::KanonenAnzahl, 40.0f, true},
    {"Nachladezeit", &SchiffsTyp::Nachladezeit, 0.15f, false},
    {"Schaden", &SchiffsTyp::Schaden, 1.0f, false},
    {"Man\xF6vrierf\xE4higkeit", &SchiffsTyp::Manoevrierfaehigkeit, 0.5f, false},
}};

// The order in which the ship editor writes a class group (indices into kClassKeys).
inline constexpr std::array<int, 8> kEditorWriteOrder = {0, 1, 3, 2, 4, 5, 7, 6};

// The six general options, named like their members of Spiel, with their defaults.
struct GameOptions {
  int32_t Option = 1;
  int32_t Reichweite = 100;
  int32_t Sound = 1;
  int32_t SchussLautstaerke = 20;
  int32_t TrefferLautstaerke = 20;
  int32_t Gegneranzahl = 1;
};

struct OptionKey {
  std::string_view key;  // Latin-1
  int32_t GameOptions::*field;
};

// The order in which the options are read.
inline constexpr std::array<OptionKey, 6> kOptionKeys = {{
    {"Option", &GameOptions::Option},
    {"Reichweite", &GameOptions::Reichweite},
    {"Sound", &GameOptions::Sound},
    {"SchussLautst\xE4rke", &GameOptions::SchussLautstaerke},
    {"TrefferLautst\xE4rke", &GameOptions::TrefferLautstaerke},
    {"Gegneranzahl", &GameOptions::Gegneranzahl},
}};

// The order in which the options window writes them (indices into kOptionKeys).
inline constexpr std::array<int, 6> kOptionsWriteOrder = {0, 2, 1, 3, 4, 5};

SchiffsTyp defaultShipClass();

// Start of every battle: creates the file (empty) when it cannot be opened, then fills the
// class table, the options and the computer captains' level of game from it. Gegneranzahl is
// stored as read.
void readBattleSettings(Spiel& game, SettingsStore& store, const std::string& file = kSettingsFile);

// The launcher's ship list and editor: all 64 class values as floats.
std::array<SchiffsTyp, kKlassenAnzahl> loadShipClasses(SettingsStore& store,
                                                       const std::string& file = kSettingsFile);

// The saves of the ship editor and the options window create a missing file. True when the
// values reached the file; otherwise the store's lastSaveError() tells why, and the file is
// as it was.
bool saveShipClasses(SettingsStore& store, const std::array<SchiffsTyp, kKlassenAnzahl>& classes,
                     const std::string& file = kSettingsFile);

GameOptions loadOptions(SettingsStore& store, const std::string& file = kSettingsFile);
bool saveOptions(SettingsStore& store, const GameOptions& options,
                 const std::string& file = kSettingsFile);

// The players' own keys: a group of their own, written only when a player saves keys. A file
// without it, or a stored number that is no key a player may take, means the default key.
inline constexpr std::string_view kTastenGruppe = "Tasten";
// [player][control], in the order of Steuerung's fields.
inline constexpr std::array<std::array<std::string_view, kControlsPerPlayer>, 2> kKeyBindingKeys = {
    {
        {"Spieler1Beschleunigen", "Spieler1Bremsen", "Spieler1Links", "Spieler1Rechts",
         "Spieler1FeuerBackbord", "Spieler1FeuerSteuerbord"},
        {"Spieler2Beschleunigen", "Spieler2Bremsen", "Spieler2Links", "Spieler2Rechts",
         "Spieler2FeuerBackbord", "Spieler2FeuerSteuerbord"},
    }};

KeyBindings loadKeyBindings(SettingsStore& store, const std::string& file = kSettingsFile);
// Like the options, creates the file when it is missing; true when the keys reached it.
bool saveKeyBindings(SettingsStore& store, const KeyBindings& bindings,
                     const std::string& file = kSettingsFile);
