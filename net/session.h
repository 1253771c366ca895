// One side of a running network battle: the link's packets go to the rollback, this side's
// inputs and checksums go out, and the match ends when the peer leaves, makes no progress for
// 3 s (no new frame of its inputs, whatever else it sends) or turns out to play another
// battle.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "net/flood_guard.h"
#include "net/link.h"
#include "net/rollback.h"

class NetworkSession {
 public:
  static constexpr uint64_t kSilenceMs = 3000;
  // Before the first packet: the peer may still be opening its battle window.
  static constexpr uint64_t kFirstWordMs = 10000;
  // While the peer's player answers "Beenden": a player may think it over, but not forever.
  static constexpr uint64_t kAskingMs = 120000;
  // How often a side that waits for the peer's inputs sends its unacknowledged ones again:
  // either side's last packets may have been lost, and then both would wait for each other.
  static constexpr uint64_t kRepeatMs = 16;
  // A difference of the battles is healed once (the host's state goes to the guest); another
  // within this time ends the match.
  static constexpr uint64_t kHealAgainMs = 10000;
  enum class End { None, PeerLeft, PeerSilent, NotTheSame, ThisSideLeft, PeerCancelled };

  NetworkSession(Link& link, Rollback& rollback, Link::Clock clock);

  // Takes every packet that has arrived (waiting at most waitMs for the first) and checks
  // the peer's silence and checksums.
  End pump(int waitMs = 0);
  // Runs the next frame with this side's controls when the rollback may; false otherwise (then
  // this side's last inputs go out again now and then).
  bool tick(const NetInput& local);
  // Sends this side's unacknowledged inputs again, for a peer still missing them.
  void repeatInputs();
  // Tells the peer that this side's player is answering "Beenden" (open), or has answered;
  // the peer's silence while this side stood still is no fault of the peer.
  void asking(bool open);
  // Tells the peer that this side leaves (or found the battles differ) and ends here.
  void leave(Goodbye::Reason reason);

  End end() const { return end_; }
  // Whether the peer's player is answering "Beenden" now.
  bool peerAsking() const { return peerAsking_; }
  uint64_t packetsDropped() const { return dropped_; }

 private:
  void take(const std::vector<uint8_t>& bytes);
  void send(const Inputs& inputs);
  void divergence();
  void healed(const Heal& heal);
  bool healedRecently() const;

  Link& link_;
  Rollback& rollback_;
  Link::Clock clock_;
  FloodGuard flood_;
  uint64_t lastProgressMs_;
  bool progressed_ = false;
  bool peerAsking_ = false;
  uint64_t lastSentMs_ = 0;
  std::optional<uint64_t> healedMs_;
  End end_ = End::None;
  uint64_t dropped_ = 0;
};

// What a peer's goodbye means for this side.
NetworkSession::End endFor(const Goodbye& bye);

// German text for the end of a match, for the message the player sees.
const char* endMessage(NetworkSession::End end);

// German text for a peer of another build, naming its version and this one's (and each one's
// step identity when the versions read the same).
std::string otherBuildMessage(uint16_t protocol, uint64_t identity, const std::string& version);
