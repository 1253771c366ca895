// The small window beside the launcher window that offers or joins a network battle; it
// moves none of the launcher's own controls. Its fields: the port to offer, and the address
// (host or host:port) to join.
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

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
  port->setValue(kDefaultNetworkPort);
  auto* offer = new QPushButton(QStringLiteral("Spiel anbieten"), window);
  auto* address = new QLineEdit(window);
  address->setPlaceholderText(QStringLiteral("Rechner:Port"));
  auto* join = new QPushButton(QStringLiteral("Beitreten"), window);
  row->addWidget(new QLabel(QStringLiteral("Port"), window));
  row->addWidget(port);
  row->addWidget(offer);
  row->addSpacing(12);
  row->addWidget(address, 1);
  row->addWidget(join);
  QObject::connect(offer, &QPushButton::clicked, [this, port] {
    networkRequest_ = NetworkRequest{true, {}, static_cast<uint16_t>(port->value())};
  });
  const auto joinNow = [this, address] {
    if (address->text().trimmed().isEmpty()) return;
    networkRequest_ = NetworkRequest{false, address->text().trimmed().toStdString(), 0};
  };
  QObject::connect(join, &QPushButton::clicked, joinNow);
  QObject::connect(address, &QLineEdit::returnPressed, joinNow);
  // Just below the launcher window, as wide.
  const QWidget* launcher = controls_->window(kLauncherWindow);
  window->setFixedSize(launcher->width(), window->sizeHint().height());
  window->move(launcher->x(), launcher->y() + launcher->frameGeometry().height() + 8);
}
