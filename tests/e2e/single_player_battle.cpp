// The game's battle in single-player mode, for real-window tests while the mode is not
// yet chosen in a launcher: Player 1 in class 0, the computer ships in classes 1 to 3,
// the number of enemies from the settings file in the working directory.
#include <memory>

#include "flow/partie.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "launcher/message_box.h"
#include "launcher/qt_app.h"
#include "media/sdl_backend.h"

int main() {
  QtApp qt;
  auto backend = std::make_unique<SdlBackend>();
  if (qt.available()) backend->setMessagePresenter(showMessageBox);
  Media media(std::move(backend));
  Spiel spiel;
  SettingsStore store;
  if (!Hochfahren(spiel, media)) return Herunterfahren(media, store);

  spiel.SpielModus = kEinzelspieler;
  for (int schiff = 0; schiff < kSchiffsAnzahl; ++schiff) spiel.Flotte[schiff].Klasse = schiff;
  if (!SchlachtOeffnen(spiel, media, store)) return Herunterfahren(media, store);
  PartieAufbauen(spiel);
  SchlachtLaufen(spiel, media);
  return Herunterfahren(media, store);
}
