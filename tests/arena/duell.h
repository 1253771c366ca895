// One seeded battle between two computer captains (or a captain and the arena's scripted
// player), one against one with the default classes, on the headless backend without drawing.
#pragma once

#include <cstdint>

#include "tests/scenario/arena.h"

// Who sails a ship: a captain of one of the levels, or the scripted player, who sails a
// wide circle and fires whichever battery faces the target.
enum class Fuehrung { Leicht, Normal, Schwer, Skript };

const char* Name(Fuehrung f);

struct Ausgang {
  int sieger = -1;  // the ship that won, 0 or 1; -1 for no winner
  int frames = 0;
};

// A battle of `erster` on ship 0 against `zweiter` on ship 1 (which must be a level: ship 1
// is the computer's), from the usual start places, or from each other's with
// `plaetzeGetauscht`. `arena` is reused from battle to battle; the seed decides everything.
Ausgang Duell(Arena& arena, Fuehrung erster, Fuehrung zweiter, bool plaetzeGetauscht,
              uint32_t seed);
