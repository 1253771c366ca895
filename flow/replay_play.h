// Recording battles as replays and playing replays back.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "flow/schlacht.h"
#include "net/rollback.h"
#include "replay/replay_file.h"

// A local battle's recorder as SchlachtLaufen's watcher: frames that stood still in a pause
// change nothing and are left out; Return is kept with Player 1's controls. `started` is the
// battle as startBattle left it.
FrameBeobachter recordingWatcher(ReplayRecorder& recorder, const Spiel& started);

// A network battle's recorder: the frames' final inputs of both sides, and the checksums the
// rollback works out anyway.
void recordConfirmed(Rollback& rollback, ReplayRecorder& recorder);

// The replay as finished now, with the result `spiel` shows.
Replay finishedReplay(const ReplayRecorder& recorder, const Spiel& spiel);

// The controls of a replay's frame, as the battle ran it.
Eingaben replayFrameInputs(const Replay& replay, size_t frame);

struct ReplayVerdict {
  bool same = true;
  uint32_t frames = 0;          // frames played
  uint32_t firstDifferent = 0;  // the first frame whose checksum differed
};

// Plays the replay without a window or sound, as fast as it goes, and compares every checksum
// it holds with this build's.
ReplayVerdict verifyReplay(const Replay& replay);

// `kaperfahrt --verify FILE`: 0 and "ok: N Frames" when every checksum agreed, 1 and
// "abweichend ab Frame N" when one did not, 2 and a German sentence on `err` when the file is
// no replay of this build.
int verifyReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
                     bool anyBuild = false);
