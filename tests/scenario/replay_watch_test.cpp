// Watching a kept replay: jumps land where playing through lands, and the window's keys steer
// the replay, never the battle.
#include "flow/replay_watch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

Replay kept(const std::string& name) {
  std::ifstream in(std::string(KF_SOURCE_DIR) + "/tests/replays/" + name, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  return readReplay(bytes, true).replay.value_or(Replay{});
}

// The state's checksum after every frame, played straight through.
std::vector<uint64_t> playedThrough(const Replay& replay) {
  Arena arena;
  arena.media->setSilent(true);
  ReplayTimeline timeline(replay, arena.spiel);
  std::vector<uint64_t> sums = {stateChecksum(arena.spiel)};
  while (!timeline.atEnd()) {
    timeline.step(*arena.media);
    sums.push_back(stateChecksum(arena.spiel));
  }
  return sums;
}

TEST(ReplayWatch, JumpsLandOnTheStatePlayingThroughReaches) {
  for (const char* name : {"einzelspieler.kfr", "zwei_spieler.kfr"}) {
    const Replay replay = kept(name);
    ASSERT_GT(replay.inputs.size(), 3 * kReplayJump) << name;
    const std::vector<uint64_t> sums = playedThrough(replay);
    const auto end = static_cast<uint32_t>(replay.inputs.size());
    Arena arena;
    ReplayTimeline timeline(replay, arena.spiel);
    // Forth past every copy kept so far, back onto and beside copies, to both ends.
    for (const uint32_t target : {2 * kReplayJump + 7, kReplayCopyEvery, kReplayCopyEvery - 1, end,
                                  1u, end - 1, 0u, kReplayJump, kReplayJump + 1, end + 5}) {
      timeline.seek(*arena.media, target);
      const uint32_t at = std::min(target, end);
      EXPECT_EQ(timeline.frame(), at) << name;
      EXPECT_EQ(stateChecksum(arena.spiel), sums[at]) << name << " at " << target;
    }
    EXPECT_EQ(arena.backend->framesPresented(), 0) << "a jump is silent";
  }
}

class ViewerTest : public ::testing::Test {
 protected:
  Replay replay = kept("zwei_spieler.kfr");
  std::vector<uint64_t> sums = playedThrough(replay);
  Arena arena;
  ReplayViewer viewer{replay, arena.spiel};

  // Presses and releases the key over two turns.
  void tap(Key key) {
    arena.halten(key);
    ASSERT_TRUE(viewer.turn(*arena.media));
    arena.halten(key, false);
    ASSERT_TRUE(viewer.turn(*arena.media));
  }
  void turns(int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(viewer.turn(*arena.media));
  }
  bool captionShown(const std::string& text) { return Textbild(10, 10, text).gleich(*arena.media); }
};

// What the battle showed and played, frame by frame, when it ran with these controls.
struct Played {
  explicit Played(const Replay& replay, uint32_t frames) {
    ReplayTimeline timeline(replay, arena.spiel);
    while (timeline.frame() < frames) timeline.step(*arena.media);
  }
  Arena arena;
};

TEST_F(ViewerTest, ThePlayersKeysAndPadsSteerNothingAndTheBattleIsSeenAndHeardAsItWas) {
  for (const Key k : {Key::W, Key::A, Key::V, Key::Up, Key::Left, Key::Keypad2, Key::Return})
    arena.halten(k);
  PadState pad;
  pad.steuerung.Beschleunigen = pad.steuerung.FeuerRechts = true;
  pad.start = true;
  arena.backend->setPads({pad, pad});
  turns(300);
  EXPECT_EQ(viewer.timeline().frame(), 300u);
  EXPECT_EQ(stateChecksum(arena.spiel), sums[300]);
  EXPECT_TRUE(captionShown("Wiederholung 1x"));
  const Played battle(replay, 300);
  EXPECT_FALSE(battle.arena.backend->soundsPlayed().empty());
  EXPECT_EQ(arena.backend->soundsPlayed(), battle.arena.backend->soundsPlayed());
  int differing = 0;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = y < 40 ? 300 : 0; x < kScreenWidth; ++x)  // beside the caption
      differing += arena.media->pixel(x, y) != battle.arena.media->pixel(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(ViewerTest, SpeedPauseJumpsAndEscape) {
  struct Step {
    Key key;
    int64_t moved;  // frames over the tap's two turns
    const char* caption;
  };
  const Step steps[] = {
      {Key::Four, 1 + 4, "Wiederholung 4x"},
      {Key::Two, 4 + 2, "Wiederholung 2x"},
      {Key::P, 2, "Wiederholung (Pause)"},
      {Key::ArrowRight, kReplayJump, "Wiederholung (Pause)"},
      {Key::ArrowLeft, -static_cast<int64_t>(kReplayJump), "Wiederholung (Pause)"},
      {Key::One, 0, "Wiederholung (Pause)"},
      {Key::P, 1, "Wiederholung 1x"},
  };
  turns(100);
  for (const Step& step : steps) {
    const int64_t before = viewer.timeline().frame();
    tap(step.key);
    const uint32_t at = viewer.timeline().frame();
    EXPECT_EQ(at - before, step.moved) << step.caption;
    EXPECT_EQ(viewer.caption(), step.caption);
    EXPECT_TRUE(captionShown(step.caption)) << step.caption;
    EXPECT_EQ(stateChecksum(arena.spiel), sums[at]) << step.caption;
    if (step.key == Key::Two) {  // the frames 4x and 2x did not draw were heard all the same
      EXPECT_EQ(arena.backend->soundsPlayed(), Played(replay, at).arena.backend->soundsPlayed());
    }
  }
  arena.halten(Key::Escape);
  turns(1);
  arena.halten(Key::Escape, false);
  EXPECT_FALSE(viewer.turn(*arena.media));
  EXPECT_FALSE(arena.backend->windowOpen());
}

TEST_F(ViewerTest, TheEndStandsStillUntilAJumpBack) {
  tap(Key::P);
  tap(Key::ArrowRight);
  const uint32_t end = viewer.timeline().frames();
  while (viewer.timeline().frame() + kReplayJump < end) tap(Key::ArrowRight);
  tap(Key::P);
  turns(static_cast<int>(end));
  EXPECT_EQ(viewer.timeline().frame(), end);
  EXPECT_TRUE(captionShown("Wiederholung (Ende)"));
  EXPECT_EQ(stateChecksum(arena.spiel), sums[end]);
  tap(Key::ArrowLeft);
  EXPECT_EQ(viewer.timeline().frame(), end - kReplayJump + 1);  // and playing on
}

}  // namespace
