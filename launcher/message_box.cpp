#include "launcher/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <memory>

namespace {

void addButtons(QMessageBox& box, MessageKind kind) {
  if (kind == MessageKind::Ok) {
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    return;
  }
  box.setIcon(QMessageBox::Question);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);  // also what closing the box answers
}

// The battle window is full-screen and top-most: a box that is not above it is hidden behind
// it while holding the focus. A transient box stays with its window under a window manager.
void keepAbove(QMessageBox& box, QWindow* parent) {
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (parent == nullptr) return;
  box.winId();  // makes the native window, and with it the handle to set the parent on
  if (box.windowHandle() != nullptr) box.windowHandle()->setTransientParent(parent);
}

// Lays the box out at its final size without putting it on the screen. It must appear where
// it stays: shown first where Qt puts it (the top-left corner, beside a foreign window of
// unknown size) and moved then, it leaves its picture there, frame and title, on the battle
// window, which does not redraw while the box is open.
void sizeUnseen(QMessageBox& box) {
  box.setAttribute(Qt::WA_DontShowOnScreen, true);
  box.show();
  box.hide();
  box.setAttribute(Qt::WA_DontShowOnScreen, false);
}

// The middle of the desktop, where the battle window's middle is. Qt cannot place a box over
// a foreign window by itself (it does not know that window's size).
void centre(QMessageBox& box) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    box.move(screen->geometry().center() - box.rect().center());
  }
}

// Presses the button that stands for an answer given outside the box.
void listenOutside(QMessageBox& box, QTimer& timer,
                   const std::function<std::optional<bool>()>& outsideAnswer) {
  if (!outsideAnswer) return;
  constexpr int kEveryMs = 20;
  QObject::connect(&timer, &QTimer::timeout, &box, [&box, &outsideAnswer] {
    const std::optional<bool> answer = outsideAnswer();
    if (!answer) return;
    QAbstractButton* button = box.button(QMessageBox::Ok);
    if (button == nullptr) button = box.button(*answer ? QMessageBox::Yes : QMessageBox::No);
    if (button != nullptr) button->click();
  });
  timer.start(kEveryMs);
}

bool answerOf(const QMessageBox& box) {
  QAbstractButton* clicked = box.clickedButton();
  return clicked != nullptr &&
         (clicked == box.button(QMessageBox::Yes) || clicked == box.button(QMessageBox::Ok));
}

const char* saveFailureReason(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "Es fehlt die Erlaubnis, die Datei oder ihren Ordner zu beschreiben.";
    case EROFS:
      return "Das Laufwerk ist schreibgeschützt.";
    case ENOSPC:
    case EDQUOT:
      return "Der Datenträger ist voll.";
    case EFBIG:
      return "Die Datei würde zu groß.";
    case EEXIST:
      return "Die vorhandene Datei lässt sich nicht lesen und wird darum nicht ersetzt.";
    case ENOMEM:
      return "Der Arbeitsspeicher reicht nicht aus.";
    default:
      return nullptr;
  }
}

}  // namespace

std::string saveFailureText(const std::string& file, int error) {
  const char* reason = saveFailureReason(error);
  return "Die Einstellungen konnten nicht in „" + file +
         "“ gespeichert werden; die Datei bleibt, wie sie war.\n" +
         (reason != nullptr ? reason : "Fehlernummer " + std::to_string(error) + ".");
}

void showProblem(QWidget* over, const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, over);
  box.exec();
}

void showSaveFailure(QWidget* over, const std::string& file, int error) {
  showProblem(over, "Nicht gespeichert", saveFailureText(file, error));
}

std::optional<bool> showMessageBox(const std::string& title, const std::string& text,
                                   MessageKind kind, uint64_t parentWindow,
                                   const std::function<std::optional<bool>()>& outsideAnswer) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
  // Declared before the box, so that it outlives the box that refers to it.
  const std::unique_ptr<QWindow> parent(
      parentWindow != 0 ? QWindow::fromWinId(static_cast<WId>(parentWindow)) : nullptr);
  bool yes = false;
  {
    QMessageBox box;
    QTimer outside;
    box.setWindowTitle(QString::fromLatin1(title));
    box.setText(QString::fromLatin1(text));
    addButtons(box, kind);
    keepAbove(box, parent.get());
    sizeUnseen(box);
    centre(box);
    box.show();
    box.activateWindow();  // without a window manager nothing else gives it the keyboard
    listenOutside(box, outside, outsideAnswer);
    box.exec();
    yes = answerOf(box);
  }
  // The box is gone from the screen only once the X server has heard of it.
  QCoreApplication::processEvents();
  return kind == MessageKind::YesNoQuestion ? yes : true;
}
