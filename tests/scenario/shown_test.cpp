// What a frame tells the window about its changes: a window that takes only those shows
// every frame exactly, through sailing, heavy fire, hits and a new match.
#include <gtest/gtest.h>

#include "tests/scenario/arena.h"

namespace {

TEST(Shown, AWindowThatTakesOnlyTheChangesShowsEveryFrame) {
  Arena arena(kEinzelspieler, 3);
  arena.backend->keepFrameCopies(true);
  for (Key key : {Key::W, Key::D, Key::V, Key::B}) arena.halten(key);
  int frames = 0;
  for (int f = 0; f < 400; ++f) {
    if (f == 300) arena.halten(Key::Return);  // a new match
    if (f == 301) arena.halten(Key::Return, false);
    arena.frame();
    ++frames;
    ASSERT_TRUE(arena.backend->patchedFrame().pixels == arena.backend->lastFrame().pixels)
        << "frame " << f;
  }
  // Most frames change in part only, or there would be nothing to save.
  EXPECT_GT(arena.backend->framesChangedInPart(), frames * 9 / 10);
}

}  // namespace
