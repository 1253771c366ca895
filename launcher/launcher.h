// The launcher: four windows before every battle (mode buttons, ship selection, ship
// editor, options) driven by one event loop. Needs a QApplication; includes no Qt header,
// so the game flow can call it.
#pragma once

#include <QRect>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "launcher/event_queue.h"
#include "media/media.h"
#include "settings/network_settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/spiel.h"

class Controls;
class QSpinBox;
class KeyWindow;
class QWidget;
class ReplayWindow;
struct LauncherResources;

// What runLauncher reports when the player ends the game instead of choosing a battle.
inline constexpr int32_t kQuitGame = 0;
// What it reports when the player offers or joins a network battle (see NetworkRequest).
inline constexpr int32_t kNetworkBattle = 3;
// What it reports when the player chose a replay to watch in the window "Wiederholungen".
inline constexpr int32_t kWatchReplay = 4;

// A network battle asked for in the launcher: offered on `port`, or joining `address`
// ("host" or "host:port", as typed).
struct NetworkRequest {
  bool host = false;
  std::string address;
  uint16_t port = 0;
};

class Launcher {
 public:
  // The launcher's own store opens the settings file only for each load or save.
  Launcher(Spiel& spiel, Media& media, std::string settingsFile = kSettingsFile);
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;
  ~Launcher();

  // Loads the pictures and fonts and builds the four windows afresh; shows the first.
  void start();
  // One turn of the loop: waits at most timeoutMs for an event and handles it. Once the run
  // has ended, the game mode (1 or 2), or kQuitGame; the windows are hidden then.
  std::optional<int32_t> pass(int timeoutMs);

  // A network battle's ship choice: only the ship list, showing the battle's classes (the
  // host's). pass() ends with 1 once a row is chosen (see networkChoice), with kQuitGame when
  // the list is closed.
  void startNetworkChoice(const std::array<SchiffsTyp, kKlassenAnzahl>& classes);
  int32_t networkChoice() const { return networkChoice_; }
  // After pass() returned kNetworkBattle: what the player asked for.
  const std::optional<NetworkRequest>& networkRequest() const { return networkRequest_; }
  QWidget* networkWindow() const { return networkWindow_.get(); }
  // The kept replays, from the launcher window's menu; after pass() returned kWatchReplay
  // its chosen() is the file to watch.
  ReplayWindow* replayWindow() const { return replayWindow_.get(); }

  QWidget* control(int n) const;
  QWidget* window(int n) const;
  int32_t choices() const { return choices_; }
  // The players' own keys, opened from the options window.
  KeyWindow* keyWindow() const { return keyWindow_; }

 private:
  void readControls();
  void handle(const LauncherEvent& event);
  void handleControl(int n, bool doubleClick);
  void updatePerPass();

  void createLauncherWindow();
  void createNetworkWindow();
  void placeNetworkWindow();
  void updateNetworkWindow();
  void createReplayWindow();
  void createShipSelection();
  void fillShipList();
  void fillShipList(const std::array<SchiffsTyp, kKlassenAnzahl>& classes);
  void chooseShip();
  void updateShipSelection();
  void createShipEditor();
  void loadShipEditor();
  bool saveShipEditor();
  void createOptionsWindow();
  void createVolumeSlider(QWidget* page, int n, int y);
  void createCaptainLevel(QWidget* page);
  void createKeyWindow(QWidget* optionsWindow, QWidget* page);
  void loadOptions();
  bool saveOptions();
  bool saved(bool done, int window);
  void updateOptions();

  Spiel& spiel_;
  Media& media_;
  SettingsStore store_;
  std::string settingsFile_;
  EventQueue events_;
  std::unique_ptr<LauncherResources> resources_;
  std::unique_ptr<Controls> controls_;
  KeyWindow* keyWindow_ = nullptr;  // owned by the options window
  int32_t choices_ = 0;
  int32_t selection_ = -1;  // list row read at the start of the pass
  int32_t soundBox_ = 0;    // 1 while "Sound an" is ticked, read with the selection
  int shownPicture_ = 1;    // picture of the class picture control
  bool quit_ = false;
  bool network_ = false;
  int32_t networkChoice_ = -1;
  std::optional<NetworkRequest> networkRequest_;
  std::unique_ptr<QWidget> networkWindow_;
  std::unique_ptr<ReplayWindow> replayWindow_;
  QRect placedBeside_;                 // the launcher's frame the network window was placed by
  QWidget* lastActive_ = nullptr;      // the window that had the keyboard at the last pass
  QSpinBox* inputDelayBox_ = nullptr;  // in the options window's "Gegner" page
  std::optional<int32_t> result_;
};

// Runs the launcher until the players have chosen their ships (returns the game mode, 1 or
// 2, with the ships' classes set) or the player ends the game (returns kQuitGame).
// kNetworkBattle when a network battle was asked for, which `request` (if given) then holds;
// kWatchReplay when a replay was chosen, whose file `replayFile` (if given) then holds.
int32_t runLauncher(Spiel& spiel, Media& media, const std::string& settingsFile = kSettingsFile,
                    NetworkRequest* request = nullptr, std::string* replayFile = nullptr);
