// Every battle starts from a StartRecord: local battles from what the launcher and the last
// battle left, network battles from what both sides agreed, tests and benchmarks from defaults.
#pragma once

#include <cstdint>

#include "state/spiel.h"
#include "state/start_record.h"

// Sets every field the battle reads from the record, then sets the match up as a battle start
// does; the pause is cleared. Sound on or off stays this computer's choice.
void startBattle(Spiel& spiel, const StartRecord& record);

// The record of a local battle about to start in `spiel` (its mode, classes and options read):
// what it holds now, and a seed drawn from its random numbers.
StartRecord localStartRecord(Spiel& spiel);

// Default classes and options, ship i of class i, nothing carried over.
StartRecord defaultStartRecord(int32_t mode, int32_t enemies, uint32_t seed);
