// Where finished battles are kept: a folder "Wiederholungen" beside the settings file, the
// newest 100 replays in it.
#pragma once

#include <string>

#include "replay/replay_file.h"

inline constexpr int kReplaysKept = 100;
inline constexpr char kReplayExtension[] = ".kfr";

// The replay folder for a settings file at `settingsFile` (a bare name: the current folder).
std::string replayFolderBeside(const std::string& settingsFile);

// Writes the replay into `folder` under a name of the date and time it is written (created
// when missing, through a temporary file and a rename, so that no half-written replay is ever
// seen), then deletes the oldest beyond kReplaysKept. Returns the file written, or empty with
// `problem` set.
std::string saveReplay(const std::string& folder, const Replay& replay, std::string& problem);

// saveReplay for a finished battle: a replay that cannot be written says so in one line on
// standard error and the game goes on. An empty folder keeps nothing.
void keepReplay(const std::string& folder, const Replay& replay);
