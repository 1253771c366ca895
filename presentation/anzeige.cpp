#include "presentation/anzeige.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "basis/rounding.h"
#include "state/klasse.h"

namespace {

constexpr Rgb kSchwarz{0, 0, 0};
constexpr Rgb kGruen{101, 156, 61};
constexpr Rgb kRot{255, 0, 0};

struct Beschriftung {
  int x, y;
  const char* text;
};

// Where one player's panel lies; Player 2's mirrors Player 1's at the right-hand corner.
struct Tafel {
  int zifferblattX;
  int saeuleX;
  Beschriftung skala[4];
  int steuerbordX;  // frame of the starboard bar
  int backbordX;    // frame of the port bar
};

constexpr Tafel kTafelSpieler1{
    0, 0, {{10, 956, "30"}, {40, 972, "20"}, {62, 996, "10"}, {80, 1026, "0"}}, 220, 110};
constexpr Tafel kTafelSpieler2{
    1680,
    1660,
    {{1658, 956, "30"}, {1625, 972, "20"}, {1600, 996, "10"}, {1590, 1026, "0"}},
    1470,
    1360};

constexpr int kBalkenY = 1030, kBalkenRahmenBreite = 104, kBalkenRahmenHoehe = 20;
constexpr int kBalkenRadius = 10, kSaeulenRadius = 5;

void Gesundheit(Media& media, const Tafel& tafel, float health, float hmax) {
  media.fillRoundBox(tafel.saeuleX, roundToInt(900 - 2 * hmax), 20, roundToInt(2 * hmax + 4),
                     kSaeulenRadius, kSaeulenRadius, kSchwarz);
  media.fillRoundBox(tafel.saeuleX + 2, roundToInt(902 - 2 * health), 16, roundToInt(2 * health),
                     kSaeulenRadius, kSaeulenRadius, kGruen);
}

void BalkenRahmen(Media& media, int x) {
  media.fillRoundBox(x, kBalkenY, kBalkenRahmenBreite, kBalkenRahmenHoehe, kBalkenRadius,
                     kBalkenRadius, kSchwarz);
}

// A bar is 100 pixels for a full battery. A class without guns (or with a count so small
// that a gun has no finite length) shows its frames only.
void Batterien(Media& media, const Tafel& tafel, float links, float rechts, float anzahl) {
  const float proKanone = 100 / anzahl;
  const bool messbar = std::isfinite(proKanone);
  BalkenRahmen(media, tafel.steuerbordX);
  if (messbar) {
    media.fillRoundBox(tafel.steuerbordX + 2, kBalkenY + 2, roundToInt(rechts * proKanone), 16,
                       kBalkenRadius, kBalkenRadius, kRot);
  }
  BalkenRahmen(media, tafel.backbordX);
  if (messbar) {
    const int rechtesEnde = tafel.backbordX + kBalkenRahmenBreite - 2;
    media.fillRoundBox(roundToInt(rechtesEnde - links * proKanone), kBalkenY + 2,
                       roundToInt(links * proKanone), 16, kBalkenRadius, kBalkenRadius, kRot);
  }
}

void TafelZeichnen(const Spiel& spiel, Media& media, int schiff, const Tafel& tafel) {
  const SchiffsTyp* typ = KlasseVon(spiel, schiff);
  if (typ == nullptr) return;
  const Schiff& s = spiel.Flotte[schiff];
  media.fillCircle(tafel.zifferblattX, 1050, 100, kSchwarz);
  Gesundheit(media, tafel, s.Health, typ->Health);
  for (const Beschriftung& b : tafel.skala) media.drawText(b.x, b.y, b.text);
  Batterien(media, tafel, s.KanonenLinks, s.KanonenRechts, typ->KanonenAnzahl);
}

// The rounded value in decimal digits, whole also beyond the int range (a float holds up to
// 39 digits); infinity reads "inf".
std::string Ganzzahlig(float wert) {
  char text[48];
  std::snprintf(text, sizeof text, "%.0f", std::nearbyint(static_cast<double>(wert)));
  return text;
}

void GesundheitSchreiben(const Spiel& spiel, Media& media) {
  for (int schiff = 1; NimmtTeil(spiel, schiff); ++schiff) {
    const Schiff& s = spiel.Flotte[schiff];
    if (!(s.Health > 0.0f)) continue;
    const std::string text = "Health: " + Ganzzahlig(s.Health);
    media.drawText(roundToInt(s.PosX), roundToInt(s.PosY), text);
  }
}

}  // namespace

void AnzeigeZeichnen(const Spiel& spiel, Media& media) {
  if (!media.beginDrawing()) return;
  TafelZeichnen(spiel, media, 0, kTafelSpieler1);
  if (spiel.SpielModus == kZweiSpieler) {
    TafelZeichnen(spiel, media, 1, kTafelSpieler2);
  } else {
    GesundheitSchreiben(spiel, media);
  }
  media.endDrawing();
}
