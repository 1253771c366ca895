// Watching a replay in the battle window: at 1x, 2x or 4x, paused, and 10 s back or forth.
// The players' keys and pads steer nothing; every frame runs with the controls it was
// recorded with, so what is seen and heard is the battle as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "flow/schlacht.h"
#include "replay/replay_file.h"
#include "settings/settings_store.h"

inline constexpr uint32_t kReplayFramesPerSecond = 60;
// A jump plays silently from the copy of the state kept last before its target: at most this
// many frames, and the copies of a 10-minute replay stay small.
inline constexpr uint32_t kReplayCopyEvery = 3 * kReplayFramesPerSecond;
inline constexpr uint32_t kReplayJump = 10 * kReplayFramesPerSecond;

// A replay's battle, brought to any of its frames.
class ReplayTimeline {
 public:
  // Sets `spiel` to the replay's start; the replay must outlive the timeline.
  ReplayTimeline(const Replay& replay, Spiel& spiel);

  uint32_t frame() const { return frame_; }  // frames played
  uint32_t frames() const { return static_cast<uint32_t>(replay_.inputs.size()); }
  bool atEnd() const { return frame_ >= frames(); }
  // Plays the next frame with its recorded controls: drawn and heard unless `media` is silent.
  void step(Media& media, const FrameOverlay& overlay = {});
  // The state after `target` frames (at most the end), reached silently from the last copy
  // before it, or by playing on from here when that is nearer.
  void seek(Media& media, uint32_t target);

 private:
  const Replay& replay_;
  Spiel& spiel_;
  uint32_t frame_ = 0;
  std::vector<Spiel> copies_;  // [k]: the state after k * kReplayCopyEvery frames
};

// The keys of the battle window while a replay runs: 1, 2 and 4 set the speed, P pauses, the
// arrow keys jump, Escape ends.
class ReplayViewer {
 public:
  ReplayViewer(const Replay& replay, Spiel& spiel) : timeline_(replay, spiel) {}

  // One turn of the window: its events, the keys, then the frames the speed asks for. False
  // once Escape was released; the battle window is closed then.
  bool turn(Media& media);
  std::string caption() const;
  const ReplayTimeline& timeline() const { return timeline_; }

 private:
  void play(Media& media);
  void jump(Media& media, int64_t by);
  // Draws the frame that led to the current state again, under the caption of now.
  void showAgain(Media& media);
  // Draws the caption as it stands when called; the text is made only when what it says
  // changes, so that playing makes no text per frame.
  FrameOverlay overlay();
  // What the caption says, one value per distinct text.
  struct CaptionState {
    int speed = 0;
    bool paused = false;
    bool end = false;
    bool operator==(const CaptionState&) const = default;
  };
  CaptionState captionState() const;

  ReplayTimeline timeline_;
  std::string captionText_;
  std::optional<CaptionState> captionMade_;  // what captionText_ was made for
  int speed_ = 1;
  bool paused_ = false;
  bool redraw_ = false;  // the picture standing still needs its caption anew
  int stillFrames_ = 0;
  std::vector<std::pair<int, int>> sounds_;  // of the frames a faster speed does not show
};

// `kaperfahrt --replay FILE` and the launcher's "Ansehen": the replay in a battle window
// opened as for a battle (with this computer's sound setting), until Escape. False when the
// window could not be opened.
bool watchReplay(Spiel& spiel, Media& media, SettingsStore& store, const std::string& settingsFile,
                 const Replay& replay);
