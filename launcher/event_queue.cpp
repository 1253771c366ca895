#include "launcher/event_queue.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void EventQueue::push(const LauncherEvent& event) {
  events_.push_back(event);
  if (waiting_ != nullptr) waiting_->quit();
}

LauncherEvent EventQueue::next(int timeoutMs) {
  QCoreApplication::processEvents();
  if (events_.empty() && timeoutMs > 0) {
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
  }
  if (events_.empty()) return {};
  const LauncherEvent event = events_.front();
  events_.pop_front();
  return event;
}
