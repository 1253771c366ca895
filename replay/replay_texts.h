// What the player is told about a replay file that gives no replay: replay/ reports codes,
// and these are the texts for them, in the player's language.
#pragma once

#include <string>

#include "replay/replay_file.h"

// Why the file at `path` gave no replay; empty when it gave one.
std::string replayProblemText(const ReplayReading& reading, const std::string& path);
