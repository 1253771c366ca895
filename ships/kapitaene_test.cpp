#include "ships/kapitaene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kUnendlich = std::numeric_limits<float>::infinity();

// A single-player match with default classes: Player 1 at its starting place, the
// enemies where the test puts them.
Spiel Einzelspiel(int gegner) {
  Spiel spiel;
  spiel.SpielModus = kEinzelspieler;
  spiel.Gegneranzahl = gegner;
  for (SchiffsTyp& typ : spiel.Schiffstabelle) {
    typ = {0.015f, 2.0f, 100.0f, 4.0f, 40.0f, 0.15f, 1.0f, 0.5f};
  }
  for (Schiff& s : spiel.Flotte) {
    s.Tempo = 0.01;
    s.Health = 100.0f;
    s.KanonenRechts = 40.0f;
  }
  spiel.Flotte[0].PosX = 150;
  spiel.Flotte[0].PosY = 800;
  return spiel;
}

void Stellen(Spiel& spiel, int i, double x, double y, double kurs) {
  spiel.Flotte[i].PosX = x;
  spiel.Flotte[i].PosY = y;
  spiel.Flotte[i].Kurs = kurs;
}

// The ship at (300, 700), Player 1 at (150, 800): close, bearing 213.69006.
Spiel NahGefecht(double kurs) {
  Spiel spiel = Einzelspiel(1);
  Stellen(spiel, 1, 300, 700, kurs);
  return spiel;
}

// Ship 1 of NahGefecht(150) with its port order set, after a captain that must not act.
void ExpectUntouched(const Schiff& s) {
  EXPECT_EQ(s.Kurs, 150);
  EXPECT_EQ(s.Tempo, 0.01);
  EXPECT_EQ(s.FeuerLinks, 1);
  EXPECT_EQ(s.FeuerRechts, 0);
}

TEST(Zielwinkel, BearingsFromTheStartingPlaces) {
  Spiel spiel = Einzelspiel(3);
  Stellen(spiel, 1, 1500, 20, 230);
  Stellen(spiel, 2, 20, 20, 75);
  Stellen(spiel, 3, 1500, 800, 330);
  EXPECT_EQ(Zielwinkel(spiel, 1), 210.01837f);
  // The degrees are multiplied in double and then held: a float product gives 279.46231.
  EXPECT_EQ(Zielwinkel(spiel, 2), 279.46234f);
  EXPECT_EQ(Zielwinkel(spiel, 3), 180.0f);
  EXPECT_EQ(Zielwinkel(NahGefecht(150), 1), 213.69006f);
  Stellen(spiel, 1, 0, 800, 0);  // level on the right: 0, not 360
  EXPECT_EQ(Zielwinkel(spiel, 1), 0.0f);
  Stellen(spiel, 1, 150, 500, 0);  // straight below
  EXPECT_EQ(Zielwinkel(spiel, 1), 270.0f);
}

TEST(Zielwinkel, PositionsAreRoundedHalfToEven) {
  Spiel spiel = Einzelspiel(1);
  Stellen(spiel, 1, 1500, 20, 230);
  const float ganz = Zielwinkel(spiel, 1);
  Stellen(spiel, 1, 1500.5, 20.5, 230);  // rounds to (1500, 20)
  EXPECT_EQ(Zielwinkel(spiel, 1), ganz);
  Stellen(spiel, 1, 1499.5, 19.5, 230);  // also rounds to (1500, 20)
  EXPECT_EQ(Zielwinkel(spiel, 1), ganz);
  Stellen(spiel, 1, 1501.5, 20, 230);  // rounds to 1502
  EXPECT_NE(Zielwinkel(spiel, 1), ganz);
}

TEST(ComputerKapitaene, FarShipsSteerAtPlayer1AndHoldFire) {
  Spiel spiel = Einzelspiel(3);
  Stellen(spiel, 1, 1500, 20, 230);
  Stellen(spiel, 2, 20, 20, 75);
  Stellen(spiel, 3, 1500, 800, 330);
  spiel.Flotte[1].FeuerLinks = 1;
  spiel.Flotte[1].FeuerRechts = 1;
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].Kurs, 230.5);  // towards 239.98163
  EXPECT_EQ(spiel.Flotte[1].FeuerLinks, 0);
  EXPECT_EQ(spiel.Flotte[1].FeuerRechts, 0);
  EXPECT_EQ(spiel.Flotte[2].Kurs, 75.5);   // towards 170.53766
  EXPECT_EQ(spiel.Flotte[3].Kurs, 329.5);  // towards exactly 270
}

TEST(ComputerKapitaene, TakesOnlyTheShipsOfTheMatch) {
  Spiel spiel = Einzelspiel(2);
  Stellen(spiel, 1, 1500, 20, 230);
  Stellen(spiel, 2, 20, 20, 75);
  Stellen(spiel, 3, 1500, 800, 330);
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[2].Kurs, 75.5);
  EXPECT_EQ(spiel.Flotte[3].Kurs, 330);
  EXPECT_EQ(spiel.Flotte[3].Tempo, 0.01);
  for (int gegner : {0, -5}) {  // ship 1 is always taken
    spiel.Gegneranzahl = gegner;
    ComputerKapitaene(spiel);
    EXPECT_EQ(spiel.Flotte[2].Kurs, 75.5);
  }
  EXPECT_EQ(spiel.Flotte[1].Kurs, 231.5);
}

TEST(ComputerKapitaene, CloseShipsLayTheirBroadside) {
  Spiel spiel = NahGefecht(150);
  ComputerKapitaene(spiel);
  const Schiff& s = spiel.Flotte[1];
  EXPECT_EQ(s.Kurs, 150.5);     // towards 156.30994
  EXPECT_EQ(s.FeuerRechts, 1);  // window 126.30994 to 166.30994
  EXPECT_EQ(s.FeuerLinks, 0);   // window 306.30994 to 346.30994

  Spiel backbord = NahGefecht(320);
  ComputerKapitaene(backbord);
  EXPECT_EQ(backbord.Flotte[1].Kurs, 319.5);
  EXPECT_EQ(backbord.Flotte[1].FeuerLinks, 1);
  EXPECT_EQ(backbord.Flotte[1].FeuerRechts, 0);

  Spiel ausserhalb = NahGefecht(200);
  ausserhalb.Flotte[1].FeuerLinks = 1;
  ausserhalb.Flotte[1].FeuerRechts = 1;
  ComputerKapitaene(ausserhalb);
  EXPECT_EQ(ausserhalb.Flotte[1].Kurs, 199.5);
  EXPECT_EQ(ausserhalb.Flotte[1].FeuerLinks, 0);
  EXPECT_EQ(ausserhalb.Flotte[1].FeuerRechts, 0);
}

TEST(ComputerKapitaene, WindowsAreOpenAndAHeadingOnTheMarkStays) {
  // Player 1 250 away, level on the left (A 180: close heading 190, starboard window 160
  // to 200, port window 340 to 380) or straight below (A 270: close heading 100,
  // starboard 70 to 110, port 250 to 290).
  const struct {
    double x, y, kurs, danach;
    int8_t rechts, links;
  } faelle[] = {
      {400, 800, 190, 190, 1, 0},   {400, 800, 159.5, 160, 0, 0}, {400, 800, 160, 160.5, 1, 0},
      {400, 800, 200.5, 200, 0, 0}, {400, 800, 340.5, 340, 0, 0}, {400, 800, 341, 340.5, 0, 1},
      {150, 550, 290.5, 290, 0, 0}, {150, 550, 290, 289.5, 0, 1}, {150, 550, 100, 100, 1, 0},
      {150, 550, 250.5, 250, 0, 0},
  };
  for (const auto& f : faelle) {
    Spiel spiel = Einzelspiel(1);
    Stellen(spiel, 1, f.x, f.y, f.kurs);
    ComputerKapitaene(spiel);
    EXPECT_EQ(spiel.Flotte[1].Kurs, f.danach) << f.y << " " << f.kurs;
    EXPECT_EQ(spiel.Flotte[1].FeuerRechts, f.rechts) << f.y << " " << f.kurs;
    EXPECT_EQ(spiel.Flotte[1].FeuerLinks, f.links) << f.y << " " << f.kurs;
  }
}

TEST(ComputerKapitaene, AnEmptiedStarboardBatteryGetsNoOrderUntilHalfReloaded) {
  Spiel spiel = NahGefecht(150);
  spiel.Flotte[1].KanonenRechts = 0.5f;
  NachladenPruefen(spiel);
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].FeuerRechts, 0);
  spiel.Flotte[1].KanonenRechts = 20.0f;
  NachladenPruefen(spiel);
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].FeuerRechts, 0);
  spiel.Flotte[1].KanonenRechts = 20.01f;
  NachladenPruefen(spiel);
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].FeuerRechts, 1);
}

TEST(ComputerKapitaene, CloseRangeIsBelow500OnBothAxesHeldAsFloats) {
  struct Fall {
    double dx, dy;
    bool nah;
  } faelle[] = {
      {499.99, 10, true},
      {500, 10, false},
      {10, 500, false},
      {-499.99, -499.99, true},
      {-500, 10, false},
      // 500 once held as a float
      {499.9999999, 10, false},
      {10, -499.9999999, false},
  };
  for (const Fall& f : faelle) {
    Spiel spiel = Einzelspiel(1);
    Stellen(spiel, 1, 150 + f.dx, 800 + f.dy, 0);
    // Halfway between the close heading (370 - A) and the far one (450 - A): the
    // direction of the turn tells which of the two the captain chose.
    const double zwischen = 410.0 - Zielwinkel(spiel, 1);
    spiel.Flotte[1].Kurs = zwischen;
    ComputerKapitaene(spiel);
    EXPECT_EQ(spiel.Flotte[1].Kurs, zwischen + (f.nah ? -0.5 : 0.5)) << f.dx << ", " << f.dy;
  }
}

TEST(ComputerKapitaene, GathersSpeedToTopSpeedAndNeverSlows) {
  Spiel spiel = Einzelspiel(1);
  Stellen(spiel, 1, 1500, 20, 230);
  for (int frame = 0; frame < 132; ++frame) ComputerKapitaene(spiel);
  EXPECT_LT(spiel.Flotte[1].Tempo, 2.0);
  ComputerKapitaene(spiel);
  EXPECT_NEAR(spiel.Flotte[1].Tempo, 2.005, 1e-5);
  const double oben = spiel.Flotte[1].Tempo;
  for (int frame = 0; frame < 50; ++frame) ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].Tempo, oben);
  spiel.Flotte[1].Tempo = 2.0;  // reached exactly: no more
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].Tempo, 2.0);
}

TEST(ComputerKapitaene, AWreckIsStillSteeredButGivesNoFireOrder) {
  // Below one point of health the ship is steered on, but both orders fall to 0; at 0.0 or
  // below it keeps Tempo and Kurs. Exactly 1.0 is afloat and fires.
  struct Fall {
    float health;
    double kurs;
    int8_t rechts;
  };
  for (const Fall& fall : {Fall{1.0f, 150.5, 1}, Fall{0.99f, 150.5, 0}, Fall{0.5f, 150.5, 0},
                           Fall{0.0f, 150, 0}, Fall{-3.0f, 150, 0}}) {
    Spiel spiel = NahGefecht(150);
    Schiff& s = spiel.Flotte[1];
    s.Health = fall.health;
    s.FeuerLinks = 1;
    ComputerKapitaene(spiel);
    EXPECT_EQ(s.Kurs, fall.kurs) << fall.health;
    EXPECT_EQ(s.FeuerLinks, 0) << fall.health;
    EXPECT_EQ(s.FeuerRechts, fall.rechts) << fall.health;
  }
}

TEST(ComputerKapitaene, TwoPlayerModeChangesNothing) {
  Spiel spiel = NahGefecht(150);
  spiel.SpielModus = kZweiSpieler;
  spiel.Flotte[1].FeuerLinks = 1;
  ComputerKapitaene(spiel);
  ExpectUntouched(spiel.Flotte[1]);
}

// Headings are compared as plain numbers; these consequences are the captains' manner.
TEST(ComputerKapitaene, TurnsTheLongWayRound) {
  Spiel spiel = Einzelspiel(1);
  Stellen(spiel, 1, 800, 900, 10);  // Player 1 far, ahead and to port: heading about 354
  spiel.Flotte[0].PosX = 700;
  spiel.Flotte[0].PosY = 0;
  ComputerKapitaene(spiel);
  EXPECT_EQ(spiel.Flotte[1].Kurs, 10.5);
}

TEST(ComputerKapitaene, CirclesWhilePlayer1IsUpAndToTheRight) {
  for (double kurs : {1.0, 90.0, 180.0, 300.0, 359.9, 360.0}) {
    Spiel fern = Einzelspiel(1);
    Stellen(fern, 1, 150 - 800, 800 + 100, kurs);  // A below 90: far heading above 360
    ComputerKapitaene(fern);
    EXPECT_EQ(fern.Flotte[1].Kurs, kurs + 0.5) << kurs;

    Spiel nah = Einzelspiel(1);
    Stellen(nah, 1, 150 - 400, 800 + 20, kurs);  // A below 10: close heading above 360
    ComputerKapitaene(nah);
    EXPECT_EQ(nah.Flotte[1].Kurs, kurs + 0.5) << kurs;
  }
}

TEST(ComputerKapitaene, WithPlayer1StraightAboveThePortBatteryNeverFires) {
  for (int kurs = 1; kurs <= 360; ++kurs) {
    Spiel spiel = Einzelspiel(1);
    Stellen(spiel, 1, 150, 800 + 300, kurs);  // A is 90: port window 430 to 470
    ComputerKapitaene(spiel);
    ASSERT_EQ(spiel.Flotte[1].FeuerLinks, 0) << kurs;
  }
}

TEST(NachladenPruefen, HoldsFromBelowOneGunUntilMoreThanHalf) {
  Spiel spiel = Einzelspiel(1);
  Schiff& s = spiel.Flotte[1];
  const struct {
    float kanonen;
    int8_t nachladen;
  } schritte[] = {{1.0f, 0}, {0.99f, 1}, {15.0f, 1}, {20.0f, 1}, {20.01f, 0}, {10.0f, 0}};
  for (const auto& schritt : schritte) {
    s.KanonenRechts = schritt.kanonen;
    NachladenPruefen(spiel);
    EXPECT_EQ(s.Nachladen, schritt.nachladen) << schritt.kanonen;
  }
}

TEST(NachladenPruefen, CoversShips1To3WhateverTheirStateAndAPassOfBothTestsClears) {
  Spiel spiel = Einzelspiel(1);
  spiel.Flotte[2].KanonenRechts = 0.0f;
  spiel.Flotte[3].KanonenRechts = -2.0f;
  spiel.Flotte[3].Health = -5.0f;
  spiel.Flotte[0].KanonenRechts = 0.0f;
  NachladenPruefen(spiel);
  EXPECT_EQ(spiel.Flotte[2].Nachladen, 1);
  EXPECT_EQ(spiel.Flotte[3].Nachladen, 1);
  EXPECT_EQ(spiel.Flotte[0].Nachladen, 0);

  spiel.Schiffstabelle[0].KanonenAnzahl = 0.0f;  // 0.5 guns: below one, yet above half of 0
  spiel.Flotte[1].KanonenRechts = 0.5f;
  NachladenPruefen(spiel);
  EXPECT_EQ(spiel.Flotte[1].Nachladen, 0);
}

// Player 1 on the ship's own rounded point leaves the bearing undefined (0 / 0).
TEST(ComputerKapitaene, WithoutABearingHoldsFireAndTurnsToPort) {
  Spiel spiel = Einzelspiel(1);
  Stellen(spiel, 1, 150.4, 799.6, 150);
  spiel.Flotte[1].FeuerLinks = 1;
  spiel.Flotte[1].FeuerRechts = 1;
  EXPECT_EQ(Zielwinkel(spiel, 1), 0.0f);
  ComputerKapitaene(spiel);
  const Schiff& s = spiel.Flotte[1];
  EXPECT_EQ(s.Kurs, 149.5);
  EXPECT_NEAR(s.Tempo, 0.025, 1e-9);
  EXPECT_EQ(s.FeuerLinks, 0);
  EXPECT_EQ(s.FeuerRechts, 0);
}

TEST(ComputerKapitaene, HostileValuesNeverLeaveTheTableOrMakeNaN) {
  for (int klasse : {-1, 8, std::numeric_limits<int32_t>::max()}) {
    Spiel spiel = NahGefecht(150);
    spiel.Flotte[1].Klasse = klasse;
    spiel.Flotte[1].KanonenRechts = 0.0f;
    ComputerKapitaene(spiel);
    NachladenPruefen(spiel);
    EXPECT_EQ(spiel.Flotte[1].Kurs, 150) << klasse;
    EXPECT_EQ(spiel.Flotte[1].Nachladen, 0) << klasse;
  }
  for (float wert : {kNaN, kUnendlich, -kUnendlich}) {
    Spiel spiel = NahGefecht(150);
    spiel.Schiffstabelle[0].Beschleunigung = wert;
    spiel.Schiffstabelle[0].Manoevrierfaehigkeit = wert;
    ComputerKapitaene(spiel);
    EXPECT_EQ(spiel.Flotte[1].Tempo, 0.01) << wert;
    EXPECT_EQ(spiel.Flotte[1].Kurs, 150) << wert;
  }
  Spiel rueckwaerts = NahGefecht(150);
  rueckwaerts.Schiffstabelle[0].Manoevrierfaehigkeit = -1e30f;
  rueckwaerts.Schiffstabelle[0].Beschleunigung = -1e30f;
  ComputerKapitaene(rueckwaerts);
  EXPECT_EQ(rueckwaerts.Flotte[1].Kurs, 150 - 1e30f);  // the movement step resets it to 360
  EXPECT_EQ(rueckwaerts.Flotte[1].Tempo, 0.01 - 1e30f);
}

TEST(Zielwinkel, WildPositionsGiveAFiniteBearingAndCountAsFar) {
  for (double wild : {1e30, -1e300, std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::quiet_NaN()}) {
    Spiel spiel = Einzelspiel(1);
    Stellen(spiel, 1, wild, 1e12, 200);
    EXPECT_TRUE(std::isfinite(Zielwinkel(spiel, 1))) << wild;
    ComputerKapitaene(spiel);
    EXPECT_EQ(spiel.Flotte[1].FeuerLinks + spiel.Flotte[1].FeuerRechts, 0) << wild;
    EXPECT_TRUE(std::isfinite(spiel.Flotte[1].Kurs)) << wild;
  }
  EXPECT_EQ(Zielwinkel(Einzelspiel(1), 4), 0.0f);
  EXPECT_EQ(Zielwinkel(Einzelspiel(1), -1), 0.0f);
}

}  // namespace
