// Broadside firing: rate, reloading, the balls' starting point, smoke, flame and sound.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "basis/rounding.h"
#include "gunnery/batterie.h"
#include "gunnery/kugeln.h"
#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

// The frames, counted from 0, in which battery `seite` of ship 0 fired while `taste` was held.
std::vector<int> Schussfolge(Arena& arena, Key taste, int frames) {
  arena.halten(taste);
  std::vector<int> folge;
  for (int f = 0; f < frames; ++f) {
    const int vorher = arena.toene(katalog::kSchussTon);
    arena.frame();
    if (arena.toene(katalog::kSchussTon) > vorher) folge.push_back(f);
  }
  return folge;
}

std::vector<int> AlleNFrames(int n, int anzahl) {
  std::vector<int> folge;
  for (int i = 0; i < anzahl; ++i) folge.push_back(i * n);
  return folge;
}

TEST(Broadside, AHeldKeyFiresFortyBallsEveryFourFramesThenFallsSilent) {
  Arena arena;
  EXPECT_EQ(Schussfolge(arena, Key::V, 240), AlleNFrames(4, 40));
  const Schiff& s = arena.spiel.Flotte[0];
  EXPECT_EQ(s.KanonenLinks, 0.0f);  // held: no reloading
  EXPECT_EQ(s.KanonenRechts, 40.0f);
  for (const auto& [ton, lautstaerke] : arena.backend->soundsPlayed()) {
    EXPECT_EQ(lautstaerke, 20);
  }
  // Let go for one frame: 0.15 guns; that fraction fires one more ball, leaving -0.85.
  arena.halten(Key::V, false);
  arena.frame();
  EXPECT_FLOAT_EQ(s.KanonenLinks, 0.15f);
  EXPECT_EQ(Schussfolge(arena, Key::V, 20), std::vector<int>{0});
  EXPECT_FLOAT_EQ(s.KanonenLinks, -0.85f);
}

TEST(Broadside, TheShotPauseIsCountedInFramesWhateverSchussTempoHolds) {
  struct Fall {
    float schussTempo;
    int abstand;
  };
  for (const Fall& fall : {Fall{4.5f, 5}, Fall{0.5f, 1}, Fall{0.0f, 1}, Fall{-3.0f, 1}}) {
    Arena arena;
    arena.spiel.Schiffstabelle[0].SchussTempo = fall.schussTempo;
    EXPECT_EQ(Schussfolge(arena, Key::B, 40), AlleNFrames(fall.abstand, 40 / fall.abstand))
        << fall.schussTempo;
  }
  Arena arena;
  arena.spiel.Schiffstabelle[0].SchussTempo = 4.5f;
  arena.halten(Key::V);
  arena.frame();
  const float erwartet[] = {3.5f, 2.5f, 1.5f, 0.5f, -0.5f};
  for (float pause : erwartet) {
    EXPECT_EQ(arena.spiel.Flotte[0].PauseLinks, pause);
    arena.halten(Key::V, false);
    arena.frame();
  }
}

TEST(Broadside, ABatteryReloadsOnlyWhileNotOrderedAndMayEndAboveItsCount) {
  Arena arena;
  Schiff& s = arena.spiel.Flotte[0];
  s.KanonenLinks = 39.9f;
  arena.frames(5);
  EXPECT_FLOAT_EQ(s.KanonenLinks, 40.05f);
  EXPECT_EQ(s.KanonenRechts, 40.0f);

  // Waiting for its pause under orders it does not reload either.
  s.KanonenRechts = 10;
  s.PauseRechts = 3;
  arena.halten(Key::B);
  arena.frames(2);
  EXPECT_EQ(s.KanonenRechts, 10.0f);

  // No guns, or no reload rate: never fires, never reloads.
  Arena leer;
  leer.spiel.Schiffstabelle[0].KanonenAnzahl = 0;
  leer.spiel.Schiffstabelle[0].Nachladezeit = 0.15f;
  leer.neuAufbauen();
  EXPECT_TRUE(Schussfolge(leer, Key::V, 10).empty());
  leer.halten(Key::V, false);
  leer.frames(10);
  EXPECT_EQ(leer.spiel.Flotte[0].KanonenLinks, 0.0f);
}

TEST(Broadside, ABallLeavesFromTheMuzzleLineAtRightAnglesWithSmokeAndFlame) {
  Arena arena, ohneSchuss;
  arena.frame();  // the muzzle offsets used in the next frame are drawn at the end of this one
  ohneSchuss.frame();
  const Spiel& spiel = arena.spiel;
  const Schiff& s = spiel.Flotte[0];
  const double kurs = 50 * std::numbers::pi / 180;
  EXPECT_DOUBLE_EQ(spiel.Muendungsversatz[0][0][0], std::sin(kurs) * spiel.Schussversatz[0]);
  EXPECT_DOUBLE_EQ(spiel.Muendungsversatz[0][0][1], -std::cos(kurs) * spiel.Schussversatz[0]);
  const double x = s.PosX + 67 + spiel.Muendungsversatz[0][0][0];
  const double y = s.PosY + 67 + spiel.Muendungsversatz[0][0][1];

  arena.halten(Key::V);
  arena.backend->keepFrameCopies(true);
  ohneSchuss.backend->keepFrameCopies(true);
  arena.frame();
  ohneSchuss.frame();
  ASSERT_EQ(spiel.ListeA.size(), 2u);
  const Kugel& k = spiel.ListeA[1];
  EXPECT_EQ(k.Tempo, 5.0);
  EXPECT_EQ(k.Seite, 1);
  EXPECT_EQ(k.Kurs, 50);
  // Its first step is made in the frame it is fired: to the left of heading 50.
  EXPECT_NEAR(k.PosX, x - 5 * std::cos(kurs), 1e-9);
  EXPECT_NEAR(k.PosY, y - 5 * std::sin(kurs), 1e-9);
  EXPECT_EQ(k.Alter, 1);

  // Smoke, flame and ball change the picture only around the rounded firing point (the
  // flame turned about its centre, 7 pixels right of and below it); the battery bar apart.
  const int px = roundToInt(x), py = roundToInt(y);
  const Image& mit = arena.backend->lastFrame();
  const Image& ohne = ohneSchuss.backend->lastFrame();
  int anders = 0;
  for (int py2 = 0; py2 < 1030; ++py2) {
    for (int px2 = 0; px2 < kScreenWidth; ++px2) {
      if (mit.at(px2, py2) == ohne.at(px2, py2)) continue;
      ++anders;
      EXPECT_LE(std::hypot(px2 - (px + 7), py2 - (py + 7)), 39) << px2 << "," << py2;
    }
  }
  EXPECT_GT(anders, 20);
}

TEST(Broadside, BothBatteriesFireInTheSameFramePortFirstAndShipsShareTheOffsets) {
  Arena arena(kZweiSpieler);
  arena.frame();
  for (Key k : {Key::V, Key::B, Key::Keypad1}) arena.halten(k);
  arena.frame();
  const Spiel& spiel = arena.spiel;
  ASSERT_EQ(spiel.ListeA.size(), 3u);
  ASSERT_EQ(spiel.ListeB.size(), 2u);
  EXPECT_EQ(spiel.ListeA[1].Seite, 1);
  EXPECT_EQ(spiel.ListeA[2].Seite, 2);
  EXPECT_EQ(spiel.ListeB[1].Schuetze, 1);
  EXPECT_EQ(arena.toene(katalog::kSchussTon), 3);
  // Heading 50 and 230 are opposite: the same offset lies mirrored along the two hulls.
  EXPECT_NEAR(spiel.Muendungsversatz[0][0][0], -spiel.Muendungsversatz[1][0][0], 1e-12);
}

TEST(Broadside, SoundOffOrVolumeZeroIsSilentButStillFires) {
  // Only Sound 1 plays: with any other value the shot and the hit are silent.
  for (int32_t sound : {0, 2, -1}) {
    Arena aus;
    aus.spiel.Sound = sound;
    Schiff& ziel = aus.spiel.Flotte[1];
    ziel.PosX = 500;
    ziel.PosY = 300;
    ziel.Kurs = 360;
    KugelAnhaengen(aus.spiel.ListeA, 573, 374, 5, 0, 0);  // at rest on ship 1's bow disc
    aus.halten(Key::V);
    aus.frame();
    EXPECT_EQ(aus.spiel.ListeA.size(), 2u) << sound;  // the resting one and the new one
    EXPECT_FLOAT_EQ(ziel.Health, 99) << sound;
    EXPECT_TRUE(aus.backend->soundsPlayed().empty()) << sound;
  }
  Arena leise;
  leise.spiel.SchussLautstaerke = 0;
  EXPECT_EQ(Schussfolge(leise, Key::V, 1).size(), 1u);
  EXPECT_EQ(leise.backend->soundsPlayed().back(), (std::pair<int, int>{katalog::kSchussTon, 0}));
}

// Every flame but the expected one is set lying on its side, the expected one upright (angle
// 0: drawn unturned below the firing point). No ship is drawn over it.
TEST(Broadside, EachSideOfEachShipDrawsItsOwnFlame) {
  using namespace katalog;
  struct Fall {
    int schiff, seite, flamme;
  };
  for (const Fall& fall :
       {Fall{0, kBackbord, kFeuerLinksSchiff0}, Fall{0, kSteuerbord, kFeuerRechtsSchiff0},
        Fall{1, kBackbord, kFeuerLinksAndere}, Fall{1, kSteuerbord, kFeuerRechtsAndere},
        Fall{3, kBackbord, kFeuerLinksAndere}, Fall{3, kSteuerbord, kFeuerRechtsAndere}}) {
    Arena arena(kEinzelspieler, 3);
    Spiel& spiel = arena.spiel;
    for (Schiff& s : spiel.Flotte) s.Untergang = 0;
    Schiff& s = spiel.Flotte[fall.schiff];
    s.PosX = 700;
    s.PosY = 200;
    s.Kurs = 90;  // the ball flies up or down, clear of what is counted
    spiel.Muendungsversatz = {};
    if (fall.schiff == 0) {
      arena.halten(fall.seite == kBackbord ? Key::V : Key::B);
    } else {
      (fall.seite == kBackbord ? s.FeuerLinks : s.FeuerRechts) = 1;
    }
    for (int f = kFeuerLinksSchiff0; f <= kFeuerRechtsAndere; ++f) {
      arena.media->setRotation(f, f == fall.flamme ? 0.0f : 90.0f, false);
    }
    arena.frame();
    // Firing point (767, 267): upright the flame fills rows 293 to 339 below it; lying, it
    // reaches from x 739 to 785 within rows 268 to 280.
    const auto flammenPixel = [&](int x0, int x1, int y0, int y1) {
      int anzahl = 0;
      for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) anzahl += arena.media->pixel(x, y) != kSeeFarbe;
      }
      return anzahl;
    };
    EXPECT_GT(flammenPixel(767, 781, 297, 337), 100) << fall.schiff << " " << fall.seite;
    EXPECT_EQ(flammenPixel(739, 765, 267, 281), 0) << fall.schiff << " " << fall.seite;
  }
}

TEST(Broadside, ComputerShipsFireTheirOrdersAndOnlyInSinglePlayerMatches) {
  Arena arena(kEinzelspieler, 2);
  arena.spiel.Flotte[2].FeuerRechts = 1;
  arena.spiel.Flotte[3].FeuerLinks = 1;  // not in the match
  arena.halten(Key::Keypad1);
  arena.frame();
  ASSERT_EQ(arena.spiel.ListeB.size(), 2u);
  EXPECT_EQ(arena.spiel.ListeB[1].Schuetze, 2);
  EXPECT_EQ(arena.spiel.ListeB[1].Seite, 2);
  EXPECT_EQ(arena.spiel.ListeB[1].Kurs, 75);

  Arena zwei(kZweiSpieler);
  zwei.spiel.Flotte[1].FeuerLinks = 1;
  zwei.frame();
  EXPECT_EQ(zwei.spiel.ListeB.size(), 1u);
}

TEST(Broadside, NothingFiresOrReloadsOnceTheMatchIsDecided) {
  Arena arena;
  Schiff& s = arena.spiel.Flotte[0];
  s.KanonenRechts = 5;
  s.PauseLinks = 3;
  arena.spiel.Flotte[1].Untergang = 0;
  arena.frame();
  ASSERT_EQ(arena.spiel.Spielende, 1);
  EXPECT_TRUE(Schussfolge(arena, Key::V, 10).empty());
  EXPECT_FLOAT_EQ(s.KanonenRechts, 5.15f);  // the one frame before the result
  EXPECT_LT(s.PauseLinks, 0.5f);            // the pauses go on counting
}

}  // namespace
