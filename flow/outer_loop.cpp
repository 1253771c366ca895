#include "flow/outer_loop.h"

#include "flow/partie.h"
#include "flow/schlacht.h"
#include "flow/start.h"

void runOuterLoop(Spiel& spiel, Media& media, SettingsStore& store, const LauncherRun& launcher,
                  const std::string& settingsFile) {
  for (;;) {
    const int32_t modus = launcher(spiel, media);
    if (modus != kEinzelspieler && modus != kZweiSpieler) return;
    spiel.SpielModus = modus;
    if (!SchlachtOeffnen(spiel, media, store, settingsFile)) return;
    PartieAufbauen(spiel);
    SchlachtLaufen(spiel, media);
  }
}
