// Kaperfahrt: start-up, then battles until the player leaves.
#include <cstdlib>
#include <iostream>
#include <memory>

#include "flow/command_line.h"
#include "flow/network_flow.h"
#include "flow/outer_loop.h"
#include "flow/replay_play.h"
#include "flow/replay_watch.h"
#include "flow/settings_folder.h"
#include "flow/start.h"
#include "launcher/catalogue.h"
#include "launcher/launcher.h"
#include "launcher/message_box.h"
#include "launcher/qt_app.h"
#include "media/sdl_backend.h"
#include "replay/replay_folder.h"
#include "replay/replay_texts.h"
#include "settings/language_settings.h"

namespace {

// A replay chosen in the launcher, which has read it already; one gone since is told here.
void watchKeptReplay(Spiel& spiel, Media& media, SettingsStore& store, const std::string& file,
                     const std::string& path) {
  const ReplayReading reading = loadReplay(path);
  if (!reading.replay) {
    std::cerr << "kaperfahrt: " << replayProblemText(reading, path) << "\n";
    return;
  }
  watchReplay(spiel, media, store, file, *reading.replay);
}

}  // namespace

int main(int argc, char** argv) {
  // The desktop's language until the settings file is found, then the player's choice.
  useLanguage(desktopLanguage(processEnvironment()));
  std::string error;
  const std::optional<CommandLine> line = readCommandLine(argc, argv, error);
  if (!line) {
    std::cerr << "kaperfahrt: " << error << "\n" << usageText();
    return 2;
  }
  if (line->help || line->version) {
    std::cout << (line->help ? usageText() : versionText());
    return 0;
  }
  // Checking a replay needs no window, no sound and no settings.
  if (line->verify) return verifyReplayFile(*line->verify, std::cout, std::cerr);
  // A replay to watch is read before anything opens: a bad file ends as --verify's does.
  std::optional<Replay> watched;
  if (line->replay) {
    ReplayReading reading = loadReplay(*line->replay);
    if (!reading.replay) {
      std::cerr << replayProblemText(reading, *line->replay) << "\n";
      return 2;
    }
    watched = std::move(reading.replay);
  }
  const std::optional<NetworkStart>& network = line->network;
  // Qt before SDL: both talk to the same X server, Qt's Xlib set-up has to come first.
  QtApp qt;
  auto backend = std::make_unique<SdlBackend>();
  if (qt.available()) backend->setMessagePresenter(showMessageBox);
  Media media(std::move(backend));
  Spiel spiel;
  SettingsStore store;
  if (!Hochfahren(spiel, media)) return Herunterfahren(media, store);

  const SettingsFolder settings =
      findSettingsFolder(line->menuStart, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (!settings.problem.empty())
    media.messageBox(translatedText("SettingsFolder", "Einstellungsordner"), settings.problem,
                     MessageKind::Ok);
  const std::string& file = settings.file;
  useLanguage(chosenLanguage(loadLanguageChoice(store, file), processEnvironment()));
  const std::string replays = replayFolderBeside(file);
  if (watched) {
    watchReplay(spiel, media, store, file, *watched);
    return Herunterfahren(media, store);
  }
  if (network && qt.available()) {
    NetworkLobby lobby(spiel, media);
    runNetworkMatch(spiel, media, store, file, *network, lobby, replays);
  }
  // A network battle asked for in the launcher is played from here; then the launcher again.
  const auto launcher = [&file, &store, &replays](Spiel& s, Media& m) {
    for (;;) {
      NetworkRequest request;
      std::string replayFile;
      const int32_t mode = runLauncher(s, m, file, &request, &replayFile);
      if (mode == kWatchReplay) {
        watchKeptReplay(s, m, store, file, replayFile);
        continue;
      }
      if (mode != kNetworkBattle) return mode;
      std::string problem;
      const std::optional<NetworkStart> start = networkStartFrom(request, problem);
      if (!start) {
        m.messageBox(translatedText("Network", "Netzwerk"), problem, MessageKind::Ok);
        continue;
      }
      NetworkLobby lobby(s, m);
      runNetworkMatch(s, m, store, file, *start, lobby, replays);
    }
  };
  runOuterLoop(spiel, media, store, launcher, file, replays);
  return Herunterfahren(media, store);
}
