#include "launcher/network_lobby.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>

#include "launcher/launcher.h"
#include "launcher/launcher_numbers.h"

namespace {

constexpr int kWindowWidth = 460;

// Its close box cancels, like its button.
class WaitingWindow : public QWidget {
 public:
  WaitingWindow() {
    setWindowTitle(QStringLiteral("Verbindung"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // grows and shrinks with its lines
    text = new QLabel(this);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setFixedWidth(kWindowWidth);
    offer = new QWidget(this);
    auto* offerLayout = new QVBoxLayout(offer);
    offerLayout->setContentsMargins(0, 0, 0, 0);
    heading = new QLabel(offer);
    heading->setAlignment(Qt::AlignCenter);
    addresses = new QLabel(offer);
    addresses->setAlignment(Qt::AlignCenter);
    addresses->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont large = addresses->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    large.setBold(true);
    addresses->setFont(large);
    note = new QLabel(offer);
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setFixedWidth(kWindowWidth);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* copy = new QPushButton(QStringLiteral("Kopieren"), offer);
    offerLayout->addWidget(heading);
    offerLayout->addWidget(addresses);
    offerLayout->addWidget(copy, 0, Qt::AlignCenter);
    offerLayout->addWidget(note);
    offer->hide();
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    layout->addWidget(text);
    layout->addWidget(offer);
    layout->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled = true; });
    QObject::connect(copy, &QPushButton::clicked,
                     [this] { QGuiApplication::clipboard()->setText(addresses->text()); });
    centre();
  }
  // In the middle of the screen at its present size.
  void centre() {
    adjustSize();
    if (const QScreen* shown = screen())
      move(shown->availableGeometry().center() - rect().center());
  }
  QLabel* text;
  QWidget* offer;
  QLabel* heading;
  QLabel* addresses;
  QLabel* note;
  bool cancelled = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    cancelled = true;
    QWidget::closeEvent(event);
  }
  // As in a dialog, Escape cancels.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      cancelled = true;
      return;
    }
    QWidget::keyPressEvent(event);
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

void NetworkLobby::showOffer(const std::string& heading, const std::vector<std::string>& addresses,
                             const std::string& note) {
  QStringList lines;
  for (const std::string& line : addresses) lines << QString::fromStdString(line);
  WaitingWindow& window = impl_->window;
  window.heading->setText(QString::fromStdString(heading));
  window.addresses->setText(lines.join(QLatin1Char('\n')));
  window.note->setText(QString::fromStdString(note));
  window.note->setVisible(!note.empty());
  window.offer->setVisible(!lines.isEmpty());
  window.centre();
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
