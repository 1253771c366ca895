// Ship rendering: the overlay, the speed needles, the ships and the flames over a sinking
// ship; runs the sinking countdown and sets every turned picture's angle for the next frame.
#pragma once

#include <string_view>

#include "media/media.h"
#include "state/spiel.h"

void SchiffeZeichnen(Spiel& spiel, Media& media);

// A small `marke` ("Du") at the top right of ship `schiff`'s picture, where the hull never
// reaches whichever way it points, kept on the screen; none once the ship has sunk.
void EigenesSchiffMarkieren(const Spiel& spiel, Media& media, int schiff, std::string_view marke);
