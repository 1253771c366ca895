// Shared helpers of the battle's procedures: which ships take part, a ship's class, Tempo
// and Kurs kept finite, and angles in degrees.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

#include "state/spiel.h"

// The ships of a match are 0 to Gegneranzahl, which the battle keeps within 1 to 3; ships 0
// and 1 always, and never an index past the fleet.
inline bool NimmtTeil(const Spiel& spiel, int schiff) {
  return schiff >= 0 && schiff <= std::clamp(spiel.Gegneranzahl, 1, kSchiffsAnzahl - 1);
}

// The class of a ship, or nullptr for a Klasse outside the table (which the launcher never
// produces; such a record is not to be used).
inline const SchiffsTyp* KlasseVon(const Spiel& spiel, int schiff) {
  const int32_t klasse = spiel.Flotte[schiff].Klasse;
  if (klasse < 0 || klasse >= kKlassenAnzahl) return nullptr;
  return &spiel.Schiffstabelle[klasse];
}

// For Tempo and Kurs: a hostile class value (NaN, infinity) leaves them as they were, so that
// a ship never gets a position that is not a number.
inline void Setzen(double& feld, double neu) {
  if (std::isfinite(neu)) feld = neu;
}

inline double Bogenmass(double grad) { return grad * (std::numbers::pi / 180.0); }
