#include "net/rollback.h"

#include <algorithm>
#include <utility>

#include "state/snapshot.h"

namespace {

// Checksums kept while the other side's are on their way: seconds of play.
constexpr size_t kChecksumsKept = 64;
// States kept for healing: the checksums of the last few seconds.
constexpr size_t kStatesKept = 8;

}  // namespace

Rollback::Rollback(Spiel& spiel, int self, int inputDelay, Step step)
    : spiel_(spiel),
      self_(self == 0 ? 0 : 1),
      delay_(std::clamp(inputDelay, 0, kMaxInputDelay)),
      step_(std::move(step)) {
  snapshotFrame_.fill(UINT32_MAX);
}

std::optional<NetInput> Rollback::known(const std::array<Slot, kRing>& ring, uint32_t f) const {
  const Slot& slot = ring[f % kRing];
  if (slot.frame != f) return std::nullopt;
  return slot.input;
}

bool Rollback::canRun() const { return frame_ < remoteKnown_ + kMaxPredicted; }

Inputs Rollback::addLocalInput(const NetInput& input) {
  const uint32_t target = frame_ + static_cast<uint32_t>(delay_);
  if (!known(local_, target)) local_[target % kRing] = {target, input};
  localKnown_ = std::max(localKnown_, target + 1);
  return pendingInputs();
}

Inputs Rollback::pendingInputs() const {
  Inputs packet;
  packet.acknowledged = remoteKnown_;
  if (localKnown_ == 0) return packet;  // nothing to send yet
  // Oldest first: the peer can use none past one it lacks.
  const uint32_t first = std::min(peerAck_, localKnown_ - 1);
  const uint32_t last = std::min(localKnown_ - 1, first + kInputsPerPacket - 1);
  packet.lastFrame = last;
  for (uint32_t f = first; f <= last; ++f)
    packet.inputs.push_back(known(local_, f).value_or(NetInput{}));
  return packet;
}

bool Rollback::receive(const Inputs& inputs) {
  const uint32_t count = static_cast<uint32_t>(inputs.inputs.size());
  if (count == 0 || inputs.lastFrame + 1 < count || inputs.lastFrame >= frame_ + kPeerLead ||
      inputs.acknowledged > localKnown_) {
    return false;
  }
  peerAck_ = std::max(peerAck_, inputs.acknowledged);
  const uint32_t first = inputs.lastFrame + 1 - count;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t f = first + i;
    if (f < remoteKnown_ || known(remote_, f)) continue;  // known already: a repeat
    remote_[f % kRing] = {f, inputs.inputs[i]};
  }
  while (known(remote_, remoteKnown_)) {
    const uint32_t f = remoteKnown_++;
    const std::optional<NetInput> guessed = known(used_, f);
    if (f < frame_ && guessed && *guessed != known(remote_, f)) {
      firstWrong_ = std::min(firstWrong_.value_or(f), f);
    }
  }
  return true;
}

std::array<NetInput, 2> Rollback::inputsFor(uint32_t f) {
  // The frames before the first input delay passed are run with no controls at all.
  const NetInput own = known(local_, f).value_or(NetInput{});
  NetInput peer{};
  if (const std::optional<NetInput> real = known(remote_, f)) {
    peer = *real;
  } else if (remoteKnown_ > 0) {
    peer = known(remote_, remoteKnown_ - 1).value_or(NetInput{});
  }
  used_[f % kRing] = {f, peer};
  std::array<NetInput, 2> both;
  both[self_] = own;
  both[1 - self_] = peer;
  return both;
}

void Rollback::run(uint32_t f, bool silent) {
  const uint32_t slot = f % kSnapshots;
  snapshots_[slot] = spiel_;  // the state at the start of frame f
  snapshotFrame_[slot] = f;
  if (watcher_) watcher_(f);
  step_(spiel_, inputsFor(f), silent);
}

void Rollback::correct() {
  if (firstWrong_) {
    const uint32_t from = *firstWrong_;
    firstWrong_.reset();
    // Never further back than the ring holds; predictions stop before that.
    if (snapshotFrame_[from % kSnapshots] == from) {
      spiel_ = snapshots_[from % kSnapshots];
      ++rollbacks_;
      for (uint32_t f = from; f < frame_; ++f) {
        run(f, true);
        ++framesRunAgain_;
      }
    }
  }
  checksumsDue();
}

bool Rollback::runFrame() {
  correct();
  if (!canRun()) return false;
  run(frame_, false);
  ++frame_;
  checksumsDue();
  return true;
}

void Rollback::reportConfirmed() {
  const uint32_t final = std::min(frame_, remoteKnown_);
  for (; confirmed_ < final; ++confirmed_) {
    std::array<NetInput, 2> both;
    both[self_] = known(local_, confirmed_).value_or(NetInput{});
    both[1 - self_] = known(remote_, confirmed_).value_or(NetInput{});
    if (confirmedInputs_) confirmedInputs_(both);
  }
}

void Rollback::checksumsDue() {
  reportConfirmed();
  while (nextChecksum_ <= std::min(frame_, remoteKnown_)) {
    const uint32_t c = nextChecksum_;
    const Spiel* state = nullptr;
    if (c == frame_) {
      state = &spiel_;
    } else if (snapshotFrame_[c % kSnapshots] == c) {
      state = &snapshots_[c % kSnapshots];
    }
    if (state != nullptr) {
      const Checksum sum{c, stateChecksum(*state), heals_};
      if (self_ == 0) {
        kept_.emplace_back(c, *state);
        if (kept_.size() > kStatesKept) kept_.pop_front();
      }
      outgoing_.push_back(sum);
      if (confirmedChecksums_) confirmedChecksums_(sum);
      compare(peers_, sum);
      own_.push_back(sum);
      if (own_.size() > kChecksumsKept) own_.pop_front();
    }
    nextChecksum_ += kChecksumEvery;
  }
}

std::vector<Checksum> Rollback::takeChecksums() { return std::exchange(outgoing_, {}); }

void Rollback::peerChecksum(const Checksum& peer) {
  if (peer.heals != heals_) return;  // of a battle since healed, or not yet
  if (std::any_of(own_.begin(), own_.end(),
                  [&](const Checksum& c) { return c.frame == peer.frame; })) {
    compare(own_, peer);
    return;
  }
  // Not yet worked out here: compared when it is.
  peers_.push_back(peer);
  if (peers_.size() > kChecksumsKept) peers_.pop_front();
}

void Rollback::compare(std::deque<Checksum>& others, const Checksum& sum) {
  for (auto it = others.begin(); it != others.end(); ++it) {
    if (it->frame != sum.frame) continue;
    if (it->value != sum.value && !divergedAt_) divergedAt_ = sum.frame;
    ++compared_;
    others.erase(it);
    return;
  }
}

std::optional<Heal> Rollback::heal() {
  if (!divergedAt_) return std::nullopt;
  const uint32_t at = *divergedAt_;
  const auto kept =
      std::find_if(kept_.begin(), kept_.end(), [at](const auto& k) { return k.first == at; });
  if (kept == kept_.end()) return std::nullopt;
  Heal heal{at, portableState(kept->second)};
  divergedAt_.reset();
  ++heals_;
  peers_.clear();
  return heal;
}

bool Rollback::adopt(const Heal& heal) {
  const uint32_t at = heal.frame;
  // The inputs from there on must still be in the rings.
  if (at > frame_ || frame_ - at >= kRing - kMaxPredicted - kMaxInputDelay) return false;
  if (!adoptPortableState(spiel_, heal.state)) return false;
  ++heals_;
  divergedAt_.reset();
  firstWrong_.reset();
  own_.clear();
  peers_.clear();
  outgoing_.clear();
  nextChecksum_ = at + kChecksumEvery;
  for (uint32_t f = at; f < frame_; ++f) {
    run(f, true);
    ++framesRunAgain_;
  }
  checksumsDue();
  return true;
}
