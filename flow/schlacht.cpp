#include "flow/schlacht.h"

#include "flow/partie.h"
#include "gunnery/batterie.h"
#include "gunnery/flug.h"
#include "launcher/catalogue.h"
#include "presentation/schiffe_zeichnen.h"
#include "ships/kapitaene.h"
#include "ships/ruder.h"
#include "state/katalog.h"
#include "state/klasse.h"

namespace {

constexpr int kErgebnisX = 400, kErgebnisY = 400;
constexpr int kPauseX = 637, kPauseY = 200;  // about the middle of the screen
// A paused frame sleeps this long after its events: the loop stays awake for keys and the
// window but costs next to nothing.
constexpr int kPausenSchlafMs = 45;
// About once a second the paused picture is shown again, in case something covered it.
constexpr int kPausenBildFrames = 20;

// All pending events at once, then one pause: a mouse reports up to 1000 times a second, and
// a pause per event would let it slow the battle to a standstill.
void FensterEreignisseNehmen(Media& media) {
  media.takeWindowEvents();
  media.sleepMs(5);
}

void RuderUndFeuer(Spiel& spiel, Media& media, const Eingaben& eingaben) {
  const Steuerung& spieler1 = eingaben.Spieler[0];
  RuderFuehren(spiel, 0, spieler1);
  BatterieFeuern(spiel, media, 0, kBackbord, spieler1.FeuerLinks);
  BatterieFeuern(spiel, media, 0, kSteuerbord, spieler1.FeuerRechts);
  if (spiel.SpielModus == kZweiSpieler) {
    const Steuerung& spieler2 = eingaben.Spieler[1];
    RuderFuehren(spiel, 1, spieler2);
    BatterieFeuern(spiel, media, 1, kBackbord, spieler2.FeuerLinks);
    BatterieFeuern(spiel, media, 1, kSteuerbord, spieler2.FeuerRechts);
  } else if (spiel.SpielModus == kEinzelspieler) {
    for (int schiff = 1; NimmtTeil(spiel, schiff); ++schiff) {
      const Schiff& s = spiel.Flotte[schiff];
      BatterieFeuern(spiel, media, schiff, kBackbord, s.FeuerLinks == 1);
      BatterieFeuern(spiel, media, schiff, kSteuerbord, s.FeuerRechts == 1);
    }
  }
}

// The health of the two human ships (ship 1 only counts in two-player mode).
std::array<float, 2> MenschenGesundheit(const Spiel& spiel) {
  return {spiel.Flotte[0].Health, spiel.Flotte[1].Health};
}

// A player whose ship was hit feels it in the pad.
void TrefferSpueren(const Spiel& spiel, Media& media, const std::array<float, 2>& vorher) {
  const int menschen = spiel.SpielModus == kZweiSpieler ? 2 : 1;
  for (int spieler = 0; spieler < menschen; ++spieler) {
    if (spiel.Flotte[spieler].Health < vorher[spieler]) media.rumble(spieler);
  }
}

bool Gesunken(const Spiel& spiel, int schiff) { return spiel.Flotte[schiff].Untergang < 1; }

bool AlleGegnerGesunken(const Spiel& spiel) {
  for (int schiff = 1; NimmtTeil(spiel, schiff); ++schiff) {
    if (!Gesunken(spiel, schiff)) return false;
  }
  return true;
}

bool BeendenBestaetigt(Media& media, const Eingaben& eingaben) {
  if (!eingaben.Verlassen) return false;
  return media.messageBox("Kaperfahrt", translatedText("Battle", "Beenden"),
                          MessageKind::YesNoQuestion);
}

// Follows P and the focus; true while the battle stands still.
bool PauseFuehren(Pausenstand& pause, const Eingaben& eingaben) {
  if (eingaben.Pause) pause.Taste = !pause.Taste;
  if (!eingaben.Fokus && pause.HatteFokus) pause.Fokus = true;
  if (eingaben.Fokus) pause.Fokus = false;
  pause.HatteFokus = eingaben.Fokus;
  const bool pausiert = pause.Taste || pause.Fokus;
  if (!pausiert) pause.Gezeigt = false;
  return pausiert;
}

// The last frame stays on the screen with "Pause" over it.
void PauseZeigen(Pausenstand& pause, Media& media) {
  if (!pause.Gezeigt && media.beginDrawing()) {
    media.useFont(katalog::kErgebnisschrift);
    media.drawText(kPauseX, kPauseY, "Pause");
    media.endDrawing();
  }
  if (!pause.Gezeigt || pause.Frames >= kPausenBildFrames) {
    media.showFrame();
    pause.Frames = 0;
  }
  pause.Gezeigt = true;
  ++pause.Frames;
}

bool PausenFrame(Spiel& spiel, Media& media, const Eingaben& eingaben) {
  PauseZeigen(spiel.Pause, media);
  if (BeendenBestaetigt(media, eingaben)) {
    media.closeBattleWindow();
    return true;
  }
  if (eingaben.Verlassen) spiel.Pause.Frames = kPausenBildFrames;  // the box covered it
  media.sleepMs(kPausenSchlafMs);
  return false;
}

}  // namespace

const char* ErgebnisText(const Spiel& spiel) {
  const bool spieler1 = Gesunken(spiel, 0);
  const bool gegner = AlleGegnerGesunken(spiel);
  const bool zweiSpieler = spiel.SpielModus == kZweiSpieler;
  if (!zweiSpieler && spiel.SpielModus != kEinzelspieler) return nullptr;
  if (spieler1 && gegner) return "NoBody Wins!";
  if (gegner) return zweiSpieler ? "Player 1 Wins!" : "You win!";
  if (spieler1) return zweiSpieler ? "Player 2 Wins!" : "You lose!";
  return nullptr;
}

void ErgebnisPruefen(Spiel& spiel, Media& media) {
  const char* text = ErgebnisText(spiel);
  if (text == nullptr) return;
  if (media.beginDrawing()) {
    media.useFont(katalog::kErgebnisschrift);
    media.drawText(kErgebnisX, kErgebnisY, text);
    media.endDrawing();
  }
  spiel.Spielende = 1;
}

Eingaben EingabenLesen(Media& media) {
  Eingaben eingaben;
  eingaben.Spieler = {media.steuerung(0), media.steuerung(1)};
  eingaben.Neustart = media.keyDown(Key::Return);
  eingaben.Verlassen = media.keyReleased(Key::Escape);
  eingaben.Pause = media.keyReleased(Key::P);
  eingaben.Fokus = media.hasFocus();
  return eingaben;
}

bool Frame(Spiel& spiel, Media& media) { return Frame(spiel, media, EingabenNehmen(spiel, media)); }

Eingaben EingabenNehmen(const Spiel& spiel, Media& media) {
  FensterEreignisseNehmen(media);
  media.setPlayerCount(spiel.SpielModus == kZweiSpieler ? 2 : 1);
  media.pollKeyboard();
  return EingabenLesen(media);
}

bool Frame(Spiel& spiel, Media& media, const Eingaben& eingaben) {
  return Frame(spiel, media, eingaben, Ansicht{});
}

bool Frame(Spiel& spiel, Media& media, const Eingaben& eingaben, const Ansicht& ansicht) {
  if (PauseFuehren(spiel.Pause, eingaben)) return PausenFrame(spiel, media, eingaben);
  media.clearScreen(Rgb{0, 0, 0});
  media.drawSprite(katalog::kMeer, 0, 0);
  if (spiel.Spielende == 0) RuderUndFeuer(spiel, media, eingaben);
  KugelnFliegen(spiel, media);
  const auto vorher = MenschenGesundheit(spiel);
  TrefferAuswerten(spiel, media);
  if (ansicht.Ruetteln) TrefferSpueren(spiel, media, vorher);
  if (eingaben.Neustart) {
    // The frame ends here and shows nothing.
    PartieAufbauen(spiel);
    return false;
  }
  SchiffeZeichnen(spiel, media);
  if (ansicht.EigenesSchiff >= 0)
    EigenesSchiffMarkieren(spiel, media, ansicht.EigenesSchiff, ansicht.EigeneMarke);
  for (int schiff = 0; NimmtTeil(spiel, schiff); ++schiff) SchiffBewegen(spiel, schiff);
  ErgebnisPruefen(spiel, media);
  if (BeendenBestaetigt(media, eingaben)) {
    media.closeBattleWindow();
    return true;
  }
  if (spiel.SpielModus == kEinzelspieler) ComputerKapitaene(spiel);
  SchussversatzWuerfeln(spiel, media);
  if (spiel.SpielModus == kEinzelspieler) NachladenPruefen(spiel);
  if (ansicht.Ueberlagerung) ansicht.Ueberlagerung(media);
  media.showFrame();
  return false;
}

void SchlachtLaufen(Spiel& spiel, Media& media, const FrameBeobachter& beobachter) {
  spiel.Pause = {};  // every battle begins running
  for (;;) {
    const Eingaben eingaben = EingabenNehmen(spiel, media);
    if (Frame(spiel, media, eingaben)) return;
    if (beobachter) beobachter(spiel, eingaben);
  }
}
