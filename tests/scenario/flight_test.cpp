// Cannonball flight, range and edges, and the hits on the collision discs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "gunnery/flug.h"
#include "gunnery/kugeln.h"
#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

double Grad(double g) { return g * std::numbers::pi / 180.0; }

// A ball that stands still (Seite 0) but counts as flying (Tempo 5).
void Stehend(std::vector<Kugel>& liste, double x, double y, int8_t schuetze = 0) {
  KugelAnhaengen(liste, x, y, 5, 0, 0, schuetze);
}

// Ship `schiff` heading up with its picture's corner at (x, y): its bow and waist discs then
// have their corners at (x + 55, y + 37) and (x + 55, y + 73).
void Aufstellen(Spiel& spiel, int schiff, double x, double y) {
  Schiff& s = spiel.Flotte[schiff];
  s.PosX = x;
  s.PosY = y;
  s.Kurs = 360;
  s.Tempo = 0;
}

// Frames that one port ball of ship 0, fired leftwards from the middle of the field, lives.
int Lebensdauer(int32_t option, int32_t reichweite, double* weg = nullptr) {
  Arena arena;
  arena.spiel.Option = option;
  arena.spiel.Reichweite = reichweite;
  Aufstellen(arena.spiel, 0, 700, 400);
  arena.frame();
  arena.halten(Key::V);
  arena.frame();
  arena.halten(Key::V, false);
  const double start = arena.spiel.ListeA.at(1).PosX + 5;
  int frames = 1;
  while (arena.spiel.ListeA.size() == 2 && frames < 1000) {
    if (weg != nullptr) *weg = start - arena.spiel.ListeA[1].PosX;
    arena.frame();
    ++frames;
  }
  return frames;
}

TEST(Flight, WithARangeABallVanishesRightAfterItsLastStep) {
  double weg = 0;
  EXPECT_EQ(Lebensdauer(1, 100, &weg), 100);
  EXPECT_NEAR(weg, 495, 1e-9);  // after its 99th step; the 100th ends at 500
  EXPECT_EQ(Lebensdauer(1, 3), 3);
  // Without a range (Option other than 1) it flies until it passes x = -20: 767 - 5 n < -20
  // after 158 steps.
  for (auto [option, reichweite] : {std::pair{0, 100}, {2, 100}, {-1, 100}, {1, 0}, {1, -5}}) {
    EXPECT_EQ(Lebensdauer(option, reichweite), 159) << option << " " << reichweite;
  }
}

TEST(Flight, TheEdgesLieTwentyUnitsOutsideAndAreTestedBeforeDrawing) {
  Arena arena;
  Spiel& spiel = arena.spiel;
  Stehend(spiel.ListeA, 1700, 500);
  Stehend(spiel.ListeA, -20, 1070);
  Stehend(spiel.ListeA, 1700.001, 500);
  Stehend(spiel.ListeA, 500, -20.001);
  Stehend(spiel.ListeA, 500, 1070.001);
  KugelAnhaengen(spiel.ListeB, 500, 1070.5, 0, 0, 0, 1);  // at rest: spared below the field
  Stehend(spiel.ListeB, -20.001, 500, 1);
  arena.frames(2);
  ASSERT_EQ(spiel.ListeA.size(), 3u);
  EXPECT_EQ(spiel.ListeA[1].PosX, 1700);
  EXPECT_EQ(spiel.ListeA[2].PosY, 1070);
  EXPECT_EQ(spiel.ListeB.size(), 2u);
  EXPECT_EQ(spiel.ListeA[1].Alter, 2);
}

TEST(Flight, ABallStepsAlongItsHeadingRoundedToWholeDegrees) {
  struct Fall {
    double kurs;
    int32_t seite;
    double dx, dy;
  };
  const Fall faelle[] = {
      {0, 1, -5, 0},
      {360, 2, 5, 0},
      {90, 1, 0, -5},
      {90.5, 2, 0, 5},
      {45.5, 2, 5 * std::cos(Grad(46)), 5 * std::sin(Grad(46))},
      {44.5, 1, -5 * std::cos(Grad(44)), -5 * std::sin(Grad(44))},
      {91.5, 2, 5 * std::cos(Grad(92)), 5 * std::sin(Grad(92))},
      {123, 0, 0, 0},
      {123, 3, 0, 0},
  };
  for (const Fall& f : faelle) {
    Kugel k{100, 200, 5, f.kurs, f.seite, 0, 0};
    KugelSchritt(k);
    EXPECT_NEAR(k.PosX - 100, f.dx, 1e-12) << f.kurs << " " << f.seite;
    EXPECT_NEAR(k.PosY - 200, f.dy, 1e-12) << f.kurs << " " << f.seite;
  }
}

// Steps come from a table of headings: each must be bit for bit the step of the formula,
// inside the table, at its ends and beyond them.
TEST(Flight, EveryHeadingStepsExactlyAsTheFormulaSays) {
  for (double kurs = -400.5; kurs <= 800; kurs += 0.25) {
    for (int32_t seite : {1, 2}) {
      const double k = std::nearbyint(kurs);
      const double winkel = (k + (seite == 1 ? 90 : 270)) * (std::numbers::pi / 180.0);
      Kugel kugel{100.25, 200.75, 5, kurs, seite, 0, 0};
      KugelSchritt(kugel);
      EXPECT_EQ(kugel.PosX, 100.25 + -std::sin(winkel) * 5) << kurs << " " << seite;
      EXPECT_EQ(kugel.PosY, 200.75 + std::cos(winkel) * 5) << kurs << " " << seite;
    }
  }
  Kugel wild{1, 2, 5, std::numeric_limits<double>::quiet_NaN(), 1, 0, 0};
  KugelSchritt(wild);
  EXPECT_TRUE(std::isnan(wild.PosX));
}

TEST(Flight, TheSweepsRemoveBallsInPlaceAndKeepTheOrderOfTheRest) {
  Arena arena;
  Spiel& spiel = arena.spiel;
  Aufstellen(spiel, 1, 500, 300);
  for (double x : {10.0, 2000.0, 30.0, 574.0, 50.0, -500.0, 70.0}) Stehend(spiel.ListeA, x, 380);
  arena.frame();
  ASSERT_EQ(spiel.ListeA.size(), 5u);
  const double erwartet[] = {0, 10, 30, 50, 70};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(spiel.ListeA[i].PosX, erwartet[i]) << i;
  EXPECT_FLOAT_EQ(spiel.Flotte[1].Health, 99);
}

TEST(Flight, NoListGrowsWithoutBoundAndANanBallIsNowhere) {
  Arena arena;
  Spiel& spiel = arena.spiel;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Stehend(spiel.ListeA, nan, 100);
  Stehend(spiel.ListeB, 100, nan, 1);
  arena.frame();
  EXPECT_EQ(spiel.ListeA.size(), 1u);
  EXPECT_EQ(spiel.ListeB.size(), 1u);
  for (size_t i = 0; i < kKugelnHoechstens + 10; ++i) Stehend(spiel.ListeA, 100, 100);
  EXPECT_EQ(spiel.ListeA.size(), kKugelnHoechstens);
}

TEST(Hits, ABallTouchingTwoDiscsHitsOnceAndTheLowerShipIndexTakesIt) {
  Arena arena(kEinzelspieler, 3);
  Spiel& spiel = arena.spiel;
  for (int schiff = 1; schiff <= 3; ++schiff) Aufstellen(spiel, schiff, 500, 300);
  // Rows 373 to 376 lie on the bow disc and on the waist disc.
  Stehend(spiel.ListeA, 573, 374);
  arena.frame();
  EXPECT_EQ(spiel.ListeA.size(), 1u);
  EXPECT_FLOAT_EQ(spiel.Flotte[1].Health, 99);
  EXPECT_FLOAT_EQ(spiel.Flotte[2].Health, 100);
  EXPECT_FLOAT_EQ(spiel.Flotte[3].Health, 100);
  EXPECT_EQ(arena.toene(katalog::kTrefferTon), 1);
  EXPECT_EQ(arena.backend->soundsPlayed().back(), (std::pair<int, int>{katalog::kTrefferTon, 20}));

  Aufstellen(spiel, 1, 1000, 300);
  Stehend(spiel.ListeA, 573, 374);
  Stehend(spiel.ListeA, 573, 374);  // several balls, several hits in one frame
  arena.frame();
  EXPECT_FLOAT_EQ(spiel.Flotte[2].Health, 98);
  EXPECT_FLOAT_EQ(spiel.Flotte[3].Health, 100);
}

TEST(Hits, PlayerOnesBallsHitOnlyTheShipsOfTheMatch) {
  for (int32_t gegner : {1, 2}) {
    Arena arena(kEinzelspieler, gegner);
    Aufstellen(arena.spiel, 2, 500, 300);
    Aufstellen(arena.spiel, 0, 500, 300);  // its own ship is never hit
    arena.spiel.Flotte[2].Health = 50;
    Stehend(arena.spiel.ListeA, 574, 400);
    arena.frame();
    EXPECT_FLOAT_EQ(arena.spiel.Flotte[2].Health, gegner == 1 ? 50 : 49) << gegner;
    EXPECT_FLOAT_EQ(arena.spiel.Flotte[0].Health, 100);
    EXPECT_EQ(arena.spiel.ListeA.size(), gegner == 1 ? 2u : 1u);
  }
}

TEST(Hits, AHitOnPlayerOneTakesTheDamageOfTheShipThatFiredTheBall) {
  Arena arena(kEinzelspieler, 3);
  Spiel& spiel = arena.spiel;
  spiel.Schiffstabelle[2].Schaden = 7;
  spiel.Schiffstabelle[3].Schaden = -2;  // a negative damage heals
  Aufstellen(spiel, 0, 500, 300);
  Stehend(spiel.ListeB, 574, 400, 2);
  Stehend(spiel.ListeB, 574, 440, 3);  // the stern disc
  arena.frame();
  EXPECT_FLOAT_EQ(spiel.Flotte[0].Health, 95);
  EXPECT_EQ(spiel.ListeB.size(), 1u);
}

TEST(Hits, ASunkShipStillStopsBallsAndItsHealthFallsFurther) {
  Arena arena;
  Spiel& spiel = arena.spiel;
  spiel.Sound = 0;
  Aufstellen(spiel, 1, 500, 300);
  spiel.Flotte[1].Health = -5;
  spiel.Flotte[1].Untergang = 0;
  Stehend(spiel.ListeA, 574, 400);
  arena.frame();
  EXPECT_FLOAT_EQ(spiel.Flotte[1].Health, -6);
  EXPECT_EQ(spiel.ListeA.size(), 1u);
  EXPECT_EQ(arena.toene(katalog::kTrefferTon), 0);
}

TEST(Hits, TheDiscsFollowTheHeadingOfTheShip) {
  // Heading 90: the stern disc lies 55 units to the left of the centre.
  Arena arena;
  Spiel& spiel = arena.spiel;
  Aufstellen(spiel, 1, 500, 300);
  spiel.Flotte[1].Kurs = 90;
  Stehend(spiel.ListeA, 520, 374);  // on the stern disc (500..539)
  Stehend(spiel.ListeA, 574, 320);  // above the centre: clear of every disc
  arena.frame();
  ASSERT_EQ(spiel.ListeA.size(), 2u);
  EXPECT_EQ(spiel.ListeA[1].PosY, 320);
  EXPECT_FLOAT_EQ(spiel.Flotte[1].Health, 99);
}

}  // namespace
