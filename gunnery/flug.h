// The flight of the cannonballs and their hits on the ships of the other side.
#pragma once

#include <cstdint>

#include "media/media.h"
#include "state/records.h"
#include "state/spiel.h"

// Every ball of list A, then of list B: removed past the edges, drawn, stepped, aged, and
// removed when its range is used up.
void KugelnFliegen(Spiel& spiel, Media& media);

// One step of one ball at right angles to the heading it was fired with.
void KugelSchritt(Kugel& kugel);

// How far a ball of port (1) or starboard (2) side moves per unit of its Tempo, for its
// heading k in whole degrees.
struct Schrittrichtung {
  double dx, dy;
};
Schrittrichtung KugelRichtung(double k, int32_t seite);

// Balls of list B against ship 0, balls of list A against the computer ships or Player 2;
// a ball that touches a collision disc is removed and takes its damage off the ship.
void TrefferAuswerten(Spiel& spiel, Media& media);
