#include "gunnery/flug.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "basis/rounding.h"
#include "maths/maths.h"
#include "state/katalog.h"
#include "state/klasse.h"

namespace {

// Balls are removed this far outside the battle screen.
constexpr double kRandLinks = -20, kRandRechts = 1700, kRandOben = -20, kRandUnten = 1070;
// From the ship picture's corner to a disc's corner when the disc sits on the centre.
constexpr double kScheibenEcke = 55;
constexpr double kBugAbstand = 18, kMitteAbstand = 18, kHeckAbstand = 55;

struct Punkt {
  int x, y;
};

// Bow, waist and stern disc of one ship, each with its sprite, and a box around all three:
// most balls are far from every ship, and one comparison passes them by.
struct Scheiben {
  std::array<Punkt, 3> ecke;
  int64_t links = 0, oben = 0, rechts = -1, unten = -1;
};
constexpr std::array<int, 3> kScheibenbild = {katalog::kTrefferzone1, katalog::kTrefferzone2,
                                              katalog::kTrefferzone3};

bool AmRand(const Kugel& k) {
  // Written so that a position that is not a number, which lies on no field, is at the edge:
  // such a ball would never leave.
  const bool drinnen = k.PosX >= kRandLinks && k.PosX <= kRandRechts && k.PosY >= kRandOben;
  return !drinnen || (k.PosY > kRandUnten && k.Tempo > 0);
}

// Whether a ball that has flown its frames is spent; the battle's values are read once for
// all the balls of a list.
struct Reichweite {
  explicit Reichweite(const Spiel& spiel) : frames(spiel.Reichweite), gilt(spiel.Option == 1) {}
  bool Verbraucht(const Kugel& k) const { return k.Alter == frames && gilt && k.Tempo > 1.0; }
  int32_t frames;
  bool gilt;
};

// Thousands of balls step in every frame, but only a few hundred whole-degree headings
// occur: their directions are worked out once, by the same calls, so that a step from the
// table is the very step the calls give.
constexpr int kTafelVon = -360, kTafelBis = 720;
using Richtungstafel = std::array<std::array<Schrittrichtung, 2>, kTafelBis - kTafelVon + 1>;

const Richtungstafel& RichtungsTafel() {
  static const Richtungstafel tafel = [] {
    Richtungstafel t{};
    for (int grad = kTafelVon; grad <= kTafelBis; ++grad) {
      t[grad - kTafelVon] = {KugelRichtung(grad, 1), KugelRichtung(grad, 2)};
    }
    return t;
  }();
  return tafel;
}

// Headings beyond the table, worked out each time.
[[gnu::noinline]] Schrittrichtung RichtungAusserhalb(double kurs, int32_t seite) {
  return KugelRichtung(nearestWhole(kurs), seite);
}

// The heading rounded to whole degrees, as in the calls; within the table rounded at once.
[[gnu::always_inline]] inline void Schritt(Kugel& kugel, const Richtungstafel& tafel) {
  if (kugel.Seite != 1 && kugel.Seite != 2) return;  // the resting balls
  const double kurs = kugel.Kurs;
  const Schrittrichtung r = kurs >= kTafelVon && kurs <= kTafelBis
                                ? tafel[roundToInt(kurs) - kTafelVon][kugel.Seite - 1]
                                : RichtungAusserhalb(kurs, kugel.Seite);
  kugel.PosX += r.dx * kugel.Tempo;
  kugel.PosY += r.dy * kugel.Tempo;
}

// One pass that keeps the order of the balls that stay.
template <typename Behalten>
void Durchgehen(std::vector<Kugel>& liste, Behalten behalten) {
  // Held apart from the balls, whose stores could be the list's own as far as the compiler
  // knows.
  Kugel* const kugeln = liste.data();
  const size_t anzahl = liste.size();
  size_t bleibt = 0;
  for (size_t i = 0; i < anzahl; ++i) {
    if (!behalten(kugeln[i])) continue;
    // Until a ball goes, the others stay where they are: thousands of balls are not copied.
    if (bleibt != i) kugeln[bleibt] = kugeln[i];
    ++bleibt;
  }
  liste.resize(bleibt);
}

void ListeFliegen(const Spiel& spiel, Media& media, std::vector<Kugel>& liste, int bild) {
  // Where the balls are drawn, handed over a few hundred at a time, in order, without an
  // allocation in the frame; frames played again draw nothing.
  std::array<Point, 256> orte;
  size_t gesammelt = 0;
  const bool zeichnen = !media.silent();
  const Richtungstafel& tafel = RichtungsTafel();
  const Reichweite reichweite(spiel);
  Durchgehen(liste, [&](Kugel& k) {
    if (AmRand(k)) return false;
    if (zeichnen) {
      orte[gesammelt++] = {roundToInt(k.PosX), roundToInt(k.PosY)};
      if (gesammelt == orte.size()) {
        media.drawTransparentSprites(bild, orte);
        gesammelt = 0;
      }
    }
    Schritt(k, tafel);
    // The resting balls age in every frame of a match; never past the int range.
    if (k.Alter < std::numeric_limits<int32_t>::max()) ++k.Alter;
    return !reichweite.Verbraucht(k);
  });
  media.drawTransparentSprites(bild, {orte.data(), gesammelt});
}

Punkt Scheibe(const Schiff& s, double abstand, double kurs) {
  const double bogen = Bogenmass(kurs);
  return {roundToInt(s.PosX + kScheibenEcke + abstand * maths::sin(bogen)),
          roundToInt(s.PosY + kScheibenEcke - abstand * maths::cos(bogen))};
}

Scheiben ScheibenVon(const Schiff& s) {
  return {{Scheibe(s, kBugAbstand, s.Kurs), Scheibe(s, kMitteAbstand, s.Kurs + 180),
           Scheibe(s, kHeckAbstand, s.Kurs + 180)}};
}

void UmrissSetzen(Scheiben& scheiben, const std::array<Size, 3>& groessen) {
  bool erste = true;
  for (size_t i = 0; i < scheiben.ecke.size(); ++i) {
    if (groessen[i].w <= 0 || groessen[i].h <= 0) continue;  // no picture meets nothing
    const Punkt e = scheiben.ecke[i];
    const int64_t rechts = int64_t{e.x} + groessen[i].w, unten = int64_t{e.y} + groessen[i].h;
    scheiben.links = erste ? e.x : std::min<int64_t>(scheiben.links, e.x);
    scheiben.oben = erste ? e.y : std::min<int64_t>(scheiben.oben, e.y);
    scheiben.rechts = erste ? rechts : std::max(scheiben.rechts, rechts);
    scheiben.unten = erste ? unten : std::max(scheiben.unten, unten);
    erste = false;
  }
}

// True when the ball's picture shares no pixel with the box of the discs (none when empty).
bool Fern(Punkt kugel, Size kugelGroesse, const Scheiben& ziel) {
  return kugel.x >= ziel.rechts || ziel.links >= int64_t{kugel.x} + kugelGroesse.w ||
         kugel.y >= ziel.unten || ziel.oben >= int64_t{kugel.y} + kugelGroesse.h;
}

// Widens `alle` to take in the box of `ziel` (an empty box takes in nothing).
void Umfassen(Scheiben& alle, const Scheiben& ziel) {
  if (ziel.links >= ziel.rechts || ziel.oben >= ziel.unten) return;
  const bool leer = alle.links >= alle.rechts || alle.oben >= alle.unten;
  alle.links = leer ? ziel.links : std::min(alle.links, ziel.links);
  alle.oben = leer ? ziel.oben : std::min(alle.oben, ziel.oben);
  alle.rechts = leer ? ziel.rechts : std::max(alle.rechts, ziel.rechts);
  alle.unten = leer ? ziel.unten : std::max(alle.unten, ziel.unten);
}

// The discs themselves, for a ball near them.
[[gnu::noinline]] bool TrifftScheibe(Media& media, int kugelbild, Punkt kugel,
                                     const Scheiben& ziel) {
  for (size_t i = 0; i < ziel.ecke.size(); ++i) {
    if (media.spritesOverlap(kugelbild, kugel.x, kugel.y, kScheibenbild[i], ziel.ecke[i].x,
                             ziel.ecke[i].y)) {
      return true;
    }
  }
  return false;
}

// Inline, as most balls are far: only those near go on to the discs.
bool Trifft(Media& media, int kugelbild, Size kugelGroesse, Punkt kugel, const Scheiben& ziel) {
  return !Fern(kugel, kugelGroesse, ziel) && TrifftScheibe(media, kugelbild, kugel, ziel);
}

void Treffer(Spiel& spiel, Media& media, int ziel, int schuetze) {
  if (spiel.Sound == 1) media.playSound(katalog::kTrefferTon, spiel.TrefferLautstaerke);
  const SchiffsTyp* typ =
      schuetze >= 0 && schuetze < kSchiffsAnzahl ? KlasseVon(spiel, schuetze) : nullptr;
  if (typ != nullptr) spiel.Flotte[ziel].Health -= typ->Schaden;
}

}  // namespace

Schrittrichtung KugelRichtung(double k, int32_t seite) {
  const double winkel = Bogenmass(k + (seite == 1 ? 90 : 270));
  return {-maths::sin(winkel), maths::cos(winkel)};
}

void KugelSchritt(Kugel& kugel) { Schritt(kugel, RichtungsTafel()); }

void KugelnFliegen(Spiel& spiel, Media& media) {
  ListeFliegen(spiel, media, spiel.ListeA, katalog::kKugelA);
  ListeFliegen(spiel, media, spiel.ListeB, katalog::kKugelB);
}

void TrefferAuswerten(Spiel& spiel, Media& media) {
  const std::array<Size, 3> scheibenGroessen = {media.spriteSize(kScheibenbild[0]),
                                                media.spriteSize(kScheibenbild[1]),
                                                media.spriteSize(kScheibenbild[2])};
  std::array<Scheiben, kSchiffsAnzahl> scheiben;
  for (int j = 0; j < kSchiffsAnzahl; ++j) {
    scheiben[j] = ScheibenVon(spiel.Flotte[j]);
    UmrissSetzen(scheiben[j], scheibenGroessen);
  }
  const Size kugelA = media.spriteSize(katalog::kKugelA);
  const Size kugelB = media.spriteSize(katalog::kKugelB);

  // The box around every target of list A's balls: most balls are far from all of them.
  Scheiben gegner;
  for (int ziel = 1; NimmtTeil(spiel, ziel); ++ziel) Umfassen(gegner, scheiben[ziel]);

  Durchgehen(spiel.ListeB, [&](const Kugel& k) {
    const Punkt p{roundToInt(k.PosX), roundToInt(k.PosY)};
    if (!Trifft(media, katalog::kKugelB, kugelB, p, scheiben[0])) return true;
    Treffer(spiel, media, 0, k.Schuetze);
    return false;
  });
  Durchgehen(spiel.ListeA, [&](const Kugel& k) {
    const Punkt p{roundToInt(k.PosX), roundToInt(k.PosY)};
    if (Fern(p, kugelA, gegner)) return true;
    for (int ziel = 1; NimmtTeil(spiel, ziel); ++ziel) {
      if (!Trifft(media, katalog::kKugelA, kugelA, p, scheiben[ziel])) continue;
      Treffer(spiel, media, ziel, 0);
      return false;
    }
    return true;
  });
}
