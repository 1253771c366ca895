// The battle's data model: one ship class, one ship of a match and one cannonball in flight.
#pragma once

#include <cstdint>

// One ship class; each field is named after its key in the settings file.
struct SchiffsTyp {
  float Beschleunigung, TopSpeed, Health, SchussTempo, KanonenAnzahl, Nachladezeit, Schaden,
      Manoevrierfaehigkeit;
};

// One ship of a match. PosX/PosY are the top-left corner of its 150 x 150 picture.
struct Schiff {
  double PosX, PosY, Tempo, Kurs;
  float Health, KanonenLinks, KanonenRechts, PauseLinks, PauseRechts;
  int32_t FlammenSprite, Untergang, Klasse;
  int8_t FeuerLinks, FeuerRechts, Nachladen;
};

// One cannonball in flight.
struct Kugel {
  double PosX, PosY, Tempo, Kurs;
  int32_t Seite, Alter;
  int8_t Schuetze;
};

// Game modes returned by the launcher.
inline constexpr int32_t kEinzelspieler = 1;
inline constexpr int32_t kZweiSpieler = 2;

// Levels of the computer captains. Normal is 0, so a state that never had a level set has it.
inline constexpr int32_t kStufeLeicht = -1, kStufeNormal = 0, kStufeSchwer = 1;

// Number of ship classes and of ship records.
inline constexpr int kKlassenAnzahl = 8;
inline constexpr int kSchiffsAnzahl = 4;
