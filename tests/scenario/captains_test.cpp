// Whole single-player battles against the computer captains on the headless backend.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "settings/settings_keys.h"
#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

bool Nah(const Spiel& spiel, int schiff) {
  const Schiff& s = spiel.Flotte[schiff];
  const Schiff& ziel = spiel.Flotte[0];
  return std::fabs(s.PosX - ziel.PosX) < 500 && std::fabs(s.PosY - ziel.PosY) < 500;
}

// Player 1 holds still and fires nothing against three ships of the default class.
TEST(Captains, ThreeShipsCloseInFireAndSinkAPlayerWhoHoldsStill) {
  Arena arena(kEinzelspieler, 3);
  const Spiel& spiel = arena.spiel;
  int ersterNah = -1, ersterBefehl = -1, ersterTreffer = -1, verloren = -1;
  for (int frame = 1; frame <= 20000 && verloren < 0; ++frame) {
    arena.frame();
    for (int schiff = 1; schiff <= 3; ++schiff) {
      const Schiff& s = spiel.Flotte[schiff];
      if (ersterNah < 0 && Nah(spiel, schiff)) ersterNah = frame;
      if (ersterBefehl < 0 && (s.FeuerLinks == 1 || s.FeuerRechts == 1)) ersterBefehl = frame;
    }
    if (ersterTreffer < 0 && spiel.Flotte[0].Health < 100.0f) ersterTreffer = frame;
    if (spiel.Spielende == 1) verloren = frame;
  }
  std::printf("close range from frame %d, first order %d, first hit %d, \"You lose!\" %d\n",
              ersterNah, ersterBefehl, ersterTreffer, verloren);
  ASSERT_GT(ersterNah, 0);
  ASSERT_GE(ersterBefehl, ersterNah);
  ASSERT_GT(ersterTreffer, ersterBefehl);
  ASSERT_GT(verloren, ersterTreffer);
  EXPECT_LT(spiel.Flotte[0].Untergang, 1);
  for (int schiff = 1; schiff <= 3; ++schiff) EXPECT_GT(spiel.Flotte[schiff].Untergang, 0);
  EXPECT_TRUE(Textbild(400, 400, "You lose!", katalog::kErgebnisschrift).gleich(*arena.media));

  // Decided: the captains go on steering, but no battery fires or reloads any more.
  const Spiel vorher = spiel;
  bool gedreht[4] = {};
  for (int frame = 0; frame < 50; ++frame) {
    const Spiel davor = spiel;
    arena.frame();
    for (int schiff = 1; schiff <= 3; ++schiff)
      gedreht[schiff] |= spiel.Flotte[schiff].Kurs != davor.Flotte[schiff].Kurs;
  }
  for (int schiff = 1; schiff <= 3; ++schiff) {
    const Schiff& s = spiel.Flotte[schiff];
    EXPECT_TRUE(gedreht[schiff]) << schiff;
    EXPECT_EQ(s.KanonenLinks, vorher.Flotte[schiff].KanonenLinks) << schiff;
    EXPECT_EQ(s.KanonenRechts, vorher.Flotte[schiff].KanonenRechts) << schiff;
  }
}

// Two of three ships are wrecked while the third keeps the match running: neither the
// sinking one nor the sunk one fires again, whatever order it had given.
TEST(Captains, WreckedShipsFireNoMoreWhileAnotherFightsOn) {
  Arena arena(kEinzelspieler, 3);
  Spiel& spiel = arena.spiel;
  spiel.Flotte[0].Health = 1e9f;  // Player 1 outlasts the test
  for (int frame = 0; frame < 20000 && !(spiel.Flotte[1].FeuerRechts || spiel.Flotte[1].FeuerLinks);
       ++frame) {
    arena.frame();
  }
  ASSERT_TRUE(spiel.Flotte[1].FeuerRechts || spiel.Flotte[1].FeuerLinks);
  spiel.Flotte[1].Health = 0.5f;  // sinking, still steered
  spiel.Flotte[2].Health = 0.0f;  // skipped by its captain
  spiel.Flotte[2].FeuerLinks = spiel.Flotte[2].FeuerRechts = 1;
  // In play the hit lands after the firing of its frame; here the orders of the frame
  // before still stand for one firing.
  arena.frame();
  const float ship3Guns = spiel.Flotte[3].KanonenLinks + spiel.Flotte[3].KanonenRechts;
  bool ship3Fired = false;
  for (int frame = 0; frame < 400; ++frame) {
    const Spiel davor = spiel;
    arena.frame();
    for (int schiff = 1; schiff <= 2; ++schiff) {
      const Schiff& s = spiel.Flotte[schiff];
      const Schiff& vorher = davor.Flotte[schiff];
      ASSERT_GE(s.KanonenLinks + s.KanonenRechts, vorher.KanonenLinks + vorher.KanonenRechts)
          << "ship " << schiff << " fired in frame " << frame;
    }
    ship3Fired |= spiel.Flotte[3].KanonenLinks + spiel.Flotte[3].KanonenRechts < ship3Guns;
  }
  EXPECT_TRUE(ship3Fired);
  EXPECT_EQ(spiel.Spielende, 0);
  EXPECT_LT(spiel.Flotte[1].Untergang, 1);
  EXPECT_LT(spiel.Flotte[2].Untergang, 1);
}

// The reload state belongs to single-player matches: a two-player match leaves it for the
// next single-player one, whichever way it would have changed.
TEST(Captains, OnlySinglePlayerMatchesKeepTheReloadState) {
  struct Fall {
    float kanonen;
    int8_t vorher;
  };
  for (const Fall& fall : {Fall{0.5f, 0}, Fall{40.0f, 1}}) {
    for (int32_t modus : {kEinzelspieler, kZweiSpieler}) {
      Arena arena(modus, 1);
      for (int schiff = 1; schiff <= 3; ++schiff) {
        arena.spiel.Flotte[schiff].KanonenRechts = fall.kanonen;
        arena.spiel.Flotte[schiff].Nachladen = fall.vorher;
      }
      arena.frame();
      const int8_t erwartet = modus == kEinzelspieler ? 1 - fall.vorher : fall.vorher;
      for (int schiff = 1; schiff <= 3; ++schiff) {
        EXPECT_EQ(arena.spiel.Flotte[schiff].Nachladen, erwartet) << modus << " " << schiff;
      }
    }
  }
}

TEST(Captains, WildClassValuesKeepEveryShipOnTheField) {
  const float inf = std::numeric_limits<float>::infinity();
  const float wild[] = {std::numeric_limits<float>::quiet_NaN(), inf, -inf, 1e30f, -1e30f};
  for (const ClassKey& feld : kClassKeys) {
    for (float wert : wild) {
      Arena arena(kEinzelspieler, 3);
      for (SchiffsTyp& typ : arena.spiel.Schiffstabelle) typ.*feld.field = wert;
      arena.neuAufbauen();
      arena.frames(10);
      for (const Schiff& s : arena.spiel.Flotte) {
        EXPECT_TRUE(std::isfinite(s.PosX) && std::isfinite(s.PosY)) << feld.key << " " << wert;
        EXPECT_TRUE(std::isfinite(s.Tempo) && std::isfinite(s.Kurs)) << feld.key << " " << wert;
      }
    }
  }
}

}  // namespace
