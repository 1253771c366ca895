#include "launcher/network_lobby.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>

#include "launcher/launcher.h"
#include "launcher/launcher_numbers.h"
#include "launcher/translated.h"

namespace {

// Its close box cancels, like its button.
class WaitingWindow : public QWidget {
 public:
  WaitingWindow() {
    setWindowTitle(translated("Network", "Verbindung"));
    setFixedSize(360, 110);
    auto* layout = new QVBoxLayout(this);
    text = new QLabel(this);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    addresses = new QLabel(this);
    addresses->setAlignment(Qt::AlignCenter);
    addresses->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addresses->hide();
    auto* cancel = new QPushButton(translated("Network", "Abbrechen"), this);
    layout->addWidget(text);
    layout->addWidget(addresses);
    layout->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled = true; });
    if (const QScreen* shown = screen())
      move(shown->availableGeometry().center() - rect().center());
  }
  QLabel* text;
  QLabel* addresses;
  bool cancelled = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    cancelled = true;
    QWidget::closeEvent(event);
  }
};

void takeEvents(int ms) {
  QCoreApplication::processEvents();
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
  QCoreApplication::processEvents();
}

}  // namespace

struct NetworkLobby::Impl {
  Impl(Spiel& spiel, Media& media) : launcher(spiel, media) {}
  WaitingWindow window;
  Launcher launcher;
  bool choosing = false;
};

NetworkLobby::NetworkLobby(Spiel& spiel, Media& media)
    : impl_(std::make_unique<Impl>(spiel, media)) {}

NetworkLobby::~NetworkLobby() { close(); }

bool NetworkLobby::waiting(const std::string& text, int ms) {
  const QString shown = QString::fromStdString(text);
  if (impl_->window.text->text() != shown) impl_->window.text->setText(shown);
  if (!impl_->window.isVisible() && !impl_->window.cancelled) impl_->window.show();
  takeEvents(ms);
  return !impl_->window.cancelled;
}

void NetworkLobby::showAddresses(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown << QString::fromStdString(line);
  QLabel* label = impl_->window.addresses;
  label->setText(shown.join(QLatin1Char('\n')));
  label->setVisible(!shown.isEmpty());
  impl_->window.setFixedSize(360, 110 + (shown.isEmpty() ? 0 : label->sizeHint().height()));
}

void NetworkLobby::startChoice(const std::array<SchiffsTyp, kKlassenAnzahl>& classes) {
  impl_->window.hide();
  impl_->launcher.startNetworkChoice(classes);
  impl_->choosing = true;
}

std::optional<int32_t> NetworkLobby::choicePass(int ms) {
  if (!impl_->choosing) return -1;
  const std::optional<int32_t> result = impl_->launcher.pass(ms);
  if (!result) return std::nullopt;
  impl_->choosing = false;
  return *result == kQuitGame ? -1 : impl_->launcher.networkChoice();
}

void NetworkLobby::close() {
  impl_->window.hide();
  if (impl_->choosing) {
    impl_->choosing = false;
    if (QWidget* list = impl_->launcher.window(launcher_ids::kShipSelectionWindow)) list->hide();
  }
  QCoreApplication::processEvents();
}
