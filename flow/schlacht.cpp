#include "flow/schlacht.h"

#include "media/rounding.h"
#include "ships/katalog.h"

namespace {

void FensterEreignisseNehmen(Media& media) {
  while (media.pollWindowEvent()) media.sleepMs(5);
  media.sleepMs(5);
}

void SchiffeZeigen(Spiel& spiel, Media& media) {
  media.beginRotatedDrawing();
  for (int i = 0; i <= spiel.Gegneranzahl && i < kSchiffsAnzahl; ++i) {
    const Schiff& s = spiel.Flotte[i];
    const int sprite = katalog::schiffsSprite(i, s.Klasse);
    media.setRotation(sprite, static_cast<float>(s.Kurs), false);
    media.drawRotatable(sprite, roundToInt(s.PosX), roundToInt(s.PosY));
  }
  media.endRotatedDrawing();
}

bool BeendenBestaetigt(Media& media) {
  if (!media.keyReleased(Key::Escape)) return false;
  return media.messageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion);
}

}  // namespace

int32_t SchlachtAuswahl(Spiel& spiel, Media& media) {
  spiel.Flotte[0].Klasse = 0;
  for (int i = 1; i < kSchiffsAnzahl; ++i)
    spiel.Flotte[i].Klasse = media.randomInt(kKlassenAnzahl - 1);
  return kEinzelspieler;
}

bool SchlachtFrame(Spiel& spiel, Media& media) {
  FensterEreignisseNehmen(media);
  media.pollKeyboard();
  media.clearScreen(Rgb{0, 0, 0});
  media.drawSprite(katalog::kMeer, 0, 0);
  SchiffeZeigen(spiel, media);
  const bool verlassen = BeendenBestaetigt(media);
  if (!verlassen) media.showFrame();
  return verlassen;
}

void SchlachtLaufen(Spiel& spiel, Media& media) {
  while (!SchlachtFrame(spiel, media)) {
  }
  media.closeBattleWindow();
}
