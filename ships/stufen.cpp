#include "ships/stufen.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ships/lage.h"
#include "state/klasse.h"

namespace {

using namespace lage;

constexpr int kBackbord = 1, kSteuerbord = 2;

// One frame's turn towards `soll` the short way; within half a turn the heading stays.
void DrehenNach(Schiff& s, double soll, float m) {
  const double d = Abweichung(soll, s.Kurs);
  if (!(std::fabs(d) >= std::fabs(m) / 2)) return;  // also when d is not a number
  Setzen(s.Kurs, d > 0 ? s.Kurs + m : s.Kurs - m);
}

// The heading that puts a target at bearing `peilung` abeam on `seite`.
double Querab(double peilung, int seite) {
  return seite == kSteuerbord ? peilung - 90 : peilung + 90;
}

// Degrees of turn the other battery must save before a captain changes sides.
constexpr double kSeitenwechsel = 30;
// A line to the target that turns faster than this share of the ship's turn costs this many
// degrees of turn per degree per frame: the captain cannot hold it abeam.
constexpr double kHaltbar = 0.7, kSchwenkKosten = 3000;

float Geladen(const Schiff& s, int seite) {
  return seite == kBackbord ? s.KanonenLinks : s.KanonenRechts;
}

// Degrees per frame the line to the target would turn while the ship sails `kurs`: a line
// that turns faster than the ship can cannot be held abeam.
double Schwenkrate(const Schiff& s, double kurs, const Sicht& ich, const Sicht& gegner) {
  const Vek linie = gegner.mitte - ich.mitte;
  const Vek relativ = gegner.fahrt() - Richtung(kurs) * s.Tempo;
  const double quer = relativ.x * linie.y - relativ.y * linie.x;
  return std::fabs(quer) / Punkt(linie, linie) * kGradProBogen;
}

// The battery to lay against the target: a loaded one, whose line to the target the ship can
// hold, that needs the smaller turn; the one laid last unless the other saves some turning.
int SeiteWaehlen(Kapitaensgedaechtnis& k, const Schiff& s, float m, const Sicht& gegner,
                 const std::array<double, 3>& kurse) {
  const Sicht ich = Sehen(s);
  int beste = kSteuerbord;
  double wenigste = 1e300;
  for (int seite : {kBackbord, kSteuerbord}) {
    double kosten = std::fabs(Abweichung(kurse[seite], s.Kurs));
    if (seite != k.Seite) kosten += kSeitenwechsel;
    if (!(Geladen(s, seite) >= 1.0f)) kosten += 180;
    const double zuSchnell = Schwenkrate(s, kurse[seite], ich, gegner) - kHaltbar * std::fabs(m);
    if (zuSchnell > 0) kosten += zuSchnell * kSchwenkKosten;
    if (kosten < wenigste) {
      wenigste = kosten;
      beste = seite;
    }
  }
  k.Seite = static_cast<int8_t>(beste);
  return beste;
}

// --- "Leicht"

// Frames between two decisions, and how much longer at random.
constexpr int kBedenkzeit = 25, kBedenkzeitStreuung = 15;
// Degrees either way by which it misjudges the heading it wants.
constexpr int kZielfehler = 15;
// Within this distance it turns its broadside to the target (and a little towards it).
constexpr double kLeichtNah = 420, kLeichtEindrehen = 15;
// It fires only within this distance, with the target this close to the beam, and in this
// share of its decisions.
constexpr double kLeichtSchussweite = 380, kLeichtFenster = 10;
constexpr int kFeuerwilligProzent = 60;

void LeichtEntscheiden(Spiel& spiel, Kapitaensgedaechtnis& k, const Schiff& s, float m,
                       const Sicht& gegner, double peilung, double abstand) {
  double soll = peilung;
  if (abstand < kLeichtNah) {
    const std::array<double, 3> querab = {0, Querab(peilung, kBackbord),
                                          Querab(peilung, kSteuerbord)};
    const int seite = SeiteWaehlen(k, s, m, gegner, querab);
    soll = querab[seite] + (seite == kSteuerbord ? kLeichtEindrehen : -kLeichtEindrehen);
  }
  k.Sollkurs = soll + spiel.Zufall.Zahl(2 * kZielfehler) - kZielfehler;
  k.Feuerwillig = spiel.Zufall.Zahl(99) < kFeuerwilligProzent ? 1 : 0;
  k.Frist = kBedenkzeit + spiel.Zufall.Zahl(kBedenkzeitStreuung);
}

int8_t LeichtFeuer(const Kapitaensgedaechtnis& k, const Schiff& s, int seite, double peilung,
                   double abstand) {
  if (k.Feuerwillig == 0 || !(abstand < kLeichtSchussweite)) return 0;
  const double querab = seite == kSteuerbord ? s.Kurs + 90 : s.Kurs - 90;
  return std::fabs(Abweichung(peilung, querab)) < kLeichtFenster ? 1 : 0;
}

// --- "Schwer"

// The range it holds its target at, and how strongly it steers to keep it.
constexpr double kHalteAbstand = 350, kAbstandsRuder = 0.3;
// Closer than this it edges away while it fires: the target's unaimed fire hits there.
constexpr double kNaechsterAbstand = 220;
// While its battery reloads it keeps beyond the reach of the target's guns.
constexpr double kAbwartAbstand = 550;
constexpr double kWegdrehenHoechstens = 50, kHindrehenHoechstens = 80;
// A lead is trusted for this many frames of flight (the target may turn meanwhile).
constexpr int kVorhaltFrames = 80;
// It fires a battery when at least this share of the balls along its hull would hit.
constexpr double kFeuerQuote = 0.3;
// Aimed at: the middle of the target's discs, and the middle of the muzzle offsets.
constexpr double kZielMitte = -18, kMittlererVersatz = -10;
// Consorts beyond this distance close in from sides of their own.
constexpr double kSammelAbstand = 550;
// Badly hurt: below this share of its class's health; it then opens the range while less
// than this share of its guns is loaded, until both batteries are this full again.
constexpr float kSchwerVerwundet = 0.4f, kWenigGeladen = 0.5f, kNachgeladen = 0.9f;

// Steps of flight after which a ball is last tested for a hit; below 0 none is.
int Flugschritte(const Spiel& spiel) {
  if (spiel.Option == 1 && spiel.Reichweite > 0) return spiel.Reichweite - 2;
  return 400;  // about a crossing of the field
}

Vek KugelMitte(const Schiff& s, double versatz) {
  return Vek{s.PosX + kKugelMitte, s.PosY + kKugelMitte} + Richtung(s.Kurs) * versatz;
}

// The share of the balls along the hull (the muzzle offsets -50 to 30) that battery `seite`
// would send onto one of the target's discs, if the target holds course and speed.
double Trefferquote(const Schiff& s, int seite, const Sicht& ziel, int schritte) {
  if (schritte < 0) return 0;
  const Vek flug = Flug(s.Kurs, seite);
  const Vek relativ = flug - ziel.fahrt();
  const double rr = Punkt(relativ, relativ);
  int treffer = 0, kugeln = 0;
  for (int versatz = -50; versatz <= 30; versatz += 10, ++kugeln) {
    const Vek kugel = KugelMitte(s, versatz) + flug;  // after its first step
    for (double scheibe : kScheiben) {
      const Vek r = kugel - (ziel.mitte + ziel.kurs * scheibe);
      const double n = rr > 0 ? std::clamp(-Punkt(r, relativ) / rr, 0.0, double(schritte)) : 0;
      if (Laenge(r + relativ * n) < kTrefferAbstand) {
        ++treffer;
        break;
      }
    }
  }
  return static_cast<double>(treffer) / kugeln;
}

// The heading at which battery `seite` sends its balls to meet the target's middle, if the
// target holds course and speed; straight at it when no ball could catch it.
double Vorhaltekurs(const Schiff& s, int seite, const Sicht& ziel) {
  const Vek w = ziel.fahrt();
  // The target first moves in the frame after the ball's first step.
  const Vek d = ziel.mitte + ziel.kurs * kZielMitte - w - KugelMitte(s, kMittlererVersatz);
  const double a = Punkt(w, w) - kKugelTempo * kKugelTempo;
  const double b = 2 * Punkt(d, w), c = Punkt(d, d);
  Vek flug = d;
  if (a < 0) {
    const double t = (-b - std::sqrt(b * b - 4 * a * c)) / (2 * a);
    if (t > 0) flug = d + w * t;
  }
  return KursFuerFlug(flug, seite);
}

bool Gefaehrte(const Spiel& spiel, int schiff, int anderes, int ziel) {
  return anderes != schiff && anderes != ziel && NimmtTeil(spiel, anderes) &&
         (anderes == 0) == (schiff == 0) && spiel.Flotte[anderes].Health > 0.0f;
}

// Consorts closing in on one target come from different sides: each turns its line of
// approach away from every consort's that is too near it, the lower index to port on a tie.
double Anlaufwinkel(const Spiel& spiel, int schiff, int ziel, const Sicht& gegner) {
  std::array<double, kSchiffsAnzahl> winkel{};
  int anzahl = 1;
  for (int j = 0; j < kSchiffsAnzahl; ++j) {
    winkel[j] = KursNach(Sehen(spiel.Flotte[j]).mitte - gegner.mitte);
    anzahl += Gefaehrte(spiel, schiff, j, ziel);
  }
  const double trennung = 0.75 * 360 / anzahl;
  double eigen = winkel[schiff];
  for (int j = 0; j < kSchiffsAnzahl; ++j) {
    if (!Gefaehrte(spiel, schiff, j, ziel)) continue;
    const double d = Abweichung(winkel[schiff], winkel[j]);
    if (!(std::fabs(d) < trennung)) continue;
    const bool rechtsherum = d > 0 || (d == 0 && schiff > j);
    eigen += (rechtsherum ? 1 : -1) * (trennung - std::fabs(d)) / 2;
  }
  return eigen;
}

bool HatGefaehrten(const Spiel& spiel, int schiff, int ziel) {
  for (int j = 0; j < kSchiffsAnzahl; ++j) {
    if (Gefaehrte(spiel, schiff, j, ziel)) return true;
  }
  return false;
}

void RueckzugPruefen(Kapitaensgedaechtnis& k, const Schiff& s, const SchiffsTyp& typ) {
  const float voll = typ.KanonenAnzahl;
  if (s.Health < typ.Health * kSchwerVerwundet &&
      s.KanonenLinks + s.KanonenRechts < 2 * voll * kWenigGeladen) {
    k.Rueckzug = 1;
  }
  if (s.KanonenLinks >= voll * kNachgeladen && s.KanonenRechts >= voll * kNachgeladen) {
    k.Rueckzug = 0;
  }
}

double SchwerSollkurs(Spiel& spiel, int schiff, int ziel, const Sicht& gegner, float m) {
  const Schiff& s = spiel.Flotte[schiff];
  Kapitaensgedaechtnis& k = spiel.Kapitaene[schiff];
  const Vek ich = Sehen(s).mitte;
  if (k.Rueckzug == 1) return KursNach(ich - gegner.mitte);
  const double abstand = Laenge(gegner.mitte - ich);
  if (abstand > kSammelAbstand && HatGefaehrten(spiel, schiff, ziel)) {
    const double winkel = Anlaufwinkel(spiel, schiff, ziel, gegner);
    return KursNach(gegner.mitte + Richtung(winkel) * kHalteAbstand - ich);
  }
  const std::array<double, 3> kurse = {0, Vorhaltekurs(s, kBackbord, gegner),
                                       Vorhaltekurs(s, kSteuerbord, gegner)};
  const int seite = SeiteWaehlen(k, s, m, gegner, kurse);
  const bool geladen = Geladen(s, seite) >= 1.0f;
  const double schussweite = kKugelTempo * std::min(Flugschritte(spiel), kVorhaltFrames);
  double soll = kHalteAbstand;
  if (!geladen) {
    soll = kAbwartAbstand;
  } else if (abstand < schussweite) {
    soll = std::clamp(abstand, kNaechsterAbstand, kHalteAbstand);
  }
  const double naeher =
      std::clamp((abstand - soll) * kAbstandsRuder, -kWegdrehenHoechstens, kHindrehenHoechstens);
  return kurse[seite] + (seite == kSteuerbord ? naeher : -naeher);
}

int8_t SchwerFeuer(const Spiel& spiel, const Schiff& s, int seite, const Sicht& gegner) {
  // Below one whole gun, or while its pause runs, the battery reloads rather than wait.
  const float pause = seite == kBackbord ? s.PauseLinks : s.PauseRechts;
  if (!(Geladen(s, seite) >= 1.0f) || pause > 0.0f) return 0;
  const int schritte = std::min(Flugschritte(spiel), kVorhaltFrames);
  return Trefferquote(s, seite, gegner, schritte) >= kFeuerQuote ? 1 : 0;
}

}  // namespace

double Vorhaltekurs(const Schiff& schiff, int seite, const Schiff& ziel) {
  return Vorhaltekurs(schiff, seite, Sehen(ziel));
}

void LeichterKapitaen(Spiel& spiel, int schiff, int ziel, const SchiffsTyp& typ) {
  Schiff& s = spiel.Flotte[schiff];
  Kapitaensgedaechtnis& k = spiel.Kapitaene[schiff];
  const Sicht gegner = Sehen(spiel.Flotte[ziel]);
  const Vek zuZiel = gegner.mitte - Sehen(s).mitte;
  const double peilung = KursNach(zuZiel), abstand = Laenge(zuZiel);
  const float m = typ.Manoevrierfaehigkeit;
  if (--k.Frist <= 0) LeichtEntscheiden(spiel, k, s, m, gegner, peilung, abstand);
  DrehenNach(s, k.Sollkurs, typ.Manoevrierfaehigkeit);
  s.FeuerLinks = LeichtFeuer(k, s, kBackbord, peilung, abstand);
  s.FeuerRechts = LeichtFeuer(k, s, kSteuerbord, peilung, abstand);
}

void SchwererKapitaen(Spiel& spiel, int schiff, int ziel, const SchiffsTyp& typ) {
  Schiff& s = spiel.Flotte[schiff];
  const Sicht gegner = Sehen(spiel.Flotte[ziel]);
  RueckzugPruefen(spiel.Kapitaene[schiff], s, typ);
  DrehenNach(s, SchwerSollkurs(spiel, schiff, ziel, gegner, typ.Manoevrierfaehigkeit),
             typ.Manoevrierfaehigkeit);
  s.FeuerLinks = SchwerFeuer(spiel, s, kBackbord, gegner);
  s.FeuerRechts = SchwerFeuer(spiel, s, kSteuerbord, gegner);
}
