#include "ships/ruder.h"

#include <cmath>

#include "maths/maths.h"
#include "state/klasse.h"

namespace {

constexpr double kTreiben = 0.003;
constexpr double kBremsen = 0.01;

void KursHalten(Schiff& s) {
  if (s.Kurs > 360) s.Kurs = 1;
  if (s.Kurs < 1) s.Kurs = 360;
}

// Only the first edge that is crossed counts in one frame.
void RaenderUmbrechen(Schiff& s) {
  if (s.PosY > 1050) {
    s.PosY = -100;
  } else if (s.PosY < -100) {
    s.PosY = 1050;
  } else if (s.PosX > 1680) {
    s.PosX = -100;
  } else if (s.PosX < -100) {
    s.PosX = 1680;
  }
}

void PauseZaehlen(float& pause) {
  if (pause > 0) pause -= 1;
}

}  // namespace

void RuderFuehren(Spiel& spiel, int schiff, const Steuerung& steuerung) {
  const SchiffsTyp* typ = KlasseVon(spiel, schiff);
  if (typ == nullptr) return;
  Schiff& s = spiel.Flotte[schiff];
  if (steuerung.Beschleunigen && s.Tempo < typ->TopSpeed) {
    Setzen(s.Tempo, s.Tempo + typ->Beschleunigung);
  } else if (s.Tempo > 0) {
    s.Tempo -= kTreiben;
  }
  if (steuerung.Bremsen && s.Tempo > 0) s.Tempo -= kBremsen;
  if (steuerung.Links && s.Tempo > 0) {
    Setzen(s.Kurs, s.Kurs - typ->Manoevrierfaehigkeit);
  }
  if (steuerung.Rechts && s.Tempo > 0) {
    Setzen(s.Kurs, s.Kurs + typ->Manoevrierfaehigkeit);
  }
}

void SchiffBewegen(Spiel& spiel, int schiff) {
  Schiff& s = spiel.Flotte[schiff];
  const double kurs = Bogenmass(s.Kurs);
  s.PosX += maths::sin(kurs) * s.Tempo;
  s.PosY += -maths::cos(kurs) * s.Tempo;
  KursHalten(s);
  RaenderUmbrechen(s);
  PauseZaehlen(s.PauseLinks);
  PauseZaehlen(s.PauseRechts);
}
