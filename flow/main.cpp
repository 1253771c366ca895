// Kaperfahrt: start-up, then battles until the player leaves.
#include <memory>

#include "flow/outer_loop.h"
#include "flow/start.h"
#include "launcher/launcher.h"
#include "launcher/message_box.h"
#include "launcher/qt_app.h"
#include "media/sdl_backend.h"

int main() {
  // Qt before SDL: both talk to the same X server, Qt's Xlib set-up has to come first.
  QtApp qt;
  auto backend = std::make_unique<SdlBackend>();
  if (qt.available()) backend->setMessagePresenter(showMessageBox);
  Media media(std::move(backend));
  Spiel spiel;
  SettingsStore store;
  if (!Hochfahren(spiel, media)) return Herunterfahren(media, store);

  runOuterLoop(spiel, media, store, [](Spiel& s, Media& m) { return runLauncher(s, m); });
  return Herunterfahren(media, store);
}
