#include "flow/outer_loop.h"

#include "flow/replay_play.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "replay/replay_folder.h"

void runOuterLoop(Spiel& spiel, Media& media, SettingsStore& store, const LauncherRun& launcher,
                  const std::string& settingsFile, const std::string& replayFolder) {
  for (;;) {
    const int32_t modus = launcher(spiel, media);
    if (modus != kEinzelspieler && modus != kZweiSpieler) return;
    spiel.SpielModus = modus;
    if (!SchlachtOeffnen(spiel, media, store, settingsFile)) return;
    const StartRecord record = localStartRecord(spiel);
    startBattle(spiel, record);
    ReplayRecorder recorder(record);
    SchlachtLaufen(spiel, media, recordingWatcher(recorder, spiel));
    keepReplay(replayFolder, finishedReplay(recorder, spiel));
  }
}
