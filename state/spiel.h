// The whole state of the game: created once by main and passed by reference everywhere.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "state/records.h"

// The battle's random numbers (muzzle offsets, the computer's ship classes). They belong to
// its state, so that a copy of the state also holds what the next draws will be.
struct Zufallsquelle {
  std::mt19937 Generator;
  // A whole number from 0 to max, 0 for a max below 1.
  int Zahl(int max) {
    if (max <= 0) return 0;
    return std::uniform_int_distribution<int>(0, max)(Generator);
  }
};

// Why the battle stands still: P pressed, or its window lost the keyboard focus.
struct Pausenstand {
  bool Taste = false, Fokus = false;
  bool HatteFokus = false;  // in the last frame: only a focus that goes pauses
  bool Gezeigt = false;     // the frame with the "Pause" text is on the screen
  int32_t Frames = 0;       // frames since it was last shown
};

// What a captain of the levels "Leicht" and "Schwer" keeps from one frame to the next (the
// normal captain keeps nothing). Reset at every match set-up.
struct Kapitaensgedaechtnis {
  double Sollkurs = 0;     // "Leicht": the heading it last decided on
  int32_t Frist = 0;       // "Leicht": frames until it decides again
  int8_t Feuerwillig = 0;  // "Leicht": whether it fires at all until then
  int8_t Seite = 0;        // "Schwer": the battery it lays against the target, 1 or 2
  int8_t Rueckzug = 0;     // "Schwer": 1 while it opens the range to reload
};

struct Spiel {
  std::array<SchiffsTyp, kKlassenAnzahl> Schiffstabelle{};
  std::array<Schiff, kSchiffsAnzahl> Flotte{};
  int32_t SpielModus = 0, Gegneranzahl = 0, Spielende = 0;
  int32_t Option = 0, Reichweite = 0, Sound = 0, SchussLautstaerke = 0, TrefferLautstaerke = 0;
  std::vector<Kugel> ListeA, ListeB;       // ordered; sweeps compact in place
  std::array<int32_t, 2> Schussversatz{};  // [0] port, [1] starboard
  // [ship][side][dx,dy]
  std::array<std::array<std::array<double, 2>, 2>, kSchiffsAnzahl> Muendungsversatz{};
  Zufallsquelle Zufall;
  int32_t Kapitaensstufe = kStufeNormal;  // of the computer ships in single-player battles
  std::array<Kapitaensgedaechtnis, kSchiffsAnzahl> Kapitaene{};
  Pausenstand Pause;

  // Measured once at start-up.
  int32_t DesktopBreite = 0, DesktopHoehe = 0;
};
