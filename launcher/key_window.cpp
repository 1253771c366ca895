#include "launcher/key_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "launcher/key_names.h"
#include "launcher/message_box.h"
#include "settings/settings_keys.h"

namespace {

constexpr std::array<const char*, kControlsPerPlayer> kControlNames = {
    "Beschleunigen", "Bremsen", "Links", "Rechts", "Feuer Backbord", "Feuer Steuerbord"};
constexpr int kRowTop = 32, kRowStep = 28, kColumn0 = 130, kColumnStep = 95;

QString playerName(int player) { return QStringLiteral("Spieler %1").arg(player + 1); }

}  // namespace

KeyWindow::KeyWindow(QWidget* parent, SettingsStore& store, std::string settingsFile)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint),
      store_(store),
      settingsFile_(std::move(settingsFile)) {
  setWindowTitle(QStringLiteral("Tasten"));
  setFixedSize(325, 270);
  setWindowModality(Qt::ApplicationModal);  // the launcher waits until the keys are settled
  createRows();
  message_ = new QLabel(this);
  message_->setGeometry(10, 205, 305, 20);
  defaults_ = new QPushButton(QStringLiteral("Standard"), this);
  defaults_->setGeometry(10, 235, 80, 25);
  cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel_->setGeometry(145, 235, 80, 25);
  save_ = new QPushButton(QStringLiteral("Speichern"), this);
  save_->setGeometry(235, 235, 80, 25);
  connect(defaults_, &QPushButton::clicked, this, [this] {
    bindings_ = kDefaultKeyBindings;
    stopWaiting(QStringLiteral("Die üblichen Tasten."));
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { hide(); });
  connect(save_, &QPushButton::clicked, this, [this] { saveAndClose(); });
}

void KeyWindow::createRows() {
  for (int player = 0; player < 2; ++player) {
    auto* heading = new QLabel(playerName(player), this);
    heading->setGeometry(kColumn0 + kColumnStep * player, 8, 90, 20);
    heading->setAlignment(Qt::AlignCenter);
  }
  for (int control = 0; control < kControlsPerPlayer; ++control) {
    auto* label = new QLabel(QString::fromUtf8(kControlNames[control]), this);
    label->setGeometry(10, kRowTop + kRowStep * control, 115, 24);
    for (int player = 0; player < 2; ++player) {
      auto* button = new QPushButton(this);
      button->setGeometry(kColumn0 + kColumnStep * player, kRowTop + kRowStep * control, 90, 24);
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
  stopWaiting(QStringLiteral("Zum Ändern auf eine Taste klicken."));
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
  buttons_[slot.player][slot.control]->setText(QStringLiteral("Taste drücken …"));
  message_->setText(
      QStringLiteral("%1, %2: neue Taste drücken (Escape: nichts ändern)")
          .arg(playerName(slot.player), QString::fromUtf8(kControlNames[slot.control])));
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
  if (code == 0) return stopWaiting(QStringLiteral("Diese Taste kennt das Spiel nicht."));
  constexpr int kEscape = 41;
  if (code == kEscape) return stopWaiting(QStringLiteral("Nichts geändert."));
  if (!keyBindable(code)) {
    return stopWaiting(QStringLiteral("%1 gehört dem Spiel.").arg(keyName(code)));
  }
  const std::optional<Slot> other = holder(code);
  if (other && (other->player != slot.player || other->control != slot.control)) {
    return stopWaiting(QStringLiteral("%1 ist schon belegt: %2, %3.")
                           .arg(keyName(code), playerName(other->player),
                                QString::fromUtf8(kControlNames[other->control])));
  }
  bindings_[slot.player][slot.control] = code;
  stopWaiting(QStringLiteral("%1 gewählt.").arg(keyName(code)));
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
