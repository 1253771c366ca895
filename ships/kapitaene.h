// The computer captains of single-player battles: they steer ships 1 to 3 towards
// Player 1 and give the fire orders that the broadside firing carries out.
#pragma once

#include "state/spiel.h"

// Direction from ship `schiff` to Player 1's ship in degrees, counter-clockwise from
// the direction to the right (0 to 360), computed in 32-bit floats.
float Zielwinkel(const Spiel& spiel, int schiff);

// New Tempo, Kurs and fire orders for every living computer ship; single player only. A
// wreck (Health below 1) is given no fire order.
void ComputerKapitaene(Spiel& spiel);

// Holds a computer ship's starboard battery to reload once it has run dry.
void NachladenPruefen(Spiel& spiel);
