// The battle as far as it is built: the ships at their places on the sea, until the
// player leaves with Escape.
#pragma once

#include "media/media.h"
#include "ships/spiel.h"

// Until the launcher exists: single player, Player 1 in class 0, the enemies in
// random classes. Returns the game mode.
int32_t SchlachtAuswahl(Spiel& spiel, Media& media);

// One frame. True when the player confirmed leaving the battle.
bool SchlachtFrame(Spiel& spiel, Media& media);

// Runs frames until the player leaves, then closes the battle window.
void SchlachtLaufen(Spiel& spiel, Media& media);
