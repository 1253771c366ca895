#include "gunnery/batterie.h"

#include <cmath>

#include "basis/rounding.h"
#include "gunnery/kugeln.h"
#include "maths/maths.h"
#include "state/katalog.h"
#include "state/klasse.h"

namespace {

constexpr double kKugelTempo = 5.0;
// From the ship picture's corner to the origin of the muzzle line.
constexpr double kMuendungslinie = 67.0;
// Schussversatz is drawn from -50 to 30.
constexpr int kVersatzSpanne = 80, kVersatzAchtern = 50;

int Flammenbild(int schiff, int seite) {
  using namespace katalog;
  if (schiff == 0) return seite == kBackbord ? kFeuerLinksSchiff0 : kFeuerRechtsSchiff0;
  return seite == kBackbord ? kFeuerLinksAndere : kFeuerRechtsAndere;
}

}  // namespace

void BatterieFeuern(Spiel& spiel, Media& media, int schiff, int seite, bool befohlen) {
  const SchiffsTyp* typ = KlasseVon(spiel, schiff);
  if (typ == nullptr || (seite != kBackbord && seite != kSteuerbord)) return;
  Schiff& s = spiel.Flotte[schiff];
  float& kanonen = seite == kBackbord ? s.KanonenLinks : s.KanonenRechts;
  float& pause = seite == kBackbord ? s.PauseLinks : s.PauseRechts;
  if (befohlen) {
    // A battery under orders never reloads, not even while it waits.
    if (pause <= 0.0f && kanonen > 0.0f) {
      KugelAbfeuern(spiel, media, schiff, seite);
      kanonen -= 1.0f;
      pause = typ->SchussTempo;
    }
  } else if (typ->KanonenAnzahl > kanonen) {
    kanonen += typ->Nachladezeit;
  }
}

void KugelAbfeuern(Spiel& spiel, Media& media, int schiff, int seite) {
  if (spiel.Sound == 1) media.playSound(katalog::kSchussTon, spiel.SchussLautstaerke);
  const Schiff& s = spiel.Flotte[schiff];
  const auto& versatz = spiel.Muendungsversatz[schiff][seite - 1];
  const double x = s.PosX + kMuendungslinie + versatz[0];
  const double y = s.PosY + kMuendungslinie + versatz[1];
  if (schiff == 0) {
    KugelAnhaengen(spiel.ListeA, x, y, kKugelTempo, s.Kurs, seite);
  } else {
    KugelAnhaengen(spiel.ListeB, x, y, kKugelTempo, s.Kurs, seite, static_cast<int8_t>(schiff));
  }
  const int px = roundToInt(x), py = roundToInt(y);
  media.drawTransparentSprite(katalog::kRauch, px, py);
  media.beginRotatedDrawing();
  media.drawRotatable(Flammenbild(schiff, seite), px, py);
  media.endRotatedDrawing();
}

void SchussversatzWuerfeln(Spiel& spiel, Media& /*media*/) {
  for (int32_t& versatz : spiel.Schussversatz) {
    versatz = spiel.Zufall.Zahl(kVersatzSpanne) - kVersatzAchtern;
  }
  for (int schiff = 0; schiff < kSchiffsAnzahl; ++schiff) {
    const double kurs = Bogenmass(spiel.Flotte[schiff].Kurs);
    for (int seite = 0; seite < 2; ++seite) {
      const double versatz = spiel.Schussversatz[seite];
      spiel.Muendungsversatz[schiff][seite] = {maths::sin(kurs) * versatz,
                                               -maths::cos(kurs) * versatz};
    }
  }
}
