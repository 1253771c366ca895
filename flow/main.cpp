// Kaperfahrt: start-up, then battles until the player leaves.
#include <memory>

#include "flow/partie.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "media/sdl_backend.h"

int main() {
  Spiel spiel;
  Media media(std::make_unique<SdlBackend>());
  SettingsStore store;
  if (!Hochfahren(spiel, media)) return Herunterfahren(media, store);

  spiel.SpielModus = SchlachtAuswahl(spiel, media);
  if (!SchlachtOeffnen(spiel, media, store)) return Herunterfahren(media, store);
  PartieAufbauen(spiel);
  SchlachtLaufen(spiel, media);
  return Herunterfahren(media, store);
}
