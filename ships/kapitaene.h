// The computer captains of single-player battles: they steer ships 1 to 3 towards
// Player 1 and give the fire orders that the broadside firing carries out.
#pragma once

#include "state/spiel.h"

// Direction from ship `schiff` to Player 1's ship in degrees, counter-clockwise from
// the direction to the right (0 to 360), computed in 32-bit floats.
float Zielwinkel(const Spiel& spiel, int schiff);

// New Tempo, Kurs and fire orders for every living computer ship, by the captains' level
// (Spiel::Kapitaensstufe; a value that is no level counts as normal); single player only. A
// wreck (Health below 1) is given no fire order.
void ComputerKapitaene(Spiel& spiel);

// One captain's turn: ship `schiff` fights ship `ziel` at level `stufe` and gets a new Tempo,
// Kurs and fire orders in its record. ComputerKapitaene calls it for ships 1 to 3 against
// ship 0; a test or the arena may let a captain sail ship 0 against ship 1.
void KapitaenFuehren(Spiel& spiel, int schiff, int ziel, int32_t stufe);

// Holds a computer ship's starboard battery to reload once it has run dry.
void NachladenPruefen(Spiel& spiel);

// The same for one ship, whatever its index.
void NachladenPruefen(Spiel& spiel, int schiff);
