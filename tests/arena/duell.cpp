#include "tests/arena/duell.h"

#include <cmath>
#include <vector>

#include "flow/partie.h"
#include "flow/schlacht.h"
#include "ships/kapitaene.h"
#include "ships/lage.h"

namespace {

// A battle still undecided after this many frames (about five minutes of play) is a draw.
constexpr int kHoechstens = 20000;
// After the result the balls in flight and a sinking ship may still change it.
constexpr int kNachspiel = 300;
// The scripted player turns to starboard in 3 of 7 frames: a circle of about 530 units
// radius at full speed.
constexpr int kKreisTakt = 7, kKreisRuder = 3;
// It fires a battery while the target is this close to that beam.
constexpr double kSkriptFenster = 20;

int32_t Stufe(Fuehrung f) {
  switch (f) {
    case Fuehrung::Leicht:
      return kStufeLeicht;
    case Fuehrung::Schwer:
      return kStufeSchwer;
    default:
      return kStufeNormal;
  }
}

// A captain on ship 0 sails it with a player's controls: what it decides for the record is
// turned into the keys that do the same, and the record is left to the helm.
Steuerung KapitaenAmRuder(Spiel& spiel, int32_t stufe) {
  Schiff& s = spiel.Flotte[0];
  const double kurs = s.Kurs, tempo = s.Tempo;
  KapitaenFuehren(spiel, 0, 1, stufe);
  NachladenPruefen(spiel, 0);
  Steuerung st;
  st.Beschleunigen = true;
  st.Links = s.Kurs < kurs;
  st.Rechts = s.Kurs > kurs;
  st.FeuerLinks = s.FeuerLinks == 1;
  st.FeuerRechts = s.FeuerRechts == 1;
  s.Kurs = kurs;
  s.Tempo = tempo;
  return st;
}

Steuerung Skript(const Spiel& spiel, int frame) {
  using namespace lage;
  const Schiff& s = spiel.Flotte[0];
  const double peilung = KursNach(Sehen(spiel.Flotte[1]).mitte - Sehen(s).mitte);
  const double seitlich = Abweichung(peilung, s.Kurs);
  Steuerung st;
  st.Beschleunigen = true;
  st.Rechts = frame % kKreisTakt < kKreisRuder;
  st.FeuerRechts = std::fabs(seitlich - 90) < kSkriptFenster;
  st.FeuerLinks = std::fabs(seitlich + 90) < kSkriptFenster;
  return st;
}

void Aufstellen(Arena& arena, Fuehrung zweiter, bool plaetzeGetauscht, uint32_t seed) {
  Spiel& spiel = arena.spiel;
  spiel.Flotte = {};
  for (int i = 0; i < kSchiffsAnzahl; ++i) spiel.Flotte[i].Klasse = i;
  spiel.Schussversatz = {};
  spiel.Muendungsversatz = {};
  spiel.Pause = {};
  spiel.SpielModus = kEinzelspieler;
  spiel.Gegneranzahl = 1;
  spiel.Kapitaensstufe = Stufe(zweiter);
  spiel.Zufall.Generator.seed(seed);
  PartieAufbauen(spiel);
  if (!plaetzeGetauscht) return;
  Schiff& a = spiel.Flotte[0];
  Schiff& b = spiel.Flotte[1];
  std::swap(a.PosX, b.PosX);
  std::swap(a.PosY, b.PosY);
  std::swap(a.Kurs, b.Kurs);
}

bool Unterwegs(const std::vector<Kugel>& liste) {
  for (const Kugel& k : liste) {
    if (k.Tempo > 0) return true;
  }
  return false;
}

bool Entschieden(const Spiel& spiel) {
  for (int i = 0; i < 2; ++i) {
    const Schiff& s = spiel.Flotte[i];
    if (s.Health < 1.0f && s.Untergang > 0) return false;  // still sinking
  }
  return !Unterwegs(spiel.ListeA) && !Unterwegs(spiel.ListeB);
}

}  // namespace

const char* Name(Fuehrung f) {
  switch (f) {
    case Fuehrung::Leicht:
      return "Leicht";
    case Fuehrung::Normal:
      return "Normal";
    case Fuehrung::Schwer:
      return "Schwer";
    default:
      return "Skript";
  }
}

Ausgang Duell(Arena& arena, Fuehrung erster, Fuehrung zweiter, bool plaetzeGetauscht,
              uint32_t seed) {
  arena.media->setSilent(true);
  Aufstellen(arena, zweiter, plaetzeGetauscht, seed);
  Spiel& spiel = arena.spiel;
  Ausgang ausgang;
  int nachspiel = 0;
  for (int frame = 0; frame < kHoechstens && nachspiel < kNachspiel; ++frame) {
    Eingaben eingaben;
    eingaben.Spieler[0] =
        erster == Fuehrung::Skript ? Skript(spiel, frame) : KapitaenAmRuder(spiel, Stufe(erster));
    Frame(spiel, *arena.media, eingaben);
    ausgang.frames = frame + 1;
    if (spiel.Spielende == 1 && (Entschieden(spiel) || ++nachspiel >= kNachspiel)) break;
  }
  const bool gesunken0 = spiel.Flotte[0].Untergang < 1;
  const bool gesunken1 = spiel.Flotte[1].Untergang < 1;
  if (gesunken0 != gesunken1) ausgang.sieger = gesunken0 ? 1 : 0;
  return ausgang;
}
