// Snapshots of a battle: a snapshot is a plain copy of Spiel (copy-assigning into a kept one
// reuses its ball lists, so no memory is asked for once they are large enough). Two states are
// the same battle when their bytes are; the checksum is what two computers compare.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "state/spiel.h"

// Every field that decides how the battle goes on, field by field without padding: the
// classes, the fleet, mode and result, range, both ball lists, the muzzle offsets, the
// random generator and the computer captains' level and memory. Not the sound settings or the
// desktop size, which differ between computers and never change the battle.
std::vector<uint8_t> stateBytes(const Spiel& spiel);

// A 64-bit hash of stateBytes.
uint64_t stateChecksum(const Spiel& spiel);

// The same fields for another computer to take over: the random generator in its portable
// text form.
std::vector<uint8_t> portableState(const Spiel& spiel);
// Takes over a portable state; false, and `spiel` unchanged, for bytes that are not one.
bool adoptPortableState(Spiel& spiel, std::span<const uint8_t> bytes);
