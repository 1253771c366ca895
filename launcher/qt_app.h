// The process's one Qt application. Made only when its windows can reach an X display: the
// battle window is an X11 window, and Qt's boxes must stack with it on the same server.
// No Qt header here, so that main can own it.
#pragma once

#include <memory>

class QtApp {
 public:
  QtApp();
  ~QtApp();
  QtApp(const QtApp&) = delete;
  QtApp& operator=(const QtApp&) = delete;

  // True when a QApplication exists (on an X display).
  bool available() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
