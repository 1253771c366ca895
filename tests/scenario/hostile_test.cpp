// Class values no launcher offers but a hand-edited settings file may hold.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gunnery/kugeln.h"
#include "settings/settings_keys.h"
#include "tests/scenario/arena.h"

namespace {

TEST(HostileClasses, WildValuesInAnyFieldNeitherCrashNorLeaveTheFieldOrGrowTheLists) {
  const float inf = std::numeric_limits<float>::infinity();
  const float wild[] = {std::numeric_limits<float>::quiet_NaN(), inf, -inf, 1e30f, -1e30f};
  for (const ClassKey& feld : kClassKeys) {
    for (float wert : wild) {
      Arena arena;
      for (SchiffsTyp& typ : arena.spiel.Schiffstabelle) typ.*feld.field = wert;
      arena.neuAufbauen();
      for (Key k :
           {Key::W, Key::A, Key::V, Key::B, Key::Up, Key::Left, Key::Keypad1, Key::Keypad2}) {
        arena.halten(k);
      }
      constexpr int kFrames = 25;
      arena.frames(kFrames);
      for (int i = 0; i < 2; ++i) {
        const Schiff& s = arena.spiel.Flotte[i];
        EXPECT_TRUE(std::isfinite(s.PosX) && std::isfinite(s.PosY)) << feld.key << " " << wert;
        EXPECT_TRUE(std::isfinite(s.Tempo) && std::isfinite(s.Kurs)) << feld.key << " " << wert;
      }
      // Each battery fires at most one ball per frame.
      EXPECT_LE(arena.spiel.ListeA.size(), 2 * kFrames + 1u) << feld.key << " " << wert;
      EXPECT_LE(arena.spiel.ListeB.size(), 2 * kFrames + 1u) << feld.key << " " << wert;
    }
  }
}

}  // namespace
