#include "flow/outer_loop.h"

#include "flow/schlacht.h"
#include "flow/start.h"
#include "flow/start_record.h"

void runOuterLoop(Spiel& spiel, Media& media, SettingsStore& store, const LauncherRun& launcher,
                  const std::string& settingsFile) {
  for (;;) {
    const int32_t modus = launcher(spiel, media);
    if (modus != kEinzelspieler && modus != kZweiSpieler) return;
    spiel.SpielModus = modus;
    if (!SchlachtOeffnen(spiel, media, store, settingsFile)) return;
    startBattle(spiel, localStartRecord(spiel));
    SchlachtLaufen(spiel, media);
  }
}
