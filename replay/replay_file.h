// A replay is a battle's start record plus every frame's controls: the battle step is
// deterministic, so these are the whole battle. A state checksum every 60 frames says where a
// replay parted from the build playing it, not only that it did.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "state/start_record.h"

inline constexpr uint32_t kReplayChecksumEvery = 60;
// Frames a reader accepts: about 19 hours of battle, and a bound on what a file can make it
// allocate.
inline constexpr uint32_t kReplayMaxFrames = 1u << 22;

struct Replay {
  std::string gameVersion;
  uint64_t stepIdentity = 0;
  StartRecord start;
  int32_t humans = 1;  // players whose controls are kept: 1 or 2
  std::string result;  // the result text the battle showed last, empty while undecided
  // Each frame's controls, one byte per player ([1] stays 0 with one player): the network's
  // input byte, restart included.
  std::vector<std::array<uint8_t, 2>> inputs;
  // stateChecksum after 0, 60, 120, ... frames; at most inputs.size() / 60 + 1 of them.
  std::vector<uint64_t> checksums;
};

// A replay of this build, as it is written.
Replay newReplay(const StartRecord& start);

std::vector<uint8_t> encodeReplay(const Replay& replay);

// Why a file gives no replay; replay_texts.h words it for the player.
enum class ReplayProblem { None, Unreadable, NotAReplay, Cut, Corrupt, NewerFormat, OtherBuild };

// Every field has its default, so that a reading names only what it has.
struct ReplayReading {
  std::optional<Replay> replay{};
  ReplayProblem problem = ReplayProblem::None;
  // OtherBuild: the build the file comes from.
  std::string otherVersion{};
  uint64_t otherIdentity = 0;
};
// Trusts nothing: a file that is not a replay, is cut short, corrupt, holds values no battle
// can start from, or (unless anyBuild) comes from another build gives no replay and says why.
ReplayReading readReplay(std::span<const uint8_t> bytes, bool anyBuild = false);

// Collects a battle as it is played. Checksums are offered for any frame and kept for every
// 60th, so that a network battle can hand over the ones it computes for its own comparisons.
class ReplayRecorder {
 public:
  explicit ReplayRecorder(const StartRecord& start) : replay_(newReplay(start)) {}
  void frame(uint8_t player1, uint8_t player2);
  // The checksum of the state after `frame` frames.
  void checksum(uint32_t frame, uint64_t value);
  uint32_t frames() const { return static_cast<uint32_t>(replay_.inputs.size()); }
  Replay finish(const std::string& result) const;

 private:
  Replay replay_;
};
