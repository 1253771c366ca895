#include "launcher/key_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "launcher/key_names.h"
#include "launcher/message_box.h"
#include "launcher/translated.h"
#include "settings/settings_keys.h"

namespace {

constexpr std::array<const char*, kControlsPerPlayer> kControlNames = {
    QT_TRANSLATE_NOOP("KeyWindow", "Beschleunigen"),
    QT_TRANSLATE_NOOP("KeyWindow", "Bremsen"),
    QT_TRANSLATE_NOOP("KeyWindow", "Links"),
    QT_TRANSLATE_NOOP("KeyWindow", "Rechts"),
    QT_TRANSLATE_NOOP("KeyWindow", "Feuer Backbord"),
    QT_TRANSLATE_NOOP("KeyWindow", "Feuer Steuerbord")};
// Key buttons wide enough for the longest key name and for "Taste drücken …".
constexpr int kRowTop = 32, kRowStep = 28, kColumn0 = 130, kColumnStep = 125, kKeyWidth = 120;
constexpr int kWidth = kColumn0 + kColumnStep + kKeyWidth + 10;

QString playerName(int player) { return translated("KeyWindow", "Spieler %1").arg(player + 1); }
QString controlName(int control) { return translated("KeyWindow", kControlNames[control]); }

}  // namespace

KeyWindow::KeyWindow(QWidget* parent, SettingsStore& store, std::string settingsFile)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint),
      store_(store),
      settingsFile_(std::move(settingsFile)) {
  setWindowTitle(translated("KeyWindow", "Tasten"));
  setFixedSize(kWidth, 284);
  setWindowModality(Qt::ApplicationModal);  // the launcher waits until the keys are settled
  createRows();
  message_ = new QLabel(this);
  // Two lines: the longest messages name a player, a control and a key.
  message_->setGeometry(10, 204, kWidth - 20, 36);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  defaults_ = new QPushButton(translated("KeyWindow", "Standard"), this);
  defaults_->setGeometry(10, 249, 100, 25);
  cancel_ = new QPushButton(translated("KeyWindow", "Abbrechen"), this);
  cancel_->setGeometry(kWidth - 200, 249, 90, 25);
  save_ = new QPushButton(translated("KeyWindow", "Speichern"), this);
  save_->setGeometry(kWidth - 100, 249, 90, 25);
  connect(defaults_, &QPushButton::clicked, this, [this] {
    bindings_ = kDefaultKeyBindings;
    stopWaiting(translated("KeyWindow", "Die üblichen Tasten."));
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { hide(); });
  connect(save_, &QPushButton::clicked, this, [this] { saveAndClose(); });
}

void KeyWindow::createRows() {
  for (int player = 0; player < 2; ++player) {
    auto* heading = new QLabel(playerName(player), this);
    heading->setGeometry(kColumn0 + kColumnStep * player, 8, kKeyWidth, 20);
    heading->setAlignment(Qt::AlignCenter);
  }
  for (int control = 0; control < kControlsPerPlayer; ++control) {
    auto* label = new QLabel(controlName(control), this);
    label->setGeometry(10, kRowTop + kRowStep * control, 115, 24);
    for (int player = 0; player < 2; ++player) {
      auto* button = new QPushButton(this);
      button->setGeometry(kColumn0 + kColumnStep * player, kRowTop + kRowStep * control, kKeyWidth,
                          24);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, player, control] {
        await({player, control});
      });
      buttons_[player][control] = button;
    }
  }
}

void KeyWindow::open() {
  bindings_ = loadKeyBindings(store_, settingsFile_);
  stopWaiting(translated("KeyWindow", "Zum Ändern auf eine Taste klicken."));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());  // where the launcher's windows are
  }
  show();
  raise();
  activateWindow();
}

QPushButton* KeyWindow::keyButton(int player, int control) const {
  return buttons_.at(player).at(control);
}

QString KeyWindow::message() const { return message_->text(); }

void KeyWindow::await(Slot slot) {
  showKeys();
  waiting_ = slot;
  buttons_[slot.player][slot.control]->setText(translated("KeyWindow", "Taste drücken …"));
  message_->setText(translated("KeyWindow", "%1, %2: neue Taste drücken (Escape: nichts ändern)")
                        .arg(playerName(slot.player), controlName(slot.control)));
  grabKeyboard();  // no button or shortcut may take the key first
}

void KeyWindow::keyPressEvent(QKeyEvent* event) {
  if (!waiting_) {
    if (event->key() == Qt::Key_Escape) hide();
    return QWidget::keyPressEvent(event);
  }
  if (event->isAutoRepeat()) return;
  take(keyCodeOf(*event));
}

void KeyWindow::hideEvent(QHideEvent* event) {
  if (waiting_) releaseKeyboard();
  waiting_.reset();
  QWidget::hideEvent(event);
}

void KeyWindow::take(int code) {
  const Slot slot = *waiting_;
  if (code == 0) return stopWaiting(translated("KeyWindow", "Diese Taste kennt das Spiel nicht."));
  constexpr int kEscape = 41;
  if (code == kEscape) return stopWaiting(translated("KeyWindow", "Nichts geändert."));
  if (!keyBindable(code)) {
    return stopWaiting(translated("KeyWindow", "%1 gehört dem Spiel.").arg(keyName(code)));
  }
  const std::optional<Slot> other = holder(code);
  if (other && (other->player != slot.player || other->control != slot.control)) {
    return stopWaiting(
        translated("KeyWindow", "%1 ist schon belegt: %2, %3.")
            .arg(keyName(code), playerName(other->player), controlName(other->control)));
  }
  bindings_[slot.player][slot.control] = code;
  stopWaiting(translated("KeyWindow", "%1 gewählt.").arg(keyName(code)));
}

void KeyWindow::stopWaiting(const QString& message) {
  if (waiting_) releaseKeyboard();
  waiting_.reset();
  message_->setText(message);
  showKeys();
}

std::optional<KeyWindow::Slot> KeyWindow::holder(int code) const {
  for (int player = 0; player < 2; ++player) {
    for (int control = 0; control < kControlsPerPlayer; ++control) {
      if (bindings_[player][control] == code) return Slot{player, control};
    }
  }
  return std::nullopt;
}

void KeyWindow::showKeys() {
  for (int player = 0; player < 2; ++player) {
    for (int control = 0; control < kControlsPerPlayer; ++control) {
      buttons_[player][control]->setText(keyName(bindings_[player][control]));
    }
  }
}

// A save that failed is told over the window, which stays open with the chosen keys.
void KeyWindow::saveAndClose() {
  stopWaiting({});
  if (!saveKeyBindings(store_, bindings_, settingsFile_)) {
    return showSaveFailure(this, settingsFile_, store_.lastSaveError());
  }
  hide();
}
