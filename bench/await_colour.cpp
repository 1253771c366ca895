// Waits until a pixel of the X display named by DISPLAY shows a colour, then prints the
// time (CLOCK_REALTIME, nanoseconds, as `date +%s%N` counts) at which it was first seen.
// Looks every half millisecond, far finer than a screenshot could.
//   await_colour <x> <y> <r,g,b> <timeout seconds>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

long long nowNanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  unsigned r = 0, g = 0, b = 0;
  if (argc != 5 || std::sscanf(argv[3], "%u,%u,%u", &r, &g, &b) != 3) {
    std::fprintf(stderr, "usage: await_colour <x> <y> <r,g,b> <timeout seconds>\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const unsigned long wanted = (r << 16) | (g << 8) | b;
  const long long deadline = nowNanos() + std::atoll(argv[4]) * 1000000000LL;
  const Window root = DefaultRootWindow(display);
  while (nowNanos() < deadline) {
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    const long long seen = nowNanos();
    const unsigned long pixel = image != nullptr ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
    if (image != nullptr) XDestroyImage(image);
    if (pixel == wanted) {
      std::printf("%lld\n", seen);
      XCloseDisplay(display);
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  XCloseDisplay(display);
  return 1;
}
