#include "flow/partie.h"

#include <gtest/gtest.h>

namespace {

Spiel SpielMitKlassen() {
  Spiel spiel;
  for (int k = 0; k < kKlassenAnzahl; ++k) {
    spiel.Schiffstabelle[k].Health = 100.0f + k;
    spiel.Schiffstabelle[k].KanonenAnzahl = 40.0f + k;
  }
  spiel.Flotte[0].Klasse = 3;
  spiel.Flotte[1].Klasse = 7;
  spiel.Flotte[2].Klasse = 1;
  spiel.Flotte[3].Klasse = 2;
  return spiel;
}

TEST(PartieAufbauen, PutsEveryShipOfTheMatchAtItsStartingPlace) {
  Spiel spiel = SpielMitKlassen();
  spiel.Gegneranzahl = 3;
  PartieAufbauen(spiel);
  const double erwartet[4][3] = {{150, 800, 50}, {1500, 20, 230}, {20, 20, 75}, {1500, 800, 330}};
  for (int i = 0; i < 4; ++i) {
    const Schiff& s = spiel.Flotte[i];
    EXPECT_EQ(s.PosX, erwartet[i][0]) << i;
    EXPECT_EQ(s.PosY, erwartet[i][1]) << i;
    EXPECT_EQ(s.Kurs, erwartet[i][2]) << i;
    EXPECT_EQ(s.Tempo, 0.01) << i;
    EXPECT_EQ(s.Untergang, 100) << i;
    EXPECT_EQ(s.FlammenSprite, i == 0 ? 59 : 61) << i;
    EXPECT_EQ(s.Health, spiel.Schiffstabelle[s.Klasse].Health) << i;
    EXPECT_EQ(s.KanonenLinks, spiel.Schiffstabelle[s.Klasse].KanonenAnzahl) << i;
    EXPECT_EQ(s.KanonenRechts, spiel.Schiffstabelle[s.Klasse].KanonenAnzahl) << i;
  }
}

TEST(PartieAufbauen, LeavesShipsOutsideTheMatchAndRunningCountersAlone) {
  Spiel spiel = SpielMitKlassen();
  spiel.Gegneranzahl = 2;
  spiel.Flotte[3].PosX = 777;
  spiel.Flotte[3].Untergang = -4;
  spiel.Flotte[0].PauseLinks = 2.5f;
  spiel.Flotte[1].Nachladen = 1;
  spiel.Flotte[1].FeuerRechts = 1;
  PartieAufbauen(spiel);
  EXPECT_EQ(spiel.Flotte[3].PosX, 777);
  EXPECT_EQ(spiel.Flotte[3].Untergang, -4);
  EXPECT_EQ(spiel.Flotte[2].PosX, 20);
  EXPECT_EQ(spiel.Flotte[0].PauseLinks, 2.5f);
  EXPECT_EQ(spiel.Flotte[1].Nachladen, 1);
  EXPECT_EQ(spiel.Flotte[1].FeuerRechts, 1);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 3);
}

void ExpectRestingBall(const Kugel& k, int8_t schuetze) {
  EXPECT_EQ(k.PosX, 0);
  EXPECT_EQ(k.PosY, 5000);
  EXPECT_EQ(k.Tempo, 0);
  EXPECT_EQ(k.Kurs, 0);
  EXPECT_EQ(k.Seite, 0);
  EXPECT_EQ(k.Alter, 0);
  EXPECT_EQ(k.Schuetze, schuetze);
}

TEST(PartieAufbauen, StartsAFreshMatchWithOneRestingBallPerList) {
  Spiel spiel = SpielMitKlassen();
  spiel.Gegneranzahl = 1;
  spiel.Spielende = 1;
  const Kugel fliegend{700, 300, 5, 90, 1, 12, 2};
  spiel.ListeA.assign(5, fliegend);
  spiel.ListeB.assign(3, fliegend);
  PartieAufbauen(spiel);
  EXPECT_EQ(spiel.Spielende, 0);
  ASSERT_EQ(spiel.ListeA.size(), 1u);
  ASSERT_EQ(spiel.ListeB.size(), 1u);
  {
    SCOPED_TRACE("list A");
    ExpectRestingBall(spiel.ListeA[0], 0);
  }
  {
    SCOPED_TRACE("list B");
    ExpectRestingBall(spiel.ListeB[0], 1);
  }
}

TEST(PartieAufbauen, AClassOutsideTheTableIsNotReadPastItsEnd) {
  Spiel spiel = SpielMitKlassen();
  spiel.Gegneranzahl = 1;
  spiel.Flotte[1].Klasse = 8;
  spiel.Flotte[1].Health = 5;
  PartieAufbauen(spiel);
  EXPECT_EQ(spiel.Flotte[1].Health, 5);
  EXPECT_EQ(spiel.Flotte[1].PosX, 1500);
}

}  // namespace
