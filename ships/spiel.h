// The whole state of the game: created once by main and passed by reference everywhere.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gunnery/kugel.h"
#include "ships/records.h"

struct Spiel {
  std::array<SchiffsTyp, kKlassenAnzahl> Schiffstabelle{};
  std::array<Schiff, kSchiffsAnzahl> Flotte{};
  int32_t SpielModus = 0, Gegneranzahl = 0, Spielende = 0;
  int32_t Option = 0, Reichweite = 0, Sound = 0, SchussLautstaerke = 0, TrefferLautstaerke = 0;
  std::vector<Kugel> ListeA, ListeB;       // ordered; sweeps compact in place
  std::array<int32_t, 2> Schussversatz{};  // [0] port, [1] starboard
  // [ship][side][dx,dy]
  std::array<std::array<std::array<double, 2>, 2>, kSchiffsAnzahl> Muendungsversatz{};

  // Measured once at start-up.
  int32_t DesktopBreite = 0, DesktopHoehe = 0;
};
