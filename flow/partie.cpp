#include "flow/partie.h"

#include "gunnery/kugeln.h"
#include "state/katalog.h"

namespace {

struct Startplatz {
  double PosX, PosY, Kurs;
  int32_t FlammenSprite;
};

constexpr Startplatz kStartplaetze[kSchiffsAnzahl] = {
    {150, 800, 50, katalog::kFlammenSchiff0},
    {1500, 20, 230, katalog::kFlammenAndere},
    {20, 20, 75, katalog::kFlammenAndere},
    {1500, 800, 330, katalog::kFlammenAndere},
};

void SchiffAufstellen(Spiel& spiel, int i) {
  Schiff& s = spiel.Flotte[i];
  const Startplatz& platz = kStartplaetze[i];
  s.PosX = platz.PosX;
  s.PosY = platz.PosY;
  s.Kurs = platz.Kurs;
  s.Tempo = 0.01;
  s.FlammenSprite = platz.FlammenSprite;
  s.Untergang = 100;
  // A class outside the table is never produced by the launcher; keep the ship's
  // health and guns rather than read past the table.
  if (s.Klasse < 0 || s.Klasse >= kKlassenAnzahl) return;
  const SchiffsTyp& typ = spiel.Schiffstabelle[s.Klasse];
  s.Health = typ.Health;
  s.KanonenLinks = typ.KanonenAnzahl;
  s.KanonenRechts = typ.KanonenAnzahl;
}

}  // namespace

void PartieAufbauen(Spiel& spiel) {
  spiel.Spielende = 0;
  spiel.Kapitaene = {};  // every match begins with captains that remember nothing
  KugelnLeeren(spiel.ListeA);
  KugelnLeeren(spiel.ListeB);
  SchiffAufstellen(spiel, 0);
  SchiffAufstellen(spiel, 1);
  if (spiel.Gegneranzahl == 2) {
    SchiffAufstellen(spiel, 2);
  } else if (spiel.Gegneranzahl == 3) {
    SchiffAufstellen(spiel, 2);
    SchiffAufstellen(spiel, 3);
  }
  // Resting balls below the field: they never move and never hit anything.
  KugelAnhaengen(spiel.ListeA, 0, 5000, 0, 0, 0);
  KugelAnhaengen(spiel.ListeB, 0, 5000, 0, 0, 0, 1);
}
