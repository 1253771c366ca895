#include "net/session.h"

#include <cstdio>
#include <iostream>
#include <variant>

NetworkSession::End endFor(const Goodbye& bye) {
  switch (bye.reason) {
    case Goodbye::Reason::NotTheSame:
      return NetworkSession::End::NotTheSame;
    case Goodbye::Reason::Cancelled:
      return NetworkSession::End::PeerCancelled;
    case Goodbye::Reason::Left:
      break;
  }
  return NetworkSession::End::PeerLeft;
}

NetworkSession::NetworkSession(Link& link, Rollback& rollback, Link::Clock clock)
    : link_(link), rollback_(rollback), clock_(std::move(clock)), lastProgressMs_(clock_()) {}

NetworkSession::End NetworkSession::pump(int waitMs) {
  for (Link::Event e = link_.poll(waitMs); e.kind != Link::EventKind::None; e = link_.poll(0)) {
    if (e.kind == Link::EventKind::Disconnected && end_ == End::None) end_ = End::PeerLeft;
    if (e.kind == Link::EventKind::Received) take(e.bytes);
  }
  const uint64_t patience = peerAsking_ ? kAskingMs : progressed_ ? kSilenceMs : kFirstWordMs;
  if (end_ == End::None && clock_() - lastProgressMs_ > patience) end_ = End::PeerSilent;
  divergence();
  return end_;
}

bool NetworkSession::healedRecently() const {
  return healedMs_ && clock_() - *healedMs_ < kHealAgainMs;
}

// The host heals a first difference by sending its state; the guest waits for it.
void NetworkSession::divergence() {
  if (end_ != End::None || !rollback_.diverged() || !rollback_.host()) return;
  std::optional<Heal> heal;
  if (!healedRecently()) heal = rollback_.heal();
  if (!heal) {
    leave(Goodbye::Reason::NotTheSame);
    return;
  }
  healedMs_ = clock_();
  link_.send(encode(*heal), true);
  std::cerr << "kaperfahrt: die Schlachten waren bei Frame " << heal->frame
            << " nicht mehr gleich; der Gast übernimmt den Stand des Gastgebers\n";
}

void NetworkSession::healed(const Heal& heal) {
  if (end_ != End::None || rollback_.host()) return;
  if (healedRecently() || !rollback_.adopt(heal)) {
    leave(Goodbye::Reason::NotTheSame);
    return;
  }
  healedMs_ = clock_();
  std::cerr << "kaperfahrt: die Schlachten waren bei Frame " << heal.frame
            << " nicht mehr gleich; der Stand des Gastgebers ist übernommen\n";
}

void NetworkSession::take(const std::vector<uint8_t>& bytes) {
  const std::optional<Message> message = decode(bytes);
  if (!message || !flood_.admit(clock_())) {
    ++dropped_;
    return;
  }
  bool progress = false;
  if (const auto* inputs = std::get_if<Inputs>(&*message)) {
    const uint32_t known = rollback_.peerFramesKnown();
    if (!rollback_.receive(*inputs)) ++dropped_;
    progress = rollback_.peerFramesKnown() > known;
  } else if (const auto* sum = std::get_if<Checksum>(&*message)) {
    rollback_.peerChecksum(*sum);
  } else if (const auto* heal = std::get_if<Heal>(&*message)) {
    healed(*heal);
  } else if (const auto* question = std::get_if<Asking>(&*message)) {
    peerAsking_ = question->open;
    progress = true;
  } else if (const auto* bye = std::get_if<Goodbye>(&*message)) {
    if (end_ == End::None) end_ = endFor(*bye);
  }
  if (progress) {
    lastProgressMs_ = clock_();
    progressed_ = true;
  }
}

void NetworkSession::send(const Inputs& inputs) {
  lastSentMs_ = clock_();
  if (!inputs.inputs.empty()) link_.send(encode(inputs), false);
}

bool NetworkSession::tick(const NetInput& local) {
  if (end_ != End::None) return false;
  if (!rollback_.canRun()) {
    if (clock_() - lastSentMs_ >= kRepeatMs) repeatInputs();
    return false;
  }
  send(rollback_.addLocalInput(local));
  rollback_.runFrame();
  for (const Checksum& sum : rollback_.takeChecksums()) link_.send(encode(sum), false);
  return true;
}

void NetworkSession::repeatInputs() {
  rollback_.correct();
  send(rollback_.pendingInputs());
  for (const Checksum& sum : rollback_.takeChecksums()) link_.send(encode(sum), false);
}

void NetworkSession::asking(bool open) {
  link_.send(encode(Asking{open}), true);
  link_.poll(0);  // out before the question blocks this side
  if (!open) lastProgressMs_ = clock_();
}

void NetworkSession::leave(Goodbye::Reason reason) {
  link_.send(encode(Goodbye{reason}), true);
  link_.poll(0);  // hands the goodbye to the network
  if (end_ == End::None) {
    end_ = reason == Goodbye::Reason::NotTheSame ? End::NotTheSame : End::ThisSideLeft;
  }
}
