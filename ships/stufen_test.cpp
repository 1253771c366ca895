// The captains of the levels "Leicht" and "Schwer" against a Player 1 who holds still or
// sails straight, with the ships moved as the battle moves them.
#include "ships/stufen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ships/kapitaene.h"
#include "ships/ruder.h"
#include "state/klasse.h"

namespace {

constexpr double kGrad = std::numbers::pi / 180;

Spiel Einzelspiel(int32_t stufe, int gegner) {
  Spiel spiel;
  spiel.SpielModus = kEinzelspieler;
  spiel.Gegneranzahl = gegner;
  spiel.Kapitaensstufe = stufe;
  spiel.Option = 1;
  spiel.Reichweite = 100;
  for (SchiffsTyp& typ : spiel.Schiffstabelle) {
    typ = {0.015f, 2.0f, 100.0f, 4.0f, 40.0f, 0.15f, 1.0f, 0.5f};
  }
  for (int i = 0; i < kSchiffsAnzahl; ++i) {
    Schiff& s = spiel.Flotte[i];
    s.Klasse = i;
    s.Tempo = i == 0 ? 0.0 : 2.0;
    s.Health = 100.0f;
    s.KanonenLinks = s.KanonenRechts = 40.0f;
    s.Untergang = 100;
  }
  return spiel;
}

void Stellen(Spiel& spiel, int i, double x, double y, double kurs) {
  spiel.Flotte[i].PosX = x;
  spiel.Flotte[i].PosY = y;
  spiel.Flotte[i].Kurs = kurs;
}

// The captains and the movement of `frames` frames; nothing fires.
void Segeln(Spiel& spiel, int frames) {
  for (int f = 0; f < frames; ++f) {
    ComputerKapitaene(spiel);
    for (int i = 0; NimmtTeil(spiel, i); ++i) SchiffBewegen(spiel, i);
  }
}

double Abstand(const Spiel& spiel, int a, int b) {
  return std::hypot(spiel.Flotte[a].PosX - spiel.Flotte[b].PosX,
                    spiel.Flotte[a].PosY - spiel.Flotte[b].PosY);
}

// How close a ball from the middle of the shooter's hull, fired at heading `kurs` from the
// starboard battery, passes the middle of the target's discs while the target sails on.
double Vorbei(const Schiff& schuetze, double kurs, Schiff ziel) {
  const double k = std::nearbyint(kurs) * kGrad, h = schuetze.Kurs * kGrad;
  double x = schuetze.PosX + 67 - 10 * std::sin(h) + 1.5;
  double y = schuetze.PosY + 67 + 10 * std::cos(h) + 1.5;
  double naechste = 1e9;
  for (int frame = 0; frame < 200; ++frame) {
    x += 5 * std::cos(k);
    y += 5 * std::sin(k);
    const double t = ziel.Kurs * kGrad;
    naechste = std::min(naechste, std::hypot(x - (ziel.PosX + 75 - 18 * std::sin(t)),
                                             y - (ziel.PosY + 75 + 18 * std::cos(t))));
    ziel.PosX += std::sin(t) * ziel.Tempo;
    ziel.PosY -= std::cos(t) * ziel.Tempo;
  }
  return naechste;
}

TEST(Schwer, LeadsATargetThatSailsAcrossItsLineOfFire) {
  for (double zielkurs : {90.0, 270.0, 135.0}) {
    Spiel spiel = Einzelspiel(kStufeSchwer, 1);
    Stellen(spiel, 1, 300, 300, 90);  // starboard battery facing down the screen
    Stellen(spiel, 0, 300, 650, zielkurs);
    spiel.Flotte[0].Tempo = 2;
    const double vorhalt = Vorhaltekurs(spiel.Flotte[1], 2, spiel.Flotte[0]);
    EXPECT_LT(Vorbei(spiel.Flotte[1], vorhalt, spiel.Flotte[0]), 6) << zielkurs;
    // Aimed where the target is now, the ball passes far behind it.
    EXPECT_GT(Vorbei(spiel.Flotte[1], 90, spiel.Flotte[0]), 80) << zielkurs;
  }
  // A target that holds still needs no lead.
  Spiel still = Einzelspiel(kStufeSchwer, 1);
  Stellen(still, 1, 300, 300, 90);
  Stellen(still, 0, 300, 650, 0);
  EXPECT_NEAR(Vorhaltekurs(still.Flotte[1], 2, still.Flotte[0]), 90, 4);
}

TEST(Schwer, OpensTheRangeWhenBadlyHurtAndComesBackWhenReloaded) {
  Spiel spiel = Einzelspiel(kStufeSchwer, 1);
  Stellen(spiel, 0, 800, 500, 0);
  Stellen(spiel, 1, 800, 200, 90);
  Schiff& s = spiel.Flotte[1];
  s.Health = 30.0f;
  s.KanonenLinks = s.KanonenRechts = 5.0f;
  for (int f = 0; f < 150; ++f) {
    const double vorher = Abstand(spiel, 0, 1);
    Segeln(spiel, 1);
    if (f >= 100) ASSERT_GT(Abstand(spiel, 0, 1), vorher) << f;  // once turned, straight away
  }
  s.KanonenLinks = s.KanonenRechts = 40.0f;  // reloaded
  double naechste = 1e9;
  for (int f = 0; f < 900; ++f) {
    Segeln(spiel, 1);
    naechste = std::min(naechste, Abstand(spiel, 0, 1));
  }
  EXPECT_LT(naechste, 420);
  // Hurt as badly but with loaded guns it fights on.
  Spiel geladen = Einzelspiel(kStufeSchwer, 1);
  Stellen(geladen, 0, 800, 500, 0);
  Stellen(geladen, 1, 800, 200, 90);
  geladen.Flotte[1].Health = 30.0f;
  Segeln(geladen, 1);
  EXPECT_EQ(geladen.Kapitaene[1].Rueckzug, 0);
}

TEST(Schwer, ConsortsCloseInFromDifferentSides) {
  Spiel spiel = Einzelspiel(kStufeSchwer, 2);
  Stellen(spiel, 0, 200, 800, 0);
  Stellen(spiel, 1, 1400, 100, 230);
  Stellen(spiel, 2, 1410, 110, 230);  // side by side: one line of approach for both
  const auto Winkel = [&](int i) {
    return std::atan2(spiel.Flotte[i].PosY - spiel.Flotte[0].PosY,
                      spiel.Flotte[i].PosX - spiel.Flotte[0].PosX) /
           kGrad;
  };
  Segeln(spiel, 500);  // both now within about 450 of Player 1
  const double auseinander = std::fabs(Winkel(1) - Winkel(2));
  EXPECT_GT(std::min(auseinander, 360 - auseinander), 60);
  EXPECT_GT(Abstand(spiel, 1, 2), 400);
  // A lone Schwer ship comes straight on.
  Spiel allein = Einzelspiel(kStufeSchwer, 1);
  Stellen(allein, 0, 200, 800, 0);
  Stellen(allein, 1, 1400, 100, 230);
  const double anfang = Abstand(allein, 0, 1);
  Segeln(allein, 350);
  EXPECT_LT(Abstand(allein, 0, 1), anfang - 500);
}

// What a player cannot see of the target (its loaded guns, pauses and orders) changes
// nothing of what a Schwer captain does.
TEST(Schwer, SeesOnlyWhatAPlayerSees) {
  Spiel offen = Einzelspiel(kStufeSchwer, 3);
  Stellen(offen, 0, 800, 500, 40);
  offen.Flotte[0].Tempo = 2;
  Stellen(offen, 1, 800, 150, 100);
  Stellen(offen, 2, 400, 700, 20);
  Stellen(offen, 3, 1400, 900, 300);
  Spiel verdeckt = offen;
  Schiff& ziel = verdeckt.Flotte[0];
  ziel.KanonenLinks = 0;
  ziel.KanonenRechts = 3;
  ziel.PauseLinks = 4;
  ziel.FeuerRechts = 1;
  ziel.Nachladen = 1;
  for (int f = 0; f < 300; ++f) {
    ComputerKapitaene(offen);
    ComputerKapitaene(verdeckt);
    for (int i = 1; i < kSchiffsAnzahl; ++i) {
      ASSERT_EQ(offen.Flotte[i].Kurs, verdeckt.Flotte[i].Kurs) << f << " " << i;
      ASSERT_EQ(offen.Flotte[i].FeuerLinks + 2 * offen.Flotte[i].FeuerRechts,
                verdeckt.Flotte[i].FeuerLinks + 2 * verdeckt.Flotte[i].FeuerRechts);
      SchiffBewegen(offen, i);
      SchiffBewegen(verdeckt, i);
    }
  }
}

// Wherever Player 1 lies, and whatever the ship's heading, it closes in at full speed without
// turning a full circle (the normal captain circles while Player 1 is up and to the right).
TEST(Leicht, ClosesInFromEveryDirectionWithoutCirclingOrStopping) {
  for (int richtung = 0; richtung < 360; richtung += 45) {
    for (double kurs : {1.0, 100.0, 250.0}) {
      Spiel spiel = Einzelspiel(kStufeLeicht, 1);
      spiel.Zufall.Generator.seed(richtung + 7);
      Stellen(spiel, 1, 800, 500, kurs);
      Stellen(spiel, 0, 800 + 800 * std::sin(richtung * kGrad),
              500 - 800 * std::cos(richtung * kGrad), 0);
      double gedreht = 0;
      int frames = 0;
      for (; frames < 1500 && Abstand(spiel, 0, 1) > 420; ++frames) {
        const double vorher = spiel.Flotte[1].Kurs;
        Segeln(spiel, 1);
        double d = spiel.Flotte[1].Kurs - vorher;
        if (d > 180) d -= 359;  // the heading wrapped from 360 to 1 or back
        if (d < -180) d += 359;
        gedreht += d;
      }
      EXPECT_LT(frames, 1500) << richtung << " " << kurs;
      EXPECT_LT(std::fabs(gedreht), 360) << richtung << " " << kurs;
      EXPECT_GT(spiel.Flotte[1].Tempo, 1.9);
    }
  }
}

TEST(Leicht, DecidesOnlyEveryFewFramesAndOpensFireNearTheBeam) {
  Spiel spiel = Einzelspiel(kStufeLeicht, 1);
  Stellen(spiel, 0, 800, 500, 0);
  Stellen(spiel, 1, 800, 200, 90);  // Player 1 abeam to starboard, 300 away
  int entscheidungen = 0, feuer = 0;
  for (int f = 0; f < 400; ++f) {
    const int32_t frist = spiel.Kapitaene[1].Frist;
    Segeln(spiel, 1);
    entscheidungen += spiel.Kapitaene[1].Frist > frist;
    feuer += spiel.Flotte[1].FeuerRechts + spiel.Flotte[1].FeuerLinks;
  }
  EXPECT_GE(entscheidungen, 400 / 40);
  EXPECT_LE(entscheidungen, 400 / 25 + 1);
  EXPECT_GT(feuer, 0);
}

}  // namespace
