// Where finished battles are kept: a folder "Wiederholungen" beside the settings file, the
// newest 100 replays in it.
#pragma once

#include <ctime>
#include <string>
#include <vector>

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

// Reads the replay file at `path` as readReplay does; a file that cannot be read, or is far
// larger than any replay, gives no replay and the reason.
ReplayReading loadReplay(const std::string& path, bool anyBuild = false);

// The replay files in `folder`, the newest first; none when there is no such folder.
std::vector<std::string> replayFiles(const std::string& folder);

// The local date and time the name of a replay file saveReplay wrote says it was recorded;
// false for a file named otherwise.
bool replayNameTime(const std::string& path, std::tm& local);
