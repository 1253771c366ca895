#include "launcher/controls.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "launcher/number_text.h"

namespace {

// A top-level window whose close box only tells the launcher; the launcher decides. Escape
// reports the window's cancel button, when it has one, as if it had been pressed.
class LauncherWindow : public QWidget {
 public:
  LauncherWindow(int number, EventQueue& events)
      : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint),
        number_(number),
        events_(events) {}

  void setEscapeControl(int control) { escapeControl_ = control; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    events_.push({LauncherEvent::Kind::CloseBox, number_, 0, false});
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape && escapeControl_ >= 0) {
      events_.push({LauncherEvent::Kind::Control, 0, escapeControl_, false});
      return;
    }
    QWidget::keyPressEvent(event);
  }

 private:
  int number_;
  EventQueue& events_;
  int escapeControl_ = -1;
};

// Return and keypad Enter press a button that has the focus, as the space bar does.
class LauncherButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      if (!event->isAutoRepeat()) click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

// Light amber: noticeable beside white fields, the text on it still easy to read.
const QColor kMarkedField(255, 221, 160);

void centreOnScreen(QWidget* window, QSize client) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window->move(area.x() + (area.width() - client.width()) / 2,
               area.y() + (area.height() - client.height()) / 2);
}

}  // namespace

void markStoredValue(QLineEdit* field, const std::optional<std::string>& stored) {
  if (!stored) {
    if (!field->toolTip().isEmpty()) {
      field->setToolTip({});
      field->setPalette(QPalette());  // the window's own again
    }
    return;
  }
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, kMarkedField);
  field->setPalette(palette);
  field->setToolTip(QString::fromStdString(storedAsNote(*stored)));
}

Controls::Controls(EventQueue& events, const QFont& controlFont)
    : events_(events), controlFont_(controlFont) {}

Controls::~Controls() {
  for (QWidget*& window : windows_) {
    delete window;
    window = nullptr;
  }
}

QWidget* Controls::window(int n) const {
  return n >= 1 && n < static_cast<int>(windows_.size()) ? windows_[n] : nullptr;
}

QWidget* Controls::control(int n) const {
  return n >= 0 && n < launcher_ids::kControlCount ? controls_[n] : nullptr;
}

void Controls::showWindow(int n) {
  if (QWidget* w = window(n)) w->show();
}

void Controls::hideWindow(int n) {
  if (QWidget* w = window(n)) w->hide();
}

void Controls::hideWindows() {
  for (QWidget* w : windows_) {
    if (w != nullptr) w->hide();
  }
}

QWidget* Controls::createWindow(int n, const QString& title, QSize client,
                                std::optional<QColor> background) {
  auto* window = new LauncherWindow(n, events_);
  window->setWindowTitle(title);
  window->setFont(controlFont_);
  window->setFixedSize(client);
  if (background) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, *background);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
  }
  centreOnScreen(window, client);
  windows_[n] = window;
  return window;
}

void Controls::setEscapeControl(int window, int control) {
  if (auto* w = static_cast<LauncherWindow*>(this->window(window))) w->setEscapeControl(control);
}

QPushButton* Controls::createButton(QWidget* parent, int n, QRect area, const QString& text) {
  auto* button = add(n, new LauncherButton(text, parent), area);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this, n] { report(n); });
  return button;
}

QLabel* Controls::createLabel(QWidget* parent, int n, QRect area, const QString& text,
                              Qt::Alignment alignment) {
  auto* label = add(n, new QLabel(text, parent), area);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

QLabel* Controls::createPicture(QWidget* parent, int n, QPoint at, const QPixmap& picture) {
  auto* label = add(n, new QLabel(parent), QRect(at, picture.size()));
  label->setPixmap(picture);
  return label;
}

QLineEdit* Controls::createEdit(QWidget* parent, int n, QRect area) {
  return add(n, new QLineEdit(parent), area);
}

void Controls::report(int n, bool doubleClick) {
  events_.push({LauncherEvent::Kind::Control, 0, n, doubleClick});
}

void Controls::place(int n, QWidget* widget, QRect area) {
  widget->setGeometry(area);
  controls_[n] = widget;
}
