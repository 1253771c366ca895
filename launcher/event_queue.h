// The launcher's window events: what the controls and close boxes report, queued until
// the launcher's loop takes them one at a time.
#pragma once

#include <deque>

class QEventLoop;

struct LauncherEvent {
  enum class Kind { None, CloseBox, Control };
  Kind kind = Kind::None;
  int window = 0;   // CloseBox
  int control = 0;  // Control
  bool doubleClick = false;
};

class EventQueue {
 public:
  void push(const LauncherEvent& event);
  void clear() { events_.clear(); }
  // The next event, waiting for one at most timeoutMs while Qt's own events are handled;
  // an event of no kind on time-out.
  LauncherEvent next(int timeoutMs);

 private:
  std::deque<LauncherEvent> events_;
  QEventLoop* waiting_ = nullptr;
};
