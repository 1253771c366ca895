#include "presentation/schiffe_zeichnen.h"

#include <algorithm>

#include "basis/rounding.h"
#include "presentation/anzeige.h"
#include "state/katalog.h"
#include "state/klasse.h"

namespace {

constexpr int kNadelSpieler1X = -60, kNadelSpieler2X = 1590, kNadelY = 960;

// The picture of a ship with a class from the table; -1 (no rotatable sprite) otherwise.
int Schiffsbild(const Spiel& spiel, int schiff) {
  if (KlasseVon(spiel, schiff) == nullptr) return -1;
  return katalog::schiffsSprite(schiff, spiel.Flotte[schiff].Klasse);
}

// Angles are worked out in 64 bits and handed over as 32-bit floats, never reduced.
void Drehen(Media& media, int bild, double winkel) {
  media.setRotation(bild, static_cast<float>(winkel), false);
}

void SchiffZeichnen(Spiel& spiel, Media& media, int schiff) {
  Schiff& s = spiel.Flotte[schiff];
  const int x = roundToInt(s.PosX), y = roundToInt(s.PosY);
  if (s.Untergang > 0) media.drawRotatable(Schiffsbild(spiel, schiff), x, y);
  if (s.Health < 1.0f && s.Untergang > 0) {
    media.drawRotatable(s.FlammenSprite, x, y);
    --s.Untergang;
  }
  // Ships 0 and 1 are turned with the others below.
  if (schiff >= 2) Drehen(media, Schiffsbild(spiel, schiff), s.Kurs);
}

void WinkelSetzen(const Spiel& spiel, Media& media) {
  using namespace katalog;
  const Schiff& s0 = spiel.Flotte[0];
  const Schiff& s1 = spiel.Flotte[1];
  Drehen(media, Schiffsbild(spiel, 0), s0.Kurs);
  Drehen(media, Schiffsbild(spiel, 1), s1.Kurs);
  Drehen(media, kNadelSpieler2, s1.Tempo * 30);
  Drehen(media, kNadelSpieler1, -(s0.Tempo * 30 + 180));
  Drehen(media, kFeuerLinksSchiff0, s0.Kurs + 90);
  Drehen(media, kFeuerRechtsSchiff0, s0.Kurs - 90);
  Drehen(media, kFeuerLinksAndere, s1.Kurs + 90);
  Drehen(media, kFeuerRechtsAndere, s1.Kurs - 90);
  Drehen(media, kFlammenSchiff0, s0.Kurs);
  Drehen(media, kFlammenAndere, s1.Kurs);
}

}  // namespace

void SchiffeZeichnen(Spiel& spiel, Media& media) {
  AnzeigeZeichnen(spiel, media);
  media.beginRotatedDrawing();
  media.drawRotatable(katalog::kNadelSpieler1, kNadelSpieler1X, kNadelY);
  if (spiel.SpielModus == kZweiSpieler) {
    media.drawRotatable(katalog::kNadelSpieler2, kNadelSpieler2X, kNadelY);
  }
  for (int schiff = 0; NimmtTeil(spiel, schiff); ++schiff) SchiffZeichnen(spiel, media, schiff);
  media.endRotatedDrawing();
  WinkelSetzen(spiel, media);
}

void EigenesSchiffMarkieren(const Spiel& spiel, Media& media, int schiff, std::string_view marke) {
  // About the size of "Du" or "You" in the overlay's font; only keeps it on the screen.
  constexpr int kBreite = 30, kHoehe = 18;
  constexpr int kRechts = 124, kOben = -2;  // from the picture's top-left corner
  const Schiff& s = spiel.Flotte[schiff];
  if (s.Untergang < 1 || !media.beginDrawing()) return;
  const int x = std::clamp(roundToInt(s.PosX) + kRechts, 0, 1680 - kBreite);
  const int y = std::clamp(roundToInt(s.PosY) + kOben, 0, 1050 - kHoehe);
  media.drawText(x, y, marke);
  media.endDrawing();
}
