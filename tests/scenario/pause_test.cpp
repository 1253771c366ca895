// The pause: with P, or while the battle window has lost the keyboard focus.
#include <gtest/gtest.h>

#include "state/katalog.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

// A battle under way: both ships sailing and firing.
Arena Laufend() {
  Arena arena(kZweiSpieler);
  for (Key k : {Key::W, Key::V, Key::Up, Key::Keypad2}) arena.halten(k);
  arena.frames(10);
  return arena;
}

void Tippen(Arena& arena, Key key) {
  arena.halten(key);
  arena.frame();
  arena.halten(key, false);
}

// Frames in which nothing may change: state, sounds, what is on the screen.
void StehtStill(Arena& arena, int frames) {
  const auto zustand = stateBytes(arena.spiel);
  const size_t toene = arena.backend->soundsPlayed().size();
  const int gezeigt = arena.backend->framesPresented();
  const uint64_t geschlafen = arena.backend->sleptMicros();
  arena.frames(frames);
  EXPECT_EQ(stateBytes(arena.spiel), zustand);
  EXPECT_EQ(arena.backend->soundsPlayed().size(), toene);
  EXPECT_LE(arena.backend->framesPresented() - gezeigt, 1);
  EXPECT_GE(arena.backend->sleptMicros() - geschlafen, uint64_t{45000} * frames);
  EXPECT_TRUE(Textbild(637, 200, "Pause", katalog::kErgebnisschrift).gleich(*arena.media));
}

TEST(Pause, PStopsTheBattleWithItsTextAndPResumesIt) {
  Arena arena = Laufend();
  Tippen(arena, Key::P);
  arena.frame();
  StehtStill(arena, 10);
  const double y = arena.spiel.Flotte[0].PosY;
  Tippen(arena, Key::Return);  // no new match either
  EXPECT_EQ(arena.spiel.Flotte[0].PosY, y);
  StehtStill(arena, 1);
  const double x = arena.spiel.Flotte[0].PosX;
  Tippen(arena, Key::P);
  arena.frame();
  EXPECT_NE(arena.spiel.Flotte[0].PosX, x);
  EXPECT_FALSE(Textbild(637, 200, "Pause", katalog::kErgebnisschrift).gleich(*arena.media));
}

TEST(Pause, LosingTheFocusPausesAndRegainingItResumesUnlessPHeldThePause) {
  Arena arena = Laufend();
  arena.backend->setFocus(false);
  StehtStill(arena, 5);
  arena.backend->setFocus(true);
  double x = arena.spiel.Flotte[1].PosX;
  arena.frame();
  EXPECT_NE(arena.spiel.Flotte[1].PosX, x);

  Tippen(arena, Key::P);
  arena.backend->setFocus(false);
  arena.frame();
  arena.backend->setFocus(true);
  StehtStill(arena, 3);  // still paused by P
  Tippen(arena, Key::P);
  x = arena.spiel.Flotte[1].PosX;
  arena.frame();
  EXPECT_NE(arena.spiel.Flotte[1].PosX, x);

  // A window that never had the focus (as at its opening) is not paused.
  Arena ohne(kZweiSpieler);
  ohne.backend->setFocus(false);
  ohne.halten(Key::W);
  ohne.frames(3);
  EXPECT_GT(ohne.spiel.Flotte[0].Tempo, 0.02);
}

TEST(Pause, EscapeStillAsksAndNoKeepsThePause) {
  Arena arena = Laufend();
  Tippen(arena, Key::P);
  arena.frame();
  Tippen(arena, Key::Escape);
  EXPECT_EQ(arena.backend->messages().size(), 0u);
  const int gezeigt = arena.backend->framesPresented();
  EXPECT_FALSE(arena.frame());  // asked, answered No
  EXPECT_EQ(arena.backend->messages().size(), 1u);
  StehtStill(arena, 2);
  EXPECT_EQ(arena.backend->framesPresented(), gezeigt + 1);  // shown again after the box
  arena.backend->queueAnswer(true);
  Tippen(arena, Key::Escape);
  EXPECT_TRUE(arena.frame());
  EXPECT_FALSE(arena.backend->windowOpen());
}

}  // namespace
