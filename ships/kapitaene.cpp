#include "ships/kapitaene.h"

#include <cmath>

#include "basis/rounding.h"
#include "maths/maths.h"
#include "ships/stufen.h"
#include "state/klasse.h"

namespace {

constexpr double kGradProBogenmass = 57.29577951308232;
// Within this distance on both axes a captain stops chasing and lays its broadside.
constexpr float kNahbereich = 500.0f;

// The bearing of the target, or none when both ships stand on the same rounded point.
struct Peilung {
  float winkel;
  bool bestimmt;
};

Peilung PeilungNehmen(const Spiel& spiel, int schiff, int zielschiff) {
  const Schiff& s = spiel.Flotte[schiff];
  const Schiff& ziel = spiel.Flotte[zielschiff];
  const int xi = roundToInt(s.PosX), yi = roundToInt(s.PosY);
  const int x0 = roundToInt(ziel.PosX), y0 = roundToInt(ziel.PosY);
  // Subtracted in double: saturated positions would overflow an int difference.
  const float dx = static_cast<float>(static_cast<double>(x0) - xi);
  const float dy = static_cast<float>(static_cast<double>(y0) - yi);
  const float d = std::sqrt(dx * dx + dy * dy);
  if (d == 0.0f) return {0.0f, false};
  const float bogen = maths::acos(dx / d);
  float winkel = static_cast<float>(bogen * kGradProBogenmass);
  if (yi < y0) winkel = 360.0f - winkel;
  return {winkel, true};
}

// Compared on plain numbers, never modulo 360: hence the long way round and the circling.
void Drehen(Schiff& s, double sollKurs, float m) {
  if (sollKurs > s.Kurs) {
    Setzen(s.Kurs, s.Kurs + m);
  } else if (sollKurs < s.Kurs) {
    Setzen(s.Kurs, s.Kurs - m);
  }
}

void BreitseiteLegen(Schiff& s, float a, float m) {
  Drehen(s, 370.0 - a, m);
  const bool steuerbord = 340.0 - a < s.Kurs && s.Kurs < 380.0 - a;
  const bool backbord = 520.0 - a < s.Kurs && s.Kurs < 560.0 - a;
  s.FeuerRechts = steuerbord && s.Nachladen == 0 ? 1 : 0;
  s.FeuerLinks = backbord ? 1 : 0;
}

void Verfolgen(Schiff& s, float a, float m) {
  s.FeuerLinks = 0;
  s.FeuerRechts = 0;
  Drehen(s, 450.0 - a, m);
}

// Player 1 on the ship's own point gives no bearing: hold fire and keep turning to
// port until the two drift apart.
void OhnePeilung(Schiff& s, float m) {
  s.FeuerLinks = 0;
  s.FeuerRechts = 0;
  Setzen(s.Kurs, s.Kurs - m);
}

void NormalerKapitaen(Spiel& spiel, int schiff, int zielschiff, float m) {
  Schiff& s = spiel.Flotte[schiff];
  const Schiff& ziel = spiel.Flotte[zielschiff];
  const float ax = static_cast<float>(std::fabs(s.PosX - ziel.PosX));
  const float ay = static_cast<float>(std::fabs(s.PosY - ziel.PosY));
  const Peilung peilung = PeilungNehmen(spiel, schiff, zielschiff);
  if (!peilung.bestimmt) {
    OhnePeilung(s, m);
  } else if (ax < kNahbereich && ay < kNahbereich) {
    BreitseiteLegen(s, peilung.winkel, m);
  } else {
    Verfolgen(s, peilung.winkel, m);
  }
}

void Steuern(Spiel& spiel, int schiff, int ziel, int32_t stufe) {
  Schiff& s = spiel.Flotte[schiff];
  const SchiffsTyp* typ = KlasseVon(spiel, schiff);
  if (s.Health <= 0.0f || typ == nullptr) return;
  // Every level gathers speed alike: no level sails a faster ship.
  if (typ->TopSpeed > s.Tempo) Setzen(s.Tempo, s.Tempo + typ->Beschleunigung);
  if (stufe == kStufeLeicht) {
    LeichterKapitaen(spiel, schiff, ziel, *typ);
  } else if (stufe == kStufeSchwer) {
    SchwererKapitaen(spiel, schiff, ziel, *typ);
  } else {
    NormalerKapitaen(spiel, schiff, ziel, typ->Manoevrierfaehigkeit);
  }
}

// A wreck burns and then sinks out of sight: its guns fall silent, or a sunk ship would go
// on firing from an empty patch of sea while the other ships keep the match running.
void FeuerEinstellen(Schiff& s) {
  if (!(s.Health < 1.0f)) return;
  s.FeuerLinks = 0;
  s.FeuerRechts = 0;
}

}  // namespace

// Without a bearing (same rounded point, or no such ship) the angle is 0, never NaN.
float Zielwinkel(const Spiel& spiel, int schiff) {
  if (schiff < 0 || schiff >= kSchiffsAnzahl) return 0.0f;
  return PeilungNehmen(spiel, schiff, 0).winkel;
}

void KapitaenFuehren(Spiel& spiel, int schiff, int ziel, int32_t stufe) {
  if (schiff < 0 || schiff >= kSchiffsAnzahl || ziel < 0 || ziel >= kSchiffsAnzahl) return;
  Steuern(spiel, schiff, ziel, stufe);
  FeuerEinstellen(spiel.Flotte[schiff]);
}

void ComputerKapitaene(Spiel& spiel) {
  if (spiel.SpielModus != kEinzelspieler) return;
  for (int schiff = 1; NimmtTeil(spiel, schiff); ++schiff) {
    KapitaenFuehren(spiel, schiff, 0, spiel.Kapitaensstufe);
  }
}

void NachladenPruefen(Spiel& spiel) {
  for (int i = 1; i < kSchiffsAnzahl; ++i) NachladenPruefen(spiel, i);
}

void NachladenPruefen(Spiel& spiel, int schiff) {
  if (schiff < 0 || schiff >= kSchiffsAnzahl) return;
  Schiff& s = spiel.Flotte[schiff];
  const SchiffsTyp* typ = KlasseVon(spiel, schiff);
  if (typ == nullptr) return;
  if (s.KanonenRechts < 1.0f) s.Nachladen = 1;
  if (s.KanonenRechts > typ->KanonenAnzahl / 2.0f) s.Nachladen = 0;
}
