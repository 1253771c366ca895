// Match set-up: puts the ships of the match at their starting places.
#pragma once

#include "state/spiel.h"

void PartieAufbauen(Spiel& spiel);
