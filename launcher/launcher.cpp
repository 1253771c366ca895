#include "launcher/launcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QTableWidget>
#include <QWidget>

#include "launcher/controls.h"
#include "launcher/launcher_resources.h"
#include "launcher/message_box.h"
#include "launcher/replay_window.h"
#include "launcher/ship_choice.h"

using namespace launcher_ids;

Launcher::Launcher(Spiel& spiel, Media& media, std::string settingsFile)
    : spiel_(spiel), media_(media), settingsFile_(std::move(settingsFile)) {}

Launcher::~Launcher() = default;

void Launcher::start() {
  controls_.reset();
  events_.clear();  // events of the windows just deleted
  resources_ = std::make_unique<LauncherResources>(loadLauncherResources());
  controls_ = std::make_unique<Controls>(events_, resources_->controlFont);
  createLauncherWindow();
  // Shown at creation: on screen while the other windows are built.
  controls_->showWindow(kLauncherWindow);
  createNetworkWindow();
  placedBeside_ = {};
  lastActive_ = nullptr;
  placeNetworkWindow();
  networkWindow_->show();
  createReplayWindow();
  QCoreApplication::processEvents();
  createShipSelection();
  fillShipList();
  createShipEditor();
  createOptionsWindow();
  choices_ = 0;
  shownPicture_ = 1;
  quit_ = false;
  network_ = false;
  networkChoice_ = -1;
  networkRequest_.reset();
  result_.reset();
}

void Launcher::startNetworkChoice(const std::array<SchiffsTyp, kKlassenAnzahl>& classes) {
  start();
  network_ = true;
  controls_->hideWindow(kLauncherWindow);
  networkWindow_->hide();
  fillShipList(classes);
  controls_->window(kShipSelectionWindow)->setWindowTitle(QStringLiteral("Schiff auswählen"));
  controls_->showWindow(kShipSelectionWindow);
}

std::optional<int32_t> Launcher::pass(int timeoutMs) {
  if (result_ || !controls_) return result_;
  const LauncherEvent event = events_.next(timeoutMs);
  readControls();
  handle(event);
  if (quit_) {
    result_ = kQuitGame;
  } else if (networkRequest_) {
    result_ = kNetworkBattle;
  } else if (!network_ && replayWindow_->chosen()) {
    result_ = kWatchReplay;
  } else if (network_ && networkChoice_ >= 0) {
    result_ = 1;
  } else if (!network_ && launcherRunEnds(spiel_.SpielModus, choices_)) {
    result_ = spiel_.SpielModus;
  } else {
    updatePerPass();
    return std::nullopt;
  }
  controls_->hideWindows();
  networkWindow_->hide();
  replayWindow_->hide();
  return result_;
}

QWidget* Launcher::control(int n) const { return controls_ ? controls_->control(n) : nullptr; }

QWidget* Launcher::window(int n) const { return controls_ ? controls_->window(n) : nullptr; }

void Launcher::readControls() {
  const auto* list = controls_->get<QTableWidget>(kShipList);
  const QModelIndexList rows = list->selectionModel()->selectedRows();
  selection_ = rows.isEmpty() ? -1 : rows.front().row();
  soundBox_ = controls_->get<QCheckBox>(kSoundBox)->isChecked() ? 1 : 0;
}

void Launcher::handle(const LauncherEvent& event) {
  switch (event.kind) {
    case LauncherEvent::Kind::CloseBox:
      if (event.window == kLauncherWindow || (network_ && event.window == kShipSelectionWindow)) {
        quit_ = true;
      } else {
        controls_->hideWindow(event.window);
      }
      break;
    case LauncherEvent::Kind::Control:
      handleControl(event.control, event.doubleClick);
      break;
    case LauncherEvent::Kind::None:
      break;
  }
}

void Launcher::handleControl(int n, bool doubleClick) {
  switch (n) {
    case kSinglePlayerButton:
    case kTwoPlayerButton:
      fillShipList();
      controls_->showWindow(kShipSelectionWindow);
      spiel_.SpielModus = n == kSinglePlayerButton ? kEinzelspieler : kZweiSpieler;
      break;
    case kEditorButton:
      loadShipEditor();
      controls_->showWindow(kShipEditorWindow);
      break;
    case kOptionsButton:
      loadOptions();
      controls_->showWindow(kOptionsWindow);
      break;
    case kQuitButton:
      quit_ = true;
      break;
    case kShipList:
      if (doubleClick) chooseShip();
      break;
    case kStartButton:
      chooseShip();
      break;
    case kEditorSaveButton:
      if (saveShipEditor()) {
        controls_->hideWindow(kShipEditorWindow);
        fillShipList();  // an open list must not go on showing the old values
      }
      break;
    case kEditorCancelButton:
      controls_->hideWindow(kShipEditorWindow);
      break;
    case kOptionsSaveButton:
      if (saveOptions()) controls_->hideWindow(kOptionsWindow);
      break;
    case kOptionsCancelButton:
      controls_->hideWindow(kOptionsWindow);
      break;
    default:
      break;
  }
}

// A save that failed is told over its window, which stays open with what the player typed.
bool Launcher::saved(bool done, int window) {
  if (!done) showSaveFailure(controls_->window(window), settingsFile_, store_.lastSaveError());
  return done;
}

void Launcher::updatePerPass() {
  updateOptions();
  updateShipSelection();
  if (!network_) updateNetworkWindow();
}

void Launcher::createLauncherWindow() {
  QWidget* window = controls_->createWindow(kLauncherWindow, "Kaper-Fahrt", {520, 400}, Qt::black);
  controls_->createPicture(window, kTitlePicture, {15, 0}, resources_->pictures[0]);
  const char* const texts[] = {"Einzelspieler", "2 Spieler VS", "Schiffe Anpassen", "Einstellungen",
                               "Spiel Beenden"};
  for (int i = 0; i < 5; ++i) {
    controls_->createButton(window, kSinglePlayerButton + i, QRect(15 + 100 * i, 370, 90, 20),
                            QString::fromUtf8(texts[i]));
  }
}

int32_t runLauncher(Spiel& spiel, Media& media, const std::string& settingsFile,
                    NetworkRequest* request, std::string* replayFile) {
  // Without a QApplication there are no windows to show: nothing can be chosen.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return kQuitGame;
  std::optional<int32_t> result;
  {
    Launcher launcher(spiel, media, settingsFile);
    launcher.start();
    while (!result) result = launcher.pass(10);
    if (request != nullptr && launcher.networkRequest()) *request = *launcher.networkRequest();
    const std::optional<std::string>& chosen = launcher.replayWindow()->chosen();
    if (replayFile != nullptr && chosen) *replayFile = *chosen;
  }
  // Lets the window system take the windows away before a battle window covers the screen.
  QCoreApplication::processEvents();
  return *result;
}
