// A battle on two computers plays by the rules of "2 Spieler VS": ship 0 is the host's, ship 1
// the guest's, one opponent. Each frame runs with both players' controls from the rollback.
#pragma once

#include <array>

#include "flow/schlacht.h"
#include "net/protocol.h"
#include "net/rollback.h"

// A restart asked by either player restarts both battles. Leaving is no input of a frame
// here: it ends the match for both through the network.
Eingaben networkFrameInputs(const std::array<NetInput, 2>& inputs);

// The rollback's step: one frame of the battle, silent when run a second time.
Rollback::Step networkStep(Media& media);

// The battle both sides start: the host's welcome and the two players' chosen classes.
void setUpNetworkMatch(Spiel& spiel, const Welcome& welcome, int32_t hostClass, int32_t guestClass);
