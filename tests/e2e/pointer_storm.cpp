// Moves the X pointer as a gaming mouse does: one report every 1/rate seconds, for a while,
// zigzagging over the middle of the screen so that every report is a real move.
//   pointer_storm <reports per second> <seconds>
// Prints how many moves it made and at what rate it managed them.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long nanosOf(const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; }

timespec timespecOf(long long nanos) {
  return {static_cast<time_t>(nanos / 1000000000LL), static_cast<long>(nanos % 1000000000LL)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <reports per second> <seconds>\n", argv[0]);
    return 2;
  }
  const double rate = std::atof(argv[1]);
  const double seconds = std::atof(argv[2]);
  if (!(rate > 0 && rate <= 100000 && seconds > 0 && seconds <= 600)) return 2;
  Display* display = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "no X display with XTest\n");
    return 1;
  }
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  const long long period = static_cast<long long>(1e9 / rate);
  const long long moves = static_cast<long long>(rate * seconds);
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long start = nanosOf(now);
  for (long long i = 0; i < moves; ++i) {
    // Deadlines from the start, so that a late wake-up does not slow the rate that follows.
    const timespec due = timespecOf(start + i * period);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    const int x = width / 4 + static_cast<int>(i % (width / 2));
    const int y = height / 2 + static_cast<int>(i % 2) * 3;
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XFlush(display);
  }
  XSync(display, False);
  clock_gettime(CLOCK_MONOTONIC, &now);
  const double took = static_cast<double>(nanosOf(now) - start) / 1e9;
  std::printf("%lld moves in %.2f s: %.0f per second\n", moves, took,
              static_cast<double>(moves) / took);
  XCloseDisplay(display);
  return 0;
}
