// The cost of showing one finished frame through the SDL backend: texture upload, the
// stretch over the whole window and the present, on the X display named by DISPLAY, with a
// window of its desktop's size. present_under_xvfb.sh runs it on virtual displays of
// 1680 x 1050 and 1920 x 1080: a machine without a graphics card holds at most `fps` frames
// per second, less the compositor's own work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/copy_ratio.h"
#include "media/media.h"
#include "media/sdl_backend.h"

namespace {

// Sea with a pattern, so that no renderer can take a shortcut on a flat picture.
std::vector<uint32_t> battleLikeFrame() {
  std::vector<uint32_t> frame(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0x0177FE);
  for (size_t i = 0; i < frame.size(); i += 7)
    frame[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  return frame;
}

// CPU seconds the X server has used so far, when present_under_xvfb.sh names its process.
double xServerSeconds() {
  const char* pid = std::getenv("KF_XSERVER_PID");
  if (pid == nullptr) return 0;
  std::ifstream stat(std::string("/proc/") + pid + "/stat");
  std::string line;
  std::getline(stat, line);
  // Fields 14 and 15 (user and system time in clock ticks) follow the ")" that ends field 2.
  std::istringstream rest(line.substr(std::min(line.size(), line.rfind(')') + 1)));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i >= 14) ticks += std::stod(field);
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double processSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void presentFrame(benchmark::State& state) {
  SdlBackend backend;
  if (!backend.initScreen() || !backend.initKeyboard()) {
    state.SkipWithError("no display: run me through present_under_xvfb.sh");
    return;
  }
  const Size desktop = backend.desktopSize();
  if (!backend.openWindow(desktop.w, desktop.h) ||
      !backend.openScreen(kScreenWidth, kScreenHeight)) {
    state.SkipWithError("no battle window");
    return;
  }
  const std::vector<uint32_t> frame = battleLikeFrame();
  backend.present(frame.data(), kScreenWidth, kScreenHeight);  // first-use costs out of the way
  const double processStart = processSeconds(), serverStart = xServerSeconds();
  for (auto _ : state) backend.present(frame.data(), kScreenWidth, kScreenHeight);
  const auto frames = static_cast<double>(state.iterations());
  state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  // Work rather than waiting, steadier on a busy machine: every thread of this process (the
  // renderer may have helpers) and the X server, in milliseconds per frame.
  state.counters["game_ms"] = (processSeconds() - processStart) * 1000 / frames;
  state.counters["xserver_ms"] = (xServerSeconds() - serverStart) * 1000 / frames;
  state.SetLabel(std::to_string(desktop.w) + "x" + std::to_string(desktop.h) + " " +
                 backend.rendererName());
}
// Real time: the X server's share of the work happens in another process.
BENCHMARK(presentFrame)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runWithCopyRatios(argc, argv); }
