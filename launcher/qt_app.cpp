#include "launcher/qt_app.h"

#include <QApplication>
#include <clocale>

struct QtApp::Impl {
  // QApplication keeps references to these for its whole life.
  int argc = 3;
  char name[11] = "kaperfahrt";
  char option[10] = "-platform";
  // Without a display Qt would abort on xcb alone; offscreen always starts, and is then
  // dropped again. The argument wins over QT_QPA_PLATFORM, so Qt never goes to Wayland
  // while SDL's window sits on X11.
  char platforms[14] = "xcb;offscreen";
  char* argv[4] = {name, option, platforms, nullptr};
  std::unique_ptr<QApplication> app;
};

QtApp::QtApp() : impl_(std::make_unique<Impl>()) {
  impl_->app = std::make_unique<QApplication>(impl_->argc, impl_->argv);
  if (QGuiApplication::platformName() != QLatin1String("xcb")) impl_->app.reset();
  // Qt takes the user's locale; numbers printed with the C library stay with '.'.
  std::setlocale(LC_NUMERIC, "C");
}

QtApp::~QtApp() = default;

bool QtApp::available() const { return impl_->app != nullptr; }
