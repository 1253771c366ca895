// The launcher's windows and controls, each registered under its number, and the helpers
// that create them in the launcher's fixed pixel layout.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "launcher/event_queue.h"
#include "launcher/launcher_numbers.h"

class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QWidget;

// Marks a field whose text will not be stored as it reads (`stored` holds what will be),
// with a tinted background and a note in its tooltip; clears the mark otherwise.
void markStoredValue(QLineEdit* field, const std::optional<std::string>& stored);

class Controls {
 public:
  // The windows get controlFont, which their controls inherit.
  Controls(EventQueue& events, const QFont& controlFont);
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;
  ~Controls();  // deletes the windows with their controls

  QWidget* window(int n) const;
  QWidget* control(int n) const;
  template <class Widget>
  Widget* get(int n) const {
    return static_cast<Widget*>(control(n));
  }
  void showWindow(int n);
  void hideWindow(int n);
  void hideWindows();

  // A fixed-size window with a close box only, centred on the screen, hidden. Its close
  // box reports an event instead of closing it.
  QWidget* createWindow(int n, const QString& title, QSize client,
                        std::optional<QColor> background);
  // Escape in window n acts as a press of control (its cancel button).
  void setEscapeControl(int window, int control);
  // Return and keypad Enter press a focused button, like the space bar.
  QPushButton* createButton(QWidget* parent, int n, QRect area, const QString& text);
  QLabel* createLabel(QWidget* parent, int n, QRect area, const QString& text,
                      Qt::Alignment alignment = Qt::AlignCenter);
  QLabel* createPicture(QWidget* parent, int n, QPoint at, const QPixmap& picture);
  QLineEdit* createEdit(QWidget* parent, int n, QRect area);

  // Registers a control made elsewhere; it lies at area on parent.
  template <class Widget>
  Widget* add(int n, Widget* widget, QRect area) {
    place(n, widget, area);
    return widget;
  }
  // Queues an event of control n.
  void report(int n, bool doubleClick = false);

 private:
  void place(int n, QWidget* widget, QRect area);

  EventQueue& events_;
  QFont controlFont_;
  std::array<QWidget*, 5> windows_{};
  std::array<QWidget*, launcher_ids::kControlCount> controls_{};
};
