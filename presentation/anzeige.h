// The battle overlay: health columns, speed dials and battery bars of the humans, and the
// health of the computer ships next to them.
#pragma once

#include "media/media.h"
#include "state/spiel.h"

void AnzeigeZeichnen(const Spiel& spiel, Media& media);
