// The ship choice of one launcher run: who has chosen, which classes the ships get, and
// when the run is over.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "state/spiel.h"

// One "Start" or double click with the list row `selection` (-1 when none) selected.
// Single player: ship 0 gets the selected class and the computer ships random ones (as many
// as Gegneranzahl asks for, ship 1 always). Two players: Player 1, then Player 2. Counts the
// choices in `choices`; without a selected row nothing happens.
void chooseShip(Spiel& spiel, int32_t selection, int32_t& choices);

// True once every player of the mode has chosen.
bool launcherRunEnds(int32_t spielModus, int32_t choices);

// The ship selection window's title for this many choices; none when it stays as it is.
std::optional<std::string_view> shipSelectionTitle(int32_t choices);
