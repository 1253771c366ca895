// Two battles in one process, host and guest, over ENet on the loopback address through a bad
// network (delays of 0 to 150 ms, so packets overtake each other; 5 % lost, 5 % twice): after
// thousands of frames of scripted inputs on both sides, every checksum agreed, and both end
// byte for byte where one battle fed the same inputs ends.
#include "flow/network_battle.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "flow/start_record.h"
#include "net/impairment.h"
#include "net/session.h"
#include "state/katalog.h"
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

// One computer: its battle (which may have played before) and its side of the match.
struct Side {
  Side(int self, int delay, std::unique_ptr<Link> owned, const Welcome& welcome, uint64_t& now,
       std::unique_ptr<Arena> played, bool audible)
      : computer(played ? std::move(played) : std::make_unique<Arena>()),
        arena(*computer),
        link(std::move(owned)),
        sounds(*arena.media),
        rollback(arena.spiel, self, delay, sounds.step()),
        session(*link, rollback, [&now] { return now; }),
        self(self) {
    rollback.watchFrames(sounds.watcher());
    arena.media->setSilent(!audible);
    setUpNetworkMatch(arena.spiel, welcome, 3, 6);
  }
  void tick(uint32_t frames) {
    if (rollback.frame() < frames) {
      session.tick(script(self, rollback.frame() + rollback.inputDelay()));
    } else {
      session.repeatInputs();
    }
  }
  std::unique_ptr<Arena> computer;
  Arena& arena;
  std::unique_ptr<Link> link;
  FrameSounds sounds;
  Rollback rollback;
  NetworkSession session;
  int self;
  NetInput (*script)(int, uint32_t) = scripted;
};

// A host and a guest connected over loopback; the host's welcome went over the reliable
// channel before the bad network starts.
struct Setup {
  int hostDelay = 2, guestDelay = 1;
  std::unique_ptr<Arena> hostPlayed, guestPlayed;  // computers that played before
  std::optional<Welcome> welcome;                  // other than the default classes
  bool audible = false;                            // drawn and heard (slower)
  NetInput (*script)(int side, uint32_t frame) = scripted;
};

struct Match {
  explicit Match(const ImpairmentSettings& bad, Setup setup = {}) {
    std::string error;
    std::unique_ptr<Link> hostLink = Link::listen(0, error);
    EXPECT_TRUE(hostLink) << error;
    std::unique_ptr<Link> guestLink = Link::connect("127.0.0.1", hostLink->port(), error);
    EXPECT_TRUE(guestLink) << error;
    const Welcome welcome = setup.welcome.value_or(welcomeFor(Arena().spiel, 20261209));
    std::optional<Message> received;
    for (int wait = 0; wait < 500 && !received; ++wait) {
      if (hostLink->poll(5).kind == Link::EventKind::Connected) {
        hostLink->send(encode(welcome), true);
      }
      const Link::Event e = guestLink->poll(5);
      if (e.kind == Link::EventKind::Received) received = decode(e.bytes);
    }
    EXPECT_TRUE(received && std::holds_alternative<Welcome>(*received));
    impair(*hostLink, bad, 1, [this] { return now; });
    impair(*guestLink, bad, 2, [this] { return now; });
    host = std::make_unique<Side>(0, setup.hostDelay, std::move(hostLink), welcome, now,
                                  std::move(setup.hostPlayed), setup.audible);
    guest = std::make_unique<Side>(1, setup.guestDelay, std::move(guestLink),
                                   std::get<Welcome>(*received), now, std::move(setup.guestPlayed),
                                   setup.audible);
    host->script = guest->script = setup.script;
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
  // Runs until both sides ran `frames` frames and know each other's inputs for them (or a
  // minute of play went by).
  void play(uint32_t frames) {
    const uint64_t limit = now + 60000;
    while (!settled(frames) && now < limit) step(frames);
    for (int i = 0; i < 50; ++i) step(frames);  // the last checksums and corrections
    host->rollback.correct();
    guest->rollback.correct();
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

// The host's player fights local battles first (of each mode, with fire, a restart, and the
// last left paused): the network match starts as on a fresh computer, and so does a rematch.
TEST(NetworkBattle, LocalBattlesBeforeAndARematchChangeNothing) {
  auto played = std::make_unique<Arena>(kEinzelspieler, 3, 11);
  played->media->setSilent(true);
  for (const int32_t mode : {kEinzelspieler, kZweiSpieler}) {
    played->spiel.SpielModus = mode;
    played->spiel.Gegneranzahl = mode == kEinzelspieler ? 3 : 1;
    startBattle(played->spiel, localStartRecord(played->spiel));
    for (Key k : {Key::W, Key::A, Key::V, Key::B, Key::Keypad1}) played->halten(k);
    played->frames(200);
    played->halten(Key::Return);
    played->frame();
    played->halten(Key::Return, false);
    played->frames(100);
  }
  played->halten(Key::P);
  played->frame();
  played->halten(Key::P, false);
  played->frame();
  ASSERT_TRUE(played->spiel.Pause.Taste);
  for (Key k : {Key::W, Key::A, Key::V, Key::B, Key::Keypad1}) played->halten(k, false);

  std::unique_ptr<Arena> host = std::move(played), guest;
  for (int match = 0; match < 2; ++match) {
    Match m({.delayMs = 30, .jitterMs = 30},
            {.hostPlayed = std::move(host), .guestPlayed = std::move(guest)});
    m.play(600);
    ASSERT_TRUE(m.settled(600)) << "match " << match;
    EXPECT_EQ(stateBytes(m.host->arena.spiel), stateBytes(m.guest->arena.spiel)) << match;
    EXPECT_FALSE(m.host->rollback.diverged() || m.guest->rollback.diverged()) << match;
    host = std::move(m.host->computer);
    guest = std::move(m.guest->computer);
  }
}

// Each side taps its port battery now and then: the other learns of the shot late, after
// guessing no shot. Slow batteries keep a guess that still fires from firing again.
NetInput tapping(int side, uint32_t frame) {
  NetInput input = scripted(side, frame);
  input.steuerung.FeuerLinks = frame % 40 == static_cast<uint32_t>(side) * 20;
  input.steuerung.FeuerRechts = false;
  input.restart = false;
  return input;
}

TEST(NetworkBattle, With80msDelayEachSideHearsEachShotOnce) {
  Welcome welcome = welcomeFor(Arena().spiel, 20261209);
  for (SchiffsTyp& typ : welcome.schiffstabelle) typ.SchussTempo = 30;
  constexpr uint32_t kFrames = 600;
  Match match({.delayMs = 80}, {.welcome = welcome, .audible = true, .script = tapping});
  match.play(kFrames);
  ASSERT_TRUE(match.settled(kFrames));

  Arena one;
  setUpNetworkMatch(one.spiel, welcome, 3, 6);
  const Rollback::Step step = networkStep(*one.media);
  for (uint32_t f = 0; f < kFrames; ++f) {
    step(one.spiel, {f < 2 ? NetInput{} : tapping(0, f), f < 1 ? NetInput{} : tapping(1, f)},
         false);
  }
  const int shots = one.toene(katalog::kSchussTon);
  EXPECT_GE(shots, 25);
  EXPECT_EQ(match.host->arena.toene(katalog::kSchussTon), shots);
  EXPECT_EQ(match.guest->arena.toene(katalog::kSchussTon), shots);
}

// Both sides run on through outages shorter than the 3 s time-out and agree afterwards; a
// longer one ends both with the message, about 3 s after the last frame heard.
TEST(NetworkBattle, OutagesShorterThanTheTimeOutLoseNoFrameALongerOneEndsBoth) {
  constexpr uint64_t kFrom = 2000;
  for (const uint64_t outage : {200, 500, 1000, 2500, 4000}) {
    Match match({.delayMs = 20, .jitterMs = 20, .outages = {{kFrom, outage}}});
    if (outage < NetworkSession::kSilenceMs) {
      match.play(500);
      ASSERT_TRUE(match.settled(500)) << outage;
      EXPECT_EQ(stateBytes(match.host->arena.spiel), stateBytes(match.guest->arena.spiel));
      for (const Side* s : {match.host.get(), match.guest.get()}) {
        EXPECT_EQ(s->session.end(), NetworkSession::End::None) << outage;
      }
      std::cout << "outage of " << outage << " ms survived\n";
      continue;
    }
    std::array<uint64_t, 2> ended{};
    while ((ended[0] == 0 || ended[1] == 0) && match.now < kFrom + 10000) {
      match.step(100000);
      for (int i : {0, 1}) {
        const Side& s = i == 0 ? *match.host : *match.guest;
        if (ended[i] == 0 && s.session.end() != NetworkSession::End::None) ended[i] = match.now;
      }
    }
    for (int i : {0, 1}) {
      const Side& s = i == 0 ? *match.host : *match.guest;
      EXPECT_EQ(s.session.end(), NetworkSession::End::PeerSilent) << i;
      EXPECT_GE(ended[i], kFrom + NetworkSession::kSilenceMs - 100) << i;
      EXPECT_LE(ended[i], kFrom + 5000) << i;
      std::cout << (i == 0 ? "host" : "guest") << ": outage of " << outage << " ms, message after "
                << ended[i] - kFrom << " ms\n";
    }
  }
}

TEST(NetworkBattle, LeavingSilenceAndNoProgressEndTheMatch) {
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
  // The guest still sends, but nothing new: its inputs again, or inputs of frames far ahead
  // that are refused. Neither is progress: after 3 s the host gives up.
  for (const bool refused : {false, true}) {
    Match match({});
    for (int i = 0; i < 500; ++i) match.step(100);
    const uint64_t stuck = match.now;
    while (match.host->session.pump() == NetworkSession::End::None && match.now < stuck + 5000) {
      if (++match.now % 16 != 0) continue;
      if (refused) {
        Inputs ahead = match.guest->rollback.pendingInputs();
        ahead.lastFrame += 1000;
        match.guest->link->send(encode(ahead), false);
      } else {
        match.guest->session.repeatInputs();
      }
      match.host->session.repeatInputs();
    }
    EXPECT_EQ(match.host->session.end(), NetworkSession::End::PeerSilent) << refused;
    EXPECT_GE(match.now, stuck + NetworkSession::kSilenceMs - 30) << refused;
    EXPECT_LE(match.now, stuck + NetworkSession::kSilenceMs + 30) << refused;
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
}

// The guest's battle is changed behind the rollback's back: the host's state heals it once
// and the match plays on; a second difference within 10 s ends both.
TEST(NetworkBattle, ADifferenceHealsOnceAndASecondSoonAfterEndsBoth) {
  Match match({.delayMs = 20, .jitterMs = 20});
  for (int i = 0; i < 2000; ++i) match.step(3000);
  match.guest->arena.spiel.Flotte[0].Health -= 1;
  match.play(500);
  ASSERT_TRUE(match.settled(500));
  for (const Side* s : {match.host.get(), match.guest.get()}) {
    EXPECT_EQ(s->session.end(), NetworkSession::End::None);
    EXPECT_EQ(s->rollback.heals(), 1);
  }
  EXPECT_EQ(stateBytes(match.host->arena.spiel), stateBytes(match.guest->arena.spiel));

  match.guest->arena.spiel.Flotte[1].Health -= 1;
  const uint64_t changed = match.now;
  while ((match.host->session.end() == NetworkSession::End::None ||
          match.guest->session.end() == NetworkSession::End::None) &&
         match.now < changed + 5000) {
    match.step(100000);
  }
  for (const Side* s : {match.host.get(), match.guest.get()}) {
    EXPECT_EQ(s->session.end(), NetworkSession::End::NotTheSame);
  }
  EXPECT_STREQ(endMessage(NetworkSession::End::NotTheSame), "Spiel nicht mehr gleich");
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

  // A flood of well-formed packets: beyond a battle's worth a second they are dropped too.
  const uint64_t droppedBefore = match.host->session.packetsDropped();
  const std::vector<uint8_t> valid = encode(match.guest->rollback.pendingInputs());
  for (int i = 0; i < 1500; ++i) match.guest->link->send(valid, true);
  for (int i = 0; i < 400; ++i) {
    match.step(2000);
    match.host->session.pump(1);
  }
  EXPECT_GE(match.host->session.packetsDropped() - droppedBefore, 900u);
  EXPECT_EQ(match.host->session.end(), NetworkSession::End::None);
}

}  // namespace
