// Two battles in one process, host and guest, over ENet on the loopback address through a bad
// network (delays of 0 to 150 ms, so packets overtake each other; 5 % lost, 5 % twice): after
// thousands of frames of scripted inputs on both sides, every checksum agreed, and both end
// byte for byte where one battle fed the same inputs ends.
#include "flow/network_battle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "net/session.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr uint32_t kFrames = 1500;  // the sanitizer build runs several times slower
#else
constexpr uint32_t kFrames = 10000;
#endif
constexpr int kFrameMs = 16;

// Controls held for spans of frames, different spans on both sides; the host asks for a
// restart now and then.
NetInput scripted(int side, uint32_t frame) {
  uint32_t h = (frame / (side == 0 ? 23 : 17) + 1) * 2654435761u ^ (side + 1) * 40503u;
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  NetInput input = *inputFromByte(static_cast<uint8_t>(h & 0x3F));
  input.restart = side == 0 && frame % 2500 == 2400;
  return input;
}

struct Side {
  Side(int self, int delay, std::unique_ptr<Link> owned, const Welcome& welcome, uint64_t& now)
      : link(std::move(owned)),
        rollback(arena.spiel, self, delay, networkStep(*arena.media)),
        session(*link, rollback, [&now] { return now; }),
        self(self) {
    arena.media->setSilent(true);
    setUpNetworkMatch(arena.spiel, welcome, 3, 6);
  }
  void tick(uint32_t frames) {
    if (rollback.frame() < frames) {
      session.tick(scripted(self, rollback.frame() + rollback.inputDelay()));
    } else {
      session.repeatInputs();
    }
  }
  Arena arena;
  std::unique_ptr<Link> link;
  Rollback rollback;
  NetworkSession session;
  int self;
};

// A host and a guest connected over loopback; the host's welcome went over the reliable
// channel before the bad network starts.
struct Match {
  explicit Match(const ImpairmentSettings& bad, int hostDelay = 2, int guestDelay = 1) {
    std::string error;
    std::unique_ptr<Link> hostLink = Link::listen(0, error);
    EXPECT_TRUE(hostLink) << error;
    std::unique_ptr<Link> guestLink = Link::connect("127.0.0.1", hostLink->port(), error);
    EXPECT_TRUE(guestLink) << error;
    const Welcome welcome = welcomeFor(Arena().spiel, 20261209);
    std::optional<Message> received;
    for (int wait = 0; wait < 500 && !received; ++wait) {
      if (hostLink->poll(5).kind == Link::EventKind::Connected) {
        hostLink->send(encode(welcome), true);
      }
      const Link::Event e = guestLink->poll(5);
      if (e.kind == Link::EventKind::Received) received = decode(e.bytes);
    }
    EXPECT_TRUE(received && std::holds_alternative<Welcome>(*received));
    hostLink->impair(bad, 1, [this] { return now; });
    guestLink->impair(bad, 2, [this] { return now; });
    host = std::make_unique<Side>(0, hostDelay, std::move(hostLink), welcome, now);
    guest = std::make_unique<Side>(1, guestDelay, std::move(guestLink),
                                   std::get<Welcome>(*received), now);
  }
  // One virtual millisecond: both take what arrived, and run a frame every 16.
  void step(uint32_t frames) {
    ++now;
    host->session.pump();
    guest->session.pump();
    if (now % kFrameMs == 0) {
      host->tick(frames);
      guest->tick(frames);
    }
  }
  bool settled(uint32_t frames) const {
    for (const Side* s : {host.get(), guest.get()}) {
      if (s->rollback.frame() < frames || s->rollback.peerFramesKnown() < frames) return false;
    }
    return true;
  }
  uint64_t now = 0;
  std::unique_ptr<Side> host, guest;
};

TEST(NetworkBattle, BothSidesAndOneMachineEndInTheSameBytesThroughABadNetwork) {
  Match match({.delayMs = 0, .jitterMs = 150, .lossPercent = 5, .duplicatePercent = 5});
  const uint64_t limit = uint64_t{kFrames} * kFrameMs * 4;
  while (!match.settled(kFrames) && match.now < limit) match.step(kFrames);
  for (int i = 0; i < 50; ++i) match.step(kFrames);  // the last checksums and corrections
  ASSERT_TRUE(match.settled(kFrames))
      << "frames " << match.host->rollback.frame() << " / " << match.guest->rollback.frame();
  match.host->rollback.correct();
  match.guest->rollback.correct();

  Arena one;
  one.media->setSilent(true);
  setUpNetworkMatch(one.spiel, welcomeFor(Arena().spiel, 20261209), 3, 6);
  const Rollback::Step step = networkStep(*one.media);
  for (uint32_t f = 0; f < kFrames; ++f) {
    step(one.spiel, {f < 2 ? NetInput{} : scripted(0, f), f < 1 ? NetInput{} : scripted(1, f)},
         false);
  }
  const std::vector<uint8_t> expected = stateBytes(one.spiel);
  EXPECT_EQ(stateBytes(match.host->arena.spiel), expected);
  EXPECT_EQ(stateBytes(match.guest->arena.spiel), expected);

  for (const Side* s : {match.host.get(), match.guest.get()}) {
    const Rollback& r = s->rollback;
    EXPECT_FALSE(r.diverged());
    EXPECT_EQ(s->session.end(), NetworkSession::End::None);
    // Most checksums arrive (a lost one is not sent again); plenty of frames were run again.
    EXPECT_GE(r.checksumsCompared(), kFrames / 30 * 8 / 10);
    EXPECT_GT(r.rollbacks(), kFrames / 100);
    std::cout << (s == match.host.get() ? "host" : "guest") << ": " << r.checksumsCompared()
              << " checksums compared, " << r.rollbacks() << " rollbacks, " << r.framesRunAgain()
              << " frames run again\n";
  }
  // Not an idle match: balls are in flight.
  EXPECT_GT(one.spiel.ListeA.size() + one.spiel.ListeB.size(), 10u);
}

TEST(NetworkBattle, LeavingSilenceAndADifferentBattleEndTheMatchOnBothSides) {
  {  // the guest leaves: its goodbye reaches the host
    Match match({});
    for (int i = 0; i < 500; ++i) match.step(100);
    match.guest->session.leave(Goodbye::Reason::Left);
    for (int i = 0; i < 200 && match.host->session.end() == NetworkSession::End::None; ++i) {
      match.host->session.pump(5);
    }
    EXPECT_EQ(match.host->session.end(), NetworkSession::End::PeerLeft);
    EXPECT_STREQ(endMessage(match.host->session.end()),
                 "Der andere Spieler hat die Schlacht verlassen");
  }
  {  // the guest falls silent: after 3 s the host gives up, not before
    Match match({});
    for (int i = 0; i < 500; ++i) match.step(100);
    const uint64_t quiet = match.now;
    while (match.host->session.pump() == NetworkSession::End::None && match.now < quiet + 5000) {
      ++match.now;
    }
    EXPECT_EQ(match.host->session.end(), NetworkSession::End::PeerSilent);
    // Counted from the last packet heard, a few milliseconds before the guest stopped.
    EXPECT_GE(match.now, quiet + NetworkSession::kSilenceMs - 30);
    EXPECT_LE(match.now, quiet + NetworkSession::kSilenceMs + 30);
  }
  {  // the guest's player answers "Beenden" for a long time: the host waits, then the guest
     // says No and falls silent, which ends it after 3 s
    Match match({});
    for (int i = 0; i < 500; ++i) match.step(100);
    match.guest->session.asking(true);
    for (int i = 0; i < 100; ++i) match.step(100);
    const uint64_t asked = match.now;
    while (match.host->session.pump() == NetworkSession::End::None && match.now < asked + 20000) {
      ++match.now;
    }
    EXPECT_EQ(match.host->session.end(), NetworkSession::End::None);
    match.guest->session.asking(false);
    const uint64_t answered = match.now;
    // The answer goes over the reliable channel: real milliseconds for it to arrive first.
    const auto wait = [&] { return match.now < answered + 100 ? 1 : 0; };
    while (match.host->session.pump(wait()) == NetworkSession::End::None &&
           match.now < answered + 5000) {
      ++match.now;
    }
    EXPECT_EQ(match.host->session.end(), NetworkSession::End::PeerSilent);
    EXPECT_GE(match.now, answered + NetworkSession::kSilenceMs);
  }
  {  // the guest's battle is changed behind the rollback's back: both stop at the checksum
    Match match({});
    for (int i = 0; i < 300; ++i) match.step(1000);
    match.guest->arena.spiel.Flotte[0].Health -= 1;
    for (int i = 0; i < 2000 && match.host->session.end() == NetworkSession::End::None; ++i) {
      match.step(1000);
    }
    for (int i = 0; i < 200 && match.guest->session.end() == NetworkSession::End::None; ++i) {
      match.step(1000);
    }
    for (const Side* s : {match.host.get(), match.guest.get()}) {
      EXPECT_EQ(s->session.end(), NetworkSession::End::NotTheSame);
    }
    EXPECT_STREQ(endMessage(NetworkSession::End::NotTheSame), "Spiel nicht mehr gleich");
  }
}

TEST(NetworkBattle, HostilePacketsAreDroppedAndTheMatchPlaysOn) {
  Match match({});
  for (int i = 0; i < 200; ++i) match.step(2000);
  const uint32_t before = match.host->rollback.frame();
  const std::vector<std::vector<uint8_t>> hostile = {
      {},
      {5, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0},            // a frame far in the future
      {5, 10, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0},  // more inputs than a packet carries
      {2, 1, 2, 3},                                 // a welcome cut short
      std::vector<uint8_t>(64, 6),
  };
  for (int round = 0; round < 300; ++round) {  // a flood of them
    for (const auto& bytes : hostile) match.guest->link->send(bytes, round % 2 == 0);
  }
  // The flood takes real time to pass through the loopback; let some go by as well.
  for (int i = 0; i < 20000 && match.host->rollback.frame() - before < 120; ++i) {
    match.step(2000);
    if (i % 4 == 0) match.host->session.pump(1);
  }
  EXPECT_GE(match.host->session.packetsDropped(), 500u);  // the reliable ones at least
  EXPECT_EQ(match.host->session.end(), NetworkSession::End::None);
  EXPECT_GE(match.host->rollback.frame() - before, 120u);
  EXPECT_FALSE(match.host->rollback.diverged() || match.guest->rollback.diverged());
}

}  // namespace
