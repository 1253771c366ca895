#include "net/rollback.h"

#include <gtest/gtest.h>

#include <vector>

#include "state/snapshot.h"

namespace {

// A stand-in battle: its state is a running hash of every frame's inputs, in order.
struct Toy {
  Spiel spiel;
  int silent = 0;
  Rollback::Step step() {
    return [this](Spiel& s, const std::array<NetInput, 2>& in, bool stumm) {
      silent += stumm;
      const uint32_t h =
          static_cast<uint32_t>(s.Reichweite) * 31u + inputByte(in[0]) * 7u + inputByte(in[1]) + 1u;
      s.Reichweite = static_cast<int32_t>(h);
    };
  }
};

NetInput pressed(int bits) { return *inputFromByte(static_cast<uint8_t>(bits & 0x7F)); }

// What a side that knew every input at once would have.
int32_t straight(const std::vector<std::array<NetInput, 2>>& frames) {
  Toy toy;
  const Rollback::Step step = toy.step();
  for (const auto& f : frames) step(toy.spiel, f, false);
  return toy.spiel.Reichweite;
}

TEST(Rollback, PredictsAtMostEightFramesThenRunsTheMispredictedOnesAgainSilently) {
  Toy toy;
  Rollback host(toy.spiel, 0, 0, toy.step());
  std::vector<std::array<NetInput, 2>> real;
  for (int f = 0; f < 8; ++f) {
    ASSERT_TRUE(host.canRun()) << f;
    host.addLocalInput(pressed(f));
    ASSERT_TRUE(host.runFrame());
    real.push_back({pressed(f), f < 3 ? NetInput{} : pressed(0x10)});
  }
  EXPECT_FALSE(host.canRun());
  EXPECT_FALSE(host.runFrame());
  // The guest's inputs arrive: as predicted up to frame 2, then different.
  Inputs guest{7, {}};
  for (int f = 0; f < 8; ++f) guest.inputs.push_back(real[f][1]);
  ASSERT_TRUE(host.receive(guest));
  EXPECT_TRUE(host.canRun());
  host.correct();
  EXPECT_EQ(host.rollbacks(), 1u);
  EXPECT_EQ(host.framesRunAgain(), 5u);
  EXPECT_EQ(toy.silent, 5);
  EXPECT_EQ(toy.spiel.Reichweite, straight(real));
  // From now on the guest's last input is the guess: right, so nothing is run again.
  host.addLocalInput(pressed(1));
  host.runFrame();
  host.receive({8, {pressed(0x10)}});
  host.correct();
  EXPECT_EQ(host.rollbacks(), 1u);
}

TEST(Rollback, RefusesFramesNoHonestPeerSendsYetAndTakesRepeatsOnce) {
  Toy toy;
  Rollback guest(toy.spiel, 1, 2, toy.step());
  EXPECT_FALSE(guest.receive({1000, {NetInput{}}}));
  EXPECT_FALSE(guest.receive({0xFFFFFFFF, {NetInput{}}}));
  EXPECT_FALSE(guest.receive({Rollback::kPeerLead, {NetInput{}}}));
  EXPECT_FALSE(guest.receive({0, {NetInput{}}, 1}));  // acknowledges an input never made
  EXPECT_EQ(guest.peerFramesKnown(), 0u);
  Toy other;
  Rollback edge(other.spiel, 1, 2, other.step());
  EXPECT_TRUE(edge.receive({Rollback::kPeerLead - 1, {NetInput{}}}));
  EXPECT_TRUE(guest.receive({2, {NetInput{}, NetInput{}, NetInput{}}}));
  EXPECT_TRUE(guest.receive({2, {pressed(1), pressed(1), pressed(1)}}));  // a repeat
  EXPECT_EQ(guest.peerFramesKnown(), 3u);
  // Its own inputs go out for frames delay ahead, the frames before run with none.
  const Inputs sent = guest.addLocalInput(pressed(5));
  EXPECT_EQ(sent.lastFrame, 2u);
  EXPECT_EQ(sent.inputs, (std::vector<NetInput>{NetInput{}, NetInput{}, pressed(5)}));
}

TEST(Rollback, InputsGoOutAgainFromTheFirstThePeerHasNotAcknowledged) {
  Toy a, b;
  Rollback host(a.spiel, 0, 2, a.step()), guest(b.spiel, 1, 1, b.step());
  // None of the host's packets arrives: the guest stops after its prediction window, the host
  // once it has run that far past the guest's inputs.
  for (int f = 0; f < 40; ++f) {
    if (host.canRun()) host.addLocalInput(pressed(f));
    host.runFrame();
    if (guest.canRun()) host.receive(guest.addLocalInput(pressed(f * 5)));
    guest.runFrame();
  }
  EXPECT_EQ(guest.frame(), uint32_t{Rollback::kMaxPredicted});
  const Inputs resent = host.pendingInputs();
  EXPECT_EQ(resent.lastFrame + 1, resent.inputs.size());  // from frame 0, all of them
  EXPECT_GT(resent.inputs.size(), 16u);
  ASSERT_TRUE(guest.receive(resent));
  EXPECT_EQ(guest.peerFramesKnown(), resent.lastFrame + 1);
  // The guest's next packet acknowledges them: only the newest goes out again.
  ASSERT_TRUE(host.receive(guest.pendingInputs()));
  EXPECT_EQ(host.acknowledgedByPeer(), resent.lastFrame + 1);
  EXPECT_EQ(host.pendingInputs().inputs.size(), 1u);
  for (int f = 0; f < 60; ++f) {
    guest.receive(host.addLocalInput(pressed(f + 3)));
    host.receive(guest.addLocalInput(pressed(f * 7)));
    host.runFrame();
    guest.runFrame();
  }
  for (int f = 0; f < 40; ++f) {  // both up to frame 100, every input known
    guest.receive(host.pendingInputs());
    host.receive(guest.pendingInputs());
    for (Rollback* r : {&host, &guest}) {
      if (r->frame() < 100) {
        r->addLocalInput({});
        r->runFrame();
      }
    }
  }
  host.correct();
  guest.correct();
  EXPECT_EQ(host.frame(), guest.frame());
  EXPECT_EQ(a.spiel.Reichweite, b.spiel.Reichweite);
}

TEST(Rollback, ChecksumsOfTheSameFramesAgreeUntilTheBattlesDiffer) {
  Toy a, b;
  Rollback host(a.spiel, 0, 2, a.step()), guest(b.spiel, 1, 1, b.step());
  const auto exchange = [&] {
    for (const Checksum& c : host.takeChecksums()) guest.peerChecksum(c);
    for (const Checksum& c : guest.takeChecksums()) host.peerChecksum(c);
  };
  for (int f = 0; f < 100; ++f) {
    guest.receive(host.addLocalInput(pressed(f)));
    host.receive(guest.addLocalInput(pressed(f * 3)));
    host.runFrame();
    guest.runFrame();
    exchange();
  }
  EXPECT_EQ(host.checksumsCompared(), 4u);  // frames 0, 30, 60 and 90
  EXPECT_FALSE(host.diverged() || guest.diverged());
  b.spiel.Flotte[1].Health -= 1;
  for (int f = 0; f < 30; ++f) {
    guest.receive(host.addLocalInput({}));
    host.receive(guest.addLocalInput({}));
    host.runFrame();
    guest.runFrame();
    exchange();
  }
  EXPECT_TRUE(host.diverged() && guest.diverged());
  // Checksums that agree again later do not make the difference undone.
  b.spiel.Flotte[1].Health += 1;
  for (int f = 0; f < 60; ++f) {
    guest.receive(host.addLocalInput({}));
    host.receive(guest.addLocalInput({}));
    host.runFrame();
    guest.runFrame();
    exchange();
  }
  EXPECT_GE(host.checksumsCompared(), 7u);
  EXPECT_TRUE(host.diverged() && guest.diverged());
}

}  // namespace
