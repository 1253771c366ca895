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
  Pausenstand Pause;

  // Measured once at start-up.
  int32_t DesktopBreite = 0, DesktopHoehe = 0;
};
