// The frame loop: runs a match frame by frame until the player leaves it.
#pragma once

#include "media/media.h"
#include "ships/spiel.h"

// One whole frame. True when the player confirmed leaving; the battle window is closed then.
bool Frame(Spiel& spiel, Media& media);

// Decides the result: draws its text and marks the match decided.
void ErgebnisPruefen(Spiel& spiel, Media& media);

// Runs frames until the player leaves.
void SchlachtLaufen(Spiel& spiel, Media& media);
