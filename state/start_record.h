// How a battle starts, as one value: whatever decides the state of its first frame. Two
// battles started from equal records with equal controls run alike, frame for frame, on one
// computer or two, whatever the program did before.
#pragma once

#include <array>
#include <cstdint>

#include "state/records.h"

struct StartRecord {
  int32_t SpielModus = kZweiSpieler;
  int32_t Gegneranzahl = 1;  // 1 to 3; 1 with two players
  std::array<SchiffsTyp, kKlassenAnzahl> Schiffstabelle{};
  // The ships as they come to the battle, before the set-up places those that take part: each
  // one's Klasse, and what a local battle keeps from the one before it (ships outside the
  // match, battery pauses, fire orders, reload states). A network battle starts them empty.
  std::array<Schiff, kSchiffsAnzahl> Flotte{};
  int32_t Option = 0, Reichweite = 0;
  int32_t SchussLautstaerke = 0, TrefferLautstaerke = 0;
  // The muzzle offsets the first frame's shots use (drawn at the end of the frame before).
  std::array<int32_t, 2> Schussversatz{};
  std::array<std::array<std::array<double, 2>, 2>, kSchiffsAnzahl> Muendungsversatz{};
  uint32_t Seed = 0;                      // of the battle's random numbers
  int32_t Kapitaensstufe = kStufeNormal;  // of the computer ships in single-player battles
};
