#include "flow/start.h"

#include <algorithm>
#include <string>

#include "assets/embedded.h"
#include "launcher/catalogue.h"
#include "state/katalog.h"

namespace {

constexpr Rgb kMeerFarbe{1, 119, 254};
constexpr Rgb kWeiss{255, 255, 255};

void BildLaden(Media& media, const DateiQuelle& quelle, int nummer, std::string_view datei,
               bool drehbar) {
  media.loadSprite(nummer, quelle(datei), drehbar);
}

void DrehbareErzeugen(Media& media) {
  using namespace katalog;
  media.createRotatable(kNadelSpieler2, kNadel);
  media.createRotatable(kNadelSpieler1, kNadel);
  media.createRotatable(kFeuerLinksSchiff0, kMuendungsfeuer);
  media.createRotatable(kFeuerRechtsSchiff0, kMuendungsfeuer);
  media.createRotatable(kFeuerLinksAndere, kMuendungsfeuer);
  media.createRotatable(kFeuerRechtsAndere, kMuendungsfeuer);
  media.createRotatable(kFlammenSchiff0, kFlammen);
  media.createRotatable(kFlammenAndere, kFlammen);
  for (int schiff = 0; schiff < kSchiffsAnzahl; ++schiff)
    for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse)
      media.createRotatable(schiffsSprite(schiff, klasse), kSchiffsbild + klasse);
}

}  // namespace

void MeerErzeugen(Media& media) {
  if (!media.createSprite(katalog::kMeer, kScreenWidth, kScreenHeight)) return;
  if (!media.beginDrawing(katalog::kMeer)) return;
  media.fillBox(0, 0, kScreenWidth, kScreenHeight, kMeerFarbe);
  media.endDrawing();
}

bool Hochfahren(Spiel& spiel, Media& media) {
  if (media.initMedia() != MediaInit::Ok) {
    media.messageBox(translatedText("Battle", "Scheisse"),
                     translatedText("Battle", "Konnte nicht starten"), MessageKind::Ok);
    return false;
  }
  spiel.Schiffstabelle = {};
  spiel.Flotte = {};
  spiel.ListeA.clear();
  spiel.ListeB.clear();
  // One generator for the launcher's and the battle's draws, seeded as the media's.
  spiel.Zufall.Generator.seed(media.randomSeed());
  media.loadFont(katalog::kErgebnisschrift, "impact", 100);
  const Size desktop = media.desktopSize();
  spiel.DesktopBreite = desktop.w;
  spiel.DesktopHoehe = desktop.h;
  return true;
}

void BilderUndToeneLaden(Media& media, const DateiQuelle& quelle) {
  using namespace katalog;
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
    const std::string datei = "ship" + std::to_string(klasse) + ".bmp";
    BildLaden(media, quelle, kSchiffsbild + klasse, datei, true);
  }
  BildLaden(media, quelle, kTrefferzone1, "hit_disc.bmp", false);
  BildLaden(media, quelle, kTrefferzone2, "hit_disc.bmp", false);
  BildLaden(media, quelle, kTrefferzone3, "hit_disc.bmp", false);
  BildLaden(media, quelle, kKugelA, "ball.bmp", false);
  BildLaden(media, quelle, kKugelB, "ball.bmp", false);
  BildLaden(media, quelle, kNadel, "needle.bmp", true);
  BildLaden(media, quelle, kRauch, "smoke.bmp", false);
  BildLaden(media, quelle, kMuendungsfeuer, "flame.bmp", true);
  BildLaden(media, quelle, kFlammen, "fire.bmp", true);
  media.loadSound(kSchussTon, quelle("shot.wav"));
  media.loadSound(kTrefferTon, quelle("hit.wav"));
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse)
    media.setTransparentColour(kSchiffsbild + klasse, kWeiss);
  DrehbareErzeugen(media);
}

bool openBattleMedia(Media& media, int width, int height, const DateiQuelle& quelle) {
  if (!media.openBattleWindow(width, height)) return false;
  media.openBattleScreen();
  MeerErzeugen(media);
  BilderUndToeneLaden(media, quelle);
  return true;
}

bool SchlachtOeffnen(Spiel& spiel, Media& media, SettingsStore& store,
                     const std::string& einstellungen) {
  if (!openBattleMedia(media, spiel.DesktopBreite, spiel.DesktopHoehe, embeddedFile)) return false;
  readBattleSettings(spiel, store, einstellungen);
  media.setKeyBindings(loadKeyBindings(store, einstellungen));
  // The battle relies on one to three enemies; the file keeps what was written into it.
  spiel.Gegneranzahl = spiel.SpielModus == kZweiSpieler ? 1 : enemyCountInRange(spiel.Gegneranzahl);
  return true;
}

int32_t enemyCountInRange(int32_t storedCount) { return std::clamp<int32_t>(storedCount, 1, 3); }

int Herunterfahren(Media& media, SettingsStore& store, const LauncherRelease& launcher) {
  media.release(MediaService::Sound);
  store.closeSettings();
  media.release(MediaService::Keyboard);
  media.release(MediaService::ScreenAndSprites);
  media.release(MediaService::Rotatables);
  media.release(MediaService::GameControllers);
  if (launcher.controls) launcher.controls();
  if (launcher.windows) launcher.windows();
  media.release(MediaService::Windows);
  media.release(MediaService::Fonts);
  media.release(MediaService::Desktop);
  return 0;
}
