// The helm of the human ships and the movement of every ship, once per frame.
#pragma once

#include "basis/steuerung.h"
#include "state/spiel.h"

// Speed and heading of one human ship from its player's controls in this frame.
void RuderFuehren(Spiel& spiel, int schiff, const Steuerung& steuerung);

// Moves the ship along its heading, keeps the heading within 1 to 360, wraps the ship at
// the field's edges and counts its battery pauses down.
void SchiffBewegen(Spiel& spiel, int schiff);
