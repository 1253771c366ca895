// The frame loop: runs a match frame by frame until the player leaves it.
#pragma once

#include "media/media.h"
#include "ships/spiel.h"

// Until the launcher exists: two players, Player 1 in class 0 ("Schiff_1"), Player 2 in
// class 1 ("Schiff_2"). Returns the game mode.
int32_t SchlachtAuswahl(Spiel& spiel, Media& media);

// One whole frame. True when the player confirmed leaving; the battle window is closed then.
bool Frame(Spiel& spiel, Media& media);

// Decides the result: draws its text and marks the match decided.
void ErgebnisPruefen(Spiel& spiel, Media& media);

// Runs frames until the player leaves.
void SchlachtLaufen(Spiel& spiel, Media& media);
