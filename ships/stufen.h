// The captains of the levels "Leicht" and "Schwer". They change only the ship's Kurs, by the
// class's turn per frame or not at all (as a helm would), its fire orders and their memory;
// the Tempo is the caller's.
#pragma once

#include "state/spiel.h"

// Decides every few frames, aims with a wide random error and fires now and then.
void LeichterKapitaen(Spiel& spiel, int schiff, int ziel, const SchiffsTyp& typ);

// Leads its shots, holds the target abeam at the range where its guns hit, fires when a hit
// is likely, opens the range to reload when badly hurt, and spreads out with its consorts. It
// looks only at what a player sees of the target: position, heading, speed.
void SchwererKapitaen(Spiel& spiel, int schiff, int ziel, const SchiffsTyp& typ);

// The heading at which battery `seite` (1 port, 2 starboard) of `schiff` sends its balls to
// meet the middle of `ziel`'s hull, if `ziel` holds course and speed.
double Vorhaltekurs(const Schiff& schiff, int seite, const Schiff& ziel);
