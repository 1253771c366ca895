// Rollback for a battle on two computers. Each side runs its own player's input at once (a
// few frames of input delay), predicts the other's (its last known one), and when the real
// one arrives and differs, goes back to the snapshot of that frame and runs the frames again
// without drawing or sound. Both sides exchange a checksum of the state every 30 frames.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "net/protocol.h"
#include "state/spiel.h"

class Rollback {
 public:
  static constexpr int kMaxPredicted = 8;  // frames run ahead of the peer's known inputs
  static constexpr int kMaxInputDelay = 3;
  static constexpr uint32_t kChecksumEvery = 30;
  // A peer's input for frame() + kPeerLead or later is refused: no honest peer runs so far
  // ahead (its own prediction window and input delay, and some slack).
  static constexpr uint32_t kPeerLead = 2 * kMaxPredicted + kMaxInputDelay + 8;
  // Runs one frame of `spiel` with both players' inputs ([0] ship 0's, the host's); silent
  // when the frame is run a second time.
  using Step = std::function<void(Spiel&, const std::array<NetInput, 2>&, bool silent)>;

  // `self` is 0 on the host, 1 on the guest; inputDelay is brought into 0 to 3.
  Rollback(Spiel& spiel, int self, int inputDelay, Step step);
  // Told the number of every frame just before the step runs it, the first time or again.
  void watchFrames(std::function<void(uint32_t frame)> watcher) { watcher_ = std::move(watcher); }

  // Told each frame's inputs once both sides' are final, frame after frame, and every checksum
  // this side works out (of states that final inputs alone reached): what a replay keeps.
  void watchConfirmed(std::function<void(const std::array<NetInput, 2>&)> inputs,
                      std::function<void(const Checksum&)> checksums) {
    confirmedInputs_ = std::move(inputs);
    confirmedChecksums_ = std::move(checksums);
  }

  uint32_t frame() const { return frame_; }  // the next frame to run
  // Whether the next frame may run without predicting more than kMaxPredicted frames.
  bool canRun() const;
  // This side's controls, read for the next frame: they count for frame() + delay. Only the
  // first call for a frame counts. Returns the packet for the peer (see pendingInputs).
  Inputs addLocalInput(const NetInput& input);
  // The packet for the peer: this side's inputs from the first one the peer has not
  // acknowledged (the newest alone when it has them all), with this side's acknowledgement;
  // no inputs before this side made any.
  Inputs pendingInputs() const;
  // The peer's inputs. False, and nothing taken, for frames no honest peer sends yet and for
  // acknowledgements of inputs this side never made.
  bool receive(const Inputs& inputs);
  // Runs any mispredicted frames again (silently), then the next frame. False if !canRun().
  bool runFrame();
  // Runs mispredicted frames again, without going further.
  void correct();

  // This side's checksums not yet handed out, for the peer.
  std::vector<Checksum> takeChecksums();
  // The peer's checksum, compared with this side's for the same frame now or once it is known.
  void peerChecksum(const Checksum& peer);
  // True once a checksum of the peer differed from this side's (since the last heal): the
  // battles are not the same.
  bool diverged() const { return divergedAt_.has_value(); }
  // On the host: the state at the frame whose checksums differed, for the guest to take over;
  // nothing when it is no longer kept. From then on only checksums of the healed battles
  // compare.
  std::optional<Heal> heal();
  // On the guest: takes over the host's state and runs again up to this side's frame. False,
  // and nothing changed, for a state that cannot be taken (too old, or not a state).
  bool adopt(const Heal& heal);
  uint8_t heals() const { return heals_; }
  uint64_t checksumsCompared() const { return compared_; }

  uint32_t peerFramesKnown() const { return remoteKnown_; }
  uint32_t acknowledgedByPeer() const { return peerAck_; }
  uint64_t rollbacks() const { return rollbacks_; }
  uint64_t framesRunAgain() const { return framesRunAgain_; }
  int inputDelay() const { return delay_; }
  bool host() const { return self_ == 0; }

 private:
  // Inputs kept, in frames: more than are ever unacknowledged or run again.
  static constexpr uint32_t kRing = 128;
  static constexpr uint32_t kSnapshots = kMaxPredicted + 2;
  struct Slot {
    uint32_t frame = UINT32_MAX;
    NetInput input;
  };
  std::optional<NetInput> known(const std::array<Slot, kRing>& ring, uint32_t f) const;
  std::array<NetInput, 2> inputsFor(uint32_t f);
  void run(uint32_t f, bool silent);
  void checksumsDue();
  void reportConfirmed();
  void compare(std::deque<Checksum>& others, const Checksum& sum);

  Spiel& spiel_;
  int self_;
  int delay_;
  Step step_;
  std::function<void(uint32_t)> watcher_;
  std::function<void(const std::array<NetInput, 2>&)> confirmedInputs_;
  std::function<void(const Checksum&)> confirmedChecksums_;
  uint32_t confirmed_ = 0;  // frames handed to confirmedInputs_
  uint32_t frame_ = 0;
  uint32_t remoteKnown_ = 0;  // the peer's inputs of frames below this are all known
  uint32_t localKnown_ = 0;   // this side's inputs of frames below this are all made
  uint32_t peerAck_ = 0;      // the peer holds this side's inputs of frames below this
  std::optional<uint32_t> firstWrong_;
  std::array<Slot, kRing> local_{}, remote_{}, used_{};
  std::array<Spiel, kSnapshots> snapshots_{};
  std::array<uint32_t, kSnapshots> snapshotFrame_{};
  uint32_t nextChecksum_ = 0;
  std::vector<Checksum> outgoing_;
  std::deque<Checksum> own_, peers_;
  std::optional<uint32_t> divergedAt_;
  uint8_t heals_ = 0;
  // The states at this side's last checksums, for healing the peer (on the host).
  std::deque<std::pair<uint32_t, Spiel>> kept_;
  uint64_t compared_ = 0;
  uint64_t rollbacks_ = 0, framesRunAgain_ = 0;
};
