#include "tests/scenario/arena.h"

#include "assets/embedded.h"
#include "flow/partie.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "settings/settings_keys.h"

Arena::Arena(int32_t modus, int32_t gegner, uint32_t seed) {
  auto owned = std::make_unique<HeadlessBackend>();
  backend = owned.get();
  media = std::make_unique<Media>(std::move(owned), seed);
  Hochfahren(spiel, *media);
  openBattleMedia(*media, kScreenWidth, kScreenHeight, embeddedFile);
  spiel.Sound = GameOptions{}.Sound;
  startBattle(spiel, defaultStartRecord(modus, gegner, seed));
}

bool Arena::frame() { return Frame(spiel, *media); }

void Arena::frames(int count) {
  for (int i = 0; i < count; ++i) frame();
}

void Arena::neuAufbauen() { PartieAufbauen(spiel); }

int Arena::toene(int sound) const {
  int anzahl = 0;
  for (const auto& [nummer, lautstaerke] : backend->soundsPlayed()) anzahl += nummer == sound;
  return anzahl;
}

Textbild::Textbild(int x, int y, const std::string& text, int schrift) {
  Spiel spiel;
  Media media(std::make_unique<HeadlessBackend>(), 1);
  Hochfahren(spiel, media);
  media.clearScreen(kSeeFarbe);
  media.beginDrawing();
  if (schrift >= 0) media.useFont(schrift);
  media.drawText(x, y, text);
  media.endDrawing();
  // No text of the game reaches further than this from its corner.
  for (int py = y; py < y + 250; ++py) {
    for (int px = x; px < x + 1280; ++px) {
      const Rgb farbe = media.pixel(px, py);
      if (farbe != kSeeFarbe) box_.push_back({px, py, farbe});
    }
  }
}

bool Textbild::gleich(const Media& media) const {
  if (box_.empty()) return false;
  for (const Pixel& p : box_) {
    if (media.pixel(p.x, p.y) != p.farbe) return false;
  }
  return true;
}
