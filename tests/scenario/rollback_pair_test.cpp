// Two battles in one process, host and guest, each with its rollback, handing each other their
// inputs directly but late by 0 to 6 frames, so that both mispredict and go back again and
// again. Turns of 0.7345 degrees give many headings between whole degrees; on some of them the
// C library's sine differs between processors (this battle ended elsewhere when glibc was told
// to take its path for processors without FMA and AVX2). After 10,000 frames every checksum agreed
// and both end on the recorded state: on every processor (ctest runs this again on glibc's other
// path).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>

#include "flow/network_battle.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

constexpr uint32_t kFrames = 10000;
constexpr uint64_t kRecorded = 0xf033d65bf0c4b43d;

uint32_t mixed(uint32_t h) {
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  return h;
}

// Controls held for spans of frames, different spans on both sides (turning often, firing
// often); the host asks for a restart now and then.
NetInput scripted(int side, uint32_t frame) {
  const uint32_t h = mixed((frame / (side == 0 ? 19 : 13) + 1) * 2654435761u ^ (side + 1) * 40503u);
  NetInput input = *inputFromByte(static_cast<uint8_t>(h & 0x3F));
  input.restart = side == 0 && frame % 2500 == 2400;
  return input;
}

struct Unterwegs {
  uint32_t ankunft;  // the tick it arrives in
  Inputs inputs;
};

struct Seite {
  Seite(int self, int delay, const Welcome& welcome)
      : rollback(arena.spiel, self, delay, networkStep(*arena.media)), self(self) {
    arena.media->setSilent(true);
    setUpNetworkMatch(arena.spiel, welcome, 3, 6);
  }
  Arena arena;
  Rollback rollback;
  int self;
  std::deque<Unterwegs> eingang;  // the peer's packets on their way here
};

TEST(RollbackPair, TenThousandFramesWithLateInputsEndOnTheRecordedStateOnBothSides) {
  Arena gastgeber;
  for (SchiffsTyp& typ : gastgeber.spiel.Schiffstabelle) typ.Manoevrierfaehigkeit = 0.7345f;
  const Welcome welcome = welcomeFor(gastgeber.spiel, 20261209);
  auto host = std::make_unique<Seite>(0, 2, welcome);
  auto guest = std::make_unique<Seite>(1, 1, welcome);
  Seite* seiten[2] = {host.get(), guest.get()};

  for (uint32_t tick = 0; tick < kFrames * 2; ++tick) {
    bool fertig = true;
    for (Seite* s : seiten) {
      Seite& peer = *seiten[1 - s->self];
      while (!s->eingang.empty() && s->eingang.front().ankunft <= tick) {
        s->rollback.receive(s->eingang.front().inputs);
        s->eingang.pop_front();
      }
      if (s->rollback.frame() < kFrames && s->rollback.canRun()) {
        const uint32_t frame = s->rollback.frame();
        const Inputs packet =
            s->rollback.addLocalInput(scripted(s->self, frame + s->rollback.inputDelay()));
        // Late by 0 to 6 frames, in order (a packet never overtakes the one before).
        const uint32_t spaet = mixed(frame * 7919u + s->self) % 7;
        const uint32_t ankunft = peer.eingang.empty()
                                     ? tick + spaet
                                     : std::max(tick + spaet, peer.eingang.back().ankunft);
        peer.eingang.push_back({ankunft, packet});
        s->rollback.runFrame();
      }
      for (const Checksum& c : s->rollback.takeChecksums()) peer.rollback.peerChecksum(c);
      fertig &= s->rollback.frame() >= kFrames && s->eingang.empty();
    }
    if (fertig) break;
  }
  for (Seite* s : seiten) {
    s->rollback.correct();
    for (const Checksum& c : s->rollback.takeChecksums())
      seiten[1 - s->self]->rollback.peerChecksum(c);
  }

  for (const Seite* s : seiten) {
    const Rollback& r = s->rollback;
    ASSERT_EQ(r.frame(), kFrames);
    ASSERT_GE(r.peerFramesKnown(), kFrames);
    EXPECT_FALSE(r.diverged()) << s->self;
    EXPECT_GE(r.checksumsCompared(), kFrames / Rollback::kChecksumEvery - 1);
    EXPECT_GT(r.rollbacks(), kFrames / 40);
  }
  const uint64_t sum = stateChecksum(host->arena.spiel);
  EXPECT_EQ(stateBytes(host->arena.spiel), stateBytes(guest->arena.spiel));
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(sum));
  EXPECT_EQ(sum, kRecorded) << "the state's checksum is now 0x" << text;
  // Not an idle match: both ships moved and balls are in flight.
  EXPECT_GT(host->arena.spiel.ListeA.size() + host->arena.spiel.ListeB.size(), 10u);
}

}  // namespace
