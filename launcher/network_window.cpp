// The small window beside the launcher window that offers or joins a network battle; it
// moves none of the launcher's own controls. Its fields: the port to offer, and the address
// (host or host:port) to join.
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QWidget>
#include <algorithm>

#include "launcher/controls.h"
#include "launcher/launcher.h"

using namespace launcher_ids;

void Launcher::createNetworkWindow() {
  networkWindow_ = std::make_unique<QWidget>();
  QWidget* window = networkWindow_.get();
  window->setWindowTitle(QStringLiteral("Netzwerkspiel"));
  window->setFont(controls_->window(kLauncherWindow)->font());
  auto* row = new QHBoxLayout(window);
  auto* port = new QSpinBox(window);
  port->setRange(1, 65535);
  port->setValue(loadNetworkPort(store_, settingsFile_));
  auto* offer = new QPushButton(QStringLiteral("Spiel anbieten"), window);
  auto* address = new QLineEdit(window);
  address->setPlaceholderText(QStringLiteral("Rechner:Port"));
  address->setToolTip(
      QStringLiteral("Die Adresse des Gastgebers, wie er sie geschickt hat: RECHNER oder "
                     "RECHNER:PORT (ohne Port %1), etwa 203.0.113.7:%1.\nNur IPv4: Debians "
                     "ENet 1.3, über das das Spiel verbindet, kann kein IPv6.")
          .arg(kDefaultNetworkPort));
  address->setText(QString::fromStdString(loadJoinAddress(store_, settingsFile_)));
  auto* join = new QPushButton(QStringLiteral("Beitreten"), window);
  row->addWidget(new QLabel(QStringLiteral("Port"), window));
  row->addWidget(port);
  row->addWidget(offer);
  row->addSpacing(12);
  row->addWidget(address, 1);
  row->addWidget(join);
  QObject::connect(offer, &QPushButton::clicked, [this, port] {
    const auto chosen = static_cast<uint16_t>(port->value());
    saveNetworkPort(store_, chosen, settingsFile_);
    networkRequest_ = NetworkRequest{true, {}, chosen};
  });
  const auto joinNow = [this, address] {
    const std::string typed = address->text().trimmed().toStdString();
    if (typed.empty()) {
      media_.messageBox("Netzwerk",
                        "Zum Beitreten die Adresse eintragen, die der Gastgeber geschickt hat: "
                        "RECHNER oder RECHNER:PORT, etwa 192.168.1.20 oder 203.0.113.7:47111",
                        MessageKind::Ok);
      return;
    }
    saveJoinAddress(store_, typed, settingsFile_);
    networkRequest_ = NetworkRequest{false, typed, 0};
  };
  QObject::connect(join, &QPushButton::clicked, joinNow);
  QObject::connect(address, &QLineEdit::returnPressed, joinNow);
  window->setFixedSize(controls_->window(kLauncherWindow)->width(), window->sizeHint().height());
  window->setAttribute(Qt::WA_ShowWithoutActivating);  // the launcher keeps the keyboard
}

// Just below the launcher's frame (above it where the screen ends too soon), as wide as the
// launcher, and whole on the screen. A window
// manager frames the launcher only once it is shown, so this is done again whenever the
// launcher's frame changes.
void Launcher::placeNetworkWindow() {
  constexpr int kGap = 8;
  const QRect launcher = controls_->window(kLauncherWindow)->frameGeometry();
  QWidget* window = networkWindow_.get();
  const QSize own = window->frameGeometry().size();
  QPoint at(launcher.left(), launcher.bottom() + 1 + kGap);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    if (at.y() + own.height() > area.bottom() + 1) at.setY(launcher.top() - kGap - own.height());
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - own.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - own.height())));
  }
  window->move(at);
  placedBeside_ = launcher;
}

// Follows the launcher's frame; a network window the player closed comes back when the
// launcher window gets the keyboard again from elsewhere (not straight from that closing).
void Launcher::updateNetworkWindow() {
  QWidget* launcher = controls_->window(kLauncherWindow);
  QWidget* window = networkWindow_.get();
  if (launcher->frameGeometry() != placedBeside_) placeNetworkWindow();
  QWidget* active = QApplication::activeWindow();
  if (active == launcher && lastActive_ != launcher && lastActive_ != window &&
      !window->isVisible()) {
    window->show();
  }
  lastActive_ = active;
}
