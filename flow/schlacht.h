// The frame loop: runs a match frame by frame until the player leaves it.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "basis/steuerung.h"
#include "media/media.h"
#include "state/spiel.h"

// Everything the players ask of one frame, read once at its top.
struct Eingaben {
  std::array<Steuerung, 2> Spieler{};
  bool Neustart = false;   // Return held
  bool Verlassen = false;  // Escape released
  bool Pause = false;      // P released: pauses or resumes
  bool Fokus = true;       // the battle window has the keyboard focus
};

// The frame's controls from the reading pollKeyboard took. Asks whether Escape was released,
// so it belongs once to every frame.
Eingaben EingabenLesen(Media& media);

// The window events taken and the keyboard read for the next frame.
Eingaben EingabenNehmen(const Spiel& spiel, Media& media);

// One whole frame. True when the player confirmed leaving; the battle window is closed then.
// Takes the window events, reads the keyboard and runs the frame with what it read.
bool Frame(Spiel& spiel, Media& media);

// The frame after its window events and keyboard reading, with the given controls. While the
// battle is paused nothing moves or sounds and the frame mostly sleeps; Escape still asks.
bool Frame(Spiel& spiel, Media& media, const Eingaben& eingaben);

// Drawn over a finished frame just before it is shown (a replay's caption).
using FrameOverlay = std::function<void(Media&)>;
// What a screen shows beyond the battle itself; nothing, as in every battle on one computer,
// unless set.
struct Ansicht {
  int32_t EigenesSchiff = -1;  // a network battle's own ship, marked as the player's
  FrameOverlay Ueberlagerung;
  bool Ruetteln = true;  // hits rumble the pads of the player hit; not in a battle only watched
  // The mark's text in the player's language, worded once a battle: frames make no text.
  std::string_view EigeneMarke = {};
};
bool Frame(Spiel& spiel, Media& media, const Eingaben& eingaben, const Ansicht& ansicht);

// Decides the result: draws its text and marks the match decided.
void ErgebnisPruefen(Spiel& spiel, Media& media);

// The text of the first result that holds, or nullptr while the match runs.
const char* ErgebnisText(const Spiel& spiel);

// Told of every frame that ran to its end, with the controls it ran with (a replay's
// recorder); not of the frame the player left in.
using FrameBeobachter = std::function<void(const Spiel&, const Eingaben&)>;

// Runs frames until the player leaves.
void SchlachtLaufen(Spiel& spiel, Media& media, const FrameBeobachter& beobachter = {});
